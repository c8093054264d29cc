#pragma once
// The registry stand-in: settings keys kept in INI files under the user's configuration folder.
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

class QSettings;

namespace Platform {

class TIniNames;

// The current user's registry of settings, kept in INI files.
//
// Key paths are written as on Windows: "\Software\<Vendor>\<Top>" and subkeys below it. Each top key is one
// INI file (QSettings, IniFormat), <root>/<Vendor>/<Top>.ini, where <root> is the user's configuration
// folder ($XDG_CONFIG_HOME or ~/.config). So "\Software\Zuno\zuno2.cfg" is ~/.config/Zuno/zuno2.cfg.ini: the
// top key's own values are in its [General] section, subkey "Meet 1" is the section [Meet%201], and
// deeper subkeys are entries "Sub\Value" of their first-level section. A subkey with neither values nor
// subkeys holds an entry "%25" that marks it as existing; one with either needs none and has none. "/", "\"
// and "%" inside a name are stored as %2F, %5C and %25. Keys above the top level ("\Software\Zuno") hold no
// values and cannot be opened.
//
// Key and value names are compared without regard to case, as on Windows; a name keeps the case it was
// first created with. Values are stored as text: integers in decimal, Booleans as 1 or 0, floats in the
// shortest exact form with ".", date-times in ISO 8601. A read of a missing value, or of a value that does
// not parse as the type asked for, gives the caller's default.
//
// Writes are kept in memory until the key is closed, another key is opened or the object is destroyed;
// then they are written to the file, so a new object sees them.
class TRegistry {
public:
    // RootFolder empty: the user's configuration folder.
    explicit TRegistry(QString rootFolder = QString());
    ~TRegistry();
    TRegistry(const TRegistry&) = delete;
    TRegistry& operator=(const TRegistry&) = delete;

    static QString DefaultRootFolder();
    // "\Software\Zuno\" and the program file's name with its extension changed to Extension (".cfg").
    static QString ProgramKey(const QString& extension);

    // A key path beginning with "\" is absolute; any other is relative to the open key (absolute when
    // none is open). False when the key is missing and CanCreate is off, or the path cannot be a key.
    bool OpenKey(const QString& key, bool canCreate);
    // Writes pending changes; false when the file could not be written.
    bool CloseKey();
    bool HasCurrentKey() const;
    // The open key's path with the stored case of its names, "\Software\Zuno\zuno2.cfg\Meet 1".
    QString CurrentPath() const;

    bool KeyExists(const QString& key) const;
    // Creates the key and every missing parent; true when the key exists afterwards.
    bool CreateKey(const QString& key);
    // Deletes the key with all its subkeys and values; closes the open key when it is inside.
    bool DeleteKey(const QString& key);

    // Of the open key; empty when none is open.
    QStringList GetKeyNames() const;
    QStringList GetValueNames() const;
    bool ValueExists(const QString& name) const;
    bool DeleteValue(const QString& name);

    int ReadInteger(const QString& name, int fallback) const;
    QString ReadString(const QString& name, const QString& fallback) const;
    bool ReadBool(const QString& name, bool fallback) const;
    double ReadFloat(const QString& name, double fallback) const;
    QDateTime ReadDateTime(const QString& name, const QDateTime& fallback) const;

    // False when no key is open.
    bool WriteInteger(const QString& name, int value);
    bool WriteString(const QString& name, const QString& value);
    bool WriteBool(const QString& name, bool value);
    bool WriteFloat(const QString& name, double value);
    bool WriteDateTime(const QString& name, const QDateTime& value);

private:
    struct Location;

    std::optional<Location> Resolve(const QString& key) const;
    std::unique_ptr<QSettings> SettingsFor(const Location& where) const;
    std::optional<QString> ReadText(const QString& name) const;
    bool WriteText(const QString& name, const QString& value);

    QString root_;
    std::unique_ptr<QSettings> settings_; // of the open key's file; null when none is open
    std::shared_ptr<TIniNames> names_;    // the names of that file
    QString group_;                       // the open key's section, "" for the top key
    QString path_;                        // the open key's path as CurrentPath gives it
};

} // namespace Platform
