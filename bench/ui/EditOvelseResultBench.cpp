// The event editor's result page on a round of 1,000 runners in 125 heats (50 clubs), and of 10,000, in
// the same run:
// - saving after one mark was changed, as the editor saves (the rows placed and written, sorted by heat
//   and result, the grid filled anew), beside writing and sorting the same rows through the result
//   manager alone (at most 3 times that); the same at ten times the rows, for the record;
// - seeding the round by draw with the clubs spread over the heats (the meet option Redid) and the seeding
//   dialog's default retries, beside one draw: the ratio is quoted (seeding runs on the window thread).
// "--benchmark_min_time=..." gives more runs of each.
#include "foundation/Messages.h"
#include "model/D_Globals.h"
#include "model/D_Ovelser.h"
#include "model/D_Result.h"
#include "model/D_Staevne.h"
#include "model/D_StaevneSystemData.h"
#include "storage/BtvTransaction.h"
#include "support/BenchFolder.h"
#include "support/BenchMeet.h"
#include "support/BenchRuns.h"
#include "support/RatioReporter.h"
#include "ui/ovelse/EditOvelse.h"
#include "ui/ovelse/Seedning.h"

#include <QApplication>
#include <QDate>

#include <benchmark/benchmark.h>

#include <functional>
#include <memory>

namespace {

constexpr int Klubber = 50;
constexpr int PrHeat = 8;

// A meet with one round of 100 m for rows runners, seeded in heats of 8 with times.
class TRound {
public:
    explicit TRound(int rows)
        : rows_(rows) {
        TBenchFolder::Use use(folder_);
        StaevneManager->CreateStaevne(QStringLiteral("Stævne"));
        StaevneManager->SystemData().Dato = QDateToDateTime(QDate(2025, 6, 6));
        Fill();
        OvelseManager->Reload();
        Check(Info() != nullptr, "the round read");
    }
    TBenchFolder& Folder() { return folder_; }
    TOvelseInfo* Info() const { return OvelseManager->FindOvelseInfo("M", "100", ""); }
    int Rows() const { return rows_; }

private:
    void Fill() {
        TBtvTransaction transaction;
        TAfvStedTable steder;
        steder.Open();
        InsertRecord(steder, [](TAfvStedTable& t) { t.GetField(AfvStedField::Sted)->SetAsString("LØB"); });
        TKlasseTable klasser;
        klasser.Open();
        InsertRecord(klasser, [](TKlasseTable& t) { t.GetField(KlasseField::Klasse)->SetAsString("M"); });
        TOvelseRkTable raekker;
        raekker.Open();
        InsertRecord(raekker, [](TOvelseRkTable& t) {
            t.GetField(OvelseRkField::Klasse)->SetAsString("M");
            t.GetField(OvelseRkField::Ovelse)->SetAsString("100");
            t.GetField(OvelseRkField::Runder)->SetAsString("F");
        });
        TOvelseRnTable runder;
        runder.Open();
        InsertRecord(runder, [](TOvelseRnTable& t) {
            t.GetField(OvelseRnField::Klasse)->SetAsString("M");
            t.GetField(OvelseRnField::Ovelse)->SetAsString("100");
            t.GetField(OvelseRnField::Sted)->SetAsString("LØB");
            t.GetField(OvelseRnField::DatoTid)->SetAsFloat(QDateToDateTime(QDate(2025, 6, 6)) + 0.5);
            t.GetField(OvelseRnField::AntalPrHeat)->SetAsInteger(PrHeat);
        });
        TKlubTable klubber;
        klubber.Open();
        for (int k = 1; k <= Klubber; ++k)
            InsertRecord(klubber, [k](TKlubTable& t) {
                t.GetField(KlubField::KlubNr)->SetAsInteger(k);
                t.GetField(KlubField::Navn)->SetAsString(QStringLiteral("Klub %1").arg(k));
            });
        TDeltagerTable deltagere;
        deltagere.Open();
        TResultatTable resultater;
        resultater.Open();
        for (int nr = 1; nr <= rows_; ++nr) {
            InsertRecord(deltagere, [nr](TDeltagerTable& t) {
                t.GetField(DeltagerField::Startnummer)->SetAsInteger(nr);
                t.GetField(DeltagerField::Navn)->SetAsString(QStringLiteral("Løber %1").arg(nr));
                t.GetField(DeltagerField::KlubNr)->SetAsInteger(nr % Klubber + 1);
            });
            InsertRecord(resultater, [nr](TResultatTable& t) {
                t.GetField(ResultatField::Klasse)->SetAsString("M");
                t.GetField(ResultatField::Ovelse)->SetAsString("100");
                t.GetField(ResultatField::Startnummer)->SetAsInteger(nr);
                t.GetField(ResultatField::Heat)->SetAsInteger((nr - 1) / PrHeat + 1);
                t.GetField(ResultatField::Banenummer)->SetAsInteger((nr - 1) % PrHeat + 1);
                t.GetField(ResultatField::Seedning)->SetAsInteger(1000 + nr % 97);
                t.GetField(ResultatField::Resultat)->SetAsInteger(1000 + (nr * 37) % 400);
            });
        }
        transaction.Commit();
    }

    TBenchFolder folder_;
    int rows_;
};

std::unique_ptr<TRound> round1000;
std::unique_ptr<TRound> round10000;

TRound& RoundOf(int rows) {
    return rows == 1000 ? *round1000 : *round10000;
}

// One runner's mark moved to and fro: each save has a change to write and a place to move.
qint32 Moved(int iteration) {
    return iteration % 2 == 0 ? 999 : 1450;
}

void EditorSave(benchmark::State& state) {
    TRound& r = RoundOf(static_cast<int>(state.range(0)));
    const TBenchFolder::Use use(r.Folder());
    TEditOvelseForm form;
    form.show();
    QApplication::processEvents();
    const auto cell = form.Oversigt().Find(r.Info());
    Check(cell.has_value(), "the round in the overview");
    form.OversigtGrid->GotoCell(cell->first, cell->second, true);
    form.ShowSelection();
    form.OpenOvelsePage();
    QApplication::processEvents();
    Check(form.Manager().Count() == r.Rows(), "the round loaded");
    int iteration = 0;
    for (auto _ : state) {
        TResultat& row = *form.Manager().GetResultat(form.Manager().IndexOfStartnummer(r.Rows() / 2));
        row.SetResultat(Moved(iteration++));
        Check(form.SaveOvelse(), "saved");
        QApplication::processEvents();
    }
    Check(!form.Manager().IsModified(), "everything written");
    form.PageControl->setCurrentWidget(form.OversigtPage);
}

// The same rows written and sorted through the result manager alone.
void ManagerSave(benchmark::State& state) {
    TRound& r = RoundOf(static_cast<int>(state.range(0)));
    const TBenchFolder::Use use(r.Folder());
    TResultatManager manager;
    manager.LoadOvelse(r.Info());
    int iteration = 0;
    for (auto _ : state) {
        TResultat& row = *manager.GetResultat(manager.IndexOfStartnummer(r.Rows() / 2));
        row.SetResultat(Moved(iteration++));
        manager.SaveResultater();
        manager.SortHeatResultat();
    }
}

void Seed(benchmark::State& state, qint32 retries) {
    const TBenchFolder::Use use(round1000->Folder());
    StaevneManager->SystemData().Redid = true;
    TResultatManager manager;
    manager.LoadOvelse(round1000->Info());
    std::size_t reported = 0;
    for (auto _ : state) {
        const QString message = manager.SeedOvelse(PrHeat, qint32(THeatMethod::Lodtraekning),
                                                   qint32(TLaneMethod::Lodtraekning), 0, retries);
        reported += message.isEmpty() ? 0 : 1;
    }
    state.counters["crowded"] = double(reported) / double(state.iterations());
    StaevneManager->SystemData().Redid = false;
}

void SeedRetries(benchmark::State& state) {
    Seed(state, TSeedningForm::DefaultAntalForsog);
}

void SeedOnce(benchmark::State& state) {
    Seed(state, 1);
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const TScopedMessagePresenter presenter(std::make_unique<TRecordingPresenter>());
    round1000 = std::make_unique<TRound>(1000);
    round10000 = std::make_unique<TRound>(10000);
    for (const int rows : {1000, 10000}) {
        RegisterRealTime(FigureName("editor save", rows), EditorSave)->Arg(rows);
        RegisterRealTime(FigureName("write+sort", rows), ManagerSave)->Arg(rows);
    }
    RegisterRealTime("seed retries/1000", SeedRetries);
    RegisterRealTime("seed once/1000", SeedOnce);
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios("baseline (ms)", {{"save", "editor save/1000", "write+sort/1000"},
                                           {"save, 10x rows", "editor save/10000", "write+sort/10000"},
                                           {"ten times", "editor save/10000", "editor save/1000"},
                                           {"seed, retries", "seed retries/1000", "seed once/1000"}});
    std::printf("(save: at most 3 times writing and sorting alone; seeding with retries: quoted)\n");
    benchmark::Shutdown();
    round10000.reset();
    round1000.reset();
    return 0;
}
