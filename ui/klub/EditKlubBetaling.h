#pragma once
// The clubs dialog's purchase and payment grids ("KØB" and "BETALINGER"): a row per purchase of goods,
// with the goods' text and price, and a row per payment. A row is bound to the record it shows and makes
// it when its first cell is left with a text.
#include "model/D_DBDef.h"

#include <QObject>

class TExtStringGrid;
class TKlubManager;

class TBetalingGridRules : public QObject {
    Q_OBJECT
public:
    enum TKobCol : int { VareCol, AntalCol, VaretekstCol, PrisCol };
    enum TBetalingCol : int { DatoCol, TekstCol, BelobCol };

    // Lays both grids out and takes their events.
    TBetalingGridRules(TExtStringGrid& kobGrid, TExtStringGrid& betalingGrid, TKlubManager& klubber);

    void FillKlubkobGrid();
    void FillBetalingGrid();
    // The open cells and the current rows pass their checks; false when refused (the reason is shown).
    bool Commit();
    bool IsCellEdited() const;

    TKlubkobElement* Klubkob(int row) const;
    TBetalingElement* Betaling(int row) const;

private:
    void LeaveKobCell(int col, int row);
    void CheckKobRow(int row);
    void LeaveBetalingCell(int col, int row);
    // Shows the goods' text and price of the number in the row; raises for goods the meet does not have.
    void ShowVare(int row, const QString& varenummer);

    TExtStringGrid& kobGrid_;
    TExtStringGrid& betalingGrid_;
    TKlubManager& klubber_;
    bool quiet_ = false;
};
