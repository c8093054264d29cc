#pragma once
// The base of the summary lists over many rounds (club competition, medal table, reaction times): the
// layout with a gap under its column headings, and rows output in the layout's columns, printed or as
// an HTML table whose headings are the layout's and whose widths follow its columns.
#include "print/D_UdskriftStilling.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

class TOversigtUdskrift : public TStandingsJob {
public:
    // section: the layout of the report file; pageName and title: the HTML page in the meet's folder.
    TOversigtUdskrift(QObject* owner, const QString& section, const QString& pageName, const QString& title);

    void OpenHtml() override;

protected:
    // Every round of the meet in class-major programme order.
    static std::vector<TOvelseInfo*> AllRounds();
    // Loads each round with an entry that holds results into the job's own result manager and hands
    // it over; the manager is emptied afterwards.
    void ForEachHeldRound(const std::vector<TOvelseInfo*>& rounds,
                          const std::function<void(TOvelseInfo& info, TResultatManager& manager)>& round);
    // Opens the page when only HTML is asked for, and begins its table.
    void BeginOutput();
    // A row of texts, one per layout column from 0 (an empty text leaves its column empty).
    void OutputRow(const QStringList& texts);
    // An empty row on paper; nothing on the page.
    void OutputBlankRow();
    // Prints the list, or ends the table and closes the page.
    void EndOutput();

private:
    // This run writes the page (HTML only, no paper).
    bool WritesPageNow() const { return !WantsPrint() && HtmlUdskrift && Html; }

    QString pageName_;
    QString title_;
};
