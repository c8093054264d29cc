#include "ui/klub/EditKlubBetaling.h"

#include "foundation/LxString.h"
#include "foundation/controls/Extstrgr.h"
#include "foundation/controls/MsgForm.h"
#include "model/D_Klub.h"
#include "model/D_Vare.h"
#include "ui/klub/EditKlubGrid.h"

#include <algorithm>

namespace {

// The payment's text field holds 50 characters.
constexpr int BetalingTekstSize = 50;

bool IsUnbound(const TExtStringGrid& grid, int row) {
    return grid.IsRowEmpty(row) && grid.Objects(0, row) == 0;
}

// The grid's cursor on its first cell, the rules quiet meanwhile.
void Home(TExtStringGrid& grid, bool& quiet) {
    const TQuietRules quietly(quiet);
    grid.GotoCell(0, grid.FixedRows(), true);
    grid.CommitCell();
}

// Sets the record's field from the cell's text and shows the field's text again.
void Take(TExtStringGrid& grid, int col, int row, TDataElement& element, int fieldNo) {
    TField& field = *element.GetField(fieldNo);
    field.SetAsString(TrimmedCell(grid, col, row));
    grid.SetCells(col, row, field.GetTrimmedString());
}

} // namespace

TBetalingGridRules::TBetalingGridRules(TExtStringGrid& kobGrid, TExtStringGrid& betalingGrid,
                                       TKlubManager& klubber)
    : QObject(&kobGrid)
    , kobGrid_(kobGrid)
    , betalingGrid_(betalingGrid)
    , klubber_(klubber) {
    SetupKlubGrid(kobGrid_, {{u"Vare", 49, false, false, true},
                             {u"Antal", 37, false, false, true},
                             {u"Varetekst", 217, false, true},
                             {u"Pris", 64, false, true, true}});
    SetupKlubGrid(betalingGrid_, {{u"Dato", 58},
                                  {u"Tekst", 240, false, false, false, BetalingTekstSize},
                                  {u"Beløb", 58, false, false, true}});
    for (TExtStringGrid* grid : {&kobGrid_, &betalingGrid_}) {
        grid->AutoExtend = true;
        grid->AutoDelete = true;
        grid->AutoInsert = true;
        grid->EnterKeyMovement = TEnterKeyMovement::ekEnter;
    }
    kobGrid_.OnLeaveCell = [this](int col, int row, bool& allow) {
        allow = true;
        if (!quiet_)
            LeaveKobCell(col, row);
    };
    kobGrid_.OnLeaveRow = [this](int row, bool& allow) {
        allow = true;
        if (!quiet_)
            CheckKobRow(row);
    };
    kobGrid_.BeforeDelete = [this](int row, bool& allow) {
        allow = true;
        if (TKlubkobElement* klubkob = Klubkob(row))
            klubber_.MarkDeleted(*klubkob);
    };
    betalingGrid_.OnLeaveCell = [this](int col, int row, bool& allow) {
        allow = true;
        if (!quiet_)
            LeaveBetalingCell(col, row);
    };
    betalingGrid_.BeforeDelete = [this](int row, bool& allow) {
        allow = true;
        if (TBetalingElement* betaling = Betaling(row))
            klubber_.MarkDeleted(*betaling);
    };
}

TKlubkobElement* TBetalingGridRules::Klubkob(int row) const {
    return Bound<TKlubkobElement>(kobGrid_, VareCol, row);
}

TBetalingElement* TBetalingGridRules::Betaling(int row) const {
    return Bound<TBetalingElement>(betalingGrid_, DatoCol, row);
}

// ---------------------------------------------------------------- purchases

void TBetalingGridRules::ShowVare(int row, const QString& varenummer) {
    TVareManager& varer = *klubber_.VareManager();
    const TVareElement& vare = varer.SelectVare(varenummer);
    const TGruppeElement& gruppe = varer.SelectGruppe(vare.GetField(VareField::Gruppe)->GetAsString());
    kobGrid_.SetCells(VaretekstCol, row,
                      gruppe.GetTrimmedString(GruppeField::Tekst) + QStringLiteral(" - ") +
                          vare.GetTrimmedString(VareField::Korttekst));
    kobGrid_.SetCells(PrisCol, row, FloatToStrDec(vare.GetField(VareField::Pris)->GetAsFloat(), 2));
}

void TBetalingGridRules::FillKlubkobGrid() {
    const TQuietRules quiet(quiet_);
    TKlubkobList& list = klubber_.KlubkobList();
    kobGrid_.BeginUpdate();
    kobGrid_.SetRowCount(2);
    kobGrid_.ClearRow(1);
    int row = 1;
    for (int pos = 0; pos < list.GetCount(); ++pos) {
        TKlubkobElement* klubkob = static_cast<TKlubkobElement*>(list.GetElement(pos));
        if (klubkob->DeleteRequested || klubkob->Deleted)
            continue;
        kobGrid_.SetRowCount(std::max(kobGrid_.RowCount(), row + 1));
        Bind(kobGrid_, VareCol, row, klubkob);
        const QString varenummer = klubkob->GetTrimmedString(KlubkobField::Varenummer);
        kobGrid_.SetCells(VareCol, row, varenummer);
        kobGrid_.SetCells(AntalCol, row, klubkob->GetTrimmedString(KlubkobField::Antal));
        // Goods gone from the meet since leave the text empty.
        const std::optional<QString> failure = FailureOf([&] { ShowVare(row, varenummer); });
        (void)failure;
        ++row;
    }
    kobGrid_.EndUpdate();
    Home(kobGrid_, quiet_);
}

void TBetalingGridRules::LeaveKobCell(int col, int row) {
    if (IsUnbound(kobGrid_, row) || col > AntalCol)
        return;
    if (col == VareCol && !TrimmedCell(kobGrid_, col, row).isEmpty())
        ShowVare(row, TrimmedCell(kobGrid_, col, row));
    TKlubkobElement* klubkob = Klubkob(row);
    if (!klubkob) {
        if (TrimmedCell(kobGrid_, col, row).isEmpty())
            return;
        klubkob = &klubber_.GetKlubkob(klubber_.NewKlubkob());
        Bind(kobGrid_, VareCol, row, klubkob);
    }
    Take(kobGrid_, col, row, *klubkob, col == VareCol ? KlubkobField::Varenummer : KlubkobField::Antal);
}

void TBetalingGridRules::CheckKobRow(int row) {
    if (const TKlubkobElement* klubkob = Klubkob(row)) {
        TVareManager& varer = *klubber_.VareManager();
        const TVareElement& vare =
            varer.SelectVare(klubkob->GetField(KlubkobField::Varenummer)->GetAsString());
        varer.SelectGruppe(vare.GetField(VareField::Gruppe)->GetAsString());
    }
}

// ---------------------------------------------------------------- payments

void TBetalingGridRules::FillBetalingGrid() {
    const TQuietRules quiet(quiet_);
    TBetalingList& list = klubber_.BetalingList();
    betalingGrid_.BeginUpdate();
    betalingGrid_.SetRowCount(2);
    betalingGrid_.ClearRow(1);
    int row = 1;
    for (int pos = 0; pos < list.GetCount(); ++pos) {
        TBetalingElement* betaling = static_cast<TBetalingElement*>(list.GetElement(pos));
        if (betaling->DeleteRequested || betaling->Deleted)
            continue;
        betalingGrid_.SetRowCount(std::max(betalingGrid_.RowCount(), row + 1));
        Bind(betalingGrid_, DatoCol, row, betaling);
        betalingGrid_.SetCells(DatoCol, row, betaling->GetTrimmedString(BetalingField::Dato));
        betalingGrid_.SetCells(TekstCol, row, betaling->GetTrimmedString(BetalingField::Tekst));
        betalingGrid_.SetCells(BelobCol, row, betaling->GetTrimmedString(BetalingField::Belob));
        ++row;
    }
    betalingGrid_.EndUpdate();
    Home(betalingGrid_, quiet_);
}

void TBetalingGridRules::LeaveBetalingCell(int col, int row) {
    if (IsUnbound(betalingGrid_, row))
        return;
    TBetalingElement* betaling = Betaling(row);
    if (!betaling) {
        if (TrimmedCell(betalingGrid_, col, row).isEmpty())
            return;
        betaling = &klubber_.GetBetaling(klubber_.NewBetaling());
        Bind(betalingGrid_, DatoCol, row, betaling);
    }
    static constexpr int Fields[] = {BetalingField::Dato, BetalingField::Tekst, BetalingField::Belob};
    Take(betalingGrid_, col, row, *betaling, Fields[col]);
}

// ---------------------------------------------------------------- both

bool TBetalingGridRules::Commit() {
    if (!kobGrid_.CommitCell() || !betalingGrid_.CommitCell())
        return false;
    return Guarded(&kobGrid_, [this] {
        CheckKobRow(kobGrid_.Row());
        return true;
    });
}

bool TBetalingGridRules::IsCellEdited() const {
    return kobGrid_.CellModified(kobGrid_.Col()) || betalingGrid_.CellModified(betalingGrid_.Col());
}
