#include "model/D_StaevneDefData.h"

#include "support/Test.h"

#include "model/D_DBDefFields.h"
#include "model/D_StdKlasser.h"
#include "tools/setup/EventCatalogue.h"

#include <QMap>
#include <QSet>

namespace {

// The Danish records of the shipped catalogue: event code with its type, and "event,attribute".
struct TShippedCatalogue {
    QMap<QString, int> Ovtype;
    QSet<QString> OvDefs;
};

const TShippedCatalogue& Shipped() {
    static const TShippedCatalogue catalogue = [] {
        const EventCatalogue source = EventCatalogue::Load(QStringLiteral(ZUNO_SOURCE_DIR "/data"));
        TShippedCatalogue shipped;
        for (const OvelseRow& row : source.Ovelser())
            if (row.Sprog == 0)
                shipped.Ovtype.insert(row.Ovelse, row.Ovtype);
        for (const OvDefRow& row : source.OvDef())
            if (row.Sprog == 0)
                shipped.OvDefs.insert(row.Ovelse + u',' + row.Attribut);
        return shipped;
    }();
    return catalogue;
}

// What is wrong with an entry against the shipped catalogue; empty when it is there.
QString NotShipped(const QString& entry) {
    const TOvelseKode kode = SplitOvelseKode(entry);
    if (!Shipped().Ovtype.contains(kode.Ovelse))
        return entry + QStringLiteral(": no such event");
    if (!kode.Attribut.isEmpty() && !Shipped().OvDefs.contains(entry))
        return entry + QStringLiteral(": no such attribute");
    return {};
}

std::vector<std::pair<QString, THoldProgram>> HoldProgrammer() {
    std::vector<std::pair<QString, THoldProgram>> programs;
    for (const bool maend : {false, true}) {
        const QString koen = maend ? QStringLiteral("DT men ") : QStringLiteral("DT women ");
        for (int division = DTEliteDivision; division < DTDivisionCount; ++division) {
            for (const bool indledende : {true, false})
                programs.emplace_back(koen + QString::number(division) + (indledende ? u'I' : u'F'),
                                      DTProgram(maend, division, indledende));
        }
        programs.emplace_back(maend ? QStringLiteral("VT men") : QStringLiteral("VT women"),
                              VTProgram(maend));
    }
    for (const char* klasse : {"D15", "P15", "D19", "P19"})
        programs.emplace_back(QString::fromLatin1(klasse), LTUProgram(QString::fromLatin1(klasse)));
    return programs;
}

TEST(StaevneDefDataTest, EveryStandardClassHasItsNaturalEventsAndAllAreShipped) {
    EXPECT_EQ(StaevneDefDataErrors(), QStringList());
    ASSERT_FALSE(Shipped().Ovtype.isEmpty());
    for (int nr = 0; nr < StdKlasseCount; ++nr) {
        const QStringList& ovelser = NaturligeOvelser(nr);
        EXPECT_GE(ovelser.size(), 8) << GetStdKlasseKode(nr).toStdString();
        EXPECT_EQ(QSet<QString>(ovelser.begin(), ovelser.end()).size(), ovelser.size())
            << GetStdKlasseKode(nr).toStdString() << " lists an entry twice";
        for (const QString& entry : ovelser)
            EXPECT_EQ(NotShipped(entry), "") << GetStdKlasseKode(nr).toStdString();
    }
    EXPECT_TRUE(NaturligeOvelser(-1).isEmpty());
    EXPECT_TRUE(NaturligeOvelser(StdKlasseCount).isEmpty());
}

TEST(StaevneDefDataTest, TheNaturalEventsOfClassesThatDeriveFromOthers) {
    const auto of = [](const char* klasse) {
        return NaturligeOvelser(FindStdKlasse(QString::fromLatin1(klasse)));
    };
    // P14's list with 400, 60H /C, 100H, 400H, the heavier discus and javelin, C100H put in place.
    EXPECT_EQ(
        of("P16"),
        QStringList({"100",     "200",     "400",      "800",    "1000",   "1500",    "3000",    "60H,76 /C",
                     "100H,76", "400H,76", "2000H,76", "4X100",  "4X200",  "1000ST",  "LÆ,P",    "TR,P",
                     "HØ",      "ST",      "KU,3.0",   "DI,1.0", "SP,500", "HA,3.0",  "VÆ,7.26", "7K",
                     "C200",    "C800",    "C100H,76", "CLÆ,P",  "CHØ",    "CKU,3.0", "CSP,500"}));
    EXPECT_EQ(of("P17"), of("P16"));
    // P18's list with 5000 after 3000, the 3000 m steeplechase and the heavier javelin.
    EXPECT_EQ(of("K"),
              QStringList({"100",      "200",    "400",       "800",      "1000",    "1500",     "3000",
                           "5000",     "10000",  "60H,84 /B", "100H,84",  "400H,76", "3000H,76", "4X100",
                           "4X200",    "4X400",  "LÆ,P",      "TR,P",     "HØ",      "ST",       "KU,4.0",
                           "DI,1.0",   "SP,600", "HA,4.0",    "VÆ,9.072", "7K",      "C200",     "C800",
                           "C100H,84", "CLÆ,P",  "CHØ",       "CKU,4.0",  "CSP,600"}));
    EXPECT_EQ(of("P22"), of("K"));
    // M40's list (M35's followed by the decathlon) with the lighter hurdles and implements.
    EXPECT_EQ(
        of("M50"),
        QStringList({"100",      "200",    "400",    "800",      "1500",    "5000",    "100H,91", "400H,84",
                     "3000H,91", "4X100",  "4X400",  "HØ",       "ST",      "LÆ,P",    "TR,P",    "KU,6.0",
                     "DI,1.5",   "SP,700", "HA,6.0", "VÆ,11.34", "10K",     "C100",    "C400",    "C1500",
                     "C100H,91", "CHØ",    "CST",    "CLÆ,P",    "CKU,6.0", "CDI,1.5", "CSP,700"}));
    EXPECT_EQ(of("M55"), of("M50"));
}

TEST(StaevneDefDataTest, CommonEntriesAreThoseEveryChosenClassHas) {
    const int p12 = FindStdKlasse(QStringLiteral("P12"));
    const int d12 = FindStdKlasse(QStringLiteral("D12"));
    // Same event, other attribute: 60H /A and /B, the shot and hammer weights and the ball differ.
    EXPECT_EQ(FaellesNaturligeOvelser({p12, d12}),
              QStringList({"80", "200", "600", "1000", "4X80", "LÆ,Z", "HØ", "ST", "DI,0.75", "SP,400"}));
    EXPECT_EQ(FaellesNaturligeOvelser({p12}), NaturligeOvelser(p12));
    EXPECT_EQ(FaellesNaturligeOvelser({}), QStringList());
    // Nothing in common with the small children's list but what it has itself.
    EXPECT_EQ(
        FaellesNaturligeOvelser({FindStdKlasse(QStringLiteral("P5")), FindStdKlasse(QStringLiteral("M95"))}),
        QStringList({"400", "800", "HØ"}));
}

TEST(StaevneDefDataTest, EveryTeamTableIsShippedAndTimesTheTimedEvents) {
    for (const auto& [name, program] : HoldProgrammer()) {
        ASSERT_FALSE(program.empty()) << name.toStdString();
        for (const THoldProgramPost& post : program) {
            const QString& entry = post.Ovelse;
            const std::string where = name.toStdString() + " " + entry.toStdString();
            ASSERT_EQ(NotShipped(entry), "") << where;
            EXPECT_EQ(post.Tidtagning,
                      IsTidOvtype(Shipped().Ovtype.value(SplitOvelseKode(entry).Ovelse)) ? 1 : 0)
                << where;
            EXPECT_TRUE(HoldProgramTid(post.Tid) > 0 || post.Tid == "0:00") << where;
            EXPECT_TRUE(post.DobbeltTid.isEmpty() || HoldProgramTid(post.DobbeltTid) > 0 ||
                        post.DobbeltTid == "0:00")
                << where;
            EXPECT_TRUE(post.Vaegt == 1 || post.Vaegt == 2) << where;
            EXPECT_TRUE(post.AntalPrHeat == 0 || post.AntalPrHeat == 6 || post.AntalPrHeat == 8 ||
                        post.AntalPrHeat == 12)
                << where;
            // Every lane order gives each team one lane per heat.
            const QString lanes = HoldBaneFordeling(post.Baneraekkefoelge);
            EXPECT_EQ(post.Baneraekkefoelge.size() % std::max<qsizetype>(lanes.size(), 1), 0) << where;
        }
    }
}

TEST(StaevneDefDataTest, TheTablesAsTheLeaguesChooseThem) {
    // The elite division has a table for its preliminary round and one for qualification and final; the
    // lower divisions ignore the round. Women from the 3rd division down share one table.
    EXPECT_NE(DTProgram(true, DTEliteDivision, true).data(), DTProgram(true, DTEliteDivision, false).data());
    EXPECT_EQ(DTProgram(true, 2, true).data(), DTProgram(true, 2, false).data());
    EXPECT_EQ(DTProgram(false, 3, true).data(), DTProgram(false, 7, true).data());
    EXPECT_NE(DTProgram(true, 3, true).data(), DTProgram(true, 4, true).data());
    // Double times only where the table gives them.
    for (int division = DTEliteDivision; division < DTDivisionCount; ++division)
        EXPECT_EQ(HarDobbeltTider(DTProgram(division % 2, division, true)), division < 3) << division;
    EXPECT_FALSE(HarDobbeltTider(VTProgram(true)));
    EXPECT_TRUE(LTUProgram(QStringLiteral("M")).empty());
}

TEST(StaevneDefDataTest, ProgrammeTimesAndLaneOrders) {
    EXPECT_DOUBLE_EQ(HoldProgramTid("0:00"), 0);
    EXPECT_DOUBLE_EQ(HoldProgramTid("2:05"), (2 * 60 + 5) / 1440.0);
    EXPECT_DOUBLE_EQ(HoldProgramTid("6:30"), (6 * 60 + 30) / 1440.0);
    EXPECT_DOUBLE_EQ(HoldProgramTid("1:75"), 0);
    EXPECT_DOUBLE_EQ(HoldProgramTid("x"), 0);
    EXPECT_EQ(HoldBaneFordeling("1234567865872143"), "12345678");
    EXPECT_EQ(HoldBaneFordeling("561234234561"), "561234");
    EXPECT_EQ(HoldBaneFordeling(""), "");
    EXPECT_EQ(SplitOvelseKode(QStringLiteral("HA,4/116")).Attribut, "4/116");
    EXPECT_EQ(SplitOvelseKode(QStringLiteral("60H,76 /A")).Attribut, "76 /A");
    EXPECT_EQ(SplitOvelseKode(QStringLiteral("HØ")).Ovelse, "HØ");
    EXPECT_EQ(SplitOvelseKode(QStringLiteral("HØ")).Attribut, "");
}

} // namespace
