// The result list against drawing the same texts straight, in the same run. A team competition of 100
// clubs and 5,000 participants with 20,000 results in 20 rounds of 1,000 (ten events in two classes); the
// result list of its long jump (six attempts with wind a row, points for the clubs) with its series and
// the club standings:
// - to PDF (A4, 300 dpi), beside the same texts made straight from the rows (place, result, wind, name,
//   club, points, each attempt) and drawn line by line, page by page, on a PDF;
// - to HTML, beside the same texts made straight from the rows and written as the rows of a table;
// and the same in a meet whose long jump has 10,000 rows: the list's cost must grow with its rows.
#include "foundation/Windows1252.h"
#include "model/D_Context.h"
#include "model/D_Ovelser.h"
#include "model/D_Result.h"
#include "model/D_Staevne.h"
#include "model/D_StdKlasser.h"
#include "model/D_Tekster.h"
#include "platform/LittleEndian.h"
#include "print/D_Html.h"
#include "print/D_Print.h"
#include "print/D_UdskriftResultatliste.h"
#include "storage/BtvTransaction.h"
#include "support/BenchFolder.h"
#include "support/BenchMeet.h"
#include "support/BenchTiming.h"

#include <QDate>
#include <QFile>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

constexpr int Klubber = 100;
constexpr int Deltagere = 5000;
constexpr int PrRunde = 1000;
constexpr int Runs = 3;
const char* const Klasser[] = {"M", "K"};
const char* const Ovelser[] = {"100", "200", "400", "800", "1500", "LÆ", "HØ", "KU", "DI", "TR"};
const QString ListeKlasse = QStringLiteral("M");
const QString ListeOvelse = QStringLiteral("LÆ");

// Six long jumps with their winds; one a foul.
QByteArray LongJumps(int k) {
    TSerier serier;
    for (int a = 0; a < 6; ++a) {
        TSerie& serie = *serier.GetSerie(serier.Add());
        serie.Value = a == 2 ? 0 : 500 + (k * 37 + a * 11) % 300;
        serie.Kode = (k + a) % 40 - 15;
    }
    return serier.SaveToString();
}

// A meet in a program folder of its own; its long jump has `rows` entries.
class TMeet {
public:
    explicit TMeet(int rows)
        : rows_(rows) {
        TBenchFolder::Use use(folder_);
        TStaevneManager& manager = *ModelContext().StaevneManager;
        manager.CreateStaevne(QStringLiteral("Stævne"));
        manager.SystemData().EgenTurnering = true;
        SaveProgramme(Klasser, Ovelser);
        Fill();
    }

    TBenchFolder& Folder() { return folder_; }
    int Rows() const { return rows_; }

    static TOvelseInfo& LongJump() {
        TOvelseInfo* info = ModelContext().OvelseManager->FindOvelseInfo(ListeKlasse, ListeOvelse, QString());
        Check(info, "the long jump");
        return *info;
    }

private:
    static bool IsListe(const TOvelseInfo& info) {
        return info.GetKlasseKode() == ListeKlasse && info.GetOvelseKode() == ListeOvelse;
    }

    void Fill() {
        TBtvTransaction transaction;
        InsertKlubber(Klubber, SetKortNavn);
        InsertDeltagere(Deltagere, Klubber);
        InsertPlacedRounds(
            Deltagere, [this](const TOvelseInfo& info) { return IsListe(info) ? rows_ : PrRunde; },
            [](TResultatTable& resultat, const TOvelseInfo& info, int k) {
                if (IsListe(info))
                    WriteSerier(resultat, LongJumps(k));
            });
        transaction.Commit();
    }

    TBenchFolder folder_;
    int rows_;
};

// ---------------------------------------------------------------- the list

void WritePdf(TPrint& print, const QString& fileName) {
    QPdfWriter writer(fileName);
    writer.setResolution(300);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    print.PageNo = 0;
    print.PrintOn(writer);
}

struct TListRun {
    int Lines = 0;
    int Pages = 0;
};

// The long jump's result list with its series and the club standings, printed to a PDF.
TListRun ListToPdf(TResultatManager& data, const QString& fileName) {
    TListRun run;
    const TPrintPreviewWindow previous = SetPrintPreviewWindow([&](TPrint& print) {
        WritePdf(print, fileName);
        run.Pages = print.PageNo;
        run.Lines = print.Lines(TPrintSection::Body).Count();
    });
    TResultatlisteUdskrift job;
    job.SetData(&data);
    job.InklusivKlubstilling = true;
    job.SetUdskrivTilSkaerm(true);
    job.RunOne();
    SetPrintPreviewWindow(previous);
    return run;
}

void ListToHtml(TResultatManager& data) {
    TResultatlisteUdskrift job;
    job.SetData(&data);
    job.InklusivKlubstilling = true;
    job.HtmlUdskrift = true;
    job.RunOne();
}

// ---------------------------------------------------------------- straight

// The texts of the list made straight from the rows in their order: a line per row (place, result, wind,
// name, club, points) and a line of its attempts, each text at its X (cm).
using TLines = std::vector<std::vector<std::pair<double, QString>>>;

TLines StraightTexts(const TResultatManager& data) {
    const TOvelseInfo& info = *data.OvelseInfo();
    TLines lines;
    for (int i = 0; i < data.Count(); ++i) {
        const TResultat& row = *data.GetResultat(i);
        lines.push_back({{0.8, QString::number(row.Plac)},
                         {3.7, FormatOvelseResultat(info, row.Resultat, row.Vind)},
                         {4.7, FormatVind(row.Vind)},
                         {5.4, row.GetNavnAargang()},
                         {11.85, row.GetKlub()},
                         {17.9, row.GetFieldText(TResultColumn::Point)}});
        auto& attempts = lines.emplace_back();
        attempts.emplace_back(0, row.Navn);
        for (int a = 0; a < row.GetSerieCount(); ++a)
            attempts.emplace_back(5.0 + 1.9 * a, row.GetSerieText(a));
    }
    return lines;
}

// The texts drawn one line below the other on A4 pages, a header and a page number on each.
void DrawStraight(const TResultatManager& data, const QString& fileName) {
    QPdfWriter writer(fileName);
    writer.setResolution(300);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter painter(&writer);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(qRound(9 * 300 / 72.0));
    QFont header = font;
    header.setPixelSize(qRound(15 * 300 / 72.0));
    const double lineHeight = QFontMetricsF(font).height();
    const double height = writer.height();
    const double pixelsPerCm = 300 / 2.54;
    const double left = 0.8 * pixelsPerCm;
    double y = height;
    int page = 0;
    for (const auto& line : StraightTexts(data)) {
        if (y + lineHeight > height - 3 * lineHeight) {
            if (page > 0)
                writer.newPage();
            painter.setFont(header);
            painter.drawText(QPointF(left, 2 * lineHeight), QStringLiteral("Resultatliste"));
            painter.setFont(font);
            painter.drawText(QPointF(writer.width() / 2.0, height - lineHeight),
                             QStringLiteral("Side %1").arg(++page));
            y = 5 * lineHeight;
        }
        y += lineHeight;
        for (const auto& [x, text] : line)
            painter.drawText(QPointF(left + x * pixelsPerCm, y), text);
    }
}

// The texts written as the rows of a table, escaped, in the page's encoding.
void WriteStraight(const TResultatManager& data, const QString& fileName) {
    QFile file(fileName);
    Check(file.open(QIODevice::WriteOnly | QIODevice::Truncate), "straight page");
    file.write("<html><body><table>\r\n");
    for (const auto& line : StraightTexts(data)) {
        QString row = QStringLiteral("<tr>");
        for (const auto& [x, text] : line)
            row += QStringLiteral("<td>") + HtmlEscape(text);
        file.write(Windows1252::Encode(row + QStringLiteral("</tr>\r\n")));
    }
    file.write("</table></body></html>\r\n");
}

// ---------------------------------------------------------------- figures

struct TFigures {
    double Pdf = 1e9;
    double Html = 1e9;
    double DrawStraight = 1e9;
    double WriteStraight = 1e9;
    int Lines = 0;
    int Pages = 0;
};

TFigures Measure(TMeet& meet) {
    TBenchFolder::Use use(meet.Folder());
    TResultatManager data;
    data.LoadOvelse(&TMeet::LongJump());
    Check(data.Count() == meet.Rows(), "the long jump's rows");
    const QTemporaryDir out;
    TFigures figures;
    for (int run = 0; run < Runs; ++run) {
        figures.Pdf = std::min(figures.Pdf, Timed([&] {
                                   const TListRun list = ListToPdf(data, out.filePath("list.pdf"));
                                   figures.Lines = list.Lines;
                                   figures.Pages = list.Pages;
                               }));
        figures.Html = std::min(figures.Html, Timed([&] { ListToHtml(data); }));
        figures.DrawStraight =
            std::min(figures.DrawStraight, Timed([&] { DrawStraight(data, out.filePath("straight.pdf")); }));
        figures.WriteStraight = std::min(figures.WriteStraight,
                                         Timed([&] { WriteStraight(data, out.filePath("straight.htm")); }));
    }
    Check(figures.Lines > meet.Rows(), "the list's lines");
    Check(QFileInfo(ModelContext().StaevneManager->GetStaevneDir() + "/resultatliste.htm").size() > 0,
          "the page");
    return figures;
}

} // namespace

int main(int argc, char** argv) {
    const TBenchRunHome home(true);
    QGuiApplication app(argc, argv);

    std::printf("making the meets ...\n");
    TMeet meet(PrRunde);
    if (qEnvironmentVariableIsSet("ZUNO_BENCH_HTML_ONLY")) {
        TBenchFolder::Use use(meet.Folder());
        TResultatManager data;
        data.LoadOvelse(&TMeet::LongJump());
        for (int i = 0; i < 5; ++i)
            ListToHtml(data);
        return 0;
    }
    TMeet tenfold(10 * PrRunde);
    const TFigures one = Measure(meet);
    const TFigures ten = Measure(tenfold);

    std::printf("\nthe long jump's result list with series and club standings, best of %d runs\n", Runs);
    std::printf("%-26s %10s %10s\n", "", "1,000 rows", "10,000");
    std::printf("%-26s %10d %10d\n", "lines of the list", one.Lines, ten.Lines);
    std::printf("%-26s %10d %10d\n", "A4 pages", one.Pages, ten.Pages);
    std::printf("%-26s %10.1f %10.1f\n", "list to PDF (ms)", one.Pdf * 1000, ten.Pdf * 1000);
    std::printf("%-26s %10.1f %10.1f\n", "same texts drawn (ms)", one.DrawStraight * 1000,
                ten.DrawStraight * 1000);
    std::printf("%-26s %10.1f %10.1f\n", "list to HTML (ms)", one.Html * 1000, ten.Html * 1000);
    std::printf("%-26s %10.1f %10.1f\n", "same texts written (ms)", one.WriteStraight * 1000,
                ten.WriteStraight * 1000);
    std::printf("\n%-34s %8s %8s\n", "ratio", "figure", "limit");
    std::printf("%-34s %8.2f %8.2f\n", "PDF against drawing straight", one.Pdf / one.DrawStraight, 2.0);
    std::printf("%-34s %8.2f %8.2f\n", "HTML against writing straight", one.Html / one.WriteStraight, 2.0);
    std::printf("%-34s %8.2f %8.2f\n", "PDF, 10 times the rows", ten.Pdf / one.Pdf, 11.0);
    std::printf("%-34s %8.2f %8.2f\n", "HTML, 10 times the rows", ten.Html / one.Html, 11.0);
    return 0;
}
