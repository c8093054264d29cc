#pragma once
// What the results board shows, worked out without a window: the rounds its board file names, which of
// them has results to show, the pages of a round's rows sorted by result, the title screen, the pictures,
// and the move to the next page or round on every tick. The window (ResultatInfo.h) paints the screen this
// gives and nothing else, so painting never moves the board on.
#include <QFontMetrics>
#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class TOvelseInfo;
class TResultatManager;
class TResultatRecordTable;

// One row on the board.
struct TBoardRow {
    QString Plac;
    QString Startnr;
    QString Resultat;
    QString Navn;

    bool operator==(const TBoardRow&) const = default;
};

// A round as the board shows it: its texts, its counters, and every row that started and has a result,
// sorted by result (heat first where the places go by heat).
struct TBoardRound {
    QString KlasseText;
    QString OvelseText;
    int AntalResultater = 0;
    int AntalStartere = 0;
    std::vector<TBoardRow> Rows;

    bool operator==(const TBoardRound&) const = default;
};

enum class TBoardScreenKind { Title, Round, Picture };

// One screen of the board.
struct TBoardScreen {
    TBoardScreenKind Kind = TBoardScreenKind::Title;
    // The title screen: the meet's three heading lines and the organiser's line; the board's own line at
    // the foot.
    QStringList TitleLines;
    QString Footer;
    // A round: the class at the left of the head line with the counts after it, the event at its right;
    // in a fun run the counts again on the last line. The page's rows.
    QString KlasseText;
    QString Counts;
    QString OvelseText;
    QString MotionCounts;
    std::vector<TBoardRow> Rows;
    // A picture: its index in the board's pictures.
    int Picture = -1;
};

// A round's head line on a board of the given width: the class at the left margin, the counts after it and
// the event right-aligned at the right margin. On a narrow board the class and the counts are cut short,
// ending in an ellipsis, before the event text instead of being written over it.
struct TBoardHeadLine {
    QString KlasseText;
    int CountsLeft = 0;
    QString Counts;
    int OvelseLeft = 0;
};
constexpr int BoardLeftMargin = 10;
constexpr int BoardRightMargin = 10;
constexpr int BoardCountsGap = 10;
TBoardHeadLine FitHeadLine(const TBoardScreen& screen, int width, const QFontMetrics& metrics);

// Where the board draws, for a screen size: the row height, the fitted font sizes and the columns.
struct TBoardLayout {
    int RowHeight = 0;
    int FontSize = 0;
    // Place and start number, 0.8 of the size, lowered so that they stand on the line of the others.
    int SmallSize = 0;
    int SmallDrop = 0;
    // The column headings, half the size.
    int HeadingSize = 0;
    // Right edges of "Nr", "Startnr" and "Resultat", left edge of "Navn".
    int NrRight = 0;
    int StartnrRight = 0;
    int ResultatRight = 0;
    int NavnLeft = 0;
};

// The pixel height of a text in the board's font at a size.
using TTextHeight = std::function<int(int size)>;
// The font size whose "Xg" fills a row: from 10 up until the text's height reaches the row height, then
// 3 less.
int FitFontSize(int rowHeight, const TTextHeight& textHeight);
TBoardLayout BoardLayout(QSize screen, int linesPerScreen, const TTextHeight& textHeight);

// The board's cycle, one step per tick.
class TBoardPages {
public:
    static constexpr int LinesPerScreen = 17;
    static constexpr int FirstRowLine = 2;
    // A round written while it loads is loaded again, at most this many times in a step.
    static constexpr int MaxLoads = 3;

    // The board of that number (1..9) over the open meet: one result manager for its whole life.
    explicit TBoardPages(int board);
    ~TBoardPages();
    TBoardPages(const TBoardPages&) = delete;
    TBoardPages& operator=(const TBoardPages&) = delete;

    // One step: the board file read anew when it appeared, went or changed in time or size (then the
    // event manager reads the programme anew and the board starts at the first round); otherwise, with
    // moveOn, the next page, or after a round's last page the next round. Rounds without results are
    // passed over on their records alone; the one to show is loaded, and only that one, and shown only
    // when its records were the same before and after: a whole round, never half of a save. With no round
    // to show, the title screen. A round written on every load keeps the screen as it was; the next step
    // tries it again.
    void Read(bool moveOn);
    // Pictures are decoded to no more than this size needs, and one far larger is left out (the bounds
    // of ResultatInfoJpeg.h); none: their own size, within a full-HD screen's bounds.
    void SetScreenSize(QSize size) { screenSize_ = size; }

    int Board() const { return board_; }
    // The file read last holds a "TIMER" line: the board moves on by itself. Without one it holds its
    // screen until Space.
    bool Cycling() const { return cycling_; }
    int ReloadCount() const { return reloadCount_; }
    const TBoardScreen& Screen() const { return screen_; }
    // The rounds the board file names, in its order.
    const std::vector<TOvelseInfo*>& Ovelser() const { return ovelser_; }
    const std::vector<QImage>& Pictures() const { return pictures_; }
    // The round shown and the place in the cycle: the round's index in Ovelser() (a picture's after the
    // rounds), its page and its number of pages.
    const TBoardRound* Round() const { return round_ ? &*round_ : nullptr; }
    int Item() const { return cursor_.Item; }
    int Page() const { return cursor_.Page; }
    int PageCount() const { return pageCount_; }
    int RowsPerPage() const;
    // The rounds loaded into the result manager since the board started.
    int LoadCount() const { return loadCount_; }

private:
    struct TCursor {
        int Item = 0;
        int Page = 0;
    };
    // The file's modification time, size and file number: a file replaced by a rename is a new one.
    struct TFileStamp {
        qint64 ModifiedNs = 0;
        qint64 Size = 0;
        quint64 Inode = 0;
        bool operator==(const TFileStamp&) const = default;
    };
    static std::optional<TFileStamp> StampOf(const QString& path);

    bool ReadFileIfChanged();
    void LoadPictures(const QStringList& names);
    TCursor Advanced(TCursor cursor) const;
    int ItemCount() const { return static_cast<int>(ovelser_.size() + pictures_.size()); }
    void Show(TCursor from);
    // A round's records as stored, and whether any of them may have a result to show.
    struct TRoundRecords {
        QByteArray Bytes;
        bool MayShow = false;
    };
    TRoundRecords ReadRecords(const TOvelseInfo& info);
    // The round whole; empty when it has nothing to show; none when it changed on every load.
    std::optional<TBoardRound> LoadRound(TOvelseInfo& info);
    TBoardRound LoadOnce(TOvelseInfo& info);
    void ShowTitle();

    const int board_;
    std::unique_ptr<TResultatManager> manager_;
    // The result file as stored, for the check of a round before and after its load.
    std::unique_ptr<TResultatRecordTable> records_;
    std::vector<TOvelseInfo*> ovelser_;
    std::vector<QImage> pictures_;
    bool fileRead_ = false;
    bool cycling_ = false;
    std::optional<TFileStamp> stamp_;
    TCursor cursor_;
    // Where the next step starts when the last could not show its round; it is tried again.
    std::optional<TCursor> retry_;
    int pageCount_ = 0;
    std::optional<TBoardRound> round_;
    TBoardScreen screen_;
    int reloadCount_ = 0;
    int loadCount_ = 0;
    QSize screenSize_;
};
