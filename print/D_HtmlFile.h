#pragma once
// The file of a web page as readers see it: gathered in memory, then written under a temporary name beside
// the page and put in place whole when committed, so that a web server or a display never reads half a
// page. A page whose bytes are those already there, apart from the time it was generated, is left alone: a
// job run again over an unchanged meet writes nothing, however much later.
#include "foundation/Exception.h"

#include <QString>
#include <QStringList>

#include <QByteArray>

#include <vector>

// A file could not be created, written, read or put in place.
class EInOutError : public Exception {
public:
    using Exception::Exception;
};

// How the file's bytes are made from its text.
enum class THtmlEncoding {
    Windows1252,
    // XML declared ISO-8859-1: a character above Latin-1 goes as its number.
    Latin1References
};

class THtmlFile {
public:
    // Only the page's own name is lower-cased; its folder is found as Windows would. A page of that
    // name stays as it is until the commit. Raises EInOutError when the folder cannot take the file.
    THtmlFile(const QString& fileName, THtmlEncoding encoding);
    // A file not committed is dropped.
    ~THtmlFile();
    THtmlFile(const THtmlFile&) = delete;
    THtmlFile& operator=(const THtmlFile&) = delete;

    // Raises EInOutError, dropping the file, when the text cannot be written or the file was committed.
    void Write(const QString& text);
    // Like Write, for the time the page was generated: a page on disk that differs from this one only
    // there counts as unchanged. A stamp holds no markup ("<", ">", "&") and no line end.
    void WriteStamp(const QString& text);
    // Puts the page in place under its name unless the page there has the same bytes apart from the
    // stamps (then it keeps its bytes and its time). Raises EInOutError when that fails, leaving no temporary
    // file behind. A second commit does nothing.
    void Commit();
    // Until committed or dropped after a failure.
    bool IsOpen() const { return open_; }
    // The last commit found the page as it was and wrote nothing.
    bool Unchanged() const { return unchanged_; }
    const QString& FileName() const { return fileName_; }

private:
    [[noreturn]] void Fail(const QString& error);

    bool SameAsOnDisk() const;
    bool SameApartFromStamps(QByteArrayView old) const;

    struct Stamp {
        qsizetype offset;
        qsizetype size;
    };

    QByteArray bytes_;
    std::vector<Stamp> stamps_;
    QString fileName_;
    THtmlEncoding encoding_;
    bool open_ = true;
    bool unchanged_ = false;
};

// Removes from the folder the temporary files a page writer left when it was stopped half-way (a page's
// name, ".htm" or ".body", and six letters or digits after a dot) that have not been touched for at least
// minAgeSeconds, so that a page being written by another run at this moment keeps its own. Nothing else
// is touched. The number removed.
int RemoveStaleHtmlTemps(const QString& folder, int minAgeSeconds = 60);

// The lines of a Windows-1252 text file with CRLF or LF line ends; none when there is no such file.
// Raises EInOutError when the file is there but cannot be read.
QStringList ReadIncludeFileLines(const QString& path);
