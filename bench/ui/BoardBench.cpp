// The results board over a meet of 2,000 rounds (40 classes of 25 events in two rounds, every round with
// its entries, results in only a few), and over ten times that meet, in the same run:
// - one tick of the board (the next page or round found, its records read before and after it is loaded,
//   laid out), beside loading the round it shows into a result manager (at most 3 times that);
// - the same tick at ten times the meet (about the same: a tick never walks the meet);
// - ticks of a board naming every round (a tick passes over the rounds without results on their records:
//   a cycle grows with the rounds named, about ten times);
// - a tick after the board file was written anew over an unchanged programme, at both sizes, beside
//   loading the round it shows (at most 3 times that at 20,000 rounds: the programme is not read again);
// - the event manager reading the programme, at both sizes (at most 11 times per tenfold);
// - the board's heap and resident memory after 100, 1,000 and 10,000 page changes, each painted (the
//   later no higher).
// "--benchmark_min_time=..." gives more runs of each.
#include "foundation/Messages.h"
#include "model/D_BoardFil.h"
#include "model/D_Globals.h"
#include "model/D_Ovelser.h"
#include "model/D_Result.h"
#include "model/D_Staevne.h"
#include "storage/BtvTransaction.h"
#include "support/BenchFolder.h"
#include "support/BenchRuns.h"
#include "support/RatioReporter.h"
#include "ui/board/ResultatInfo.h"
#include "ui/board/ResultatInfoPages.h"

#include <QApplication>
#include <QDate>
#include <QFile>
#include <QImage>

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <initializer_list>
#include <memory>
#include <utility>
#include <vector>

namespace {

constexpr int KlasserPrScale = 40;
const char* const Loeb[] = {"40",  "55",   "60",   "80",   "100",  "200",  "300",   "400", "600",
                            "800", "1000", "1500", "2000", "3000", "5000", "10000", "40H", "55H",
                            "60H", "80H",  "100H", "110H", "200H", "300H", "400H"};
constexpr int EntriesPrRunde = 12;
// The rounds with results: the first rounds of the first classes' 100 m and 400 m.
constexpr int KlasserMedResultater = 3;
const char* const OvelserMedResultater[] = {"100", "400"};
constexpr int Resultater = 24;

// A program folder with one meet of scale times the classes, and board 1's file naming the 100 m and
// 400 m of the first six classes (24 rounds, 6 of them with results).
class TMeet {
public:
    explicit TMeet(int scale)
        : klasser_(KlasserPrScale * scale) {
        const TBenchFolder::Use use(folder_);
        StaevneManager->CreateStaevne(QStringLiteral("Stævne"));
        StaevneManager->SystemData().Dato = QDateToDateTime(QDate(2025, 6, 6));
        Fill();
        OvelseManager->Reload();
        Check(OvelseManager->GetInfoCount() == klasser_ * int(std::size(Loeb)) * 2, "every round read");
        std::vector<const TOvelseInfo*> shown;
        for (int k = 0; k < 2 * KlasserMedResultater; ++k)
            for (const char* ovelse : OvelserMedResultater)
                shown.push_back(OvelseManager->FindOvelseInfo(Klasse(k), QString::fromLatin1(ovelse), {}));
        WriteBoardFil(BoardFilNavn(1), shown);
        // Board 2 names every round of the meet.
        std::vector<const TOvelseInfo*> every;
        for (const auto& [key, info] : OvelseManager->TidIndex())
            every.push_back(info);
        WriteBoardFil(BoardFilNavn(2), every);
    }
    TBenchFolder& Folder() { return folder_; }
    static QString Klasse(int k) { return QStringLiteral("K%1").arg(k, 2, 36, QLatin1Char('0')).toUpper(); }

private:
    // A record of the meet with the fields given.
    template <typename Table>
    static void Store(Table& table, std::initializer_list<std::pair<int, TKeyValue>> fields) {
        table.Insert();
        table.GetField(StaevneField::StID)->SetAsInteger(CurrentStID());
        for (const auto& [field, value] : fields)
            table.GetField(field)->AssignValue(value);
        table.Post();
    }

    void Fill() {
        TBtvTransaction transaction;
        TAfvStedTable steder;
        TKlasseTable klasser;
        TOvelseRkTable raekker;
        TOvelseRnTable runder;
        TResultatTable resultater;
        TDeltagerTable deltagere;
        for (TDataTable* table : std::initializer_list<TDataTable*>{&steder, &klasser, &raekker, &runder,
                                                                    &resultater, &deltagere})
            table->Open();
        Store(steder, {{AfvStedField::Sted, QStringLiteral("BANE")}, {AfvStedField::Sortkode, qint64(1)}});
        qint32 startnummer = 0;
        for (int k = 0; k < klasser_; ++k) {
            const QString klasse = Klasse(k);
            Store(klasser, {{KlasseField::Klasse, klasse},
                            {KlasseField::Sortkode, qint64(k + 1)},
                            {KlasseField::Korttekst, QStringLiteral("Klasse ") + klasse}});
            for (int o = 0; o < int(std::size(Loeb)); ++o) {
                const QString ovelse = QString::fromLatin1(Loeb[o]);
                Store(raekker, {{OvelseRkField::Klasse, klasse},
                                {OvelseRkField::Ovelse, ovelse},
                                {OvelseRkField::Runder, QStringLiteral("IF")}});
                const bool medResultater = k < KlasserMedResultater && (ovelse == OvelserMedResultater[0] ||
                                                                        ovelse == OvelserMedResultater[1]);
                for (const QString& runde : {QString(), QStringLiteral("F")}) {
                    const double dag = QDateToDateTime(QDate(2025, 6, 6)) + (k * 25 + o) % 4;
                    Store(runder, {{OvelseRnField::Klasse, klasse},
                                   {OvelseRnField::Ovelse, ovelse},
                                   {OvelseRnField::Runde, runde},
                                   {OvelseRnField::Sted, QStringLiteral("BANE")},
                                   {OvelseRnField::DatoTid, dag + (9 + o % 9 + runde.size() * 2) / 24.0}});
                    const int entries = medResultater && runde.isEmpty() ? Resultater : EntriesPrRunde;
                    for (int e = 0; e < entries; ++e) {
                        ++startnummer;
                        Store(deltagere,
                              {{DeltagerField::Startnummer, qint64(startnummer)},
                               {DeltagerField::Navn, QStringLiteral("Deltager %1").arg(startnummer)}});
                        const bool resultat = medResultater && runde.isEmpty();
                        Store(resultater, {{ResultatField::Klasse, klasse},
                                           {ResultatField::Ovelse, ovelse},
                                           {ResultatField::Runde, runde},
                                           {ResultatField::Startnummer, qint64(startnummer)},
                                           {ResultatField::Resultat, qint64(resultat ? 1100 + e : 0)}});
                    }
                }
            }
        }
        transaction.Commit();
    }

    TBenchFolder folder_;
    int klasser_;
};

std::unique_ptr<TMeet> meet;
std::unique_ptr<TMeet> large;

TMeet& MeetOf(int scale) {
    return scale == 1 ? *meet : *large;
}

// One tick of the board, cycling through every page of the rounds shown.
void Tick(benchmark::State& state) {
    const TBenchFolder::Use use(MeetOf(static_cast<int>(state.range(0))).Folder());
    TBoardPages board(1);
    board.Read(false);
    Check(board.Ovelser().size() == 4 * KlasserMedResultater * 2, "the board's rounds");
    for (auto _ : state) {
        board.Read(true);
        Check(board.Screen().Kind == TBoardScreenKind::Round, "a round shown");
    }
}

// Ticks of a board that names every round of the meet, few of them with results: a round passed over costs
// a look at its records, so a whole cycle grows with the rounds named.
void TickEvery(benchmark::State& state) {
    const TBenchFolder::Use use(MeetOf(static_cast<int>(state.range(0))).Folder());
    TBoardPages board(2);
    board.Read(false);
    for (auto _ : state) {
        board.Read(true);
        Check(board.Screen().Kind == TBoardScreenKind::Round, "a round shown");
    }
}

// A tick after the editor wrote the board file anew over a programme that did not change: the file's
// rounds found in the programme as read.
void Reread(benchmark::State& state) {
    TMeet& shown = MeetOf(static_cast<int>(state.range(0)));
    const TBenchFolder::Use use(shown.Folder());
    TBoardPages board(1);
    board.Read(false);
    const QString path = BoardFilPath(BoardFilNavn(1));
    QFile file(path);
    Check(file.open(QIODevice::ReadOnly), "the board file");
    const QByteArray text = file.readAll();
    file.close();
    for (auto _ : state) {
        state.PauseTiming();
        // The same lines under a new file, as the editor's rename leaves them.
        QFile::remove(path);
        QFile again(path);
        Check(again.open(QIODevice::WriteOnly) && again.write(text) == text.size(), "the board file written");
        again.close();
        state.ResumeTiming();
        board.Read(true);
        Check(board.Item() == 0 && board.Screen().Kind == TBoardScreenKind::Round, "the first round again");
    }
}

// The event manager reading the programme again, the most of a re-read.
void Reload(benchmark::State& state) {
    const TBenchFolder::Use use(MeetOf(static_cast<int>(state.range(0))).Folder());
    for (auto _ : state)
        OvelseManager->Reload();
}

// The round a board shows, loaded into a result manager that exists.
void LoadShown(benchmark::State& state) {
    const TBenchFolder::Use use(meet->Folder());
    TResultatManager manager;
    TOvelseInfo* shown = OvelseManager->FindOvelseInfo(TMeet::Klasse(0), QStringLiteral("100"), {});
    for (auto _ : state) {
        manager.LoadOvelse(shown);
        Check(manager.Count() == Resultater, "the round loaded");
    }
}

// Heap bytes in use and resident bytes.
std::pair<double, double> Memory() {
    const struct mallinfo2 heap = mallinfo2();
    long pages = 0;
    long resident = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(statm);
    }
    return {double(heap.uordblks), double(resident) * double(sysconf(_SC_PAGESIZE))};
}

// The board window stepped and painted page after page.
void MemoryAfterPageChanges() {
    const TBenchFolder::Use use(meet->Folder());
    TResultatInfoForm form(1);
    QImage painted(form.size(), QImage::Format_RGB32);
    std::vector<std::pair<int, std::pair<double, double>>> measured;
    int change = 0;
    for (const int until : {100, 1000, 10000}) {
        for (; change < until; ++change) {
            form.Read();
            form.render(&painted);
        }
        malloc_trim(0);
        measured.emplace_back(until, Memory());
    }
    std::printf("\n%-22s %14s %14s %14s %8s\n", "memory", "after 100", "after 1,000", "after 10,000",
                "ratio");
    const auto line = [&](const char* what, double std::pair<double, double>::*part) {
        std::printf("%-22s %14.0f %14.0f %14.0f %8.3f\n", what, measured[0].second.*part,
                    measured[1].second.*part, measured[2].second.*part,
                    measured[2].second.*part / measured[0].second.*part);
    };
    line("heap in use (bytes)", &std::pair<double, double>::first);
    line("resident (bytes)", &std::pair<double, double>::second);
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const TScopedMessagePresenter presenter(std::make_unique<TRecordingPresenter>());
    meet = std::make_unique<TMeet>(1);
    large = std::make_unique<TMeet>(10);
    const auto add = [](const char* name, void (*work)(benchmark::State&), int scale) {
        RegisterRealTime(name, work)->Arg(scale);
    };
    add("tick/2000", Tick, 1);
    add("tick/20000", Tick, 10);
    add("load shown/2000", LoadShown, 1);
    add("tick every/2000", TickEvery, 1);
    add("tick every/20000", TickEvery, 10);
    add("reread/2000", Reread, 1);
    add("reread/20000", Reread, 10);
    add("reload/2000", Reload, 1);
    add("reload/20000", Reload, 10);
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios("baseline (ms)", {{"tick", "tick/2000", "load shown/2000"},
                                           {"ten times", "tick/20000", "tick/2000"},
                                           {"every named", "tick every/2000", "tick/2000"},
                                           {"every, ten times", "tick every/20000", "tick every/2000"},
                                           {"reread", "reread/2000", "reload/2000"},
                                           {"reread at 20000 / load", "reread/20000", "load shown/2000"},
                                           {"reread, ten times", "reread/20000", "reread/2000"},
                                           {"reload, ten times", "reload/20000", "reload/2000"}});
    std::printf(
        "(tick: at most 3 loads of the round shown; ten times the meet: about 1; a file written anew over\n"
        " an unchanged programme: at most 3 loads at 20000 rounds; reload: at most 11 per tenfold)\n");
    MemoryAfterPageChanges();
    std::printf("(memory after 10,000 page changes: no higher than after 100)\n");
    benchmark::Shutdown();
    large.reset();
    meet.reset();
    return 0;
}
