#include "ui/klub/EditKlubUdskrift.h"

#include "foundation/BusyCursor.h"
#include "foundation/Messages.h"
#include "foundation/controls/Extstrgr.h"
#include "model/D_Globals.h"
#include "model/D_Klub.h"
#include "model/D_Ovelser.h"
#include "model/D_Staevne.h"
#include "print/D_KlubUdskrift.h"
#include "print/D_UdskriftKlubDiplom.h"
#include "print/D_UdskriftKlubLabels.h"
#include "print/D_UdskriftKlubSaldo.h"
#include "ui/WidgetKit.h"
#include "ui/klub/EditKlubDeltager.h"
#include "ui/klub/EditKlubHost.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QScopeGuard>
#include <QVBoxLayout>

namespace {

constexpr int KlubRole = Qt::UserRole;
constexpr int KlubColumns = 5;

// What every job of clubs takes from the dialog: its club manager, its participant order and whether
// to print or preview.
template <typename Job>
void SetUp(Job& job, TKlubDialogHost& dialog) {
    job.KlubManager = &dialog.KlubManager();
    job.Order = dialog.DeltagerOrder();
    job.UdskrivTilPrinter = dialog.Widgets().UdskrivTilPrinter->isChecked();
}

QGroupBox* Box(QWidget* parent, const QString& caption, QWidget* content) {
    auto* box = new QGroupBox(caption, parent);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(content);
    return box;
}

} // namespace

TKlubUdskriftPanel::TKlubUdskriftPanel(TKlubDialogHost& dialog, QWidget* parent)
    : QWidget(parent)
    , UdskriftKlasserListbox(Named(new QListWidget(this), QStringLiteral("UdskriftKlasserListbox")))
    , UdskriftKlubListBox(Named(new QListWidget(this), QStringLiteral("UdskriftKlubListBox")))
    , dialog_(dialog) {
    setObjectName(QStringLiteral("UdskriftPanel"));
    UdskriftKlasserListbox->setSelectionMode(QAbstractItemView::MultiSelection);
    UdskriftKlubListBox->setSelectionMode(QAbstractItemView::MultiSelection);
    // The clubs in columns, top to bottom.
    UdskriftKlubListBox->setFlow(QListView::TopToBottom);
    UdskriftKlubListBox->setWrapping(true);
    UdskriftKlubListBox->setResizeMode(QListView::Adjust);
    UdskriftKlubListBox->setUniformItemSizes(true);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Box(this, QStringLiteral("KLASSER"), UdskriftKlasserListbox), 1);
    layout->addWidget(Box(this, QStringLiteral("KLUBBER TIL UDSKRIFT"), UdskriftKlubListBox), KlubColumns);
    FillKlasser();
}

void TKlubUdskriftPanel::FillKlasser() {
    UdskriftKlasserListbox->clear();
    for (const TKlasseElement* klasse : OvelseManager->GetKlasser())
        UdskriftKlasserListbox->addItem(klasse->GetTrimmedString(KlasseField::Korttekst));
    UdskriftKlasserListbox->selectAll();
}

void TKlubUdskriftPanel::FillKlubber() {
    UdskriftKlubListBox->clear();
    const QListWidget& klubber = *dialog_.Widgets().KlubberListbox;
    for (int i = 0; i < klubber.count(); ++i) {
        auto* item = new QListWidgetItem(klubber.item(i)->text(), UdskriftKlubListBox);
        item->setData(KlubRole, klubber.item(i)->data(KlubRole));
    }
    UdskriftKlubListBox->setCurrentRow(-1);
    UdskriftKlubListBox->clearSelection();
}

std::vector<TKlubElement*> TKlubUdskriftPanel::ChosenKlubber() {
    if (!dialog_.SaveKlub())
        return {};
    std::vector<TKlubElement*> chosen;
    if (!isHidden()) {
        for (int i = 0; i < UdskriftKlubListBox->count(); ++i) {
            const QListWidgetItem* item = UdskriftKlubListBox->item(i);
            if (item->isSelected())
                chosen.push_back(dialog_.KlubOf(item));
        }
        if (chosen.empty())
            ShowInformation(this, QStringLiteral("Vælg de klubber, der skal udskrives"));
    } else if (TKlubElement* klub = dialog_.KlubManager().GetCurrentKlub();
               klub && dialog_.Widgets().KlubberListbox->count() > 0) {
        chosen.push_back(klub);
    }
    return chosen;
}

void TKlubUdskriftPanel::ShowCurrentAgain() {
    dialog_.ShowKlub(dialog_.Widgets().KlubberListbox->currentRow());
}

void TKlubUdskriftPanel::Klubliste(bool starttid) {
    TKlubUdskrift job(dialog_.Widgets().Dialog);
    job.Klubber = ChosenKlubber();
    if (job.Klubber.empty())
        return;
    const TBusyCursor busy;
    const auto showAgain = qScopeGuard([this] { ShowCurrentAgain(); });
    SetUp(job, dialog_);
    const TKlubDialogWidgets options = dialog_.Widgets();
    job.UdskrivRegnskab = options.UdskrivRegnskab->isChecked();
    job.UdskrivDeltagere = options.UdskrivDeltagere->isChecked();
    job.UdskrivStartnumre = options.UdskrivStartnumre->isChecked();
    for (const QListWidgetItem* item : UdskriftKlasserListbox->selectedItems())
        job.Klasser.append(item->text());
    const bool html = options.UdskrivTilHTML->isChecked();
    job.Run(starttid ? QStringLiteral("KlubInfoListeStarttid") : QStringLiteral("KlubInfoListeResultat"),
            starttid, {}, html);
    if (html)
        ShowInformation(this,
                        QStringLiteral("Klublisten er skrevet i mappen ") + StaevneManager->GetStaevneDir());
}

void TKlubUdskriftPanel::Saldoliste() {
    TKlubSaldoUdskrift job(dialog_.Widgets().Dialog);
    job.Klubber = ChosenKlubber();
    if (job.Klubber.empty())
        return;
    const TBusyCursor busy;
    const auto showAgain = qScopeGuard([this] { ShowCurrentAgain(); });
    SetUp(job, dialog_);
    job.Run();
}

void TKlubUdskriftPanel::Labels() {
    TKlubLabelUdskrift job(dialog_.Widgets().Dialog);
    job.Klubber = ChosenKlubber();
    if (job.Klubber.empty())
        return;
    job.UdskrivTilPrinter = dialog_.Widgets().UdskrivTilPrinter->isChecked();
    job.Run();
}

void TKlubUdskriftPanel::Diplomer(bool alle) {
    TKlubDiplomUdskrift job(dialog_.Widgets().Dialog);
    if (alle) {
        job.Klubber = ChosenKlubber();
    } else {
        // The participant of the row, or of the entry rows below it.
        const TDeltagerGridRules& rules = dialog_.DeltagerRules();
        const TExtStringGrid& grid = *dialog_.Widgets().DeltagerGrid;
        const TDeltagerElement* deltager = nullptr;
        for (int row = grid.Row(); row >= grid.FixedRows() && !deltager; --row) {
            deltager = rules.Deltager(row);
            if (!rules.Resultat(row))
                break;
        }
        if (!deltager) {
            ShowInformation(this, QStringLiteral("Ingen deltager valgt"));
            return;
        }
        const qint32 startnummer = deltager->GetField(DeltagerField::Startnummer)->GetAsInteger();
        if (!dialog_.SaveKlub())
            return;
        job.Klubber = {dialog_.KlubManager().GetCurrentKlub()};
        job.Startnummer = startnummer;
    }
    if (job.Klubber.empty())
        return;
    const auto showAgain = qScopeGuard([this] { ShowCurrentAgain(); });
    SetUp(job, dialog_);
    job.KunNyeDiplomer = dialog_.Widgets().KunNyeDiplomer->isChecked();
    job.Run();
}
