#include "platform/recordmanager/FileSystem.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdio>

namespace RecordManager {

namespace {

// The real file system lives as long as the process: SQLite may close files during exit.
FileSystem& realFileSystem() {
    static FileSystem* const real = new FileSystem;
    return *real;
}
FileSystem* current = nullptr;

// ---- The VFS: the default one, with every file's writes and syncs asking the seam first.

struct SeamFile {
    sqlite3_file base;
    const char* path;                 // SQLite keeps the name alive while the file is open
    alignas(8) unsigned char real[1]; // SQLite aligns its file objects to 8 bytes
};

constexpr size_t RealOffset = offsetof(SeamFile, real);

sqlite3_vfs* defaultVfs = nullptr;

sqlite3_file* realOf(sqlite3_file* file) {
    return reinterpret_cast<sqlite3_file*>(reinterpret_cast<unsigned char*>(file) + RealOffset);
}

const char* pathOf(sqlite3_file* file) {
    const char* path = reinterpret_cast<SeamFile*>(file)->path;
    return path ? path : "";
}

int refused(int error, int ioError) {
    return error == ENOSPC ? SQLITE_FULL : ioError;
}

int seamClose(sqlite3_file* f) {
    sqlite3_file* real = realOf(f);
    return real->pMethods->xClose(real);
}
int seamRead(sqlite3_file* f, void* data, int amount, sqlite3_int64 offset) {
    sqlite3_file* real = realOf(f);
    return real->pMethods->xRead(real, data, amount, offset);
}
int seamWrite(sqlite3_file* f, const void* data, int amount, sqlite3_int64 offset) {
    if (const int error = fileSystem().beforeWrite(pathOf(f)))
        return refused(error, SQLITE_IOERR_WRITE);
    sqlite3_file* real = realOf(f);
    return real->pMethods->xWrite(real, data, amount, offset);
}
int seamTruncate(sqlite3_file* f, sqlite3_int64 size) {
    sqlite3_file* real = realOf(f);
    return real->pMethods->xTruncate(real, size);
}
int seamSync(sqlite3_file* f, int flags) {
    if (const int error = fileSystem().beforeSync(pathOf(f)))
        return refused(error, SQLITE_IOERR_FSYNC);
    if (!fileSystem().syncsNow())
        return SQLITE_OK;
    sqlite3_file* real = realOf(f);
    return real->pMethods->xSync(real, flags);
}
int seamFileSize(sqlite3_file* f, sqlite3_int64* size) {
    sqlite3_file* real = realOf(f);
    return real->pMethods->xFileSize(real, size);
}
int seamLock(sqlite3_file* f, int level) {
    sqlite3_file* real = realOf(f);
    return real->pMethods->xLock(real, level);
}
int seamUnlock(sqlite3_file* f, int level) {
    sqlite3_file* real = realOf(f);
    return real->pMethods->xUnlock(real, level);
}
int seamCheckReservedLock(sqlite3_file* f, int* out) {
    sqlite3_file* real = realOf(f);
    return real->pMethods->xCheckReservedLock(real, out);
}
int seamFileControl(sqlite3_file* f, int op, void* arg) {
    sqlite3_file* real = realOf(f);
    return real->pMethods->xFileControl(real, op, arg);
}
int seamSectorSize(sqlite3_file* f) {
    sqlite3_file* real = realOf(f);
    return real->pMethods->xSectorSize(real);
}
int seamDeviceCharacteristics(sqlite3_file* f) {
    sqlite3_file* real = realOf(f);
    return real->pMethods->xDeviceCharacteristics(real);
}
int seamShmMap(sqlite3_file* f, int region, int size, int extend, void volatile** out) {
    sqlite3_file* real = realOf(f);
    return real->pMethods->xShmMap(real, region, size, extend, out);
}
int seamShmLock(sqlite3_file* f, int offset, int n, int flags) {
    sqlite3_file* real = realOf(f);
    return real->pMethods->xShmLock(real, offset, n, flags);
}
void seamShmBarrier(sqlite3_file* f) {
    sqlite3_file* real = realOf(f);
    real->pMethods->xShmBarrier(real);
}
int seamShmUnmap(sqlite3_file* f, int deleteFlag) {
    sqlite3_file* real = realOf(f);
    return real->pMethods->xShmUnmap(real, deleteFlag);
}
int seamFetch(sqlite3_file* f, sqlite3_int64 offset, int amount, void** out) {
    sqlite3_file* real = realOf(f);
    return real->pMethods->xFetch(real, offset, amount, out);
}
int seamUnfetch(sqlite3_file* f, sqlite3_int64 offset, void* page) {
    sqlite3_file* real = realOf(f);
    return real->pMethods->xUnfetch(real, offset, page);
}

const sqlite3_io_methods seamMethods = {
    3,
    seamClose,
    seamRead,
    seamWrite,
    seamTruncate,
    seamSync,
    seamFileSize,
    seamLock,
    seamUnlock,
    seamCheckReservedLock,
    seamFileControl,
    seamSectorSize,
    seamDeviceCharacteristics,
    seamShmMap,
    seamShmLock,
    seamShmBarrier,
    seamShmUnmap,
    seamFetch,
    seamUnfetch,
};

int seamOpen(sqlite3_vfs*, sqlite3_filename name, sqlite3_file* file, int flags, int* outFlags) {
    auto* seam = reinterpret_cast<SeamFile*>(file);
    seam->base.pMethods = nullptr;
    seam->path = name;
    sqlite3_file* real = realOf(file);
    const int rc = defaultVfs->xOpen(defaultVfs, name, real, flags, outFlags);
    // The default VFS's methods are version 3, as ours are; a file it failed to open has none.
    if (real->pMethods)
        seam->base.pMethods = &seamMethods;
    return rc;
}

int seamDelete(sqlite3_vfs*, const char* path, int syncDir) {
    return defaultVfs->xDelete(defaultVfs, path, fileSystem().syncsNow() ? syncDir : 0);
}

sqlite3_vfs* makeSeamVfs() {
    defaultVfs = sqlite3_vfs_find(nullptr);
    static sqlite3_vfs vfs = *defaultVfs;
    vfs.szOsFile = int(RealOffset) + defaultVfs->szOsFile;
    vfs.zName = "zuno-seam";
    vfs.pNext = nullptr;
    vfs.pAppData = defaultVfs->pAppData;
    vfs.xOpen = seamOpen;
    vfs.xDelete = seamDelete;
    sqlite3_vfs_register(&vfs, 0);
    return &vfs;
}

} // namespace

FileSystem::~FileSystem() = default;

int FileSystem::lock(int fd, int operation) {
    return ::flock(fd, operation);
}

int FileSystem::rename(const char* from, const char* to) {
    return std::rename(from, to);
}

int FileSystem::sync(int fd) {
    return ::fsync(fd);
}

int FileSystem::unlink(const char* path) {
    return ::unlink(path);
}

int FileSystem::beforeWrite(const char*) {
    return 0;
}

int FileSystem::beforeSync(const char*) {
    return 0;
}

int FileSystem::beforeCommit(const char*) {
    return 0;
}

bool FileSystem::syncsNow() {
    return true;
}

FileSystem& fileSystem() {
    return current ? *current : realFileSystem();
}

bool syncFolderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return true;
    const bool synced = fileSystem().sync(fd) == 0;
    ::close(fd);
    return synced;
}

ScopedFileSystem::ScopedFileSystem(FileSystem& fileSystem)
    : previous_(current) {
    current = &fileSystem;
}

ScopedFileSystem::~ScopedFileSystem() {
    current = previous_;
}

const char* seamVfsName() {
    static const sqlite3_vfs* vfs = makeSeamVfs();
    return vfs->zName;
}

} // namespace RecordManager
