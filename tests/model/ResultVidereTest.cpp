// Who goes on to the next round, and the entries of that round, through the result manager over
// records stored in a program folder.
#include "model/D_Result.h"

#include "support/ErrorText.h"
#include "support/Test.h"

#include "ResultFixture.h"
#include "model/D_Ovelser.h"

namespace {

using namespace ResultatField;

class ResultVidere : public TResultTest {
protected:
    // The first round of 100 m in three heats, two by place and eight in all to the final: heat 1 with
    // three equal times at 10.80 (one a hand time), heat 2 with a disqualified runner second, heat 3 with
    // a runner without a time second.
    void SetUp() override {
        TOvelseInfo& round = Indledende();
        SetRunde(round, OvelseRnField::AntalViderePlac, 2);
        SetRunde(round, OvelseRnField::AntalVidereIalt, 8);
        const std::pair<qint32, qint32> heat1[] = {{11, 1050}, {12, 1060}, {13, 1070}, {14, 1072},
                                                   {15, 1080}, {16, 1080}, {17, -108}, {18, 1090}};
        for (const auto& [nr, resultat] : heat1)
            AddResultat(round, nr, Fields({{Heat, 1}, {Resultat, resultat}, {PersonligRekord, 1000 + nr}}));
        AddResultat(round, 21, Fields({{Heat, 2}, {Resultat, 1045}}));
        AddResultat(round, 22, [](TResultatTable& t) {
            Fields({{Heat, 2}, {Resultat, 1030}})(t);
            t.GetField(ResultatKode)->SetAsString("D");
        });
        AddResultat(round, 31, Fields({{Heat, 3}, {Resultat, 1040}}));
        AddResultat(round, 33, Fields({{Heat, 3}}));
    }

    TOvelseInfo& Indledende() { return Round("M", "100"); }
    TOvelseInfo& Finale() { return Round("M", "100", "F"); }

    // Each row of the round with a code as start number and code, as stored.
    QStringList Koder(TOvelseInfo& round) {
        TResultatManager manager;
        manager.LoadOvelse(&round);
        manager.SortStartnummer();
        QStringList koder;
        for (int i = 0; i < manager.Count(); ++i) {
            if (!manager.GetResultat(i)->VK.isEmpty())
                koder << QString::number(manager.GetResultat(i)->Startnummer) + manager.GetResultat(i)->VK;
        }
        return koder;
    }
    // Marks the qualifiers and stores the codes; the number of codes given.
    int Qualify() {
        TResultatManager manager;
        manager.LoadOvelse(&Indledende());
        const int coded = manager.CalcVidereKode(QChar(u'F'));
        manager.SaveResultater();
        return coded;
    }
    TTransferOutcome Transfer(QChar runde = QChar(u'F'), bool replaceResults = false) {
        TResultatManager manager;
        manager.LoadOvelse(&Indledende());
        return manager.TransferVidere(runde, replaceResults);
    }
    // The final's entries as start number, seeding mark, seeding group, PR and result.
    QStringList Entries() {
        TResultatManager manager;
        manager.LoadOvelse(&Finale());
        manager.SortStartnummer();
        QStringList entries;
        for (int i = 0; i < manager.Count(); ++i) {
            const TResultat& r = *manager.GetResultat(i);
            entries << QStringLiteral("%1 %2 %3 %4 %5")
                           .arg(r.Startnummer)
                           .arg(r.Seedning)
                           .arg(r.SG)
                           .arg(r.PR)
                           .arg(r.Resultat);
        }
        return entries;
    }
};

} // namespace

TEST_F(ResultVidere, TwoByPlaceAndEightInAllTakesEveryRowEqualToTheEighth) {
    // The disqualified and the one without a time, second in their heats, do not go on; the eighth
    // time is 10.80, and the hand 10.8 is equal to it.
    EXPECT_EQ(Qualify(), 9);
    EXPECT_EQ(Koder(Indledende()),
              (QStringList{"11F", "12F", "13f", "14f", "15f", "16f", "17f", "21F", "31F"}));

    // A placing code that splits the tie splits it at the last place too.
    {
        TResultatManager manager;
        manager.LoadOvelse(&Indledende());
        Row(manager, 17).SetPK(1);
        manager.SaveResultater();
        EXPECT_EQ(std::tuple(Row(manager, 16).Plac, Row(manager, 17).Plac), std::tuple(5, 7));
    }
    EXPECT_EQ(Qualify(), 8);
    EXPECT_EQ(Koder(Indledende()), (QStringList{"11F", "12F", "13f", "14f", "15f", "16f", "21F", "31F"}));

    // Qualifying again changes no code by place: those rows are not marked for saving.
    TResultatManager again;
    again.LoadOvelse(&Indledende());
    EXPECT_EQ(again.CalcVidereKode(QChar(u'F')), 8);
    for (const qint32 nr : {11, 12, 18, 21, 22, 31, 33})
        EXPECT_FALSE(Row(again, nr).Modified) << nr;
}

TEST_F(ResultVidere, EqualBestJumpsGoOnOnlyWhenTheirNextJumpsAreEqualToo) {
    AddProgramme({{"M", "TR", "IF"}});
    TOvelseInfo& round = Round("M", "TR");
    SetRunde(round, OvelseRnField::AntalVidereIalt, 2);
    const std::pair<qint32, std::vector<std::pair<qint32, qint32>>> jumps[] = {
        {1, {{1460, 0}}},
        {2, {{1450, 0}, {1400, 0}}},
        {3, {{1390, 0}, {1450, 0}}},
        {4, {{1450, 0}, {1400, 0}}},
        // Three fouls: attempts but no mark.
        {5, {{0, 0}, {0, 0}, {0, 0}}}};
    for (const auto& [nr, serie] : jumps)
        AddResultat(round, nr, Fields({{Heat, nr % 2 + 1}}), Serie(serie));
    TResultatManager manager;
    manager.LoadOvelse(&round);
    EXPECT_EQ(manager.CalcVidereKode(QChar(u'f')), 3);
    manager.SaveResultater();
    EXPECT_EQ(Koder(round), (QStringList{"1f", "2f", "4f"}));

    // Nothing to go on with: every code goes.
    SetRunde(round, OvelseRnField::AntalVidereIalt, 0);
    EXPECT_EQ(manager.CalcVidereKode(QChar(u'F')), 0);
    manager.SaveResultater();
    EXPECT_EQ(Koder(round), QStringList());
}

TEST_F(ResultVidere, TheFinalGetsTheQualifiersOnceWithTheirPlacesAsSeedingGroups) {
    SetRunde(Indledende(), OvelseRnField::VidereSeedning, 1);
    // An entry left from before goes.
    AddResultat(Finale(), 99);
    Qualify();
    EXPECT_EQ(Transfer(), TTransferOutcome::Written);
    const QStringList expected = {"11 1050 1 1011 0", "12 1060 2 1012 0", "13 1070 3 1013 0",
                                  "14 1072 3 1014 0", "15 1080 3 1015 0", "16 1080 3 1016 0",
                                  "17 -108 3 1017 0", "21 1045 1 0 0",    "31 1040 1 0 0"};
    EXPECT_EQ(Entries(), expected);
    EXPECT_EQ(Finale().AntalDeltagere, 9);
    // Once more: the same entries, once each.
    EXPECT_EQ(Transfer(QChar(u'f')), TTransferOutcome::Written);
    EXPECT_EQ(Entries(), expected);

    // Without seeding by place the groups stay 0.
    SetRunde(Indledende(), OvelseRnField::VidereSeedning, 0);
    Transfer();
    EXPECT_EQ(Entries().first(), "11 1050 0 1011 0");
    EXPECT_EQ(Entries().last(), "31 1040 0 0 0");
}

TEST_F(ResultVidere, AFinalWithResultsIsReplacedOnlyWhenTheCallerSaysSo) {
    Qualify();
    Transfer();
    {
        TResultatManager manager;
        manager.LoadOvelse(&Finale());
        Row(manager, 11).SetResultat(1049);
        manager.SaveResultater();
    }
    EXPECT_EQ(Transfer(), TTransferOutcome::NextRoundHasResults);
    EXPECT_EQ(std::tuple(Entries().size(), Entries().first()),
              std::tuple(qsizetype(9), QString("11 1050 0 1011 1049")));

    EXPECT_EQ(Transfer(QChar(u'F'), true), TTransferOutcome::Written);
    EXPECT_EQ(std::tuple(Entries().size(), Entries().first()),
              std::tuple(qsizetype(9), QString("11 1050 0 1011 0")));
}

TEST_F(ResultVidere, NothingIsMovedWithoutQualifiersOrToARoundThatDoesNotFollow) {
    AddResultat(Finale(), 99);
    EXPECT_EQ(Transfer(), TTransferOutcome::NoneQualified);
    EXPECT_EQ(Entries(), QStringList{"99 0 0 0 0"});

    Qualify();
    const QString refused = QStringLiteral("Der er ikke mulighed for videre avancement herfra");
    for (const QChar runde : {QChar(u'I'), QChar(u'X'), QChar()})
        EXPECT_EQ(ErrorText([&] { Transfer(runde); }), refused);
    // From the final there is nowhere to go.
    TResultatManager manager;
    manager.LoadOvelse(&Finale());
    Row(manager, 99).SetVK("F");
    EXPECT_EQ(ErrorText([&] { manager.TransferVidere(QChar(u'F')); }), refused);
    // Two rounds loaded are no round to go on from.
    manager.LoadOvelser({&Indledende(), &Finale()});
    EXPECT_EQ(manager.CalcVidereKode(QChar(u'F')), 0);
    EXPECT_EQ(ErrorText([&] { manager.TransferVidere(QChar(u'F')); }), refused);
    EXPECT_EQ(Entries(), QStringList{"99 0 0 0 0"});
}
