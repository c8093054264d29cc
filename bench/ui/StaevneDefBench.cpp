// The meet wizard's event details on programmes of 2,000 and 20,000 rows, every row selected: a change of
// view (the list filled anew and its selection kept), selecting every row, and deleting the selected rows.
// Each figure runs at both sizes in the same run; the table at the end gives each tenfold step's ratio,
// which stays near ten when the cost grows linearly with the rows ("--benchmark_min_time=..." for more
// runs of each).
#include "foundation/Messages.h"
#include "model/D_Ovelser.h"
#include "support/BenchFolder.h"
#include "support/BenchRuns.h"
#include "support/RatioReporter.h"
#include "ui/staevne/StaevneDef.h"

#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QTabWidget>

#include "foundation/controls/Tablist.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

constexpr int Small = 2000;
constexpr int Large = 10 * Small;
constexpr int OvelserPrKlasse = 50;

// A wizard of its own program folder, on the event details with rows of the meet's own classes.
class TWizard {
public:
    explicit TWizard(int rows) {
        TBenchFolder::Use use(folder_);
        form_ = std::make_unique<TStaevneDefForm>();
        form_->SetupNytStaevne();
        form_->Informationer->setCurrentIndex(static_cast<int>(TStaevneDefForm::TVisning::Gebyrer1));
        Refill(rows);
        form_->PageControl->setCurrentWidget(form_->Side3Page);
        Check(form_->OvelserListbox->count() == rows, "rows listed");
    }
    TStaevneDefForm& operator*() { return *form_; }
    TStaevneDefForm* operator->() { return form_.get(); }
    TBenchFolder& Folder() { return folder_; }

    // The rows anew, all selected.
    void Refill(int rows) {
        TEditOvelsesRaekke& raekke = form_->Raekke();
        raekke.Clear();
        for (int i = 0; i < rows; ++i) {
            auto row = std::make_unique<TEditOvelseData>();
            row->KlasseNr = NoStdKlasse;
            row->Klasse = QStringLiteral("K%1").arg(i / OvelserPrKlasse, 3, 10, QLatin1Char('0'));
            row->Ovelse = QStringLiteral("O%1").arg(i % OvelserPrKlasse, 2, 10, QLatin1Char('0'));
            row->OvelseNr = i % OvelserPrKlasse;
            row->Runder = QStringLiteral("IF");
            row->AntalPrHeat = 8;
            raekke.Add(std::move(row));
        }
        form_->FillOvelserListbox();
        form_->OvelserListbox->selectAll();
    }

private:
    TBenchFolder folder_;
    std::unique_ptr<TStaevneDefForm> form_;
};

// The two wizards, made in main and gone before the application object.
std::unique_ptr<TWizard> small;
std::unique_ptr<TWizard> large;

TWizard& WizardOf(int rows) {
    return rows == Small ? *small : *large;
}

void ViewChange(benchmark::State& state) {
    TWizard& wizard = WizardOf(static_cast<int>(state.range(0)));
    TBenchFolder::Use use(wizard.Folder());
    int view = 0;
    for (auto _ : state) {
        view = view == 1 ? 5 : 1;
        wizard->Informationer->setCurrentIndex(view);
    }
    Check(static_cast<int>(wizard->SelectedRows().size()) == state.range(0), "the selection kept");
}

void SelectAll(benchmark::State& state) {
    TWizard& wizard = WizardOf(static_cast<int>(state.range(0)));
    TBenchFolder::Use use(wizard.Folder());
    for (auto _ : state) {
        state.PauseTiming();
        wizard->OvelserListbox->clearSelection();
        state.ResumeTiming();
        wizard->OvelserListbox->selectAll();
    }
    Check(wizard->SletButton->isEnabled(), "the buttons follow the selection");
}

void DeleteSelected(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    TWizard& wizard = WizardOf(rows);
    TBenchFolder::Use use(wizard.Folder());
    for (auto _ : state) {
        state.PauseTiming();
        wizard.Refill(rows);
        state.ResumeTiming();
        wizard->SletButton->click();
        Check(wizard->Raekke().GetCount() == 0, "every row deleted");
    }
    wizard.Refill(rows);
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    // "Slet alle markerede øvelser" answered Ja; nothing else may ask or tell.
    const TScopedMessagePresenter presenter(std::make_unique<TRecordingPresenter>(mrYes));
    const std::pair<const char*, void (*)(benchmark::State&)> figures[] = {
        {"view change", ViewChange}, {"select all", SelectAll}, {"delete selected", DeleteSelected}};
    std::vector<RatioReporter::Ratio> ratios;
    for (const auto& [figure, work] : figures) {
        for (const int rows : {Small, Large})
            RegisterRealTime(FigureName(figure, rows), work)->Arg(rows);
        ratios.push_back({figure, FigureName(figure, Large), FigureName(figure, Small)});
    }
    small = std::make_unique<TWizard>(Small);
    large = std::make_unique<TWizard>(Large);
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios("2,000 rows (ms)", ratios);
    std::printf("(ours: 20,000 rows; each ratio at most 11 for a linear cost)\n");
    benchmark::Shutdown();
    large.reset();
    small.reset();
    return 0;
}
