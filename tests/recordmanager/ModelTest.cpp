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
    const auto three = [](const auto& a, const auto& b) { return (a > b) - (a < b); };
    return key == 0   ? three(fieldA(x), fieldA(y))
           : key == 1 ? three(foldedName(x), foldedName(y))
                      : three(fieldB(y), fieldB(x));
}

enum class Place { None, On, Deleted, Before, After };

struct Model {
    std::map<uint32_t, Bytes> records;
    Place place = Place::None;
    uint32_t pos = 0;
    Bytes data;

    // (key, position) order, position order for key -1; backwards when not forward.
    std::vector<uint32_t> ordered(int key, bool forward = true) const {
        std::vector<uint32_t> v;
        for (const auto& [p, r] : records)
            v.push_back(p);
        if (key >= 0)
            std::stable_sort(v.begin(), v.end(), [&](uint32_t a, uint32_t b) {
                return compareKeys(key, records.at(a), records.at(b)) < 0;
            });
        if (!forward)
            std::reverse(v.begin(), v.end());
        return v;
    }
    // Whether p lies past the current record in that order.
    bool beyond(int key, uint32_t p, bool forward) const {
        const int c = key < 0 ? 0 : compareKeys(key, records.at(p), data);
        return forward ? c > 0 || (c == 0 && p > pos) : c < 0 || (c == 0 && p < pos);
    }
    bool uniqueClash(const Bytes& r, uint32_t self) const {
        return std::any_of(records.begin(), records.end(), [&](const auto& other) {
            return other.first != self && fieldA(other.second) == fieldA(r);
        });
    }
    // The outcome of a move: the first position of order that matches (none: the place it leaves).
    template <typename Match>
    int16_t land(const std::vector<uint32_t>& order, Match match, Place none,
                 int16_t status = StatusEndOfFile) {
        const auto found = std::find_if(order.begin(), order.end(), match);
        if (found == order.end()) {
            place = none;
            return status;
        }
        place = Place::On;
        data = records.at(pos = *found);
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
        const int key = pick(0, 2);
        const int what = pick(0, 12);
        int16_t expected = StatusSuccess, status = StatusSuccess;
        Bytes r; // what the call delivers, when it is to deliver the model's current record
        uint8_t keyBuffer[255] = {};
        uint32_t length = 64;

        // The file grows and shrinks in turns, down to empty now and then.
        const bool shrinking = (step / 500) % 2 == 1;
        if (what <= 2 && !shrinking) { // insert
            Bytes record = randomRecord();
            length = uint32_t(record.size());
            status = h.call(OpInsert, record.data(), length, keyBuffer, int8_t(key));
            if (m.uniqueClash(record, 0)) {
                expected = StatusDuplicateKey;
            } else if (status == StatusSuccess) {
                const uint32_t p = h.position();
                ASSERT_GT(p, highestPosition);
                knownPositions.push_back(highestPosition = p);
                m.records[p] = record;
                m.land(
                    {p}, [](uint32_t) { return true; }, Place::None);
                EXPECT_EQ(Bytes(keyBuffer, keyBuffer + keyBytes(key, record).size()), keyBytes(key, record));
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
            const bool down = op == OpGetLessOrEqual || op == OpGetLess;
            const auto match = [&](uint32_t p) {
                const int c = compareKeys(key, m.records[p], probe);
                return op == OpGetEqual     ? c == 0
                       : op == OpGetGreater ? c > 0
                       : op == OpGetLess    ? c < 0
                       : down               ? c <= 0
                                            : c >= 0;
            };
            expected = op == OpGetEqual
                           ? m.land(m.ordered(key), match, Place::None, StatusKeyNotFound)
                           : m.land(m.ordered(key, !down), match, down ? Place::Before : Place::After);
        } else if (what <= 10) { // first, last, next, previous: by a key (7 to 9) or in position order (10)
            const bool physical = what == 10;
            const bool forward = physical ? pick(0, 1) == 0 : what != 8;
            const bool fromEnd = pick(0, 3) == 0;
            const uint16_t op = physical ? (fromEnd ? (forward ? OpStepFirst : OpStepLast)
                                                    : (forward ? OpStepNext : OpStepPrevious))
                                         : (fromEnd ? (forward ? OpGetFirst : OpGetLast)
                                                    : (forward ? OpGetNext : OpGetPrevious));
            status = h.get(op, physical ? 0 : int8_t(key), nullptr, r, 64);
            const int k = physical ? -1 : key;
            const bool anywhere = fromEnd || m.place == Place::Before || m.place == Place::After;
            if (!fromEnd && m.place == Place::None)
                expected = StatusNoCurrentRecord;
            else if (!fromEnd && m.place == (forward ? Place::After : Place::Before))
                expected = StatusEndOfFile;
            else
                expected = m.land(
                    m.ordered(k, forward), [&](uint32_t p) { return anywhere || m.beyond(k, p, forward); },
                    forward ? Place::After : Place::Before);
        } else if (what == 11) { // get direct
            const uint32_t p = knownPositions[size_t(pick(0, int(knownPositions.size()) - 1))];
            r.assign(64, 0);
            std::memcpy(r.data(), &p, 4);
            status = h.call(OpGetDirect, r.data(), length, keyBuffer, int8_t(key));
            r.resize(length);
            expected = m.records.count(p) ? m.land(
                                                {p}, [](uint32_t) { return true; }, Place::None)
                                          : int16_t(StatusInvalidPosition);
        } else { // update, or a chunk written into the current record
            Bytes changed = randomRecord(), chunk(size_t(pick(1, 8)));
            const bool update = pick(0, 1) == 0;
            const uint32_t offset = uint32_t(pick(0, 40));
            static const uint8_t bytes[] = {0, 1, 2, 0xFF, 'a', 'A', 'b'};
            for (uint8_t& c : chunk)
                c = bytes[pick(0, 6)];
            uint8_t descriptor[Chunk::ChunkUpdateLength];
            storeChunkDescriptor({offset, uint32_t(chunk.size()), chunk.data()}, descriptor);
            length = update ? uint32_t(changed.size()) : uint32_t(Chunk::ChunkUpdateLength);
            status = h.call(update ? OpUpdate : OpUpdateChunk, update ? changed.data() : descriptor, length,
                            keyBuffer, int8_t(update ? key : 0));
            if (m.place != Place::On) {
                expected = StatusNoCurrentRecord;
            } else if (!update && offset > m.data.size()) {
                expected = StatusChunkOffsetTooBig;
            } else {
                if (!update) {
                    changed = m.data;
                    changed.resize(std::max(changed.size(), offset + chunk.size()));
                    std::copy(chunk.begin(), chunk.end(), changed.begin() + offset);
                }
                if (m.uniqueClash(changed, m.pos))
                    expected = StatusDuplicateKey;
                else
                    m.records[m.pos] = m.data = changed;
            }
        }
        ASSERT_EQ(status, expected) << "operation kind " << what << ", key " << key;
        if (!r.empty() && status == StatusSuccess) {
            ASSERT_EQ(r, m.data);
            ASSERT_EQ(h.position(), m.pos);
        }
        if (step % 250 == 0) {
            ASSERT_EQ(h.recordCount(), m.records.size());
        }
    }
}

} // namespace
