#include "RecordManagerSupport.h"

using namespace RmTest;

namespace {

class Navigation : public RecordManagerTest {
protected:
    void SetUp() override {
        openTestFile(h);
        for (int32_t id = 10; id <= 60; id += 10) {
            h.insertAll({testRecord(id, "n", id)});
            positions.push_back(h.position());
        }
    }
    Handle h;
    std::vector<uint32_t> positions;
    Bytes r = Bytes(TestRecordLength);
    uint32_t length = TestRecordLength;
};

TEST_F(Navigation, DeleteInsideANextLoopGoesOnFromWhereTheRecordStood) {
    std::vector<int32_t> seen;
    int16_t status = h.get(OpGetFirst, 0, nullptr, r);
    for (; status == StatusSuccess; status = h.get(OpGetNext, 0, nullptr, r)) {
        seen.push_back(idOf(r));
        if (idOf(r) % 20 == 0) {
            ASSERT_EQ(h.simple(OpDelete), StatusSuccess);
        }
    }
    EXPECT_EQ(status, StatusEndOfFile);
    EXPECT_EQ(seen, (std::vector<int32_t>{10, 20, 30, 40, 50, 60}));
    EXPECT_EQ(walk(h, 0), (std::vector<int32_t>{10, 30, 50}));

    // Backwards too, and a deleted record is no current record.
    ASSERT_EQ(h.get(OpGetLast, 0, nullptr, r), StatusSuccess);
    ASSERT_EQ(h.simple(OpDelete), StatusSuccess);
    EXPECT_EQ(h.simple(OpDelete), StatusNoCurrentRecord);
    EXPECT_EQ(h.position(), 0u);
    ASSERT_EQ(h.get(OpGetPrevious, 0, nullptr, r), StatusSuccess);
    EXPECT_EQ(idOf(r), 30);
}

TEST_F(Navigation, GetDirectFindsLivePositionsAndRefusesDeletedOnes) {
    uint8_t key[4] = {};
    std::memcpy(r.data(), &positions[3], 4);
    ASSERT_EQ(h.call(OpGetDirect, r.data(), length, key, 0), StatusSuccess);
    EXPECT_EQ(idOf(r), 40);
    EXPECT_EQ(Handle::get32(Bytes(key, key + 4), 0), 40);
    // Direct access sets the position that Next goes on from.
    ASSERT_EQ(h.call(OpGetNext, r.data(), length, key, 0), StatusSuccess);
    EXPECT_EQ(idOf(r), 50);

    ASSERT_EQ(h.simple(OpDelete), StatusSuccess);
    // A second position block on the file keeps its own place.
    Handle other;
    Bytes first;
    ASSERT_EQ(other.open(path("TEST.ZU2")), StatusSuccess);
    EXPECT_EQ(other.get(OpGetNext, 0, nullptr, first), StatusNoCurrentRecord);
    ASSERT_EQ(other.get(OpGetFirst, 0, nullptr, first), StatusSuccess);
    ASSERT_EQ(h.call(OpGetNext, r.data(), length, key, 0), StatusSuccess);
    EXPECT_EQ(idOf(r), 60);
    for (uint32_t gone : {positions[4], 0u, 9999u}) {
        std::memcpy(r.data(), &gone, 4);
        EXPECT_EQ(h.call(OpGetDirect, r.data(), length, key, 0), StatusInvalidPosition);
    }
}

TEST_F(Navigation, ALookupGivesBackTheFoundKeyOrLeavesTheBuffersAloneAndBadKeysAreRefused) {
    int32_t key = 11;
    ASSERT_EQ(h.get(OpGetGreaterOrEqual, 0, &key, r), StatusSuccess);
    EXPECT_EQ(key, 20);
    key = 61;
    const Bytes untouched(TestRecordLength, 0xAB);
    r = untouched;
    EXPECT_EQ(h.call(OpGetGreaterOrEqual, r.data(), length, &key, 0), StatusEndOfFile);
    EXPECT_EQ(r, untouched);
    EXPECT_EQ(key, 61);
    // Having run off the end, Previous gives the last record.
    EXPECT_EQ(h.call(OpGetPrevious, r.data(), length, &key, 0), StatusSuccess);
    EXPECT_EQ(idOf(r), 60);

    EXPECT_EQ(h.get(OpGetFirst, 4, nullptr, r), StatusInvalidKeyNumber);
    EXPECT_EQ(h.get(OpGetFirst, -1, nullptr, r), StatusInvalidKeyNumber);
    char name[20] = {};
    EXPECT_EQ(BTRCALL(OpGetFirst, h.block.data(), r.data(), &length, name, 10, 1), StatusKeyBufferTooShort);
}

class Chunks : public RecordManagerTest {
protected:
    void SetUp() override {
        openTestFile(h, true);
        record = testRecord(1, "meet");
        record.insert(record.end(), {4, 0, 0, 0, 'a', 'b', 'c', 'd'});
        ASSERT_EQ(h.write(OpInsert, record), StatusSuccess);
        position = h.position();
    }
    int16_t readChunk(uint32_t offset, uint32_t length, Bytes& out, uint32_t& got) {
        out.assign(length, 0);
        uint8_t block[Chunk::ChunkReadLength];
        storeChunkRead(position, {offset, length, out.data()}, block);
        got = Chunk::ChunkReadLength;
        uint8_t key[255] = {};
        return h.call(OpGetDirect, block, got, key, GetDirectChunk);
    }
    int16_t writeChunk(uint32_t offset, Bytes data) {
        uint8_t descriptor[Chunk::ChunkUpdateLength];
        storeChunkDescriptor({offset, uint32_t(data.size()), data.data()}, descriptor);
        uint32_t length = Chunk::ChunkUpdateLength;
        uint8_t key[255] = {};
        return h.call(OpUpdateChunk, descriptor, length, key, 0);
    }
    Handle h;
    Bytes record;
    uint32_t position = 0;
};

TEST_F(Chunks, RecordsComeBackWholeOrTruncatedAndChunksStopAtTheEndOrGive103PastIt) {
    Bytes r(TestRecordLength);
    uint32_t length = TestRecordLength;
    int32_t key = 1;
    ASSERT_EQ(h.call(OpGetEqual, r.data(), length, &key, 0), StatusDataBufferTooShort);
    EXPECT_EQ(length, record.size());
    EXPECT_EQ(r, Bytes(record.begin(), record.begin() + TestRecordLength));
    Bytes out;
    uint32_t got = 0;
    ASSERT_EQ(readChunk(40, 4, out, got), StatusSuccess);
    EXPECT_EQ(out, (Bytes{4, 0, 0, 0}));
    ASSERT_EQ(readChunk(44, 100, out, got), StatusSuccess);
    EXPECT_EQ(got, 4u);
    EXPECT_EQ(Bytes(out.begin(), out.begin() + 4), (Bytes{'a', 'b', 'c', 'd'}));
    EXPECT_EQ(readChunk(48, 4, out, got), StatusChunkOffsetTooBig);
    EXPECT_EQ(got, 0u);

    // The fixed part rewritten, as an update of a variable-length record does: the tail stays.
    Bytes fixed = testRecord(2, "renamed");
    ASSERT_EQ(writeChunk(0, fixed), StatusSuccess);
    ASSERT_EQ(writeChunk(46, {'X', 'Y', 'Z', '!'}), StatusSuccess);
    EXPECT_EQ(writeChunk(51, {1}), StatusChunkOffsetTooBig);
    Bytes expected = fixed;
    expected.insert(expected.end(), {4, 0, 0, 0, 'a', 'b', 'X', 'Y', 'Z', '!'});
    key = 2;
    ASSERT_EQ(h.get(OpGetEqual, 0, &key, r), StatusSuccess);
    EXPECT_EQ(r, expected);

    // The 20-byte descriptor alone carries no usable address.
    uint8_t descriptor[Chunk::ChunkUpdateLength];
    storeChunkDescriptor({0, 4, out.data()}, descriptor);
    length = 20;
    EXPECT_EQ(h.call(OpUpdateChunk, descriptor, length, &key, 0), StatusInvalidOperation);
}

} // namespace
