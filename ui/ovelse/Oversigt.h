#pragma once
// The event editor's overview of every round of the meet as plain data: the table the overview grid
// shows in one of its four layouts, with each cell's text and round, the heading of each column, the
// sums of the class/event layout, the club points of team meets, and the grey field-event cells of the
// five-minute schedule. The window copies it into its grid; nothing here needs a display.
//
// Row 0 holds the column headings and column 0 the row labels, as in the grid.
#include <QString>
#include <QStringList>
#include <Qt>

#include <functional>
#include <optional>
#include <unordered_map>
#include <utility>
#include <vector>

class TDataElement;
class TDataList;
class TGridKlasse;
class TOvelseInfo;
class TOvelseManager;
class TResultatManager;

// The layouts, by the item index of the layout choice.
enum class TOversigtSortering : int { Tidsskema = 0, KlasseOvelse = 1, Mangekamp = 2, FemMinutter = 3 };
constexpr int OversigtSorteringCount = 4;

// What shapes the overview: the window's choices and the meet's settings.
struct TOversigtValg {
    TOversigtSortering Sortering = TOversigtSortering::Tidsskema;
    // 0 every day, 1 Monday .. 7 Sunday.
    int Ugedag = 0;
    bool VisNulOvelser = false;
    // The class/event layout shows start times, which may be edited.
    bool VisTidsskema = false;
    bool Redid = false;
    bool Engelsk = false;
    bool HoldTurnering = false;
    bool FlereRunder = false;
    // Points with one decimal (DT competitions, ECup2007).
    bool PointDecimal = false;
    // The labels of the points brought from round 1 and of this meet's (FlereRunder).
    QString FoerText;
    QString NuText;
    // The class filter's overlap counts; null without a class chosen.
    const TGridKlasse* Overlap = nullptr;

    bool IsTidsskema() const {
        return Sortering == TOversigtSortering::Tidsskema || Sortering == TOversigtSortering::FemMinutter;
    }
};

// The meet's settings of the current meet, with the window's choices.
TOversigtValg MeetOversigtValg(TOversigtSortering sortering, int ugedag, bool visNulOvelser,
                               bool visTidsskema);

struct TOversigtColumn {
    QString Header;
    int Width = 64;
    Qt::Alignment Alignment = Qt::AlignLeft;
    // A venue column holding rounds of more than one event.
    bool Mixed = false;
    // The column repeats the row labels.
    bool Label = false;
};

struct TOversigtCell {
    QString Text;
    TOvelseInfo* Info = nullptr;
};

class TOversigt {
public:
    TOversigt();

    int ColCount() const { return static_cast<int>(columns_.size()); }
    int RowCount() const { return rowCount_; }
    const TOversigtColumn& Column(int col) const { return columns_.at(static_cast<std::size_t>(col)); }
    // Empty outside the table.
    QString Text(int col, int row) const;
    // The round of a cell; null for a label cell and outside the table.
    TOvelseInfo* Info(int col, int row) const;
    // The cell of a round; none when it is not shown.
    std::optional<std::pair<int, int>> Find(const TOvelseInfo* info) const;
    // The rows of the time that the row belongs to in the schedules: from the labelled row at or above
    // it down to the row before the next labelled one. The row alone in the other layouts.
    std::pair<int, int> TidRows(int row) const;
    bool HasTidLabel(int row) const;
    // The round's place in time order (for sorting a selection); -1 when it is not shown.
    int TidOrder(const TOvelseInfo* info) const;
    // The first column of the club points; -1 without them.
    int FirstPointsColumn() const { return firstPointsColumn_; }
    // The rows that hold rounds end before this one (the sums and points rows follow).
    int RoundRowsEnd() const { return roundRowsEnd_; }
    // Field-event cells of the five-minute schedule and the empty cells within their estimated
    // duration, with that duration in seconds (rounded up to whole five minutes; 0 for a round's cell
    // whose duration is unknown).
    std::optional<int> Grey(int col, int row) const;
    // What was placed otherwise than its numbers ask (combined-event disciplines), one line each.
    const QStringList& Warnings() const { return warnings_; }
    // All cells, headings and labels included: cells separated by TAB, every row ended by CR LF.
    QString ClipboardText() const;

    // The text of a round's cell as the layout shows it; the cell rewritten. False when not shown.
    bool Rewrite(const TOvelseInfo* info, const TOversigtValg& valg);

    // ---- building (the layouts' own files)
    // The columns: the label column first.
    void AddColumn(TOversigtColumn column);
    // A row of empty cells; its index.
    int AddRow(const QString& label = {});
    void SetText(int col, int row, const QString& text);
    void Place(int col, int row, TOvelseInfo* info, const QString& text);
    TOversigtColumn& ColumnRef(int col) { return columns_.at(static_cast<std::size_t>(col)); }
    void SetFirstPointsColumn(int col) { firstPointsColumn_ = col; }
    void SetRoundRowsEnd(int row) { roundRowsEnd_ = row; }
    void SetTidOrder(const TOvelseInfo* info, int order) { places_[info].TidOrder = order; }
    void SetGrey(int col, int row, int seconds) { grey_[Key(col, row)] = seconds; }
    void Warn(const QString& text) { warnings_.append(text); }
    // At least a heading row and one more.
    void KeepMinimumRows();
    // Room for the places and time order of this many rounds.
    void Reserve(int rounds) { places_.reserve(static_cast<std::size_t>(rounds)); }

private:
    std::size_t Index(int col, int row) const {
        return static_cast<std::size_t>(row) * columns_.size() + static_cast<std::size_t>(col);
    }
    // Raises for a cell outside the table.
    TOversigtCell& CellAt(int col, int row);
    static qint64 Key(int col, int row) {
        return (static_cast<qint64>(row) << 32) | static_cast<quint32>(col);
    }

    std::vector<TOversigtColumn> columns_;
    // The cells row by row, ColCount of them a row; row 0 is the headings' and stays empty.
    std::vector<TOversigtCell> cells_;
    int rowCount_ = 0;
    // A round's cell and time order; -1 for what it has not been given.
    struct TRoundPlace {
        int Col = -1;
        int Row = -1;
        int TidOrder = -1;
    };
    std::unordered_map<const TOvelseInfo*, TRoundPlace> places_;
    std::unordered_map<qint64, int> grey_;
    QStringList warnings_;
    int firstPointsColumn_ = -1;
    int roundRowsEnd_ = 1;
};

// One column per record of a list (the venues, the classes) in the list's order, deleted records left
// out; a round whose record the list lacks gets a column at the end.
class TRecordColumns {
public:
    using TMakeColumn = std::function<TOversigtColumn(const TDataElement&)>;
    TRecordColumns(TOversigt& oversigt, TMakeColumn makeColumn);
    void AddList(TDataList& list);
    int ColOf(const TDataElement& element);

private:
    TOversigt& oversigt_;
    TMakeColumn makeColumn_;
    std::unordered_map<const TDataElement*, int> cols_;
};

// The overview of the event manager's rounds in the chosen layout. manager gives the club texts and
// the round-1 points of team meets; it may be null elsewhere.
TOversigt BuildOversigt(TOvelseManager& ovelser, const TOversigtValg& valg, TResultatManager* manager);

// ---- the cell texts (also used when a cell is rewritten)
// n starters and h heats: " (n/h)" when n >= 1 and h >= 2, " (n)" when n > 0, else nothing.
QString AntalSuffix(const TOvelseInfo& info);
QString OversigtCellText(const TOvelseInfo& info, const TOversigtValg& valg, bool mixed);
// The names of the classes and events that a layout's cells show, each read once for all their rounds.
class TOversigtNames {
public:
    // redid: the classes by their short text.
    explicit TOversigtNames(bool redid);
    const QString& Klasse(const TOvelseInfo& info);
    const QString& Ovelse(const TOvelseInfo& info);

private:
    bool redid_;
    std::unordered_map<const void*, QString> klasser_;
    std::unordered_map<const void*, QString> ovelser_;
};
QString OversigtCellText(const TOvelseInfo& info, const TOversigtValg& valg, bool mixed,
                         TOversigtNames& names);
// The round's start time "hh:nn".
QString TidText(const TOvelseInfo& info);
// Minutes after midnight of the round's start time.
int TidMinutes(const TOvelseInfo& info);
// Whether the round counts in the overview: its weekday chosen, and entries unless rounds without are shown.
bool IsShown(const TOvelseInfo& info, const TOversigtValg& valg);

// ---- the layouts' own builders
void BuildTidsskema(TOversigt& oversigt, TOvelseManager& ovelser, const TOversigtValg& valg,
                    TResultatManager* manager);
void BuildKlasseOvelse(TOversigt& oversigt, TOvelseManager& ovelser, const TOversigtValg& valg);
void BuildMangekamp(TOversigt& oversigt, TOvelseManager& ovelser, const TOversigtValg& valg);
// The club points of a team meet from the first points column on; the rows of the rounds end at
// roundRows.
void BuildKlubPoints(TOversigt& oversigt, const TOversigtValg& valg, TResultatManager& manager);
// The grey cells of the five-minute schedule.
void CalcFeltSkygge(TOversigt& oversigt);
// The seconds a field event takes: by attempts for horizontal jumps and throws, by athletes for
// vertical jumps; 0 for other events.
int FeltVarighed(const TOvelseInfo& info);
