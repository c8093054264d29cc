// What the overview's selection holds: the selected rounds, the panels and info lines of the current
// round, which pages may open, and the class filter with its overlap counts.
#include "ui/ovelse/EditOvelse.h"

#include "foundation/controls/MsgForm.h"
#include "model/D_Globals.h"
#include "model/D_GridKlasse.h"
#include "model/D_Ovelser.h"
#include "model/D_Result.h"
#include "model/D_Staevne.h"
#include "ui/ovelse/OversigtInfo.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QTabWidget>

#include <algorithm>

namespace {

constexpr int ValgtePanel = 7;

bool SameOvelseOgTid(const TOvelseInfo& a, const TOvelseInfo& b) {
    return a.OvelseRn().GetTrimmedString(OvelseRnField::Ovelse) ==
               b.OvelseRn().GetTrimmedString(OvelseRnField::Ovelse) &&
           a.OvelseRn().GetField(OvelseRnField::DatoTid)->GetAsFloat() ==
               b.OvelseRn().GetField(OvelseRnField::DatoTid)->GetAsFloat();
}

QLabel* Panel(const QWidget* bar, int panel) {
    return bar->findChild<QLabel*>(QStringLiteral("Panel%1").arg(panel), Qt::FindDirectChildrenOnly);
}

} // namespace

void TEditOvelseForm::PostShowSelection() {
    if (showSelectionPosted_)
        return;
    showSelectionPosted_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            showSelectionPosted_ = false;
            Guarded(this, [this] {
                ShowSelection();
                return true;
            });
        },
        Qt::QueuedConnection);
}

QString TEditOvelseForm::StatusText(int panel) const {
    const QLabel* label = Panel(StatusBar, panel);
    return label ? label->text() : QString();
}

void TEditOvelseForm::ShowSelection() {
    // Told by the overview; a change posted before another page opened has nothing left to show, nor one
    // posted before the programme was read anew.
    if (PageControl->currentWidget() != OversigtPage || programmeGone_)
        return;
    // The selection's rounds, in time order in the schedules.
    selected_.clear();
    const TGridRect rect = OversigtGrid->Selection();
    for (int row = rect.Top; row <= rect.Bottom; ++row)
        for (int col = rect.Left; col <= rect.Right; ++col)
            if (TOvelseInfo* info = oversigt_.Info(col, row))
                selected_.push_back(info);
    const TOversigtValg valg = OversigtValg();
    if (selected_.size() > 1 && valg.IsTidsskema())
        std::sort(selected_.begin(), selected_.end(), [this](const TOvelseInfo* a, const TOvelseInfo* b) {
            return oversigt_.TidOrder(a) < oversigt_.TidOrder(b);
        });
    Panel(StatusBar, ValgtePanel)->setText(QString::number(selected_.size()));

    const int col = OversigtGrid->Col();
    const int row = OversigtGrid->Row();
    currentOvelse_ = oversigt_.Info(col, row);
    currentTidRows_ = valg.IsTidsskema() ? oversigt_.TidRows(row) : std::pair(-1, -1);
    QLabel* const lines[] = {InfoLinie1, InfoLinie2, InfoLinie3, InfoLinie4};
    bool resultatTab = false;
    bool lobeTab = false;
    if (!currentOvelse_) {
        for (int panel = 0; panel < ValgtePanel; ++panel)
            Panel(StatusBar, panel)->clear();
        manager_->Clear();
        for (QLabel* line : lines)
            line->hide();
        if (overlap_) {
            overlap_->CalcOverlap(nullptr);
            RewriteKlasseCells();
        }
        // An empty cell within a field event's time tells how long the event is estimated to take.
        if (const std::optional<int> seconds = oversigt_.Grey(col, row); seconds && *seconds > 0) {
            InfoLinie1->setText(VarighedText(*seconds));
            InfoLinie1->show();
        }
    } else {
        ShowStatusPanels(*currentOvelse_);
        InfoLinie1->setText(InfoLinie1Text(*currentOvelse_));
        InfoLinie2->setText(InfoLinie2Text(*currentOvelse_));
        InfoLinie3->setText(InfoLinie3Text(*currentOvelse_));
        InfoLinie4->setText(InfoLinie4Text(*currentOvelse_));
        for (QLabel* line : lines)
            line->show();
        if (overlap_) {
            overlap_->CalcOverlap(currentOvelse_);
            RewriteKlasseCells();
        }
        // Pages open for rounds with entries, outside the class filter and the time view; several rounds
        // together only when they are one event at one time, in a fun-run meet any of them.
        const bool motionsloeb = StaevneManager->SystemData().Motionsloeb;
        if (currentOvelse_->AntalDeltagere != 0 && !filterKlasse_ && !VisTidsskema->isChecked() &&
            !selected_.empty()) {
            const TOvelseInfo& first = *selected_.front();
            resultatTab = selected_.size() == 1 || motionsloeb ||
                          std::all_of(selected_.begin(), selected_.end(), [&first](const TOvelseInfo* info) {
                              return SameOvelseOgTid(first, *info);
                          });
            lobeTab = motionsloeb;
        }
    }
    SetTabVisible(OvelsePage, resultatTab);
    SetTabVisible(LobeResultatPage, lobeTab);
    OversigtGrid->viewport()->update();
    UpdateControls();
}

void TEditOvelseForm::ShowRoundStatus() {
    if (PageControl->currentWidget() != OvelsePage || !currentOvelse_)
        return;
    // Saved, seeded or given results since the page opened: the counters from the rows as they are now.
    manager_->UpdateOvelseInfo();
    ShowStatusPanels(*currentOvelse_);
}

void TEditOvelseForm::ShowStatusPanels(const TOvelseInfo& round) {
    const QStringList texts = StatusPanelTexts(round);
    for (int panel = 0; panel < ValgtePanel; ++panel)
        Panel(StatusBar, panel)->setText(texts.at(panel));
}

void TEditOvelseForm::ChooseKlasse(int index) {
    overlap_.reset();
    filterKlasse_ = nullptr;
    if (index > 0) {
        const QString klasse = OversigtKlasseComboBox->itemText(index);
        // A manager of its own: loading the class's rounds must not touch the rows of the result page.
        if (!overlapManager_)
            overlapManager_ = std::make_unique<TResultatManager>();
        auto model = std::make_unique<TGridKlasse>(klasse);
        for (const auto& [key, info] : OvelseManager->KlasseIndex()) {
            if (info->GetKlasseKode() == klasse) {
                model->AddOvelse(info, *overlapManager_);
                filterKlasse_ = &info->Klasse();
            }
        }
        overlapManager_->Clear();
        overlap_ = std::move(model);
    }
    // Every cell anew: without the filter the counts go, with it they come.
    for (int row = 1; row < oversigt_.RowCount(); ++row)
        for (int col = 1; col < oversigt_.ColCount(); ++col)
            if (const TOvelseInfo* info = oversigt_.Info(col, row))
                RewriteCell(info);
    ShowSelection();
}
