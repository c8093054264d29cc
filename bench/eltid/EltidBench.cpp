// The timing reader and quick entry against the plain work they cannot do without, in the same run:
// - a poll of a heat's two files when nothing changed, beside two bare stat calls (and, for the record, the
//   same poll handed to the watch's own thread as the window's timer does it);
// - the file list of a folder of 500 result files of which 450 are in the ".files" list, beside a plain
//   listing of the folder's names;
// - reading and matching a 100-line result file (Lynx and Omega) to a heat of 100 runners, the file given
//   a new date before each poll, beside reading the file's bytes and splitting its lines (and the matching
//   of bytes already read, for the record);
// - quick entry with automatic timing on fun runs of 5,000 and 50,000 runners, every runner's start
//   number entered once (logged, looked up, timed, its cell text made): the tenfold run's ratio stays near
//   ten when the cost per Enter does not grow with the runners;
// - the same through the event editor's running page, each start number typed into its box and Enter
//   pressed, until the grid shows the time and stands on the runner.
#include "foundation/Messages.h"
#include "model/D_Context.h"
#include "model/D_Ovelser.h"
#include "model/D_Result.h"
#include "model/D_Staevne.h"
#include "model/D_StdKlasser.h"
#include "storage/BtvTransaction.h"
#include "support/BenchFolder.h"
#include "support/BenchMeet.h"
#include "support/BenchRuns.h"
#include "support/RatioReporter.h"
#include "ui/eltid/Eltid.h"
#include "ui/eltid/QuickEntry.h"
#include "ui/ovelse/EditOvelse.h"
#include "ui/ovelse/EditOvelseLoeb.h"

#include "foundation/controls/EditUtil.h"

#include <QApplication>
#include <QCheckBox>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>

#include <benchmark/benchmark.h>

#include <dirent.h>
#include <sys/stat.h>
#include <sys/time.h>

#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int HeatRunners = 100;
constexpr int FolderFiles = 500;
constexpr int FilesRead = 450;
constexpr int FunRun = 5000;
const char* const Klasser[] = {"M"};
const char* const Ovelser[] = {"100"};

// A meet whose 100 m final holds runners 1..n, all in heat 1, with their participants.
class TMeet {
public:
    explicit TMeet(int runners)
        : runners_(runners) {
        TBenchFolder::Use use(folder_);
        ModelContext().StaevneManager->CreateStaevne(QStringLiteral("Stævne"));
        SaveProgramme(Klasser, Ovelser);
        Fill();
        manager_ = std::make_unique<TResultatManager>();
    }
    ~TMeet() {
        TBenchFolder::Use use(folder_);
        manager_.reset();
    }
    TMeet(const TMeet&) = delete;
    TMeet& operator=(const TMeet&) = delete;

    TBenchFolder& Folder() { return folder_; }
    const QString& Dir() const { return folder_.Dir(); }
    TResultatManager& Manager() { return *manager_; }
    // Needs the meet in use.
    static TOvelseInfo& Round() {
        TOvelseInfo* info = ModelContext().OvelseManager->FindOvelseInfo("M", "100", QString());
        Check(info, "round");
        return *info;
    }
    int Runners() const { return runners_; }

private:
    void Fill() {
        TBtvTransaction transaction;
        TDeltagerTable deltager;
        deltager.Open();
        TResultatTable resultat;
        resultat.Open();
        const TOvelseInfo& round = Round();
        for (qint32 nr = 1; nr <= runners_; ++nr) {
            deltager.Insert();
            deltager.GetField(DeltagerField::StID)->SetAsInteger(CurrentStID());
            deltager.GetField(DeltagerField::Startnummer)->SetAsInteger(nr);
            deltager.GetField(DeltagerField::Navn)->SetAsString(QStringLiteral("Løber Nummer %1").arg(nr));
            deltager.Post();
            NewResultat(resultat, round, nr);
            resultat.GetField(ResultatField::Heat)->SetAsInteger(1);
            resultat.GetField(ResultatField::Banenummer)->SetAsInteger((nr - 1) % 8 + 1);
            resultat.Post();
        }
        transaction.Commit();
    }

    TBenchFolder folder_;
    int runners_;
    std::unique_ptr<TResultatManager> manager_;
};

// Made in main, gone before the application object.
std::unique_ptr<TMeet> heatMeet;
std::unique_ptr<TMeet> funRun;
std::unique_ptr<TMeet> funRunTenfold;

// ---------------------------------------------------------------- the reader's side

QString TimingFolder(const TMeet& meet) {
    return meet.Dir() + QStringLiteral("timing");
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    Check(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size(),
          "write");
}

// A reader of heat 1 whose ".path" names the timing folder.
struct TReader {
    TReader(TMeet& meet, TEltidSystem system)
        : Use(meet.Folder()) {
        meet.Manager().LoadOvelse(&TMeet::Round());
        Heat = std::make_unique<TEltidHeat>(meet.Manager(), 1);
        Reader = MakeEltid(int(system), *Heat, 0);
        QDir().mkpath(TimingFolder(meet));
        WriteBytes(meet.Dir() + Reader->SystemName() + QStringLiteral(".path"), TimingFolder(meet).toUtf8());
        Reader->ReadResultFolder();
    }
    TBenchFolder::Use Use;
    std::unique_ptr<TEltidHeat> Heat;
    std::unique_ptr<TEltid> Reader;
};

// The heat's 100 runners, the last placed first, as the system writes them.
QByteArray LynxFile() {
    QByteArray bytes = "1,1,1,100m Herrer,+1.2 m/s,,,,,,\r\n";
    for (int place = 1; place <= HeatRunners; ++place) {
        const int nr = HeatRunners + 1 - place;
        bytes += QStringLiteral("%1,%2,%3,Løber,Nummer %2,Klub,%4.%5,,0.150\r\n")
                     .arg(place)
                     .arg(nr)
                     .arg((nr - 1) % 8 + 1)
                     .arg(10 + place / 10)
                     .arg(place * 37 % 1000, 3, 10, QChar(u'0'))
                     .toLatin1();
    }
    return bytes;
}

QByteArray OmegaFile() {
    QByteArray bytes =
        "OMEGA\r\nRank La  Bib    Name                     Time\r\n" + QByteArray(50, '-') + "\r\n";
    for (int place = 1; place <= HeatRunners; ++place) {
        const int nr = HeatRunners + 1 - place;
        bytes +=
            QStringLiteral("%1  %2  %3 Løber Nummer %4         %5\r\n")
                .arg(place, 3)
                .arg((nr - 1) % 8 + 1, 2)
                .arg(nr, -6)
                .arg(nr, -4)
                .arg(QStringLiteral("%1.%2").arg(10 + place / 10).arg(place % 100, 2, 10, QChar(u'0')), 8)
                .toLatin1();
    }
    return bytes + "\r\nWind speed : +1.2 m/s\r\n";
}

void PollUnchanged(benchmark::State& state) {
    TReader reader(*heatMeet, TEltidSystem::Alge);
    WriteBytes(TimingFolder(*heatMeet) + "/HEAT.TXT", "1\t1\t1\t\t\t\t\t10.52\r\n");
    WriteBytes(TimingFolder(*heatMeet) + "/HEAT.SAV", "Wind=+1.0\r\n");
    reader.Reader->Choose(QStringLiteral("HEAT"));
    Check(reader.Reader->PollNow() == TEltidPoll::Read, "the first poll reads");
    for (auto _ : state)
        benchmark::DoNotOptimize(reader.Reader->PollNow());
    Check(reader.Reader->PollNow() == TEltidPoll::Unchanged, "nothing read again");
}

void TwoStats(benchmark::State& state) {
    const QByteArray result = QFile::encodeName(TimingFolder(*heatMeet) + "/HEAT.TXT");
    const QByteArray wind = QFile::encodeName(TimingFolder(*heatMeet) + "/HEAT.SAV");
    struct stat st {};
    for (auto _ : state) {
        benchmark::DoNotOptimize(::stat(result.constData(), &st));
        benchmark::DoNotOptimize(::stat(wind.constData(), &st));
    }
}

// The same poll handed to the watch's own thread, as the window's timer does it (for the record).
void PollUnchangedOffThread(benchmark::State& state) {
    TReader reader(*heatMeet, TEltidSystem::Alge);
    reader.Reader->Choose(QStringLiteral("HEAT"));
    Check(reader.Reader->Poll(std::chrono::seconds(10)) == TEltidPoll::Read, "the first poll reads");
    for (auto _ : state)
        benchmark::DoNotOptimize(reader.Reader->Poll(std::chrono::seconds(10)));
}

QString ListingFolder() {
    return heatMeet->Dir() + QStringLiteral("listing");
}

void MakeListingFolder() {
    TBenchFolder::Use use(heatMeet->Folder());
    QDir().mkpath(ListingFolder());
    QByteArray read;
    for (int i = 0; i < FolderFiles; ++i) {
        const QString name = QStringLiteral("R%1").arg(i, 4, 10, QChar(u'0'));
        WriteBytes(ListingFolder() + u'/' + name + QStringLiteral(".LIF"), {});
        if (i < FilesRead)
            read += name.toLatin1() + "\r\n";
    }
    WriteBytes(heatMeet->Dir() + QStringLiteral("Lynx-1.path"), ListingFolder().toUtf8());
    WriteBytes(heatMeet->Dir() + QStringLiteral("Lynx-1.files"), read);
}

void ListFolder(benchmark::State& state) {
    TBenchFolder::Use use(heatMeet->Folder());
    TResultatManager& manager = heatMeet->Manager();
    TEltidHeat heat(manager, 1);
    const std::unique_ptr<TEltid> reader = MakeEltid(int(TEltidSystem::Lynx), heat, 1);
    for (auto _ : state)
        benchmark::DoNotOptimize(reader->GetFileList(false));
    Check(reader->FileList().size() == FolderFiles - FilesRead, "the names not read");
}

void PlainListFolder(benchmark::State& state) {
    const QByteArray folder = QFile::encodeName(ListingFolder());
    for (auto _ : state) {
        QStringList names;
        DIR* dir = opendir(folder.constData());
        while (const dirent* entry = readdir(dir))
            names.append(QString::fromUtf8(entry->d_name));
        closedir(dir);
        benchmark::DoNotOptimize(names);
    }
}

// The file is written once; each round gives it another date, as a timing system writing it anew would.
template <QByteArray (*File)()>
void ReadAndMatch(benchmark::State& state, TEltidSystem system, const char* name) {
    TReader reader(*heatMeet, system);
    const QString path = TimingFolder(*heatMeet) + u'/' + QString::fromLatin1(name);
    WriteBytes(path, File());
    const QByteArray encoded = QFile::encodeName(path);
    reader.Reader->Choose(QFileInfo(name).completeBaseName());
    struct timeval dated[2] = {{1700000000, 0}, {1700000000, 0}};
    for (auto _ : state) {
        state.PauseTiming();
        ++dated[1].tv_usec;
        Check(::utimes(encoded.constData(), dated) == 0, "dated");
        state.ResumeTiming();
        Check(reader.Reader->PollNow() == TEltidPoll::Read, "read");
    }
    Check(reader.Reader->Lines().size() == std::size_t(HeatRunners) && reader.Reader->FejlCount() == 0,
          "every line matched");
}

void MatchInMemory(benchmark::State& state) {
    TReader reader(*heatMeet, TEltidSystem::Lynx);
    TEltidCheck check;
    check.Result = LynxFile();
    for (auto _ : state)
        reader.Reader->Apply(check);
}

void PlainRead(benchmark::State& state, const char* name) {
    const QString path = TimingFolder(*heatMeet) + u'/' + QString::fromLatin1(name);
    for (auto _ : state) {
        QFile file(path);
        Check(file.open(QIODevice::ReadOnly), "open");
        const QList<QByteArray> lines = file.readAll().split('\n');
        benchmark::DoNotOptimize(lines);
    }
}

// ---------------------------------------------------------------- quick entry

// Answers every question "Ja" and keeps nothing.
class TJaPresenter : public TMessagePresenter {
public:
    int Present(QObject*, const TMessageBox&) override { return mrYes; }
};

void QuickEntry(benchmark::State& state) {
    TMeet& meet = state.range(0) == FunRun ? *funRun : *funRunTenfold;
    TBenchFolder::Use use(meet.Folder());
    meet.Manager().LoadOvelser({&TMeet::Round()});
    TQuickEntry entry(meet.Manager());
    Check(entry.Fill(), "the runners listed");
    std::vector<QString> numbers;
    for (int nr = 1; nr <= meet.Runners(); ++nr)
        numbers.push_back(QString::number((nr * 7919) % meet.Runners() + 1));
    const QTime at(10, 15, 3);
    for (auto _ : state) {
        for (const QString& number : numbers) {
            const TQuickStartOutcome outcome = entry.EnterStartnummer(number, at, true);
            benchmark::DoNotOptimize(entry.CellText(outcome.Row, TQuickColumn::Resultat));
        }
        state.PauseTiming();
        for (int row = 0; row + 1 < entry.RowCount(); ++row)
            entry.RowAt(row)->Resultat = 0;
        QFile::remove(TQuickEntry::AutoTidFileName());
        state.ResumeTiming();
    }
}

void QuickEntryPage(benchmark::State& state) {
    TMeet& meet = state.range(0) == FunRun ? *funRun : *funRunTenfold;
    TBenchFolder::Use use(meet.Folder());
    ModelContext().StaevneManager->SystemData().Motionsloeb = true;
    TEditOvelseForm form;
    form.AutoTidRegistrering->setChecked(true);
    TRunningPage& page = form.RunningPage();
    Check(page.Enter({&TMeet::Round()}), "the runners listed");
    std::vector<QString> numbers;
    for (int nr = 1; nr <= meet.Runners(); ++nr)
        numbers.push_back(QString::number((nr * 7919) % meet.Runners() + 1));
    for (auto _ : state) {
        for (const QString& number : numbers) {
            page.QuickStartnummer->setText(number);
            QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
            QApplication::sendEvent(page.QuickStartnummer, &enter);
        }
        state.PauseTiming();
        Check(!page.Entry()->CellText(0, TQuickColumn::Resultat).isEmpty(), "the times taken");
        for (int row = 0; row + 1 < page.Entry()->RowCount(); ++row)
            page.Entry()->RowAt(row)->Resultat = 0;
        QFile::remove(TQuickEntry::AutoTidFileName());
        state.ResumeTiming();
    }
}

} // namespace

int main(int argc, char** argv) {
    const TBenchRunHome home;
    // The running page's window is made, never shown.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const TScopedMessagePresenter presenter(std::make_unique<TJaPresenter>());
    heatMeet = std::make_unique<TMeet>(HeatRunners);
    funRun = std::make_unique<TMeet>(FunRun);
    funRunTenfold = std::make_unique<TMeet>(10 * FunRun);
    MakeListingFolder();

    const auto micro = [](const char* name, auto work) {
        RegisterRealTime(name, work, benchmark::kMicrosecond);
    };
    micro("poll unchanged", PollUnchanged);
    micro("two stats", TwoStats);
    micro("poll unchanged off thread", PollUnchangedOffThread);
    micro("list 500 less 450", ListFolder);
    micro("plain list 500", PlainListFolder);
    micro("read and match Lynx",
          [](benchmark::State& s) { ReadAndMatch<LynxFile>(s, TEltidSystem::Lynx, "H.LIF"); });
    micro("match in memory", MatchInMemory);
    micro("plain read Lynx", [](benchmark::State& s) { PlainRead(s, "H.LIF"); });
    micro("read and match Omega",
          [](benchmark::State& s) { ReadAndMatch<OmegaFile>(s, TEltidSystem::Omega, "H.CL"); });
    micro("plain read Omega", [](benchmark::State& s) { PlainRead(s, "H.CL"); });
    for (const int runners : {FunRun, 10 * FunRun}) {
        RegisterRealTime(FigureName("quick entry", runners), QuickEntry)->Arg(runners);
        RegisterRealTime(FigureName("quick entry page", runners), QuickEntryPage)->Arg(runners);
    }

    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios("baseline", {{"poll", "poll unchanged", "two stats"},
                                      {"list", "list 500 less 450", "plain list 500"},
                                      {"read Lynx", "read and match Lynx", "plain read Lynx"},
                                      {"read Omega", "read and match Omega", "plain read Omega"},
                                      {"quick entry x10", "quick entry/50000", "quick entry/5000"},
                                      {"page x10", "quick entry page/50000", "quick entry page/5000"}});
    std::printf(
        "(limits: poll 3, list 3, read 5, quick entry x10 11, page x10 11; times in the units above)\n");
    benchmark::Shutdown();
    funRunTenfold.reset();
    funRun.reset();
    heatMeet.reset();
    return 0;
}
