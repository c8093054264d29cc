// The event editor's prints: the lists of the loaded or selected rounds with the options of the header's
// check boxes, diplomas on the diploma printer, the standings and summary lists, and the time schedule of
// chosen weekdays. The jobs write; the window only gathers what to print and how.
#include "ui/ovelse/EditOvelse.h"

#include "model/D_Context.h"
#include "model/D_Globals.h"
#include "model/D_Ovelser.h"
#include "model/D_Result.h"
#include "model/D_Staevne.h"
#include "model/D_StaevneSystemData.h"
#include "print/D_UdskriftAfkrydsningsliste.h"
#include "print/D_UdskriftDiplom.h"
#include "print/D_UdskriftDommerliste.h"
#include "print/D_UdskriftKlubKonkurrence.h"
#include "print/D_UdskriftKlubstilling.h"
#include "print/D_UdskriftMedaljeliste.h"
#include "print/D_UdskriftProgramliste.h"
#include "print/D_UdskriftReaktionstider.h"
#include "print/D_UdskriftResultatliste.h"
#include "print/D_UdskriftStartliste.h"
#include "print/D_UdskriftTidsskema.h"
#include "print/PrUtilFormat.h"
#include "storage/DBFieldDate.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QMenu>
#include <QScopeGuard>
#include <QTabWidget>

#include <unordered_set>

namespace {

constexpr int Ugedage = 7;

// The overview's schedule in time order, as the schedule prints take it.
TTidsskemaTabel TidsskemaTabel(const TOversigt& oversigt) {
    TTidsskemaTabel tabel;
    // A team meet's club points are no part of the schedule.
    const int cols = oversigt.FirstPointsColumn() >= 0 ? oversigt.FirstPointsColumn() : oversigt.ColCount();
    for (int col = 0; col < cols; ++col)
        tabel.Headings.append(oversigt.Text(col, 0));
    for (int row = 1; row < oversigt.RoundRowsEnd(); ++row) {
        TTidsskemaRaekke raekke;
        raekke.Label = oversigt.Text(0, row);
        for (int col = 0; col < cols; ++col)
            raekke.Cells.push_back({oversigt.Text(col, row), oversigt.Info(col, row)});
        tabel.Rows.push_back(std::move(raekke));
    }
    return tabel;
}

} // namespace

void TEditOvelseForm::ConnectPrints() {
    const auto on = [this](QAction* action, const std::function<void()>& work) {
        connect(action, &QAction::triggered, this, [this, work] { RunCommand(work); });
    };
    const std::pair<QAction*, TMakeUdskrift> lists[] = {
        {AfkrydsningToolButton, &CreateUdskrift<TAfkrydsningslisteUdskrift>},
        {ProgramListeToolButton, &CreateUdskrift<TProgramlisteUdskrift>},
        {StartlisteToolButton, &CreateUdskrift<TStartlisteUdskrift>},
        {DommerlisteToolButton, &CreateUdskrift<TDommerlisteUdskrift>},
        {ResultatlisteToolButton, &CreateUdskrift<TResultatlisteUdskrift>}};
    const QList<QAction*> popup = UdskrifterMenu->actions();
    for (std::size_t i = 0; i < std::size(lists); ++i) {
        QAction* const button = lists[i].first;
        const TMakeUdskrift make = lists[i].second;
        const bool resultatliste = button == ResultatlisteToolButton;
        const auto work = [this, make, resultatliste] { ListPrintClick(make, resultatliste); };
        on(button, work);
        if (static_cast<qsizetype>(i) < popup.size())
            on(popup[static_cast<qsizetype>(i)], work);
    }
    constexpr int alle = TDiplomUdskrift::Plads1 | TDiplomUdskrift::Plads2 | TDiplomUdskrift::Plads3;
    on(DiplomToolButton, [this] { DiplomClick(alle, false); });
    on(Plads1, [this] { DiplomClick(TDiplomUdskrift::Plads1, false); });
    on(Plads2, [this] { DiplomClick(TDiplomUdskrift::Plads2, false); });
    on(Plads3, [this] { DiplomClick(TDiplomUdskrift::Plads3, false); });
    on(Alle, [this] { DiplomClick(alle, false); });
    on(ValgtDeltager, [this] { DiplomClick(alle, true); });
    on(KlubstillingToolButton, [this] { KlubstillingClick(); });
    on(KlubKonkurrenceToolButton, [this] { KlubKonkurrenceClick(); });
    on(MedaljelisteToolButton, [this] { MedaljelisteClick(); });
    on(ReaktionsTiderToolButton, [this] { ReaktionsTiderClick(); });
    on(TidsskemaToolButton, [this] { TidsskemaClick({1, 2, 3, 4, 5, 6, 7}); });
    for (int day = 1; day <= Ugedage; ++day)
        on(TidsskemaDage[static_cast<std::size_t>(day - 1)], [this, day] { TidsskemaClick({day}); });
    // Screen and printer exclude each other.
    connect(UdskrivTilSkaerm, &QCheckBox::toggled, this, [this](bool checked) {
        if (checked)
            UdskrivTilPrinter->setChecked(false);
    });
    connect(UdskrivTilPrinter, &QCheckBox::toggled, this, [this](bool checked) {
        if (checked)
            UdskrivTilSkaerm->setChecked(false);
    });
}

bool TEditOvelseForm::CommitAndSave() {
    // The typed value goes into the row before the rows are saved, and both before anything prints.
    return CommitPage() && SaveOvelse();
}

void TEditOvelseForm::SetupJob(TUdskrift& job) const {
    job.SetData(manager_.get());
    job.SetUdskrivTilSkaerm(UdskrivTilSkaerm->isChecked());
    job.SetUdskrivTilPrinter(UdskrivTilPrinter->isChecked());
    job.SetUdskrivEnLangSide(UdskrivEnLangSide->isChecked());
    job.HtmlUdskrift = HtmlUdskrift->isChecked();
    job.SideskiftPrKlasse = SideskiftPrKlasse->isChecked();
    job.SideskiftPrTidspunkt = SideskiftPrTidspunkt->isChecked();
    job.SideskiftPrHeat = SideskiftPrHeat->isChecked();
    job.UdskrivTommeOvelser = UdskrivTommeOvelser->isChecked();
    if (auto* resultatliste = dynamic_cast<TResultatlisteUdskrift*>(&job)) {
        const bool hold = StaevneManager->IsHoldTurnering();
        resultatliste->InklusivKlubstilling = hold && InklusivKlubstilling->isChecked();
        resultatliste->InklusivMangekampStilling = !hold && InklusivMangekampStilling->isChecked();
    }
}

void TEditOvelseForm::RunJobTwice(TMakeUdskrift make, const QString& htmlPrefix,
                                  const std::function<void(TUdskrift&)>& run) {
    const std::unique_ptr<TUdskrift> job = make(this);
    SetupJob(*job);
    job->HtmlNamePrefix = htmlPrefix;
    run(*job);
    // A list that exists only on paper has no page to write.
    if (!job->WantsPrint() || !HtmlUdskrift->isChecked() || !job->WritesHtml())
        return;
    const std::unique_ptr<TUdskrift> html = make(this);
    SetupJob(*html);
    html->SetUdskrivTilSkaerm(false);
    html->SetUdskrivTilPrinter(false);
    html->HtmlNamePrefix = htmlPrefix;
    run(*html);
}

void TEditOvelseForm::RunJobOne(TMakeUdskrift make) {
    const TOvelseInfo* info = manager_->OvelseInfo();
    const QString prefix = HTMLNavnPrOvelse->isChecked() && info
                               ? info->GetKlasseOvelseText() + QStringLiteral(" - ")
                               : QString();
    RunJobTwice(make, prefix, [](TUdskrift& job) { job.RunOne(); });
}

void TEditOvelseForm::RunJobList(TMakeUdskrift make) {
    if (selected_.empty())
        return;
    if (selected_.size() == 1) {
        manager_->LoadOvelse(selected_.front());
        RunJobOne(make);
        return;
    }
    const QString prefix =
        HTMLNavnPrOvelse->isChecked()
            ? FormatDateTime(QStringLiteral("yyyymmdd hhnnss"), DateTimeToQDateTime(ModelContext().Now())) +
                  QStringLiteral(" - ")
            : QString();
    const std::vector<TOvelseInfo*> rounds = selected_;
    RunJobTwice(make, prefix, [&rounds](TUdskrift& job) {
        job.HeadingInBody = true;
        job.RunList(rounds);
    });
}

void TEditOvelseForm::ResortPage() {
    if (PageControl->currentWidget() != OvelsePage || serieMode_ || manager_->Count() == 0)
        return;
    SortResultater(SortComboBox->currentIndex());
    FillOvelseGrid();
}

void TEditOvelseForm::ListPrintClick(TMakeUdskrift make, bool resultatliste) {
    if (!CommitAndSave())
        return;
    if (PageControl->currentWidget() == OvelsePage) {
        if (resultatliste)
            SortResultater(ResultatSortChoice(manager_->OvelseInfo()));
        RunJobOne(make);
        ResortPage();
        return;
    }
    // The overview's rounds go through the window's manager, which holds no round there.
    const auto clear = qScopeGuard([this] { manager_->Clear(); });
    RunJobList(make);
}

void TEditOvelseForm::DiplomClick(int places, bool valgtDeltager) {
    if (PageControl->currentWidget() != OvelsePage)
        return;
    // The row's athlete, by start number: saving sorts the rows anew.
    qint32 startnummer = 0;
    if (valgtDeltager) {
        const TResultat* row = RowAt(OvelseGrid->Row());
        if (!row)
            return;
        startnummer = row->Startnummer;
    }
    if (!CommitAndSave())
        return;
    int rowIndex = -1;
    if (valgtDeltager) {
        rowIndex = manager_->IndexOfStartnummer(startnummer);
        if (rowIndex < 0)
            return;
    }
    const TDiplomPrinterScope diplomPrinter;
    TDiplomUdskrift job(this, places, rowIndex);
    SetupJob(job);
    job.RunOne();
}

void TEditOvelseForm::KlubstillingClick() {
    if (!CommitAndSave())
        return;
    ResortPage();
    const QString chosen = KlubKonkurrenceKlasser->currentText().trimmed();
    QStringList klasser;
    if (CurrentSystemData().OstHoldTurnering || !chosen.isEmpty()) {
        klasser.append(chosen);
    } else {
        for (int i = 0; i < KlubKonkurrenceKlasser->count(); ++i)
            if (const QString kode = KlubKonkurrenceKlasser->itemText(i).trimmed(); !kode.isEmpty())
                klasser.append(kode);
    }
    for (const QString& klasse : klasser) {
        TKlubstillingHoldUdskrift job(this);
        SetupJob(job);
        job.KlasseFilter = klasse;
        // One page per class when every class is run, so that none overwrites another.
        job.HtmlNameSuffix = klasser.size() > 1 ? u'_' + klasse : QString();
        job.Run();
    }
    ResortPage();
}

void TEditOvelseForm::KlubKonkurrenceClick() {
    if (!CommitAndSave())
        return;
    std::vector<TOvelseInfo*> rounds;
    std::unordered_set<const TOvelseInfo*> seen;
    for (int row = 1; row < oversigt_.RowCount(); ++row)
        for (int col = 1; col < oversigt_.ColCount(); ++col)
            if (TOvelseInfo* info = oversigt_.Info(col, row); info && seen.insert(info).second)
                rounds.push_back(info);
    if (rounds.empty())
        return;
    TKlubKonkurrenceUdskrift job(this);
    job.SetData(manager_.get());
    job.HtmlUdskrift = HtmlUdskrift->isChecked();
    job.SetUdskrivTilSkaerm(UdskrivTilSkaerm->isChecked());
    job.SetUdskrivTilPrinter(UdskrivTilPrinter->isChecked());
    job.SetUdskrivEnLangSide(UdskrivEnLangSide->isChecked());
    job.Run(rounds);
}

void TEditOvelseForm::MedaljelisteClick() {
    if (!CommitAndSave())
        return;
    TMedaljelisteUdskrift job(this);
    SetupJob(job);
    job.Run();
}

void TEditOvelseForm::ReaktionsTiderClick() {
    if (!CommitAndSave())
        return;
    TReaktionstiderUdskrift job(this);
    SetupJob(job);
    job.Run();
}

void TEditOvelseForm::TidsskemaClick(const std::vector<int>& ugedage) {
    if (!CommitAndSave())
        return;
    // Always the schedule in time order, whatever layout the overview shows now.
    const TOversigt skema = BuildOversigt(
        *OvelseManager, MeetOversigtValg(TOversigtSortering::Tidsskema, 0, VisNulOvelser->isChecked(), false),
        nullptr);
    const bool engelsk = CurrentSystemData().Engelsk;
    std::vector<TTidsskemaDag> dage;
    for (const int ugedag : ugedage)
        dage.push_back(MakeTidsskemaDag(ugedag, engelsk));
    TTidsskemaValg valg;
    valg.UdskrivTilSkaerm = UdskrivTilSkaerm->isChecked();
    valg.UdskrivTilPrinter = UdskrivTilPrinter->isChecked();
    valg.HtmlUdskrift = HtmlUdskrift->isChecked();
    valg.Tidsskema2 = Tidsskema2->isChecked();
    RunTidsskema(TidsskemaTabel(skema), dage, valg, this);
}
