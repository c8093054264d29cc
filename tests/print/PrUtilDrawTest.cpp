#include "print/PrUtil.h"
#include "print/PrUtilCanvas.h"
#include "print/PrUtilFormat.h"

#include "PrintRecorder.h"
#include "support/Test.h"

#include <QFontMetricsF>

namespace {

constexpr auto Body = TPrintSection::Body;
constexpr int Dpi = 300;

double Px(double units) {
    return units * Dpi / UnitsPerInch;
}

std::unique_ptr<TRecordingDevice> Draw(TPrint& print) {
    auto device = std::make_unique<TRecordingDevice>(Dpi);
    RecordPrint(print, *device);
    return device;
}

double TopOf(const TRecordedText& text) {
    return text.Baseline.y() - QFontMetricsF(text.Font).ascent();
}

double RightOf(const TRecordedText& text) {
    return text.Baseline.x() + QFontMetricsF(text.Font).horizontalAdvance(text.Text);
}

TEST(PrUtilDrawTest, SmallDecimalsAreHalfSizeWithTheirTopsAlignedAndNeedASeparatorAndABox) {
    TPrint print;
    print.AddField(Body, TPrintAlignment::Right, 2, 1, 3, TFieldKind::SmallDecimals, "12.34");
    print.AddField(Body, TPrintAlignment::Right, 2, 2, 3, TFieldKind::SmallDecimals, "1234");
    print.AddField(Body, TPrintAlignment::Right, 2, 3, 0, TFieldKind::SmallDecimals, "5,6");
    print.AddField(Body, TPrintAlignment::Right, 2, 4, 0.3, TFieldKind::FitSmallDecimals, "987,65");
    const auto device = Draw(print);
    EXPECT_EQ(device->TextsOf(0), QStringList({"12", "34", "987", "65"}));
    const TRecordedText& whole = device->Texts[0];
    const TRecordedText& decimals = device->Texts[1];
    EXPECT_EQ(whole.Font.pixelSize(), 42); // 10 pt at 300 dpi
    EXPECT_EQ(decimals.Font.pixelSize(), 21);
    EXPECT_NEAR(TopOf(whole), TopOf(decimals), 1);
    EXPECT_NEAR(RightOf(decimals), Px(5000), 1.5);    // the pair ends at the box's right edge
    EXPECT_LT(device->Texts[2].Font.pixelSize(), 42); // lowered until it fits 3 mm
}

TEST(PrUtilDrawTest, TextsAlignAtXInTheBoxOrBetweenTheMargins) {
    TPrint print;
    print.SetLeftMargin(1);
    print.SetRightMargin(1);
    print.AddField(Body, TPrintAlignment::Right, 5, 1, 0, TFieldKind::Text, "ender ved X");
    print.AddField(Body, TPrintAlignment::Center, 5, 2, 4, TFieldKind::Text, "midt i boksen");
    print.AddField(Body, TPrintAlignment::RightMargin, 5, 3, 4, TFieldKind::Text, "højre margen");
    print.AddField(Body, TPrintAlignment::CenterMargins, 5, 4, 4, TFieldKind::Text, "midt på siden");
    print.AddField(Body, TPrintAlignment::Left, 5, 5, 1, TFieldKind::FitText, "en meget lang tekst");
    const auto device = Draw(print);
    const double pageWidth = static_cast<int>(8.5 * Dpi * 0.99);
    const auto centre = [](const TRecordedText& text) { return (text.Baseline.x() + RightOf(text)) / 2; };
    EXPECT_NEAR(RightOf(*device->Find("ender ved X")), Px(6000), 1);
    EXPECT_NEAR(centre(*device->Find("midt i boksen")), Px(1000 + 5000 + 2000), 1);
    EXPECT_NEAR(RightOf(*device->Find("højre margen")), pageWidth - Px(1000), 1.5);
    EXPECT_NEAR(centre(*device->Find("midt på siden")), pageWidth / 2, 1.5);
    const TRecordedText& fitted = *device->Find("en meget lang tekst");
    EXPECT_LT(fitted.Font.pixelSize(), 42);
    EXPECT_LE(RightOf(fitted), Px(7000) + 2);
    EXPECT_EQ(fitted.Font.family(), "Liberation Sans");
}

TEST(PrUtilDrawTest, FieldsSitAtTheTopMiddleOrBottomOfTheirLineOrAtTheirOffset) {
    TPrint print;
    print.GetLine(Body, 1).Height = -2000;
    print.AddFieldEx(Body, TPrintAlignment::Left, 0, 1, 0, TPrintVAlign::Top, TFieldKind::Text, "top");
    print.AddFieldEx(Body, TPrintAlignment::Left, 3, 1, 0, TPrintVAlign::Center, TFieldKind::Text, "midt");
    print.AddFieldEx(Body, TPrintAlignment::Left, 6, 1, 0, TPrintVAlign::Bottom, TFieldKind::Text, "bund");
    print.AddFieldEx(Body, TPrintAlignment::Left, 9, 1.005, 0, TPrintVAlign::Bottom, TFieldKind::Text,
                     "5 mm");
    const auto device = Draw(print);
    const int height = TUnitMetrics().Height(TPrintFont());
    EXPECT_NEAR(TopOf(*device->Find("top")), 0, 1);
    EXPECT_NEAR(TopOf(*device->Find("midt")), Px((2000 - height) / 2), 1);
    EXPECT_NEAR(TopOf(*device->Find("bund")), Px(2000 - height), 1);
    EXPECT_NEAR(TopOf(*device->Find("5 mm")), Px(500), 1);
}

TEST(PrUtilDrawTest, AnOverlongWordOfAMultiLineFieldIsClippedToItsBox) {
    TPrint print;
    print.AddField(Body, TPrintAlignment::Left, 2, 1, 1.5, TFieldKind::MultiLine,
                   "Kort Atletikstævneresultatliste");
    print.AddField(Body, TPrintAlignment::Left, 0, 2, 0, TFieldKind::MultiLine, "uden bredde er tekst");
    const auto device = Draw(print);
    EXPECT_EQ(device->TextsOf(0),
              QStringList({"Kort", "Atletikstævneresultatliste", "uden bredde er tekst"}));
    const TRecordedText& word = *device->Find("Atletikstævneresultatliste");
    EXPECT_GT(RightOf(word), Px(3500)); // wider than the box ...
    EXPECT_NEAR(word.Clip.left(), Px(2000), 1);
    EXPECT_NEAR(word.Clip.right(), Px(3500), 1); // ... and cut at its right edge
    EXPECT_TRUE(device->Find("Kort")->Clip.isEmpty());
}

TEST(PrUtilDrawTest, VariablesPageNumbersDatesAndFontsOfTheLists) {
    TPrint print;
    print.AddField(Body, TPrintAlignment::Left, 0, 1, 0, TFieldKind::Variable, "Klub");
    // Names ignore case: the second value replaces the first.
    print.GetLine(Body, 1).Variables.SetValue("KLUB", "AGF");
    print.GetLine(Body, 1).Variables.SetValue("klub", "Aarhus 1900");
    print.AddField(Body, TPrintAlignment::Left, 0, 2, 0, TFieldKind::Variable, "Hold");
    print.AddField(Body, TPrintAlignment::Left, 0, 3, 0, TFieldKind::DateTime, "'år' yyyy");
    print.LineFont().Name = "Verdana";
    print.AddField(Body, TPrintAlignment::Left, 0, 4, 0, TFieldKind::PageNumber, "Side ");
    print.LineFont().Name = "Courier New";
    print.AddField(Body, TPrintAlignment::Left, 0, 5, 0, TFieldKind::Text, "kode");
    print.PageNo = 4;
    const auto device = Draw(print);
    EXPECT_EQ(device->TextsOf(0),
              QStringList({"Aarhus 1900", "? <Hold> ?", "år " + QString::number(QDate::currentDate().year()),
                           "Side 5", "kode"}));
    EXPECT_EQ(device->Find("Side 5")->Font.family(), "DejaVu Sans");
    EXPECT_EQ(device->Find("kode")->Font.family(), "Liberation Mono");
}

TEST(PrUtilDrawTest, RulesAndBarcodesAreBlackBarsInTheirPlace) {
    TPrint print;
    print.SetLeftMargin(1);
    print.SetRightMargin(2);
    print.GetLine(Body, 1).Height = -1000;
    print.AddField(Body, TPrintAlignment::Left, 0, 1, 0, TFieldKind::HorizontalRule, "0,08");
    print.GetLine(Body, 2).Height = -1000;
    print.AddField(Body, TPrintAlignment::Left, 3, 2, 0, TFieldKind::VerticalRule, "0.02");
    print.AddField(Body, TPrintAlignment::Left, 0, 3, 0, TFieldKind::HorizontalRule, "tyk");
    print.AddField(Body, TPrintAlignment::Left, 5, 4, 4, TFieldKind::Ean13, " 5701234567892 ");
    print.AddField(Body, TPrintAlignment::Left, 5, 5, 4, TFieldKind::Interleaved2of5, "0");
    const auto device = Draw(print);
    ASSERT_GE(device->Rects.size(), 3u);
    const QRectF rule = device->Rects[0].Rect;
    const double pageWidth = static_cast<int>(8.5 * Dpi * 0.99);
    EXPECT_EQ(rule.height(), 9); // 0.8 mm
    EXPECT_NEAR(rule.left(), Px(1000), 1);
    EXPECT_NEAR(rule.right(), pageWidth - Px(2000), 2);
    EXPECT_NEAR(rule.center().y(), Px(500), 1);
    const QRectF bar = device->Rects[1].Rect;
    EXPECT_EQ(std::tuple(bar.left(), bar.width(), bar.top(), bar.height()),
              std::tuple(std::round(Px(4000)), 2.0, std::round(Px(1000)), std::round(Px(1000))));
    const int barcodeTop = std::round(Px(2000 + TUnitMetrics().Height(TPrintFont())));
    QRectF barcode;
    for (std::size_t i = 2; i < device->Rects.size(); ++i)
        barcode |= device->Rects[i].Rect;
    EXPECT_GE(barcode.left(), Px(6000) - 1);
    EXPECT_LE(barcode.right(), Px(10000) + 1);
    EXPECT_NEAR(barcode.top(), barcodeTop, 2);
    EXPECT_TRUE(device->Texts.empty());
}

TEST(PrUtilDrawTest, DatesAndTimesFollowTheirPatternWithDanishNames) {
    const QDateTime when(QDate(2025, 8, 9), QTime(13, 5, 7, 45));
    EXPECT_EQ(FormatDateTime("dddddd  t", when), "9. august 2025  13:05");
    EXPECT_EQ(FormatDateTime("ddddd tt", when), "09-08-2025 13:05:07");
    EXPECT_EQ(FormatDateTime("ddd dd/mm/yy hh:mm:ss.zzz", when), "lør 09-08-25 13:05:07.045");
    EXPECT_EQ(FormatDateTime("dddd d. mmm 'kl.' h:n am/pm \"ok\"", when), "lørdag 9. aug kl. 13:5 pm ok");
    EXPECT_EQ(FormatDateTime("c", QDateTime(QDate(2024, 1, 2), QTime(0, 0))), "02-01-2024");
}

} // namespace
