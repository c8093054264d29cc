// Which of the event editor's commands may run: by the page, the selection, the meet's options and
// announcer mode. A command whose work is still to come stays disabled whatever it is wanted.
#include "ui/ovelse/EditOvelse.h"

#include "model/D_Globals.h"
#include "model/D_Ovelser.h"
#include "model/D_Result.h"
#include "model/D_Staevne.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QMenu>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>

namespace {

// The series grid's columns left of the attempts.
constexpr int FirstAttemptColumn = 8;

void SetEnabled(QObject* control, bool enabled) {
    if (auto* action = qobject_cast<QAction*>(control)) {
        if (action->isEnabled() != enabled)
            action->setEnabled(enabled);
    } else if (auto* widget = qobject_cast<QWidget*>(control)) {
        if (widget->isEnabled() != enabled)
            widget->setEnabled(enabled);
    }
}

} // namespace

void TEditOvelseForm::RegisterCommands() {
    QObject* const built[] = {TidsskemaToolButton,
                              AfkrydsningToolButton,
                              ProgramListeToolButton,
                              StartlisteToolButton,
                              DommerlisteToolButton,
                              ResultatlisteToolButton,
                              DiplomToolButton,
                              KlubstillingToolButton,
                              KlubKonkurrenceToolButton,
                              MedaljelisteToolButton,
                              ReaktionsTiderToolButton,
                              OvelseEgenskaberToolButton,
                              EgenskaberMenu,
                              SeedningToolButton,
                              SeedningMenu,
                              VidereDel1ToolButton,
                              VidereDel2ToolButton,
                              BeregnPointToolButton,
                              BeregnPointMenu,
                              KorrigerToolButton,
                              GemToolButton,
                              FortrydToolButton,
                              ResultatSerieToolButton,
                              ReadResultatSerieToolButton,
                              SortComboBox,
                              RedidTest,
                              SletOvelseMenu,
                              TilfoejRundeMenu,
                              SletDeltager,
                              ErstatDeltager,
                              TilmeldNyDeltager,
                              Stafetnavne,
                              KlubKonkurrenceKlasser,
                              OversigtKlasseComboBox,
                              VisUgedagComboBox,
                              OversigtSortering,
                              PageTabPosition,
                              UdskrivTilPrinter,
                              UdskrivTilSkaerm,
                              HtmlUdskrift,
                              HTMLNavnPrOvelse,
                              SideskiftPrKlasse,
                              SideskiftPrTidspunkt,
                              SideskiftPrHeat,
                              UdskrivTommeOvelser,
                              UdskrivEnLangSide,
                              VisNulOvelser,
                              VisTidsskema,
                              Tidsskema2,
                              InklusivKlubstilling,
                              InklusivMangekampStilling,
                              InklusivHoldkonkurrence,
                              InklusivKlubkonkurrence};
    for (QObject* control : built) {
        commands_.push_back({control, true});
        SetEnabled(control, false);
    }
    for (const auto& [item, button] : PrintMenuItems())
        commands_.push_back({item, true});
    // The board files stay enabled wherever the menu is reached: writing one changes no record.
    for (QMenu* menu : {SorteringMenu, UdskrifterMenu, KolonnerMenu, TidsskemaPopupMenu, DiplomPopupMenu})
        for (QAction* item : menu->actions())
            item->setEnabled(false);
}

void TEditOvelseForm::SetWanted(QObject* control, bool wanted) {
    wanted_[control] = wanted;
    const auto command = std::find_if(commands_.begin(), commands_.end(),
                                      [control](const TCommand& each) { return each.Control == control; });
    SetEnabled(control, wanted && command != commands_.end() && command->Built);
}

bool TEditOvelseForm::IsCommandWanted(const QObject* control) const {
    const auto found = wanted_.find(control);
    return found != wanted_.end() && found->second;
}

void TEditOvelseForm::UpdateControls() {
    if (OvelseToolBar->isHidden()) {
        OvelseToolBar->show();
        PrintToolBar->show();
        HeaderPanel->show();
        OvelseHeader->show();
    }
    QWidget* const page = PageControl->currentWidget();
    const bool oversigt = page == OversigtPage;
    const bool resultat = page == OvelsePage;
    const int antalValgte = static_cast<int>(selected_.size());
    const bool holdKlubstilling =
        StaevneManager->IsHoldTurnering() || StaevneManager->SystemData().OstHoldTurnering;
    QObject* const prints[] = {AfkrydsningToolButton, ProgramListeToolButton, StartlisteToolButton,
                               DommerlisteToolButton, ResultatlisteToolButton};
    QObject* const printChecks[] = {
        UdskrivTilPrinter,      UdskrivTilSkaerm,     HtmlUdskrift,         HTMLNavnPrOvelse,
        SideskiftPrKlasse,      SideskiftPrTidspunkt, SideskiftPrHeat,      UdskrivTommeOvelser,
        UdskrivEnLangSide,      Tidsskema2,           InklusivKlubstilling, InklusivMangekampStilling,
        InklusivHoldkonkurrence};
    QObject* const filters[] = {OversigtKlasseComboBox, VisUgedagComboBox, OversigtSortering,
                                PageTabPosition};

    if ((resultat && serieMode_) || page == LobeResultatPage) {
        // Everything waits for the series or the running results.
        for (const TCommand& command : commands_)
            SetWanted(command.Control, false);
        RedidTest->setVisible(false);
        SetSerieCommands();
        SetMenuItems(false);
        return;
    }
    // Commands that write to the meet or change its programme never run in announcer mode.
    for (QObject* control : {static_cast<QObject*>(SletDeltager), static_cast<QObject*>(ErstatDeltager),
                             static_cast<QObject*>(TilmeldNyDeltager), static_cast<QObject*>(Stafetnavne),
                             static_cast<QObject*>(SletOvelseMenu), static_cast<QObject*>(TilfoejRundeMenu),
                             static_cast<QObject*>(RedidTest)})
        SetWanted(control, false);
    SetMenuItems(resultat);
    if (SpeakerMode) {
        SetWanted(MedaljelisteToolButton, true);
        SetWanted(ReaktionsTiderToolButton, true);
        for (QObject* control : prints)
            SetWanted(control, true);
        for (QObject* control : printChecks)
            SetWanted(control, true);
        for (QObject* control : filters)
            SetWanted(control, true);
        for (QObject* control :
             {static_cast<QObject*>(DiplomToolButton), static_cast<QObject*>(KlubKonkurrenceToolButton),
              static_cast<QObject*>(KlubKonkurrenceKlasser), static_cast<QObject*>(TidsskemaToolButton),
              static_cast<QObject*>(InklusivKlubkonkurrence)})
            SetWanted(control, true);
        SetWanted(KlubstillingToolButton, holdKlubstilling);
        SetWanted(VisNulOvelser, oversigt);
        for (QObject* control :
             {static_cast<QObject*>(VisTidsskema), static_cast<QObject*>(SeedningToolButton),
              static_cast<QObject*>(SeedningMenu), static_cast<QObject*>(VidereDel1ToolButton),
              static_cast<QObject*>(VidereDel2ToolButton), static_cast<QObject*>(BeregnPointToolButton),
              static_cast<QObject*>(BeregnPointMenu), static_cast<QObject*>(OvelseEgenskaberToolButton),
              static_cast<QObject*>(EgenskaberMenu), static_cast<QObject*>(GemToolButton),
              static_cast<QObject*>(FortrydToolButton), static_cast<QObject*>(KorrigerToolButton)})
            SetWanted(control, false);
        SetWanted(SortComboBox, resultat);
        SetSerieCommands();
        RedidTest->setVisible(false);
        FollowPrintButtons(resultat);
        return;
    }
    // The meet's summaries need neither page nor selection.
    SetWanted(MedaljelisteToolButton, true);
    SetWanted(ReaktionsTiderToolButton, true);

    for (QObject* control : prints)
        SetWanted(control, resultat || (oversigt && antalValgte >= 1));
    SetWanted(DiplomToolButton, resultat);
    SetWanted(KlubstillingToolButton, holdKlubstilling);
    for (QObject* control : filters)
        SetWanted(control, oversigt);
    for (QObject* control :
         {static_cast<QObject*>(KlubKonkurrenceToolButton), static_cast<QObject*>(KlubKonkurrenceKlasser),
          static_cast<QObject*>(VisNulOvelser), static_cast<QObject*>(TidsskemaToolButton)})
        SetWanted(control, oversigt);
    for (QObject* control : printChecks)
        SetWanted(control, true);
    SetWanted(InklusivKlubkonkurrence, false);

    const bool noneHasResults = std::none_of(selected_.begin(), selected_.end(),
                                             [](const TOvelseInfo* info) { return info->ResultaterFindes; });
    const bool seedning =
        resultat ? !manager_->HasResultat() : oversigt && antalValgte >= 1 && noneHasResults;
    SetWanted(SeedningToolButton, seedning);
    SetWanted(SeedningMenu, seedning);
    const bool point = resultat || (oversigt && antalValgte >= 1 && !noneHasResults);
    SetWanted(BeregnPointToolButton, point);
    SetWanted(BeregnPointMenu, point);
    const bool videre = resultat && currentOvelse_ && !currentOvelse_->GetNextRunde().isNull();
    SetWanted(VidereDel1ToolButton, videre);
    SetWanted(VidereDel2ToolButton, videre);
    const bool egenskaber = oversigt && (currentOvelse_ || antalValgte >= 1);
    SetWanted(OvelseEgenskaberToolButton, egenskaber);
    SetWanted(EgenskaberMenu, egenskaber);
    SetWanted(VisTidsskema,
              oversigt && OversigtSortering->currentIndex() == int(TOversigtSortering::KlasseOvelse));
    for (QObject* control : {static_cast<QObject*>(GemToolButton), static_cast<QObject*>(FortrydToolButton),
                             static_cast<QObject*>(KorrigerToolButton), static_cast<QObject*>(SortComboBox)})
        SetWanted(control, resultat);
    SetWanted(ResultatSerieToolButton,
              resultat && currentOvelse_ && currentOvelse_->Ovelse().IsSerieOvelse());
    SetWanted(ReadResultatSerieToolButton, false);
    RedidTest->setVisible(StaevneManager->SystemData().Redid);
    SetWanted(RedidTest, resultat);
    const bool rows = resultat && manager_->Count() > 0;
    SetWanted(SletDeltager, rows);
    SetWanted(ErstatDeltager, rows);
    SetWanted(TilmeldNyDeltager, rows);
    SetWanted(Stafetnavne,
              rows && manager_->OvelseInfo() && manager_->OvelseInfo()->Ovelse().IsStafetOvelse());
    SetWanted(SletOvelseMenu, oversigt);
    SetWanted(TilfoejRundeMenu, oversigt);
    FollowPrintButtons(resultat);
}

std::vector<std::pair<QAction*, QAction*>> TEditOvelseForm::PrintMenuItems() const {
    std::vector<std::pair<QAction*, QAction*>> items;
    for (QAction* day : TidsskemaDage)
        items.emplace_back(day, TidsskemaToolButton);
    for (QAction* place : {Plads1, Plads2, Plads3, Alle, ValgtDeltager})
        items.emplace_back(place, DiplomToolButton);
    // The result grid's popup, in the order of the lists' buttons.
    const QList<QAction*> lists = UdskrifterMenu->actions();
    QAction* const buttons[] = {AfkrydsningToolButton, ProgramListeToolButton, StartlisteToolButton,
                                DommerlisteToolButton, ResultatlisteToolButton};
    for (qsizetype i = 0; i < lists.size() && i < qsizetype(std::size(buttons)); ++i)
        items.emplace_back(lists[i], buttons[i]);
    return items;
}

void TEditOvelseForm::FollowPrintButtons(bool resultat) {
    for (const auto& [item, button] : PrintMenuItems())
        SetWanted(item, IsCommandWanted(button) && (item->parent() != UdskrifterMenu || resultat));
}

void TEditOvelseForm::SetMenuItems(bool resultat) {
    for (QAction* item : SorteringMenu->actions())
        item->setEnabled(resultat);
    // A column the round has no use for cannot be added; one shown can always go.
    for (QAction* item : KolonnerMenu->actions())
        item->setEnabled(resultat && (item->isChecked() || item->property("columnEnabled").toBool()));
}

void TEditOvelseForm::SetSerieCommands() {
    // In series mode the two series commands serve while the cursor stands left of the attempts.
    const bool leftOfAttempts = serieMode_ && SerieGrid->Col() < FirstAttemptColumn;
    SetWanted(ResultatSerieToolButton, leftOfAttempts);
    SetWanted(ReadResultatSerieToolButton, leftOfAttempts && !SpeakerMode);
}
