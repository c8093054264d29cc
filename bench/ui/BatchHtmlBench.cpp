// The batch job "/HTML_RESULTS" as a script runs it every minute, beside writing the same pages' bytes
// straight, in the same run. A team competition of 20 classes, 100 clubs, 5,000 participants and 20,000
// results (10 events a class, 100 results a round), and ten times that meet (50,000 participants, 200,000
// results: 50 events a class, 200 results a round). Three runs of the job on each:
// - every round on one page;
// - "/BY_AGE_GROUP /STANDINGS": a page set per class, each with the club standings of the whole meet;
// - "/ONE_FILE": a page per event of a class (200 and 1,000 pages in one folder);
// - and the club pages, "/HTML_TEAM_RESULTS": a page per club.
// The straight baseline writes the bytes of the pages the job wrote, page by page, into a folder of its
// own. The job's cost must grow with the meet: ten times the meet in at most eleven times the time.
// Each job is also run again over the unchanged meet within the same minute of the clock (the pages'
// footers name the minute): no page may be written again (each keeps its time), and the rerun is timed.
#include "model/D_Context.h"
#include "model/D_Ovelser.h"
#include "model/D_Staevne.h"
#include "model/D_StaevneSystemData.h"
#include "model/D_StdKlasser.h"
#include "storage/BtvTransaction.h"
#include "support/BenchFolder.h"
#include "support/BenchMeet.h"
#include "support/BenchTiming.h"
#include "ui/Kelvo2MainProgJobs.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <set>
#include <utility>
#include <vector>

namespace {

constexpr int Klasser = 20;
constexpr int Klubber = 100;
constexpr int Runs = 3;

struct TSize {
    const char* Name;
    int Ovelser; // events a class
    int PrRunde; // results a round
    int Deltagere;
};
constexpr TSize Meet1{"20,000 results", 10, 100, 5000};
constexpr TSize Meet10{"200,000", 50, 200, 50000};

// A meet in a program folder of its own.
class TMeet {
public:
    explicit TMeet(const TSize& size)
        : size_(size) {
        TBenchFolder::Use use(folder_);
        TStaevneManager& manager = *ModelContext().StaevneManager;
        manager.CreateStaevne(QStringLiteral("Stævne"));
        manager.SystemData().EgenTurnering = true;
        manager.SaveStaevneData();
        MakeProgramme();
        Fill();
        ModelContext().OvelseManager->Reload();
        Check(ModelContext().OvelseManager->GetInfoCount() == Klasser * size_.Ovelser, "the rounds");
    }

    TBenchFolder& Folder() { return folder_; }
    const TSize& Size() const { return size_; }

private:
    // The first events of the catalogue that are run, jumped or thrown by one athlete.
    std::vector<TOvelseElement*> Events() const {
        TOvelseManager& ov = *ModelContext().OvelseManager;
        std::vector<TOvelseElement*> events;
        std::set<QString> codes;
        for (int i = 0; i < ov.OvelseList().GetCount() && static_cast<int>(events.size()) < size_.Ovelser;
             ++i) {
            auto* event = static_cast<TOvelseElement*>(ov.OvelseList().GetElement(i));
            const int type = event->GetOvtype();
            if (type >= 1 && type <= 4 && codes.insert(event->GetTrimmedString(OvelseField::Ovelse)).second)
                events.push_back(event);
        }
        Check(static_cast<int>(events.size()) == size_.Ovelser, "enough events in the catalogue");
        return events;
    }

    void MakeProgramme() {
        TEditOvelsesRaekke raekke;
        std::vector<int> klasser;
        const std::vector<TOvelseElement*> events = Events();
        for (int k = 0; k < Klasser; ++k) {
            klasser.push_back(k);
            for (std::size_t e = 0; e < events.size(); ++e) {
                auto row = ProgrammeRow(k, GetStdKlasseKode(k), *events[e]);
                row->Slot(1).DatoTid = BenchMeetDay() + (8 * 60 + static_cast<int>(e) * 5 + k) / 1440.0;
                raekke.Add(std::move(row));
            }
        }
        ModelContext().OvelseManager->SaveEditOvelsesRaekke(&klasser, raekke);
    }

    void Fill() {
        TBtvTransaction transaction;
        InsertKlubber(Klubber, SetKortNavn);
        InsertDeltagere(size_.Deltagere, Klubber);
        InsertPlacedRounds(size_.Deltagere, [this](const TOvelseInfo&) { return size_.PrRunde; });
        transaction.Commit();
    }

    TSize size_;
    TBenchFolder folder_;
};

struct TPageBytes {
    QString Name;
    QByteArray Bytes;
};

struct TFigure {
    double Job = 1e9;
    double Straight = 1e9;
    double Rerun = 1e9;
    int Rewritten = 0;
    int Pages = 0;
    qint64 Bytes = 0;
};

// The job run on the meet (best of Runs), then the bytes of the pages it wrote written straight.
TFigure Measure(TMeet& meet, const QStringList& arguments) {
    TBenchFolder::Use use(meet.Folder());
    const QDir folder(ModelContext().StaevneManager->GetStaevneDir());
    const auto clear = [&folder] {
        for (const QString& page : folder.entryList({"*.htm"}, QDir::Files))
            QFile::remove(folder.filePath(page));
    };
    // One minute of the clock for the runs, as a script run twice within a minute sees it.
    const TClockScope clock(ModelContext().Now());
    TFigure figure;
    for (int run = 0; run < Runs; ++run) {
        clear();
        figure.Job = std::min(figure.Job, Timed([&] { RunBatchJobs(arguments); }));
    }
    // Again over the unchanged meet: the pages' times show which were written.
    const QDateTime old = QDateTime::currentDateTimeUtc().addDays(-1);
    for (const QString& page : folder.entryList({"*.htm"}, QDir::Files)) {
        QFile file(folder.filePath(page));
        Check(file.open(QIODevice::ReadWrite) && file.setFileTime(old, QFileDevice::FileModificationTime),
              "a page's time set back");
    }
    for (int run = 0; run < Runs; ++run)
        figure.Rerun = std::min(figure.Rerun, Timed([&] { RunBatchJobs(arguments); }));
    for (const QFileInfo& page : folder.entryInfoList({"*.htm"}, QDir::Files))
        figure.Rewritten += page.lastModified().toUTC() != old ? 1 : 0;
    std::vector<TPageBytes> pages;
    for (const QString& page : folder.entryList({"*.htm"}, QDir::Files)) {
        QFile file(folder.filePath(page));
        Check(file.open(QIODevice::ReadOnly), "a page the job wrote");
        pages.push_back({page, file.readAll()});
        figure.Bytes += pages.back().Bytes.size();
    }
    figure.Pages = static_cast<int>(pages.size());
    Check(figure.Pages > 0, "the job's pages");
    clear();
    for (int run = 0; run < Runs; ++run) {
        const QTemporaryDir out;
        figure.Straight = std::min(figure.Straight, Timed([&] {
                                       for (const TPageBytes& page : pages) {
                                           QFile file(out.filePath(page.Name));
                                           Check(file.open(QIODevice::WriteOnly), "a straight page");
                                           Check(file.write(page.Bytes) == page.Bytes.size(), "its bytes");
                                       }
                                   }));
    }
    return figure;
}

} // namespace

int main(int argc, char** argv) {
    const TBenchRunHome home(true);
    QApplication app(argc, argv);

    std::printf("making the meets ...\n");
    TMeet one(Meet1);
    TMeet ten(Meet10);
    const std::vector<std::pair<const char*, QStringList>> jobs = {
        {"/HTML_RESULTS", {"/HTML_RESULTS"}},
        {"/BY_AGE_GROUP /STANDINGS", {"/HTML_RESULTS", "/BY_AGE_GROUP", "/STANDINGS"}},
        {"/ONE_FILE", {"/HTML_RESULTS", "/ONE_FILE"}},
        {"/HTML_TEAM_RESULTS", {"/HTML_TEAM_RESULTS"}},
    };
    std::printf("\n\"/HTML_RESULTS\" of a team competition, best of %d runs (ms)\n", Runs);
    std::printf("%-26s %-15s %7s %10s %10s %10s %8s %10s %10s\n", "job", "meet", "pages", "MB", "job",
                "straight", "ratio", "rerun", "rewritten");
    std::vector<std::pair<TFigure, TFigure>> figures;
    for (const auto& [name, arguments] : jobs) {
        const TFigure small = Measure(one, arguments);
        const TFigure large = Measure(ten, arguments);
        for (const auto& [meet, figure] : {std::pair(&Meet1, small), std::pair(&Meet10, large)})
            std::printf("%-26s %-15s %7d %10.1f %10.1f %10.1f %8.1f %10.1f %10d\n", name, meet->Name,
                        figure.Pages, figure.Bytes / 1e6, figure.Job * 1000, figure.Straight * 1000,
                        figure.Job / figure.Straight, figure.Rerun * 1000, figure.Rewritten);
        figures.emplace_back(small, large);
    }
    std::printf("\n%-40s %8s %8s\n", "ratio", "figure", "limit");
    std::printf("%-40s %8.2f %8.2f\n", "/HTML_RESULTS, 20,000 results (s)", figures[0].first.Job, 1.0);
    for (std::size_t i = 0; i < jobs.size(); ++i)
        std::printf("%-40s %8.2f %8.2f\n", (QByteArray(jobs[i].first) + ", ten times the meet").constData(),
                    figures[i].second.Job / figures[i].first.Job, 11.0);
    for (std::size_t i = 0; i < jobs.size(); ++i)
        std::printf("%-40s %8d %8d\n", (QByteArray(jobs[i].first) + ", pages a rerun rewrote").constData(),
                    figures[i].first.Rewritten + figures[i].second.Rewritten, 0);
    return 0;
}
