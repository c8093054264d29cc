#include "RecordManagerSupport.h"

#include <sqlite3.h>

#include <chrono>
#include <filesystem>
#include <thread>

using namespace RmTest;

namespace {

class Damage : public RecordManagerTest {
protected:
    // Gives the record at `position` another id in its data, leaving its keys in the index as they were.
    void changeIdBehindTheIndex(int position, int32_t id) {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(path("TEST.ZU2").c_str(), &db), SQLITE_OK);
        Bytes data = testRecord(id, "n" + std::to_string(position), position);
        sqlite3_stmt* s = nullptr;
        sqlite3_prepare_v2(db, "UPDATE records SET data = ?1 WHERE pos = ?2", -1, &s, nullptr);
        sqlite3_bind_blob(s, 1, data.data(), int(data.size()), SQLITE_STATIC);
        sqlite3_bind_int(s, 2, position);
        EXPECT_EQ(sqlite3_step(s), SQLITE_DONE);
        sqlite3_finalize(s);
        sqlite3_close(db);
    }
    // Walks key 0 with a pause between the calls, so nothing read ahead is handed out; the ids met and the
    // status that ended the walk, or 0 when it had not ended after 20 calls.
    std::pair<std::vector<int32_t>, int16_t> slowWalk(bool backwards) {
        Handle h;
        EXPECT_EQ(h.open(path("TEST.ZU2")), StatusSuccess);
        std::vector<int32_t> ids;
        Bytes r;
        int16_t status = h.get(backwards ? OpGetLast : OpGetFirst, 0, nullptr, r);
        for (int calls = 0; status == StatusSuccess && calls < 20; ++calls) {
            ids.push_back(idOf(r));
            std::this_thread::sleep_for(std::chrono::milliseconds(15));
            status = h.get(backwards ? OpGetPrevious : OpGetNext, 0, nullptr, r);
        }
        return {ids, status};
    }
};

TEST_F(Damage, AWalkOverARecordWhoseDataDisagreesWithItsKeyEndsWith30) {
    Handle h;
    openTestFile(h);
    for (int32_t id = 1; id <= 5; ++id)
        h.insertAll({testRecord(id, "n" + std::to_string(id), id)});
    stop();
    changeIdBehindTheIndex(4, 1); // its data now say it belongs before record 2
    EXPECT_EQ(slowWalk(false), std::make_pair(std::vector<int32_t>{1, 2, 3}, int16_t(StatusNotARecordFile)));
    changeIdBehindTheIndex(4, 4);
    changeIdBehindTheIndex(2, 5); // now after record 4
    EXPECT_EQ(slowWalk(true), std::make_pair(std::vector<int32_t>{5, 4, 3}, int16_t(StatusNotARecordFile)));

    // Standing on the damaged record by a step or a direct read, a keyed move from it is refused too.
    ASSERT_EQ(h.open(path("TEST.ZU2")), StatusSuccess);
    Bytes r;
    ASSERT_EQ(h.get(OpStepFirst, 0, nullptr, r), StatusSuccess);
    ASSERT_EQ(h.get(OpStepNext, 0, nullptr, r), StatusSuccess);
    EXPECT_EQ(h.get(OpGetNext, 0, nullptr, r), StatusNotARecordFile);
    // The records whose keys agree are still read by key.
    int32_t id = 3;
    EXPECT_EQ(h.get(OpGetEqual, 0, &id, r), StatusSuccess);
    id = 2;
    EXPECT_EQ(h.get(OpGetEqual, 0, &id, r), StatusNotARecordFile);
}

TEST_F(Damage, AFileCutShortIsRefusedAtOpen) {
    Handle h;
    openTestFile(h);
    for (int32_t id = 1; id <= 300; ++id)
        h.insertAll({testRecord(id, std::string(20, 'x'))});
    stop(); // the last close copies the WAL back and removes it
    const std::filesystem::path file = path("TEST.ZU2");
    ASSERT_FALSE(std::filesystem::exists(path("TEST.ZU2-wal")));
    const auto whole = std::filesystem::file_size(file);
    ASSERT_EQ(h.open(file), StatusSuccess);
    ASSERT_EQ(h.close(), StatusSuccess);
    stop();

    std::filesystem::resize_file(file, whole - 100); // inside its last page
    EXPECT_EQ(h.open(file), StatusNotARecordFile);
    std::filesystem::resize_file(file, whole - 4096); // a whole page less than its header counts
    EXPECT_EQ(h.open(file), StatusNotARecordFile);
}

} // namespace
