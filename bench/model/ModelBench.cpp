// The model's work on meets of growing size, each figure at two sizes ten times apart in the same run,
// with the ratio of each tenfold step; and a meet's transfer and deletion beside the same rows written,
// read and deleted straight on SQLite (the floor):
// - the programme at 1,000 and 10,000 rounds (10 and 100 classes of the meet's own, 50 events each,
//   two rounds an event): the first save of the rows, a save of the same rows again, opening the meet
//   and building the round descriptions;
// - a meet of 10,000 and 100,000 records (clubs with a purchase and a payment each, participants, results
//   of which every other carries a series) beside another meet of the same size: export, import of what
//   was exported, deletion of the imported meet; the floor inserts, selects and deletes the same rows;
// - start-up of a program folder with 30 and 300 meets, each with its own registry key.
// Every figure runs once a round, all figures in turn, so that a figure and its partner meet the same load
// on the machine; the table at the end gives the median of the rounds ("--rounds=N", 5 by default).
#include "foundation/Messages.h"
#include "model/D_Context.h"
#include "model/D_Globals.h"
#include "model/D_Ovelser.h"
#include "model/D_Staevne.h"
#include "model/D_StaevneTransfer.h"
#include "platform/LittleEndian.h"
#include "storage/BtvTransaction.h"
#include "support/BenchFolder.h"
#include "support/BenchMeet.h"
#include "support/BenchRuns.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFile>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr int Ovelser = 50;
constexpr int RunderPrRaekke = 2;
const char* const Steder[] = {"STADION", "BANE2", "KAST", "SPRING"};

// ---------------------------------------------------------------- program folders

using TFolder = TBenchFolder;

TStaevneManager& Staevner() {
    return *ModelContext().StaevneManager;
}

TOvelseManager& Programme() {
    return *ModelContext().OvelseManager;
}

// ---------------------------------------------------------------- the programme

QString KlasseKode(int k) {
    return QStringLiteral("K%1").arg(k, 2, 10, QLatin1Char('0'));
}

// Classes K00, K01, ... of the meet's own, saved.
void AddKlasser(int klasser) {
    for (int k = 0; k < klasser; ++k) {
        TKlasseElement* klasse = Programme().AddKlasse(KlasseKode(k));
        Check(klasse != nullptr, "class");
        klasse->GetField(KlasseField::Sortkode)->SetAsInteger(k + 1);
        klasse->GetField(KlasseField::Korttekst)->SetAsString(QStringLiteral("Klasse %1").arg(k));
    }
    Check(Programme().Save(), "save classes");
}

// A row per class and event, two rounds a row.
void MakeRows(int klasser, TEditOvelsesRaekke& raekke) {
    TOvelseList& catalogue = Programme().OvelseList();
    Check(catalogue.GetCount() >= Ovelser, "catalogue");
    const double dag = BenchMeetDay();
    for (int k = 0; k < klasser; ++k) {
        for (int e = 0; e < Ovelser; ++e) {
            auto row = ProgrammeRow(NoStdKlasse, KlasseKode(k), *catalogue.GetElement(e));
            row->Runder = QStringLiteral("IF");
            for (int n = 1; n <= RunderPrRaekke; ++n) {
                row->Slot(n).DatoTid = dag + n + (k * Ovelser + e) % 600 / 1440.0;
                row->Slot(n).Sted = QLatin1String(Steder[e % std::size(Steder)]);
            }
            raekke.Add(std::move(row));
        }
    }
}

// A meet with a programme of klasser x 50 events x 2 rounds, saved; the meet is open.
class TProgrammeMeet {
public:
    explicit TProgrammeMeet(int klasser)
        : klasser_(klasser) {
        TFolder::Use use(folder_);
        Staevner().CreateStaevne(QStringLiteral("Stævne"));
        AddKlasser(klasser);
        TEditOvelsesRaekke raekke;
        MakeRows(klasser, raekke);
        Programme().SaveEditOvelsesRaekke(nullptr, raekke);
        Check(Programme().GetInfoCount() == Rounds(), "rounds");
    }
    int Rounds() const { return klasser_ * Ovelser * RunderPrRaekke; }
    TFolder& Folder() { return folder_; }

private:
    TFolder folder_;
    int klasser_;
};

// ---------------------------------------------------------------- a meet of many records

// The current meet's records: records in all, the meet's own record left out.
void FillMeet(int records) {
    const qint32 stID = CurrentStID();
    const int klubber = records / 100;
    const int deltagere = records * 3 / 10;
    const int resultater = records - 3 * klubber - deltagere;
    TKlubkobTable klubkob;
    TBetalingTable betaling;
    TResultatTable resultat;
    OpenTables(klubkob, betaling, resultat);
    TBtvTransaction transaction;
    InsertKlubber(klubber, [](TKlubTable& klub, qint32 nr) {
        klub.GetField(KlubField::Navn)->SetAsString(QStringLiteral("Klub nummer %1").arg(nr));
        klub.GetField(KlubField::Email)->SetAsString(QStringLiteral("klub%1@eksempel.dk").arg(nr));
    });
    for (int k = 1; k <= klubber; ++k) {
        InsertNumbers(klubkob, {{KlubkobField::Klubnr, k}, {KlubkobField::Varenummer, 1 + k % 20}});
        InsertNumbers(betaling, {{BetalingField::Klubnr, k}});
    }
    InsertDeltagere(deltagere, klubber);
    QByteArray serie(4 + 6 * 12, 'x');
    storeLE<qint32>(serie.data(), 6 * 12);
    for (int r = 0; r < resultater; ++r) {
        resultat.Insert();
        resultat.GetField(ResultatField::StID)->SetAsInteger(stID);
        resultat.GetField(ResultatField::Klasse)->SetAsString(KlasseKode(r % 50));
        resultat.GetField(ResultatField::Ovelse)->SetAsString(QStringLiteral("LÆ"));
        resultat.GetField(ResultatField::Startnummer)->SetAsInteger(1 + r % deltagere);
        resultat.GetField(ResultatField::Heat)->SetAsInteger(1 + r % 7);
        resultat.GetField(ResultatField::Resultat)->SetAsInteger(500 + r % 300);
        resultat.Post();
        if (r % 2 == 0)
            resultat.WriteChunk(serie.constData(), static_cast<quint32>(resultat.GetRecordLength()),
                                static_cast<quint32>(serie.size()));
    }
    transaction.Commit();
}

// Answers the import's question with a name of its own.
class TNavnSvar : public TImportStaevneQuestion {
public:
    explicit TNavnSvar(QString navn)
        : navn_(std::move(navn)) {}
    // Asked again, the name is taken: giving up beats asking for ever.
    bool AskStaevneNavn(const TSystemData&, QString& navn) override {
        if (asked_)
            return false;
        asked_ = true;
        navn = navn_;
        return true;
    }

private:
    QString navn_;
    bool asked_ = false;
};

// One record of the meet as it stands in its file: the floor writes the same bytes.
struct TRow {
    QByteArray Data;
    std::vector<QByteArray> Keys;
};

// The rows of the current meet by file, in the order of the transfer file's sections.
std::vector<std::pair<const TRecordFileDef*, std::vector<TRow>>> MeetRows() {
    std::vector<std::pair<const TRecordFileDef*, std::vector<TRow>>> files;
    for (const TRecordFileDef& def : RecordFileDefs()) {
        if (!def.IsStaevneBound())
            continue;
        TZunoDataTable table(def);
        table.Open();
        std::vector<TRow> rows;
        for (bool found = table.First(); found; found = table.Next()) {
            TRow row;
            const char* data = reinterpret_cast<const char*>(table.RecordBuffer()->Current());
            row.Data = QByteArray(data, table.GetRecordLength());
            if (table.VariableLength())
                row.Data += table.ReadVariableData();
            for (const TRecordKeyDef& key : def.Keys) {
                QByteArray bytes;
                for (const int fieldNo : key.FieldNos)
                    bytes += row.Data.mid(FieldOffsetOf(def.Fields, fieldNo),
                                          def.Fields[static_cast<std::size_t>(fieldNo)].Size);
                row.Keys.push_back(bytes);
            }
            rows.push_back(std::move(row));
        }
        files.emplace_back(&def, std::move(rows));
    }
    return files;
}

// The floor: the same rows in plain SQLite tables with as many indexed key columns as the record files
// have, in one database in WAL mode, as the record manager keeps its files.
class TFloor {
public:
    explicit TFloor(const QString& path) {
        for (const char* suffix : {"", "-wal", "-shm"})
            QFile::remove(path + QLatin1String(suffix));
        Check(sqlite3_open(path.toLocal8Bit().constData(), &db_) == SQLITE_OK, "floor open");
        Exec("PRAGMA journal_mode = WAL; PRAGMA synchronous = NORMAL;");
    }
    ~TFloor() { sqlite3_close(db_); }
    TFloor(const TFloor&) = delete;
    TFloor& operator=(const TFloor&) = delete;

    void Create(const std::vector<std::pair<const TRecordFileDef*, std::vector<TRow>>>& files) {
        for (std::size_t f = 0; f < files.size(); ++f) {
            std::string sql = "CREATE TABLE t" + std::to_string(f) + "(rid INTEGER PRIMARY KEY";
            const std::size_t keys = files[f].first->Keys.size();
            for (std::size_t k = 0; k < keys; ++k)
                sql += ", k" + std::to_string(k) + " BLOB";
            sql += ", data BLOB NOT NULL);";
            for (std::size_t k = 0; k < keys; ++k)
                sql += "CREATE INDEX t" + std::to_string(f) + "k" + std::to_string(k) + " ON t" +
                       std::to_string(f) + "(k" + std::to_string(k) + ");";
            Exec(sql.c_str());
        }
    }
    void Insert(const std::vector<std::pair<const TRecordFileDef*, std::vector<TRow>>>& files) {
        Exec("BEGIN");
        for (std::size_t f = 0; f < files.size(); ++f) {
            const std::size_t keys = files[f].first->Keys.size();
            std::string sql = "INSERT INTO t" + std::to_string(f) + "(data";
            for (std::size_t k = 0; k < keys; ++k)
                sql += ", k" + std::to_string(k);
            sql += ") VALUES(?1";
            for (std::size_t k = 0; k < keys; ++k)
                sql += ", ?" + std::to_string(k + 2);
            sql += ")";
            sqlite3_stmt* s = Prepare(sql);
            for (const TRow& row : files[f].second) {
                sqlite3_bind_blob(s, 1, row.Data.constData(), int(row.Data.size()), SQLITE_STATIC);
                for (std::size_t k = 0; k < keys; ++k)
                    sqlite3_bind_blob(s, int(k) + 2, row.Keys[k].constData(), int(row.Keys[k].size()),
                                      SQLITE_STATIC);
                Check(sqlite3_step(s) == SQLITE_DONE, "floor insert");
                sqlite3_reset(s);
            }
            sqlite3_finalize(s);
        }
        Exec("COMMIT");
    }
    // Every row in key-0 order; the bytes read.
    qint64 Select(std::size_t files) {
        qint64 bytes = 0;
        for (std::size_t f = 0; f < files; ++f) {
            sqlite3_stmt* s = Prepare("SELECT rid, data FROM t" + std::to_string(f) + " ORDER BY k0, rid");
            while (sqlite3_step(s) == SQLITE_ROW) {
                buffer_.assign(static_cast<const char*>(sqlite3_column_blob(s, 1)),
                               std::size_t(sqlite3_column_bytes(s, 1)));
                bytes += qint64(buffer_.size());
            }
            sqlite3_finalize(s);
        }
        return bytes;
    }
    // Every row one by one in key-0 order, in one transaction.
    void Delete(std::size_t files) {
        Exec("BEGIN");
        for (std::size_t f = 0; f < files; ++f) {
            std::string table = "t";
            table += std::to_string(f);
            sqlite3_stmt* first = Prepare("SELECT rid FROM " + table + " ORDER BY k0, rid LIMIT 1");
            sqlite3_stmt* remove = Prepare("DELETE FROM " + table + " WHERE rid = ?1");
            while (sqlite3_step(first) == SQLITE_ROW) {
                const sqlite3_int64 rid = sqlite3_column_int64(first, 0);
                sqlite3_reset(first);
                sqlite3_bind_int64(remove, 1, rid);
                Check(sqlite3_step(remove) == SQLITE_DONE, "floor delete");
                sqlite3_reset(remove);
            }
            sqlite3_finalize(first);
            sqlite3_finalize(remove);
        }
        Exec("COMMIT");
    }

private:
    void Exec(const char* sql) { Check(sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) == SQLITE_OK, sql); }
    sqlite3_stmt* Prepare(const std::string& sql) {
        sqlite3_stmt* s = nullptr;
        Check(sqlite3_prepare_v2(db_, sql.c_str(), -1, &s, nullptr) == SQLITE_OK, sql.c_str());
        return s;
    }

    sqlite3* db_ = nullptr;
    std::string buffer_;
};

// A program folder with two meets of records records each; the first is the one moved and deleted.
class TRecordsMeet {
public:
    explicit TRecordsMeet(int records) {
        TFolder::Use use(folder_);
        for (const char* navn : {"Stævne", "Andet"}) {
            Staevner().CreateStaevne(QString::fromUtf8(navn));
            FillMeet(records);
        }
        Staevner().OpenStaevne(0);
        rows_ = MeetRows();
        std::size_t count = 0;
        for (const auto& [def, rows] : rows_)
            count += rows.size();
        Check(count == std::size_t(records) + 1, "records");
    }
    TFolder& Folder() { return folder_; }
    const auto& Rows() const { return rows_; }
    QString File() const { return folder_.Dir() + QStringLiteral("stævne.kip"); }
    QString FloorFile() const { return folder_.Dir() + QStringLiteral("floor.db"); }

private:
    TFolder folder_;
    std::vector<std::pair<const TRecordFileDef*, std::vector<TRow>>> rows_;
};

// A program folder with meets meets.
class TStartFolder {
public:
    explicit TStartFolder(int meets) {
        TFolder::Use use(folder_);
        for (int m = 1; m <= meets; ++m)
            Staevner().CreateStaevne(QStringLiteral("Stævne %1").arg(m));
        Check(Staevner().GetStaevneCount() == meets, "meets");
    }
    TFolder& Folder() { return folder_; }

private:
    TFolder folder_;
};

// ---------------------------------------------------------------- the figures

// Each figure's time of every round, in seconds, by name.
std::map<std::string, std::vector<double>>& Times() {
    static std::map<std::string, std::vector<double>> times;
    return times;
}

double Median(std::vector<double> values) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double MedianOf(const std::string& name) {
    const auto found = Times().find(name);
    return found == Times().end() ? 0 : Median(found->second);
}

std::string Sized(const char* figure, int size) {
    return std::string(figure) + " " + std::to_string(size);
}

// The prepared folders, each made when a figure first needs it.
template <typename Folder>
Folder& Prepared(int size) {
    static std::map<int, std::unique_ptr<Folder>> folders;
    std::unique_ptr<Folder>& folder = folders[size];
    if (!folder)
        folder = std::make_unique<Folder>(size);
    return *folder;
}

// The first save of the rows into a meet that has only its classes.
double ProgrammeSave(int klasser) {
    TFolder folder;
    TFolder::Use use(folder);
    Staevner().CreateStaevne(QStringLiteral("Stævne"));
    AddKlasser(klasser);
    TEditOvelsesRaekke raekke;
    MakeRows(klasser, raekke);
    const double t = Timed([&] { Programme().SaveEditOvelsesRaekke(nullptr, raekke); });
    Check(Programme().GetInfoCount() == klasser * Ovelser * RunderPrRaekke, "saved rounds");
    return t;
}

// The rows as loaded, saved again unchanged.
double ProgrammeResave(TProgrammeMeet& meet) {
    TFolder::Use use(meet.Folder());
    TEditOvelsesRaekke raekke;
    Programme().LoadEditOvelsesRaekke(raekke);
    const double t = Timed([&] { Programme().SaveEditOvelsesRaekke(nullptr, raekke); });
    Check(Programme().GetInfoCount() == meet.Rounds() && !Programme().IsModified(), "re-saved rounds");
    return t;
}

double OpenMeet(TProgrammeMeet& meet) {
    TFolder::Use use(meet.Folder());
    const double t = Timed([] { Staevner().OpenStaevne(0); });
    Check(Programme().GetInfoCount() == meet.Rounds(), "opened rounds");
    return t;
}

double BuildInfos(TProgrammeMeet& meet) {
    TFolder::Use use(meet.Folder());
    const double t = Timed([] { Programme().BuildInfos(); });
    Check(Programme().GetInfoCount() == meet.Rounds(), "described rounds");
    return t;
}

double LoadRows(TProgrammeMeet& meet) {
    TFolder::Use use(meet.Folder());
    TEditOvelsesRaekke raekke;
    const double t = Timed([&] { Programme().LoadEditOvelsesRaekke(raekke); });
    Check(raekke.GetCount() * RunderPrRaekke == meet.Rounds(), "rows");
    return t;
}

double Export(TRecordsMeet& meet) {
    TFolder::Use use(meet.Folder());
    Staevner().OpenStaevne(Staevner().IndexOfStaevneNavn(QStringLiteral("Stævne")));
    return Timed([&] { Staevner().ExportStaevne(meet.File()); });
}

double Import(TRecordsMeet& meet) {
    TFolder::Use use(meet.Folder());
    TNavnSvar svar(QStringLiteral("Importeret"));
    int index = -1;
    const double t = Timed([&] { index = Staevner().ImportStaevne(meet.File(), 0, svar); });
    Check(index >= 0, "imported (is the name \"Importeret\" taken?)");
    return t;
}

// Deletes the meet the import made.
double Delete(TRecordsMeet& meet) {
    TFolder::Use use(meet.Folder());
    const int index = Staevner().IndexOfStaevneNavn(QStringLiteral("Importeret"));
    Check(index >= 0, "imported meet");
    Staevner().OpenStaevne(index);
    const double t = Timed([] { Staevner().DeleteStaevne(); });
    Check(Staevner().GetStaevneCount() == 2, "deleted");
    return t;
}

double FloorInsert(TRecordsMeet& meet) {
    TFloor floor(meet.FloorFile());
    floor.Create(meet.Rows());
    return Timed([&] { floor.Insert(meet.Rows()); });
}

double FloorSelect(TRecordsMeet& meet) {
    TFloor floor(meet.FloorFile());
    floor.Create(meet.Rows());
    floor.Insert(meet.Rows());
    return Timed([&] { floor.Select(meet.Rows().size()); });
}

double FloorDelete(TRecordsMeet& meet) {
    TFloor floor(meet.FloorFile());
    floor.Create(meet.Rows());
    floor.Insert(meet.Rows());
    return Timed([&] { floor.Delete(meet.Rows().size()); });
}

double StartUp(TStartFolder& folder, int meets) {
    TFolder::Use use(folder.Folder());
    const QString dir = ModelContext().ProgramDir;
    const double t = Timed([&] { Check(InitGlobals(dir), "start-up"); });
    Check(Staevner().GetStaevneCount() == meets, "listed meets");
    return t;
}

struct TFigure {
    std::string Name;
    std::function<double()> Work;
};

std::vector<TFigure> Figures() {
    std::vector<TFigure> figures;
    for (const int klasser : {10, 100}) {
        const int rounds = klasser * Ovelser * RunderPrRaekke;
        const auto meet = [klasser]() -> TProgrammeMeet& { return Prepared<TProgrammeMeet>(klasser); };
        figures.push_back({Sized("programme save", rounds), [klasser] { return ProgrammeSave(klasser); }});
        figures.push_back({Sized("programme re-save", rounds), [meet] { return ProgrammeResave(meet()); }});
        figures.push_back({Sized("open meet", rounds), [meet] { return OpenMeet(meet()); }});
        figures.push_back({Sized("round descriptions", rounds), [meet] { return BuildInfos(meet()); }});
        figures.push_back({Sized("programme rows", rounds), [meet] { return LoadRows(meet()); }});
    }
    for (const int records : {10000, 100000}) {
        const auto meet = [records]() -> TRecordsMeet& { return Prepared<TRecordsMeet>(records); };
        figures.push_back({Sized("export", records), [meet] { return Export(meet()); }});
        figures.push_back({Sized("import", records), [meet] { return Import(meet()); }});
        figures.push_back({Sized("delete", records), [meet] { return Delete(meet()); }});
        figures.push_back({Sized("floor insert", records), [meet] { return FloorInsert(meet()); }});
        figures.push_back({Sized("floor select", records), [meet] { return FloorSelect(meet()); }});
        figures.push_back({Sized("floor delete", records), [meet] { return FloorDelete(meet()); }});
    }
    for (const int meets : {30, 300}) {
        figures.push_back(
            {Sized("start-up", meets), [meets] { return StartUp(Prepared<TStartFolder>(meets), meets); }});
    }
    return figures;
}

void PrintTable() {
    std::printf("\nMedians of %zu rounds, in milliseconds\n", Times().begin()->second.size());
    std::printf("%-28s %10s %10s %8s\n", "work", "small", "x10", "ratio");
    const std::pair<const char*, std::pair<int, int>> steps[] = {
        {"programme save", {1000, 10000}}, {"programme re-save", {1000, 10000}},
        {"open meet", {1000, 10000}},      {"round descriptions", {1000, 10000}},
        {"programme rows", {1000, 10000}}, {"export", {10000, 100000}},
        {"import", {10000, 100000}},       {"delete", {10000, 100000}},
        {"floor insert", {10000, 100000}}, {"floor select", {10000, 100000}},
        {"floor delete", {10000, 100000}}, {"start-up", {30, 300}},
    };
    for (const auto& [figure, sizes] : steps) {
        const double small = MedianOf(Sized(figure, sizes.first)) * 1000;
        const double large = MedianOf(Sized(figure, sizes.second)) * 1000;
        std::printf("%-28s %10.2f %10.2f %8.2f\n", figure, small, large, large / small);
    }
    std::printf("\n%-44s %10s %10s %8s\n", "work", "ms", "against", "ratio");
    for (const int records : {10000, 100000}) {
        const double exportImport = MedianOf(Sized("export", records)) + MedianOf(Sized("import", records));
        const double floor =
            MedianOf(Sized("floor insert", records)) + MedianOf(Sized("floor select", records));
        std::printf("%-44s %10.2f %10.2f %8.2f\n",
                    Sized("export + import / floor insert + select", records).c_str(), exportImport * 1000,
                    floor * 1000, exportImport / floor);
        const double del = MedianOf(Sized("delete", records));
        const double import = MedianOf(Sized("import", records));
        std::printf("%-44s %10.2f %10.2f %8.2f\n", Sized("delete / import", records).c_str(), del * 1000,
                    import * 1000, del / import);
        const double floorDelete = MedianOf(Sized("floor delete", records));
        std::printf("%-44s %10.2f %10.2f %8.2f\n", Sized("delete / floor delete", records).c_str(),
                    del * 1000, floorDelete * 1000, del / floorDelete);
    }
}

// "--rounds=N" is the run's own; the rest goes to the benchmark library.
int TakeRounds(int& argc, char** argv) {
    int rounds = 5;
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--rounds=", 9) == 0)
            rounds = std::max(1, std::atoi(argv[i] + 9));
        else
            argv[kept++] = argv[i];
    }
    argc = kept;
    return rounds;
}

} // namespace

int main(int argc, char** argv) {
    const int rounds = TakeRounds(argc, argv);
    QCoreApplication application(argc, argv);
    // Nothing here should ask or tell; whatever does goes to standard error.
    const TScopedMessagePresenter presenter(std::make_unique<TLoggingPresenter>());
    const std::vector<TFigure> figures = Figures();
    for (int round = 0; round < rounds; ++round) {
        for (const TFigure& figure : figures) {
            RegisterOnce(figure.Name, [&figure](benchmark::State& state) {
                TimeGivenEach(state, [&figure] {
                    const double t = figure.Work();
                    Times()[figure.Name].push_back(t);
                    return t;
                });
            });
        }
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    PrintTable();
    benchmark::Shutdown();
    return 0;
}
