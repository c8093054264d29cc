// Who goes on to the next round, and the entries of that round, through the result manager over
// records stored in a program folder.
#include "model/D_Result.h"

#include "support/ErrorText.h"
#include "support/Test.h"

#include "ResultFixture.h"
#include "model/D_Ovelser.h"

#include <QMap>

namespace {

using namespace ResultatField;

// One entry of a round as read back: seeding mark, seeding group, PR and result.
struct TEntry {
    qint32 Seedning = 0;
    qint32 SG = 0;
    qint32 PR = 0;
    qint32 Resultat = 0;
    bool operator==(const TEntry&) const = default;
};

void PrintTo(const TEntry& e, std::ostream* os) {
    *os << "{" << e.Seedning << ", " << e.SG << ", " << e.PR << ", " << e.Resultat << "}";
}

class ResultVidere : public TResultTest {
protected:
    // The first round of 100 m in three heats, two by place and eight in all to the final:
    // heat 1 with three equal times at 10.80 (one of them a hand time), heat 2 with a disqualified
    // runner second, heat 3 with a runner without a time second.
    void SetUp() override {
        TOvelseInfo& round = Indledende();
        SetRunde(round, OvelseRnField::AntalViderePlac, 2);
        SetRunde(round, OvelseRnField::AntalVidereIalt, 8);
        const std::pair<qint32, qint32> heat1[] = {{11, 1050}, {12, 1060}, {13, 1070}, {14, 1072},
                                                   {15, 1080}, {16, 1080}, {17, -108}, {18, 1090}};
        for (const auto& [startnummer, resultat] : heat1)
            AddResultat(round, startnummer,
                        Fields({{Heat, 1}, {Resultat, resultat}, {PersonligRekord, 1000 + startnummer}}));
        AddResultat(round, 21, Fields({{Heat, 2}, {Resultat, 1045}}));
        AddResultat(round, 22, [](TResultatTable& t) {
            t.GetField(Heat)->SetAsInteger(2);
            t.GetField(Resultat)->SetAsInteger(1030);
            t.GetField(ResultatKode)->SetAsString("D");
        });
        AddResultat(round, 31, Fields({{Heat, 3}, {Resultat, 1040}}));
        AddResultat(round, 33, Fields({{Heat, 3}}));
    }

    TOvelseInfo& Indledende() { return Round("M", "100"); }
    TOvelseInfo& Finale() { return Round("M", "100", "F"); }

    // The qualification codes by start number, as stored.
    QMap<qint32, QString> StoredKoder() {
        TResultatManager manager;
        manager.LoadOvelse(&Indledende());
        QMap<qint32, QString> koder;
        for (int i = 0; i < manager.Count(); ++i) {
            if (!manager.GetResultat(i)->VK.isEmpty())
                koder[manager.GetResultat(i)->Startnummer] = manager.GetResultat(i)->VK;
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
    // The final's entries by start number.
    QMap<qint32, TEntry> Entries() {
        TResultatManager manager;
        manager.LoadOvelse(&Finale());
        QMap<qint32, TEntry> entries;
        for (int i = 0; i < manager.Count(); ++i) {
            const TResultat& row = *manager.GetResultat(i);
            EXPECT_FALSE(entries.contains(row.Startnummer));
            entries[row.Startnummer] = {row.Seedning, row.SG, row.PR, row.Resultat};
        }
        return entries;
    }
};

QMap<qint32, QString> Koder(const QString& upper, std::initializer_list<qint32> byPlac,
                            std::initializer_list<qint32> byResultat) {
    QMap<qint32, QString> koder;
    for (const qint32 startnummer : byPlac)
        koder[startnummer] = upper;
    for (const qint32 startnummer : byResultat)
        koder[startnummer] = upper.toLower();
    return koder;
}

} // namespace

TEST_F(ResultVidere, TwoByPlaceAndEightInAllTakesEveryTimeEqualToTheEighth) {
    // Heat 2's disqualified runner and heat 3's runner without a time are second in their heats but do
    // not go on; the eighth time is 10.80, and the hand 10.8 is equal to it.
    EXPECT_EQ(Qualify(), 9);
    EXPECT_EQ(StoredKoder(), Koder("F", {11, 12, 21, 31}, {13, 14, 15, 16, 17}));
}

TEST_F(ResultVidere, ThePlacingCodeThatSplitsATieSplitsItForTheLastPlaceToo) {
    {
        TResultatManager manager;
        manager.LoadOvelse(&Indledende());
        Row(manager, 17).SetPK(1);
        manager.SaveResultater();
        EXPECT_EQ(Row(manager, 16).Plac, 5);
        EXPECT_EQ(Row(manager, 17).Plac, 7);
    }
    EXPECT_EQ(Qualify(), 8);
    EXPECT_EQ(StoredKoder(), Koder("F", {11, 12, 21, 31}, {13, 14, 15, 16}));
}

TEST_F(ResultVidere, EqualBestJumpsGoOnOnlyWhenTheirNextJumpsAreEqualToo) {
    AddProgramme({{"M", "TR", "IF"}});
    TOvelseInfo& round = Round("M", "TR");
    SetRunde(round, OvelseRnField::AntalVidereIalt, 2);
    AddResultat(round, 1, Fields({{Heat, 1}}), Serie({{1460, 0}}));
    AddResultat(round, 2, Fields({{Heat, 1}}), Serie({{1450, 0}, {1400, 0}}));
    AddResultat(round, 3, Fields({{Heat, 1}}), Serie({{1390, 0}, {1450, 0}}));
    AddResultat(round, 4, Fields({{Heat, 2}}), Serie({{1450, 0}, {1400, 0}}));
    // Three fouls: a series but no mark.
    AddResultat(round, 5, Fields({{Heat, 2}}), Serie({{0, 0}, {0, 0}, {0, 0}}));
    TResultatManager manager;
    manager.LoadOvelse(&Round("M", "TR"));
    EXPECT_EQ(manager.CalcVidereKode(QChar(u'f')), 3);
    QMap<qint32, QString> koder;
    for (int i = 0; i < manager.Count(); ++i)
        koder[manager.GetResultat(i)->Startnummer] = manager.GetResultat(i)->VK;
    EXPECT_EQ(koder, (QMap<qint32, QString>{{1, "f"}, {2, "f"}, {3, ""}, {4, "f"}, {5, ""}}));

    // Nothing to go on with: every code goes.
    SetRunde(Round("M", "TR"), OvelseRnField::AntalVidereIalt, 0);
    EXPECT_EQ(manager.CalcVidereKode(QChar(u'F')), 0);
    for (int i = 0; i < manager.Count(); ++i)
        EXPECT_TRUE(manager.GetResultat(i)->VK.isEmpty());
}

TEST_F(ResultVidere, TheFinalGetsTheQualifiersOnceWithTheirPlacesAsSeedingGroups) {
    SetRunde(Indledende(), OvelseRnField::VidereSeedning, 1);
    // An entry left from before goes.
    AddResultat(Finale(), 99);
    Qualify();
    EXPECT_EQ(Transfer(), TTransferOutcome::Written);
    const QMap<qint32, TEntry> expected = {
        {11, {1050, 1, 1011, 0}}, {12, {1060, 2, 1012, 0}}, {21, {1045, 1, 0, 0}},
        {31, {1040, 1, 0, 0}},    {13, {1070, 3, 1013, 0}}, {14, {1072, 3, 1014, 0}},
        {15, {1080, 3, 1015, 0}}, {16, {1080, 3, 1016, 0}}, {17, {-108, 3, 1017, 0}}};
    EXPECT_EQ(Entries(), expected);
    EXPECT_EQ(Finale().AntalDeltagere, 9);
    // Once more: the same entries, once each.
    EXPECT_EQ(Transfer(QChar(u'f')), TTransferOutcome::Written);
    EXPECT_EQ(Entries(), expected);

    // Without seeding by place the groups stay 0.
    SetRunde(Indledende(), OvelseRnField::VidereSeedning, 0);
    Transfer();
    for (const TEntry& entry : Entries())
        EXPECT_EQ(entry.SG, 0);
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
    EXPECT_EQ(Entries().value(11).Resultat, 1049);
    EXPECT_EQ(Entries().size(), 9);

    EXPECT_EQ(Transfer(QChar(u'F'), true), TTransferOutcome::Written);
    EXPECT_EQ(Entries().value(11).Resultat, 0);
    EXPECT_EQ(Entries().size(), 9);
}

TEST_F(ResultVidere, NothingIsMovedWithoutQualifiersOrToARoundThatDoesNotFollow) {
    AddResultat(Finale(), 99);
    EXPECT_EQ(Transfer(), TTransferOutcome::NoneQualified);
    EXPECT_EQ(Entries().keys(), (QList<qint32>{99}));

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
    EXPECT_EQ(Entries().keys(), (QList<qint32>{99}));
}
