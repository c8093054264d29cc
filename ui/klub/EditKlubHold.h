#pragma once
// The clubs dialog's team sheet in a team competition: a row per member of the team and a column per
// round of the meet, checked as typed and written by SaveHoldturnering (model/D_KlubHold.h). The name
// of the current row is drawn in bold red and the heading of the current event column in red.
#include "model/D_KlubHold.h"

#include <QObject>

#include <unordered_map>
#include <vector>

class TExtStringGrid;
class TKlubManager;
class TOvelseManager;

class THoldGridRules : public QObject {
    Q_OBJECT
public:
    enum TCol : int { NrCol, DeltagerCol, AargCol, KoenCol, FirstEventCol };

    // Lays the grid out and takes its events.
    THoldGridRules(TExtStringGrid& grid, TKlubManager& klubber, TOvelseManager& ovelser,
                   const THoldSettings& settings);

    // FillHoldGrid: the event columns anew and the loaded club's members.
    void Fill();
    // SaveHoldturnering: the sheet into the club's participants and entries; the errors of rows and
    // cells that failed, each shown.
    void Save();
    // The open cell passes its checks; false when refused (the reason is shown).
    bool Commit();
    // Whether a cell changed since the sheet was filled.
    bool IsEdited() const;

    const std::vector<TOvelseInfo*>& Columns() const { return columns_; }

    void LeaveCell(int col, int row, bool& allow);
    void SelectCell(int col, int row, bool& canSelect);

private:
    std::vector<THoldRow> Rows() const;
    void SizeEventColumns();

    TExtStringGrid& grid_;
    TKlubManager& klubber_;
    TOvelseManager& ovelser_;
    const THoldSettings settings_;
    std::vector<TOvelseInfo*> columns_;
    // The text each result showed when the sheet was filled.
    std::unordered_map<const TResultatElement*, QString> shown_;
    // The current cell's text when it was entered.
    QString entered_;
    bool edited_ = false;
    bool quiet_ = false;
};
