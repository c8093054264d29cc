#pragma once
// The time schedule of a day, taken from a schedule table laid out as the event editor's overview lays
// its time order (one column per venue, one row per start time, rounds of one time stacked below it):
// printed as that table through the layout "TidsskemaTidsorden" and written as the day's page, or printed
// as one line per round with its counts and room for notes through "TidsskemaTidsorden2".
#include <QString>
#include <QStringList>

#include <vector>

class QObject;
class TOvelseInfo;
class TStdPrint;

struct TTidsskemaCelle {
    QString Text;
    TOvelseInfo* Info = nullptr;
};

// A row of the table: its label ("Lør 10:00"; empty where the row goes on with the time above) and its
// cells, the label column first.
struct TTidsskemaRaekke {
    QString Label;
    std::vector<TTidsskemaCelle> Cells;
};

struct TTidsskemaTabel {
    // The column headings, the label column first.
    QStringList Headings;
    std::vector<TTidsskemaRaekke> Rows;
};

// A weekday of the schedule: its name as the page shows it and the two letters its rows' labels begin
// with ("ma" .. "sø", or "mo" .. "su" in English).
struct TTidsskemaDag {
    QString Navn;
    QString Kode;
};

// Monday (1) .. Sunday (7), in Danish or in English.
TTidsskemaDag MakeTidsskemaDag(int ugedag, bool engelsk);

// The rows of the day: those whose label begins with its two letters (whatever their case), and each
// unlabelled row under such a row.
std::vector<const TTidsskemaRaekke*> DagensRaekker(const TTidsskemaTabel& tabel, const TTidsskemaDag& dag);

struct TTidsskemaValg {
    bool UdskrivTilSkaerm = false;
    bool UdskrivTilPrinter = false;
    bool HtmlUdskrift = false;
    // One line per round ("TidsskemaTidsorden2") instead of the table.
    bool Tidsskema2 = false;
};

// Prints (or previews) each day's schedule and, for the table, writes its page "<code>.htm" in the meet's
// folder when HTML is asked for. Nothing is printed when neither screen nor printer is chosen. owner:
// the window the preview and the boxes belong to.
void RunTidsskema(const TTidsskemaTabel& tabel, const std::vector<TTidsskemaDag>& dage,
                  const TTidsskemaValg& valg, QObject* owner);

// ---- The parts, for one day
// The table's headings and rows in the layout's columns; the number of rows laid.
int LayTidsskema(TStdPrint& print, const TTidsskemaTabel& tabel,
                 const std::vector<const TTidsskemaRaekke*>& rows);
// One line per round of the rows (left to right in each row), under one heading line; the number of
// rounds laid.
int LayTidsskema2(TStdPrint& print, const std::vector<const TTidsskemaRaekke*>& rows);
// The day's page: the table's headings and rows, every text escaped.
void WriteTidsskemaHtml(const QString& fileName, const TTidsskemaTabel& tabel, const TTidsskemaDag& dag,
                        const std::vector<const TTidsskemaRaekke*>& rows);
