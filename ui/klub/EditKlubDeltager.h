#pragma once
// The clubs dialog's participant grid: a club's participants, each with its entries on its own row and
// the rows below, and what leaving a cell or a row, entering a cell and deleting a row do to them. The
// rules on the records are the model's (model/D_Klub.h, model/D_KlubEdit.h); here the grid's rows are
// kept bound to what they show.
#include "model/D_DBDef.h"

#include <QObject>
#include <QString>

#include <functional>

class TExtStringGrid;
class TKlubManager;
class TOvelseManager;
class TSystemData;

class TDeltagerGridRules : public QObject {
    Q_OBJECT
public:
    enum TCol : int {
        StartnummerCol,
        NavnCol,
        AargangCol,
        KlasseCol,
        OvelseCol,
        SeedningCol,
        PRCol,
        EfteranmCol,
        KodeCol,
        GebyrCol,
        RankCol,
        DiplomCol,
        ColCount
    };

    // Lays the grid out and takes its events.
    TDeltagerGridRules(TExtStringGrid& grid, TKlubManager& klubber, TOvelseManager& ovelser,
                       const TSystemData& systemData);

    // Whether the auto-tab tool is down.
    std::function<bool()> AutoTab;
    // Saves the club; false when it was not saved (the user has been told).
    std::function<bool()> SaveKlub;

    // The loaded club's rows; one empty row for a club without participants.
    void Fill();
    // The open cell and the current row pass their checks, as when they are left; false when refused
    // (the reason has been shown).
    bool Commit();
    // Whether the open cell holds a text not yet taken.
    bool IsCellEdited() const;

    // The participant or entry a row shows; null when none.
    TDeltagerElement* Deltager(int row) const;
    TResultatElement* Resultat(int row) const;
    // The column the auto-tab works from: "PR" with the meet's personal-best setting, else "Tilmeldt res".
    int AutoTabCol() const;

    // ---- The grid's events; a refusal raises its message
    void LeaveCell(int col, int row, bool& allow);
    void LeaveRow(int row, bool& allow);
    void SelectCell(int col, int row, bool& canSelect);
    void BeforeDelete(int row, bool& allow);
    // The auto-tab message: the club saved, and a new participant numbered after the one above.
    void WMAutoTab();

private:
    void LeaveStartnummer(int row, const QString& text);
    void LeaveDeltagerField(int col, int row, const QString& text);
    void LeaveKlasse(int row, const QString& text);
    void LeaveOvelse(int row, const QString& text);
    void LeaveEntryField(int col, int row, const QString& text);
    // The row's participant, made (with the row's start number, or the next free one with automatic
    // numbering) when it has none.
    TDeltagerElement& DeltagerOf(int row);
    TDeltagerElement& NewDeltager(int row, qint32 startnummer);
    // The row's entry, made from its class and event when it has none; raises when they name no event
    // row of the meet.
    TResultatElement& EntryOf(int row);
    // The start number of the nearest participant at or above the row; raises when there is none.
    qint32 NearestStartnummer(int row) const;
    void CheckRow(int row);
    void ShowDeltager(int row, const TDeltagerElement& deltager);
    void ShowEntry(int row, const TResultatElement& resultat);
    void ClearEntry(int row);
    void SetCell(int col, int row, const QString& text);
    // Moves the row's participant, with its cells, to the next row.
    void MoveDeltagerDown(int row);
    void DeleteDeltager(int row, TDeltagerElement& deltager);
    // The columns Enter stops at from the auto-tab column on: the entry's event, marks and rank.
    static bool IsAutoTabStop(int col);
    void SetTabStops(bool autoTab);
    int NewLineCol() const;

    TExtStringGrid& grid_;
    TKlubManager& klubber_;
    TOvelseManager& ovelser_;
    const bool autoStartnummer_;
    const bool brugPR_;
    bool autoTabPending_ = false;
    // The dialog itself is filling the grid or moving its cursor: no rule runs.
    bool quiet_ = false;
};
