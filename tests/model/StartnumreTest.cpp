// Bib numbers given anew: the order of clubs, names and relay teams, results and relay members following
// their participant, refused ranges, fun-run clubs, and a reassignment killed at every step.
#include "model/D_Startnumre.h"

#include "ResultFixture.h"
#include "support/KillAtStep.h"

#include "model/D_Globals.h"
#include "model/D_Ovelser.h"
#include "model/D_Result.h"
#include "model/D_Staevne.h"

#include <map>

namespace {

class StartnumreTest : public TResultTest {
protected:
    // Name by bib, as stored.
    static std::map<QString, qint32> Bibs() {
        std::map<QString, qint32> bibs;
        for (const QString& record :
             Stored<TDeltagerTable>({DeltagerField::Navn, DeltagerField::Startnummer}))
            bibs[record.section(u'/', 0, 0)] = record.section(u'/', 1).toInt();
        return bibs;
    }
    // Each result's event and bib, in file order.
    static QStringList Results() {
        return Stored<TResultatTable>({ResultatField::Ovelse, ResultatField::Startnummer});
    }
    // The relay members stored behind the result at a position.
    QList<qint32> Members(quint32 position) {
        TSerier serier;
        serier.LoadFromString(StoredTail(position).mid(4));
        QList<qint32> members;
        for (int i = 0; i < serier.Count(); ++i)
            members << serier.GetSerie(i)->Value;
        return members;
    }
    static TStartnummerValg Valg(const QString& startnumre, const QString& stafet = {},
                                 bool motionsloeb = false) {
        TStartnummerValg valg;
        valg.Startnumre = startnumre;
        valg.StafetStartnumre = stafet;
        valg.Motionsloeb = motionsloeb;
        return valg;
    }
    static QByteArray Hold(std::initializer_list<qint32> members) {
        std::vector<std::pair<qint32, qint32>> attempts;
        for (const qint32 member : members)
            attempts.emplace_back(member, 0);
        return Serie(attempts);
    }

    // Two clubs given out of name order; seven individuals and two relay teams with old bibs that the
    // new numbers pass through.
    void TwoClubs() {
        AddKlub(1, "Vejle");
        AddKlub(2, "Brøndby");
        AddDeltager(13, "Ulla", 0, 1);
        AddDeltager(3, "Bo", 0, 1);
        AddDeltager(1, "Anne", 0, 1);
        AddDeltager(10, "Åse", 0, 2);
        AddDeltager(2, "Carl", 0, 2);
        AddDeltager(12, "Dan", 0, 2);
        AddDeltager(11, "Eva", 0, 2);
        AddDeltager(50, "Brøndby 1 %", 0, 2);
        AddDeltager(40, "Vejle 1 %", 0, 1);
    }
};

TEST(StartnummerRaekkeTest, RangesAreWalkedInOrderAndTheLastRunsOn) {
    TIntervalList ranges;
    ranges.SetAsText("10-11,1-3");
    TStartnummerRaekke numre(ranges);
    QList<qint32> given;
    for (int i = 0; i < 7; ++i)
        given << numre.Next();
    EXPECT_EQ(given, QList<qint32>({1, 2, 3, 10, 11, 12, 13}));

    TIntervalList top;
    top.SetAsText("2147483646-2147483647");
    TStartnummerRaekke last(top);
    last.Next();
    last.Next();
    EXPECT_NE(ErrorText([&] { last.Next(); }), "<no error>") << "never past the largest bib";
}

TEST_F(StartnumreTest, ClubsByNameThenNamesThenRelayTeamsLastAndResultsAndMembersFollow) {
    TwoClubs();
    AddResultat(Round("M", "100", "I"), 13);
    AddResultat(Round("M", "100", "I"), 10);
    AddResultat(Round("M", "LÆ"), 1);
    const quint32 stafet = AddResultat(Round("M", "4X100"), 40, {}, Hold({1, 3, 13, 99}));

    TildelStartnumre(Valg("1-3,10-11", "100-199"));

    // Brøndby before Vejle; in each club names in Danish order (Å last); teams after every individual.
    const std::map<QString, qint32> expected = {{"Carl", 1},  {"Dan", 2},           {"Eva", 3},
                                                {"Åse", 10},  {"Anne", 11},         {"Bo", 12},
                                                {"Ulla", 13}, {"Brøndby 1 %", 100}, {"Vejle 1 %", 101}};
    EXPECT_EQ(Bibs(), expected);
    EXPECT_EQ(Results(), QStringList({"100/13", "100/10", "4X100/101", "LÆ/11"}));
    EXPECT_EQ(Members(stafet), QList<qint32>({11, 12, 13, 99})) << "a member without a participant stays";
}

TEST_F(StartnumreTest, WithoutRelayRangesTheTeamsGoOnFromTheIndividuals) {
    TwoClubs();
    AddDeltager(7, "Uden klub", 0, 9);
    TildelStartnumre(Valg("1-3,10-11"));
    const std::map<QString, qint32> bibs = Bibs();
    EXPECT_EQ(bibs.at("Ulla"), 13);
    EXPECT_EQ(bibs.at("Uden klub"), 14) << "a participant of no club after every club";
    EXPECT_EQ(bibs.at("Brøndby 1 %"), 15);
    EXPECT_EQ(bibs.at("Vejle 1 %"), 16);
}

TEST_F(StartnumreTest, AnExistingHighBibIsRenumberedLikeAnyOtherAndNeverMerged) {
    AddKlub(1, "Klub");
    AddDeltager(25001, "Høj", 0, 1);
    AddDeltager(1, "Lav", 0, 1);
    AddDeltager(2, "Midt", 0, 1);
    AddResultat(Round("M", "100", "I"), 25001);
    AddResultat(Round("M", "LÆ"), 25001);
    AddResultat(Round("M", "LÆ"), 1);
    AddResultat(Round("M", "HØ"), 2);

    TildelStartnumre(Valg("25000-25010"));

    const std::map<QString, qint32> expected = {{"Høj", 25000}, {"Lav", 25001}, {"Midt", 25002}};
    EXPECT_EQ(Bibs(), expected);
    EXPECT_EQ(Results(), QStringList({"100/25000", "HØ/25002", "LÆ/25000", "LÆ/25001"}));
}

TEST_F(StartnumreTest, AnEntryWhoseParticipantIsGoneKeepsItsNumberWhichNobodyIsGivenAndIsNamed) {
    AddKlub(1, "Klub");
    AddDeltager(7, "Anne", 0, 1);
    AddDeltager(8, "Bo", 0, 1);
    AddDeltager(9, "Carl %", 0, 1);
    AddResultat(Round("M", "LÆ"), 7);
    // Gone: 2 would be Bo's new number, 4 the team's, 30 is past them all.
    AddResultat(Round("M", "100", "I"), 2);
    AddResultat(Round("M", "4X100"), 4);
    AddResultat(Round("M", "HØ"), 30);

    const TStartnummerRapport rapport = TildelStartnumre(Valg("1-10"));

    const std::map<QString, qint32> expected = {{"Anne", 1}, {"Bo", 3}, {"Carl %", 5}};
    EXPECT_EQ(Bibs(), expected);
    EXPECT_EQ(Results(), QStringList({"100/2", "4X100/4", "HØ/30", "LÆ/1"}));
    ASSERT_EQ(rapport.UdenDeltager.size(), 3u);
    EXPECT_EQ(StartnummerRapportText(rapport, 2),
              "Omfordeling af startnumre er nu færdig\r\n\r\n"
              "Tilmeldinger uden deltager har beholdt deres startnummer, som ingen andre har fået (3):\r\n"
              "Klasse M, øvelse 100, startnummer 2\r\n"
              "Klasse M, øvelse 4X100, startnummer 4\r\n"
              "... og 1 mere");

    // A fun-run passes them over the same way.
    const TStartnummerRapport motion = TildelStartnumre(Valg("2-10", {}, true));
    const std::map<QString, qint32> inBibOrder = {{"Anne", 3}, {"Bo", 5}, {"Carl %", 6}};
    EXPECT_EQ(Bibs(), inBibOrder);
    EXPECT_EQ(motion.UdenDeltager.size(), 3u);
    EXPECT_EQ(StartnummerRapportText({}, 2), "Omfordeling af startnumre er nu færdig");
}

TEST_F(StartnumreTest, RangesThatCannotGiveTheNumbersAreRefusedAndNothingChanges) {
    TwoClubs();
    AddResultat(Round("M", "100", "I"), 13);
    const auto before = Bibs();
    const std::pair<TStartnummerValg, QString> refused[] = {
        {Valg(""), "Gyldigt startnummer-interval skal først angives"},
        {Valg("3-1"), "Gyldigt startnummer-interval skal først angives"},
        {Valg("0-5"), "Startnumre begynder ved 1: 0-5 kan ikke bruges"},
        {Valg("1-10", "5-20"), "Startnumre 1-10 og stafetstartnumre 5-20 overlapper hinanden"},
        // Seven individuals run on from 1-3 to 7, and meet the teams at 5.
        {Valg("1-3", "5-6"),
         "Startnumrene rækker ikke: startnummer 5 skulle gives både til en deltager og til "
         "et stafethold. Gør intervallerne større, så de ikke mødes."},
        {Valg("1-x"), "Ugyldigt talinterval i \"1-x\" i position 3"},
        {Valg("2147483643-2147483645"), "Startnumrene rækker ud over det største startnummer 2147483647"},
    };
    for (const auto& refusal : refused) {
        EXPECT_EQ(ErrorText([&] { TildelStartnumre(refusal.first); }), refusal.second)
            << refusal.first.Startnumre.toStdString();
        EXPECT_EQ(Bibs(), before);
    }
    EXPECT_TRUE(HarStartnumre("1"));
    EXPECT_FALSE(HarStartnumre("  "));
    // The relay ranges of a fun-run meet give nothing, so they may lie anywhere.
    EXPECT_EQ(ErrorText([&] { TildelStartnumre(Valg("1-100", "5-20", true)); }), "<no error>");
}

TEST_F(StartnumreTest, InAFunRunEveryoneGoesInBibOrderAndTheirOwnClubsFollowWithPurchasesAndPayments) {
    for (const qint32 bib : {30, 10, 20}) {
        AddKlub(bib, "Løber " + QString::number(bib));
        AddDeltager(bib, "Løber " + QString::number(bib), 0, bib);
    }
    AddDeltager(25, "I en anden klub", 0, 10);
    AddKlub(500, "Fælles");
    StoreRecord<TKlubkobTable>({{KlubkobField::Klubnr, qint64(20)}, {KlubkobField::Antal, qint64(2)}});
    StoreRecord<TBetalingTable>({{BetalingField::Klubnr, qint64(30)}});
    AddResultat(Round("K", "100"), 20);

    TildelStartnumre(Valg("101-200", {}, true));

    const std::map<QString, qint32> bibs = {
        {"Løber 10", 101}, {"Løber 20", 102}, {"I en anden klub", 103}, {"Løber 30", 104}};
    EXPECT_EQ(Bibs(), bibs);
    EXPECT_EQ(Stored<TDeltagerTable>({DeltagerField::Navn, DeltagerField::KlubNr}),
              QStringList({"Løber 10/101", "Løber 20/102", "I en anden klub/101", "Løber 30/104"}))
        << "a participant stays in its club as that club's number moves";
    EXPECT_EQ(Stored<TKlubTable>({KlubField::Navn}).size(), 4);
    EXPECT_EQ(Stored<TKlubkobTable>({KlubkobField::Klubnr}), QStringList({"102"}));
    EXPECT_EQ(Stored<TBetalingTable>({BetalingField::Klubnr}), QStringList({"104"}));
    EXPECT_EQ(Results(), QStringList({"100/102"}));

    // A club that is no participant's own and holds a number to be given is refused.
    EXPECT_EQ(ErrorText([&] { TildelStartnumre(Valg("500-600", {}, true)); }),
              "Klubnummer 500 skulle gives til en deltagers klub, men klubben \"Fælles\" har det allerede");
    EXPECT_EQ(ErrorText([&] { TildelStartnumre(Valg("32767-40000", {}, true)); }),
              "I et motionsløb bliver startnummeret også klubnummer, og et klubnummer kan højst være 32767: "
              "startnummer 32768 kan ikke bruges");
    EXPECT_EQ(Bibs(), bibs);
}

TEST_F(StartnumreTest, AReassignmentKilledAtAnyStepLeavesTheOldNumbersOrTheNewNeverAMix) {
    AddKlub(1, "Klub");
    for (int bib = 1; bib <= 30; ++bib) {
        AddDeltager(bib, "Navn " + QString::number(100 - bib), 0, 1);
        AddResultat(Round("M", "LÆ"), bib);
    }
    const quint32 stafet = AddResultat(Round("M", "4X100"), 30, {}, Hold({1, 2, 3, 4}));
    const auto old = Bibs();
    const QStringList oldResults = Results();
    OvelseManager.reset();
    StaevneManager.reset();

    bool whole = false;
    int kills = 0;
    bool newAfterKill = false; // killed once its commit was decided: the new numbers stand
    for (int step = 1; step < 200 && !whole; ++step) {
        const bool killed = ::KilledAt(
            step, [this] { Manager().OpenStaevne(0); }, [] { TildelStartnumre(Valg("1001-2000")); });
        SCOPED_TRACE(step);
        Restart().OpenStaevne(0);
        const auto now = Bibs();
        if (now == old) {
            EXPECT_EQ(Results(), oldResults);
            EXPECT_EQ(Members(stafet), QList<qint32>({1, 2, 3, 4}));
        } else {
            // Names sort as 100 - bib: the last bib comes first.
            for (const auto& [navn, bib] : old)
                EXPECT_EQ(now.at(navn), 1001 + 30 - bib) << navn.toStdString();
            EXPECT_EQ(Members(stafet), QList<qint32>({1030, 1029, 1028, 1027}));
            EXPECT_TRUE(Results().contains("LÆ/1030"));
            EXPECT_FALSE(Results().contains("LÆ/1"));
            newAfterKill = newAfterKill || killed;
        }
        whole = !killed;
        kills += killed ? 1 : 0;
        StaevneManager.reset();
    }
    EXPECT_TRUE(whole) << "never ran to its end";
    EXPECT_GE(kills, 2) << "killed before its commit and after it at least";
    EXPECT_TRUE(newAfterKill);
}

} // namespace
