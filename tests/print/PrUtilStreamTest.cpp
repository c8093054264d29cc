#include "print/PrUtil.h"

#include "PrintStream.h"
#include "support/Test.h"

namespace {

constexpr auto Body = TPrintSection::Body;

// Every field kind in every section, columns, blocks, several fonts and lines with all their settings.
void BuildModel(TPrint& print) {
    TColumnField& column = print.GetColumnField(1);
    column.SetLeft(3.5);
    column.SetWidth(2);
    column.Alignment = TPrintAlignment::Center;
    for (int kind = 0; kind <= 11; ++kind) {
        print.LineFont().Size = 8 + kind % 3;
        print.LineFont().Style = static_cast<quint8>(kind % 16);
        print.AddFieldEx(Body, static_cast<TPrintAlignment>(kind % 5), kind * 0.5, kind + 1.002, 3,
                         static_cast<TPrintVAlign>(kind % 2 ? 5 : 2), static_cast<TFieldKind>(kind),
                         QStringLiteral("tekst %1 æøå").arg(kind));
    }
    print.AddColumnField(Body, 1, 4, TFieldKind::Text, "kolonne");
    TPrintLine& line = print.GetLine(Body, 3);
    line.NewPage = true;
    line.NewPageNo = 12;
    line.SetSpaceBefore(0.4);
    line.SetFixedHeight(1.25);
    print.GetLine(Body, 5).Height = 800;
    print.AddBlock(2, 4);
    print.AddBlock(6, 9);
    print.HeaderFont().Name = "Verdana";
    print.AddField(TPrintSection::Header, TPrintAlignment::RightMargin, 0, 101, 0, TFieldKind::Text, "hoved");
    print.FooterFont().Color = 0x0000FF;
    print.AddField(TPrintSection::Footer, TPrintAlignment::CenterMargins, 0, 2, 0, TFieldKind::PageNumber,
                   "Side ");
}

TEST(PrUtilStreamTest, AModelWithEveryKindReadsBackAsItWasWritten) {
    TPrint original;
    BuildModel(original);
    const QByteArray bytes = Streamed(original);
    EXPECT_TRUE(bytes.endsWith("SSF-JXTKRDWQFMHA-SSF"));

    TPrint copy;
    copy.AddField(Body, TPrintAlignment::Left, 0, 99, 0, TFieldKind::Text, "forsvinder");
    Read(copy, bytes);
    EXPECT_EQ(Streamed(copy), bytes);
    EXPECT_EQ(copy.Lines(Body).Count(), 12);
    const TPrintLine& line = copy.GetLine(Body, 3);
    EXPECT_EQ(std::tuple(line.NewPage, line.NewPageNo, line.SpaceBefore, line.Height),
              std::tuple(true, 12, 400, -1250));
    const TPrintField& field = copy.GetLine(Body, 12).Fields.at(0);
    EXPECT_EQ(std::tuple(field.X, field.Width, field.Kind, field.VOffset, field.Text),
              std::tuple(5500, 3000, TFieldKind::VerticalRule, 200, QString("tekst 11 æøå")));
    EXPECT_EQ(field.Font->Font, (TPrintFont{"Arial", 10, 11, 0}));
    EXPECT_EQ(copy.GetLine(TPrintSection::Footer, 2).Fields.at(0).Font->Font.Color, 0x0000FF);
    EXPECT_EQ(copy.Blocks().Count(), 2);
}

TEST(PrUtilStreamTest, AShortOrDamagedStreamIsRefusedAndChangesNothing) {
    TPrint original;
    BuildModel(original);
    const QByteArray bytes = Streamed(original);

    TPrint target;
    target.AddField(Body, TPrintAlignment::Left, 1, 1, 0, TFieldKind::Text, "mit eget");
    target.AddBlock(1, 3);
    const QByteArray before = Streamed(target);
    for (qsizetype length = 0; length < bytes.size(); ++length) {
        EXPECT_THROW(Read(target, bytes.left(length)), EPrintError) << length;
        ASSERT_EQ(Streamed(target), before) << length;
    }

    // A count of values far beyond what is left: the first column claims a billion.
    QByteArray counted = bytes;
    const qsizetype column = counted.indexOf(QByteArray("\x02\x03\x00\x00\x00", 5));
    ASSERT_GT(column, 0);
    counted.replace(column + 1, 4, QByteArray("\x00\xCA\x9A\x3B", 4));
    EXPECT_EQ(ErrorText([&] { Read(target, counted); }),
              "Udskriftsdata kan ikke læses: en liste slutter for tidligt");

    // A field naming font record 99.
    TPrint small;
    small.AddField(Body, TPrintAlignment::Left, 0, 1, 0, TFieldKind::Text, "x");
    QByteArray font = Streamed(small);
    const qsizetype index = font.lastIndexOf(QByteArray("\x02\x00\x00\x00\x00\x02\x06\x00\x00\x00", 10));
    ASSERT_GT(index, 0);
    font[index + 1] = 99;
    EXPECT_EQ(ErrorText([&] { Read(target, font); }),
              "Udskriftsdata kan ikke læses: skrifttype nummer 99 findes ikke");
    EXPECT_EQ(ErrorText([&] {
                  Read(target, QByteArray("\x04\x03\x00"
                                          "abc",
                                          6));
              }),
              "Udskriftsdata kan ikke læses: det er ikke en udskrift");
    EXPECT_EQ(Streamed(target), before);
}

TEST(PrUtilStreamTest, ValuesAndListsOfANewerWriterAreSkipped) {
    TPrint original;
    original.GetColumnField(0).SetLeft(2);
    original.AddField(Body, TPrintAlignment::Left, 0, 1, 0, TFieldKind::Text, "x");
    QByteArray bytes = Streamed(original);
    // The column's count 3 becomes 5, followed by a string and a list holding an integer.
    const qsizetype column = bytes.indexOf(QByteArray("\x02\x03\x00\x00\x00\x02\xD0\x07", 8));
    ASSERT_GT(column, 0);
    bytes[column + 1] = 5;
    const qsizetype afterColumn = column + 5 + 3 * 5;
    bytes.insert(afterColumn, QByteArray("\x04\x02\x00ny\x01\x02\x07\x00\x00\x00\x00", 12));

    TPrint copy;
    Read(copy, bytes);
    EXPECT_EQ(Streamed(copy), Streamed(original));
}

} // namespace
