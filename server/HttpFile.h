#pragma once
// A file opened to be sent as an answer: its descriptor, closed with it, and the name the log shows.
#include <QByteArray>
#include <QString>

#include <memory>

class THttpFile {
public:
    // Takes over the open descriptor; size is its size as it was opened (a guess: the file is read to
    // its end whatever it is).
    THttpFile(int descriptor, QString name, qint64 size);
    ~THttpFile();
    THttpFile(const THttpFile&) = delete;
    THttpFile& operator=(const THttpFile&) = delete;

    // The file at path (found as the path resolver finds it) opened for reading; null when it is no
    // regular file or cannot be opened.
    static std::unique_ptr<THttpFile> Open(const QString& path);

    const QString& Name() const { return name_; }
    // Everything the file holds now, read to its end; false when reading fails.
    bool ReadAll(QByteArray& content) const;

private:
    int fd_;
    QString name_;
    qint64 size_;
};
