// The event editor's overview of a meet of 2,000 rounds and 5,000 athletes (40 classes of 25 events in
// two rounds over four days, 20,000 entries), and of ten times that meet, in the same run:
// - filling the overview as the editor does when it opens: every round counted from its result records,
//   laid out, copied into the grid and painted; beside reading the same records through the record files
//   and filling a plain QTableWidget with the same texts (at most 2 times that);
// - the same at ten times the meet (at most 11 times as long as the meet);
// - the whole window opened, beside the same plain table (at most 2 times that);
// - Ctrl+A over the whole schedule of 2,000 rounds with the selection shown (at most 100 ms).
// "--benchmark_min_time=..." gives more runs of each.
#include "foundation/Messages.h"
#include "model/D_Globals.h"
#include "model/D_Ovelser.h"
#include "model/D_Result.h"
#include "model/D_Staevne.h"
#include "storage/BtvTransaction.h"
#include "support/BenchFolder.h"
#include "support/BenchMeet.h"
#include "support/BenchRuns.h"
#include "support/RatioReporter.h"
#include "ui/ovelse/EditOvelse.h"

#include <QApplication>
#include <QDate>
#include <QTableWidget>

#include <benchmark/benchmark.h>

#include <functional>
#include <memory>
#include <string>

namespace {

constexpr int Klasser = 40;
constexpr int Deltagere = 5000;
constexpr int DageIalt = 4;
constexpr int FoersteRundeDeltagere = 12;
constexpr int FinaleDeltagere = 8;
// Start times from 09:00 to 18:00 in steps of five minutes.
constexpr int Tider = 108;
const char* const Ovelser[] = {"60",   "80",   "100",  "200", "300", "400",  "600",  "800",   "1000",
                               "1500", "3000", "5000", "60H", "80H", "100H", "110H", "4X100", "4X400",
                               "HØ",   "ST",   "LÆ",   "TR",  "KU",  "DI",   "SP"};
const char* const Steder[] = {"LØB1", "LØB2", "LØB3", "HØ", "ST", "LÆ", "TR", "KU", "DI", "SP"};

// A program folder with one meet of scale times the classes, athletes and days.
class TMeet {
public:
    explicit TMeet(int scale)
        : scale_(scale) {
        TBenchFolder::Use use(folder_);
        StaevneManager->CreateStaevne(QStringLiteral("Stævne"));
        StaevneManager->SystemData().Dato = QDateToDateTime(QDate(2025, 6, 6));
        Fill();
        OvelseManager->Reload();
        Check(OvelseManager->GetInfoCount() == Rounds(), "every round read");
    }
    TBenchFolder& Folder() { return folder_; }
    int Rounds() const { return Klasser * scale_ * static_cast<int>(std::size(Ovelser)) * 2; }

private:
    void Fill() {
        TBtvTransaction transaction;
        TAfvStedTable steder;
        steder.Open();
        for (int i = 0; i < static_cast<int>(std::size(Steder)); ++i)
            InsertRecord(steder, [&](TAfvStedTable& t) {
                t.GetField(AfvStedField::Sortkode)->SetAsInteger(i + 1);
                t.GetField(AfvStedField::Sted)->SetAsString(QString::fromUtf8(Steder[i]));
            });
        TKlasseTable klasser;
        klasser.Open();
        TOvelseRkTable raekker;
        raekker.Open();
        TOvelseRnTable runder;
        runder.Open();
        TResultatTable resultater;
        resultater.Open();
        int runde = 0;
        int deltager = 0;
        const int starttider = DageIalt * scale_ * Tider;
        for (int k = 0; k < Klasser * scale_; ++k) {
            const QString klasse = QString(QChar(u'A' + k / 100 % 26)) +
                                   QStringLiteral("%1").arg(k % 100, 2, 10, QLatin1Char('0'));
            InsertRecord(klasser, [&](TKlasseTable& t) {
                t.GetField(KlasseField::Sortkode)->SetAsInteger(k + 1);
                t.GetField(KlasseField::Klasse)->SetAsString(klasse);
                t.GetField(KlasseField::Korttekst)->SetAsString(QStringLiteral("Klasse ") + klasse);
            });
            for (int o = 0; o < static_cast<int>(std::size(Ovelser)); ++o) {
                const QString ovelse = QString::fromUtf8(Ovelser[o]);
                InsertRecord(raekker, [&](TOvelseRkTable& t) {
                    t.GetField(OvelseRkField::Klasse)->SetAsString(klasse);
                    t.GetField(OvelseRkField::Ovelse)->SetAsString(ovelse);
                    t.GetField(OvelseRkField::Runder)->SetAsString(QStringLiteral("IF"));
                    t.GetField(OvelseRkField::AntalPrHeat)->SetAsInteger(8);
                });
                const QString sted = o < 18 ? QString::fromUtf8(Steder[k % 3]) : ovelse;
                for (const char* letter : {"", "F"}) {
                    // The final two hours after its first round, on the same day.
                    const int slot = (runde++ * 7919) % starttider;
                    const int day = slot / Tider;
                    const int minutes = 9 * 60 + slot % Tider * 5 + (*letter ? 120 : 0);
                    const TDateTime datoTid =
                        QDateToDateTime(QDate(2025, 6, 6).addDays(day)) + minutes / 1440.0;
                    InsertRecord(runder, [&](TOvelseRnTable& t) {
                        t.GetField(OvelseRnField::Klasse)->SetAsString(klasse);
                        t.GetField(OvelseRnField::Ovelse)->SetAsString(ovelse);
                        t.GetField(OvelseRnField::Runde)->SetAsString(QString::fromLatin1(letter));
                        t.GetField(OvelseRnField::DatoTid)->SetAsFloat(datoTid);
                        t.GetField(OvelseRnField::Sted)->SetAsString(sted);
                        t.GetField(OvelseRnField::AntalPrHeat)->SetAsInteger(8);
                    });
                    const int entries = *letter ? FinaleDeltagere : FoersteRundeDeltagere;
                    for (int e = 0; e < entries; ++e)
                        InsertRecord(resultater, [&](TResultatTable& t) {
                            t.GetField(ResultatField::Klasse)->SetAsString(klasse);
                            t.GetField(ResultatField::Ovelse)->SetAsString(ovelse);
                            t.GetField(ResultatField::Runde)->SetAsString(QString::fromLatin1(letter));
                            t.GetField(ResultatField::Startnummer)
                                ->SetAsInteger(deltager++ % (Deltagere * scale_) + 1);
                            t.GetField(ResultatField::Heat)->SetAsInteger(*letter ? 1 : e / 8 + 1);
                            t.GetField(ResultatField::Resultat)->SetAsInteger(*letter ? 1000 + e : 0);
                        });
                }
            }
        }
        TDeltagerTable deltagere;
        deltagere.Open();
        for (int nr = 1; nr <= Deltagere * scale_; ++nr)
            InsertRecord(deltagere, [&](TDeltagerTable& t) {
                t.GetField(DeltagerField::Startnummer)->SetAsInteger(nr);
                t.GetField(DeltagerField::Navn)->SetAsString(QStringLiteral("Deltager %1").arg(nr));
                t.GetField(DeltagerField::KlubNr)->SetAsInteger(1);
            });
        transaction.Commit();
    }

    TBenchFolder folder_;
    int scale_;
};

std::unique_ptr<TMeet> meet;
std::unique_ptr<TMeet> large;
// The texts of the meet's overview, for the plain table.
std::vector<std::vector<QString>> texts;

TMeet& MeetOf(int scale) {
    return scale == 1 ? *meet : *large;
}

void OpenEditor(benchmark::State& state) {
    TMeet& m = MeetOf(static_cast<int>(state.range(0)));
    const TBenchFolder::Use use(m.Folder());
    for (auto _ : state) {
        TEditOvelseForm form;
        form.show();
        QApplication::processEvents();
        Check(!form.Oversigt().Warnings().size() && form.OversigtGrid->RowCount() > 100,
              "the overview filled");
        state.PauseTiming();
        form.hide();
        state.ResumeTiming();
    }
}

void PlainTable(benchmark::State& state) {
    const TBenchFolder::Use use(meet->Folder());
    for (auto _ : state) {
        // The same records read through the record files: every result of the meet.
        TResultatTable table;
        table.Open();
        qint64 sum = 0;
        for (bool found = table.First(); found; found = table.Next())
            sum += table.GetField(ResultatField::Startnummer)->GetAsInteger() +
                   table.GetField(ResultatField::Heat)->GetAsInteger() +
                   table.GetField(ResultatField::Resultat)->GetAsInteger() +
                   table.GetField(ResultatField::Klasse)->GetAsString().size() +
                   table.GetField(ResultatField::ResultatKode)->GetAsString().size();
        benchmark::DoNotOptimize(sum);
        QTableWidget plain;
        plain.setRowCount(static_cast<int>(texts.size()));
        plain.setColumnCount(static_cast<int>(texts.front().size()));
        for (int row = 0; row < static_cast<int>(texts.size()); ++row)
            for (int col = 0; col < static_cast<int>(texts[row].size()); ++col)
                if (!texts[row][col].isEmpty())
                    plain.setItem(row, col, new QTableWidgetItem(texts[row][col]));
        plain.show();
        QApplication::processEvents();
        state.PauseTiming();
        plain.hide();
        state.ResumeTiming();
    }
}

// The overview filled as the editor fills it when it opens: every round counted from its records (a new
// result manager), the layout made and copied into the grid, and painted.
void FillOverview(benchmark::State& state) {
    TMeet& m = MeetOf(static_cast<int>(state.range(0)));
    const TBenchFolder::Use use(m.Folder());
    TEditOvelseForm form;
    form.show();
    QApplication::processEvents();
    for (auto _ : state) {
        const TResultatManager counted;
        form.FillOversigt();
        QApplication::processEvents();
    }
    Check(form.OversigtGrid->RowCount() > 100, "the overview filled");
}

void SelectAll(benchmark::State& state) {
    const TBenchFolder::Use use(meet->Folder());
    TEditOvelseForm form;
    form.show();
    QApplication::processEvents();
    for (auto _ : state) {
        form.OversigtGrid->SelectAll();
        form.ShowSelection();
        QApplication::processEvents();
        state.PauseTiming();
        Check(static_cast<int>(form.SelectedOvelser().size()) == meet->Rounds(), "every round selected");
        form.OversigtGrid->GotoCell(1, 1, false);
        QApplication::processEvents();
        state.ResumeTiming();
    }
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const TScopedMessagePresenter presenter(std::make_unique<TRecordingPresenter>());
    meet = std::make_unique<TMeet>(1);
    large = std::make_unique<TMeet>(10);
    {
        const TBenchFolder::Use use(meet->Folder());
        TEditOvelseForm form;
        const TOversigt& oversigt = form.Oversigt();
        texts.assign(static_cast<std::size_t>(oversigt.RowCount()),
                     std::vector<QString>(static_cast<std::size_t>(oversigt.ColCount())));
        for (int row = 0; row < oversigt.RowCount(); ++row)
            for (int col = 0; col < oversigt.ColCount(); ++col)
                texts[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)] = oversigt.Text(col, row);
    }
    RegisterRealTime("overview/2000", FillOverview)->Arg(1);
    RegisterRealTime("overview/20000", FillOverview)->Arg(10);
    RegisterRealTime("open editor/2000", OpenEditor)->Arg(1);
    RegisterRealTime("plain table/2000", PlainTable);
    RegisterRealTime("ctrl+a/2000", SelectAll);
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios("baseline (ms)", {{"overview", "overview/2000", "plain table/2000"},
                                           {"ten times", "overview/20000", "overview/2000"},
                                           {"whole window", "open editor/2000", "plain table/2000"}});
    std::printf("(overview: at most 2; ten times the meet: at most 11; whole window: at most 2;\n"
                " ctrl+a of 2,000 rounds: at most 100 ms)\n");
    benchmark::Shutdown();
    large.reset();
    meet.reset();
    return 0;
}
