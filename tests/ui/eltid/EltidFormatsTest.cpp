// The three timing systems' files as their layouts give them, read and matched to heat 1; their times,
// thousandths and winds.
#include "EltidFixture.h"
#include "model/D_Tekster.h"

namespace {

using TEltidFormats = TEltidTest;

TEST(EltidTid, FractionsCountByTheirDigitsAndThousandthsRoundUp) {
    const auto text = [](const char* tid, bool minutes = false) {
        const std::optional<TEltidTid> t = ConvertEltidTid(QString::fromLatin1(tid), minutes);
        return t ? QStringLiteral("%1 %2 %3").arg(t->Text()).arg(t->Mark).arg(t->Tusindedele)
                 : QStringLiteral("-");
    };
    EXPECT_EQ(text("10.001"), "10.01 1001 1");
    EXPECT_EQ(text("59.999"), "1.00.00 10000 999");
    EXPECT_EQ(text("0:59.999"), "1.00.00 10000 999");
    EXPECT_EQ(text("10.010"), "10.01 1001 10");
    EXPECT_EQ(text("10.5"), "10.50 1050 0");
    EXPECT_EQ(text("9.87"), "09.87 987 0");
    EXPECT_EQ(text("10,52"), "10.52 1052 0");
    EXPECT_EQ(text("1:05.23"), "1.05.23 10523 0");
    EXPECT_EQ(text("1:05.23", true), "65.23 6523 0");
    EXPECT_EQ(text("9.87", true), "09.87 987 0");
    EXPECT_EQ(text(" 10.52** "), "10.52 1052 0");
    // Seconds beyond a minute are minutes.
    EXPECT_EQ(text("125.34"), "2.05.34 20534 0");
    for (const char* bad :
         {"", "0", "0.00", "1:02:03.45", "DNF", "-10.2", "10.2a", "1:75.00", ":", "10.1234567890"})
        EXPECT_EQ(text(bad), "-") << bad;
}

TEST(EltidTid, WindsAreCheckedLikeATypedWind) {
    const auto vind = [](const char* text) {
        const TEltidVind v = CheckEltidVind(QString::fromLatin1(text));
        return v.Vind             ? QString::number(*v.Vind)
               : v.Fejl.isEmpty() ? QStringLiteral("none")
                                  : QStringLiteral("bad");
    };
    EXPECT_EQ(vind("+1.2"), "12");
    EXPECT_EQ(vind("+1.2 m/s"), "12");
    EXPECT_EQ(vind("-0,35"), "-3");
    EXPECT_EQ(vind("+2.01"), "21");
    EXPECT_EQ(vind("12"), "12"); // typed tenths
    EXPECT_EQ(vind("x"), QString::number(WindNotMeasured));
    EXPECT_EQ(vind(""), "none");
    for (const char* bad : {"12.3", "+1.2.3", "abc", "1,2345", "NWI", "+"})
        EXPECT_EQ(vind(bad), "bad") << bad;
    EXPECT_EQ(EltidStatusKode(u" dnf "), "U");
    EXPECT_EQ(EltidStatusKode(u"DQ"), "D");
    EXPECT_EQ(EltidStatusKode(u"DNS"), "E");
    EXPECT_EQ(EltidStatusKode(u"Rang"), "");
}

TEST_F(TEltidFormats, OmegaFixedColumnsWithLaneAndBib) {
    TEltid& reader = Reader(TEltidSystem::Omega);
    Copy("HEAT1.CL");
    reader.Choose("heat1"); // found without regard to case
    ASSERT_EQ(reader.PollNow(), TEltidPoll::Read);
    // A start number given: the lane is not used.
    EXPECT_EQ(Lines(), QStringList({"1/0/104/10.52/0/OK", "2/0/105/10.61/0/OK", "3/0/103/10.61/0/OK",
                                    "4/0/106/10.88/0/OK", "5/0/102/11.02/0/OK", "6/0/107/11.40/0/OK",
                                    "DNF/0/108//0/DNF"}));
    EXPECT_EQ(reader.HeatVind(), "+1.2");
    EXPECT_EQ(reader.HeatVindFejl(), "");
    EXPECT_EQ(Runner(104).Resultat, 1052);
    EXPECT_EQ(Runner(104).PK, 1);
    EXPECT_EQ(Runner(104).Plac, 1);
    EXPECT_EQ(Runner(103).Resultat, 1061);
    EXPECT_EQ(reader.Lines().back().Resultat, &Runner(108));
    // A place word writes nothing until the heat is accepted.
    EXPECT_EQ(Runner(108).Resultat, 0);
    EXPECT_EQ(Runner(108).RK, "");
}

TEST_F(TEltidFormats, OmegaWithoutLaneAndWithMinutes) {
    TEltid& reader = Reader(TEltidSystem::Omega);
    Copy("NOLANE.CL");
    reader.Choose("NOLANE");
    ASSERT_EQ(reader.PollNow(), TEltidPoll::Read);
    EXPECT_EQ(Lines(), QStringList({"1/0/101/1.05.23/0/OK", "2/0/102/1.06.00/0/OK", "3/0/103/1.07.90/0/OK"}));
    EXPECT_EQ(reader.HeatVind(), "-0.4");
    reader.SetFlags(true, false);
    reader.Choose("NOLANE");
    ASSERT_EQ(reader.PollNow(), TEltidPoll::Read);
    EXPECT_EQ(Lines().first(), "1/0/101/65.23/0/OK");
    EXPECT_EQ(Runner(101).Resultat, 6523);
}

TEST_F(TEltidFormats, OmegaThousandthsByLane) {
    TEltid& reader = Reader(TEltidSystem::Omega);
    reader.SetFlags(false, true);
    Copy("THOUS.CL");
    reader.Choose("THOUS");
    ASSERT_EQ(reader.PollNow(), TEltidPoll::Read);
    EXPECT_EQ(Lines(), QStringList({"1/4/0/10.01/1/OK", "2/5/0/10.01/9/OK", "3/3/0/10.01/10/OK",
                                    "4/6/0/1.00.00/999/OK"}));
    EXPECT_EQ(Runner(104).Tusindedele, 1);
    EXPECT_EQ(Runner(106).Resultat, 10000);
    // "x" is no reading: no wind is taken.
    EXPECT_EQ(reader.HeatVind(), "");
}

TEST_F(TEltidFormats, AlgeTabFieldsAndItsWindFile) {
    TEltid& reader = Reader(TEltidSystem::Alge);
    Copy("HEAT1.TXT");
    Copy("HEAT1.SAV");
    reader.Choose("HEAT1");
    ASSERT_EQ(reader.PollNow(), TEltidPoll::Read);
    // The heading is no line; the last field is read without its closing TAB.
    EXPECT_EQ(Lines(), QStringList({"1/0/104/10.52/0/OK", "2/0/105/10.61/0/OK", "3/0/103/10.61/0/OK",
                                    "4/0/106/10.88/0/OK", "DQ/0/108//0/DQ"}));
    EXPECT_EQ(reader.HeatVind(), "+0.8");
    EXPECT_EQ(Runner(106).Resultat, 1088);
}

TEST_F(TEltidFormats, LynxCommaFieldsWithTheWindInTheHeading) {
    TEltid& reader = Reader(TEltidSystem::Lynx);
    Copy("HEAT1.LIF");
    reader.Choose("HEAT1");
    ASSERT_EQ(reader.PollNow(), TEltidPoll::Read);
    // Three decimals round up to hundredths and give thousandths; an empty place is no line.
    EXPECT_EQ(Lines(), QStringList({"1/0/104/10.53/523/OK", "2/0/105/10.61/610/OK", "3/0/103/10.62/611/OK",
                                    "4/0/106/10.88/0/OK", "DNS/0/102/0/0/DNS"}));
    EXPECT_EQ(reader.HeatVind(), "+1.5");
    EXPECT_EQ(Runner(104).Resultat, 1053);
    EXPECT_EQ(Runner(104).Tusindedele, 523);
    EXPECT_EQ(Runner(107).Resultat, 0);
}

TEST_F(TEltidFormats, LynxWithLineFeedsAlone) {
    TEltid& reader = Reader(TEltidSystem::Lynx);
    Copy("HEAT2.LIF", "heat2.lif");
    reader.Choose("HEAT2");
    ASSERT_EQ(reader.PollNow(), TEltidPoll::Read);
    EXPECT_EQ(Lines(), QStringList({"1/0/106/10.70/0/OK", "2/0/104/10.80/0/OK"}));
    EXPECT_EQ(reader.HeatVind(), "-0.3");
}

TEST_F(TEltidFormats, BadLinesStayVisibleAsFejlAndChangeNothing) {
    TEltid& reader = Reader(TEltidSystem::Alge);
    Write("BAD.TXT", "1\t104\t4\t\t\t\t\t10.52\r\n"
                     "2\t105\t5\t\t\t\t\t1:02:03.45\r\n" // hours
                     "XX\t106\t6\t\t\t\t\t10.70\r\n"     // a place that is no number
                     "3\t999\t7\t\t\t\t\t10.80\r\n"      // nobody in the heat
                     "4\t104\t3\t\t\t\t\t10.90\r\n");    // a runner already placed
    reader.Choose("BAD");
    ASSERT_EQ(reader.PollNow(), TEltidPoll::Read);
    EXPECT_EQ(Lines(), QStringList({"1/0/104/10.52/0/OK", "2/0/105/1:02:03.45/0/FEJL", "3/0/999/10.80/0/FEJL",
                                    "4/0/104/10.90/0/FEJL", "XX/0/106/10.70/0/FEJL"}));
    EXPECT_EQ(reader.FejlCount(), 4);
    EXPECT_EQ(Runner(104).Resultat, 1052);
    for (const qint32 n : {105, 106, 107})
        EXPECT_EQ(Runner(n).Resultat, 0) << n;
    EXPECT_NE(reader.Lines()[3].FejlText(), "");
}

} // namespace
