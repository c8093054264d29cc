// The commands of the result page: save and undo, seeding, qualification and transfer to the next
// round, points, correction, deleting a participant, relay legs, and the meet's club check. Every
// command runs under the one guard and commits the open cell first.
#include "ui/ovelse/EditOvelse.h"

#include "foundation/BusyCursor.h"
#include "foundation/controls/MsgForm.h"
#include "model/D_Globals.h"
#include "model/D_Ovelser.h"
#include "model/D_Result.h"
#include "model/D_Staevne.h"
#include "model/D_Tekster.h"
#include "ui/DialogRunner.h"
#include "ui/ovelse/ResultatKorrektion.h"
#include "ui/ovelse/Seedning.h"
#include "ui/ovelse/StafetNavne.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QTabWidget>
#include <QToolButton>

namespace {

const QString IngenVidere = QStringLiteral("Der er ikke mulighed for videre avancement herfra");
const QString IngenAntalVidere =
    QStringLiteral("Der er ikke angivet et antal til næste runde. Det angives som \"Antal i alt til næste "
                   "runde\" i øvelsens egenskaber (\"Egenskaber\" i øvelses-oversigten)");

// The status panel that says whether the round is seeded, and how often it tells how far the seeding is.
constexpr int SeedetPanel = 5;
constexpr qint64 ProgressInterval = 100;

} // namespace

void TEditOvelseForm::ConnectCommands() {
    const auto on = [this](QAction* action, void (TEditOvelseForm::*work)()) {
        connect(action, &QAction::triggered, this,
                [this, work] { RunCommand([this, work] { (this->*work)(); }); });
    };
    on(GemToolButton, &TEditOvelseForm::GemClick);
    on(FortrydToolButton, &TEditOvelseForm::FortrydClick);
    on(SeedningToolButton, &TEditOvelseForm::SeedningClick);
    on(SeedningMenu, &TEditOvelseForm::SeedningClick);
    on(VidereDel1ToolButton, &TEditOvelseForm::VidereDel1Click);
    on(VidereDel2ToolButton, &TEditOvelseForm::VidereDel2Click);
    on(BeregnPointToolButton, &TEditOvelseForm::BeregnPointClick);
    on(BeregnPointMenu, &TEditOvelseForm::BeregnPointClick);
    on(KorrigerToolButton, &TEditOvelseForm::KorrigerClick);
    on(OvelseEgenskaberToolButton, &TEditOvelseForm::EgenskaberClick);
    on(EgenskaberMenu, &TEditOvelseForm::EgenskaberClick);
    on(ResultatSerieToolButton, &TEditOvelseForm::ResultatSerieClick);
    on(ReadResultatSerieToolButton, &TEditOvelseForm::ReadResultatSerieClick);
    on(SletDeltager, &TEditOvelseForm::SletDeltagerClick);
    on(Stafetnavne, &TEditOvelseForm::StafetnavneClick);
    on(SletOvelseMenu, &TEditOvelseForm::SletOvelseClick);
    on(TilfoejRundeMenu, &TEditOvelseForm::TilfoejRundeClick);
    for (QAction* action : {ErstatDeltager, TilmeldNyDeltager})
        connect(action, &QAction::triggered, this, [this] {
            RunCommand([this] { ShowInformation(this, QStringLiteral("Ikke supporteret")); });
        });
    connect(RedidTest, &QToolButton::clicked, this, [this] { RunCommand([this] { RedidTestClick(); }); });
    ConnectPrints();
}

void TEditOvelseForm::RunCommand(const std::function<void()>& work) {
    Guarded(this, [&] {
        work();
        ShowRoundStatus();
        return true;
    });
    UpdateControls();
}

bool TEditOvelseForm::CommitPage() {
    return PageGrid(PageControl->currentWidget())->CommitCell();
}

void TEditOvelseForm::ShowMessages(const QStringList& messages) {
    QStringList shown = messages;
    shown.removeDuplicates();
    shown.removeAll(QString());
    if (!shown.isEmpty())
        ShowInformation(this, shown.join(QStringLiteral("\r\n")));
}

void TEditOvelseForm::RefillPage() {
    if (PageControl->currentWidget() != OvelsePage)
        return;
    if (serieMode_)
        FillSerieGrid();
    else
        FillOvelseGrid();
}

// ---------------------------------------------------------------- save and undo

void TEditOvelseForm::GemClick() {
    if (CommitPage())
        SaveOvelse();
}

void TEditOvelseForm::FortrydClick() {
    if (!CommitPage())
        return;
    if (manager_->IsModified()) {
        MessageDefaultButton = 1;
        if (!AskConfirm(this, QStringLiteral("Er du sikker på du vil overskrive ændringer")))
            return;
    }
    LoadOvelseGrid();
}

// ---------------------------------------------------------------- seeding

void TEditOvelseForm::SeedningClick() {
    if (!CommitPage())
        return;
    const bool oversigt = PageControl->currentWidget() == OversigtPage;
    TSeedningForm form(this);
    form.ShowRunde(oversigt ? currentOvelse_ : manager_->OvelseInfo());
    if (RunDialog(form) != mrOk)
        return;
    const TSeedningValg valg = form.Valg();
    if (oversigt)
        SeedOversigt(valg);
    else
        SeedResultat(valg);
}

void TEditOvelseForm::SeedOversigt(const TSeedningValg& valg) {
    if (selected_.empty())
        return;
    const TBusyCursor busy;
    const QStringList messages =
        manager_->SeedOvelser(selected_, valg.OvelseStandard ? -1 : valg.MaxPrHeat, valg.HeatMethod,
                              valg.LaneMethod, valg.Banenummerering);
    manager_->Clear();
    // The rounds' counters were refreshed by the writing: their cells follow.
    for (const TOvelseInfo* info : selected_)
        RewriteCell(info);
    ShowSelection();
    ShowMessages(messages);
}

void TEditOvelseForm::SeedResultat(const TSeedningValg& valg) {
    const TOvelseInfo* info = manager_->OvelseInfo();
    qint32 maxPrHeat = valg.MaxPrHeat;
    qint32 heatMethod = valg.HeatMethod;
    qint32 laneMethod = valg.LaneMethod;
    qint32 banenummerering = valg.Banenummerering;
    if (valg.OvelseStandard && info) {
        maxPrHeat = info->GetAntalPrHeat();
        heatMethod = info->GetHeatinddeling() + 1;
        laneMethod = info->GetBanefordeling() + 1;
        banenummerering = info->GetBanenummerering();
    }
    // Spreading the clubs may draw the heats many times over: the seeded panel counts the draws and the
    // window is painted meanwhile, its commands waiting till the seeding is done.
    const TBusyCursor busy;
    QLabel* seedet = StatusBar->findChild<QLabel*>(QStringLiteral("Panel%1").arg(SeedetPanel));
    const QString before = seedet ? seedet->text() : QString();
    QElapsedTimer shown;
    shown.start();
    const auto progress = [seedet, &shown](int done, int total) {
        if (!seedet || shown.elapsed() < ProgressInterval)
            return;
        shown.restart();
        seedet->setText(QStringLiteral("%1 af %2").arg(done).arg(total));
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    };
    const QString message = manager_->SeedOvelse(maxPrHeat, heatMethod, laneMethod, banenummerering,
                                                 valg.AntalForsog, std::nullopt, progress);
    if (seedet)
        seedet->setText(before);
    SortResultater(SortHeatBaneSide);
    if (StaevneManager->SystemData().Redid)
        SaveOvelse();
    FillOvelseGrid();
    ShowMessages({message});
}

// ---------------------------------------------------------------- the next round

QChar TEditOvelseForm::NextRunde() {
    if (!CommitPage())
        return {};
    const TOvelseInfo* info = manager_->OvelseInfo();
    const QChar next = info ? info->GetNextRunde() : QChar();
    if (next.isNull())
        ShowError(this, IngenVidere);
    return next;
}

QChar TEditOvelseForm::SavedForNextRunde() {
    const QChar next = NextRunde();
    return !next.isNull() && SaveOvelse() ? next : QChar();
}

void TEditOvelseForm::VidereDel1Click() {
    const QChar next = NextRunde();
    if (next.isNull())
        return;
    const TOvelseInfo* info = manager_->OvelseInfo();
    const qint32 ialt = info->OvelseRn().GetField(OvelseRnField::AntalVidereIalt)->GetAsInteger();
    // Without a number every code would only be cleared.
    if (ialt <= 0) {
        ShowError(this, IngenAntalVidere);
        return;
    }
    if (!SaveOvelse())
        return;
    const int antal = manager_->CalcVidereKode(next);
    FillOvelseGrid();
    if (antal > ialt)
        ShowInformation(this,
                        QStringLiteral("Der findes ens tider på sidste kvalifikationsplads, og der er derfor "
                                       "udtaget flere end der er plads til i næste runde. Ret manuelt"));
}

void TEditOvelseForm::VidereDel2Click() {
    const QChar next = SavedForNextRunde();
    if (next.isNull())
        return;
    TOvelseInfo* info = manager_->OvelseInfo();
    const QString letter(next);
    if (!AskConfirm(this, QStringLiteral("Flyt alle med viderekode %1 til %2 %3")
                              .arg(letter, info->Ovelse().GetTrimmedString(OvelseField::Korttekst),
                                   GetRundeNavn(letter))))
        return;
    TTransferOutcome outcome = manager_->TransferVidere(next);
    TOvelseInfo* nextInfo =
        OvelseManager->FindOvelseInfo(info->GetKlasseKode(), info->GetOvelseKode(), letter);
    if (outcome == TTransferOutcome::NextRoundHasResults && nextInfo) {
        // Replacing the next round's entries would take its results with them.
        MessageDefaultButton = 1;
        if (!AskConfirm(
                this, QStringLiteral("%1 %2 har allerede %3 resultater. De slettes, hvis deltagerne med "
                                     "viderekode %4 flyttes dertil. Flyt alligevel")
                          .arg(info->Ovelse().GetTrimmedString(OvelseField::Korttekst), GetRundeNavn(letter))
                          .arg(nextInfo->AntalResultater)
                          .arg(letter)))
            return;
        outcome = manager_->TransferVidere(next, true);
    }
    if (outcome == TTransferOutcome::NoneQualified) {
        ShowError(this, QStringLiteral("Der er ingen deltagere med viderekode ") + letter);
        return;
    }
    if (outcome != TTransferOutcome::Written)
        return;
    eventsChanged_ = true;
    PageControl->setCurrentWidget(OversigtPage);
    if (PageControl->currentWidget() != OversigtPage || !nextInfo)
        return;
    // The next round opens for its seeding.
    manager_->CalcOvelseInfo(*nextInfo);
    RewriteCell(nextInfo);
    const std::optional<std::pair<int, int>> cell = oversigt_.Find(nextInfo);
    if (!cell)
        return;
    OversigtGrid->GotoCell(cell->first, cell->second, true);
    ShowSelection();
    OpenOvelsePage();
    if (PageControl->currentWidget() != OvelsePage)
        return;
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (SeedningToolButton->isEnabled())
                RunCommand([this] { SeedningClick(); });
        },
        Qt::QueuedConnection);
}

// ---------------------------------------------------------------- points and correction

void TEditOvelseForm::BeregnPointClick() {
    if (!CommitPage())
        return;
    if (PageControl->currentWidget() == OversigtPage) {
        const TBusyCursor busy;
        const QStringList messages = manager_->CalcPointOvelser(selected_);
        manager_->Clear();
        const TGridRect selection = OversigtGrid->Selection();
        FillOversigt();
        suppress_ = true;
        OversigtGrid->SetSelection(selection);
        suppress_ = false;
        ShowSelection();
        ShowMessages(messages);
        return;
    }
    const QStringList messages = manager_->CalcPoint();
    const TSystemData& meet = StaevneManager->SystemData();
    if (!meet.ECup2007 && (!(meet.DT || meet.VT) || manager_->HasResultat()))
        SortResultater(ResultatSortChoice(manager_->OvelseInfo()));
    FillOvelseGrid();
    ShowMessages(messages);
}

void TEditOvelseForm::KorrigerClick() {
    if (!CommitPage())
        return;
    TResultatKorrektionForm form(this);
    if (RunDialog(form) != mrOk)
        return;
    const qint32 korrektion = form.Value();
    if (korrektion == 0)
        return;
    manager_->AddKorrektion(korrektion);
    RefillPage();
}

// ---------------------------------------------------------------- rows

void TEditOvelseForm::SletDeltagerClick() {
    if (!CommitPage())
        return;
    const int gridRow = OvelseGrid->Row();
    const TResultat* row = RowAt(gridRow);
    if (!row)
        return;
    MessageDefaultButton = 1;
    if (!AskConfirm(this, QStringLiteral("Slet ") + row->Navn))
        return;
    manager_->DeleteResultat(gridRow - OvelseGrid->FixedRows());
    if (manager_->Count() == 0) {
        PageControl->setCurrentWidget(OversigtPage);
        return;
    }
    FillOvelseGrid();
    PostShowSelection();
}

void TEditOvelseForm::StafetnavneClick() {
    if (!CommitPage())
        return;
    const int gridRow = OvelseGrid->Row();
    if (!RowAt(gridRow))
        return;
    TStafetNavneForm form(this);
    if (form.Load(*manager_, gridRow - OvelseGrid->FixedRows()) != mrOk)
        return;
    FillOvelseRow(gridRow);
    PlaceCursor(*OvelseGrid, OvelseGrid->Col(), gridRow);
}

void TEditOvelseForm::RedidTestClick() {
    const QString report = manager_->CheckKlubPrHeat();
    ShowInformation(this, report.isEmpty() ? QStringLiteral("OK") : report);
}
