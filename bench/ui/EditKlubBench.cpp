// The clubs dialog. Opening it on a club of 1,000 participants (2,000 entries) in a meet of 20,000
// entries, beside loading the same records through the club manager: the dialog's own work (the club
// list, the rows bound to their records, the texts) should cost at most as much again. Typing with
// auto-tab, which saves the club before each new participant: 10,000 participants should take at most
// eleven times as long as 1,000 (each save writes what changed, not the club); and 1,000 typed into a club
// of 10,000 about as long as into a club of 1,000. "bench_editklub open" measures the opening alone.
#include "foundation/Messages.h"
#include "foundation/controls/Extstrgr.h"
#include "model/D_Globals.h"
#include "model/D_Klub.h"
#include "model/D_StdKlasser.h"
#include "storage/BtvTransaction.h"
#include "support/BenchFolder.h"
#include "support/BenchTiming.h"
#include "ui/klub/EditKlub.h"
#include "ui/klub/EditKlubDeltager.h"

#include <QAction>
#include <QApplication>
#include <QListWidget>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <sched.h>

namespace {

using C = TDeltagerGridRules;

constexpr int KlubDeltagere = 1000;
constexpr int MeetEntries = 20000;
constexpr int DeltagerePrKlub = 100;
constexpr int Runs = 15;

const QStringList Ovelser = {"100", "200", "400", "LÆ", "HØ", "KU"};

// Class M with six events of one round each.
void AddProgramme() {
    TEditOvelsesRaekke raekke;
    for (const QString& kode : Ovelser) {
        auto row = std::make_unique<TEditOvelseData>();
        row->KlasseNr = FindStdKlasse(QStringLiteral("M"));
        row->Klasse = QStringLiteral("M");
        row->Ovelse = kode;
        const TOvelseElement* ovelse = OvelseManager->FindOvelse(kode);
        Check(ovelse != nullptr, "event in the catalogue");
        row->Ovtype = ovelse->GetOvtype();
        row->OvelseNr = ovelse->GetField(OvelseField::Sortkode)->GetAsInteger();
        row->Runder = QStringLiteral("F");
        row->AntalPrHeat = 8;
        for (int n = 1; n <= EditRundeSlots; ++n)
            row->Slot(n).Sted = QStringLiteral("STADION");
        raekke.Add(std::move(row));
    }
    const std::vector<int> klasser{FindStdKlasse(QStringLiteral("M"))};
    Check(OvelseManager->SaveEditOvelsesRaekke(&klasser, raekke), "programme saved");
}

// A meet of the folder's own with its programme, open.
void NewMeet(TBenchFolder& folder) {
    TBenchFolder::Use use(folder);
    StaevneManager->CreateStaevne(QStringLiteral("Bench"));
    AddProgramme();
}

// Clubs with participants numbered from first on, two entries each, straight into the files.
void AddKlubber(const std::vector<std::pair<QString, int>>& klubber, qint32 first) {
    TKlubTable klub;
    TDeltagerTable deltager;
    TResultatTable resultat;
    for (TZunoDataTable* table : std::initializer_list<TZunoDataTable*>{&klub, &deltager, &resultat})
        table->Open();
    const qint32 stID = CurrentStID();
    TBtvTransaction transaction;
    qint32 klubNr = 0;
    if (klub.LastStaevneKey(0))
        klubNr = klub.GetField(KlubField::KlubNr)->GetAsInteger();
    qint32 startnummer = first;
    for (const auto& [navn, deltagere] : klubber) {
        ++klubNr;
        klub.Insert();
        klub.GetField(KlubField::StID)->SetAsInteger(stID);
        klub.GetField(KlubField::KlubNr)->SetAsInteger(klubNr);
        klub.GetField(KlubField::Navn)->SetAsString(navn);
        klub.Post();
        for (int d = 0; d < deltagere; ++d, ++startnummer) {
            deltager.Insert();
            deltager.GetField(DeltagerField::StID)->SetAsInteger(stID);
            deltager.GetField(DeltagerField::Startnummer)->SetAsInteger(startnummer);
            deltager.GetField(DeltagerField::KlubNr)->SetAsInteger(klubNr);
            deltager.GetField(DeltagerField::Navn)
                ->SetAsString(QStringLiteral("Deltager %1").arg(startnummer));
            deltager.Post();
            for (int e = 0; e < 2; ++e) {
                resultat.Insert();
                resultat.GetField(ResultatField::StID)->SetAsInteger(stID);
                resultat.GetField(ResultatField::Klasse)->SetAsString(QStringLiteral("M"));
                resultat.GetField(ResultatField::Ovelse)
                    ->SetAsString(Ovelser[(startnummer + 3 * e) % Ovelser.size()]);
                resultat.GetField(ResultatField::Startnummer)->SetAsInteger(startnummer);
                resultat.Post();
            }
        }
    }
    transaction.Commit();
}

void Key(int key) {
    QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(key));
}

void Type(const QString& text) {
    if (!text.isEmpty())
        QTest::keyClicks(QApplication::focusWidget(), text);
    Key(Qt::Key_Return);
}

// The dialog open on the club at position, shown and active, the auto-tab tool down, the cursor on a new
// last row.
std::unique_ptr<TEditKlubForm> OpenOn(int position) {
    auto form = std::make_unique<TEditKlubForm>();
    form->KlubberListbox->setCurrentRow(position);
    form->show();
    form->activateWindow();
    for (int i = 0; i < 50 && QApplication::activeWindow() != form.get(); ++i)
        QApplication::processEvents();
    form->TabulatorTool->trigger();
    TExtStringGrid& grid = *form->DeltagerGrid;
    grid.setFocus();
    QApplication::processEvents();
    grid.GotoCell(C::StartnummerCol, grid.RowCount() - 1, true);
    if (!grid.IsRowEmpty(grid.RowCount() - 1))
        Key(Qt::Key_Down);
    QApplication::processEvents();
    return form;
}

// Types participants with one entry each, auto-tab giving each the next number after the first.
void TypeDeltagere(TEditKlubForm& form, int count, qint32 first) {
    TExtStringGrid& grid = *form.DeltagerGrid;
    grid.GotoCell(C::StartnummerCol, grid.Row(), true);
    Type(QString::number(first));
    for (int n = 0; n < count; ++n) {
        Check(grid.Col() == C::NavnCol, "a new participant's name");
        for (const QString& text :
             {QStringLiteral("Ny %1").arg(n), QStringLiteral("2001"), QStringLiteral("M"),
              Ovelser[n % Ovelser.size()], QStringLiteral("12,34"), QString(), QString()})
            Type(text);
        if (n + 1 < count) {
            Type({});
            QApplication::processEvents();
        }
    }
    form.GemKlubTool->trigger();
}

// The managers' load of the first club; seconds.
double LoadKlub() {
    std::unique_ptr<TKlubManager> alle;
    const double seconds = Timed([&] {
        alle = std::make_unique<TKlubManager>(AlleKlubber);
        alle->SelectKlub(alle->GetKlub(0), DeltagerField::Navn);
    });
    Check(alle->ResultatList().GetCount() == 2 * KlubDeltagere, "the club's entries loaded");
    return seconds;
}

// The dialog opened on the first club until it has drawn itself; seconds.
double OpenKlub() {
    std::unique_ptr<TEditKlubForm> form;
    const double seconds = Timed([&] {
        form = std::make_unique<TEditKlubForm>();
        form->show();
        QApplication::processEvents();
    });
    Check(form->DeltagerGrid->RowCount() == 2 * KlubDeltagere + 1, "a row per entry");
    return seconds;
}

} // namespace

int main(int argc, char** argv) {
    // On one processor: the dialog's side computes while the managers' side mostly waits on files, and
    // a busy machine would otherwise weigh on the two unevenly.
    cpu_set_t one;
    CPU_ZERO(&one);
    CPU_SET(sched_getcpu(), &one);
    sched_setaffinity(0, sizeof(one), &one);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    auto recorder = std::make_unique<TRecordingPresenter>();
    TRecordingPresenter& shown = *recorder;
    const TScopedMessagePresenter presenter(std::move(recorder));

    // ---- Opening on a club of 1,000 in a meet of 20,000 entries
    TBenchFolder meet;
    NewMeet(meet);
    double opening = 0;
    double managers = 0;
    {
        TBenchFolder::Use use(meet);
        std::vector<std::pair<QString, int>> klubber{{QStringLiteral("Aarhus"), KlubDeltagere}};
        for (int k = 1; k <= (MeetEntries / 2 - KlubDeltagere) / DeltagerePrKlub; ++k)
            klubber.emplace_back(QStringLiteral("Klub %1").arg(k, 3, 10, QLatin1Char('0')), DeltagerePrKlub);
        AddKlubber(klubber, 1);
        // Each side up to where its records are loaded and shown; freeing them is not counted. The two
        // take turns, so that the machine's load falls on both alike; the best run of each counts.
        managers = opening = 1e30;
        for (int run = 0; run < Runs; ++run) {
            managers = std::min(managers, LoadKlub());
            opening = std::min(opening, OpenKlub());
        }
    }

    if (argc > 1 && QByteArray(argv[1]) == "open") {
        std::printf("open %.1f ms, managers %.1f ms, ratio %.2f\n", 1000 * opening, 1000 * managers,
                    opening / managers);
        return 0;
    }

    // ---- Typing with auto-tab
    const auto typing = [](int count, int filled) {
        TBenchFolder folder;
        NewMeet(folder);
        TBenchFolder::Use use(folder);
        AddKlubber({{QStringLiteral("Fyldt"), filled}, {QStringLiteral("Tom"), 0}}, 1);
        const int position = filled > 0 ? 0 : 1;
        auto form = OpenOn(position);
        const double seconds = Timed([&] { TypeDeltagere(*form, count, 500001); });
        TKlubManager klub(filled > 0 ? 1 : 2);
        Check(klub.DeltagerList().GetCount() == count + filled, "every participant typed is stored");
        return seconds;
    };
    const double typed1 = typing(1000, 0);
    const double typed10 = typing(10000, 0);
    const double into1 = typing(1000, 1000);
    const double into10 = typing(1000, 10000);
    Check(shown.Shown().empty(), "nothing refused or failed");

    std::printf("%-44s %10s %10s %8s\n", "work", "ours (ms)", "base (ms)", "ratio");
    std::printf("%-44s %10.1f %10.1f %8.2f  (at most 2)\n", "open on 1,000 of 20,000 / managers' load",
                1000 * opening, 1000 * managers, opening / managers);
    std::printf("%-44s %10.1f %10.1f %8.2f  (at most 11)\n", "type 10,000 / type 1,000 participants",
                1000 * typed10, 1000 * typed1, typed10 / typed1);
    std::printf("%-44s %10.1f %10.1f %8.2f  (about 1)\n", "type 1,000 into 10,000 / into 1,000",
                1000 * into10, 1000 * into1, into10 / into1);
    return 0;
}
