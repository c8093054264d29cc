// The wizard's pages as a state machine: the sequence of the template chosen, the tabs that may show,
// and the buttons that may be pressed.
#include "ui/staevne/StaevneDef.h"

#include "foundation/LxString.h"
#include "foundation/Messages.h"
#include "foundation/controls/EditUtil.h"
#include "foundation/controls/Tablist.h"
#include "model/D_StaevneDefRaekke.h"
#include "print/PrUtilFormat.h"
#include "ui/WidgetKitDato.h"
#include "ui/staevne/StaevneDefHold.h"

#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

#include <QTimeEdit>

#include <algorithm>

namespace {

// A row as the question before leaving compares it.
QString RowState(const TEditOvelseData& row) {
    QStringList fields = {row.Klasse,
                          row.Ovelse,
                          row.Attribut,
                          row.Runder,
                          row.HoldBaneFordeling,
                          QString::number(row.AntalPrHeat)};
    for (const double gebyr : {row.Startgebyr1, row.Efteranmgebyr1, row.Strafgebyr1, row.Startgebyr2,
                               row.Efteranmgebyr2, row.Strafgebyr2})
        fields << QString::number(gebyr);
    for (const TEditRundeData& slot : row.Runde)
        fields << QString::number(slot.DatoTid) << slot.Sted << QString::number(slot.ResType)
               << QString::number(slot.Heatinddeling);
    return fields.join(u'\t');
}

} // namespace

void TStaevneDefForm::BuildPageSequence() {
    sequence_ = {ForsidePage};
    if (Danmarksturnering->isChecked())
        sequence_.push_back(DTSide1Page);
    else if (VeteranHoldturnering->isChecked())
        sequence_.push_back(VTSide1Page);
    else if (DMUHold->isChecked())
        sequence_.push_back(LTUSide1Page);
    else
        sequence_.insert(sequence_.end(), {Side1Page, Side2Page, Side3Page});
}

int TStaevneDefForm::SequencePos(const QWidget* page) const {
    const auto at = std::find(sequence_.begin(), sequence_.end(), page);
    return at == sequence_.end() ? -1 : static_cast<int>(at - sequence_.begin());
}

THoldSide* TStaevneDefForm::ActiveHoldSide() const {
    return qobject_cast<THoldSide*>(PageControl->currentWidget());
}

bool TStaevneDefForm::IsPageComplete(const QWidget* page) const {
    if (page == ForsidePage) {
        return !TrimBlanks(StaevneNavn->text()).isEmpty() && !TrimBlanks(Stadion->text()).isEmpty() &&
               !TrimBlanks(Arrangor->text()).isEmpty() && Dato->date().isValid() &&
               QDateToDateTime(Dato->date()) > 0;
    }
    if (page == Side1Page)
        return !klasser_.empty();
    if (page == Side2Page || page == Side3Page)
        return raekke_.GetCount() > 0;
    if (const auto* side = qobject_cast<const THoldSide*>(page))
        return side->IsComplete();
    return false;
}

void TStaevneDefForm::UpdateState() {
    if (updating_)
        return;
    updating_ = true;
    const int count = static_cast<int>(sequence_.size());
    int firstIncomplete = 0;
    while (firstIncomplete < count && IsPageComplete(sequence_[static_cast<std::size_t>(firstIncomplete)]))
        ++firstIncomplete;
    for (int tab = 0; tab < PageControl->count(); ++tab) {
        const int pos = SequencePos(PageControl->widget(tab));
        PageControl->setTabVisible(tab, pos >= 0 && pos <= firstIncomplete);
    }
    if (SequencePos(PageControl->currentWidget()) < 0)
        PageControl->setCurrentWidget(ForsidePage);

    QWidget* current = PageControl->currentWidget();
    const int pos = SequencePos(current);
    const bool last = pos == count - 1;
    ForrigeButton->setEnabled(pos > 0);
    NaesteButton->setVisible(!last);
    NaesteButton->setEnabled(!last && IsPageComplete(current));
    UdfoerButton->setVisible(last);
    UdfoerButton->setEnabled(last && firstIncomplete == count);

    // Whether anything is selected, without listing the selection.
    OpretOvelser->setEnabled(StandardOvelser->selectionModel()->hasSelection());
    const bool rows = Visning() != TVisning::RundeInfo && OvelserListbox->selectionModel()->hasSelection();
    RetButton->setEnabled(rows);
    SletButton->setEnabled(rows);
    updating_ = false;
}

void TStaevneDefForm::NaesteClick() {
    QWidget* current = PageControl->currentWidget();
    const int pos = SequencePos(current);
    if (pos < 0 || pos + 1 >= static_cast<int>(sequence_.size()) || !IsPageComplete(current))
        return;
    UpdateState();
    PageControl->setCurrentWidget(sequence_[static_cast<std::size_t>(pos + 1)]);
}

void TStaevneDefForm::ForrigeClick() {
    const int pos = SequencePos(PageControl->currentWidget());
    if (pos > 0)
        PageControl->setCurrentWidget(sequence_[static_cast<std::size_t>(pos - 1)]);
}

// ---------------------------------------------------------------- the meet's data

TDateTime TStaevneDefForm::StaevneDatoTid() const {
    return EncodeDateTime(Dato->date(), Starttidspunkt->time());
}

TDateTime TStaevneDefForm::StartDatoTid() const {
    return RundeDatoTid(Dato->date(), Starttidspunkt->time(), Starttidspunkt->time());
}

QString TStaevneDefForm::Overskrift3Text() const {
    QString text = QStringLiteral("den ") +
                   FormatDateTime(QStringLiteral("d.mmm yyyy"), QDateTime(Dato->date(), QTime(0, 0)));
    if (const QString stadion = TrimBlanks(Stadion->text()); !stadion.isEmpty())
        text += QStringLiteral(" på ") + stadion;
    return text;
}

TStaevneDefForm::TVisning TStaevneDefForm::Visning() const {
    return static_cast<TVisning>(std::max(Informationer->currentIndex(), 0));
}

// ---------------------------------------------------------------- leaving

QStringList TStaevneDefForm::EnteredState() const {
    QStringList state = {StaevneNavn->text(), Stadion->text(), Arrangor->text(), Dato->text(),
                         Starttidspunkt->time().toString()};
    for (const QRadioButton* skabelon : {TomtStaevne, Danmarksturnering, VeteranHoldturnering, DMUHold})
        state << QString::number(skabelon->isChecked());
    for (const int nr : klasser_)
        state << QString::number(nr);
    for (int i = 0; i < raekke_.GetCount(); ++i)
        state << RowState(*raekke_.GetItem(i));
    for (const THoldSide* side :
         {static_cast<const THoldSide*>(DTSide1Page), static_cast<const THoldSide*>(VTSide1Page),
          static_cast<const THoldSide*>(LTUSide1Page)})
        state += side->EnteredState();
    return state;
}

void TStaevneDefForm::reject() {
    if (EnteredState() != startState_) {
        MessageDefaultButton = 1;
        const QString lost = mode_ == TMode::Nyt
                                 ? QStringLiteral("Stævnet er ikke oprettet, og det indtastede går tabt.")
                                 : QStringLiteral("Ændringerne er ikke gemt og går tabt.");
        if (!AskConfirm(this, lost + CrLf + QStringLiteral("Vil du lukke alligevel")))
            return;
    }
    TStdRVKForm::reject();
}
