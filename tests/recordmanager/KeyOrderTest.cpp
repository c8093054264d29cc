#include "RecordManagerSupport.h"

using namespace RmTest;

namespace {

class KeyOrder : public RecordManagerTest {};

// One file walked along each key of the test layout, both ways: integers across byte boundaries and at
// the extremes, Danish letters folded, a descending key and duplicates kept in insertion order, and a
// zero-terminated text that ignores the bytes behind its end, followed by an unsigned number.
TEST_F(KeyOrder, EachKeyTypeOrdersAsItsValues) {
    Handle h;
    openTestFile(h);
    // Windows-1252 in octal: \346 is "æ", \306 "Æ", \370 "ø".
    Bytes b = testRecord(255, "Anna", -7, 1, "ab");
    std::memcpy(b.data() + 33, "xyz", 3); // behind the terminator of "ab"
    h.insertAll({testRecord(256, "bo", 5, 0xFFFF, "ab"), b, testRecord(-1, "\346ble", 300, 256, "a"),
                 testRecord(0, "anna", 5), testRecord(70000, "Bo", 255), testRecord(-300, "\306BLE", 5),
                 testRecord(INT32_MIN, "\370"), testRecord(INT32_MAX, "")});
    const std::vector<int32_t> orders[] = {{INT32_MIN, -300, -1, 0, 255, 256, 70000, INT32_MAX},
                                           {INT32_MAX, 255, 0, 256, 70000, -1, -300, INT32_MIN},
                                           {-1, 70000, 256, 0, -300, INT32_MIN, INT32_MAX, 255},
                                           {0, 70000, -300, INT32_MIN, INT32_MAX, -1, 255, 256}};
    for (int8_t key = 0; key < 4; ++key) {
        SCOPED_TRACE(key);
        EXPECT_EQ(walk(h, key), orders[key]);
        EXPECT_EQ(walk(h, key, true), std::vector<int32_t>(orders[key].rbegin(), orders[key].rend()));
    }

    char name[20] = "ANNA";
    Bytes r;
    ASSERT_EQ(h.get(OpGetEqual, 1, name, r), StatusSuccess);
    EXPECT_STREQ(name, "Anna"); // the found record's own key comes back
    ASSERT_EQ(h.get(OpGetNext, 1, name, r), StatusSuccess);
    EXPECT_EQ(idOf(r), 0);
    uint8_t tagAndCode[12] = {'a', 'b', 0, 'q', 'q', 0, 0, 0, 0, 0, 0x01, 0x00};
    ASSERT_EQ(h.get(OpGetEqual, 3, tagAndCode, r), StatusSuccess);
    EXPECT_EQ(idOf(r), 255);
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

TEST_F(KeyOrder, AutoIncrementGivesTheHighestValuePlusOne) {
    ASSERT_EQ(createFile(path("STAEVNE.ZU2"),
                         StatBuilder(TestRecordLength).key({{1, 4, KeySpec::TypeAutoIncrement}}).bytes()),
              StatusSuccess);
    Handle h;
    ASSERT_EQ(h.open(path("STAEVNE.ZU2")), StatusSuccess);
    std::vector<int32_t> given;
    for (int32_t id : {0, 0, 10, 0, -1, 0}) {
        Bytes r = testRecord(id);
        EXPECT_EQ(id < 0 ? h.simple(OpDelete) : h.write(OpInsert, r), StatusSuccess);
        if (id >= 0)
            given.push_back(idOf(r)); // written back into the caller's buffer
    }
    // The highest value deleted is not given again (a meet's number reaching another meet): 12, not 11.
    EXPECT_EQ(given, (std::vector<int32_t>{1, 2, 10, 11, 12}));

    // Nor after the file was closed, nor when the value deleted was changed first.
    ASSERT_EQ(h.simple(OpDelete), StatusSuccess);
    stop();
    ASSERT_EQ(h.open(path("STAEVNE.ZU2")), StatusSuccess);
    Bytes r = testRecord(0);
    ASSERT_EQ(h.write(OpInsert, r), StatusSuccess);
    EXPECT_EQ(idOf(r), 13);
    for (const int32_t id : {20, 5}) {
        std::memcpy(r.data(), &id, 4);
        ASSERT_EQ(h.write(OpUpdate, r), StatusSuccess);
    }
    r = testRecord(0);
    ASSERT_EQ(h.write(OpInsert, r), StatusSuccess);
    EXPECT_EQ(idOf(r), 21);
}

} // namespace
