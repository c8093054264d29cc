#pragma once
// Files a server hands out to any client on the network: only regular files inside one folder, whatever
// the request path tries. A path is decoded once and taken apart at "/" and "\"; a part that climbs
// (".."), stands still ("."), holds a control character or a ":" (a drive, a stream) refuses it. The
// file is found as the path resolver finds every file (in any letter case), opened, and served only
// when the file opened is a regular file that lies inside the folder once every link is followed.
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class THttpFile;

// The parts of the request path (the path as the gateway gives it, before any "?"), percent-decoded
// once (UTF-8, or Windows-1252 for bytes that are no UTF-8); empty parts dropped. None when refused.
std::optional<QStringList> RequestPathParts(const QString& path);

// The extension of a file name from its last "." on, in lower case; empty without one.
QString LowerExtension(const QString& name);

class TServedFolder {
public:
    // The folder as it is when the server starts; one that does not exist serves nothing.
    explicit TServedFolder(const QString& folder);
    ~TServedFolder();
    TServedFolder(const TServedFolder&) = delete;
    TServedFolder& operator=(const TServedFolder&) = delete;

    // The file the parts name inside the folder, opened for reading; null when it is not there, is no
    // regular file, lies outside the folder or cannot be opened.
    std::unique_ptr<THttpFile> Open(const QStringList& parts) const;
    const QString& Folder() const { return folder_; }

private:
    // The file at the path relative to the folder opened, when it is a regular file inside the folder; -1
    // otherwise, with missing telling whether nothing was there by that name.
    int OpenInside(const QString& relative, bool& missing) const;
    bool Inside(const QString& canonical) const;

    QString folder_; // canonical, without a trailing "/"; empty when there is none
    int dirFd_ = -1; // the folder itself, which every name is opened beneath
};
