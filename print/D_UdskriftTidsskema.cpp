#include "print/D_UdskriftTidsskema.h"
#include "print/D_Html.h"
#include "print/D_Print.h"

#include "foundation/LxDisk.h"
#include "model/D_Context.h"
#include "model/D_Globals.h"
#include "model/D_Ovelser.h"
#include "model/D_Staevne.h"
#include "print/PrUtilFormat.h"
#include "storage/DBFieldDate.h"

#include <algorithm>
#include <array>
#include <memory>

namespace {

constexpr std::array<const char*, 7> DanishDays = {"Mandag", "Tirsdag", "Onsdag", "Torsdag",
                                                   "Fredag", "Lørdag",  "Søndag"};
constexpr std::array<const char*, 7> EnglishDays = {"Monday", "Tuesday",  "Wednesday", "Thursday",
                                                    "Friday", "Saturday", "Sunday"};
constexpr std::array<const char*, 7> DanishCodes = {"ma", "ti", "on", "to", "fr", "lø", "sø"};

// The day's name goes under the layout's title in the page header.
constexpr double DayHeaderRow = 2;
// The second layout: a line per round, 0.6 cm between the lines for notes on the dotted fields.
constexpr double NoteSpace = 0.6; // cm
const QString Dots = QStringLiteral(".....................................");
// Lines of the table made for a print out of the overview hold nothing after five dots.
const QString DotsPrefix = QStringLiteral(".....");

struct TField2 {
    const char16_t* Heading;
    double X; // cm
    TPrintAlignment Alignment;
};
constexpr std::array<TField2, 6> Headings2 = {{{u"Kl", 3, TPrintAlignment::Left},
                                               {u"Øv", 5, TPrintAlignment::Left},
                                               {u"R", 7, TPrintAlignment::Left},
                                               {u"Antal", 8, TPrintAlignment::Right},
                                               {u"Aktive", 10, TPrintAlignment::Right},
                                               {u"Heats", 12, TPrintAlignment::Right}}};
constexpr double TidX = 1;
constexpr std::array<double, 3> DotsX = {14, 18, 22};
constexpr double TidAgainX = 26;

QString StartTid(const TOvelseInfo& info) {
    return FormatDateTime(QStringLiteral("hh:nn"), DateTimeToQDateTime(info.GetTid()));
}

std::unique_ptr<TStdPrint> MakeEngine(const QString& section, const TTidsskemaDag& dag,
                                      const TTidsskemaValg& valg, QObject* owner) {
    auto print = std::make_unique<TStdPrint>(owner);
    print->LoadLayout(section, StaevneManager->GetRptFileName());
    print->AddHeaderText(TPrintAlignment::Left, dag.Navn, 0, DayHeaderRow);
    print->SetPreview(valg.UdskrivTilSkaerm);
    return print;
}

} // namespace

TTidsskemaDag MakeTidsskemaDag(int ugedag, bool engelsk) {
    const auto day = static_cast<std::size_t>(std::clamp(ugedag, 1, 7) - 1);
    if (engelsk) {
        const QString navn = QString::fromLatin1(EnglishDays[day]);
        return {navn, navn.left(2).toLower()};
    }
    return {QString::fromUtf8(DanishDays[day]), QString::fromUtf8(DanishCodes[day])};
}

std::vector<const TTidsskemaRaekke*> DagensRaekker(const TTidsskemaTabel& tabel, const TTidsskemaDag& dag) {
    std::vector<const TTidsskemaRaekke*> rows;
    bool inDay = false;
    for (const TTidsskemaRaekke& row : tabel.Rows) {
        if (!row.Label.isEmpty())
            inDay = row.Label.left(2).toLower() == dag.Kode;
        if (inDay)
            rows.push_back(&row);
    }
    return rows;
}

int LayTidsskema(TStdPrint& print, const TTidsskemaTabel& tabel,
                 const std::vector<const TTidsskemaRaekke*>& rows) {
    const int columns = static_cast<int>(print.Columns().size());
    for (int c = 0; c < tabel.Headings.size() && c < columns; ++c)
        if (!tabel.Headings[c].isEmpty())
            print.AddColumnField(TPrintSection::Header, c, FirstColumnHeadingRow, TFieldKind::Text,
                                 tabel.Headings[c]);
    double row = 1;
    for (const TTidsskemaRaekke* raekke : rows) {
        // A line of its own even when all its cells are empty, as the overview shows it.
        print.AddBodyText(TPrintAlignment::Left, QStringLiteral(" "), 0, row);
        for (std::size_t c = 0; c < raekke->Cells.size(); ++c)
            if (!raekke->Cells[c].Text.isEmpty())
                print.AddColumnText(static_cast<int>(c), raekke->Cells[c].Text, row);
        row += 1;
    }
    return static_cast<int>(rows.size());
}

int LayTidsskema2(TStdPrint& print, const std::vector<const TTidsskemaRaekke*>& rows) {
    int rounds = 0;
    double row = 1;
    for (const TTidsskemaRaekke* raekke : rows) {
        for (const TTidsskemaCelle& celle : raekke->Cells) {
            const TOvelseInfo* info = celle.Info;
            if (!info)
                continue;
            if (rounds++ == 0) {
                for (const TField2& field : Headings2)
                    print.AddBodyText(field.Alignment, QString::fromUtf16(field.Heading), field.X, row);
                row += 1;
            }
            const QString tid = StartTid(*info);
            print.GetLine(TPrintSection::Body, row).SetSpaceBefore(NoteSpace);
            const QString texts[] = {info->GetKlasseKode(),
                                     info->GetOvelseKode(),
                                     info->GetRunde(),
                                     QString::number(info->AntalDeltagere),
                                     QString::number(info->AntalAktiveDeltagere),
                                     info->AntalHeat > 1 ? QString::number(info->AntalHeat) : QString()};
            print.AddBodyText(TPrintAlignment::Left, tid, TidX, row);
            for (std::size_t f = 0; f < Headings2.size(); ++f)
                if (!texts[f].isEmpty())
                    print.AddBodyText(Headings2[f].Alignment, texts[f], Headings2[f].X, row);
            for (const double x : DotsX)
                print.AddBodyText(TPrintAlignment::Left, Dots, x, row);
            print.AddBodyText(TPrintAlignment::Left, tid, TidAgainX, row);
            row += 1;
        }
    }
    return rounds;
}

void WriteTidsskemaHtml(const QString& fileName, const TTidsskemaTabel& tabel, const TTidsskemaDag& dag,
                        const std::vector<const TTidsskemaRaekke*>& rows) {
    const QString navn = HtmlEscape(dag.Navn);
    THtmlMaker html(fileName, QString(), false);
    html.WriteLn(QStringLiteral("<html>"));
    html.WriteLn(QStringLiteral("<head><title>Tidsskema - ") + navn + QStringLiteral("</title>"));
    html.WriteLn(
        QStringLiteral("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\">"));
    html.WriteLn(QStringLiteral("<meta name=\"GENERATOR\" content=\"Zuno version ") +
                 HtmlEscape(ModelContext().ProgramVersion) + QStringLiteral("\">"));
    html.WriteLn(QStringLiteral("</head>"));
    html.WriteLn(QStringLiteral("<body>"));
    html.WriteLn(QStringLiteral("<p ALIGN=\"left\"><font SIZE=6><strong>TIDSSKEMA - ") + navn +
                 QStringLiteral("</strong></font></p>"));
    html.WriteLn(QStringLiteral("<table border=\"1\" cellpadding=\"0\" cellspacing=\"2\" width=\"780\">"));
    const auto writeRow = [&html](const QStringList& texts) {
        html.WriteLn(QStringLiteral("  <tr>"));
        for (const QString& text : texts) {
            const QString shown = text.startsWith(DotsPrefix) ? QString() : text;
            html.WriteLn(QStringLiteral("    <td width=\"20%\">") +
                         (shown.isEmpty() ? QStringLiteral("&nbsp;") : HtmlEscape(shown)) +
                         QStringLiteral("</td>"));
        }
        html.WriteLn(QStringLiteral("  </tr>"));
    };
    writeRow(tabel.Headings);
    for (const TTidsskemaRaekke* raekke : rows) {
        QStringList texts;
        for (const TTidsskemaCelle& celle : raekke->Cells)
            texts.append(celle.Text);
        writeRow(texts);
    }
    html.WriteLn(QStringLiteral("</table>"));
    html.WriteLn(QStringLiteral("</body>"));
    html.WriteLn(QStringLiteral("</html>"));
    html.Close();
}

void RunTidsskema(const TTidsskemaTabel& tabel, const std::vector<TTidsskemaDag>& dage,
                  const TTidsskemaValg& valg, QObject* owner) {
    if (!StaevneManager)
        throw Exception(QStringLiteral("Programmeringsfejl: intet stævne at udskrive tidsskemaet for"));
    const bool print = valg.UdskrivTilSkaerm || valg.UdskrivTilPrinter;
    for (const TTidsskemaDag& dag : dage) {
        const std::vector<const TTidsskemaRaekke*> rows = DagensRaekker(tabel, dag);
        if (valg.Tidsskema2) {
            if (!print)
                continue;
            const std::unique_ptr<TStdPrint> engine =
                MakeEngine(QStringLiteral("TidsskemaTidsorden2"), dag, valg, owner);
            if (LayTidsskema2(*engine, rows) > 0)
                engine->Print();
            continue;
        }
        if (print) {
            const std::unique_ptr<TStdPrint> engine =
                MakeEngine(QStringLiteral("TidsskemaTidsorden"), dag, valg, owner);
            LayTidsskema(*engine, tabel, rows);
            engine->Print();
        }
        if (valg.HtmlUdskrift)
            WriteTidsskemaHtml(
                PathJoin(StaevneManager->GetStaevneDir(), SafeFileName(dag.Kode) + QStringLiteral(".htm")),
                tabel, dag, rows);
    }
}
