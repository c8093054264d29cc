#include "ui/klub/EditKlubDeltager.h"

#include "foundation/Exception.h"
#include "foundation/controls/Extstrgr.h"
#include "foundation/controls/MsgForm.h"
#include "model/D_Klub.h"
#include "model/D_KlubEdit.h"
#include "model/D_Ovelser.h"
#include "model/D_StaevneSystemData.h"
#include "ui/klub/EditKlubGrid.h"

#include <QApplication>
#include <QScopeGuard>

#include <algorithm>
#include <array>
#include <optional>
#include <set>
#include <utility>

namespace {

using C = TDeltagerGridRules;

const QString StartnummerMangler = QStringLiteral("Der skal angives et startnummer");
const QString IkkeTilladt =
    QStringLiteral("Det er ikke tilladt at indtaste data her, når der ikke er angivet et startnummer");

// The record field each column shows; -1 for none.
constexpr std::array<int, C::ColCount> FieldOf = {
    DeltagerField::Startnummer,
    DeltagerField::Navn,
    DeltagerField::Aargang,
    ResultatField::Klasse,
    ResultatField::Ovelse,
    ResultatField::Seedning,
    ResultatField::PersonligRekord,
    ResultatField::Efteranmeldelse,
    ResultatField::ResultatKode,
    -1,
    ResultatField::Rank,
    DeltagerField::DiplomStatus,
};
constexpr std::array<int, 4> DeltagerCols = {C::StartnummerCol, C::NavnCol, C::AargangCol, C::DiplomCol};
constexpr std::array<int, 7> EntryCols = {C::KlasseCol,   C::OvelseCol, C::SeedningCol, C::PRCol,
                                          C::EfteranmCol, C::KodeCol,   C::RankCol};

} // namespace

TDeltagerGridRules::TDeltagerGridRules(TExtStringGrid& grid, TKlubManager& klubber, TOvelseManager& ovelser,
                                       const TSystemData& systemData)
    : QObject(&grid)
    , grid_(grid)
    , klubber_(klubber)
    , ovelser_(ovelser)
    , autoStartnummer_(systemData.AutoTildelStartnumre)
    , brugPR_(systemData.BrugPersonligRekord) {
    SetupKlubGrid(grid_, {{u"Startnummer", 75, false, false, true},
                          {u"Navn", 196, false, false, false, DeltagerFieldSize::Navn},
                          {u"Årgang", 41, false, false, true},
                          {u"Klasse", 36, true, false, false, ResultatFieldSize::Klasse},
                          {u"Øvelse", 48, true, false, false, ResultatFieldSize::Ovelse},
                          {u"Tilmeldt res", 68, false, false, true},
                          {u"PR", 67, false, false, true},
                          {u"Efteranm.", 46},
                          {u"Kode", 36, true},
                          {u"Gebyr", 54, false, true, true},
                          {u"Rank", 30, false, false, true},
                          {u"Diplom", 35, false, false, true}});
    grid_.EnterKeyMovement = TEnterKeyMovement::ekEnter;
    grid_.AutoExtend = true;
    grid_.AutoInsert = true;
    grid_.AutoDelete = true;
    SetTabStops(false);
    grid_.OnLeaveCell = [this](int col, int row, bool& allow) { LeaveCell(col, row, allow); };
    grid_.OnLeaveRow = [this](int row, bool& allow) { LeaveRow(row, allow); };
    grid_.OnSelectCell = [this](int col, int row, bool& canSelect) { SelectCell(col, row, canSelect); };
    grid_.BeforeDelete = [this](int row, bool& allow) { BeforeDelete(row, allow); };
}

// ---------------------------------------------------------------- rows and their elements

TDeltagerElement* TDeltagerGridRules::Deltager(int row) const {
    return Bound<TDeltagerElement>(grid_, StartnummerCol, row);
}

TResultatElement* TDeltagerGridRules::Resultat(int row) const {
    return Bound<TResultatElement>(grid_, NavnCol, row);
}

void TDeltagerGridRules::ShowDeltager(int row, const TDeltagerElement& deltager) {
    for (const int col : DeltagerCols)
        SetCell(col, row, DeltagerText(deltager, FieldOf[static_cast<std::size_t>(col)]));
}

void TDeltagerGridRules::ShowEntry(int row, const TResultatElement& resultat) {
    for (const int col : EntryCols)
        SetCell(col, row, EntryText(ovelser_, resultat, FieldOf[static_cast<std::size_t>(col)]));
}

void TDeltagerGridRules::SetCell(int col, int row, const QString& text) {
    // A large club fills many cells that are empty already.
    if (!text.isEmpty() || !grid_.Cells(col, row).isEmpty())
        grid_.SetCells(col, row, text);
}

void TDeltagerGridRules::ClearEntry(int row) {
    Bind(grid_, NavnCol, row, nullptr);
    for (int col = KlasseCol; col <= RankCol; ++col)
        grid_.SetCells(col, row, QString());
}

void TDeltagerGridRules::Fill() {
    const TQuietRules quiet(quiet_);
    const std::vector<TDeltagerRow> rows = DeltagerRows(klubber_, ovelser_);
    grid_.BeginUpdate();
    grid_.SetRowCount(2);
    grid_.ClearRow(1);
    grid_.SetRowCount(std::max<int>(static_cast<int>(rows.size()), 1) + 1);
    int row = 1;
    for (const TDeltagerRow& shown : rows) {
        if (shown.Deltager) {
            Bind(grid_, StartnummerCol, row, shown.Deltager);
            ShowDeltager(row, *shown.Deltager);
        }
        if (shown.Resultat) {
            Bind(grid_, NavnCol, row, shown.Resultat);
            ShowEntry(row, *shown.Resultat);
        }
        ++row;
    }
    grid_.EndUpdate();
    grid_.GotoCell(StartnummerCol, 1, true);
    grid_.CommitCell();
    SetTabStops(false);
}

bool TDeltagerGridRules::IsCellEdited() const {
    return grid_.CellModified(grid_.Col());
}

bool TDeltagerGridRules::Commit() {
    if (!grid_.CommitCell())
        return false;
    return Guarded(&grid_, [this] {
        CheckRow(grid_.Row());
        return true;
    });
}

// ---------------------------------------------------------------- participants

TDeltagerElement& TDeltagerGridRules::NewDeltager(int row, qint32 startnummer) {
    klubber_.CheckStartnummer(startnummer, nullptr);
    TDeltagerElement& deltager = klubber_.GetDeltager(klubber_.NewDeltager());
    klubber_.ChangeStartnummer(deltager, startnummer);
    Bind(grid_, StartnummerCol, row, &deltager);
    grid_.SetCells(StartnummerCol, row, DeltagerText(deltager, DeltagerField::Startnummer));
    return deltager;
}

void TDeltagerGridRules::LeaveStartnummer(int row, const QString& text) {
    TDeltagerElement* deltager = Deltager(row);
    if (text.isEmpty()) {
        if (row == grid_.FixedRows() || deltager)
            throw Exception(StartnummerMangler);
        return;
    }
    const qint32 startnummer = ParseStartnummer(text);
    if (!deltager) {
        NewDeltager(row, startnummer);
        return;
    }
    if (startnummer != deltager->GetField(DeltagerField::Startnummer)->GetAsInteger()) {
        klubber_.ChangeStartnummer(*deltager, startnummer);
        QApplication::beep();
    }
    grid_.SetCells(StartnummerCol, row, DeltagerText(*deltager, DeltagerField::Startnummer));
}

TDeltagerElement& TDeltagerGridRules::DeltagerOf(int row) {
    if (TDeltagerElement* deltager = Deltager(row))
        return *deltager;
    if (const QString typed = TrimmedCell(grid_, StartnummerCol, row); !typed.isEmpty())
        return NewDeltager(row, ParseStartnummer(typed));
    if (!autoStartnummer_)
        throw Exception(IkkeTilladt);
    return NewDeltager(row, klubber_.GetNextStartnummer());
}

void TDeltagerGridRules::LeaveDeltagerField(int col, int row, const QString& text) {
    if (text.isEmpty() && !Deltager(row))
        return;
    TDeltagerElement& deltager = DeltagerOf(row);
    grid_.SetCells(col, row, SetDeltagerText(deltager, FieldOf[static_cast<std::size_t>(col)], text));
}

// ---------------------------------------------------------------- entries

qint32 TDeltagerGridRules::NearestStartnummer(int row) const {
    for (int above = row; above >= grid_.FixedRows(); --above) {
        if (const TDeltagerElement* deltager = Deltager(above))
            return deltager->GetField(DeltagerField::Startnummer)->GetAsInteger();
    }
    throw Exception(StartnummerMangler);
}

TResultatElement& TDeltagerGridRules::EntryOf(int row) {
    if (TResultatElement* resultat = Resultat(row))
        return *resultat;
    const qint32 startnummer = NearestStartnummer(row);
    TResultatElement& resultat = NewEntry(klubber_, ovelser_, startnummer, TrimmedCell(grid_, KlasseCol, row),
                                          TrimmedCell(grid_, OvelseCol, row));
    Bind(grid_, NavnCol, row, &resultat);
    ShowEntry(row, resultat);
    return resultat;
}

void TDeltagerGridRules::LeaveKlasse(int row, const QString& text) {
    TResultatElement* resultat = Resultat(row);
    if (resultat) {
        grid_.SetCells(KlasseCol, row, SetEntryText(ovelser_, *resultat, ResultatField::Klasse, text));
        return;
    }
    if (text.isEmpty())
        return;
    ovelser_.LocateKlasse(text);
    grid_.SetCells(KlasseCol, row, text.toUpper());
}

void TDeltagerGridRules::LeaveOvelse(int row, const QString& text) {
    TResultatElement* resultat = Resultat(row);
    if (text.isEmpty() && !resultat)
        return;
    ovelser_.LocateOvelse(text);
    // A further entry takes its class from the row above.
    if (TrimmedCell(grid_, KlasseCol, row).isEmpty() && row > grid_.FixedRows()) {
        grid_.SetCells(KlasseCol, row, TrimmedCell(grid_, KlasseCol, row - 1));
        LeaveKlasse(row, TrimmedCell(grid_, KlasseCol, row));
    }
    if (resultat) {
        grid_.SetCells(OvelseCol, row, SetEntryText(ovelser_, *resultat, ResultatField::Ovelse, text));
        return;
    }
    grid_.SetCells(OvelseCol, row, text.toUpper());
    EntryOf(row);
}

void TDeltagerGridRules::LeaveEntryField(int col, int row, const QString& text) {
    if (text.isEmpty() && !Resultat(row))
        return;
    TResultatElement& resultat = EntryOf(row);
    grid_.SetCells(col, row, SetEntryText(ovelser_, resultat, FieldOf[static_cast<std::size_t>(col)], text));
}

void TDeltagerGridRules::CheckRow(int row) {
    TResultatElement* resultat = Resultat(row);
    const QString klasse = TrimmedCell(grid_, KlasseCol, row);
    const QString ovelse = TrimmedCell(grid_, OvelseCol, row);
    if (!resultat && klasse.isEmpty() && ovelse.isEmpty())
        return;
    ovelser_.LocateOvelseRk(klasse, ovelse);
    TResultatElement& entry = EntryOf(row);
    CheckSecondEntry(klubber_, entry.GetField(ResultatField::Startnummer)->GetAsInteger(), klasse, ovelse,
                     &entry);
}

// ---------------------------------------------------------------- the grid's events

void TDeltagerGridRules::LeaveCell(int col, int row, bool& allow) {
    allow = true;
    if (quiet_ || (grid_.IsRowEmpty(row) && !Deltager(row) && !Resultat(row)))
        return;
    const QString text = TrimmedCell(grid_, col, row);
    switch (col) {
    case StartnummerCol:
        LeaveStartnummer(row, text);
        break;
    case NavnCol:
    case AargangCol:
    case DiplomCol:
        LeaveDeltagerField(col, row, text);
        break;
    case KlasseCol:
        LeaveKlasse(row, text);
        break;
    case OvelseCol:
        LeaveOvelse(row, text);
        break;
    case GebyrCol:
        break;
    default:
        LeaveEntryField(col, row, text);
        break;
    }
}

void TDeltagerGridRules::LeaveRow(int row, bool& allow) {
    allow = true;
    if (quiet_ || (grid_.IsRowEmpty(row) && !Deltager(row) && !Resultat(row)))
        return;
    CheckRow(row);
}

void TDeltagerGridRules::SelectCell(int col, int row, bool& canSelect) {
    canSelect = true;
    if (quiet_)
        return;
    // The auto-tab column narrows Enter to the entry's own cells, with new lines at the event; a cell
    // outside those, or any with the tool up, widens it again.
    const bool autoTab = AutoTab && AutoTab();
    if (!autoTab || !IsAutoTabStop(col))
        SetTabStops(false);
    else if (col == AutoTabCol())
        SetTabStops(true);
    const bool empty = grid_.IsRowEmpty(row) && !Deltager(row) && !Resultat(row);
    if (col >= SeedningCol && col <= KodeCol && !empty) {
        ovelser_.LocateOvelseRk(TrimmedCell(grid_, KlasseCol, row), TrimmedCell(grid_, OvelseCol, row));
        EntryOf(row);
    }
    // A cell entered again (a command taking the open cell first) is no move into it.
    const bool moved = col != grid_.Col() || row != grid_.Row();
    if (autoTab && moved && col == AutoTabCol() && empty && !autoTabPending_) {
        autoTabPending_ = true;
        QMetaObject::invokeMethod(this, &TDeltagerGridRules::WMAutoTab, Qt::QueuedConnection);
    }
}

void TDeltagerGridRules::WMAutoTab() {
    // The save enters the cell again: the message is not posted a second time meanwhile.
    const auto done = qScopeGuard([this] { autoTabPending_ = false; });
    if (SaveKlub && !SaveKlub())
        return;
    Guarded(&grid_, [this] {
        const int row = grid_.Row();
        std::optional<qint32> above;
        for (int r = row; r >= grid_.FixedRows(); --r) {
            const QString text = TrimmedCell(grid_, StartnummerCol, r);
            if (text.isEmpty())
                continue;
            bool number = false;
            const qint32 value = text.toInt(&number);
            if (number)
                above = value;
            break;
        }
        if (!above) {
            grid_.GotoCell(StartnummerCol, row, true);
            return true;
        }
        grid_.SetCells(StartnummerCol, row, QString::number(*above + 1));
        try {
            LeaveStartnummer(row, TrimmedCell(grid_, StartnummerCol, row));
        } catch (...) {
            // The number stays typed in its cell for the user to change.
            const TQuietRules quiet(quiet_);
            grid_.GotoCell(StartnummerCol, row, true);
            throw;
        }
        grid_.GotoCell(NavnCol, row, true);
        return true;
    });
}

// ---------------------------------------------------------------- deleting rows

void TDeltagerGridRules::MoveDeltagerDown(int row) {
    const int next = row + 1;
    Bind(grid_, StartnummerCol, next, Deltager(row));
    Bind(grid_, StartnummerCol, row, nullptr);
    for (const int col : DeltagerCols)
        grid_.SetCells(col, next, grid_.Cells(col, row));
    if (TrimmedCell(grid_, KlasseCol, next).isEmpty() && !TrimmedCell(grid_, KlasseCol, row).isEmpty()) {
        grid_.SetCells(KlasseCol, next, grid_.Cells(KlasseCol, row));
        LeaveKlasse(next, TrimmedCell(grid_, KlasseCol, next));
    }
}

void TDeltagerGridRules::DeleteDeltager(int row, TDeltagerElement& deltager) {
    // Its entries go with it, and so do the rows that show them on their own.
    const std::vector<TResultatElement*> resultater =
        klubber_.GetResultater(deltager.GetField(DeltagerField::Startnummer)->GetAsInteger());
    const std::set<const TDataElement*> entries(resultater.begin(), resultater.end());
    klubber_.DeleteDeltager(deltager);
    std::vector<int> gone{row};
    for (int r = grid_.FixedRows(); r < grid_.RowCount(); ++r) {
        if (r != row && entries.contains(Resultat(r)) && !Deltager(r))
            gone.push_back(r);
    }
    std::sort(gone.rbegin(), gone.rend());
    const TQuietRules quiet(quiet_);
    for (const int r : gone)
        grid_.RemoveRow(r);
    grid_.CommitCell();
}

void TDeltagerGridRules::BeforeDelete(int row, bool& allow) {
    allow = true;
    TDeltagerElement* deltager = Deltager(row);
    TResultatElement* resultat = Resultat(row);
    const bool furtherEntry = row + 1 < grid_.RowCount() && Resultat(row + 1) && !Deltager(row + 1) &&
                              TrimmedCell(grid_, StartnummerCol, row + 1).isEmpty();
    if (deltager && furtherEntry) {
        // The participant goes on with its next entry.
        MoveDeltagerDown(row);
        if (resultat)
            klubber_.MarkDeleted(*resultat);
    } else if (deltager && !resultat) {
        DeleteDeltager(row, *deltager);
        allow = false;
    } else if (deltager) {
        // Its only entry goes; the participant stays.
        klubber_.MarkDeleted(*resultat);
        ClearEntry(row);
        if (grid_.Col() > AargangCol) {
            const TQuietRules quiet(quiet_);
            grid_.GotoCell(StartnummerCol, row, true);
        }
        allow = false;
    } else if (resultat) {
        klubber_.MarkDeleted(*resultat);
    }
}

// ---------------------------------------------------------------- auto-tab

int TDeltagerGridRules::AutoTabCol() const {
    return brugPR_ ? PRCol : SeedningCol;
}

int TDeltagerGridRules::NewLineCol() const {
    return autoStartnummer_ ? NavnCol : StartnummerCol;
}

bool TDeltagerGridRules::IsAutoTabStop(int col) {
    return (col >= OvelseCol && col <= PRCol) || col == RankCol;
}

void TDeltagerGridRules::SetTabStops(bool autoTab) {
    for (int col = 0; col < ColCount; ++col) {
        const bool stop = autoTab ? IsAutoTabStop(col) : col != DiplomCol;
        grid_.Columns().GetItem(col).Tabulator = stop;
    }
    grid_.StartColumnAtNewLine = autoTab ? int(OvelseCol) : NewLineCol();
}
