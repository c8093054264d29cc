#pragma once
// The record manager's file-system calls, behind one seam: the locks, renames, syncs and removals it
// makes itself, and the writes and syncs SQLite makes on the record files, their journals and their
// WALs (through a VFS of ours that asks the seam first). The default makes the real calls; a test installs
// one that fails a chosen call.
#include <string>

namespace RecordManager {

class FileSystem {
public:
    virtual ~FileSystem();

    // The calls themselves: 0, or -1 with errno set, as the system gives them.
    virtual int lock(int fd, int operation);
    virtual int rename(const char* from, const char* to);
    virtual int sync(int fd);
    virtual int unlink(const char* path);

    // Asked before each write and each sync SQLite makes on the file at path: 0 lets it happen, an
    // errno value fails it (ENOSPC as a full disk, anything else as an I/O error).
    virtual int beforeWrite(const char* path);
    virtual int beforeSync(const char* path);
    // Asked before each record file's part of a transaction commits (the file's path), at End
    // Transaction and when a journal is applied: 0 lets it commit, an errno value fails it.
    virtual int beforeCommit(const char* path);
    // Whether SQLite's syncs of files and folders are made as they come (the default). A batch that
    // builds new files aside may leave them to itself: it makes the whole file system durable at once
    // before it puts the files where they are used.
    virtual bool syncsNow();
};

// The seam in use: the real file system unless a test installed another.
FileSystem& fileSystem();

// Syncs the entries of the folder that holds path; false when that failed (a folder we may not read is
// left to the system).
bool syncFolderOf(const std::string& path);

// Installs the file system for its own lifetime (the caller keeps it alive as long), then the one
// before. Not for use while another thread calls the record manager.
class ScopedFileSystem {
public:
    explicit ScopedFileSystem(FileSystem& fileSystem);
    ~ScopedFileSystem();
    ScopedFileSystem(const ScopedFileSystem&) = delete;
    ScopedFileSystem& operator=(const ScopedFileSystem&) = delete;

private:
    FileSystem* previous_;
};

// The name of the VFS that passes SQLite's writes and syncs through the seam; registered on first use.
const char* seamVfsName();

} // namespace RecordManager
