#pragma once
// The team sheet of a team competition (DT, VT, LTU): a club is a team, each row a member and each
// further column a round of the meet, in which the member's place in the team for that event is typed
// (or an entry mark, or a personal best, by the meet's settings). The sheet's checks and its writing into
// participants and entries; the window only shows the texts.
#include "model/D_DBDef.h"

#include <QString>
#include <QStringList>

#include <vector>

class TKlubManager;
class TOvelseInfo;
class TOvelseManager;
class TSystemData;

// The meet's settings the sheet follows. A number of 0 sets no limit.
struct THoldSettings {
    bool UndladKontrol = false;
    bool IndtastSeedning = false;
    bool IndtastPR = false;
    qint32 AntalDeltagerePrOvelse = 0;
    qint32 MaxAntalOvelserPrDeltager = 0;
};
THoldSettings HoldSettings(const TSystemData& systemData);

// The sheet's event columns: the rounds of the meet in programme order.
std::vector<TOvelseInfo*> HoldColumns(const TOvelseManager& ovelser);

// One cell: its round, the result it shows (null: none), its text now and as it was filled.
struct THoldCell {
    TOvelseInfo* Info = nullptr;
    TResultatElement* Resultat = nullptr;
    QString Text;
    QString Shown;
};

// One member: the participant (null for a row typed in), the three participant texts and a cell per
// column.
struct THoldRow {
    TDeltagerElement* Deltager = nullptr;
    QString Navn;
    QString Aargang;
    QString Koen;
    std::vector<THoldCell> Cells;
};

// The text a result shows in its column: the entry mark or the personal best when the sheet takes
// those (empty for none), else its outside-competition code, else its rank.
QString HoldCellText(const THoldSettings& settings, const TOvelseInfo& info,
                     const TResultatElement& resultat);

// The loaded club's members, one row each (one empty row for a club without any), each result in the
// column of its own round; a result of no column's round is not shown.
std::vector<THoldRow> HoldRows(TKlubManager& klubber, TOvelseManager& ovelser, const THoldSettings& settings,
                               const std::vector<TOvelseInfo*>& columns);

// A text typed into a cell of the round: refused with the sheet's messages, or the text to show.
QString CheckHoldCell(const THoldSettings& settings, const TOvelseInfo& info, const QString& text);
// The member's number in the team for the event is unique in its column: after the cell of row went
// from before to now, the other rows of the column that change, with their new texts. The other holder of
// the number gets before when that was a number; otherwise it is emptied.
std::vector<std::pair<int, QString>> HoldColumnChanges(const THoldSettings& settings,
                                                       const QStringList& column, int row,
                                                       const QString& before, const QString& now);
// Refuses a row with more filled event cells than a member may have.
void CheckHoldEvents(const THoldSettings& settings, int filled);

// What SaveHoldturnering did.
struct THoldSaveResult {
    // Per row, the start number of a participant it made; 0 for the others.
    std::vector<qint32> NewStartnumre;
    // "Error in SaveHoldturnering (1): " (a row) or "(2): " (a cell) and the error, in order.
    QStringList Errors;
};

// Writes the sheet into the loaded club's participants and entries; the club manager's save stores them.
// Each row's participant takes its three texts (a row with a name and none gets a new participant with
// the next free start number); each cell whose text changed writes its result (a new one gets the
// round of its column), and a result whose cell was emptied is deleted. A row or cell that fails is
// reported and the next one follows: its participant and results stay. A row without participant and
// without name is passed over, cells and all. Participants that no row shows are deleted with their
// results; results of no column's round are kept.
THoldSaveResult SaveHoldturnering(TKlubManager& klubber, const THoldSettings& settings,
                                  const std::vector<THoldRow>& rows);
