#pragma once
// The base of the print jobs of event rounds: the output options, the run over one round or a list of
// rounds with breaks per class and start time, and the standard event heading (title, date and time,
// attribute and qualification lines, the round's records) in the body, in the page header or as HTML.
#include "print/D_Html.h"
#include "print/D_Print.h"
#include "print/D_UdskriftHeading.h"

#include "model/D_Result.h"

#include <QString>

#include <array>
#include <memory>
#include <unordered_map>
#include <vector>

class QObject;
class TOvelseInfo;
class TRekord;

class TUdskrift {
public:
    // owner: the window the job prints for (the preview and the boxes belong to it); may be null.
    explicit TUdskrift(QObject* owner = nullptr);
    virtual ~TUdskrift();
    TUdskrift(const TUdskrift&) = delete;
    TUdskrift& operator=(const TUdskrift&) = delete;

    // ---- What the job prints and how
    // The rows of the round being printed; not owned.
    TResultatManager* Data = nullptr;
    TStdPrint& Print() { return *print_; }
    // Row columns of the current table, for HTML column spans.
    int ColumnCount = 0;
    // The column texts of the row being output, 1 to 9; another index raises EListError.
    QString GetText(int index) const;
    void SetText(int index, const QString& text);
    // The page being written, while it is open.
    std::unique_ptr<THtmlMaker> Html;
    // The meet's include files, read once for every page the job writes.
    THtmlIncludes HtmlIncludes;

    // Several rounds follow one another on a page: their headings go into the body, not the header.
    bool HeadingInBody = false;
    // No generic event heading (standings jobs).
    bool SkipGeneric = false;
    bool SideskiftPrKlasse = false;
    bool SideskiftPrTidspunkt = false;
    bool SideskiftPrHeat = false;
    bool UdskrivTommeOvelser = false;
    bool HtmlUdskrift = false;
    // Put in front of and appended to the fixed page names.
    QString HtmlNamePrefix;
    QString HtmlNameSuffix;
    // The caller's page name (no folder, no extension), used instead of the fixed name and suffix.
    QString HtmlFileName;
    bool InList = false;
    // The start list takes unseeded rounds too (batch jobs).
    bool ListUnseeded = false;
    // The next body row to fill, and its value when the current round started.
    double Row = 0;
    double SavedRow = 0;

    // The preview flag of the engine follows UdskrivTilSkaerm.
    bool UdskrivTilSkaerm() const { return udskrivTilSkaerm_; }
    void SetUdskrivTilSkaerm(bool value);
    bool UdskrivTilPrinter() const { return udskrivTilPrinter_; }
    void SetUdskrivTilPrinter(bool value);
    bool UdskrivEnLangSide() const { return print_->OneLongPage; }
    void SetUdskrivEnLangSide(bool value);
    // The first page gets number n.
    void SetStartPage(int n);
    // Print output (screen or printer) is wanted; HTML is written only when it is not.
    bool WantsPrint() const { return udskrivTilSkaerm_ || udskrivTilPrinter_; }
    bool OnlyHtml() const { return !WantsPrint() && HtmlUdskrift; }

    // ---- The rows being printed
    // A copy of Data's rows, taken when a round's step begins, which the job sorts and recomputes as it
    // needs: printing never changes the caller's rows, their order or their points.
    const std::vector<TResultat*>& Rows() const { return rows_; }
    // Sorts the copy by a comparison under the rules of Data's round.
    void SortRows(TResultatCompare compare);
    // The copy of one of Data's rows (a team's member); null for a row not copied.
    TResultat* CopyOfRow(const TResultat* row) const;

    // ---- Running
    // The round whose rows Data holds now: printed, previewed or written as HTML.
    void RunOne();
    // Loads and prints each round of the list (null entries are passed over).
    void RunList(const std::vector<TOvelseInfo*>& list);

    // ---- For the jobs
    // A blank line under the column headings, at the left of layout column 0.
    void AddHeaderSpacer();
    // The members of a relay row in italics in a layout column, two to a line from Row + 1 on; the
    // number of lines used.
    int PrintRelayMembers(const TResultat& resultat, int column);
    // The members' texts as HTML (escaped), one to a line; and their start numbers alike.
    QString RelayMembersHtml(const TResultat& resultat);
    QString RelayStartNumbersHtml(const TResultat& resultat) const;
    // The rule that takes athletes from this round to the next; empty after the last round.
    QString QualificationText() const;
    // The holder of a record as the record lines show it.
    QString GetRecordHolderText(const TRekord& rekord) const;
    // The page file in the meet's folder: HtmlFileName when given, else HtmlNamePrefix + fixedName +
    // HtmlNameSuffix, with the meet's HTML extension; a character that cannot stand in a file name
    // becomes "_".
    QString HtmlPageFileName(const QString& fixedName) const;
    // Opens Html as that page with the title, sharing the job's include files.
    void OpenHtmlPage(const QString& fixedName, const QString& title);
    // The round is seeded whole: a row that started has a heat, and none that started lacks one.
    bool IsCompletelySeeded() const;
    // The heats (1..255) of the rows being printed, each counted once.
    int HeatCount() const;
    // The start of a heat as the lists show it ("h:nn"): only for a round with a time per heat and more
    // than heatCount 1, in a meet whose timetable is official; else empty.
    QString HeatStartText(qint32 heat, int heatCount) const;
    // The status a list shows in front of a row: withdrawn, absent or waiting, else out of the competition
    // or of the team score; empty for a row that competes normally.
    static QString StatusText(const TResultat& row);
    // A relay row's team: its name, or its club when it has none.
    static QString TeamName(const TResultat& row);
    // False for the lists that exist only on paper: a caller adds no HTML run of its own for them.
    virtual bool WritesHtml() const { return true; }
    // For the lists that exist only on paper: true when only HTML is asked for, after telling the user
    // once a job that the list `what` cannot be written as HTML.
    bool RefuseHtmlOnly(const QString& what);

    // ---- The steps a job overrides
    virtual void SetData(TResultatManager* data);
    virtual bool HasData();
    virtual void PrintOvelse();
    virtual void WriteOvelseHtml();
    virtual void AfterOvelse() {}
    virtual void BeforeRun() {}
    virtual void AfterRun() {}
    virtual void KlasseChanged() {}
    virtual void Prepare() {}
    virtual void OpenHtml() {}
    virtual void CloseHtml();

protected:
    // The result list shows no event long text under its heading.
    virtual bool ShowsLangtekst() const { return true; }
    // The programme and the check-in list show the number of heats with the qualification rule.
    virtual bool ShowsHeatCount() const { return false; }
    // Takes the copy of Data's rows anew (the base steps do it before Prepare).
    void CopyRows();
    // The members of a relay row: printed with their start numbers, or for HTML without.
    QStringList RelayMembers(const TResultat& resultat, bool withStartnummer);

private:
    // The heading of the round Data holds now.
    TOvelseHeading Heading() const;
    void OvelseStep();
    void KlasseBreak(bool pageBreak);
    void TidBreak();

    std::unique_ptr<TStdPrint> print_;
    std::vector<std::unique_ptr<TResultat>> copies_;
    std::vector<TResultat*> rows_;
    std::unordered_map<const TResultat*, TResultat*> copyOf_;
    std::array<QString, 9> texts_;
    bool udskrivTilSkaerm_ = false;
    bool udskrivTilPrinter_ = false;
    bool htmlOnlyRefused_ = false;
};

// A job's class as callers pick it: makes the job for an owner window.
using TUdskriftClass = std::unique_ptr<TUdskrift> (*)(QObject* owner);

template <typename Job>
std::unique_ptr<TUdskrift> CreateUdskrift(QObject* owner) {
    return std::make_unique<Job>(owner);
}
