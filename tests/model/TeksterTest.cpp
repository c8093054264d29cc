#include "model/D_Tekster.h"

#include "support/Test.h"

#include "model/D_Context.h"
#include "model/D_StaevneSystemData.h"
#include "support/DecimalSeparator.h"

namespace {

// Every case starts Danish, with "." as decimal separator, on a meet of its own.
class Tekster : public ::testing::Test {
protected:
    Tekster() { ModelContext().SystemData = &meet; }

    TSystemData meet;

private:
    const TModelContextScope context_;
    const TDecimalSeparatorScope separator_{u'.'};
};

} // namespace

TEST_F(Tekster, FormatResultatByTypeAndSeparator) {
    const std::tuple<qint32, qint32, const char*, const char*> cases[] = {
        // clang-format off
        {1, 0, "0.00", "0,00"},                    {1, 1052, "10.52", "10,52"},
        {1, 10523, "1.05.23", "105,23"},           {1, 1234567, "1.23.45.67", "12345,67"},
        {1, 12345678, "12.34.56.78", "123456,78"}, {1, 123456789, "1234567.89", "1234567,89"},
        {1, -123, "12.3", "12,3"},                 {1, -6123, "6.12.3", "612,3"},
        {2, 765, "7.65", "7,65"},                  {4, 215, "2.15", "2,15"},
        {3, 7023, "7023", "7023"},                 {5, -12, "-12", "-12"},
        // clang-format on
    };
    for (const auto& [restype, mark, point, comma] : cases) {
        SetDecimalSeparator(u'.');
        EXPECT_EQ(FormatResultat(restype, mark), point) << mark;
        SetDecimalSeparator(u',');
        EXPECT_EQ(FormatResultat(restype, mark), comma) << mark;
    }
}

TEST_F(Tekster, ParseResultatTrimsAndReadsTenths) {
    const std::tuple<qint32, const char*, qint32> cases[] = {
        // clang-format off
        {1, "10.52", 1052},  {1, "10,5", -105},   {1, "1.05.23", 10523}, {1, "1:05.23", 10523},
        {1, "7", -7},        {1, "-1052", -1052}, {1, " 10.52 ", 1052},  {1, "", 0},
        {1, " x ", 0},       {2, "7.6", 760},     {2, "-76", -76},       {4, "2.15\t", 215},
        {3, "2147483647", 2147483647},            {1, "-214748364.8", -2147483648},
        // clang-format on
    };
    for (const auto& [restype, text, mark] : cases)
        EXPECT_EQ(ParseResultat(restype, text), mark) << text;

    for (const char* bad : {"abc", "10.5 2", "-", "1e3"})
        EXPECT_THROW(ParseResultat(2, bad), EConvertError) << bad;
    EXPECT_EQ(ErrorText([] { ParseResultat(1, "99999999.99"); }), "Resultatet \"99999999.99\" er for stort");
    EXPECT_THROW(ParseResultat(3, "2147483648"), EConvertError);
    EXPECT_THROW(ParseOvelseInteger("-2147483649"), EConvertError);
    EXPECT_EQ(ParseOvelseInteger(" -2147483648 "), -2147483647 - 1);
}

TEST_F(Tekster, ATimesMinutesAndSecondsAreTwoDigitsBelowSixtyAndAFieldMarksOneDecimalIsTenthsOfAMetre) {
    const std::tuple<qint32, const char*, qint32> cases[] = {
        // clang-format off
        {1, "1.59.59", 15959},     {1, "59:59.99", 595999}, {1, "99.59.99", 995999}, {1, "1.05.2", -1052},
        {1, "75.3", -753},         {1, "75.23", 7523},      {1, "10:15:03", 101503}, {1, "1.00.00.00", 1000000},
        {1, "-214748364.8", -2147483648},
        {2, "11.5", 1150},         {2, "11,5", 1150},       {2, " 7.6 ", 760},       {2, "11.50", 1150},
        {2, "1.80", 180},          {2, "180", 180},         {2, "7", 7},             {4, "2.1", 210},
        {3, "11.5", 115},          {5, "7.5", 75},
        // clang-format on
    };
    for (const auto& [restype, text, mark] : cases)
        EXPECT_EQ(ParseResultat(restype, text), mark) << restype << " " << text;

    for (const char* bad : {"99.99.99", "1.60.00", "1.59.60.00", "1.5.23", "1..23", "1.99.59.00", "-1.60.0"})
        EXPECT_EQ(ErrorText([bad] { ParseResultat(1, bad); }),
                  QStringLiteral("\"%1\" er ikke en gyldig tid: minutter og sekunder skrives med to cifre "
                                 "under 60")
                      .arg(bad))
            << bad;
    EXPECT_EQ(ErrorText([] { ParseResultat(1, "1.ab.23"); }), "\"1.ab.23\" er ikke et gyldigt resultat");
}

TEST_F(Tekster, AWindTypedMustBeAWindOrNoReading) {
    const std::pair<const char*, qint16> cases[] = {
        // clang-format off
        {"+1.8", 18}, {"2,05", 21}, {"-1.25", -12}, {" 2 ", 2}, {"+1.8m/s", 18}, {"-0,4 M/S", -4}, {".5", 5},
        {"x", 999},   {"X", 999},   {"*", 999},     {"", 999},  {"  ", 999},
        // clang-format on
    };
    for (const auto& [text, wind] : cases)
        EXPECT_EQ(ParseVindTekst(text), wind) << text;
    for (const char* bad : {"abc", "1.5abc", "m/s", "1,8+-", "+-2", "1.2.3", "xx", "2 3"})
        EXPECT_EQ(ErrorText([bad] { ParseVindTekst(bad); }),
                  QStringLiteral("\"%1\" er ikke et gyldigt tal").arg(bad))
            << bad;
}

TEST_F(Tekster, EventMarksWithWindAndFouls) {
    EXPECT_EQ(FormatOvelseResultat(2, 2, true, 0, 999), "X");
    EXPECT_EQ(FormatOvelseResultat(5, 1, false, 0, 0), "0.00");
    EXPECT_EQ(FormatOvelseResultat(1, 1, true, 1052, 999), "x10.52");
    EXPECT_EQ(FormatOvelseResultat(1, 1, true, 1052, 21), "w10.52");
    EXPECT_EQ(FormatOvelseResultat(1, 1, true, 1052, 20), "10.52");
    EXPECT_EQ(FormatOvelseResultat(1, 1, false, 1052, 999), "10.52");
    EXPECT_EQ(FormatOvelseResultatTenths(1, 1, 1052), "10.5");
    EXPECT_EQ(RemoveResultatSeparators("1:05.2,3"), "10523");
}

TEST_F(Tekster, WindTextsAndLimits) {
    EXPECT_EQ(FormatVind(0), "+0.0");
    EXPECT_EQ(FormatVind(-5), "-0.5");
    EXPECT_EQ(FormatVind(21), "+2.1");
    EXPECT_EQ(FormatVind(999), "x");
    EXPECT_EQ(FormatVindMs(18), "+1.8m/s");
    SetDecimalSeparator(u',');
    EXPECT_EQ(FormatVind(-12), "-1,2");

    const std::pair<const char*, qint16> cases[] = {
        // clang-format off
        {"+1.8", 18}, {"2.05", 21}, {"-1.25", -12}, {"2", 2}, {"+2.01", 21}, {"-2.01", -20}, {" x ", 999},
        {"*", 999},   {"", 999},    {"m/s", 999},   {"1,8+-", 18}, {"-0.0000000000000000001", 0},
        {"+99999999999999999999", 100},
        // clang-format on
    };
    for (const auto& [text, wind] : cases)
        EXPECT_EQ(ParseVind(text), wind) << text;
}

TEST_F(Tekster, StatusAndOutsideCompetitionCodes) {
    const std::tuple<const char*, const char*, const char*, const char*> cases[] = {
        // clang-format off
        {"A", "DNS", "DNS", "Afbud"}, {" a ", "DNS", "DNS", "Afbud"}, {"E", "DNS", "DNS", "Ej mødt"},
        {"d", "DQ", "DQ", "Disk"},    {"U", "DNF", "DNF", "Udgået"},  {"v", "Venter", "WAIT", "Venter"},
        {"", "", "", ""},             {"X", "", "", ""},              {"AE", "", "", ""},
        // clang-format on
    };
    for (const auto& [kode, danish, english, word] : cases) {
        meet.Engelsk = false;
        EXPECT_EQ(FormatResKode(kode), danish) << kode;
        EXPECT_EQ(FormatResKodeTekst(kode), word) << kode;
        meet.Engelsk = true;
        EXPECT_EQ(FormatResKode(kode), english) << kode;
    }
    // clang-format off
    for (auto [text, kode] : {std::pair{"afbud", "A"}, {"Ej mødt", "E"}, {"DISK", "D"}, {"udgået", "U"},
                              {"v", "V"}, {"A ", ""}, {"x", ""}})
        // clang-format on
        EXPECT_EQ(ParseResKode(text), kode) << text;

    EXPECT_TRUE(IsResKodeStarted(" ") && IsResKodeStarted("d") && !IsResKodeStarted("A"));
    EXPECT_TRUE(IsResKodeDiskUdgaaet("u") && !IsResKodeDiskUdgaaet("A") && !IsResKodeAfbud("a"));

    meet.Engelsk = false;
    const QString code1(QChar(1));
    for (const QString& kode : {QString("uh"), QString(" - "), code1})
        EXPECT_EQ(FormatUdenforKonk(kode), "UH");
    EXPECT_EQ(FormatUdenforKonk("u"), "UK");
    EXPECT_EQ(FormatUdenforKonk("x"), "");
    meet.Engelsk = true;
    EXPECT_EQ(FormatUdenforKonk(code1), "OOT");
    for (const QString& text : {QString("oot"), QString("-"), code1 + "x", QString("UH")})
        EXPECT_EQ(ParseUdenforKonk(text), "-");
    for (const QString& text : {QString("u"), QString("UK"), QString("ooc")})
        EXPECT_EQ(ParseUdenforKonk(text), "U");
    EXPECT_EQ(ParseUdenforKonk("Z"), "");
}

TEST_F(Tekster, RoundNamesAndAttemptNumbers) {
    // clang-format off
    const std::tuple<QString, const char*, const char*> cases[] = {
        {"", "final", "finale"}, {QString(QChar(0)), "final", "finale"}, {"I", "round 1", "indledende"},
        {"K2", "qualification", "kvalifikation"}, {"M", "round 2", "mellemheats"}, {"S", "semi finals", "semifinale"}};
    // clang-format on
    for (const auto& [runde, english, danish] : cases) {
        meet.Engelsk = true;
        EXPECT_EQ(GetRundeNavn(runde), english);
        meet.Engelsk = false;
        EXPECT_EQ(GetRundeNavn(runde), danish);
    }
    EXPECT_EQ(ParseSerieNr(" 12 "), 12);
    EXPECT_EQ(ParseSerieNr("99999999999"), 0);
}

TEST_F(Tekster, PointsNamesAndAges) {
    EXPECT_EQ(FormatPoint(12.5), "12½p");
    EXPECT_EQ(FormatPoint(12.25), "12.3p");
    EXPECT_EQ(FormatPoint(12.004), "12p");
    meet.VT = true;
    EXPECT_EQ(FormatPoint(12.5), "13p");

    EXPECT_EQ(FormatSurnameFirst(" Hans Peter  Jensen (Aarhus) "), "JENSEN Hans Peter (Aarhus)");
    EXPECT_EQ(FormatSurnameFirst("søren  ærø"), "ÆRØ søren");
    EXPECT_EQ(FormatSurnameFirst("(Gæst)"), "(Gæst)");

    const std::tuple<int, int, int> cases[] = {
        {5, 2008, 3}, {15, 2008, 93},  {12, 2026, 14},    {26, 2026, 0},   {27, 2026, 99},
        {0, 2026, 0}, {2010, 2008, 0}, {1883, 2008, 125}, {1882, 2008, 0}, {12, 1999, 87}};
    for (const auto& [aargang, year, alder] : cases)
        EXPECT_EQ(CalcAlder(aargang, year), alder) << aargang << " " << year;
    meet.Dato = QDate(1899, 12, 30).daysTo(QDate(2026, 6, 1)) + 0.5;
    EXPECT_EQ(CalcAlder(12), 14);
}

TEST_F(Tekster, PackedTimesAndAttemptCodes) {
    EXPECT_EQ(FormatTidHHMM(13301500), "13:30");
    EXPECT_EQ(FormatTidHHMM(-1330150), "13:30");
    EXPECT_EQ(DateTimeToTid(TidToDateTime(23595999)), 23595999);
    EXPECT_FALSE(TidToDateTime(24000000).isValid());
    EXPECT_EQ(TidToHundredths(1020304), 360000 + 12000 + 300 + 4);
    EXPECT_EQ(TidToHundredths(-2147483647), 21474LL * 360000 + 83 * 6000 + 64 * 100 + 70);
    EXPECT_DOUBLE_EQ(TidToSeconds(-123), 12.3);

    EXPECT_EQ(FormatForsogKode(123), "*-+");
    EXPECT_EQ(FormatForsogKodeXO(123), "-XO");
    EXPECT_EQ(ParseForsogKode("*-+"), 123);
    EXPECT_EQ(ParseForsogKode("+ "), 30);
    EXPECT_EQ(ParseForsogKode("************"), 0);
}
