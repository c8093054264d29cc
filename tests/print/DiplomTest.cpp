#include "print/D_TeksterDiplom.h"
#include "print/PrUtil.h"

#include "PrintRecorder.h"
#include "support/DecimalSeparator.h"
#include "support/Golden.h"
#include "support/PrinterToPdf.h"
#include "support/Test.h"

namespace {

TDateTime At(int hour, int minute) {
    return QTimeToDateTime(QTime(hour, minute));
}

TEST(DiplomTest, AFunRunsTimeIsTheFinishLessTheStartAndItsSpeedComesFromTheEventText) {
    EXPECT_EQ(MotionsloebTid(103015, At(10, 0)), QTime(0, 30, 15));
    EXPECT_EQ(MotionsloebTid(103015, 2 + At(10, 0)), QTime(0, 30, 15)); // the date part does not count
    EXPECT_EQ(MotionsloebTid(1500, At(23, 45)), QTime(0, 30));          // past midnight
    EXPECT_FALSE(MotionsloebTid(250000, At(10, 0)).isValid());

    const TDecimalSeparatorScope point(u'.');
    EXPECT_EQ(MotionsloebSpeedText(QTime(0, 30), "5 km"), "Km/time: 10.0");
    EXPECT_EQ(MotionsloebSpeedText(QTime(1, 30), "Halvmarathon 21.1 km - finale"), "Km/time: 14.1");
    EXPECT_EQ(MotionsloebSpeedText(QTime(1, 30), "Stafet"), "");
    EXPECT_EQ(MotionsloebSpeedText(QTime(9, 0), "3 km"), ""); // 0.3 km/h rounds to 0
}

TEST(DiplomTest, TheSecondStyleCentresItsLinesInVerdanaPrintsThemAndClearsTheBody) {
    const TPrinterToPdf pdf;
    TPrint print;
    QStringList laidOut;
    print.BeforePrintPage = [&](TCustomPrint& engine) {
        laidOut << SectionLines(engine, TPrintSection::Body);
    };
    TDiplomStyle2 diplom{"Ib Holm", "Aarhus 1900", "100 m", 4.5, "10.52 w:+1.2", ""};
    double row = 3;
    PrintDiplomStyle2(print, row, diplom);
    EXPECT_EQ(row, 10);
    EXPECT_EQ(print.Lines(TPrintSection::Body).Count(), 0);
    EXPECT_TRUE(print.Printed);
    const QStringList pages = PdfFilePages(pdf.FileName());
    ASSERT_EQ(pages.size(), 1);
    EXPECT_TRUE(pages[0].contains("Tid: 10.52 w:+1.2"));

    laidOut << "-- with a speed";
    diplom.SpeedText = "Km/time: 10.0";
    PrintDiplomStyle2(print, row, diplom);
    EXPECT_GOLDEN(laidOut, "print/diplom-style2.txt");
}

} // namespace
