#pragma once
// Quick entry of running results (the event editor's page "Løbe resultater" in a fun-run meet) without its
// widgets: the loaded rows in the grid's order, Enter in the start-number box and in the result box,
// automatic timing with its log "AutoTid.Txt" in the program folder, and the running time from a scan
// time and the start time. The page shows what this holds; the question before an existing result is
// overwritten goes through the message presenter.
#include <QString>
#include <QStringList>
#include <QTime>

#include <functional>
#include <optional>
#include <unordered_map>
#include <vector>

class QObject;
class TOvelseInfo;
class TResultat;
class TResultatManager;

// The columns of `LobeResultatGrid`.
enum class TQuickColumn : int { Nummer, Nr, Resultat, Navn, Klub, ScanTid, Tid };
constexpr int QuickColumnCount = 7;

// What Enter in `QuickStartnummer` came to.
enum class TQuickStart {
    // An empty box, or announcer mode: nothing happened.
    Nothing,
    // The row had a result and the user kept it.
    Kept,
    // The row is found: the result is typed in `QuickResultat`.
    EnterResultat,
    // Automatic timing: the registration time became the row's result.
    Registered
};

struct TQuickStartOutcome {
    TQuickStart What = TQuickStart::Nothing;
    // The grid row to stand on; -1 for none.
    int Row = -1;
    // A log line that could not be written; the registration went on.
    QString LogFejl;
};

struct TQuickResultOutcome {
    // The grid row to stand on; -1 for none.
    int Row = -1;
    // Why the text is no result: it stays in the box with this reason. Empty when it was taken.
    QString Fejl;
};

class TQuickEntry {
public:
    // The manager holds the selected rounds (TResultatManager::LoadOvelser).
    explicit TQuickEntry(TResultatManager& manager);

    // Entering the page: the selected rounds loaded together, then Fill. False when there are none.
    bool Enter(const std::vector<TOvelseInfo*>& rounds);
    // The rows sorted by result and start number. False when there are none, and the grid stays hidden.
    bool Fill();
    // Leaving the page: the rows are saved, then each round in turn is loaded alone and saved (so that
    // its places are computed) and saved(round) is called for its overview cell. Nothing is saved in
    // announcer mode.
    void Leave(const std::vector<TOvelseInfo*>& rounds, const std::function<void(TOvelseInfo&)>& saved = {});
    // The rows and the grid's empty last row.
    int RowCount() const { return int(rows_.size()) + 1; }
    // Null for the empty last row.
    TResultat* RowAt(int row) const;
    QString CellText(int row, TQuickColumn column) const;
    static QStringList Headings();
    // The grid row of the start number; -1 when none.
    int RowOf(qint32 startnummer) const;
    // Announcer mode: nothing is changed.
    static bool IsReadOnly();

    // The start-number box's text: none when it is empty. Raises for a text that is no start number.
    static std::optional<qint32> ParseStartnummer(const QString& text);
    // Enter in `QuickStartnummer` at the time now. With autoTid the log line is written first, whatever
    // follows. Raises "Startnummer findes ikke" for a number without a row. A row with a result is only
    // overwritten after "Ja" to the question (default "Nej").
    TQuickStartOutcome EnterStartnummer(const QString& text, const QTime& now, bool autoTid,
                                        QObject* owner = nullptr);
    // Enter in `QuickResultat`: the text becomes the result of the start number's row.
    TQuickResultOutcome EnterResultat(const QString& startnummerText, const QString& resultatText);
    // Leaving a "Resultat" cell: the text becomes the row's result; returns the cell's new text. Raises
    // for a text that is no result, changing nothing.
    QString SetResultatCell(int row, const QString& text);

    // Leaving `Starttid`: "Tid" is the running time of every row from now on.
    void SetStarttid(const QTime& start) { starttid_ = start; }
    // The running time "hh:nn:ss" from the start to a scan time ("hh.nn.ss"); empty unless the scan
    // time is six digits of a time of day, not before the start.
    static QString LobeTid(const QString& scanTid, const QTime& start);

    // The log line of automatic timing: the start number right-aligned in 5 and the time "hh:nn:ss".
    static QString AutoTidLine(qint32 startnummer, const QTime& time);
    // "AutoTid.Txt" in the program folder.
    static QString AutoTidFileName();
    // Appends the line; false when it could not be written.
    static bool AppendAutoTid(qint32 startnummer, const QTime& time);

private:
    TResultatManager& manager_;
    std::vector<TResultat*> rows_;
    std::unordered_map<qint32, int> byStartnummer_;
    std::optional<QTime> starttid_;
};
