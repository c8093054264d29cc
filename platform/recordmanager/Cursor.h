#pragma once
// One position block: where it stands in its file, and the calls that move it or change records there.
#include "platform/recordmanager/RecordFile.h"

#include <chrono>
#include <cstdint>
#include <vector>

namespace RecordManager {

// The caller's buffers of one call.
struct CallBuffers {
    uint8_t* data = nullptr;
    uint32_t* dataLength = nullptr;
    uint8_t* key = nullptr;
    uint8_t keyLength = 0;
    int8_t keyNumber = 0;
};

// Every call throws StatusError for a status that ends it; its effects up to the throw stay. The gets
// return instead the statuses a walk meets as a matter of course: 22 (the buffer too short still gets the
// bytes that fit and moves the position), 9 and 4.
class Cursor {
public:
    Cursor(RecordFile& file, bool readOnly);

    RecordFile& file() { return file_; }

    int16_t getByKey(Query query, const CallBuffers& c); // Equal to Less, First, Last
    int16_t getAdjacent(bool forward, const CallBuffers& c);
    int16_t step(Query query, const CallBuffers& c);
    void getPosition(const CallBuffers& c);
    int16_t getDirect(const CallBuffers& c);
    void readChunk(const CallBuffers& c);
    void insert(const CallBuffers& c);
    void update(const CallBuffers& c);
    void remove();
    void updateChunk(const CallBuffers& c);
    void stat(const CallBuffers& c);

private:
    enum class Place {
        None,        // no position: Next and Previous give 8
        OnRecord,    // current_ is the current record
        Deleted,     // current_ was deleted; Next and Previous go on from where it stood
        BeforeFirst, // a move ran off the start
        AfterLast,   // a move ran off the end
    };

    // The status a key-number check of the call gives: 0 when its key number and buffer are good.
    int16_t keyStatus(const CallBuffers& c) const;
    void checkKey(const CallBuffers& c) const;
    void checkWrite() const;
    bool recordFrom(const CallBuffers& c, Record& into) const;
    int16_t land(const CallBuffers& c, int key);
    void anchorOf(int key, EncodedKey& anchor);
    [[noreturn]] void missed(Place place, int16_t status);
    int16_t ranOff(Place place, int16_t status);
    int16_t deliver(const CallBuffers& c) const;
    bool isFresh(const Record& record) const;
    void stampWritten(Record& record) const;

    // Records read ahead by a run of Next, Previous or Step calls. They are handed out only to the
    // calls that continue the run, while this process has not changed the file and for a few
    // milliseconds at most; no read snapshot is kept between calls.
    struct ReadAhead {
        std::vector<Record> rows;
        size_t count = 0;
        size_t next = 0;
        size_t batch = 0;
        uint32_t handedOut = 0; // position of the row handed out last
        Query query = Query::Direct;
        int key = -1;
        uint64_t stamp = 0;
        std::chrono::steady_clock::time_point fetched;
    };
    bool advance(Query query, int key, const EncodedKey* anchor);

    RecordFile& file_;
    bool readOnly_;
    Place place_ = Place::None;
    Record current_;
    Record found_; // scratch of every lookup; swapped with current_ when the cursor moves
    ReadAhead ahead_;
};

} // namespace RecordManager
