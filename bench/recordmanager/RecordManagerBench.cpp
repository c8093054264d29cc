// The record manager against the same work done directly on SQLite, in the same run:
// 100,000 records of 100 bytes with two keys (a unique integer, a text with duplicates).
// Every call runs in its own implicit transaction on both sides, as the program's calls do.
// "group": transactions over three files (10 records in each), atomic on both sides: ours with its
// journal, SQLite with the three files attached to one connection in rollback-journal mode, its own way
// of committing several files at once (WAL mode does not).
#include "platform/recordmanager/RecordManager.h"
#include "support/BenchRuns.h"
#include "support/RatioReporter.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <numeric>
#include <random>
#include <string>
#include <vector>

using namespace RecordManager;

namespace {

constexpr int RecordCount = 100000;
constexpr uint16_t RecordLength = 100;
constexpr int NameLength = 20;

std::filesystem::path& folder() {
    static std::filesystem::path path;
    return path;
}

std::array<uint8_t, RecordLength> record(int32_t id) {
    std::array<uint8_t, RecordLength> r{};
    std::memcpy(r.data(), &id, 4);
    std::snprintf(reinterpret_cast<char*>(r.data()) + 4, NameLength, "name%05d", (id * 7919) % 20000);
    std::memset(r.data() + 28, 'x', RecordLength - 28);
    return r;
}

std::vector<int32_t> shuffledIds() {
    std::vector<int32_t> ids(RecordCount);
    std::iota(ids.begin(), ids.end(), 1);
    std::shuffle(ids.begin(), ids.end(), std::mt19937(7));
    return ids;
}

// --- The record manager -------------------------------------------------------------------------

struct Ours {
    std::array<uint8_t, PositionBlockSize> block{};
    std::array<uint8_t, 255> key{};
    std::array<uint8_t, RecordLength> data{};
    uint32_t length = 0;

    explicit Ours(const char* file = "OURS.ZU2") {
        std::vector<uint8_t> stat(StatBufferSize, 0);
        stat[Stat::RecordLength] = RecordLength;
        stat[Stat::KeyCount] = 2;
        auto keySpec = [&](int at, uint16_t position, uint16_t size, uint16_t flags, uint8_t type) {
            uint8_t* s = stat.data() + Stat::KeySpecs + at * KeySpec::Size;
            storeLE<uint16_t>(s + KeySpec::Position, position);
            storeLE<uint16_t>(s + KeySpec::Length, size);
            storeLE<uint16_t>(s + KeySpec::Flags, flags);
            s[KeySpec::ExtendedType] = type;
        };
        keySpec(0, 1, 4, KeySpec::FlagExtendedType, KeySpec::TypeInteger);
        keySpec(1, 5, NameLength, KeySpec::FlagExtendedType | KeySpec::FlagDuplicates, KeySpec::TypeString);
        std::string name = (folder() / file).string();
        length = StatBufferSize;
        Check(BTRCALL(OpCreate, block.data(), stat.data(), &length, name.data(), 255, CreateReplace) == 0,
              "create");
        char owner = 0;
        length = 1;
        Check(BTRCALL(OpOpen, block.data(), &owner, &length, name.data(), 255, OpenNormal) == 0, "open");
    }
    ~Ours() {
        length = 0;
        BTRCALL(OpStop, nullptr, nullptr, &length, nullptr, 0, 0);
    }
    int16_t call(uint16_t op, int8_t keyNumber) {
        length = RecordLength;
        return BTRCALL(op, block.data(), data.data(), &length, key.data(), 255, keyNumber);
    }
    void insert(int32_t id) {
        data = record(id);
        Check(call(OpInsert, 0) == 0, "insert");
    }
    void getEqual(int32_t id) {
        std::memcpy(key.data(), &id, 4);
        Check(call(OpGetEqual, 0) == 0, "get equal");
    }
    void fill() {
        Check(call(OpBeginTransaction, 0) == 0, "begin");
        for (int32_t id = 1; id <= RecordCount; ++id)
            insert(id);
        Check(call(OpEndTransaction, 0) == 0, "end");
    }
};

// --- Plain SQLite -------------------------------------------------------------------------------

struct Plain {
    sqlite3* db = nullptr;
    std::map<std::string, sqlite3_stmt*> statements;
    std::array<uint8_t, RecordLength> data{};

    Plain() {
        const std::string name = (folder() / "plain.db").string();
        for (const char* suffix : {"", "-wal", "-shm"})
            std::filesystem::remove(name + suffix);
        Check(sqlite3_open(name.c_str(), &db) == SQLITE_OK, "sqlite open");
        exec("PRAGMA journal_mode = WAL; PRAGMA synchronous = NORMAL;"
             "CREATE TABLE t(rid INTEGER PRIMARY KEY, id INTEGER NOT NULL, name TEXT NOT NULL, data BLOB NOT "
             "NULL);"
             "CREATE UNIQUE INDEX t_id ON t(id); CREATE INDEX t_name ON t(name);");
    }
    ~Plain() {
        for (auto& [sql, s] : statements)
            sqlite3_finalize(s);
        sqlite3_close(db);
    }
    void exec(const char* sql) { Check(sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK, sql); }
    sqlite3_stmt* statement(const std::string& sql) {
        sqlite3_stmt*& s = statements[sql];
        if (!s)
            Check(sqlite3_prepare_v2(db, sql.c_str(), -1, &s, nullptr) == SQLITE_OK, sql.c_str());
        return s;
    }
    void insert(int32_t id) {
        data = record(id);
        sqlite3_stmt* s = statement("INSERT INTO t(id, name, data) VALUES(?1, ?2, ?3)");
        sqlite3_bind_int(s, 1, id);
        sqlite3_bind_text(s, 2, reinterpret_cast<const char*>(data.data()) + 4, -1, SQLITE_STATIC);
        sqlite3_bind_blob(s, 3, data.data(), RecordLength, SQLITE_STATIC);
        Check(sqlite3_step(s) == SQLITE_DONE, "insert");
        sqlite3_reset(s);
    }
    int64_t getEqual(int32_t id) {
        sqlite3_stmt* s = statement("SELECT rid, data FROM t WHERE id = ?1");
        sqlite3_bind_int(s, 1, id);
        Check(sqlite3_step(s) == SQLITE_ROW, "select");
        const int64_t rid = sqlite3_column_int64(s, 0);
        std::memcpy(data.data(), sqlite3_column_blob(s, 1), RecordLength);
        sqlite3_reset(s);
        return rid;
    }
    void fill() {
        exec("BEGIN");
        for (int32_t id = 1; id <= RecordCount; ++id)
            insert(id);
        exec("COMMIT");
    }
};

// --- The timed work -----------------------------------------------------------------------------

template <typename Side, typename Setup, typename Work>
void timed(benchmark::State& state, Setup setup, Work work) {
    for (auto _ : state) {
        Side side;
        setup(side);
        state.SetIterationTime(Timed([&] { work(side); }));
    }
    state.SetItemsProcessed(state.iterations() * RecordCount);
}

void noSetup(auto&) {}
void fill(auto& side) {
    side.fill();
}

void insertOurs(benchmark::State& state) {
    timed<Ours>(state, noSetup<Ours>, [](Ours& o) {
        for (int32_t id = 1; id <= RecordCount; ++id)
            o.insert(id);
    });
}
void insertPlain(benchmark::State& state) {
    timed<Plain>(state, noSetup<Plain>, [](Plain& p) {
        for (int32_t id = 1; id <= RecordCount; ++id)
            p.insert(id);
    });
}

void getOurs(benchmark::State& state) {
    const auto ids = shuffledIds();
    timed<Ours>(state, fill<Ours>, [&](Ours& o) {
        for (int32_t id : ids)
            o.getEqual(id);
    });
}
void getPlain(benchmark::State& state) {
    const auto ids = shuffledIds();
    timed<Plain>(state, fill<Plain>, [&](Plain& p) {
        for (int32_t id : ids)
            p.getEqual(id);
    });
}

void walkOurs(benchmark::State& state) {
    timed<Ours>(state, fill<Ours>, [](Ours& o) {
        int n = 0;
        for (int16_t s = o.call(OpGetFirst, 1); s == 0; s = o.call(OpGetNext, 1))
            ++n;
        Check(n == RecordCount, "walk");
    });
}
void walkPlain(benchmark::State& state) {
    timed<Plain>(state, fill<Plain>, [](Plain& p) {
        sqlite3_stmt* s = p.statement("SELECT rid, data FROM t ORDER BY name, rid");
        int n = 0;
        while (sqlite3_step(s) == SQLITE_ROW) {
            std::memcpy(p.data.data(), sqlite3_column_blob(s, 1), RecordLength);
            ++n;
        }
        sqlite3_reset(s);
        Check(n == RecordCount, "walk");
    });
}

// Read a record by its key, change a field that is no key, write it back.
void updateOurs(benchmark::State& state) {
    const auto ids = shuffledIds();
    timed<Ours>(state, fill<Ours>, [&](Ours& o) {
        for (int32_t id : ids) {
            o.getEqual(id);
            o.data[40] ^= 1;
            Check(o.call(OpUpdate, 0) == 0, "update");
        }
    });
}
void updatePlain(benchmark::State& state) {
    const auto ids = shuffledIds();
    timed<Plain>(state, fill<Plain>, [&](Plain& p) {
        for (int32_t id : ids) {
            const int64_t rid = p.getEqual(id);
            p.data[40] ^= 1;
            sqlite3_stmt* s = p.statement("UPDATE t SET data = ?1 WHERE rid = ?2");
            sqlite3_bind_blob(s, 1, p.data.data(), RecordLength, SQLITE_STATIC);
            sqlite3_bind_int64(s, 2, rid);
            Check(sqlite3_step(s) == SQLITE_DONE, "update");
            sqlite3_reset(s);
        }
    });
}

void deleteOurs(benchmark::State& state) {
    const auto ids = shuffledIds();
    timed<Ours>(state, fill<Ours>, [&](Ours& o) {
        for (int32_t id : ids) {
            o.getEqual(id);
            Check(o.call(OpDelete, 0) == 0, "delete");
        }
    });
}
void deletePlain(benchmark::State& state) {
    const auto ids = shuffledIds();
    timed<Plain>(state, fill<Plain>, [&](Plain& p) {
        for (int32_t id : ids) {
            sqlite3_stmt* s = p.statement("DELETE FROM t WHERE id = ?1");
            sqlite3_bind_int(s, 1, id);
            Check(sqlite3_step(s) == SQLITE_DONE && sqlite3_changes(p.db) == 1, "delete");
            sqlite3_reset(s);
        }
    });
}

constexpr int GroupTransactions = 300;
constexpr int GroupRecords = 10;

void groupOurs(benchmark::State& state) {
    for (auto _ : state) {
        std::vector<std::unique_ptr<Ours>> files;
        for (const char* name : {"G1.ZU2", "G2.ZU2", "G3.ZU2"})
            files.push_back(std::make_unique<Ours>(name));
        state.SetIterationTime(Timed([&] {
            int32_t id = 0;
            for (int t = 0; t < GroupTransactions; ++t) {
                Check(files[0]->call(OpBeginTransaction, 0) == 0, "begin");
                for (auto& file : files)
                    for (int i = 0; i < GroupRecords; ++i)
                        file->insert(++id);
                Check(files[0]->call(OpEndTransaction, 0) == 0, "end");
            }
        }));
    }
}
void groupPlain(benchmark::State& state) {
    for (auto _ : state) {
        Plain main;
        main.exec("PRAGMA journal_mode = DELETE");
        for (const char* name : {"g2.db", "g3.db"}) {
            const std::string path = (folder() / name).string();
            std::filesystem::remove(path);
            main.exec(("ATTACH '" + path + "' AS " + std::string(name, 2)).c_str());
            main.exec(
                ("CREATE TABLE " + std::string(name, 2) +
                 ".t(rid INTEGER PRIMARY KEY, id INTEGER NOT NULL, name TEXT NOT NULL, data BLOB NOT NULL);"
                 "CREATE UNIQUE INDEX " +
                 std::string(name, 2) + ".t_id ON t(id); CREATE INDEX " + std::string(name, 2) +
                 ".t_name ON t(name);")
                    .c_str());
        }
        state.SetIterationTime(Timed([&] {
            int32_t id = 0;
            for (int t = 0; t < GroupTransactions; ++t) {
                main.exec("BEGIN");
                for (const char* table : {"main.t", "g2.t", "g3.t"}) {
                    for (int i = 0; i < GroupRecords; ++i) {
                        main.data = record(++id);
                        sqlite3_stmt* s = main.statement(std::string("INSERT INTO ") + table +
                                                         "(id, name, data) VALUES(?1, ?2, ?3)");
                        sqlite3_bind_int(s, 1, id);
                        sqlite3_bind_text(s, 2, reinterpret_cast<const char*>(main.data.data()) + 4, -1,
                                          SQLITE_STATIC);
                        sqlite3_bind_blob(s, 3, main.data.data(), RecordLength, SQLITE_STATIC);
                        Check(sqlite3_step(s) == SQLITE_DONE, "insert");
                        sqlite3_reset(s);
                    }
                }
                main.exec("COMMIT");
            }
        }));
    }
}

} // namespace

int main(int argc, char** argv) {
    char templ[] = "/tmp/zuno-rm-bench-XXXXXX";
    Check(mkdtemp(templ) != nullptr, "temporary folder");
    folder() = templ;

    const std::pair<const char*, void (*)(benchmark::State&)> pairs[] = {
        {"insert/recordmanager", insertOurs}, {"insert/sqlite", insertPlain},
        {"get/recordmanager", getOurs},       {"get/sqlite", getPlain},
        {"walk/recordmanager", walkOurs},     {"walk/sqlite", walkPlain},
        {"update/recordmanager", updateOurs}, {"update/sqlite", updatePlain},
        {"delete/recordmanager", deleteOurs}, {"delete/sqlite", deletePlain},
        {"group/recordmanager", groupOurs},   {"group/sqlite", groupPlain},
    };
    // Rounds of every pair, so both sides of a ratio meet the same load on the machine.
    for (int round = 0; round < 3; ++round)
        for (const auto& [name, fn] : pairs)
            RegisterOnce(name, fn);

    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::vector<RatioReporter::Ratio> ratios;
    for (const char* work : {"insert", "get", "walk", "update", "delete", "group"})
        ratios.push_back({work, std::string(work) + "/recordmanager", std::string(work) + "/sqlite"});
    reporter.PrintRatios("sqlite (ms)", ratios);
    benchmark::Shutdown();
    std::filesystem::remove_all(folder());
    return 0;
}
