#pragma once
// The result list: each round's ranked rows in nine columns (place, remark, result, heat or wind,
// qualification, name, club, points, reaction), by heat with the heats' winds or over all heats with the
// wind line, the attempt series of field events and the disciplines of a combined event, the teams, the
// extra orders (veterans, points, improvement on the personal record) and the standings on request;
// printed through the layout "Resultatliste" (a recreational run: "Motion_Resultatliste") or written as
// the page "resultatliste".
#include "print/D_UdskriftStilling.h"

#include <QString>
#include <QStringList>

#include <map>
#include <optional>
#include <vector>

class THold;

class TResultatlisteUdskrift : public TStandingsJob {
public:
    explicit TResultatlisteUdskrift(QObject* owner = nullptr);

    // Append the overall club standings (team competitions) and the combined-event standings of a class.
    bool InklusivKlubstilling = false;
    bool InklusivMangekampStilling = false;

    bool HasData() override;
    void PrintOvelse() override;
    void WriteOvelseHtml() override;
    void AfterOvelse() override;
    void BeforeRun() override;
    void KlasseChanged() override;
    void Prepare() override;
    void OpenHtml() override;

protected:
    bool ShowsLangtekst() const override { return false; }

private:
    // What the table being output shows.
    enum class TTableMode { Results, Sorted, Improvement };
    // The sections of a round after its heading.
    void OvelseSections();
    bool IsReady() const;
    // The rows as the table shows them, with series, the standings after a discipline and the second
    // model's table.
    void ResultListBody(bool withSeries, TTableMode mode, const QString& title = {});
    void RowTexts(const TResultat& row, TTableMode mode);
    QString PlaceText(const TResultat& row, TTableMode mode);
    QString ResultText(const TResultat& row, TTableMode mode) const;
    QString HeatColumnText(const TResultat& row) const;
    QString PointText(const TResultat& row) const;
    QString RemarkText(const TResultat& row) const;

    // ---- Output parts
    void TableHeading(const QString& title);
    void HeatHeading(qint32 heat);
    void PhotoLink(qint32 heat);
    void WindLine();
    void OutputRow();
    void TableEnd();
    // The title of an extra order's table (printed: bold, a rule under it).
    void SectionTitle(const QString& title);
    // A table's title in HTML: "DAF MODEL" or an extra order's.
    void WriteTitleTable(const QString& title);
    void TeamSection(const QString& title, bool recomputed);
    void ExtraOrders();

    // ---- Series tables (D_UdskriftResultatlisteSerier.cpp)
    void SeriesTables();
    // The shading prefix of the next series row ("a" or none); the next row gets the other.
    QString NextSeriesShade();
    void VerticalJumpSeries();
    void AttemptSeries(bool throws);
    void CombinedSeries();
    QString ApprovedSeriesText(TResultat& row) const;

    // ---- The second model of combined events
    bool HasSecondModel() const;
    void RecomputeSecondModel();

    // The layout's heading over the result column becomes a pair of page variables, one in the result's
    // column and one in the heat column's place, so that each page's heading stands where its results do.
    void LetResultHeadingFollow();
    // From the body line at row on, the heading stands over layout column 2 (the result beside the heat
    // column) or over column 3.
    void PlaceResultHeading(double row, bool besideHeatColumn);

    // The heats of the rows (1..255) with the wind of each (its last row's), for the table being output.
    void CollectHeats();
    // Photo-finish pictures: the link of the heat's picture; empty when it has none.
    QString PhotoFile(qint32 heat) const;
    bool WantsHtml() const { return !WantsPrint() && HtmlUdskrift && Html; }

    // The table being output.
    bool ByHeat = false;
    bool Sorted = false;
    bool ShowHeatColumn = false;
    // No row of the round has a heat: its rows are placed as they stand, not as corrections to a seeding.
    bool unseeded_ = false;
    bool recomputed_ = false;
    // "=" for shared places: the previous row's place and result.
    int runningNumber_ = 0;
    QString previousPlace_;
    qint32 previousResultat_ = 0;
    bool hasPrevious_ = false;
    // Text 6 of a relay row: its members, one to a line.
    QStringList members_;
    std::map<qint32, qint32> heatWinds_;
    // The result column's heading lines and the two variables each is shown by.
    struct TResultHeading {
        QString Text;
        QString InResultColumn;
        QString BesideHeatColumn;
    };
    std::vector<TResultHeading> resultHeadings_;
    // The meet's photo-finish folder as found on disk, looked for once a run; empty when there is none.
    mutable std::optional<QString> photoDir_;
};
