#include "foundation/LxString.h"

#include "support/DecimalSeparator.h"
#include "support/Test.h"

TEST(LxStringText, TrimsOnlyWhatItIsAskedTo) {
    EXPECT_EQ(TrimLeftChar("xxaxx", u'x'), "axx");
    EXPECT_EQ(TrimRightChar("xxaxx", u'x'), "xxa");
    EXPECT_EQ(TrimLeftChar(QStringLiteral("\t \x01 a b "), QChar(0)), "a b ");
    EXPECT_EQ(TrimRightChar(QStringLiteral(" a b\r\n"), QChar(0)), " a b");
    EXPECT_EQ(TrimBlanks(" \ta\t "), "\ta\t");
}

TEST(LxStringText, PadsAndCutsToWidth) {
    EXPECT_EQ(PadRightStr("  ab", 4, u'.', true), "ab..");
    EXPECT_EQ(PadRightStr("abcdef", 3, u'.', false), "abc");
    EXPECT_EQ(PadLeftStr("abcdef", 3, u'.', false), "def");
    EXPECT_EQ(ZeroPad("7 ", 4), "007 ");
}

TEST(LxStringText, TranslatesSplitsAndFindsLast) {
    EXPECT_EQ(TranslateChars("ØÆÅ", "oaa", "ÆBLØ ÅS"), "aBLo aS");
    EXPECT_EQ(TranslateChars("ab", "x", "abc"), "xbc"); // no counterpart: unchanged

    QString text = "a::b::c";
    EXPECT_EQ(SplitFirst(text, "::"), "a");
    EXPECT_EQ(text, "b::c");

    EXPECT_EQ(LastPos("AB", "xabyab"), 5);
    EXPECT_EQ(LastPos("", "xab"), 0);
}

TEST(LxStringNumbers, IntegersInWidths) {
    EXPECT_EQ(IntToZeroStr(-5, 4), "-005");
    EXPECT_EQ(IntToZeroStr(12345, 3), "345");
    EXPECT_EQ(IntToZeroStr(-1234, 4), "-1234"); // the sign never replaces a digit
    EXPECT_EQ(IntToStrLeft(123456, 3), "123");
    EXPECT_EQ(IntStr(std::numeric_limits<qint64>::min()), "-9223372036854775808");
}

TEST(LxStringNumbers, FloatsUseTheDecimalSeparatorAndRoundHalvesAway) {
    const TDecimalSeparatorScope comma(u',');
    EXPECT_EQ(FloatToStrWidth(12345.678, 6, 2), "12345,");
    EXPECT_EQ(FloatToStrWidth(45000.5, 20, 10), "    45000,5000000000");
    EXPECT_EQ(FloatToStrDec(1052 / 100.0, 2), "10,52");
    EXPECT_EQ(FloatToStrDec(-2.5, 0), "-3");
    EXPECT_EQ(FloatToStrDec(2.675, 2), "2,68");
    EXPECT_EQ(FloatToStrDec(9.995, 2), "10,00");
    EXPECT_EQ(FloatToStrDec(-0.001, 2), "0,00");
    EXPECT_EQ(FloatToZeroStr(-3.5, 6, 1), "-003,5");

    SetDecimalSeparator(u'.');
    EXPECT_EQ(FloatToStrDec(1.5, 1), "1.5");
    EXPECT_EQ(FloatToStrDec(-0.05, 1), "-0.1");
}

TEST(LxStringNumbers, CommaTextsParseWhateverTheSeparator) {
    for (const QChar separator : {QChar(u','), QChar(u'.')}) {
        const TDecimalSeparatorScope scope(separator);
        EXPECT_DOUBLE_EQ(CommaStrToFloat("3,5"), 3.5);
        EXPECT_DOUBLE_EQ(CommaStrToFloat("3.5"), 3.5);
        EXPECT_DOUBLE_EQ(CommaStrToFloat(" -1,25e2 "), -125);
        EXPECT_DOUBLE_EQ(CommaStrToFloat("+,5"), 0.5);
    }
    EXPECT_EQ(CommaStrToFloat("1e-400"), 0);
    for (const char* bad : {"", " ", "abc", "1,2,3", "1 2", "e5", "-", "1e", "1e400", "0x10", "nan", "١"}) {
        EXPECT_THROW(CommaStrToFloat(QString::fromUtf8(bad)), EConvertError) << bad;
    }
    EXPECT_EQ(ErrorText([] { CommaStrToFloat("12a"); }), "\"12a\" er ikke et gyldigt tal");
    EXPECT_EQ(CommaStrToFloatDef("", 7), 0);
    EXPECT_EQ(CommaStrToFloatDef("x", 7), 7);
}
