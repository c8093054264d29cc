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

bool SameName(const QString& A, const QString& B) {
    return QString::compare(A, B, Qt::CaseInsensitive) == 0;
}

// QSettings reads "/" and "\" in a key as group separators.
QString EncodeName(QString Name) {
    Name.replace(u'%', QStringLiteral("%25"));
    Name.replace(u'/', QStringLiteral("%2F"));
    Name.replace(u'\\', QStringLiteral("%5C"));
    return Name;
}

QString DecodeName(const QString& Encoded) {
    QString Name;
    Name.reserve(Encoded.size());
    for (qsizetype i = 0; i < Encoded.size(); ++i) {
        const QStringView Next = QStringView(Encoded).mid(i, 3);
        if (Next.compare(u"%25", Qt::CaseInsensitive) == 0) {
            Name += u'%';
        } else if (Next.compare(u"%2F", Qt::CaseInsensitive) == 0) {
            Name += u'/';
        } else if (Next.compare(u"%5C", Qt::CaseInsensitive) == 0) {
            Name += u'\\';
        } else {
            Name += Encoded[i];
            continue;
        }
        i += 2;
    }
    return Name;
}

QString Join(const QString& Group, const QString& Encoded) {
    return Group.isEmpty() ? Encoded : Group + u'/' + Encoded;
}

// The entry of Names equal to Name ignoring case; Name itself when there is none.
QString StoredName(const QStringList& Names, const QString& Name) {
    for (const QString& Candidate : Names)
        if (SameName(Candidate, Name))
            return Candidate;
    return Name;
}

bool IsFileName(const QString& Name) {
    return Name != u"." && Name != u".." && !Name.contains(u'/') && !Name.contains(QChar(0));
}

QStringList ChildGroups(QSettings& Settings, const QString& Group) {
    Settings.beginGroup(Group);
    QStringList Groups = Settings.childGroups();
    Settings.endGroup();
    for (QString& Name : Groups)
        Name = DecodeName(Name);
    return Groups;
}

QStringList ChildKeys(QSettings& Settings, const QString& Group) {
    Settings.beginGroup(Group);
    const QStringList Keys = Settings.childKeys();
    Settings.endGroup();
    QStringList Names;
    for (const QString& Key : Keys)
        if (Key != KeyMarker)
            Names << DecodeName(Key);
    return Names;
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

TRegistry::TRegistry(QString RootFolder)
    : root_(RootFolder.isEmpty() ? DefaultRootFolder() : std::move(RootFolder)) {}

TRegistry::~TRegistry() {
    CloseKey();
}

QString TRegistry::DefaultRootFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
}

QString TRegistry::ProgramKey(const QString& Extension) {
    QString Program = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    if (Program.isEmpty())
        Program = QStringLiteral("zuno2");
    return QStringLiteral("\\Software\\Zuno\\") + Program + Extension;
}

std::optional<TRegistry::Location> TRegistry::Resolve(const QString& Key) const {
    QString Full = Key;
    if (!Key.startsWith(u'\\') && settings_)
        Full = path_ + u'\\' + Key;
    const QStringList Parts = Full.split(u'\\', Qt::SkipEmptyParts);
    if (Parts.size() < 3 || !SameName(Parts[0], QStringLiteral("Software")) || !IsFileName(Parts[1]) ||
        !IsFileName(Parts[2]))
        return std::nullopt;

    Location Where;
    const QDir Root(root_);
    const QString Vendor =
        StoredName(Root.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden), Parts[1]);
    Where.VendorFolder = Root.filePath(Vendor);
    QStringList TopKeys;
    for (const QString& File : QDir(Where.VendorFolder).entryList(QDir::Files | QDir::Hidden))
        if (File.endsWith(IniSuffix, Qt::CaseInsensitive))
            TopKeys << File.chopped(IniSuffix.size());
    const QString Top = StoredName(TopKeys, Parts[2]);
    Where.FilePath = QDir(Where.VendorFolder).filePath(Top + IniSuffix);
    Where.FileExists = QFileInfo(Where.FilePath).isFile();
    Where.Names = {QStringLiteral("Software"), Vendor, Top};

    std::unique_ptr<QSettings> Own;
    QSettings* Settings = nullptr;
    if (Where.FileExists) {
        if (settings_ && settings_->fileName() == Where.FilePath) {
            Settings = settings_.get();
        } else {
            Own = SettingsFor(Where);
            Settings = Own.get();
        }
    }
    QString Group;
    bool Found = Where.FileExists;
    for (qsizetype i = 3; i < Parts.size(); ++i) {
        QString Name = Parts[i];
        if (Found) {
            const QStringList Children = ChildGroups(*Settings, Group);
            Name = StoredName(Children, Name);
            Found = Children.contains(Name);
            if (Found)
                ++Where.ExistingLevels;
        }
        Group = Join(Group, EncodeName(Name));
        Where.Names << Name;
        Where.Groups << Group;
    }
    return Where;
}

std::unique_ptr<QSettings> TRegistry::SettingsFor(const Location& Where) const {
    return std::make_unique<QSettings>(Where.FilePath, QSettings::IniFormat);
}

bool TRegistry::OpenKey(const QString& Key, bool CanCreate) {
    const std::optional<Location> Where = Resolve(Key);
    if (!Where)
        return false;
    if (!Where->Exists() && (!CanCreate || !CreateKey(Where->Path())))
        return false;
    const QString Path = Where->Path();
    CloseKey();
    // Resolve again: creating may have fixed the case of names that were missing.
    const std::optional<Location> Opened = Resolve(Path);
    if (!Opened || !Opened->Exists())
        return false;
    settings_ = SettingsFor(*Opened);
    group_ = Opened->Group();
    path_ = Opened->Path();
    return true;
}

bool TRegistry::CloseKey() {
    if (!settings_)
        return true;
    settings_->sync();
    const bool Written = settings_->status() == QSettings::NoError;
    settings_.reset();
    group_.clear();
    path_.clear();
    return Written;
}

bool TRegistry::HasCurrentKey() const {
    return settings_ != nullptr;
}

QString TRegistry::CurrentPath() const {
    return path_;
}

bool TRegistry::KeyExists(const QString& Key) const {
    const std::optional<Location> Where = Resolve(Key);
    return Where && Where->Exists();
}

bool TRegistry::CreateKey(const QString& Key) {
    const std::optional<Location> Where = Resolve(Key);
    if (!Where)
        return false;
    if (Where->Exists())
        return true;
    if (!Where->FileExists) {
        if (!QDir().mkpath(Where->VendorFolder))
            return false;
        QFile File(Where->FilePath);
        if (!File.open(QIODevice::WriteOnly | QIODevice::Append))
            return false;
    }
    const bool Open = settings_ && settings_->fileName() == Where->FilePath;
    std::unique_ptr<QSettings> Own = Open ? nullptr : SettingsFor(*Where);
    QSettings& Settings = Open ? *settings_ : *Own;
    for (qsizetype i = Where->ExistingLevels; i < Where->Groups.size(); ++i)
        Settings.setValue(Join(Where->Groups[i], KeyMarker), QString());
    if (Own) {
        Own->sync();
        if (Own->status() != QSettings::NoError)
            return false;
    }
    return true;
}

bool TRegistry::DeleteKey(const QString& Key) {
    const std::optional<Location> Where = Resolve(Key);
    if (!Where || !Where->Exists())
        return false;
    const QString Path = Where->Path();
    if (settings_ && (SameName(path_, Path) || path_.startsWith(Path + u'\\', Qt::CaseInsensitive)))
        CloseKey();
    const bool Open = settings_ && settings_->fileName() == Where->FilePath;
    std::unique_ptr<QSettings> Own = Open ? nullptr : SettingsFor(*Where);
    QSettings& Settings = Open ? *settings_ : *Own;
    if (Where->Groups.isEmpty()) {
        // Empty the shared cache of the file too, or another object could write it back.
        Settings.clear();
        Settings.sync();
        return QFile::remove(Where->FilePath);
    }
    Settings.remove(Where->Group());
    if (Own) {
        Own->sync();
        return Own->status() == QSettings::NoError;
    }
    return true;
}

QStringList TRegistry::GetKeyNames() const {
    return settings_ ? ChildGroups(*settings_, group_) : QStringList();
}

QStringList TRegistry::GetValueNames() const {
    return settings_ ? ChildKeys(*settings_, group_) : QStringList();
}

bool TRegistry::ValueExists(const QString& Name) const {
    return ReadText(Name).has_value();
}

bool TRegistry::DeleteValue(const QString& Name) {
    if (!ValueExists(Name))
        return false;
    const QString Stored = StoredName(ChildKeys(*settings_, group_), Name);
    settings_->remove(Join(group_, EncodeName(Stored)));
    return true;
}

std::optional<QString> TRegistry::ReadText(const QString& Name) const {
    if (!settings_ || Name.isEmpty())
        return std::nullopt;
    const QStringList Names = ChildKeys(*settings_, group_);
    const QString Stored = StoredName(Names, Name);
    if (!Names.contains(Stored))
        return std::nullopt;
    const QVariant Value = settings_->value(Join(group_, EncodeName(Stored)));
    // An unquoted comma in a file edited by hand makes QSettings read a list.
    if (Value.typeId() == QMetaType::QStringList)
        return Value.toStringList().join(QStringLiteral(", "));
    return Value.toString();
}

bool TRegistry::WriteText(const QString& Name, const QString& Value) {
    if (!settings_ || Name.isEmpty())
        return false;
    const QString Stored = StoredName(ChildKeys(*settings_, group_), Name);
    settings_->setValue(Join(group_, EncodeName(Stored)), Value);
    return true;
}

int TRegistry::ReadInteger(const QString& Name, int Default) const {
    const std::optional<QString> Text = ReadText(Name);
    bool Ok = false;
    const int Value = Text ? Text->trimmed().toInt(&Ok) : 0;
    return Ok ? Value : Default;
}

QString TRegistry::ReadString(const QString& Name, const QString& Default) const {
    return ReadText(Name).value_or(Default);
}

bool TRegistry::ReadBool(const QString& Name, bool Default) const {
    const std::optional<QString> Text = ReadText(Name);
    if (!Text)
        return Default;
    const QString Trimmed = Text->trimmed();
    bool Ok = false;
    const int Value = Trimmed.toInt(&Ok);
    if (Ok)
        return Value != 0;
    if (SameName(Trimmed, QStringLiteral("true")))
        return true;
    if (SameName(Trimmed, QStringLiteral("false")))
        return false;
    return Default;
}

double TRegistry::ReadFloat(const QString& Name, double Default) const {
    const std::optional<QString> Text = ReadText(Name);
    bool Ok = false;
    const double Value = Text ? Text->trimmed().toDouble(&Ok) : 0.0;
    return Ok ? Value : Default;
}

QDateTime TRegistry::ReadDateTime(const QString& Name, const QDateTime& Default) const {
    const std::optional<QString> Text = ReadText(Name);
    if (!Text)
        return Default;
    const QDateTime Value = QDateTime::fromString(Text->trimmed(), Qt::ISODateWithMs);
    return Value.isValid() ? Value : Default;
}

bool TRegistry::WriteInteger(const QString& Name, int Value) {
    return WriteText(Name, QString::number(Value));
}

bool TRegistry::WriteString(const QString& Name, const QString& Value) {
    return WriteText(Name, Value);
}

bool TRegistry::WriteBool(const QString& Name, bool Value) {
    return WriteText(Name, Value ? QStringLiteral("1") : QStringLiteral("0"));
}

bool TRegistry::WriteFloat(const QString& Name, double Value) {
    return WriteText(Name, QString::number(Value, 'g', QLocale::FloatingPointShortest));
}

bool TRegistry::WriteDateTime(const QString& Name, const QDateTime& Value) {
    return WriteText(Name, Value.toString(Qt::ISODateWithMs));
}

} // namespace Platform
