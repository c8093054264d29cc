#include "model/D_Rekord.h"

#include "foundation/LxDisk.h"
#include "foundation/PathResolver.h"
#include "foundation/Windows1252.h"

#include <QFile>
#include <QStringList>

namespace {

constexpr int RekordFieldCount = 7;

// Blanks and control characters off both ends, as a line of a text file is trimmed.
QString TrimLine(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin) <= u' ')
        ++begin;
    while (end > begin && text.at(end - 1) <= u' ')
        --end;
    return text.mid(begin, end - begin);
}

// CR LF, LF and a lone CR all end a line.
QStringList SplitLines(const QString& text) {
    QString unified = text;
    unified.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    unified.replace(u'\r', u'\n');
    return unified.split(u'\n');
}

std::unique_ptr<TRekord> ParseRekord(const QString& line) {
    QStringList fields = line.split(u';');
    // The part after the last ";" is no field.
    if (fields.size() - 1 != RekordFieldCount)
        return nullptr;
    auto rekord = std::make_unique<TRekord>();
    // Codes are compared trimmed, so a blank beside a ";" or "/" must not keep a record from its event.
    const QString key = fields[0].toUpper();
    const qsizetype slash = key.indexOf(u'/');
    if (slash > 0) {
        rekord->Key1 = key.left(slash).trimmed();
        rekord->Key2 = key.mid(slash + 1).trimmed();
    } else {
        rekord->Key1 = key.trimmed();
    }
    rekord->Kategori = fields[1].toUpper().trimmed();
    rekord->Resultat = fields[2];
    rekord->Navn = fields[3];
    rekord->Klub = fields[4];
    rekord->Sted = fields[5];
    rekord->Dato = fields[6];
    return rekord;
}

} // namespace

QString RekorderName(const QString& dataFolder, const QString& name) {
    return PathJoin(PathJoin(dataFolder, QString::fromUtf16(RekorderFolder)), name);
}

QString TRekorder::FileNameOf(const QString& name) {
    return ResolvePath(name + QStringLiteral(".TXT"));
}

bool TRekorder::LoadFromFile(const QString& name) {
    Clear();
    QFile file(FileNameOf(name));
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return false;
    for (const QString& rawLine : SplitLines(Windows1252::Decode(bytes))) {
        const QString line = TrimLine(rawLine);
        if (line.isEmpty() || line.startsWith(u';'))
            continue;
        if (line.startsWith(u'=')) {
            titel_ = line.mid(1);
            continue;
        }
        if (auto rekord = ParseRekord(line))
            Add(std::move(rekord));
    }
    return true;
}

void TRekorder::Clear() {
    titel_.clear();
    rekorder_.clear();
    groups_.clear();
}

TRekord* TRekorder::Add(std::unique_ptr<TRekord> rekord) {
    rekord->owner_ = this;
    rekorder_.push_back(std::move(rekord));
    AddToIndex(GetCount() - 1);
    return rekorder_.back().get();
}

TRekord* TRekorder::GetRekord(int index) const {
    if (index < 0 || index >= GetCount())
        return nullptr;
    return rekorder_[index].get();
}

void TRekorder::BuildIndex() {
    groups_.clear();
    for (int i = 0; i < GetCount(); ++i)
        AddToIndex(i);
}

void TRekorder::AddToIndex(int index) {
    const QString& key = rekorder_[index]->Key1;
    if (!groups_.empty() && groups_.back().key == key && groups_.back().first + groups_.back().count == index)
        ++groups_.back().count;
    else
        groups_.push_back({key, index, 1});
}

bool TRekorder::FindGroup(const QString& key, int& first, int& count) const {
    for (const Group& group : groups_) {
        if (group.key == key) {
            first = group.first;
            count = group.count;
            return true;
        }
    }
    first = 0;
    count = 0;
    return false;
}
