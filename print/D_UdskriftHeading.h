#pragma once
// The standard heading of an event round in the print jobs: its title with date and time, the attribute,
// qualification, extra-text and long-text lines and the round's records, in the body of a continuous
// list, in the page header or as HTML.
#include <QString>
#include <QStringList>

#include <vector>

class TResultatManager;
class TRekord;
class THtmlMaker;
class TOvelseInfo;
struct TPrintFont;
class TStdPrint;
enum class TPrintSection : int;

// What a job shows under the title besides the standard lines.
struct THeadingOptions {
    // The event's long text (not in the result list).
    bool Langtekst = true;
    // The number of heats with the qualification rule (programme and check-in list).
    bool HeatCount = false;
};

// The heading of the round that data holds now (its current round; a combined view when it holds more).
class TOvelseHeading {
public:
    TOvelseHeading(const TResultatManager& data, THeadingOptions options);

    // The rule that takes athletes on to the next round; empty after the last round or without one.
    QString QualificationText() const;
    QString GetRecordHolderText(const TRekord& rekord) const;

    // From body row `row` on, which ends after the heading.
    void PrintInBody(TStdPrint& print, double& row) const;
    // On the header rows from 2.
    void PrintInHeader(TStdPrint& print) const;
    void WriteHtml(THtmlMaker& html) const;

private:
    struct TRekordLine {
        QString Label; // empty where the line before has the same
        const TRekord* Rekord;
    };

    // Data holds one round (or none).
    bool SingleRound() const;
    // The attribute (with the qualification rule when joined), extra-text and long-text lines.
    QStringList InfoLines(bool withQualification) const;
    std::vector<TRekordLine> RekordLines() const;
    void PrintRekordLines(TStdPrint& print, TPrintSection section, TPrintFont& font, double& row) const;

    const TResultatManager& data_;
    const TOvelseInfo& info_;
    THeadingOptions options_;
};
