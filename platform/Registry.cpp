#include "platform/Registry.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QMetaType>
#include <QSettings>
#include <QStandardPaths>

#include <sys/stat.h>

#include <algorithm>
#include <unordered_map>
#include <vector>

namespace Platform {

namespace {

const QString IniSuffix = QStringLiteral(".ini");
// Kept in every key we create, so that a key without values still has a section. A lone "%" is never
// the encoded form of a name.
const QString KeyMarker = QStringLiteral("%");

bool SameName(const QString& a, const QString& b) {
    return QString::compare(a, b, Qt::CaseInsensitive) == 0;
}

// QSettings reads "/" and "\" in a key as group separators.
QString EncodeName(QString name) {
    name.replace(u'%', QStringLiteral("%25"));
    name.replace(u'/', QStringLiteral("%2F"));
    name.replace(u'\\', QStringLiteral("%5C"));
    return name;
}

QString DecodeName(const QString& encoded) {
    QString name;
    name.reserve(encoded.size());
    for (qsizetype i = 0; i < encoded.size(); ++i) {
        const QStringView next = QStringView(encoded).mid(i, 3);
        if (next.compare(u"%25", Qt::CaseInsensitive) == 0) {
            name += u'%';
        } else if (next.compare(u"%2F", Qt::CaseInsensitive) == 0) {
            name += u'/';
        } else if (next.compare(u"%5C", Qt::CaseInsensitive) == 0) {
            name += u'\\';
        } else {
            name += encoded[i];
            continue;
        }
        i += 2;
    }
    return name;
}

QString Join(const QString& group, const QString& encoded) {
    return group.isEmpty() ? encoded : group + u'/' + encoded;
}

// The key of a section, and each key above it, that its values or subkeys now keep in being: their
// markers go, so that a file holds a marker only in a key with nothing else in it.
void DropMarkers(QSettings& settings, const QString& group) {
    for (QString level = group; !level.isEmpty();
         level = level.left(std::max<qsizetype>(level.lastIndexOf(u'/'), 0)))
        if (settings.contains(Join(level, KeyMarker)))
            settings.remove(Join(level, KeyMarker));
}

// A subkey left with nothing in it keeps its marker, and so stays.
void MarkIfEmpty(QSettings& settings, const QString& group) {
    if (group.isEmpty())
        return;
    settings.beginGroup(group);
    const bool empty = settings.childKeys().isEmpty() && settings.childGroups().isEmpty();
    settings.endGroup();
    if (empty)
        settings.setValue(Join(group, KeyMarker), QString());
}

// The entry of names equal to name ignoring case; name itself when there is none.
QString StoredName(const QStringList& names, const QString& name) {
    for (const QString& candidate : names)
        if (SameName(candidate, name))
            return candidate;
    return name;
}

bool IsFileName(const QString& name) {
    return name != u"." && name != u".." && !name.contains(u'/') && !name.contains(QChar(0));
}

// The name of an entry of folder that matches name: the exact one when there is one, else the first
// that differs only in letter case; name itself when there is none.
QString EntryName(const QString& folder, const QString& name, bool isFolder, const QString& suffix) {
    const QFileInfo exact(QDir(folder).filePath(name + suffix));
    if (isFolder ? exact.isDir() : exact.isFile())
        return name;
    QStringList names;
    const QDir::Filters filters = (isFolder ? QDir::Dirs | QDir::NoDotAndDotDot : QDir::Files) | QDir::Hidden;
    for (const QString& entry : QDir(folder).entryList(filters))
        if (entry.endsWith(suffix, Qt::CaseInsensitive))
            names << entry.chopped(suffix.size());
    return StoredName(names, name);
}

} // namespace

// The key and group names of a settings file, each found by its name without regard to case: made once
// from what QSettings reads, kept in step with this process's changes, made again when the file changed
// on disk. Names are kept decoded, in the order QSettings lists them.
class TIniNames {
public:
    // The stored name of the subkey (value) of group equal to name ignoring case; empty when none.
    QString Group(const QString& group, const QString& name) const { return Find(group, name, false); }
    QString Value(const QString& group, const QString& name) const { return Find(group, name, true); }
    QStringList Groups(const QString& group) const { return List(group, false); }
    QStringList Values(const QString& group) const { return List(group, true); }

    void AddGroup(const QString& group, const QString& name) { Add(group, name, false); }
    void AddValue(const QString& group, const QString& name) { Add(group, name, true); }
    void RemoveValue(const QString& group, const QString& name) { Remove(group, name, true); }
    // The subkey at path (a group's path) with all below it.
    void RemoveGroup(const QString& path) {
        const qsizetype cut = path.lastIndexOf(u'/');
        Remove(cut < 0 ? QString() : path.left(cut), DecodeName(path.mid(cut + 1)), false);
        for (auto it = groups_.begin(); it != groups_.end();) {
            if (it->first == path || it->first.startsWith(path + u'/'))
                it = groups_.erase(it);
            else
                ++it;
        }
    }

    // The names of the file, read through settings when the file changed since they were last made.
    static std::shared_ptr<TIniNames> Of(const QString& filePath, QSettings& settings) {
        TCached& cached = Cache()[filePath];
        const TSignature now = SignatureOf(filePath);
        if (!cached.Names || !(cached.Signature == now)) {
            cached.Names = std::make_shared<TIniNames>();
            cached.Names->Read(settings);
            cached.Signature = now;
        }
        return cached.Names;
    }
    static void Forget(const QString& filePath) { Cache().erase(filePath); }

private:
    struct TNames {
        QStringList Ordered;
        std::unordered_map<QString, QString> ByFolded;
    };
    struct TGroup {
        TNames Groups;
        TNames Values;
    };
    struct TSignature {
        bool Exists = false;
        qint64 Size = 0;
        qint64 Modified = 0;
        quint64 Inode = 0;
        bool operator==(const TSignature&) const = default;
    };
    struct TCached {
        std::shared_ptr<TIniNames> Names;
        TSignature Signature;
    };

    static std::unordered_map<QString, TCached>& Cache() {
        static std::unordered_map<QString, TCached> cache;
        return cache;
    }

    static TSignature SignatureOf(const QString& filePath) {
        struct stat st;
        if (::stat(QFile::encodeName(filePath).constData(), &st) != 0)
            return {};
        return {true, qint64(st.st_size), qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec,
                quint64(st.st_ino)};
    }

    void Read(QSettings& settings) {
        for (const QString& key : settings.allKeys()) {
            const QStringList parts = key.split(u'/');
            QString group;
            for (qsizetype i = 0; i + 1 < parts.size(); ++i) {
                AddGroup(group, DecodeName(parts[i]));
                group = Join(group, parts[i]);
            }
            groups_[group]; // the group exists even when its only entry is the marker
            if (parts.last() != KeyMarker)
                AddValue(group, DecodeName(parts.last()));
        }
    }

    QString Find(const QString& group, const QString& name, bool value) const {
        const auto own = groups_.find(group);
        if (own == groups_.end())
            return {};
        const TNames& names = value ? own->second.Values : own->second.Groups;
        const auto found = names.ByFolded.find(name.toCaseFolded());
        return found == names.ByFolded.end() ? QString() : found->second;
    }

    QStringList List(const QString& group, bool value) const {
        const auto own = groups_.find(group);
        if (own == groups_.end())
            return {};
        return value ? own->second.Values.Ordered : own->second.Groups.Ordered;
    }

    void Add(const QString& group, const QString& name, bool value) {
        TGroup& own = groups_[group];
        TNames& names = value ? own.Values : own.Groups;
        if (names.ByFolded.emplace(name.toCaseFolded(), name).second)
            names.Ordered.append(name);
        if (!value)
            groups_[Join(group, EncodeName(name))];
    }

    void Remove(const QString& group, const QString& name, bool value) {
        const auto own = groups_.find(group);
        if (own == groups_.end())
            return;
        TNames& names = value ? own->second.Values : own->second.Groups;
        const auto found = names.ByFolded.find(name.toCaseFolded());
        if (found == names.ByFolded.end())
            return;
        names.Ordered.removeOne(found->second);
        names.ByFolded.erase(found);
    }

    // By the group's path as QSettings has it, "" for the top key.
    std::unordered_map<QString, TGroup> groups_;
};

// A key path resolved against the files: names in their stored case where they exist.
struct TRegistry::Location {
    QString VendorFolder;
    QString FilePath;
    QStringList Names;     // "Software", vendor, top key, subkeys
    QStringList Groups;    // the QSettings group of each subkey level
    int ExistingLevels{0}; // how many subkey levels exist (when the file does)
    bool FileExists{false};

    bool Exists() const { return FileExists && ExistingLevels == Groups.size(); }
    QString Group() const { return Groups.isEmpty() ? QString() : Groups.back(); }
    QString Path() const { return u'\\' + Names.join(u'\\'); }
};

TRegistry::TRegistry(QString rootFolder)
    : root_(rootFolder.isEmpty() ? DefaultRootFolder() : std::move(rootFolder)) {}

TRegistry::~TRegistry() {
    CloseKey();
}

QString TRegistry::DefaultRootFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
}

QString TRegistry::ProgramKey(const QString& extension) {
    QString program = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    if (program.isEmpty())
        program = QStringLiteral("zuno2");
    return QStringLiteral("\\Software\\Zuno\\") + program + extension;
}

std::optional<TRegistry::Location> TRegistry::Resolve(const QString& key) const {
    QString full = key;
    if (!key.startsWith(u'\\') && settings_)
        full = path_ + u'\\' + key;
    const QStringList parts = full.split(u'\\', Qt::SkipEmptyParts);
    if (parts.size() < 3 || !SameName(parts[0], QStringLiteral("Software")) || !IsFileName(parts[1]) ||
        !IsFileName(parts[2]))
        return std::nullopt;

    Location where;
    const QDir root(root_);
    const QString vendor = EntryName(root_, parts[1], true, QString());
    where.VendorFolder = root.filePath(vendor);
    const QString top = EntryName(where.VendorFolder, parts[2], false, IniSuffix);
    where.FilePath = QDir(where.VendorFolder).filePath(top + IniSuffix);
    where.FileExists = QFileInfo(where.FilePath).isFile();
    where.Names = {QStringLiteral("Software"), vendor, top};

    std::shared_ptr<TIniNames> names;
    if (where.FileExists) {
        if (settings_ && settings_->fileName() == where.FilePath) {
            names = names_;
        } else {
            const std::unique_ptr<QSettings> own = SettingsFor(where);
            names = TIniNames::Of(where.FilePath, *own);
        }
    }
    QString group;
    bool found = where.FileExists;
    for (qsizetype i = 3; i < parts.size(); ++i) {
        QString name = parts[i];
        if (found) {
            const QString stored = names->Group(group, name);
            found = !stored.isEmpty();
            if (found) {
                name = stored;
                ++where.ExistingLevels;
            }
        }
        group = Join(group, EncodeName(name));
        where.Names << name;
        where.Groups << group;
    }
    return where;
}

std::unique_ptr<QSettings> TRegistry::SettingsFor(const Location& where) const {
    return std::make_unique<QSettings>(where.FilePath, QSettings::IniFormat);
}

bool TRegistry::OpenKey(const QString& key, bool canCreate) {
    const std::optional<Location> where = Resolve(key);
    if (!where)
        return false;
    if (!where->Exists() && (!canCreate || !CreateKey(where->Path())))
        return false;
    const QString path = where->Path();
    CloseKey();
    // Resolve again: creating may have fixed the case of names that were missing.
    const std::optional<Location> opened = Resolve(path);
    if (!opened || !opened->Exists())
        return false;
    settings_ = SettingsFor(*opened);
    names_ = TIniNames::Of(opened->FilePath, *settings_);
    group_ = opened->Group();
    path_ = opened->Path();
    return true;
}

bool TRegistry::CloseKey() {
    if (!settings_)
        return true;
    settings_->sync();
    const bool written = settings_->status() == QSettings::NoError;
    settings_.reset();
    names_.reset();
    group_.clear();
    path_.clear();
    return written;
}

bool TRegistry::HasCurrentKey() const {
    return settings_ != nullptr;
}

QString TRegistry::CurrentPath() const {
    return path_;
}

bool TRegistry::KeyExists(const QString& key) const {
    const std::optional<Location> where = Resolve(key);
    return where && where->Exists();
}

bool TRegistry::CreateKey(const QString& key) {
    const std::optional<Location> where = Resolve(key);
    if (!where)
        return false;
    if (where->Exists())
        return true;
    if (!where->FileExists) {
        if (!QDir().mkpath(where->VendorFolder))
            return false;
        QFile file(where->FilePath);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
            return false;
    }
    const bool isOpen = settings_ && settings_->fileName() == where->FilePath;
    std::unique_ptr<QSettings> own = isOpen ? nullptr : SettingsFor(*where);
    QSettings& settings = isOpen ? *settings_ : *own;
    const std::shared_ptr<TIniNames> names = isOpen ? names_ : TIniNames::Of(where->FilePath, settings);
    for (qsizetype i = where->ExistingLevels; i < where->Groups.size(); ++i)
        names->AddGroup(i == 0 ? QString() : where->Groups[i - 1], where->Names[i + 3]);
    // The new key alone is marked: the keys above it have it in them; a file is a top key by being there.
    if (!where->Groups.isEmpty()) {
        DropMarkers(settings, where->Groups.size() > 1 ? where->Groups[where->Groups.size() - 2] : QString());
        settings.setValue(Join(where->Group(), KeyMarker), QString());
    }
    if (own) {
        own->sync();
        if (own->status() != QSettings::NoError)
            return false;
    }
    return true;
}

bool TRegistry::DeleteKey(const QString& key) {
    const std::optional<Location> where = Resolve(key);
    if (!where || !where->Exists())
        return false;
    const QString path = where->Path();
    if (settings_ && (SameName(path_, path) || path_.startsWith(path + u'\\', Qt::CaseInsensitive)))
        CloseKey();
    const bool isOpen = settings_ && settings_->fileName() == where->FilePath;
    std::unique_ptr<QSettings> own = isOpen ? nullptr : SettingsFor(*where);
    QSettings& settings = isOpen ? *settings_ : *own;
    if (where->Groups.isEmpty()) {
        // Empty the shared cache of the file too, or another object could write it back.
        settings.clear();
        settings.sync();
        TIniNames::Forget(where->FilePath);
        return QFile::remove(where->FilePath);
    }
    settings.remove(where->Group());
    (isOpen ? names_ : TIniNames::Of(where->FilePath, settings))->RemoveGroup(where->Group());
    MarkIfEmpty(settings, where->Groups.size() > 1 ? where->Groups[where->Groups.size() - 2] : QString());
    if (own) {
        own->sync();
        return own->status() == QSettings::NoError;
    }
    return true;
}

QStringList TRegistry::GetKeyNames() const {
    return settings_ ? names_->Groups(group_) : QStringList();
}

QStringList TRegistry::GetValueNames() const {
    return settings_ ? names_->Values(group_) : QStringList();
}

bool TRegistry::ValueExists(const QString& name) const {
    return ReadText(name).has_value();
}

bool TRegistry::DeleteValue(const QString& name) {
    if (!ValueExists(name))
        return false;
    const QString stored = names_->Value(group_, name);
    settings_->remove(Join(group_, EncodeName(stored)));
    names_->RemoveValue(group_, stored);
    MarkIfEmpty(*settings_, group_);
    return true;
}

std::optional<QString> TRegistry::ReadText(const QString& name) const {
    if (!settings_ || name.isEmpty())
        return std::nullopt;
    const QString stored = names_->Value(group_, name);
    if (stored.isEmpty())
        return std::nullopt;
    const QVariant value = settings_->value(Join(group_, EncodeName(stored)));
    // An unquoted comma in a file edited by hand makes QSettings read a list.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QStringLiteral(", "));
    return value.toString();
}

bool TRegistry::WriteText(const QString& name, const QString& value) {
    if (!settings_ || name.isEmpty())
        return false;
    QString stored = names_->Value(group_, name);
    if (stored.isEmpty()) {
        stored = name;
        names_->AddValue(group_, name);
    }
    const QString key = Join(group_, EncodeName(stored));
    // A value already held is not set again: the file is then not written when the key is closed (a window
    // closed where it was opened writes nothing).
    if (const QVariant held = settings_->value(key);
        held.typeId() == QMetaType::QString && held.toString() == value)
        return true;
    settings_->setValue(key, value);
    DropMarkers(*settings_, group_);
    return true;
}

int TRegistry::ReadInteger(const QString& name, int fallback) const {
    const std::optional<QString> text = ReadText(name);
    bool ok = false;
    const int value = text ? text->trimmed().toInt(&ok) : 0;
    return ok ? value : fallback;
}

QString TRegistry::ReadString(const QString& name, const QString& fallback) const {
    return ReadText(name).value_or(fallback);
}

bool TRegistry::ReadBool(const QString& name, bool fallback) const {
    const std::optional<QString> text = ReadText(name);
    if (!text)
        return fallback;
    const QString trimmed = text->trimmed();
    bool ok = false;
    const int value = trimmed.toInt(&ok);
    if (ok)
        return value != 0;
    if (SameName(trimmed, QStringLiteral("true")))
        return true;
    if (SameName(trimmed, QStringLiteral("false")))
        return false;
    return fallback;
}

double TRegistry::ReadFloat(const QString& name, double fallback) const {
    const std::optional<QString> text = ReadText(name);
    bool ok = false;
    const double value = text ? text->trimmed().toDouble(&ok) : 0.0;
    return ok ? value : fallback;
}

QDateTime TRegistry::ReadDateTime(const QString& name, const QDateTime& fallback) const {
    const std::optional<QString> text = ReadText(name);
    if (!text)
        return fallback;
    const QDateTime value = QDateTime::fromString(text->trimmed(), Qt::ISODateWithMs);
    return value.isValid() ? value : fallback;
}

bool TRegistry::WriteInteger(const QString& name, int value) {
    return WriteText(name, QString::number(value));
}

bool TRegistry::WriteString(const QString& name, const QString& value) {
    return WriteText(name, value);
}

bool TRegistry::WriteBool(const QString& name, bool value) {
    return WriteText(name, value ? QStringLiteral("1") : QStringLiteral("0"));
}

bool TRegistry::WriteFloat(const QString& name, double value) {
    return WriteText(name, QString::number(value, 'g', QLocale::FloatingPointShortest));
}

bool TRegistry::WriteDateTime(const QString& name, const QDateTime& value) {
    return WriteText(name, value.toString(Qt::ISODateWithMs));
}

} // namespace Platform
