#include "platform/Registry.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QMetaType>
#include <QSettings>
#include <QStandardPaths>

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

QStringList ChildGroups(QSettings& settings, const QString& group) {
    settings.beginGroup(group);
    QStringList groups = settings.childGroups();
    settings.endGroup();
    for (QString& name : groups)
        name = DecodeName(name);
    return groups;
}

QStringList ChildKeys(QSettings& settings, const QString& group) {
    settings.beginGroup(group);
    const QStringList keys = settings.childKeys();
    settings.endGroup();
    QStringList names;
    for (const QString& key : keys)
        if (key != KeyMarker)
            names << DecodeName(key);
    return names;
}

} // namespace

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
    const QString vendor =
        StoredName(root.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden), parts[1]);
    where.VendorFolder = root.filePath(vendor);
    QStringList topKeys;
    for (const QString& file : QDir(where.VendorFolder).entryList(QDir::Files | QDir::Hidden))
        if (file.endsWith(IniSuffix, Qt::CaseInsensitive))
            topKeys << file.chopped(IniSuffix.size());
    const QString top = StoredName(topKeys, parts[2]);
    where.FilePath = QDir(where.VendorFolder).filePath(top + IniSuffix);
    where.FileExists = QFileInfo(where.FilePath).isFile();
    where.Names = {QStringLiteral("Software"), vendor, top};

    std::unique_ptr<QSettings> own;
    QSettings* settings = nullptr;
    if (where.FileExists) {
        if (settings_ && settings_->fileName() == where.FilePath) {
            settings = settings_.get();
        } else {
            own = SettingsFor(where);
            settings = own.get();
        }
    }
    QString group;
    bool found = where.FileExists;
    for (qsizetype i = 3; i < parts.size(); ++i) {
        QString name = parts[i];
        if (found) {
            const QStringList children = ChildGroups(*settings, group);
            name = StoredName(children, name);
            found = children.contains(name);
            if (found)
                ++where.ExistingLevels;
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
    for (qsizetype i = where->ExistingLevels; i < where->Groups.size(); ++i)
        settings.setValue(Join(where->Groups[i], KeyMarker), QString());
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
        return QFile::remove(where->FilePath);
    }
    settings.remove(where->Group());
    if (own) {
        own->sync();
        return own->status() == QSettings::NoError;
    }
    return true;
}

QStringList TRegistry::GetKeyNames() const {
    return settings_ ? ChildGroups(*settings_, group_) : QStringList();
}

QStringList TRegistry::GetValueNames() const {
    return settings_ ? ChildKeys(*settings_, group_) : QStringList();
}

bool TRegistry::ValueExists(const QString& name) const {
    return ReadText(name).has_value();
}

bool TRegistry::DeleteValue(const QString& name) {
    if (!ValueExists(name))
        return false;
    const QString stored = StoredName(ChildKeys(*settings_, group_), name);
    settings_->remove(Join(group_, EncodeName(stored)));
    return true;
}

std::optional<QString> TRegistry::ReadText(const QString& name) const {
    if (!settings_ || name.isEmpty())
        return std::nullopt;
    const QStringList names = ChildKeys(*settings_, group_);
    const QString stored = StoredName(names, name);
    if (!names.contains(stored))
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
    const QString stored = StoredName(ChildKeys(*settings_, group_), name);
    settings_->setValue(Join(group_, EncodeName(stored)), value);
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
