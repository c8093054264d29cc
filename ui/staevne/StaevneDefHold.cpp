#include "ui/staevne/StaevneDefHold.h"

#include "foundation/LxString.h"
#include "foundation/controls/EditUtil.h"
#include "foundation/controls/Extstrgr.h"
#include "foundation/controls/MsgForm.h"
#include "model/D_Staevne.h"
#include "model/D_StdKlasser.h"
#include "ui/WidgetKit.h"

#include <QAbstractItemModel>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

QString HoldLetter(int row) {
    return QString(QChar(u'A' + row - 1));
}

bool IsNumber(const QString& text) {
    return !FailureOf([&text] { CommaStrToFloat(text); });
}

} // namespace

// ---------------------------------------------------------------- the pages' common part

THoldSide::THoldSide(QWidget* parent, const QStringList& headings)
    : QWidget(parent)
    , HoldGrid(new TExtStringGrid(this))
    , ChoiceColumn(new QVBoxLayout) {
    HoldGrid->setObjectName(QStringLiteral("HoldGrid"));
    HoldGrid->SetColCount(static_cast<int>(headings.size()));
    HoldGrid->SetFixedRows(1);
    HoldGrid->SetRowCount(HoldCount + 1);
    HoldGrid->Columns().BeginUpdate();
    for (const QString& heading : headings)
        HoldGrid->Columns().Add().SetText(heading);
    HoldGrid->Columns().GetItem(HoldCol).ReadOnly = true;
    HoldGrid->Columns().GetItem(HoldCol).Tabulator = false;
    HoldGrid->Columns().EndUpdate();
    HoldGrid->SetColWidths(HoldCol, 40);
    HoldGrid->SetColWidths(KlubCol, 200);
    HoldGrid->SetOptions(TGridOption::goEditing | TGridOption::goAlwaysShowEditor | TGridOption::goColSizing);
    HoldGrid->StartColumnAtNewLine = KlubCol;
    HoldGrid->setEnabled(false);
    connect(HoldGrid->model(), &QAbstractItemModel::dataChanged, this, &THoldSide::Changed);

    auto* page = new QHBoxLayout(this);
    page->addLayout(ChoiceColumn);
    page->addWidget(HoldGrid, 1);
    ChoiceColumn->setSpacing(4);
}

QButtonGroup* THoldSide::ChoiceBox(const QString& title, const QList<QWidget*>& controls,
                                   const std::function<void()>& onClick) {
    auto* box = new QGroupBox(title, this);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(6, 2, 6, 2);
    auto* group = new QButtonGroup(box);
    for (QWidget* control : controls) {
        layout->addWidget(control);
        if (auto* button = qobject_cast<QRadioButton*>(control))
            group->addButton(button);
    }
    ChoiceColumn->addWidget(box);
    connect(group, &QButtonGroup::buttonClicked, this, [this, onClick] {
        onClick();
        emit Changed();
    });
    return group;
}

void THoldSide::BuildSteps(const QString& firstTitle, const QList<QWidget*>& first,
                           const QList<QWidget*>& runder, const QRadioButton* finale,
                           const QList<QWidget*>& distrikter, const std::function<void()>& afterRunde) {
    first_ = ChoiceBox(firstTitle, first, [this] {
        if (!runde_->buttons().front()->isEnabled())
            EnableAll(runde_, true);
    });
    runde_ = ChoiceBox(QStringLiteral(" Vælg runde "), runder, [this, finale, afterRunde] {
        EnableAll(distrikt_, !finale->isChecked());
        UntickDisabled(distrikt_);
        if (afterRunde)
            afterRunde();
        if (finale->isChecked())
            HoldGrid->setEnabled(true);
    });
    distrikt_ =
        ChoiceBox(QStringLiteral(" Vælg distrikt "), distrikter, [this] { HoldGrid->setEnabled(true); });
    ChoiceColumn->addStretch();
    EnableAll(runde_, false);
    EnableAll(distrikt_, false);
}

void THoldSide::UntickDisabled(QButtonGroup* group) {
    for (QAbstractButton* button : group->buttons()) {
        if (!button->isEnabled() && button->isChecked()) {
            group->setExclusive(false);
            button->setChecked(false);
            group->setExclusive(true);
        }
    }
}

void THoldSide::EnableAll(QButtonGroup* group, bool enabled) {
    for (QAbstractButton* button : group->buttons())
        button->setEnabled(enabled);
}

void THoldSide::Enter() {
    for (int row = 1; row <= HoldCount; ++row)
        HoldGrid->SetCells(HoldCol, row, HoldLetter(row));
}

bool THoldSide::HasHold() const {
    for (int row = 1; row <= HoldCount; ++row) {
        if (!TrimBlanks(HoldGrid->Cells(KlubCol, row)).isEmpty())
            return true;
    }
    return false;
}

double THoldSide::PointRunde1(int) const {
    return 0;
}

std::vector<THoldKlub> THoldSide::Hold() const {
    std::vector<THoldKlub> hold;
    for (int row = 1; row <= HoldCount; ++row) {
        const QString klub = HoldGrid->Cells(KlubCol, row);
        if (klub.isEmpty())
            continue;
        const QString letter = HoldLetter(row);
        const QString navn = TrimBlanks(klub);
        hold.push_back({navn.isEmpty() ? QStringLiteral("Hold ") + letter : navn, letter, PointRunde1(row)});
    }
    return hold;
}

QStringList THoldSide::EnteredState() const {
    QStringList state;
    for (const QAbstractButton* button : findChildren<QAbstractButton*>())
        state << QString::number(button->isChecked());
    for (const TIntegerEdit* edit : findChildren<TIntegerEdit*>())
        state << edit->text();
    // Column "Hold" holds the letters the page writes itself.
    for (int col = KlubCol; col < HoldGrid->ColCount(); ++col) {
        for (int row = 1; row <= HoldCount; ++row)
            state << HoldGrid->Cells(col, row);
    }
    return state;
}

THoldValg THoldSide::Valg() const {
    THoldValg valg = Choices();
    valg.Hold = Hold();
    return valg;
}

THoldProgram THoldSide::Program() const {
    return HoldProgram(Choices());
}

THoldDistrikt THoldSide::Distrikt(const QRadioButton* oest, const QRadioButton* vest) {
    if (oest->isChecked())
        return THoldDistrikt::Oest;
    return vest->isChecked() ? THoldDistrikt::Vest : THoldDistrikt::Ingen;
}

// ---------------------------------------------------------------- DT

TDTSide1Page::TDTSide1Page(QWidget* parent)
    : THoldSide(parent, {QStringLiteral("Hold"), QStringLiteral("Klub")})
    , DTMaend(MakeRadio(this, QStringLiteral("DTMaend"), QStringLiteral("Mænd")))
    , DTKvinder(MakeRadio(this, QStringLiteral("DTKvinder"), QStringLiteral("Kvinder")))
    , DTIndledende(MakeRadio(this, QStringLiteral("DTIndledende"), QStringLiteral("Indledende runde")))
    , DTKvalifikation(MakeRadio(this, QStringLiteral("DTKvalifikation"), QStringLiteral("Kvalifikation")))
    , DTFinale(MakeRadio(this, QStringLiteral("DTFinale"), QStringLiteral("Finale")))
    , Divisioner{MakeRadio(this, QStringLiteral("EliteDivision"), QStringLiteral("Elitedivision")),
                 MakeRadio(this, QStringLiteral("Division1"), QStringLiteral("1. division")),
                 MakeRadio(this, QStringLiteral("Division2"), QStringLiteral("2. division")),
                 MakeRadio(this, QStringLiteral("Division3"), QStringLiteral("3. division")),
                 MakeRadio(this, QStringLiteral("Division4"), QStringLiteral("4. division")),
                 MakeRadio(this, QStringLiteral("Division5"), QStringLiteral("5. division")),
                 MakeRadio(this, QStringLiteral("Division6"), QStringLiteral("6. division")),
                 MakeRadio(this, QStringLiteral("Division7"), QStringLiteral("7. division"))}
    , EliteDivision(Divisioner[DTEliteDivision])
    , DTOest(MakeRadio(this, QStringLiteral("DTOest"), QStringLiteral("Øst")))
    , DTVest(MakeRadio(this, QStringLiteral("DTVest"), QStringLiteral("Vest")))
    , AntalDTHold(new TIntegerEdit(this))
    , DTDobbeltMatch(new QCheckBox(QStringLiteral("Dobbelt match"), this)) {
    setObjectName(QStringLiteral("DTSide1Page"));
    AntalDTHold->setObjectName(QStringLiteral("AntalDTHold"));
    AntalDTHold->MinValue = 1;
    AntalDTHold->MaxValue = HoldCount;
    DTDobbeltMatch->setObjectName(QStringLiteral("DTDobbeltMatch"));

    first_ = ChoiceBox(QStringLiteral(" Vælg køn "), {DTMaend, DTKvinder}, [this] { KoenClick(); });
    runde_ = ChoiceBox(QStringLiteral(" Vælg runde "), {DTIndledende, DTKvalifikation, DTFinale},
                       [this] { RundeClick(); });
    division_ = ChoiceBox(QStringLiteral(" Vælg division"), {Divisioner.begin(), Divisioner.end()},
                          [this] { DivisionClick(); });
    distrikt_ = ChoiceBox(QStringLiteral(" Vælg distrikt "), {DTOest, DTVest}, [this] { DistriktClick(); });
    ChoiceBox(QStringLiteral(" Antal hold "), {AntalDTHold}, [] {});
    ChoiceColumn->addWidget(DTDobbeltMatch);
    ChoiceColumn->addStretch();

    EnableAll(runde_, false);
    EnableAll(division_, false);
    EnableAll(distrikt_, false);
    AntalDTHold->setEnabled(false);
    DTDobbeltMatch->setEnabled(false);
    connect(AntalDTHold, &QLineEdit::textChanged, this, &THoldSide::Changed);
    connect(DTDobbeltMatch, &QCheckBox::toggled, this, &THoldSide::Changed);
}

int TDTSide1Page::Division() const {
    const auto chosen =
        std::find_if(Divisioner.begin(), Divisioner.end(), [](QRadioButton* b) { return b->isChecked(); });
    return chosen == Divisioner.end() ? -1 : static_cast<int>(chosen - Divisioner.begin());
}

void TDTSide1Page::KoenClick() {
    if (!EliteDivision->isEnabled())
        EnableAll(division_, true);
    UpdateDobbeltMatch();
}

void TDTSide1Page::DivisionClick() {
    const bool elite = Division() == DTEliteDivision;
    DTIndledende->setEnabled(true);
    DTKvalifikation->setEnabled(true);
    DTFinale->setEnabled(elite);
    DTOest->setEnabled(!elite);
    DTVest->setEnabled(!elite);
    UntickDisabled(runde_);
    UntickDisabled(distrikt_);
    UpdateDobbeltMatch();
}

void TDTSide1Page::RundeClick() {
    EliteDivision->setEnabled(distrikt_->checkedButton() == nullptr);
    for (int division = 1; division < DTDivisionCount; ++division)
        Divisioner.at(static_cast<std::size_t>(division))->setEnabled(!DTFinale->isChecked());
    HoldGrid->setEnabled(true);
    AntalDTHold->setEnabled(true);
    if (TrimBlanks(AntalDTHold->text()).isEmpty())
        AntalDTHold->setText(Division() == DTEliteDivision && DTIndledende->isChecked()
                                 ? QStringLiteral("8")
                                 : QStringLiteral("6"));
    UpdateDobbeltMatch();
}

void TDTSide1Page::DistriktClick() {
    HoldGrid->setEnabled(true);
    AntalDTHold->setEnabled(true);
    UpdateDobbeltMatch();
}

// Only a table with double times offers the double match.
void TDTSide1Page::UpdateDobbeltMatch() {
    const bool offered = HarDobbeltTider(Program());
    DTDobbeltMatch->setEnabled(offered);
    if (!offered)
        DTDobbeltMatch->setChecked(false);
}

THoldValg TDTSide1Page::Choices() const {
    THoldValg valg;
    valg.Turnering = THoldTurnering::DT;
    if (first_->checkedButton() != nullptr)
        valg.Maend = DTMaend->isChecked();
    valg.Division = Division();
    valg.Runde = DTIndledende->isChecked()      ? THoldRunde::Indledende
                 : DTKvalifikation->isChecked() ? THoldRunde::Kvalifikation
                 : DTFinale->isChecked()        ? THoldRunde::Finale
                                                : THoldRunde::Ingen;
    valg.Distrikt = Distrikt(DTOest, DTVest);
    valg.AntalHold = AntalHold();
    // Only a table with double times offers the double match.
    valg.DobbeltMatch = DTDobbeltMatch->isEnabled() && DTDobbeltMatch->isChecked();
    return valg;
}

bool TDTSide1Page::IsComplete() const {
    const bool distrikt = Division() == DTEliteDivision || distrikt_->checkedButton() != nullptr;
    return !Program().empty() && distrikt && AntalHold() > 0 && HasHold();
}

int TDTSide1Page::AntalHold() const {
    bool ok = false;
    const int antal = TrimBlanks(AntalDTHold->text()).toInt(&ok);
    return ok && antal >= AntalDTHold->MinValue && antal <= AntalDTHold->MaxValue ? antal : 0;
}

// ---------------------------------------------------------------- VT

TVTSide1Page::TVTSide1Page(QWidget* parent)
    : THoldSide(parent, {QStringLiteral("Hold"), QStringLiteral("Klub"), QStringLiteral("Points 1. runde")})
    , VTMaend(MakeRadio(this, QStringLiteral("VTMaend"), QStringLiteral("Mænd")))
    , VTKvinder(MakeRadio(this, QStringLiteral("VTKvinder"), QStringLiteral("Kvinder")))
    , VTRunde1(MakeRadio(this, QStringLiteral("VTRunde1"), QStringLiteral("1. indledende runde")))
    , VTRunde2(MakeRadio(this, QStringLiteral("VTRunde2"), QStringLiteral("2. indledende runde")))
    , VTOestVestFinale(MakeRadio(this, QStringLiteral("VTOestVestFinale"), QStringLiteral("Øst/vest finale")))
    , VTFinale(MakeRadio(this, QStringLiteral("VTFinale"), QStringLiteral("Finale")))
    , VTOest(MakeRadio(this, QStringLiteral("VTOest"), QStringLiteral("Øst")))
    , VTVest(MakeRadio(this, QStringLiteral("VTVest"), QStringLiteral("Vest"))) {
    setObjectName(QStringLiteral("VTSide1Page"));
    BuildSteps(QStringLiteral(" Vælg køn "), {VTMaend, VTKvinder},
               {VTRunde1, VTRunde2, VTOestVestFinale, VTFinale}, VTFinale, {VTOest, VTVest},
               [this] { RundeClick(); });
    HoldGrid->Columns().GetItem(PointCol).ReadOnly = true;
    HoldGrid->SetColWidths(PointCol, 110);
    HoldGrid->OnLeaveCell = [this](int col, int row, bool& allow) { LeaveCell(col, row, allow); };
}

void TVTSide1Page::RundeClick() {
    HoldGrid->Columns().GetItem(PointCol).ReadOnly = !VTRunde2->isChecked();
    if (!VTRunde2->isChecked()) {
        for (int row = 1; row <= HoldCount; ++row)
            HoldGrid->SetCells(PointCol, row, QString());
    }
}

bool TVTSide1Page::PointsEditable() const {
    return !HoldGrid->Columns().GetItem(PointCol).ReadOnly;
}

void TVTSide1Page::LeaveCell(int col, int row, bool& allow) {
    const QString points = TrimBlanks(HoldGrid->Cells(col, row));
    if (col != PointCol || !PointsEditable() || points.isEmpty() || IsNumber(points))
        return;
    allow = false;
    ShowErrorLater(this, QStringLiteral("Forkert angivelse af points"));
}

double TVTSide1Page::PointRunde1(int row) const {
    return PointsEditable() ? CommaStrToFloatDef(TrimBlanks(HoldGrid->Cells(PointCol, row)), 0) : 0;
}

THoldValg TVTSide1Page::Choices() const {
    THoldValg valg;
    valg.Turnering = THoldTurnering::VT;
    if (first_->checkedButton() != nullptr)
        valg.Maend = VTMaend->isChecked();
    valg.Runde = VTRunde1->isChecked()           ? THoldRunde::Runde1
                 : VTRunde2->isChecked()         ? THoldRunde::Runde2
                 : VTOestVestFinale->isChecked() ? THoldRunde::OestVestFinale
                 : VTFinale->isChecked()         ? THoldRunde::Finale
                                                 : THoldRunde::Ingen;
    valg.Distrikt = Distrikt(VTOest, VTVest);
    return valg;
}

bool TVTSide1Page::IsComplete() const {
    if (Program().empty() || !HasHold())
        return false;
    if (!VTFinale->isChecked() && distrikt_->checkedButton() == nullptr)
        return false;
    if (!PointsEditable())
        return true;
    for (int row = 1; row <= HoldCount; ++row) {
        if (!HoldGrid->Cells(KlubCol, row).isEmpty() && !IsNumber(TrimBlanks(HoldGrid->Cells(PointCol, row))))
            return false;
    }
    return true;
}

// ---------------------------------------------------------------- DMU hold

TLTUSide1Page::TLTUSide1Page(QWidget* parent)
    : THoldSide(parent, {QStringLiteral("Hold"), QStringLiteral("Klub")})
    , LTUD15(MakeRadio(this, QStringLiteral("LTUD15"), QStringLiteral("D15")))
    , LTUP15(MakeRadio(this, QStringLiteral("LTUP15"), QStringLiteral("P15")))
    , LTUD19(MakeRadio(this, QStringLiteral("LTUD19"), QStringLiteral("D19")))
    , LTUP19(MakeRadio(this, QStringLiteral("LTUP19"), QStringLiteral("P19")))
    , LTUIndledende(MakeRadio(this, QStringLiteral("LTUIndledende"), QStringLiteral("Indledende")))
    , LTUFinale(MakeRadio(this, QStringLiteral("LTUFinale"), QStringLiteral("Finale")))
    , LTUOest(MakeRadio(this, QStringLiteral("LTUOest"), QStringLiteral("Øst")))
    , LTUVest(MakeRadio(this, QStringLiteral("LTUVest"), QStringLiteral("Vest"))) {
    setObjectName(QStringLiteral("LTUSide1Page"));
    BuildSteps(QStringLiteral(" Vælg klasse "), {LTUD15, LTUP15, LTUD19, LTUP19}, {LTUIndledende, LTUFinale},
               LTUFinale, {LTUOest, LTUVest});
}

QString TLTUSide1Page::Klasse() const {
    const QAbstractButton* chosen = first_->checkedButton();
    return chosen ? chosen->text() : QString();
}

THoldValg TLTUSide1Page::Choices() const {
    THoldValg valg;
    valg.Turnering = THoldTurnering::LTU;
    valg.Klasse = Klasse();
    valg.Runde = LTUIndledende->isChecked() ? THoldRunde::Indledende
                 : LTUFinale->isChecked()   ? THoldRunde::Finale
                                            : THoldRunde::Ingen;
    valg.Distrikt = Distrikt(LTUOest, LTUVest);
    return valg;
}

bool TLTUSide1Page::IsComplete() const {
    return !Program().empty() && HasHold() &&
           (LTUFinale->isChecked() || distrikt_->checkedButton() != nullptr);
}
