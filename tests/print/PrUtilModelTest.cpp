#include "print/PrUtil.h"

#include "support/Test.h"

namespace {

constexpr auto Body = TPrintSection::Body;

QString UnitError(const char* value) {
    return QStringLiteral("Programmeringsfejl (SPrintFieldSetXError): %1 er ikke en gyldig værdi").arg(value);
}

TEST(PrUtilModelTest, EveryUnitValueMustFitSixteenBitsAndNoCentimetreBeNegative) {
    EXPECT_EQ(CmToUnits(2.5), 2500);
    EXPECT_EQ(CmToUnits(65.535), 65535);
    EXPECT_EQ(ErrorText([] { CmToUnits(65.536); }), UnitError("65.536"));
    EXPECT_EQ(ErrorText([] { CmToUnits(-0.0001); }), UnitError("-0.0001"));

    // X, width, an offset of 70,000 units (row 3.7) and a negative one (row -2.5).
    const struct {
        double X, Row, Width;
        const char* Value;
    } fields[] = {
        {70, 1, 0, "70"}, {1, 1, 66, "66"}, {-1, 1, 0, "-1"}, {1, 3.7, 0, "3.7"}, {1, -2.5, 0, "-2.5"}};
    TPrint print;
    for (const auto& field : fields)
        EXPECT_EQ(ErrorText([&] {
                      print.AddField(Body, TPrintAlignment::Left, field.X, field.Row, field.Width,
                                     TFieldKind::Text, "x");
                  }),
                  UnitError(field.Value));
    EXPECT_EQ(print.Lines(Body).Count(), 0); // a refused field makes no line

    TPrintLine& line = print.GetLine(Body, 1);
    EXPECT_THROW(line.SetSpaceBefore(-0.5), EPrintError);
    EXPECT_THROW(line.SetFixedHeight(-0.5), EPrintError);
    EXPECT_THROW(print.SetLeftMargin(100), EPrintError);
    EXPECT_THROW(print.GetColumnField(0).SetWidth(-1), EPrintError);
    line.SetFixedHeight(1.5);
    EXPECT_EQ(line.Height, -1500);
}

TEST(PrUtilModelTest, FieldsGoToTheWholeRowWithTheFractionAsOffsetAndTheSectionFont) {
    TPrint print;
    print.HeaderFont().Size = 14;
    print.AddField(Body, TPrintAlignment::Right, 2.25, 12.005, 3, TFieldKind::Text, "a");
    print.AddField(TPrintSection::Header, TPrintAlignment::Left, 0, 1, 0, TFieldKind::Text, "b");

    const TPrintLine& line12 = print.GetLine(Body, 12);
    ASSERT_EQ(line12.Fields.size(), 1u);
    const TPrintField& a = line12.Fields[0];
    EXPECT_EQ(std::tuple(a.X, a.Width, a.VOffset, a.VAlign),
              std::tuple(2250, 3000, 500, TPrintVAlign::Bottom));
    EXPECT_EQ(a.Font->Font, TPrintFont());
    EXPECT_EQ(print.GetLine(TPrintSection::Header, 1).Fields[0].Font->Font.Size, 14);
    EXPECT_EQ(print.Fonts().Count(), 2); // one record per distinct font
}

TEST(PrUtilModelTest, ColumnsAreAppendedOnDemandAndAMissingColumnAddsNothing) {
    TPrint print;
    TColumnField& column = print.GetColumnField(2);
    column.SetLeft(4.5);
    column.SetWidth(2);
    column.Alignment = TPrintAlignment::Right;
    EXPECT_EQ(print.Columns().size(), 3u);

    print.AddColumnField(Body, 2, 1, TFieldKind::Text, "x");
    print.AddColumnField(Body, 3, 2, TFieldKind::Text, "y");
    print.AddColumnField(Body, -1, 2, TFieldKind::Text, "y");
    const TPrintField& field = print.GetLine(Body, 1).Fields.at(0);
    EXPECT_EQ(std::tuple(field.X, field.Width, field.Alignment),
              std::tuple(4500, 2000, TPrintAlignment::Right));
    EXPECT_EQ(print.Lines(Body).Count(), 1);
}

TEST(PrUtilModelTest, BlocksSpanTwoWholeRowsAtLeastAndNeverOverlap) {
    TPrint print;
    print.AddBlock(3, 3);     // a single row
    print.AddBlock(5, 4);     // backwards
    print.AddBlock(2.7, 4.2); // 2 to 4
    print.AddBlock(4, 6);     // touches row 4
    print.AddBlock(0, 9);     // covers it
    print.AddBlock(5, 6);
    print.AddBlock(1, 2); // ends on row 2
    ASSERT_EQ(print.Blocks().Count(), 2);
    EXPECT_EQ(std::pair(print.Blocks().Items(0).From, print.Blocks().Items(0).To), std::pair(2.0, 4.0));
    EXPECT_EQ(std::pair(print.Blocks().Items(1).From, print.Blocks().Items(1).To), std::pair(5.0, 6.0));

    print.ClearSection(Body);
    EXPECT_EQ(print.Blocks().Count(), 0);
}

TEST(PrUtilModelTest, AnEmptyMultiLineSeparatorIsRefused) {
    TPrint print;
    EXPECT_EQ(
        ErrorText([&] { print.SetMultiLineSeparator(""); }),
        "Programmeringsfejl(SCustomPrintSetMultiLineSeparatorError): <MultiLineSeparator> må ikke være tom");
    EXPECT_EQ(print.MultiLineSeparator(), "\r\n");
}

} // namespace
