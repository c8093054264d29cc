// The event editor's pages: what entering and leaving each does, saving the loaded rows, and closing.
// Changes are never dropped on the way: leaving a page saves, closing asks, and a save that fails keeps
// the page and the window as they were.
#include "ui/ovelse/EditOvelse.h"

#include "foundation/BusyCursor.h"
#include "foundation/controls/MsgForm.h"
#include "model/D_Globals.h"
#include "model/D_Ovelser.h"
#include "model/D_Result.h"
#include "ui/ovelse/EditOvelseLoeb.h"

#include <QComboBox>
#include <QSignalBlocker>
#include <QTabWidget>

int TEditOvelseForm::ResultatSortChoice(const TOvelseInfo* info) {
    const bool heat = !info || info->OvelseRn().GetField(OvelseRnField::ResType)->GetAsInteger() == 0;
    return heat ? SortHeatResultat : SortResultatHeat;
}

void TEditOvelseForm::SetTabVisible(QWidget* page, bool visible) {
    const int index = PageControl->indexOf(page);
    if (PageControl->isTabVisible(index) != visible)
        PageControl->setTabVisible(index, visible);
}

TExtStringGrid* TEditOvelseForm::PageGrid(QWidget* page) const {
    if (page == OvelsePage)
        return serieMode_ ? SerieGrid : OvelseGrid;
    if (page == LobeResultatPage)
        return LobeResultatGrid;
    return OversigtGrid;
}

void TEditOvelseForm::PageChanged(int index) {
    if (suppress_)
        return;
    QWidget* const to = PageControl->widget(index);
    QWidget* const from = previousPage_;
    if (to == from)
        return;
    bool left = false;
    const std::optional<QString> failure = FailureOf([&] { left = LeavePage(from); });
    if (!left) {
        // The page stays, as it was.
        suppress_ = true;
        PageControl->setCurrentWidget(from);
        suppress_ = false;
        if (failure)
            ShowErrorLater(this, *failure);
        UpdateControls();
        return;
    }
    previousPage_ = to;
    EnterPage(to, from);
    UpdateControls();
}

bool TEditOvelseForm::LeavePage(QWidget* page) {
    if (page == OversigtPage)
        return OversigtGrid->CommitCell();
    if (page == OvelsePage && serieMode_)
        return false;
    if (!PageGrid(page)->CommitCell() || !AskSaveOvelse(false))
        return false;
    if (page == LobeResultatPage)
        runningPage_->Leave(selected_, [this](TOvelseInfo& round) { RewriteCell(&round); });
    if (page == OvelsePage) {
        RewriteCell(currentOvelse_);
        suppress_ = true;
        OvelseGrid->hide();
        OvelseGrid->ClearRows();
        OvelseGrid->SetRowCount(OvelseGrid->FixedRows() + 1);
        suppress_ = false;
    }
    return true;
}

void TEditOvelseForm::EnterPage(QWidget* page, QWidget* from) {
    if (page == OvelsePage) {
        LoadOvelseGrid();
        SetTabVisible(LobeResultatPage, false);
        return;
    }
    if (page == LobeResultatPage) {
        runningPage_->Enter(selected_);
        SetTabVisible(OvelsePage, false);
        return;
    }
    // Back on the overview: the rounds re-indexed when the programme changed, and the overview anew so
    // that no number of the saved rows is stale; the selection as it was.
    if (eventsChanged_) {
        OvelseManager->Reindex();
        eventsChanged_ = false;
    }
    const TGridRect selection = OversigtGrid->Selection();
    const int cols = OversigtGrid->ColCount();
    const int rows = OversigtGrid->RowCount();
    FillOversigt();
    if (from != OversigtPage && cols == OversigtGrid->ColCount() && rows == OversigtGrid->RowCount()) {
        suppress_ = true;
        OversigtGrid->SetSelection(selection);
        suppress_ = false;
    }
    ShowSelection();
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (OversigtGrid->isVisible() && OversigtGrid->isEnabled())
                OversigtGrid->setFocus();
        },
        Qt::QueuedConnection);
}

void TEditOvelseForm::LoadOvelseGrid() {
    OvelseGrid->hide();
    if (selected_.size() > 1)
        manager_->LoadOvelser(selected_);
    else
        manager_->LoadOvelse(selected_.empty() ? currentOvelse_ : selected_.front());
    if (manager_->Count() == 0)
        return;
    int choice = 0;
    if (manager_->HasResultat())
        choice = ResultatSortChoice(manager_->OvelseInfo());
    else if (manager_->HasHeat())
        choice = SortHeatBaneSide;
    SortResultater(choice);
    BuildOvelseColumns();
    suppress_ = true;
    OvelseGrid->GotoCell(FirstLayoutCol, OvelseGrid->FixedRows(), false);
    suppress_ = false;
    FillOvelseGrid();
    OvelseGrid->show();
    OvelseGrid->setFocus();
    PlaceCursor(*OvelseGrid, FirstLayoutCol, OvelseGrid->FixedRows());
}

void TEditOvelseForm::SortResultater(int choice) {
    using TSort = void (TResultatManager::*)();
    static constexpr TSort Sorts[SortChoiceCount] = {
        &TResultatManager::SortStartnummer,     &TResultatManager::SortNavn,
        &TResultatManager::SortSeedning,        &TResultatManager::SortHeatSeedning,
        &TResultatManager::SortHeatBaneSide,    &TResultatManager::SortHeatResultat,
        &TResultatManager::SortResultatHeat,    &TResultatManager::SortKlubSeedning,
        &TResultatManager::SortKlubResultat,    &TResultatManager::SortHeatStartnummer,
        &TResultatManager::SortRankHoldkode,    &TResultatManager::SortPoints,
        &TResultatManager::SortHeatKlubSeedning};
    choice = std::clamp(choice, 0, SortChoiceCount - 1);
    {
        const QSignalBlocker blocker(SortComboBox);
        SortComboBox->setCurrentIndex(choice);
    }
    (manager_.get()->*Sorts[choice])();
}

void TEditOvelseForm::BeregnPointOvelse() {
    const QStringList messages = manager_->CalcPoint();
    if (!messages.isEmpty())
        QMetaObject::invokeMethod(
            this, [this, messages] { ShowInformation(this, messages.join(QStringLiteral("\r\n"))); },
            Qt::QueuedConnection);
}

bool TEditOvelseForm::SaveOvelse() {
    if (SpeakerMode || !manager_->IsModified() || manager_->Count() == 0)
        return true;
    const TBusyCursor busy;
    const std::optional<QString> failure = FailureOf([this] {
        const TOvelseInfo* info = manager_->OvelseInfo();
        if (manager_->HasResultat() && info &&
            info->OvelseRn().GetField(OvelseRnField::AutoCalcPoint)->GetAsInteger() == 1)
            BeregnPointOvelse();
        manager_->SaveResultater();
    });
    if (failure) {
        ShowErrorLater(this, *failure);
        return false;
    }
    if (manager_->HasResultat())
        SortResultater(ResultatSortChoice(manager_->OvelseInfo()));
    RefillPage();
    return true;
}

bool TEditOvelseForm::WantsSave() {
    if (SpeakerMode || !manager_->IsModified())
        return false;
    MessageDefaultButton = 0;
    return AskConfirm(this, QStringLiteral("Ændringer er ikke gemt, skal de gemmes"));
}

bool TEditOvelseForm::AskSaveOvelse(bool ask) {
    if (SpeakerMode || !manager_->IsModified())
        return true;
    if (ask && !WantsSave())
        return true;
    return SaveOvelse();
}

bool TEditOvelseForm::CanClose() {
    QWidget* const page = PageControl->currentWidget();
    if (page == OvelsePage && serieMode_)
        return false;
    if (!PageGrid(page)->CommitCell())
        return false;
    if (page == OvelsePage)
        return AskSaveOvelse(true);
    // The running page asks too; on Ja it is left as leaving it saves, on Nej nothing is written.
    if (page == LobeResultatPage) {
        if (!SpeakerMode && manager_->IsModified() && !WantsSave())
            return true;
        return LeavePage(page);
    }
    return true;
}

void TEditOvelseForm::done(int result) {
    if (!closeChecked_) {
        bool may = false;
        if (const std::optional<QString> failure = FailureOf([&] { may = CanClose(); }))
            ShowError(this, *failure);
        if (!may)
            return;
    }
    closeChecked_ = false;
    // The settings go on the way out, never in the destructor.
    if (const std::optional<QString> failure = FailureOf([this] { StoreSettings(); }))
        ShowError(this, *failure);
    TStdRVKForm::done(result);
}
