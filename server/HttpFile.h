#pragma once
// A file opened to be sent as an answer: its descriptor, closed with it, and the name the log shows.
#include <QString>

#include <memory>

class THttpFile {
public:
    // Takes over the open descriptor.
    THttpFile(int descriptor, QString name);
    ~THttpFile();
    THttpFile(const THttpFile&) = delete;
    THttpFile& operator=(const THttpFile&) = delete;

    // The file at path (found as the path resolver finds it) opened for reading; null when it is no
    // regular file or cannot be opened.
    static std::unique_ptr<THttpFile> Open(const QString& path);

    const QString& Name() const { return name_; }
    // The file's size now; -1 when the system cannot tell.
    qint64 Size() const;
    // Up to size bytes from where the last read ended: fewer only at the file's end, 0 there; -1 when
    // reading fails.
    qint64 Read(char* buffer, qint64 size);

private:
    int fd_;
    QString name_;
};
