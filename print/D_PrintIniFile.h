#pragma once
// The report file's reader: an INI file in Windows-1252 with CRLF or LF line ends, whose keys are
// handed out in the order they stand in the file (the layouts number their columns by that order).
#include <QByteArray>
#include <QString>

#include <vector>

struct TIniEntry {
    QString Key;
    QString Value;
};

// Section and key names are compared without regard to case, as Windows does. Lines beginning with ";"
// are comments; a line without "=" outside a section header is passed over. Names and values lose their
// surrounding blanks, and a value in matching quotes loses the quotes. Of two sections with one name the
// first counts.
class TOrderedIniFile {
public:
    TOrderedIniFile() = default;
    // Reads the file; one that is missing or cannot be read is a file without sections.
    explicit TOrderedIniFile(const QString& fileName);
    static TOrderedIniFile FromBytes(const QByteArray& bytes);

    bool SectionExists(const QString& section) const;
    // The section's lines in file order; empty for a section that is not there.
    const std::vector<TIniEntry>& ReadSection(const QString& section) const;
    // The value of the first line with the key, or def when there is none.
    QString ReadString(const QString& section, const QString& key, const QString& def) const;
    // def also for a value that is no integer.
    int ReadInteger(const QString& section, const QString& key, int def) const;

private:
    struct TSection {
        QString Name;
        std::vector<TIniEntry> Entries;
    };

    void Parse(const QByteArray& bytes);
    const TSection* Find(const QString& section) const;

    std::vector<TSection> sections_;
};
