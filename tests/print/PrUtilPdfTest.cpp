#include "print/PrUtil.h"

#include "PrintRecorder.h"
#include "support/Test.h"

#include <QRegularExpression>

namespace {

constexpr auto Body = TPrintSection::Body;
constexpr auto Header = TPrintSection::Header;
constexpr auto Footer = TPrintSection::Footer;

// A result list as the jobs build one: a header with title and column headings over a rule, a footer
// with the page number, heats kept together as blocks, some long texts wrapped, a class per page.
void BuildList(TPrint& print, int lines) {
    print.SetTopMargin(0.5);
    print.SetBottomMargin(0.5);
    print.SetLeftMargin(1.5);
    print.SetRightMargin(1);
    print.HeaderFont().Size = 16;
    print.AddField(Header, TPrintAlignment::Left, 0, 1, 0, TFieldKind::Text, "Resultatliste");
    print.HeaderFont().Size = 10;
    print.AddField(Header, TPrintAlignment::RightMargin, 0, 1, 0, TFieldKind::Text, "DM i atletik 2025");
    const QStringList headings = {"Nr", "Navn", "Klub", "Resultat"};
    const QList<double> columns = {0, 1.2, 7, 13};
    for (int c = 0; c < 4; ++c) {
        TColumnField& column = print.GetColumnField(c);
        column.SetLeft(columns[c]);
        column.SetWidth(c == 3 ? 2.5 : 5.5);
        column.Alignment = c == 3 ? TPrintAlignment::Right : TPrintAlignment::Left;
        print.AddColumnField(Header, c, 101, TFieldKind::Text, headings[c]);
    }
    print.AddField(Header, TPrintAlignment::Left, 0, 102, 0, TFieldKind::HorizontalRule, "0,02");
    print.FooterFont().Size = 8;
    print.AddField(Footer, TPrintAlignment::CenterMargins, 0, 1, 0, TFieldKind::PageNumber, "Side ");

    for (int row = 1; row <= lines; ++row) {
        print.AddColumnField(Body, 0, row, TFieldKind::Text, QStringLiteral("R%1").arg(row));
        if (row % 9 == 1) {
            print.LineFont().Style = PrintFontStyle::Bold;
            print.AddColumnField(Body, 1, row, TFieldKind::Text, QStringLiteral("Heat %1").arg(row / 9 + 1));
            print.LineFont().Style = 0;
            print.GetLine(Body, row).SetSpaceBefore(0.3);
            print.AddBlock(row, row + 8);
        } else {
            print.AddColumnField(Body, 1, row, TFieldKind::MultiLine,
                                 row % 7 == 0 ? "Hans Peter Christian Overgaard-Sørensen" : "Ib Holm");
            print.AddColumnField(Body, 2, row, TFieldKind::Text, "Aarhus 1900");
            print.AddColumnField(Body, 3, row, TFieldKind::SmallDecimals,
                                 QStringLiteral("%1.%2").arg(row % 60).arg(row % 100));
        }
        if (row % 500 == 0)
            print.GetLine(Body, row).NewPage = true;
    }
}

// The rows on each page, as "R1 R2 ...".
QStringList RowsPerPage(const QStringList& pages) {
    static const QRegularExpression rowNumber(QStringLiteral("\\bR(\\d+)\\b"));
    QStringList rows;
    for (const QString& page : pages) {
        QStringList numbers;
        for (const QRegularExpressionMatch& match : rowNumber.globalMatch(page))
            numbers.append(match.captured(1));
        rows.append(numbers.join(u' '));
    }
    return rows;
}

TEST(PrUtilPdfTest, AListBreaksIntoTheSamePagesAtEveryResolution) {
    TPrint print;
    BuildList(print, 2000);
    const QStringList at300 = PdfPages(print, 300);
    const QStringList at96 = PdfPages(print, 96);
    ASSERT_GT(at300.size(), 30);
    EXPECT_EQ(RowsPerPage(at300), RowsPerPage(at96));
    // Every row printed once, in order, and the pages numbered.
    EXPECT_EQ(RowsPerPage(at300).join(u' ').split(u' ').size(), 2000);
    EXPECT_TRUE(at300.last().contains(QStringLiteral("Side %1").arg(at300.size())));
    EXPECT_EQ(print.PageNo, 2 * at96.size());

    // A page holds the header, the column headings and the footer, and keeps a heat together.
    const QStringList firstLines = at300[1].split(u'\n', Qt::SkipEmptyParts);
    EXPECT_TRUE(firstLines[0].contains(QRegularExpression("Resultatliste +DM i atletik 2025")));
    EXPECT_TRUE(firstLines[1].contains(QRegularExpression("Nr +Navn +Klub +Resultat")));
    EXPECT_TRUE(firstLines[2].contains(QRegularExpression("R\\d+ +Heat")));
    EXPECT_TRUE(at300[1].trimmed().endsWith("Side 2"));
    EXPECT_TRUE(at300[0].contains(QRegularExpression("R2 +Ib Holm +Aarhus 1900 +22\n")));
}

} // namespace
