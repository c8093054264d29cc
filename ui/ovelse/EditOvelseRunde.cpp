// The commands on rounds from the overview: their properties, and deleting a round or adding one to an
// event, after which the window closes for the overview to be built anew.
#include "ui/ovelse/EditOvelse.h"

#include "foundation/controls/MsgForm.h"
#include "model/D_Globals.h"
#include "model/D_GridKlasse.h"
#include "model/D_Ovelser.h"
#include "model/D_OvelserRunde.h"
#include "model/D_Result.h"
#include "ui/ovelse/OvelProp.h"

#include <QScopeGuard>
#include <QTabWidget>

void TEditOvelseForm::EgenskaberClick() {
    if (!CommitPage())
        return;
    std::vector<TOvelseInfo*> ovelser = selected_;
    if (ovelser.empty() && currentOvelse_)
        ovelser.push_back(currentOvelse_);
    if (ovelser.empty())
        return;
    TOvelsePropertyForm form(this);
    if (form.Load(ovelser) != mrOk)
        return;
    OvelseManager->Reindex();
    FillOversigt();
    for (TOvelseInfo* info : ovelser) {
        manager_->CalcOvelseInfo(*info);
        RewriteCell(info);
    }
    if (const std::optional<std::pair<int, int>> cell = oversigt_.Find(ovelser.back())) {
        suppress_ = true;
        OversigtGrid->GotoCell(cell->first, cell->second, true);
        OversigtGrid->SetSelection({cell->first, cell->second, cell->first, cell->second});
        suppress_ = false;
    }
    ShowSelection();
}

// ---------------------------------------------------------------- deleting and adding rounds

TOvelseInfo* TEditOvelseForm::OneSelected(const QString& tooMany) {
    if (SpeakerMode || !CommitPage())
        return nullptr;
    if (selected_.empty()) {
        ShowError(this, QStringLiteral("Ingen øvelse valgt"));
        return nullptr;
    }
    if (selected_.size() > 1) {
        ShowError(this, tooMany);
        return nullptr;
    }
    return selected_.front();
}

void TEditOvelseForm::ChangeRunder(TOvelseInfo& info, const QString& question,
                                   bool (*change)(TOvelseManager&, TOvelseInfo&)) {
    MessageDefaultButton = 1;
    if (!AskConfirm(this, question))
        return;
    // Whatever becomes of the writing, the programme is read anew and the rounds held here are gone.
    ForgetProgramme();
    const auto reopen = qScopeGuard([this] { ReopenAfterProgramme(); });
    change(*OvelseManager, info);
}

void TEditOvelseForm::SletOvelseClick() {
    TOvelseInfo* info = OneSelected(QStringLiteral("Kan kun slette 1 øvelse ad gangen"));
    if (!info)
        return;
    SletRundeRunder(*info);
    ChangeRunder(*info, QStringLiteral("Slet øvelse"), &SletRunde);
}

void TEditOvelseForm::TilfoejRundeClick() {
    TOvelseInfo* info = OneSelected(QStringLiteral("Vælg kun 1 øvelse ad gangen"));
    if (!info)
        return;
    TilfoejRundeRunder(*info);
    ChangeRunder(*info, QStringLiteral("Tilføj ekstra runde"), &TilfoejRunde);
}

void TEditOvelseForm::ForgetProgramme() {
    suppress_ = true;
    programmeGone_ = true;
    currentOvelse_ = nullptr;
    selected_.clear();
    overlap_.reset();
    filterKlasse_ = nullptr;
    manager_->Clear();
    oversigt_ = TOversigt();
    OversigtGrid->ClearRows();
    OversigtGrid->SetRowCount(OversigtGrid->FixedRows() + 1);
    suppress_ = false;
}

void TEditOvelseForm::ReopenAfterProgramme() {
    ReopenOvelseEditor = true;
    closeChecked_ = true;
    done(mrOk);
}
