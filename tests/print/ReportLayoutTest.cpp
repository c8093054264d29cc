// The shipped report file's columns: every section that lays out columns keeps them, with their
// headings, inside the page it is designed for (A4 in its orientation), and the lists that print
// columns have them.
#include "print/D_Print.h"

#include "PrintFit.h"
#include "PrintMeet.h"
#include "foundation/Windows1252.h"
#include "print/D_PrintIniFile.h"
#include "support/RecordedMessages.h"
#include "support/Test.h"

namespace {

const QString Shipped = QStringLiteral(ZUNO_SOURCE_DIR "/data/ZUNO2.RPT");

// The sections of the lists that print in columns; each must have its columns.
// (The per-club statements' sections are laid out with their lists.)
const QStringList SectionsWithColumns = {"Resultatliste",     "Motion_Resultatliste", "Startliste",
                                         "Program",           "Afkrydsningsliste",    "Dommerliste",
                                         "Klubstilling_Hold", "KlubKonkurrence",      "Medaljeliste",
                                         "Reaktionstider",    "TidsskemaTidsorden",   "TidsskemaTidsorden2"};

// The names of the file's sections, in file order.
QStringList SectionNames(const QString& fileName) {
    QStringList names;
    for (const QString& line : Windows1252::Decode(ReadFile(fileName)).split(u'\n')) {
        const QString trimmed = line.trimmed();
        if (trimmed.startsWith(u'[') && trimmed.endsWith(u']'))
            names.append(trimmed.mid(1, trimmed.size() - 2));
    }
    return names;
}

TEST(TReportLayoutTest, EverySectionsColumnsAndHeadingsFitA4InItsOrientation) {
    const TPrintMeet meet;
    TRecordedMessages messages;
    const QStringList sections = SectionNames(Shipped);
    for (const QString& section : SectionsWithColumns)
        EXPECT_TRUE(sections.contains(section)) << section.toStdString();
    for (const QString& section : sections) {
        SCOPED_TRACE(section.toStdString());
        TStdPrint print;
        print.LoadLayout(section, Shipped);
        if (SectionsWithColumns.contains(section)) {
            EXPECT_FALSE(print.Columns().empty());
        }
        EXPECT_EQ(ColumnsPastRightMargin(print), QStringList());
        // The headings lie in the page header: each in a column that exists, none past the margin.
        EXPECT_EQ(TextsPastRightMargin(print), QStringList());
        for (const TFeltDef& def : print.FeltDefs())
            EXPECT_LT(static_cast<std::size_t>(def.Column), print.Columns().size()) << def.Name.toStdString();
    }
    EXPECT_EQ(messages.Shown(), QStringList());
}

TEST(TReportLayoutTest, TheResultListsNineColumnsFollowOneAnotherWithTheResultAlsoInColumnThree) {
    const TPrintMeet meet;
    for (const QString& section : {QStringLiteral("Resultatliste"), QStringLiteral("Motion_Resultatliste")}) {
        SCOPED_TRACE(section.toStdString());
        TStdPrint print;
        print.LoadLayout(section, Shipped);
        EXPECT_EQ(print.Orientation, TPrintOrientation::Portrait);
        ASSERT_EQ(print.Columns().size(), 9u);
        const TColumnFieldList& columns = print.Columns();
        const auto right = [&](int c) { return columns[c].Left + columns[c].Width; };
        // Place, remark, result, heat or wind, qualification, name, club, points, reaction from left to
        // right; the heat column is wide enough to hold a result when it has none of its own.
        for (int c = 1; c < 9; ++c)
            EXPECT_GE(columns[c].Left, c == 3 ? columns[2].Left : right(c - 1) - 1) << c;
        EXPECT_GE(right(3) - right(2), 800);
        EXPECT_GE(columns[3].Width, columns[2].Width);
        for (const int c : {0, 2, 3, 7, 8})
            EXPECT_EQ(columns[c].Alignment, TPrintAlignment::Right) << c;
        EXPECT_GE(columns[5].Width, 6000);
    }
}

TEST(TReportLayoutTest, TheJudgesSheetsAreLandscapeWithTheBoxColumnRunningToTheRightMargin) {
    const TPrintMeet meet;
    TStdPrint print;
    print.LoadLayout("Dommerliste", Shipped);
    EXPECT_EQ(print.Orientation, TPrintOrientation::Landscape);
    ASSERT_EQ(print.Columns().size(), 4u);
    const TColumnField& boxes = print.Columns()[3];
    // Room for twelve narrow boxes of 0.815 cm and a result box after the six of 1.63 cm.
    EXPECT_GE(boxes.GetWidth(), 6 * 1.63 + 3.0);
    EXPECT_NEAR(boxes.GetLeft() + boxes.GetWidth(), print.PrintableWidth(), 0.01);
    EXPECT_GE(boxes.GetLeft(), print.Columns()[2].GetLeft() + print.Columns()[2].GetWidth());
}

} // namespace
