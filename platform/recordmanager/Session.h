#pragma once
// The process-wide state of the record manager: the open files, the cursors the callers' position blocks
// name, and the transaction that spans every file the process touches.
#include "platform/recordmanager/Cursor.h"
#include "platform/recordmanager/RecordFile.h"

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace RecordManager {

class Session {
public:
    static Session& instance();
    std::mutex& mutex() { return mutex_; }

    // The call's status: the gets' ordinary ones returned, any other failure thrown as StatusError.
    int16_t call(uint16_t operation, uint8_t* positionBlock, const CallBuffers& c);
    // RecordManagerReadScope's: nested, the last end closes every file's read transaction.
    void beginRead() { ++readScopes_; }
    void endRead();

private:
    struct Slot {
        uint64_t serial = 0;
        std::unique_ptr<Cursor> cursor;
    };

    void open(uint8_t* positionBlock, const CallBuffers& c);
    void close(uint8_t* positionBlock, Cursor& cursor);
    void create(const CallBuffers& c);
    void endTransaction(bool commit);
    // Ends the read transaction of every file, so what comes next sees the files as they are now.
    void endReads();
    void stop();
    Cursor* cursorOf(const uint8_t* positionBlock);
    void release(RecordFile& file);
    int16_t onCursor(uint16_t operation, Cursor& cursor, const CallBuffers& c);

    std::mutex mutex_;
    // Cursors refer to files: the slots go first.
    std::map<FileId, std::unique_ptr<RecordFile>> files_;
    std::vector<Slot> slots_;
    uint64_t nextSerial_ = 1;
    bool transaction_ = false;
    int readScopes_ = 0;
    // The journal of a transaction that is decided but not yet written into every file.
    std::string pendingJournal_;
};

} // namespace RecordManager
