// The raw record editor and the registration import, each at two sizes in one run.
// - The editor loading the result file of a meet with 100,000 results and sorting it by start number and
//   by class, against the same on ten times the results: the ratio stays near ten for a linear cost.
// - ".\Deltagere.csv" of 5,000 lines imported into an empty meet, against the same records (clubs,
//   participants, entries) inserted through the club manager; and 50,000 lines against 5,000.
// "--benchmark_min_time=..." gives more runs of each; the tables at the end print the ratios.
#include "foundation/Messages.h"
#include "foundation/controls/Extstrgr.h"
#include "model/D_DBDef.h"
#include "model/D_Globals.h"
#include "model/D_Indlaes.h"
#include "model/D_Klub.h"
#include "model/D_StdKlasser.h"
#include "storage/BtvTransaction.h"
#include "support/BenchFolder.h"
#include "support/BenchMeet.h"
#include "support/BenchRuns.h"
#include "support/RatioReporter.h"
#include "ui/EditTabel.h"

#include <QApplication>
#include <QComboBox>
#include <QDate>

#include <benchmark/benchmark.h>

#include <functional>
#include <map>
#include <memory>
#include <string>

namespace {

// ---------------------------------------------------------------- the raw editor

constexpr int SmallResults = 100'000;
constexpr int LargeResults = 10 * SmallResults;
constexpr int ResultsPerMeet = 20'000;
const char* const Klasser[] = {"M", "K", "D15", "P13", "M40"};
const char* const Ovelser[] = {"100", "200", "LÆ", "HØ", "KU", "1500"};

// A result file of that many records over meets of 20,000 results each, and an editor over it.
class TEditor {
public:
    explicit TEditor(int results) {
        TBenchFolder::Use use(folder_);
        Fill(results);
        form_ = std::make_unique<TEditTabelForm>();
        Choose("GRUPPE");
    }
    TBenchFolder& Folder() { return folder_; }
    TEditTabelForm& Form() { return *form_; }
    void Choose(const char* tabel) { form_->Tabelnavn->setCurrentIndex(form_->Tabelnavn->findText(tabel)); }

private:
    static void Fill(int results) {
        TResultatTable table;
        table.Open();
        TBtvTransaction transaction;
        for (int i = 0; i < results; ++i) {
            table.Insert();
            table.GetField(ResultatField::StID)->SetAsInteger(1 + i / ResultsPerMeet);
            table.GetField(ResultatField::Klasse)->SetAsString(QString::fromLatin1(Klasser[i % 5]));
            table.GetField(ResultatField::Ovelse)->SetAsString(QString::fromUtf8(Ovelser[(i / 5) % 6]));
            table.GetField(ResultatField::Startnummer)->SetAsInteger(1 + (i * 7919) % ResultsPerMeet);
            table.GetField(ResultatField::Heat)->SetAsInteger(1 + i % 12);
            table.GetField(ResultatField::Banenummer)->SetAsInteger(1 + i % 8);
            table.GetField(ResultatField::Seedning)->SetAsInteger(1000 + (i * 31) % 3000);
            table.GetField(ResultatField::Resultat)->SetAsInteger(1000 + (i * 37) % 3000);
            table.GetField(ResultatField::Placering)->SetAsInteger(1 + i % 8);
            table.GetField(ResultatField::Vind)->SetAsInteger(i % 41 - 20);
            table.Post();
        }
        transaction.Commit();
    }

    TBenchFolder folder_;
    std::unique_ptr<TEditTabelForm> form_;
};

std::map<int, std::unique_ptr<TEditor>> editors;

void LoadAndSort(benchmark::State& state) {
    const int results = static_cast<int>(state.range(0));
    TEditor& editor = *editors.at(results);
    TBenchFolder::Use use(editor.Folder());
    TEditTabelForm& form = editor.Form();
    for (auto _ : state) {
        state.PauseTiming();
        editor.Choose("GRUPPE");
        state.ResumeTiming();
        editor.Choose("RESULTAT");
        for (const int fieldNo : {ResultatField::Startnummer, ResultatField::Klasse}) {
            form.Grid->GotoCell(fieldNo + 1, 1, false);
            form.GridDblClick();
        }
    }
    Check(form.Grid->RowCount() == results + 1, "every result shown");
    Check(form.Grid->Cells(ResultatField::Klasse + 1, 1).trimmed() == "D15", "sorted by class");
}

// ---------------------------------------------------------------- the import

constexpr int SmallLines = 5'000;
constexpr int LargeLines = 10 * SmallLines;
constexpr int LinesPerKlub = 40;
const char* const ImportKlasser[] = {"M", "K"};
const char* const ImportOvelser[] = {"100", "LÆ"};

// Two entries a participant: 100 m and long jump, of class M or K.
struct TLine {
    qint32 Startnummer;
    QString Navn;
    QString Klub;
    QString Klasse;
    QString Ovelse;
    qint32 Seedning;
};

TLine LineOf(int i) {
    const bool lobe = i % 2 == 0;
    const qint32 startnummer = i / 2 + 1;
    return {startnummer,
            QStringLiteral("Deltager %1").arg(startnummer),
            QStringLiteral("Klub %1").arg(i / LinesPerKlub + 1),
            startnummer % 2 == 0 ? QStringLiteral("M") : QStringLiteral("K"),
            lobe ? QStringLiteral("100") : QStringLiteral("LÆ"),
            lobe ? 1200 + i % 300 : 500 + i % 250};
}

QStringList FileLines(int lines) {
    QStringList file;
    for (int i = 0; i < lines; ++i) {
        const TLine line = LineOf(i);
        const QString mark = line.Ovelse == u"100" ? QStringLiteral("%1.%2")
                                                         .arg(line.Seedning / 100)
                                                         .arg(line.Seedning % 100, 2, 10, QLatin1Char('0'))
                                                   : QStringLiteral("%1,%2")
                                                         .arg(line.Seedning / 100)
                                                         .arg(line.Seedning % 100, 2, 10, QLatin1Char('0'));
        file << QStringLiteral("%1;%2;1990;%3;%4;%5;%6;%3;;")
                    .arg(line.Startnummer)
                    .arg(line.Navn, line.Klasse,
                         line.Ovelse == u"100" ? QStringLiteral("100m") : QStringLiteral("længde"), mark,
                         line.Klub);
    }
    return file;
}

// The same records through the club manager: a club when its first line comes, a participant on its
// first line, an entry each line.
void InsertThroughManagers(int lines) {
    TKlubManager klubber(AlleKlubber);
    TBtvTransaction transaction;
    qint32 klubNr = 0;
    for (int i = 0; i < lines; ++i) {
        const TLine line = LineOf(i);
        if (i % LinesPerKlub == 0) {
            TKlubElement& klub = klubber.NewKlub();
            klub.GetField(KlubField::Navn)->SetAsString(line.Klub);
            klubNr = klub.GetField(KlubField::KlubNr)->GetAsInteger();
        }
        if (i % 2 == 0) {
            TDeltagerElement& deltager = klubber.GetDeltager(klubber.NewDeltager());
            deltager.GetField(DeltagerField::KlubNr)->SetAsInteger(klubNr);
            deltager.GetField(DeltagerField::Startnummer)->SetAsInteger(line.Startnummer);
            deltager.GetField(DeltagerField::Navn)->SetAsString(line.Navn);
            deltager.GetField(DeltagerField::Aargang)->SetAsInteger(1990);
        }
        TResultatElement& resultat = klubber.GetResultat(klubber.NewResultat());
        resultat.GetField(ResultatField::Klasse)->SetAsString(line.Klasse);
        resultat.GetField(ResultatField::Ovelse)->SetAsString(line.Ovelse);
        resultat.GetField(ResultatField::Runde)->SetAsString(QString());
        resultat.GetField(ResultatField::Startnummer)->SetAsInteger(line.Startnummer);
        resultat.GetField(ResultatField::Seedning)->SetAsInteger(line.Seedning);
    }
    Check(klubber.SaveAll(), "stored");
    transaction.Commit();
}

// A folder whose meets each get the programme of the lines; a new meet for every run.
class TImportFolder {
public:
    TImportFolder() {
        TBenchFolder::Use use(folder_);
        NewMeet();
    }
    TBenchFolder& Folder() { return folder_; }

    // An empty meet with classes M and K, each with 100 m and long jump.
    void NewMeet() {
        StaevneManager->CreateStaevne(QStringLiteral("Stævne %1").arg(++meets_));
        SaveProgramme(ImportKlasser, ImportOvelser);
    }

private:
    TBenchFolder folder_;
    int meets_ = 0;
};

std::unique_ptr<TImportFolder> importFolder;
std::map<int, QStringList> files;

int Stored(const TRecordFileDef& def) {
    TZunoDataTable table(def);
    table.Open();
    int count = 0;
    for (bool found = table.First(); found; found = table.Next())
        ++count;
    return count;
}

// Runs work on the lines, each time in a new meet, and checks that every entry was stored.
void OnNewMeets(benchmark::State& state, const std::function<void(int lines)>& work) {
    const int lines = static_cast<int>(state.range(0));
    TBenchFolder::Use use(importFolder->Folder());
    for (auto _ : state) {
        state.PauseTiming();
        importFolder->NewMeet();
        state.ResumeTiming();
        work(lines);
    }
    Check(Stored(TResultatTable::Def()) == lines, "the entries stored");
}

void Import(benchmark::State& state) {
    OnNewMeets(state, [](int lines) {
        const TIndlaesRapport rapport = ImportDeltagere(files.at(lines));
        Check(rapport.Problemer.isEmpty() && rapport.NyeTilmeldinger == lines, "every line imported");
    });
}

void Managers(benchmark::State& state) {
    OnNewMeets(state, InsertThroughManagers);
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const TScopedMessagePresenter presenter(std::make_unique<TLoggingPresenter>());
    benchmark::Initialize(&argc, argv);

    // Each figure the best of five runs of two: the machine's own noise is what varies between them.
    const auto add = [](const char* figure, void (*work)(benchmark::State&), int size) {
        RegisterRealTime(FigureName(figure, size), work)->Arg(size)->Iterations(2)->Repetitions(5);
    };
    for (const int results : {SmallResults, LargeResults})
        add("raw editor", LoadAndSort, results);
    for (const int lines : {SmallLines, LargeLines}) {
        add("import", Import, lines);
        add("managers", Managers, lines);
        files[lines] = FileLines(lines);
    }

    std::fprintf(stderr, "filling the result files ...\n");
    for (const int results : {SmallResults, LargeResults})
        editors[results] = std::make_unique<TEditor>(results);
    importFolder = std::make_unique<TImportFolder>();

    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios(
        "baseline (ms)",
        {{"raw editor x10", FigureName("raw editor", LargeResults), FigureName("raw editor", SmallResults)},
         {"import x10", FigureName("import", LargeLines), FigureName("import", SmallLines)},
         {"import/managers", FigureName("import", SmallLines), FigureName("managers", SmallLines)},
         {"import/managers", FigureName("import", LargeLines), FigureName("managers", LargeLines)}});
    std::printf("(raw editor x10 and import x10 at most 11 for a linear cost; import/managers at most 3)\n");
    benchmark::Shutdown();
    importFolder.reset();
    editors.clear();
    return 0;
}
