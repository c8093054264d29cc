// Thousands of random calls on one file, each checked against a plain in-memory model that orders
// records by comparing their fields directly (not through the stored key bytes).
#include "RecordManagerSupport.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <random>

using namespace RmTest;

namespace {

// Record: a (int32, unique key 0), name (8 bytes, case-insensitive key 1 with duplicates),
// b (int16, descending key 2 with duplicates), 2 spare bytes, then a variable tail.
constexpr uint16_t FixedLength = 16;
constexpr int KeyCount = 3;

int32_t fieldA(const Bytes& r) {
    return Handle::get32(r, 0);
}
int16_t fieldB(const Bytes& r) {
    return int16_t(uint16_t(r[12] | r[13] << 8));
}
std::string foldedName(const Bytes& r) {
    std::string s(r.begin() + 4, r.begin() + 12);
    for (char& c : s)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    return s;
}
Bytes keyBytes(int key, const Bytes& r) {
    static const int from[] = {0, 4, 12}, to[] = {4, 12, 14};
    return Bytes(r.begin() + from[key], r.begin() + to[key]);
}

int compareKeys(int key, const Bytes& x, const Bytes& y) {
    switch (key) {
    case 0:
        return (fieldA(x) > fieldA(y)) - (fieldA(x) < fieldA(y));
    case 1:
        return foldedName(x).compare(foldedName(y)) < 0 ? -1 : foldedName(x) == foldedName(y) ? 0 : 1;
    default:
        return (fieldB(y) > fieldB(x)) - (fieldB(y) < fieldB(x));
    }
}

enum class Place { None, On, Deleted, Before, After };

struct Model {
    std::map<uint32_t, Bytes> records;
    Place place = Place::None;
    uint32_t pos = 0;
    Bytes data;

    // (key, position) order; position order for key -1.
    std::vector<uint32_t> ordered(int key) const {
        std::vector<uint32_t> v;
        for (const auto& [p, r] : records)
            v.push_back(p);
        if (key >= 0)
            std::stable_sort(v.begin(), v.end(), [&](uint32_t a, uint32_t b) {
                return compareKeys(key, records.at(a), records.at(b)) < 0;
            });
        return v;
    }
    bool after(int key, uint32_t p) const {
        const int c = compareKeys(key, records.at(p), data);
        return c > 0 || (c == 0 && p > pos);
    }
    bool before(int key, uint32_t p) const {
        const int c = compareKeys(key, records.at(p), data);
        return c < 0 || (c == 0 && p < pos);
    }
    bool uniqueClash(const Bytes& r, uint32_t self) const {
        for (const auto& [p, other] : records)
            if (p != self && fieldA(other) == fieldA(r))
                return true;
        return false;
    }
    // The outcome of a move: the position found (0 = none) with the place it leaves when none.
    int16_t land(uint32_t found, Place none, int16_t status = StatusEndOfFile) {
        if (!found) {
            place = none;
            return status;
        }
        place = Place::On;
        pos = found;
        data = records.at(found);
        return StatusSuccess;
    }
};

class Randomized : public RecordManagerTest {
protected:
    std::mt19937 rng{20240611};
    int pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }

    Bytes randomRecord() {
        static const char* names[] = {"ab", "AB", "Ab", "b", "B", "ba", "abc", ""};
        Bytes r(FixedLength + size_t(pick(0, 20)), 0);
        const int32_t a = pick(-60, 60);
        std::memcpy(r.data(), &a, 4);
        const std::string n = names[pick(0, 7)];
        std::memcpy(r.data() + 4, n.data(), n.size());
        const int16_t b = int16_t(pick(-5, 5));
        std::memcpy(r.data() + 12, &b, 2);
        for (size_t i = 14; i < r.size(); ++i)
            r[i] = uint8_t(pick(0, 255));
        return r;
    }
};

TEST_F(Randomized, ThousandsOfCallsAgreeWithASimpleModel) {
    StatBuilder layout(FixedLength, true);
    layout.key({{1, 4, KeySpec::TypeInteger}});
    layout.key({{5, 8, KeySpec::TypeString, KeySpec::FlagCaseInsensitive}}, true);
    layout.key({{13, 2, KeySpec::TypeInteger, KeySpec::FlagDescending}}, true);
    ASSERT_EQ(createFile(path("MODEL.ZU2"), layout.bytes()), StatusSuccess);
    Handle h;
    ASSERT_EQ(h.open(path("MODEL.ZU2")), StatusSuccess);
    Model m;
    uint32_t highestPosition = 0;
    std::vector<uint32_t> knownPositions{1};

    for (int step = 0; step < 4000; ++step) {
        SCOPED_TRACE("step " + std::to_string(step));
        const int key = pick(0, KeyCount - 1);
        const int what = pick(0, 13);
        int16_t expected = StatusSuccess, status = StatusSuccess;
        bool delivers = false; // the call returns the model's current record, into r
        Bytes r;

        // The file grows and shrinks in turns, down to empty now and then.
        const bool shrinking = (step / 500) % 2 == 1;
        if (what <= 2 && !shrinking) { // insert
            r = randomRecord();
            uint8_t keyBuffer[255] = {};
            uint32_t length = uint32_t(r.size());
            status = h.call(OpInsert, r.data(), length, keyBuffer, int8_t(key));
            if (m.uniqueClash(r, 0)) {
                expected = StatusDuplicateKey;
            } else if (status == StatusSuccess) {
                const uint32_t p = h.position();
                ASSERT_GT(p, highestPosition);
                highestPosition = p;
                knownPositions.push_back(p);
                m.records[p] = r;
                m.land(p, Place::None);
                EXPECT_EQ(Bytes(keyBuffer, keyBuffer + keyBytes(key, r).size()), keyBytes(key, r));
            }
        } else if (what == 3) { // update
            r = randomRecord();
            uint8_t keyBuffer[255] = {};
            uint32_t length = uint32_t(r.size());
            status = h.call(OpUpdate, r.data(), length, keyBuffer, int8_t(key));
            if (m.place != Place::On) {
                expected = StatusNoCurrentRecord;
            } else if (m.uniqueClash(r, m.pos)) {
                expected = StatusDuplicateKey;
            } else {
                m.records[m.pos] = r;
                m.data = r;
            }
        } else if (what <= 4) { // delete
            status = h.simple(OpDelete);
            if (m.place != Place::On) {
                expected = StatusNoCurrentRecord;
            } else {
                m.records.erase(m.pos);
                m.place = Place::Deleted;
            }
        } else if (what <= 6) { // lookups by a key value
            static const uint16_t ops[] = {OpGetEqual, OpGetGreaterOrEqual, OpGetGreater, OpGetLessOrEqual,
                                           OpGetLess};
            const uint16_t op = ops[pick(0, 4)];
            Bytes probe = randomRecord();
            const int32_t wider = pick(-70, 70); // past either end now and then
            std::memcpy(probe.data(), &wider, 4);
            Bytes value = keyBytes(key, probe);
            value.resize(255);
            status = h.get(op, int8_t(key), value.data(), r, 64);
            const auto order = m.ordered(key);
            uint32_t found = 0;
            if (op == OpGetEqual || op == OpGetGreaterOrEqual || op == OpGetGreater) {
                for (uint32_t p : order) {
                    const int c = compareKeys(key, m.records[p], probe);
                    if (op == OpGetGreater ? c > 0 : op == OpGetEqual ? c == 0 : c >= 0) {
                        found = p;
                        break;
                    }
                }
                expected = op == OpGetEqual ? m.land(found, Place::None, StatusKeyNotFound)
                                            : m.land(found, Place::After);
            } else {
                for (auto it = order.rbegin(); it != order.rend(); ++it) {
                    const int c = compareKeys(key, m.records[*it], probe);
                    if (op == OpGetLess ? c < 0 : c <= 0) {
                        found = *it;
                        break;
                    }
                }
                expected = m.land(found, Place::Before);
            }
            delivers = true;
        } else if (what <= 10) { // first, last, next, previous: by a key (7 to 9) or in position order (10)
            const bool physical = what == 10;
            const bool forward = physical ? pick(0, 1) == 0 : what != 8;
            const bool fromEnd = pick(0, 3) == 0;
            const uint16_t op = physical ? (fromEnd ? (forward ? OpStepFirst : OpStepLast)
                                                    : (forward ? OpStepNext : OpStepPrevious))
                                         : (fromEnd ? (forward ? OpGetFirst : OpGetLast)
                                                    : (forward ? OpGetNext : OpGetPrevious));
            status = h.get(op, physical ? 0 : int8_t(key), nullptr, r, 64);
            std::vector<uint32_t> order = m.ordered(physical ? -1 : key);
            if (!forward)
                std::reverse(order.begin(), order.end());
            const auto beyond = [&](uint32_t p) {
                return physical  ? (forward ? p > m.pos : p < m.pos)
                       : forward ? m.after(key, p)
                                 : m.before(key, p);
            };
            if (!fromEnd && m.place == Place::None) {
                expected = StatusNoCurrentRecord;
            } else if (!fromEnd && m.place == (forward ? Place::After : Place::Before)) {
                expected = StatusEndOfFile;
            } else {
                uint32_t found = 0;
                for (uint32_t p : order) {
                    if (fromEnd || m.place == Place::Before || m.place == Place::After || beyond(p)) {
                        found = p;
                        break;
                    }
                }
                expected = m.land(found, forward ? Place::After : Place::Before);
            }
            delivers = true;
        } else if (what == 11) { // get direct
            const uint32_t p = knownPositions[size_t(pick(0, int(knownPositions.size()) - 1))];
            r.assign(64, 0);
            std::memcpy(r.data(), &p, 4);
            uint32_t length = 64;
            uint8_t keyBuffer[255] = {};
            status = h.call(OpGetDirect, r.data(), length, keyBuffer, int8_t(key));
            r.resize(length);
            expected = m.records.count(p) ? m.land(p, Place::None) : int16_t(StatusInvalidPosition);
            delivers = true;
        } else if (what == 12) { // chunk read of the current record
            const uint32_t offset = uint32_t(pick(0, 40)), length = uint32_t(pick(0, 24));
            Bytes out(length + 1, 0);
            uint8_t block[Chunk::ChunkReadLength];
            storeChunkRead(m.place == Place::On ? m.pos : 1, {offset, length, out.data()}, block);
            uint32_t got = Chunk::ChunkReadLength;
            uint8_t dummy[255];
            status = h.call(OpGetDirect, block, got, dummy, GetDirectChunk);
            if (m.place != Place::On) {
                expected = m.records.count(1) ? m.land(1, Place::None) : int16_t(StatusInvalidPosition);
            }
            if (m.place == Place::On && expected == StatusSuccess) {
                if (offset >= m.data.size()) {
                    expected = StatusChunkOffsetTooBig;
                    EXPECT_EQ(got, 0u);
                } else {
                    const size_t n = std::min<size_t>(length, m.data.size() - offset);
                    ASSERT_EQ(got, n);
                    EXPECT_EQ(Bytes(out.begin(), out.begin() + long(n)),
                              Bytes(m.data.begin() + offset, m.data.begin() + long(offset + n)));
                }
            }
        } else { // chunk write into the current record
            const uint32_t offset = uint32_t(pick(0, 40));
            Bytes chunk(size_t(pick(1, 8)));
            static const uint8_t bytes[] = {0, 1, 2, 0xFF, 'a', 'A', 'b'};
            for (uint8_t& c : chunk)
                c = bytes[pick(0, 6)];
            uint8_t descriptor[Chunk::ChunkUpdateLength];
            storeChunkDescriptor({offset, uint32_t(chunk.size()), chunk.data()}, descriptor);
            uint32_t length = Chunk::ChunkUpdateLength;
            uint8_t dummy[255];
            status = h.call(OpUpdateChunk, descriptor, length, dummy, 0);
            if (m.place != Place::On) {
                expected = StatusNoCurrentRecord;
            } else if (offset > m.data.size()) {
                expected = StatusChunkOffsetTooBig;
            } else {
                Bytes changed = m.data;
                changed.resize(std::max(changed.size(), offset + chunk.size()));
                std::copy(chunk.begin(), chunk.end(), changed.begin() + offset);
                if (m.uniqueClash(changed, m.pos)) {
                    expected = StatusDuplicateKey;
                } else {
                    m.records[m.pos] = changed;
                    m.data = changed;
                }
            }
        }
        ASSERT_EQ(status, expected) << "operation kind " << what << ", key " << key;
        if (delivers && status == StatusSuccess) {
            ASSERT_EQ(r, m.data);
            ASSERT_EQ(h.position(), m.pos);
        }
        if (step % 250 == 0) {
            ASSERT_EQ(h.recordCount(), m.records.size());
        }
    }
}

} // namespace
