#include "print/D_PrintIniFile.h"

#include "foundation/PathResolver.h"
#include "foundation/Windows1252.h"

#include <QFile>

namespace {

QString Unquoted(const QString& value) {
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
        value.back() == value.front())
        return value.mid(1, value.size() - 2);
    return value;
}

} // namespace

TOrderedIniFile::TOrderedIniFile(const QString& fileName) {
    QFile file(ResolvePath(fileName));
    if (file.open(QIODevice::ReadOnly))
        Parse(file.readAll());
}

TOrderedIniFile TOrderedIniFile::FromBytes(const QByteArray& bytes) {
    TOrderedIniFile ini;
    ini.Parse(bytes);
    return ini;
}

void TOrderedIniFile::Parse(const QByteArray& bytes) {
    TSection* current = nullptr;
    for (QString line : Windows1252::Decode(bytes).split(u'\n')) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(u';'))
            continue;
        if (line.startsWith(u'[')) {
            const qsizetype close = line.indexOf(u']');
            const QString name = line.mid(1, close < 0 ? -1 : close - 1).trimmed();
            // A repeated section adds nothing: its lines go nowhere.
            current = Find(name) ? nullptr : &sections_.emplace_back(TSection{name, {}});
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (current == nullptr || equals < 0)
            continue;
        current->Entries.push_back({line.left(equals).trimmed(), Unquoted(line.mid(equals + 1).trimmed())});
    }
}

const TOrderedIniFile::TSection* TOrderedIniFile::Find(const QString& section) const {
    for (const TSection& candidate : sections_)
        if (candidate.Name.compare(section, Qt::CaseInsensitive) == 0)
            return &candidate;
    return nullptr;
}

bool TOrderedIniFile::SectionExists(const QString& section) const {
    return Find(section) != nullptr;
}

const std::vector<TIniEntry>& TOrderedIniFile::ReadSection(const QString& section) const {
    static const std::vector<TIniEntry> none;
    const TSection* found = Find(section);
    return found ? found->Entries : none;
}

QString TOrderedIniFile::ReadString(const QString& section, const QString& key, const QString& def) const {
    for (const TIniEntry& entry : ReadSection(section))
        if (entry.Key.compare(key, Qt::CaseInsensitive) == 0)
            return entry.Value;
    return def;
}

int TOrderedIniFile::ReadInteger(const QString& section, const QString& key, int def) const {
    bool ok = false;
    const int value = ReadString(section, key, QString()).toInt(&ok);
    return ok ? value : def;
}
