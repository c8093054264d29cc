#pragma once
// The file of a web page as readers see it: written under a temporary name beside the page and put in
// place whole when committed, so that a web server or a display never reads half a page.
#include "foundation/Exception.h"

#include <QString>
#include <QStringList>

#include <memory>

class QSaveFile;

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
    // name stays as it is until the commit. Raises EInOutError when the file cannot be made.
    THtmlFile(const QString& fileName, THtmlEncoding encoding);
    // A file not committed is dropped.
    ~THtmlFile();
    THtmlFile(const THtmlFile&) = delete;
    THtmlFile& operator=(const THtmlFile&) = delete;

    // Raises EInOutError, dropping the file, when the text cannot be written or the file was committed.
    void Write(const QString& text);
    // Puts the page in place under its name. Raises EInOutError when that fails, leaving no temporary
    // file behind. A second commit does nothing.
    void Commit();
    // Until committed or dropped after a failure.
    bool IsOpen() const { return file_ != nullptr; }
    const QString& FileName() const { return fileName_; }

private:
    [[noreturn]] void Fail(const QString& error);

    std::unique_ptr<QSaveFile> file_;
    QString fileName_;
    THtmlEncoding encoding_;
};

// The lines of a Windows-1252 text file with CRLF or LF line ends; none when there is no such file.
// Raises EInOutError when the file is there but cannot be read.
QStringList ReadIncludeFileLines(const QString& path);
