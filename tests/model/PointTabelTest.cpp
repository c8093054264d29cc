#include "model/D_PointBeregning.h"

#include "support/Test.h"

#include "foundation/Windows1252.h"

namespace {

class PointTabelTest : public ::testing::Test {
protected:
    QString Write(const QString& name, const QString& text) {
        const QString path = dir.filePath(name);
        WriteFile(path, Windows1252::Encode(text));
        return path;
    }

    static QList<QPair<qint32, qint32>> Rows(const TPointTabel& tabel) {
        QList<QPair<qint32, qint32>> rows;
        for (const TPointTabelData& row : tabel.Rows())
            rows.append({row.Result, row.Points});
        return rows;
    }

    QTemporaryDir dir;
};

} // namespace

TEST_F(PointTabelTest, LookupsOnRowsBetweenRowsAndOutsideTheTable) {
    // A time table (rising marks) and a distance table (falling marks).
    TPointTabel tid;
    tid.LoadFromFile(Write("tid.txt", "    1200  800\n    1210  780\n    1230  750\n"));
    QList<qint32> points;
    for (const qint32 mark : {1205, 1200, 1210, 1229, 1300, 1100})
        points << tid.GetPoint(mark);
    EXPECT_EQ(points, (QList<qint32>{780, 800, 780, 750, 0, 0}));
    TPointTabel laengde;
    laengde.LoadFromFile(Write("laengde.txt", "     700 1000\n     690  980\n"));
    EXPECT_EQ(QList<qint32>({laengde.GetPoint(695), laengde.GetPoint(701), laengde.GetPoint(689)}),
              QList<qint32>({980, 0, 0}));
    EXPECT_EQ(TPointTabel().GetPoint(1200), 0);
}

TEST_F(PointTabelTest, FixedColumnsWithCrLfTheCorrectionLineAndLinesThatCannotBeRead) {
    TPointTabel tabel;
    tabel.EltidKorr = 99;
    tabel.LoadFromFile(Write("P12100.txt", "Piger 12 år, 100 m\r\n"
                                           "Eltidkorr: 0,24\r\n"
                                           "   14.00  500\r\n"
                                           "   14.10  490\r\n"
                                           "   1x.20  480\r\n" // no number: skipped, not a row of zeros
                                           "   14.30\r\n"      // no points
                                           "   14.40    0\r\n" // no points
                                           "       0  470\r\n" // no mark
                                           "\r\n"
                                           "1:02.50     7\r\n"));
    EXPECT_EQ(tabel.EltidKorr, 24);
    EXPECT_EQ(Rows(tabel), (QList<QPair<qint32, qint32>>{{1400, 500}, {1410, 490}, {10250, 7}}));
    // Only the text after the marker counts; a correction that is no number leaves the one before.
    tabel.LoadFromFile(Write("korr.txt", "ELTIDKORR: 14\nx ELTIDKORR:  ?\n"));
    EXPECT_EQ(tabel.EltidKorr, 14);
    EXPECT_TRUE(tabel.Rows().empty());
}

TEST_F(PointTabelTest, CsvColumnOfTheEventWithCrLfAndItsCorrection) {
    TPointTabel tabel;
    const QString path = Write("blue.csv", QStringLiteral("Points,ignored\r\n"
                                                          "9999,100,HØ,400\r\n"
                                                          "9998,24,0,14\r\n"
                                                          "1000,10.40,2.25,46.17\r\n"
                                                          "999,,2.24,46.18\r\n"
                                                          "998,10.41,,46.19\r\n"
                                                          "x,10.42,2.23,46.20\r\n" // no points: skipped
                                                          "997,10.43\r\n"));       // short line
    tabel.LoadFromCSV(path, "hø");
    EXPECT_EQ(tabel.EltidKorr, 0);
    EXPECT_EQ(Rows(tabel), (QList<QPair<qint32, qint32>>{{225, 1000}, {224, 999}}));
    tabel.LoadFromCSV(path, "400");
    EXPECT_EQ(tabel.EltidKorr, 14);
    EXPECT_EQ(Rows(tabel), (QList<QPair<qint32, qint32>>{{4617, 1000}, {4618, 999}, {4619, 998}}));
    tabel.LoadFromCSV(path, "100");
    EXPECT_EQ(Rows(tabel), (QList<QPair<qint32, qint32>>{{1040, 1000}, {1041, 998}, {1043, 997}}));
    EXPECT_EQ(tabel.GetPoint(1042), 997);
}

TEST_F(PointTabelTest, CsvHeaderWithoutTheEventLeavesTheTableEmpty) {
    TPointTabel tabel;
    tabel.LoadFromCSV(Write("blue.csv", "1000,10.40\n9998,24\n9999,100,200\n1000,10.40,20.80\n"), "100");
    ASSERT_EQ(tabel.Rows().size(), 1u);
    tabel.LoadFromCSV(Write("other.csv", "1000,10.40\n9999,200,400\n999,10.41,20.81\n"), "100");
    EXPECT_TRUE(tabel.Rows().empty());
    EXPECT_EQ(tabel.GetPoint(1040), 0);
    // Rows before any header belong to no event.
    tabel.LoadFromCSV(Write("noheader.csv", "1000,10.40\n999,10.41\n"), "100");
    EXPECT_TRUE(tabel.Rows().empty());
}

TEST_F(PointTabelTest, AFileThatCannotBeReadRaisesOneErrorNamingIt) {
    TPointTabel tabel;
    tabel.LoadFromCSV(Write("blue.csv", "9999,100\n9998,24\n1000,10.40\n"), "100");
    ASSERT_FALSE(tabel.Rows().empty());
    const QString missing = dir.filePath("M35100.txt");
    EXPECT_EQ(ErrorText([&] { tabel.LoadFromFile(missing); }),
              QStringLiteral("Kan ikke indlæse pointtabel \"%1\"").arg(missing));
    EXPECT_TRUE(tabel.Rows().empty());
    EXPECT_EQ(tabel.EltidKorr, 0);
    EXPECT_EQ(ErrorText([&] { tabel.LoadFromCSV(dir.path(), "100"); }),
              QStringLiteral("Kan ikke indlæse pointtabel \"%1\"").arg(dir.path()));
    EXPECT_THROW(tabel.LoadFromCSV(missing, "100"), EPointTabelError);
}

TEST_F(PointTabelTest, TablesInWholeSecondsAreScaled) {
    TPointTabel tabel;
    tabel.LoadFromCSV(Write("walk.csv", "9999,3000G\n1000,14:00\n999,14:01\n"), "3000G");
    tabel.ScaleResults();
    EXPECT_EQ(Rows(tabel), (QList<QPair<qint32, qint32>>{{140000, 1000}, {140100, 999}}));
    EXPECT_EQ(tabel.GetPoint(140050), 999);
}

// A shipped table named as the program names it: in a folder of another letter case, after a backslash.
TEST(ShippedPointTabel, FoundByTheProgramsNameAndReadBetweenItsRows) {
    TPointTabel men;
    men.LoadFromCSV(QStringLiteral(ZUNO_SOURCE_DIR "/data/_T_BLUE\\iaaf-blue-points-men.csv"), "10K");
    EXPECT_EQ(men.GetPoint(7180), 1000); // between 7178 (1000) and 7184 (1001)
}
