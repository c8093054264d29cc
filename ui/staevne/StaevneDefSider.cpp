// The standard pages of the wizard: the classes (Side 1), the events (Side 2) and the event details
// (Side 3).
#include "ui/staevne/StaevneDef.h"

#include "foundation/LxString.h"
#include "foundation/Messages.h"
#include "foundation/controls/MsgForm.h"
#include "foundation/controls/Tablist.h"
#include "model/D_Globals.h"
#include "model/D_StaevneDefData.h"
#include "model/D_StaevneDefRaekke.h"
#include "model/D_StdKlasser.h"
#include "model/D_Tekster.h"
#include "print/PrUtilFormat.h"
#include "ui/DialogRunner.h"
#include "ui/staevne/RetOvelseData.h"
#include "ui/staevne/StaevneDefHold.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QSignalBlocker>
#include <QStringBuilder>
#include <QTimeEdit>
#include <QVBoxLayout>

#include <algorithm>
#include <map>
#include <unordered_set>

namespace {

// Where the blocks of the standard class table begin: girls and women, boys and men, women veterans,
// men veterans.
constexpr int PigerStart = 0;
constexpr int DrengeStart = 17;
constexpr int KvinderVeteranStart = 34;
constexpr int MaendVeteranStart = 48;
constexpr int UngdomCount = DrengeStart - PigerStart;
constexpr int VeteranCount = MaendVeteranStart - KvinderVeteranStart;

constexpr int OvelseRole = Qt::UserRole;
constexpr int AttributRole = Qt::UserRole + 1;
constexpr int RowRole = Qt::UserRole;
constexpr int KlasseRole = Qt::UserRole;

QGroupBox* RadioBox(QWidget* parent, const QString& title, const QList<QRadioButton*>& buttons) {
    auto* box = new QGroupBox(title, parent);
    auto* layout = new QVBoxLayout(box);
    auto* group = new QButtonGroup(box);
    for (QRadioButton* button : buttons) {
        layout->addWidget(button);
        group->addButton(button);
    }
    buttons.front()->setChecked(true);
    return box;
}

QGroupBox* CheckBox(QWidget* parent, const QString& title, const std::array<QCheckBox*, 5>& boxes) {
    auto* box = new QGroupBox(title, parent);
    auto* layout = new QHBoxLayout(box);
    for (QCheckBox* check : boxes)
        layout->addWidget(check);
    return box;
}

QVBoxLayout* Titled(const QString& title, QWidget* list) {
    auto* layout = new QVBoxLayout;
    layout->addWidget(new QLabel(title, list->parentWidget()));
    layout->addWidget(list, 1);
    return layout;
}

// A line of text with its data in roles. The data is set before the line joins the list: a change to a
// listed line costs the view a look at every line.
void AddLine(TTabListbox& list, const QString& text, std::initializer_list<std::pair<int, QVariant>> data) {
    auto* item = new QListWidgetItem(text);
    for (const auto& [role, value] : data)
        item->setData(role, value);
    list.addItem(item);
}

QString KlasseLine(int nr) {
    return GetStdKlasseKode(nr) + u'\t' + GetStdKlasseText(nr);
}

QString Gebyrer(double start, double efteranmeldelse, double straf) {
    return FloatToStrDec(start, 2) % u'\t' % FloatToStrDec(efteranmeldelse, 2) % u'\t' %
           FloatToStrDec(straf, 2);
}

// A row's key for telling rows apart: its class code and event code.
QString RowKey(const QString& klasse, const QString& ovelse) {
    return klasse + u'\t' + ovelse;
}

} // namespace

// ---------------------------------------------------------------- building

void TStaevneDefForm::BuildSide1() {
    auto* koen = RadioBox(Side1Page, QStringLiteral(" Køn "), {Piger, Drenge, Begge});
    auto* alder = RadioBox(Side1Page, QStringLiteral(" Alder "), {Ungdom, Veteraner});
    Begge->setChecked(true);
    auto* choices = new QVBoxLayout;
    choices->addWidget(koen);
    choices->addWidget(alder);
    choices->addStretch();
    auto* buttons = new QVBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OpretKlasser);
    buttons->addWidget(SletKlasser);
    buttons->addStretch();
    auto* page = new QHBoxLayout(Side1Page);
    page->addLayout(choices);
    page->addLayout(Titled(QStringLiteral("Standardklasser"), StandardKlasser), 1);
    page->addLayout(buttons);
    page->addLayout(Titled(QStringLiteral("Oprettede klasser i stævnet"), KlasseListbox1), 1);

    for (QRadioButton* button : {Piger, Drenge, Begge, Ungdom, Veteraner})
        connect(button, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                FillStandardKlasser();
        });
    connect(OpretKlasser, &QPushButton::clicked, this, &TStaevneDefForm::OpretKlasserClick);
    connect(SletKlasser, &QPushButton::clicked, this, &TStaevneDefForm::SletKlasserClick);
}

void TStaevneDefForm::BuildSide2() {
    auto* middle = new QVBoxLayout;
    middle->addWidget(NaturligeOvelser);
    middle->addWidget(CheckBox(Side2Page, QStringLiteral(" Øvelsestyper "), OvelseTyper2));
    middle->addLayout(Titled(QStringLiteral("Øvelser"), StandardOvelser), 1);
    middle->addWidget(OpretOvelser);
    auto* page = new QHBoxLayout(Side2Page);
    page->addLayout(Titled(QStringLiteral("Klasser"), KlasseListbox2), 2);
    page->addLayout(middle, 3);
    page->addLayout(Titled(QStringLiteral("Oprettede øvelser"), OvelserListbox2), 2);

    const auto refill = [this] { FillStandardOvelser(); };
    connect(NaturligeOvelser, &QCheckBox::toggled, this, refill);
    for (QCheckBox* box : OvelseTyper2)
        connect(box, &QCheckBox::toggled, this, refill);
    connect(KlasseListbox2, &QListWidget::itemSelectionChanged, this, [this] {
        if (NaturligeOvelser->isChecked())
            FillStandardOvelser();
    });
    connect(StandardOvelser, &QListWidget::itemSelectionChanged, this, &TStaevneDefForm::UpdateState);
    connect(OpretOvelser, &QPushButton::clicked, this, &TStaevneDefForm::OpretOvelserClick);
}

void TStaevneDefForm::BuildSide3() {
    Informationer->addItems({QStringLiteral("Øvelses-info"), QStringLiteral("Gebyrer (prisgruppe 1)"),
                             QStringLiteral("Gebyrer (prisgruppe 2)"), QStringLiteral("Runder"),
                             QStringLiteral("Runde-info"), QStringLiteral("Antal pr. heat")});
    auto* side = new QVBoxLayout;
    side->addWidget(RadioBox(Side3Page, QStringLiteral(" Sortering "), {KlasseOvelse, OvelseKlasse}));
    side->addWidget(new QLabel(QStringLiteral("Informationer"), Side3Page));
    side->addWidget(Informationer);
    auto* typer = new QGroupBox(QStringLiteral(" Øvelsestyper "), Side3Page);
    auto* typerLayout = new QVBoxLayout(typer);
    for (QCheckBox* box : OvelseTyper3)
        typerLayout->addWidget(box);
    side->addWidget(typer);
    side->addStretch();
    side->addWidget(RetButton);
    side->addWidget(SletButton);
    auto* page = new QHBoxLayout(Side3Page);
    page->addWidget(OvelserListbox, 1);
    page->addLayout(side);

    const auto refill = [this] {
        FillOvelserListbox();
        UpdateState();
    };
    connect(KlasseOvelse, &QRadioButton::toggled, this, refill);
    connect(Informationer, &QComboBox::currentIndexChanged, this, refill);
    for (QCheckBox* box : OvelseTyper3)
        connect(box, &QCheckBox::toggled, this, refill);
    connect(OvelserListbox, &QListWidget::itemSelectionChanged, this, &TStaevneDefForm::UpdateState);
    connect(RetButton, &QPushButton::clicked, this, &TStaevneDefForm::RetClick);
    connect(SletButton, &QPushButton::clicked, this, &TStaevneDefForm::SletClick);
}

// ---------------------------------------------------------------- entering a page

void TStaevneDefForm::PageEntered(int) {
    QWidget* page = PageControl->currentWidget();
    if (page == Side2Page)
        EnterSide2();
    else if (page == Side3Page)
        FillOvelserListbox();
    else if (auto* side = qobject_cast<THoldSide*>(page))
        side->Enter();
    UpdateState();
}

// ---------------------------------------------------------------- Side 1: classes

void TStaevneDefForm::FillStandardKlasser() {
    const bool veteran = Veteraner->isChecked();
    std::vector<int> starts;
    if (!Drenge->isChecked())
        starts.push_back(veteran ? KvinderVeteranStart : PigerStart);
    if (!Piger->isChecked())
        starts.push_back(veteran ? MaendVeteranStart : DrengeStart);
    StandardKlasser->clear();
    for (const int start : starts) {
        for (int nr = start; nr < start + (veteran ? VeteranCount : UngdomCount); ++nr) {
            AddLine(*StandardKlasser, KlasseLine(nr), {{KlasseRole, nr}});
        }
    }
}

void TStaevneDefForm::FillKlasseListbox(TTabListbox& list) const {
    list.clear();
    for (const int nr : klasser_) {
        AddLine(list, KlasseLine(nr), {{KlasseRole, nr}});
    }
}

std::vector<int> TStaevneDefForm::SelectedKlasser(const TTabListbox& list) const {
    std::vector<int> klasser;
    for (int row = 0; row < list.count(); ++row) {
        if (list.item(row)->isSelected())
            klasser.push_back(list.item(row)->data(KlasseRole).toInt());
    }
    return klasser;
}

void TStaevneDefForm::OpretKlasserClick() {
    for (const int nr : SelectedKlasser(*StandardKlasser)) {
        const auto at = std::lower_bound(klasser_.begin(), klasser_.end(), nr);
        if (at == klasser_.end() || *at != nr)
            klasser_.insert(at, nr);
    }
    StandardKlasser->clearSelection();
    FillKlasseListbox(*KlasseListbox1);
    UpdateState();
}

void TStaevneDefForm::SletKlasserClick() {
    QSet<QString> fjernet;
    for (const int nr : SelectedKlasser(*KlasseListbox1)) {
        std::erase(klasser_, nr);
        fjernet.insert(GetStdKlasseKode(nr));
    }
    // A class that goes takes its events along when the meet is written; the lists say so at once.
    OvelserListbox->clear();
    raekke_.RemoveIf(
        [&fjernet](const TEditOvelseData& row) { return row.KlasseNr >= 0 && fjernet.contains(row.Klasse); });
    KlasseListbox1->clearSelection();
    FillKlasseListbox(*KlasseListbox1);
    UpdateState();
}

// ---------------------------------------------------------------- Side 2: events

void TStaevneDefForm::EnterSide2() {
    FillKlasseListbox(*KlasseListbox2);
    FillOvelserListbox2();
    FillStandardOvelser();
}

void TStaevneDefForm::FillOvelserListbox2() {
    OvelserListbox2->clear();
    for (int i = 0; i < raekke_.GetCount(); ++i)
        OvelserListbox2->addItem(raekke_.GetItem(i)->Klasse + u'\t' + raekke_.GetItem(i)->Ovelse);
}

bool TStaevneDefForm::TypeShown(const std::array<QCheckBox*, 5>& boxes, int ovtype) {
    switch (static_cast<TOvtype>(ovtype)) {
    case TOvtype::Lob:
        return boxes[0]->isChecked();
    case TOvtype::VertikalSpring:
    case TOvtype::HorisontalSpring:
        return boxes[1]->isChecked();
    case TOvtype::Kast:
        return boxes[2]->isChecked();
    case TOvtype::Stafet:
        return boxes[3]->isChecked();
    case TOvtype::Mangekamp:
        return boxes[4]->isChecked();
    }
    return true;
}

void TStaevneDefForm::FillStandardOvelser() {
    StandardOvelser->clear();
    const auto addCandidate = [this](const QString& ovelse, const TOvDefElement* ovDef) {
        if (ovDef == nullptr) {
            AddLine(*StandardOvelser, ovelse, {{OvelseRole, ovelse}});
            return;
        }
        AddLine(*StandardOvelser, ovelse + u'\t' + ovDef->GetTrimmedString(OvDefField::Tekst),
                {{OvelseRole, ovelse}, {AttributRole, ovDef->GetTrimmedString(OvDefField::Attribut)}});
    };
    TOvelseManager& ovelser = *OvelseManager;
    const bool naturlige = NaturligeOvelser->isChecked();
    for (QCheckBox* box : OvelseTyper2)
        box->setEnabled(!naturlige);

    if (naturlige) {
        // Entries the meet's catalogue does not hold are left out.
        for (const QString& entry : FaellesNaturligeOvelser(SelectedKlasser(*KlasseListbox2))) {
            const TOvelseKode kode = SplitOvelseKode(entry);
            const TOvelseElement* ovelse = ovelser.FindOvelse(kode.Ovelse);
            const TOvDefElement* ovDef =
                kode.Attribut.isEmpty() ? nullptr : ovelser.FindOvDef(kode.Ovelse, kode.Attribut);
            if (ovelse != nullptr && (kode.Attribut.isEmpty() || ovDef != nullptr))
                addCandidate(ovelse->GetTrimmedString(OvelseField::Ovelse), ovDef);
        }
        UpdateState();
        return;
    }

    // The whole catalogue in sort-code order, each event with its attribute definitions.
    std::vector<const TOvelseElement*> catalogue;
    TOvelseList& ovelseList = ovelser.OvelseList();
    for (int pos = 0; pos < ovelseList.GetCount(); ++pos)
        catalogue.push_back(ovelseList.GetElement(pos));
    const auto sortkode = [](const TDataElement* element, int field) {
        return element->GetField(field)->GetAsInteger();
    };
    std::stable_sort(catalogue.begin(), catalogue.end(), [&](const auto* a, const auto* b) {
        return sortkode(a, OvelseField::Sortkode) < sortkode(b, OvelseField::Sortkode);
    });
    std::map<QString, std::vector<const TOvDefElement*>> ovDefs;
    TOvDefList& ovDefList = ovelser.OvDefList();
    for (int pos = 0; pos < ovDefList.GetCount(); ++pos) {
        const TOvDefElement* ovDef = ovDefList.GetElement(pos);
        ovDefs[ovDef->GetTrimmedString(OvDefField::Ovelse).toUpper()].push_back(ovDef);
    }
    for (auto& [ovelse, defs] : ovDefs)
        std::stable_sort(defs.begin(), defs.end(), [&](const auto* a, const auto* b) {
            return sortkode(a, OvDefField::Sortkode) < sortkode(b, OvDefField::Sortkode);
        });
    for (const TOvelseElement* ovelse : catalogue) {
        if (!TypeShown(OvelseTyper2, ovelse->GetOvtype()))
            continue;
        const QString kode = ovelse->GetTrimmedString(OvelseField::Ovelse);
        const auto defs = ovDefs.find(kode.toUpper());
        if (defs == ovDefs.end()) {
            addCandidate(kode, nullptr);
            continue;
        }
        for (const TOvDefElement* ovDef : defs->second)
            addCandidate(kode, ovDef);
    }
    UpdateState();
}

void TStaevneDefForm::AddRows(std::vector<std::unique_ptr<TEditOvelseData>> rows) {
    QSet<QString> har;
    for (int i = 0; i < raekke_.GetCount(); ++i)
        har.insert(RowKey(raekke_.GetItem(i)->Klasse, raekke_.GetItem(i)->Ovelse));
    bool added = false;
    for (std::unique_ptr<TEditOvelseData>& row : rows) {
        const QString key = RowKey(row->Klasse, row->Ovelse);
        if (har.contains(key))
            continue;
        har.insert(key);
        raekke_.Add(std::move(row));
        added = true;
    }
    if (added)
        raekke_.SortByKlasse();
}

void TStaevneDefForm::OpretOvelserClick() {
    TOvelseManager& ovelser = *OvelseManager;
    const std::vector<int> klasser = SelectedKlasser(*KlasseListbox2);
    std::vector<std::unique_ptr<TEditOvelseData>> rows;
    for (const QListWidgetItem* candidate : StandardOvelser->selectedItems()) {
        const QString kode = candidate->data(OvelseRole).toString();
        const QString attribut = candidate->data(AttributRole).toString();
        const TOvelseElement* ovelse = ovelser.FindOvelse(kode);
        if (ovelse == nullptr)
            continue;
        const TOvDefElement* ovDef = attribut.isEmpty() ? nullptr : ovelser.FindOvDef(kode, attribut);
        for (const int nr : klasser) {
            std::unique_ptr<TEditOvelseData> row = NyOvelseData(nr, *ovelse, ovDef);
            SetRundeSlots(*row, StartDatoTid());
            rows.push_back(std::move(row));
        }
    }
    AddRows(std::move(rows));
    StandardOvelser->clearSelection();
    KlasseListbox2->clearSelection();
    FillOvelserListbox2();
    FillStandardOvelser();
}

// ---------------------------------------------------------------- Side 3: event details

void TStaevneDefForm::FillOvelserListbox() {
    const TVisning visning = Visning();
    QStringList tabs = {QStringLiteral("45"), QStringLiteral("60"), QStringLiteral("25")};
    if (visning == TVisning::Gebyrer1 || visning == TVisning::Gebyrer2)
        tabs << QStringLiteral("70") << QStringLiteral("70") << QStringLiteral("70");
    else if (visning == TVisning::RundeInfo)
        tabs << QStringLiteral("120") << QStringLiteral("40");
    else
        tabs << QStringLiteral("600");
    OvelserListbox->SetTabs(tabs);

    std::vector<TEditOvelseData*> rows;
    for (int i = 0; i < raekke_.GetCount(); ++i) {
        if (TypeShown(OvelseTyper3, raekke_.GetItem(i)->Ovtype))
            rows.push_back(raekke_.GetItem(i));
    }
    // Classes of the meet's own share one number: their codes tell them apart.
    const bool klasseFoerst = KlasseOvelse->isChecked();
    const auto before = [klasseFoerst](const auto* a, const auto* b) {
        const auto klasse = [](const TEditOvelseData* row) { return std::tie(row->KlasseNr, row->Klasse); };
        const auto ovelse = [](const TEditOvelseData* row) { return std::tie(row->OvelseNr, row->Ovelse); };
        return klasseFoerst ? std::tuple_cat(klasse(a), ovelse(a)) < std::tuple_cat(klasse(b), ovelse(b))
                            : std::tuple_cat(ovelse(a), klasse(a)) < std::tuple_cat(ovelse(b), klasse(b));
    };
    // The rows are kept in class-then-event order: that order needs no sort.
    if (!std::is_sorted(rows.begin(), rows.end(), before))
        std::stable_sort(rows.begin(), rows.end(), before);

    const QTime start = Starttidspunkt->time();
    // A change of view or values keeps the rows selected: the lines of the selected rows are selected
    // again at once, in runs of neighbouring lines, so that the cost stays linear in the rows.
    const std::vector<TEditOvelseData*> selectedRows = SelectedRows();
    std::unordered_set<const TEditOvelseData*> selected;
    selected.reserve(selectedRows.size());
    selected.insert(selectedRows.begin(), selectedRows.end());
    std::vector<std::pair<QString, TEditOvelseData*>> lines;
    lines.reserve(rows.size());
    const auto addLine = [&lines](TEditOvelseData* row, const QString& runde, const QString& info) {
        lines.emplace_back(QString(row->Klasse % u'\t' % row->Ovelse % u'\t' % runde % u'\t' % info), row);
    };
    for (TEditOvelseData* row : rows) {
        const QString foerste = row->Runder.left(1);
        switch (visning) {
        case TVisning::OvelsesInfo:
            addLine(row, foerste, row->Attribut.isEmpty() ? QString() : row->AttributTekst);
            break;
        case TVisning::Gebyrer1:
            addLine(row, foerste, Gebyrer(row->Startgebyr1, row->Efteranmgebyr1, row->Strafgebyr1));
            break;
        case TVisning::Gebyrer2:
            addLine(row, foerste, Gebyrer(row->Startgebyr2, row->Efteranmgebyr2, row->Strafgebyr2));
            break;
        case TVisning::Runder: {
            QString runder;
            for (const QChar runde : row->Runder)
                runder += QStringLiteral("  ") + GetRundeNavn(QString(runde));
            addLine(row, foerste, runder);
            break;
        }
        case TVisning::RundeInfo:
            for (int n = 1; n <= std::min<int>(static_cast<int>(row->Runder.size()), EditRundeSlots); ++n) {
                const TEditRundeData& slot = row->Slot(n);
                const TDateTime tid = VistRundeTid(slot.DatoTid, start);
                const QString tidText =
                    tid == EmptyDateTime
                        ? QString()
                        : FormatDateTime(QStringLiteral("dd.mm.yy hh:nn"), DateTimeToQDateTime(tid));
                addLine(row, row->Runder.mid(n - 1, 1), tidText + u'\t' + QString::number(slot.ResType));
            }
            break;
        case TVisning::AntalPrHeat:
            addLine(row, foerste, QString::number(row->AntalPrHeat));
            break;
        }
    }
    ShowLines(lines, selected);
}

void TStaevneDefForm::ShowLines(const std::vector<std::pair<QString, TEditOvelseData*>>& lines,
                                const std::unordered_set<const TEditOvelseData*>& selected) {
    const QSignalBlocker quiet(OvelserListbox);
    OvelserListbox->clear();
    {
        // The list has no insert of many lines: the view hears of them once, not of each on its own.
        const QSignalBlocker silent(OvelserListbox->model());
        for (const auto& [text, row] : lines)
            AddLine(*OvelserListbox, text, {{RowRole, QVariant::fromValue(reinterpret_cast<quintptr>(row))}});
    }
    OvelserListbox->reset();
    QItemSelection selection;
    const auto line = [this](int nr) { return OvelserListbox->model()->index(nr, 0); };
    int runStart = -1;
    for (int nr = 0; nr <= static_cast<int>(lines.size()); ++nr) {
        const bool select = nr < static_cast<int>(lines.size()) && selected.contains(lines[nr].second);
        if (select && runStart < 0)
            runStart = nr;
        if (!select && runStart >= 0) {
            selection.select(line(runStart), line(nr - 1));
            runStart = -1;
        }
    }
    OvelserListbox->selectionModel()->select(selection, QItemSelectionModel::Select);
}

std::vector<TEditOvelseData*> TStaevneDefForm::SelectedRows() const {
    // The selection's runs of lines in line order, each row once (the round view shows a row on a line
    // per round); no line is asked whether it is selected.
    std::vector<std::pair<int, int>> runs;
    for (const QItemSelectionRange& range : OvelserListbox->selectionModel()->selection())
        runs.emplace_back(range.top(), range.bottom());
    std::sort(runs.begin(), runs.end());
    std::vector<TEditOvelseData*> rows;
    const TEditOvelseData* last = nullptr;
    int next = 0; // runs may overlap
    for (const auto& [top, bottom] : runs) {
        for (int line = std::max(top, next); line <= bottom; ++line) {
            auto* row = reinterpret_cast<TEditOvelseData*>(
                OvelserListbox->item(line)->data(RowRole).value<quintptr>());
            // A row's lines stand together.
            if (row != last)
                rows.push_back(row);
            last = row;
        }
        next = std::max(next, bottom + 1);
    }
    return rows;
}

void TStaevneDefForm::RetClick() {
    const std::vector<TEditOvelseData*> rows = SelectedRows();
    if (rows.empty() || Visning() == TVisning::RundeInfo)
        return;
    TRetOvelseDataForm dialog(this);
    dialog.ShowValues(*rows.front());
    if (RunDialog(dialog) != mrOk)
        return;
    if (const std::optional<QString> failure = FailureOf([&] {
            for (TEditOvelseData* row : rows)
                dialog.ApplyTo(*row, StartDatoTid());
        }))
        ShowError(this, *failure);
    FillOvelserListbox();
    UpdateState();
}

void TStaevneDefForm::SletClick() {
    const std::vector<TEditOvelseData*> rows = SelectedRows();
    if (rows.empty() || Visning() == TVisning::RundeInfo)
        return;
    if (!AskConfirm(this, QStringLiteral("Slet alle markerede øvelser")))
        return;
    OvelserListbox->clear();
    const std::unordered_set<const TEditOvelseData*> slettes(rows.begin(), rows.end());
    raekke_.RemoveIf([&slettes](const TEditOvelseData& row) { return slettes.contains(&row); });
    FillOvelserListbox();
    UpdateState();
}
