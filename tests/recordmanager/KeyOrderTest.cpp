#include "RecordManagerSupport.h"

using namespace RmTest;

namespace {

class KeyOrder : public RecordManagerTest {};

TEST_F(KeyOrder, IntegerKeysOrderAsNumbers) {
    Handle h;
    openTestFile(h);
    h.insertAll({testRecord(256), testRecord(255), testRecord(-1), testRecord(0), testRecord(70000),
                 testRecord(-300), testRecord(INT32_MIN), testRecord(INT32_MAX)});
    const std::vector<int32_t> up{INT32_MIN, -300, -1, 0, 255, 256, 70000, INT32_MAX};
    EXPECT_EQ(walk(h, 0), up);
    EXPECT_EQ(walk(h, 0, true), std::vector<int32_t>(up.rbegin(), up.rend()));
}

TEST_F(KeyOrder, DescendingKeyKeepsDuplicatesInInsertionOrder) {
    Handle h;
    openTestFile(h);
    h.insertAll({testRecord(1, "", 5), testRecord(2, "", -7), testRecord(3, "", 300), testRecord(4, "", 5),
                 testRecord(5, "", 255), testRecord(6, "", 5)});
    EXPECT_EQ(walk(h, 2), (std::vector<int32_t>{3, 5, 1, 4, 6, 2}));
    EXPECT_EQ(walk(h, 2, true), (std::vector<int32_t>{2, 6, 4, 1, 5, 3}));
}

TEST_F(KeyOrder, CaseInsensitiveTextFoldsDanishLetters) {
    Handle h;
    openTestFile(h);
    // Windows-1252 in octal: \346 is "æ", \306 "Æ", \370 "ø".
    h.insertAll({testRecord(1, "bo"), testRecord(2, "Anna"), testRecord(3, "\346ble"), testRecord(4, "anna"),
                 testRecord(5, "Bo"), testRecord(6, "\306BLE"), testRecord(7, "\370")});
    EXPECT_EQ(walk(h, 1), (std::vector<int32_t>{2, 4, 1, 5, 3, 6, 7}));

    char key[20] = "ANNA";
    Bytes r;
    ASSERT_EQ(h.get(OpGetEqual, 1, key, r), StatusSuccess);
    EXPECT_EQ(idOf(r), 2);
    EXPECT_STREQ(key, "Anna"); // the found record's own key comes back
    ASSERT_EQ(h.get(OpGetNext, 1, key, r), StatusSuccess);
    EXPECT_EQ(idOf(r), 4);
}

TEST_F(KeyOrder, ZeroTerminatedTextIgnoresBytesAfterTheEndAndUnsignedOrdersAsNumbers) {
    Handle h;
    openTestFile(h);
    Bytes b = testRecord(2, "", 0, 1, "ab");
    std::memcpy(b.data() + 33, "xyz", 3); // behind the terminator of "ab"
    h.insertAll({testRecord(1, "", 0, 0xFFFF, "ab"), b, testRecord(3, "", 0, 256, "a")});
    EXPECT_EQ(walk(h, 3), (std::vector<int32_t>{3, 2, 1}));

    uint8_t key[12] = {'a', 'b', 0, 'q', 'q', 0, 0, 0, 0, 0, 0x01, 0x00};
    Bytes r;
    ASSERT_EQ(h.get(OpGetEqual, 3, key, r), StatusSuccess);
    EXPECT_EQ(idOf(r), 2);
}

TEST_F(KeyOrder, FloatKeysOrderAsNumbersAndNullKeysStayOutOfTheirKey) {
    // Key 0: a double at 9; key 1: a null key on the name (null value blank), unique.
    StatBuilder b(TestRecordLength);
    b.key({{9, 8, KeySpec::TypeFloat}}, true);
    b.key({{17, 8, KeySpec::TypeString, KeySpec::FlagNullKey}});
    b.raw()[Stat::KeySpecs + KeySpec::Size + KeySpec::NullValue] = ' ';
    ASSERT_EQ(createFile(path("FLOAT.ZU2"), b.bytes()), StatusSuccess);
    Handle h;
    ASSERT_EQ(h.open(path("FLOAT.ZU2")), StatusSuccess);
    int32_t id = 0;
    for (double v : {0.25, -1.5, 1e10, -0.5, 0.0, -1e-3}) {
        Bytes r = testRecord(++id);
        std::memcpy(r.data() + 8, &v, 8);
        std::memcpy(r.data() + 16, id == 3 ? "named   " : "        ", 8); // blank names do not clash
        h.insertAll({r});
    }
    EXPECT_EQ(walk(h, 0), (std::vector<int32_t>{2, 4, 6, 5, 1, 3}));
    EXPECT_EQ(walk(h, 1), (std::vector<int32_t>{3}));
}

TEST_F(KeyOrder, UniqueKeyRefusesASecondRecordWithStatus5) {
    Handle h;
    openTestFile(h);
    h.insertAll({testRecord(5, "first"), testRecord(6, "other")});
    Bytes dup = testRecord(5, "second");
    EXPECT_EQ(h.write(OpInsert, dup), StatusDuplicateKey);
    EXPECT_EQ(h.recordCount(), 2u);

    // An update onto a taken key changes nothing.
    int32_t six = 6;
    Bytes r;
    ASSERT_EQ(h.get(OpGetEqual, 0, &six, r), StatusSuccess);
    EXPECT_EQ(h.write(OpUpdate, dup), StatusDuplicateKey);
    ASSERT_EQ(h.get(OpGetEqual, 0, &six, r), StatusSuccess);
    EXPECT_EQ(nameOf(r), "other");
}

TEST_F(KeyOrder, AutoIncrementGivesTheHighestValuePlusOne) {
    StatBuilder b(TestRecordLength);
    b.key({{1, 4, KeySpec::TypeAutoIncrement}});
    ASSERT_EQ(createFile(path("STAEVNE.ZU2"), b.bytes()), StatusSuccess);
    Handle h;
    ASSERT_EQ(h.open(path("STAEVNE.ZU2")), StatusSuccess);
    auto insertId = [&](int32_t id) {
        Bytes r = testRecord(id, "meet");
        EXPECT_EQ(h.write(OpInsert, r), StatusSuccess);
        return idOf(r); // written back into the caller's buffer
    };
    EXPECT_EQ(insertId(0), 1);
    EXPECT_EQ(insertId(0), 2);
    EXPECT_EQ(insertId(10), 10);
    EXPECT_EQ(insertId(0), 11);
    ASSERT_EQ(h.simple(OpDelete), StatusSuccess);
    EXPECT_EQ(insertId(0), 11);
}

class Lookup : public RecordManagerTest {
protected:
    void SetUp() override {
        openTestFile(h);
        h.insertAll({testRecord(10), testRecord(20), testRecord(30)});
    }
    int32_t find(uint16_t op, int32_t value, int16_t expected = StatusSuccess) {
        Bytes r;
        EXPECT_EQ(h.get(op, 0, &value, r), expected);
        return expected == StatusSuccess ? idOf(r) : 0;
    }
    Handle h;
};

TEST_F(Lookup, EachComparisonFindsItsNeighbourAndBadKeysAreRefused) {
    EXPECT_EQ(find(OpGetLess, 20), 10);
    EXPECT_EQ(find(OpGetLess, 10, StatusEndOfFile), 0);

    int32_t key = 11;
    Bytes r;
    ASSERT_EQ(h.get(OpGetGreaterOrEqual, 0, &key, r), StatusSuccess);
    EXPECT_EQ(key, 20); // the found key comes back
    EXPECT_EQ(h.get(OpGetFirst, 4, nullptr, r), StatusInvalidKeyNumber);
    EXPECT_EQ(h.get(OpGetFirst, -1, nullptr, r), StatusInvalidKeyNumber);
    uint32_t length = TestRecordLength;
    char name[20] = {};
    EXPECT_EQ(BTRCALL(OpGetFirst, h.block.data(), r.data(), &length, name, 10, 1), StatusKeyBufferTooShort);
}

TEST_F(Lookup, GreaterOrEqualAboveTheLastKeyLeavesTheBuffersAlone) {
    int32_t key = 31;
    Bytes r(TestRecordLength, 0xAB);
    uint32_t length = TestRecordLength;
    EXPECT_EQ(h.call(OpGetGreaterOrEqual, r.data(), length, &key, 0), StatusEndOfFile);
    EXPECT_EQ(r, Bytes(TestRecordLength, 0xAB));
    EXPECT_EQ(key, 31);
    // Having run off the end, Previous gives the last record.
    EXPECT_EQ(h.call(OpGetPrevious, r.data(), length, &key, 0), StatusSuccess);
    EXPECT_EQ(idOf(r), 30);
}

} // namespace
