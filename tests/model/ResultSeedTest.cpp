// Seeding of heats and lanes by the result manager over records stored in a program folder: the heat
// and lane methods with fixed draws, checked for what every draw must give, team seeding, clubs crowding
// a heat, and the seeding of a list of rounds.
#include "model/D_Result.h"

#include "support/Test.h"

#include "ResultFixture.h"
#include "model/D_Ovelser.h"
#include "model/D_ResultSeedDraw.h"
#include "model/D_Staevne.h"

#include <QMap>
#include <QSet>

#include <algorithm>
#include <climits>
#include <numeric>
#include <random>

namespace {

using namespace ResultatField;

using TByStartnummer = QMap<qint32, int>;

// An entry: start number, club number, status code, rank. Its seeding mark follows the start number,
// so start number 1 is the best seeded.
struct TEntry {
    qint32 Startnummer;
    qint32 KlubNr = 1;
    const char* RK = "";
    qint32 Rank = 0;
};

class ResultSeed : public TResultTest {
protected:
    // Clubs 1..9 with the team codes A, B, ..., club 10 without one.
    void SetUp() override { AddHoldKlubber(9); }

    QMap<qint32, quint32> AddEntries(const TOvelseInfo& round, std::initializer_list<TEntry> entries) {
        QMap<qint32, quint32> positions;
        for (const TEntry& entry : entries) {
            AddDeltager(entry.Startnummer,
                        QStringLiteral("Deltager %1").arg(entry.Startnummer, 2, 10, QChar(u'0')), 0,
                        entry.KlubNr);
            positions[entry.Startnummer] = AddResultat(round, entry.Startnummer, [=](TResultatTable& t) {
                Fields({{Seedning, 1000 + entry.Startnummer}, {Rank, entry.Rank}})(t);
                static_cast<TStringField*>(t.GetField(ResultatKode))->TStringField::SetAsString(entry.RK);
            });
        }
        return positions;
    }
    // The teams of clubs 1..teams with their first and second athlete (rank 1 and 2), numbered
    // base + 10 x club + rank.
    void AddTeams(const TOvelseInfo& round, qint32 teams, qint32 base = 0) {
        for (qint32 k = 1; k <= teams; ++k)
            AddEntries(round, {{base + k * 10 + 1, k, "", 1}, {base + k * 10 + 2, k, "", 2}});
    }
    void SetHoldBaner(const QString& ovelse, const QString& baner) {
        Ov().FindOvelseRk("M", ovelse)->GetField(OvelseRkField::HoldBaneFordeling)->SetAsString(baner);
        Ov().Save();
    }
    // Start numbers first..last of one club.
    void AddRange(const TOvelseInfo& round, qint32 first, qint32 last, qint32 klubNr = 1) {
        for (qint32 nr = first; nr <= last; ++nr)
            AddEntries(round, {{nr, klubNr}});
    }

    static TByStartnummer Heats(const TResultatManager& manager) {
        TByStartnummer heats;
        for (const TResultat* row : manager.GetResultater())
            heats[row->Startnummer] = row->Heat;
        return heats;
    }
    // Lanes in the order of the start numbers given.
    static QList<int> LanesOf(const TResultatManager& manager, const QList<qint32>& startnumre) {
        QList<int> lanes;
        for (const qint32 nr : startnumre)
            lanes << Row(manager, nr).Bane;
        return lanes;
    }
    // Every valid row in one heat, in a lane of the track that no other row of its heat has; rows with a
    // status code in no heat and no lane. The number of rows in each heat.
    static QMap<int, int> ExpectSeeded(const TResultatManager& manager, int lanes) {
        QSet<QPair<int, int>> taken;
        QMap<int, int> sizes;
        for (const TResultat* row : manager.GetResultater()) {
            SCOPED_TRACE(row->Startnummer);
            if (!row->IsValid()) {
                EXPECT_EQ(row->Heat, 0);
                EXPECT_EQ(row->Bane, 0);
                continue;
            }
            EXPECT_GE(row->Heat, 1);
            EXPECT_GE(row->Bane, 1);
            EXPECT_LE(row->Bane, lanes);
            EXPECT_FALSE(taken.contains({row->Heat, row->Bane}));
            taken.insert({row->Heat, row->Bane});
            ++sizes[row->Heat];
        }
        return sizes;
    }

    TOvelseInfo& Lob() { return Round("M", "100"); }
    TSystemData& Data() { return Manager().SystemData(); }
};

// The lines of a report in any order: their order follows the rows', which a later sort changes.
QStringList Lines(QString report) {
    if (report.startsWith("Besked: "))
        report.remove(0, 8);
    QStringList lines = report.split("\r\n", Qt::SkipEmptyParts);
    lines.sort();
    return lines;
}

// A text's FNV-1a digest, the same on every machine.
quint32 Digest(const QString& text) {
    quint32 h = 2166136261U;
    for (const QChar c : text)
        h = (h ^ c.unicode()) * 16777619U;
    return h;
}

// The serpentine group of the s-th seeded row over three heats.
int Group(int s) {
    const int turn = (s - 1) % 6;
    return turn < 3 ? 3 - turn : turn - 2;
}

} // namespace

TEST_F(ResultSeed, SeventeenRowsInHeatsOfEightByEachHeatMethod) {
    AddRange(Lob(), 1, 17);
    AddEntries(Lob(), {{18, 1, "A"}, {19, 1, "E"}});
    TResultatManager manager;
    manager.LoadOvelse(&Lob());
    const auto heatsOf = [&](qint32 method) {
        manager.SeedOvelse(8, method, 0, 0, 1, 7);
        QMap<int, QList<qint32>> heats;
        for (const TResultat* row : manager.GetResultater())
            heats[row->Heat] << row->Startnummer;
        for (QList<qint32>& rows : heats)
            std::sort(rows.begin(), rows.end());
        return heats;
    };
    using THeats = QMap<int, QList<qint32>>;
    // 6, 6 and 5 rows; the best six in heat 1, or in heat 3.
    EXPECT_EQ(
        heatsOf(1),
        (THeats{
            {0, {18, 19}}, {1, {1, 2, 3, 4, 5, 6}}, {2, {7, 8, 9, 10, 11, 12}}, {3, {13, 14, 15, 16, 17}}}));
    EXPECT_EQ(
        heatsOf(2),
        (THeats{
            {0, {18, 19}}, {1, {13, 14, 15, 16, 17}}, {2, {7, 8, 9, 10, 11, 12}}, {3, {1, 2, 3, 4, 5, 6}}}));
    // A method no one deals with clears the heats; 0 leaves them.
    EXPECT_EQ(heatsOf(6), (THeats{{0, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19}}}));
    manager.GetResultat(0)->SetHeat(4);
    EXPECT_EQ(heatsOf(0).value(4).size(), 1);

    // The back-and-forth groups go to the heats in a drawn order: seeds 1-6 to groups 3, 2, 1, 1, 2, 3,
    // seeds 7-9 to 3, 2, 1.
    QSet<QList<int>> orders;
    for (quint32 seed = 1; seed <= 20; ++seed) {
        SCOPED_TRACE(seed);
        manager.SeedOvelse(8, 3, 0, 0, 1, seed);
        QList<int> heatOfGroup(4, 0);
        for (int s = 1; s <= 17; ++s) {
            const int heat = Row(manager, s).Heat;
            int& groupHeat = heatOfGroup[Group(s)];
            EXPECT_TRUE(groupHeat == 0 || groupHeat == heat);
            groupHeat = heat;
        }
        EXPECT_EQ(QSet<int>(heatOfGroup.begin() + 1, heatOfGroup.end()), (QSet<int>{1, 2, 3}));
        orders.insert(heatOfGroup);
    }
    EXPECT_GT(orders.size(), 1);

    // Drawn: any 6, 6 and 5, again for the same seed.
    QSet<QList<int>> draws;
    for (quint32 seed = 1; seed <= 20; ++seed) {
        SCOPED_TRACE(seed);
        manager.SeedOvelse(8, 4, 0, 0, 1, seed);
        const TByStartnummer heats = Heats(manager);
        QList<int> sizes;
        for (int heat = 1; heat <= 3; ++heat)
            sizes << static_cast<int>(std::count(heats.begin(), heats.end(), heat));
        std::sort(sizes.begin(), sizes.end());
        EXPECT_EQ(sizes, (QList<int>{5, 6, 6}));
        EXPECT_EQ(heats[18] + heats[19], 0);
        manager.SeedOvelse(8, 4, 0, 0, 1, seed);
        EXPECT_EQ(Heats(manager), heats);
        draws.insert(heats.values());
    }
    EXPECT_GT(draws.size(), 10);
}

TEST_F(ResultSeed, RowsThatFitInOneHeatGetHeatOneByEveryMethod) {
    AddRange(Lob(), 1, 5);
    TResultatManager manager;
    manager.LoadOvelse(&Lob());
    for (const qint32 method : {1, 2, 3, 4, 7}) {
        manager.SeedOvelse(8, method, 0, 0, 1, 3);
        EXPECT_EQ(Heats(manager), (TByStartnummer{{1, 1}, {2, 1}, {3, 1}, {4, 1}, {5, 1}})) << method;
    }
    // Without a number per heat too.
    manager.SeedOvelse(0, 2, 0, 0, 1, 3);
    EXPECT_EQ(Heats(manager).values(), QList<int>(5, 1));
}

TEST_F(ResultSeed, LanesInSeedingOrderFannedOutFromEitherEndOrByNameMovedOffLaneOne) {
    AddRange(Lob(), 1, 8);
    TResultatManager manager;
    manager.LoadOvelse(&Lob());
    const QList<qint32> seeded{1, 2, 3, 4, 5, 6, 7, 8};
    const auto lanes = [&](qint32 antalPrHeat, qint32 method, qint32 mode, int rows) {
        // Rows beyond the count withdraw.
        for (TResultat* row : manager.GetResultater())
            row->SetRK(row->Startnummer <= rows ? "" : "A");
        manager.SeedOvelse(antalPrHeat, 1, method, mode, 1, 5);
        if (method <= 8)
            ExpectSeeded(manager, antalPrHeat);
        return LanesOf(manager, seeded.mid(0, rows));
    };
    // A full heat starts from lane 1 in every mode.
    for (const qint32 mode : {0, 1, 2})
        EXPECT_EQ(lanes(8, 3, mode, 8), (QList<int>{4, 5, 3, 6, 2, 7, 1, 8}));
    EXPECT_EQ(lanes(8, 3, 2, 6), (QList<int>{4, 5, 3, 6, 2, 7}));
    EXPECT_EQ(lanes(8, 3, 1, 5), (QList<int>{4, 5, 3, 6, 2}));
    EXPECT_EQ(lanes(8, 3, 7, 5), (QList<int>{5, 6, 4, 7, 3}));
    // Counted from the rows, not from the track.
    EXPECT_EQ(lanes(8, 2, 0, 5), (QList<int>{5, 4, 3, 2, 1}));
    EXPECT_EQ(lanes(8, 1, 2, 5), (QList<int>{3, 4, 5, 6, 7}));
    // By start number, name or club always from lane 1.
    for (const qint32 method : {6, 7, 8})
        EXPECT_EQ(lanes(8, method, 2, 5), (QList<int>{1, 2, 3, 4, 5})) << method;
    // Beyond the methods: no lanes.
    EXPECT_EQ(lanes(8, 9, 0, 3), (QList<int>{0, 0, 0}));
}

TEST_F(ResultSeed, TheBestFourDrawnOverTheMiddleLanesAndDrawnLanes) {
    AddRange(Lob(), 1, 8);
    TResultatManager manager;
    manager.LoadOvelse(&Lob());
    const auto lanesOf = [&](const QList<qint32>& startnumre) {
        const QList<int> lanes = LanesOf(manager, startnumre);
        return QSet<int>(lanes.begin(), lanes.end());
    };
    QSet<QList<int>> draws;
    for (quint32 seed = 1; seed <= 30; ++seed) {
        SCOPED_TRACE(seed);
        for (TResultat* row : manager.GetResultater())
            row->SetRK("");
        // Eight rows: the best four in lanes 3-6, the next two outside them, the last two inside.
        manager.SeedOvelse(8, 1, 4, 0, 1, seed);
        ExpectSeeded(manager, 8);
        EXPECT_EQ(lanesOf({1, 2, 3, 4}), (QSet<int>{3, 4, 5, 6}));
        EXPECT_EQ(lanesOf({5, 6}), (QSet<int>{7, 8}));
        EXPECT_EQ(lanesOf({7, 8}), (QSet<int>{1, 2}));
        draws.insert(LanesOf(manager, {1, 2, 3, 4, 5, 6, 7, 8}));

        // Drawn lanes: each lane once.
        manager.SeedOvelse(8, 1, 5, 0, 1, seed);
        ExpectSeeded(manager, 8);
        draws.insert(LanesOf(manager, {1, 2, 3, 4, 5, 6, 7, 8}));

        // Five rows: the best four in 1-4, the fifth in 5; moved to the middle of eight lanes.
        for (TResultat* row : manager.GetResultater())
            row->SetRK(row->Startnummer <= 5 ? "" : "A");
        manager.SeedOvelse(8, 1, 4, 2, 1, seed);
        ExpectSeeded(manager, 8);
        EXPECT_EQ(lanesOf({1, 2, 3, 4}), (QSet<int>{3, 4, 5, 6}));
        EXPECT_EQ(Row(manager, 5).Bane, 7);

        // Four rows: all four drawn over lanes 1-4.
        manager.GetResultat(manager.IndexOfStartnummer(5))->SetRK("A");
        manager.SeedOvelse(8, 1, 4, 0, 1, seed);
        ExpectSeeded(manager, 8);
        EXPECT_EQ(lanesOf({1, 2, 3, 4}), (QSet<int>{1, 2, 3, 4}));
    }
    EXPECT_GT(draws.size(), 40);
}

TEST_F(ResultSeed, RowsWithAStatusCodeGetNoHeatAndNoLane) {
    AddRange(Lob(), 1, 9);
    AddEntries(Lob(), {{10, 1, "A"}, {11, 1, "E"}, {12, 1, "V"}});
    TResultatManager manager;
    manager.LoadOvelse(&Lob());
    manager.SeedOvelse(4, 3, 3, 2, 1, 11);
    EXPECT_EQ(ExpectSeeded(manager, 4), (QMap<int, int>{{1, 3}, {2, 3}, {3, 3}}));

    // Lanes alone: a row that withdrew after an earlier seeding keeps its heat but gives up its lane.
    TResultat& withdrawn = Row(manager, 1);
    const int heat = withdrawn.Heat;
    withdrawn.SetRK("A");
    manager.SeedOvelse(4, 0, 1, 0, 1, 11);
    EXPECT_EQ(withdrawn.Heat, heat);
    EXPECT_EQ(withdrawn.Bane, 0);
}

// Lanes given with the heats put the rows in the order, heats and lanes that lanes given afterwards to
// the same heats give: seeding marks and draws shared by pairs, so that names decide, and rows with a
// status code that had a heat before and that had none, whose order the seeding changes.
TEST_F(ResultSeed, LanesGivenWithTheHeatsAreTheLanesGivenAfterwards) {
    AddRange(Lob(), 1, 20);
    AddEntries(Lob(), {{21, 1, "E"}, {22, 1, "A"}, {23, 1, "V"}});
    const auto load = [this](TResultatManager& manager) {
        manager.LoadOvelse(&Lob());
        for (TResultat* row : manager.GetResultater()) {
            row->SetSeedning(1000 + row->Startnummer / 2);
            row->Lodtraekning = static_cast<quint16>(row->Startnummer / 2 % 3);
            row->SetHeat(row->Startnummer == 21 || row->Startnummer == 23 ? 2 : 0);
        }
    };
    const auto placed = [](const TResultatManager& manager) {
        QStringList rows;
        for (const TResultat* row : manager.GetResultater())
            rows << QStringLiteral("%1:%2.%3").arg(row->Startnummer).arg(row->Heat).arg(row->Bane);
        return rows.join(u' ');
    };
    for (const qint32 heatMethod : {1, 2, 3}) {
        for (const qint32 laneMethod : {1, 2, 3}) {
            SCOPED_TRACE(QStringLiteral("%1 %2").arg(heatMethod).arg(laneMethod).toStdString());
            TResultatManager together;
            load(together);
            together.SeedOvelse(6, heatMethod, laneMethod, 2, 1, 7);
            TResultatManager apart;
            load(apart);
            apart.SeedOvelse(6, heatMethod, 0, 2, 1, 7);
            apart.SeedOvelse(6, 0, laneMethod, 2, 1, 7);
            EXPECT_EQ(placed(together), placed(apart));
        }
    }
}

// Lanes alone, by heat method 0 or one below -1, in a round without heats: the valid rows of no heat are
// one heat of their own, beside rows that have one.
TEST_F(ResultSeed, RowsWithoutAHeatGetLanesAsAHeatOfTheirOwn) {
    AddRange(Lob(), 1, 5);
    AddEntries(Lob(), {{6, 1, "A"}});
    TResultatManager manager;
    manager.LoadOvelse(&Lob());
    for (const qint32 heatMethod : {0, -2, -7}) {
        SCOPED_TRACE(heatMethod);
        manager.SeedOvelse(8, heatMethod, 1, 0, 1, 5);
        EXPECT_EQ(Heats(manager).values(), QList<int>(6, 0));
        EXPECT_EQ(LanesOf(manager, {1, 2, 3, 4, 5, 6}), (QList<int>{1, 2, 3, 4, 5, 0}));
        manager.SeedOvelse(8, heatMethod, 2, 2, 1, 5);
        EXPECT_EQ(LanesOf(manager, {1, 2, 3, 4, 5}), (QList<int>{7, 6, 5, 4, 3}));
    }
    for (const qint32 nr : {4, 5})
        Row(manager, nr).SetHeat(2);
    manager.SeedOvelse(8, 0, 6, 0, 1, 5);
    EXPECT_EQ(LanesOf(manager, {1, 2, 3, 4, 5, 6}), (QList<int>{1, 2, 3, 1, 2, 0}));
}

TEST_F(ResultSeed, ResettingClearsHeatsSidesLanesPlacesAndPlacingCodes) {
    AddRange(Lob(), 1, 2);
    TResultatManager manager;
    manager.LoadOvelse(&Lob());
    for (TResultat* row : manager.GetResultater()) {
        row->SetHeat(2);
        row->SetSide(1);
        row->SetBane(3);
        row->SetPlac(1);
        row->SetPK(2);
    }
    EXPECT_EQ(manager.SeedOvelse(8, -1, 3, 0, 1), "");
    for (const TResultat* row : manager.GetResultater())
        EXPECT_EQ(QList<int>({row->Heat, row->Side, row->Bane, row->Plac, row->PK}), QList<int>(5, 0));
}

// ---------------------------------------------------------------- teams

TEST_F(ResultSeed, TeamSeedingByTheLaneTextSecondAthletesInReverseOrder) {
    SetHoldBaner("100", " 4213 ");
    // Teams A-D with two athletes each; then a team I, a third athlete, one without rank and one
    // without a team.
    AddTeams(Lob(), 4);
    AddEntries(Lob(), {{91, 9, "", 1}, {13, 1, "", 3}, {23, 2, "", 0}, {101, 10, "", 1}});
    TResultatManager manager;
    manager.LoadOvelse(&Lob());
    // Whatever their status.
    Row(manager, 32).SetRK("A");
    EXPECT_EQ(manager.SeedOvelse(8, 5, 0, 0, 1), "Besked: Ikke placeret ved holdseedning:\r\n"
                                                 "Startnummer: 13, Holdkode: A, Rank: 3\r\n"
                                                 "Startnummer: 23, Holdkode: B, Rank: 0\r\n"
                                                 "Startnummer: 91, Holdkode: I, Rank: 1\r\n"
                                                 "Startnummer: 101, Holdkode: , Rank: 1\r\n");
    const QList<qint32> order{11, 21, 31, 41, 12, 22, 32, 42, 91, 13, 23, 101};
    QList<int> heats;
    for (const qint32 nr : order)
        heats << Row(manager, nr).Heat;
    EXPECT_EQ(heats, (QList<int>{1, 1, 1, 1, 2, 2, 2, 2, 0, 0, 0, 0}));
    EXPECT_EQ(LanesOf(manager, order), (QList<int>{4, 2, 1, 3, 1, 3, 4, 2, 0, 0, 0, 0}));

    // A field event in one heat: the second athletes after the first.
    SetHoldBaner("LÆ", "4213");
    AddTeams(Round("M", "LÆ"), 4, 40);
    manager.LoadOvelse(&Round("M", "LÆ"));
    EXPECT_EQ(manager.SeedOvelse(8, 5, 0, 0, 1), "");
    EXPECT_EQ(Heats(manager).values(), QList<int>(8, 1));
    EXPECT_EQ(LanesOf(manager, {51, 61, 71, 81, 52, 62, 72, 82}), (QList<int>{4, 2, 1, 3, 5, 7, 8, 6}));
}

TEST_F(ResultSeed, EightTeamsOnSixLanesRunInFourHeatsOfFour) {
    SetHoldBaner("100", "12345678");
    AddTeams(Lob(), 8);
    TResultatManager manager;
    manager.LoadOvelse(&Lob());
    EXPECT_EQ(manager.SeedOvelse(6, 5, 0, 0, 1), "");
    const QMap<int, int> sizes = ExpectSeeded(manager, 6);
    EXPECT_EQ(sizes, (QMap<int, int>{{1, 4}, {2, 4}, {3, 4}, {4, 4}}));
    for (const TResultat* row : manager.GetResultater())
        EXPECT_TRUE(row->Bane >= 2 && row->Bane <= 5) << row->Bane;
    // Team k's first athlete: lane k, the upper half a heat later; the second athletes in heats 3 and 4.
    EXPECT_EQ(LanesOf(manager, {11, 41, 51, 81, 12, 42, 52, 82}), (QList<int>{2, 5, 2, 5, 5, 2, 5, 2}));
    const TByStartnummer heats = Heats(manager);
    EXPECT_EQ(QList<int>({heats[41], heats[51], heats[12], heats[82]}), QList<int>({1, 2, 4, 3}));
}

TEST_F(ResultSeed, WithoutALaneTextTheTeamsPresentDrawTheirLanes) {
    AddTeams(Lob(), 6);
    TResultatManager manager;
    manager.LoadOvelse(&Lob());
    QSet<QList<int>> draws;
    for (quint32 seed = 1; seed <= 20; ++seed) {
        SCOPED_TRACE(seed);
        EXPECT_EQ(manager.SeedOvelse(8, 5, 0, 0, 1, seed), "");
        ExpectSeeded(manager, 6);
        QList<int> first;
        for (qint32 k = 1; k <= 6; ++k) {
            EXPECT_EQ(Row(manager, k * 10 + 1).Heat, 1);
            EXPECT_EQ(Row(manager, k * 10 + 2).Heat, 2);
            EXPECT_EQ(Row(manager, k * 10 + 2).Bane, 7 - Row(manager, k * 10 + 1).Bane);
            first << Row(manager, k * 10 + 1).Bane;
        }
        draws.insert(first);
    }
    EXPECT_GT(draws.size(), 10);
}

// ---------------------------------------------------------------- clubs per heat

TEST_F(ResultSeed, AClubMayHaveItsShareOfEachHeatAndTheRestOnceEach) {
    // Club 1: 5 rows; club 2: 7 rows; club 3: a row in each of three heats and one that withdrew.
    AddRange(Lob(), 1, 5, 1);
    AddRange(Lob(), 11, 17, 2);
    AddRange(Lob(), 21, 23, 3);
    AddEntries(Lob(), {{24, 3, "A"}});
    TResultatManager manager;
    manager.LoadOvelse(&Lob());
    const auto check = [&](TByStartnummer heats, const TByStartnummer& more = {}) {
        heats.insert(more);
        for (TResultat* row : manager.GetResultater())
            row->SetHeat(heats.value(row->Startnummer));
        return manager.CheckKlubPrHeat();
    };
    const TByStartnummer others{{21, 1}, {22, 2}, {23, 3}};
    // Club 1 over three heats: 5 = 1 x 3 + 2, so two heats may hold two.
    EXPECT_EQ(check(TByStartnummer{{1, 1}, {2, 1}, {3, 2}, {4, 2}, {5, 3}}, others), "");
    EXPECT_EQ(check(TByStartnummer{{1, 1}, {2, 1}, {3, 1}, {4, 2}, {5, 3}}, others),
              "Heat: 1, Klub: Klub 1, Antal: 3, Max: 1\r\n");
    // Club 2 over three heats: 7 = 2 x 3 + 1; three in heat 1 uses the one spare, three in heat 2 is one
    // too many.
    EXPECT_EQ(check(TByStartnummer{{11, 1}, {12, 1}, {13, 1}, {14, 2}, {15, 2}, {16, 2}, {17, 3}}, others),
              "Heat: 2, Klub: Klub 2, Antal: 3, Max: 2\r\n");
    // Over two heats: 5 = 2 x 2 + 1 gives 3 and 2, but not 4 and 1.
    const TByStartnummer two{{21, 1}, {22, 2}};
    EXPECT_EQ(check(TByStartnummer{{1, 1}, {2, 1}, {3, 1}, {4, 2}, {5, 2}}, two), "");
    EXPECT_EQ(check(TByStartnummer{{1, 1}, {2, 1}, {3, 1}, {4, 1}, {5, 2}}, two),
              "Heat: 1, Klub: Klub 1, Antal: 4, Max: 2\r\n");

    // Rows of any status with a heat count; the clubs in the order of their first row.
    check(TByStartnummer{{24, 1}, {1, 1}, {2, 2}}, two);
    EXPECT_EQ(manager.CountKlubInHeats("Klub 3"), 3);
    EXPECT_EQ(manager.CountKlubInHeat(1, "Klub 3"), 2);
    manager.SortStartnummer();
    EXPECT_EQ(manager.GetKlubListe(), (QStringList{"Klub 1", "Klub 3"}));

    // Heats of rows that did not start only: nothing to compare.
    EXPECT_EQ(check(TByStartnummer{{24, 1}}), "");
}

// The length the draws compare is the length of the report the rows would get, for deals of every
// method over clubs of uneven size; counting stops once it reaches a limit, never below it.
TEST_F(ResultSeed, TheLengthOfADealsReportIsThatOfTheReportAndStopsAtItsLimit) {
    for (qint32 klub = 1; klub <= 9; ++klub)
        AddRange(Lob(), klub * 100, klub * 100 + klub * 4 - 1, klub);
    TResultatManager manager;
    manager.LoadOvelse(&Lob());
    const std::vector<TResultat*> rows = manager.GetResultater();
    TKlubCrowding crowding(rows);
    std::vector<int> klub;
    std::vector<quint32> startRank;
    for (const TResultat* row : rows) {
        klub.push_back(crowding.KlubOf(row));
        startRank.push_back(quint32(row->Startnummer));
    }
    TSeedDraw draw(3);
    THeatDeal deal;
    int crowded = 0;
    for (int attempt = 0; attempt < 60; ++attempt) {
        const qint32 method = 1 + attempt % 4;
        const int heats = deal.Deal(int(rows.size()), 7 + attempt % 5, method, startRank, draw);
        crowding.ShareOut(klub, heats);
        for (std::size_t i = 0; i < rows.size(); ++i)
            rows[i]->SetHeat(deal.Heats()[i]);
        const qsizetype full = crowding.Report(rows, heats).size();
        SCOPED_TRACE(attempt);
        EXPECT_EQ(crowding.ReportLength(klub, deal, 99999), full);
        EXPECT_EQ(crowding.ReportLength(klub, deal, full + 1), full);
        if (full > 0) {
            EXPECT_GE(crowding.ReportLength(klub, deal, full / 2 + 1), full / 2 + 1);
            EXPECT_GE(crowding.ReportLength(klub, deal, 1), 1);
            ++crowded;
        }
    }
    EXPECT_GT(crowded, 20);
}

TEST_F(ResultSeed, SpreadingClubsOverHeatsKeepsTheBestDrawAndReportsThatOne) {
    Data().Redid = true;
    // Best first: club 1 holds the six best of twelve, so heat 1 is all club 1 however often it is drawn.
    AddRange(Lob(), 1, 6, 1);
    AddRange(Lob(), 7, 12, 2);
    TResultatManager manager;
    manager.LoadOvelse(&Lob());
    EXPECT_EQ(manager.SeedOvelse(6, 1, 0, 0, 1), "");
    EXPECT_EQ(
        manager.SeedOvelse(6, 1, 0, 0, 100),
        "Besked: Heat: 1, Klub: Klub 1, Antal: 6, Max: 3\r\nHeat: 2, Klub: Klub 2, Antal: 6, Max: 3\r\n");
    // Each row's rank within its club.
    EXPECT_EQ(Row(manager, 8).Rank, 2);
}

// After the retries the rows hold the distribution the message reports, never a worse one than the first
// draw's.
TEST_F(ResultSeed, RetriesNeverLeaveAWorseDistributionThanTheFirstDraw) {
    Data().Redid = true;
    SetRunde(Lob(), OvelseRnField::RankAsSeedning, 1);
    for (qint32 nr = 1; nr <= 24; ++nr)
        AddEntries(Lob(), {{nr, nr % 3 == 0 ? 1 : (nr % 4) + 2}});
    TResultatManager manager;
    manager.LoadOvelse(&Lob());
    int improved = 0;
    int reported = 0;
    for (quint32 seed = 1; seed <= 20; ++seed) {
        SCOPED_TRACE(seed);
        manager.SeedOvelse(6, 3, 3, 0, 1, seed);
        const qsizetype once = manager.CheckKlubPrHeat().size();
        const QString message = manager.SeedOvelse(6, 3, 3, 0, 50, seed);
        const QString report = manager.CheckKlubPrHeat();
        EXPECT_EQ(message.isEmpty(), report.isEmpty());
        EXPECT_TRUE(message.isEmpty() || message.startsWith("Besked: Heat: "));
        EXPECT_EQ(Lines(message), Lines(report));
        reported += message.isEmpty() ? 0 : 1;
        EXPECT_LE(report.size(), once);
        improved += report.size() < once ? 1 : 0;
        ExpectSeeded(manager, 6);
    }
    EXPECT_GT(improved, 0);
    EXPECT_GT(reported, 0);
}

// ---------------------------------------------------------------- lists of rounds

TEST_F(ResultSeed, ListsOfRoundsAreSeededAndWrittenUnlessTheyHoldResults) {
    TOvelseInfo& lob = Lob();
    SetRunde(lob, OvelseRnField::AntalPrHeat, 4);
    SetRunde(lob, OvelseRnField::Heatinddeling, 0);
    SetRunde(lob, OvelseRnField::Banefordeling, 2);
    SetRunde(lob, OvelseRnField::Banenummerering, 2);
    QMap<qint32, quint32> positions;
    for (qint32 nr = 1; nr <= 10; ++nr)
        positions.insert(AddEntries(lob, {{nr}}));
    const quint32 withResult = AddResultat(Round("K", "100"), 31, Fields({{Heat, 5}, {Resultat, 1234}}));
    AddResultat(Round("K", "100"), 32, Fields({{Heat, 6}}));

    TResultatManager manager;
    EXPECT_EQ(manager.SeedOvelser({&lob, &Round("K", "100"), &Round("M", "LÆ")}, -1, 0, 0, 0), QStringList());
    // The round's own: best first in heats of 4, 3, 3, fanned out and moved to the middle.
    TByStartnummer heats;
    TByStartnummer lanes;
    for (auto it = positions.begin(); it != positions.end(); ++it) {
        heats[it.key()] = StoredInteger(it.value(), Heat);
        lanes[it.key()] = StoredInteger(it.value(), Banenummer);
    }
    EXPECT_EQ(heats, (TByStartnummer{
                         {1, 1}, {2, 1}, {3, 1}, {4, 1}, {5, 2}, {6, 2}, {7, 2}, {8, 3}, {9, 3}, {10, 3}}));
    EXPECT_EQ(lanes, (TByStartnummer{
                         {1, 2}, {2, 3}, {3, 1}, {4, 4}, {5, 3}, {6, 4}, {7, 2}, {8, 3}, {9, 4}, {10, 2}}));
    EXPECT_EQ(StoredInteger(withResult, Heat), 5);
}

// Lanes centred on a track of more lanes than a row can number: the first lane a row cannot hold is
// refused with its message before any row changes, and no lane is cut down to a number that fits.
TEST_F(ResultSeed, ALanePastWhatARowHoldsIsRefusedBeforeAnyRowChanges) {
    for (qint32 nr = 1; nr <= 3; ++nr)
        AddResultat(Lob(), nr, Fields({{Seedning, 1000 + nr}, {Heat, 2}, {Banenummer, nr}}));
    TResultatManager manager;
    manager.LoadOvelse(&Lob());
    // Three rows in the middle of 140,000 lanes start at lane 70,000.
    try {
        manager.SeedOvelse(140000, qint32(THeatMethod::BedsteFoerst), qint32(TLaneMethod::BedsteFoerst),
                           qint32(TBanenummerering::Midterbaner), 1, 1);
        ADD_FAILURE() << "lane 70000 was not refused";
    } catch (const EResultError& error) {
        EXPECT_EQ(error.Message(), QStringLiteral("Bane skal være et tal fra 0 til 65535"));
    }
    for (qint32 nr = 1; nr <= 3; ++nr) {
        EXPECT_EQ(Row(manager, nr).Heat, 2) << nr;
        EXPECT_EQ(Row(manager, nr).Bane, nr) << nr;
        EXPECT_FALSE(Row(manager, nr).IsModified()) << nr;
    }
}

// ---------------------------------------------------------------- fixed draws

// Spreading the clubs draws the same heats and lanes for the same seed, whatever the seeding does to be
// quick: the heats, lanes and report of fixed seeds, recorded once. Sixty rows in seven clubs of uneven
// size, seeding marks shared by three rows each and names shared by pairs, two rows that withdrew.
TEST_F(ResultSeed, TheSameSeedSpreadsTheClubsIntoTheSameHeatsAndLanes) {
    Data().Redid = true;
    for (qint32 nr = 1; nr <= 62; ++nr) {
        AddDeltager(nr, QStringLiteral("Deltager %1").arg(nr / 2), 0, 1 + (nr * nr + nr / 3) % 7);
        AddResultat(Lob(), nr, [nr](TResultatTable& t) {
            Fields({{Seedning, 1000 + nr / 3}})(t);
            static_cast<TStringField*>(t.GetField(ResultatKode))
                ->TStringField::SetAsString(nr % 29 == 0 ? "A" : "");
        });
    }
    TResultatManager manager;
    manager.LoadOvelse(&Lob());
    // The load's own draw, fixed too; the pairs of a name draw alike.
    for (TResultat* row : manager.GetResultater())
        row->Lodtraekning = static_cast<quint16>(row->Startnummer / 2 % 4);

    // Heat and lane of start numbers 1, 2, ...; the lines of the report after "Besked: ".
    struct TCall {
        qint32 PrHeat;
        qint32 HeatMethod;
        qint32 LaneMethod;
        qint32 Retries;
        quint32 Seed;
        bool RankAsSeedning;
    };
    struct TFixedDraw {
        TCall Call;
        const char* Places;
        std::vector<const char*> Report;
    };
    const TFixedDraw draws[] = {
        {{8, 3, 5, 300, 11, false},
         "7.1 5.7 6.7 8.1 1.5 4.1 2.2 3.1 3.2 4.5 2.1 8.7 6.1 1.2 5.5 7.7 "
         "7.3 5.4 1.7 6.3 2.3 4.3 8.3 3.7 4.4 3.6 8.6 2.6 0.0 1.3 6.5 5.2 "
         "7.6 5.3 7.4 6.6 1.6 8.8 2.5 3.3 4.2 2.4 4.8 3.8 1.1 6.4 8.5 7.5 "
         "5.6 7.2 5.1 6.2 1.4 2.8 4.6 8.2 3.5 0.0 3.4 4.7 8.4 2.7",
         {"Heat: 2, Klub: Klub 3, Antal: 2, Max: 1", "Heat: 2, Klub: Klub 1, Antal: 3, Max: 1",
          "Heat: 3, Klub: Klub 4, Antal: 3, Max: 1", "Heat: 4, Klub: Klub 2, Antal: 3, Max: 1",
          "Heat: 6, Klub: Klub 6, Antal: 3, Max: 1", "Heat: 7, Klub: Klub 2, Antal: 2, Max: 1",
          "Heat: 8, Klub: Klub 5, Antal: 2, Max: 1", "Heat: 8, Klub: Klub 4, Antal: 3, Max: 1"}},
        {{8, 4, 3, 300, 5, false},
         "3.4 4.4 6.4 1.4 3.5 6.5 1.5 5.4 4.5 6.3 7.4 8.4 6.6 8.5 3.3 8.6 "
         "8.3 5.5 4.3 7.5 5.3 5.6 1.3 8.2 5.2 2.4 6.2 5.7 0.0 5.1 8.1 8.7 "
         "7.3 1.6 3.6 1.2 7.6 1.7 3.2 3.7 7.2 6.7 2.5 4.6 2.3 2.6 3.1 6.1 "
         "2.2 4.2 2.7 4.7 5.8 7.1 4.1 7.7 2.1 0.0 1.1 1.8 7.8 8.8",
         {"Heat: 4, Klub: Klub 5, Antal: 2, Max: 1", "Heat: 5, Klub: Klub 2, Antal: 2, Max: 1",
          "Heat: 6, Klub: Klub 4, Antal: 4, Max: 1", "Heat: 7, Klub: Klub 2, Antal: 2, Max: 1",
          "Heat: 8, Klub: Klub 1, Antal: 2, Max: 1"}},
        {{16, 4, 2, 300, 9, false},
         "4.15 3.15 2.15 1.15 4.14 2.14 3.14 4.13 1.14 4.12 1.13 4.11 2.12 2.13 3.13 4.10 "
         "1.12 1.11 4.8 4.9 2.11 3.12 1.10 3.11 1.8 1.9 3.10 2.10 0.0 1.7 2.9 4.7 "
         "1.5 3.9 1.6 3.8 3.7 4.6 2.8 3.6 2.7 3.5 4.5 2.6 4.4 4.3 1.4 2.5 "
         "1.3 1.2 1.1 2.4 2.3 3.4 3.3 4.2 3.2 0.0 3.1 2.2 2.1 4.1",
         {"Heat: 1, Klub: Klub 1, Antal: 4, Max: 2", "Heat: 2, Klub: Klub 6, Antal: 4, Max: 3",
          "Heat: 3, Klub: Klub 7, Antal: 3, Max: 1"}},
        {{31, 4, 5, 300, 4, false},
         "2.19 2.26 1.14 1.28 1.6 1.7 2.13 2.17 2.6 2.24 2.14 2.10 2.11 1.9 1.19 2.20 "
         "1.30 2.1 2.23 2.3 1.24 2.7 2.16 1.25 2.5 1.15 2.9 1.12 0.0 1.18 2.8 2.30 "
         "1.2 1.4 1.20 1.1 2.4 2.29 2.12 2.2 2.18 2.28 1.17 1.23 1.27 1.29 1.3 1.22 "
         "1.16 2.21 2.22 2.15 1.26 1.8 1.5 2.27 2.25 0.0 1.13 1.21 1.10 1.11",
         {"Heat: 1, Klub: Klub 4, Antal: 8, Max: 7"}},
        {{8, 3, 5, 300, 11, true},
         "4.7 3.4 8.6 6.5 2.7 3.7 7.2 2.5 1.1 3.1 8.1 6.2 5.3 2.3 5.7 5.2 "
         "4.6 1.3 7.6 4.2 2.4 5.6 7.5 8.4 1.7 1.2 4.5 7.3 0.0 6.1 2.1 5.4 "
         "3.3 1.5 8.5 1.4 8.8 4.1 7.4 7.7 5.1 6.7 8.3 4.4 4.3 5.8 7.1 2.8 "
         "3.5 5.5 3.6 1.6 8.7 2.2 8.2 6.8 6.4 0.0 6.6 3.2 6.3 2.6",
         {"Heat: 1, Klub: Klub 6, Antal: 3, Max: 1", "Heat: 4, Klub: Klub 1, Antal: 3, Max: 1",
          "Heat: 6, Klub: Klub 1, Antal: 3, Max: 1", "Heat: 7, Klub: Klub 3, Antal: 2, Max: 1",
          "Heat: 8, Klub: Klub 6, Antal: 3, Max: 1"}},
        {{8, 4, 1, 300, 23, true},
         "7.1 2.1 1.3 6.1 4.1 5.2 1.1 2.6 1.2 2.4 4.2 2.3 1.6 3.1 2.2 1.4 "
         "5.1 8.1 2.7 2.5 8.2 8.3 1.5 7.4 8.5 5.5 8.6 3.2 0.0 7.3 6.3 5.6 "
         "4.4 6.6 6.2 4.3 3.3 6.4 8.4 6.7 4.5 4.7 4.6 5.3 3.5 7.7 7.5 1.7 "
         "5.4 5.8 8.7 3.6 7.8 6.5 3.8 3.4 7.2 0.0 3.7 5.7 4.8 7.6",
         {"Heat: 1, Klub: Klub 3, Antal: 2, Max: 1", "Heat: 3, Klub: Klub 5, Antal: 2, Max: 1",
          "Heat: 3, Klub: Klub 3, Antal: 2, Max: 1", "Heat: 7, Klub: Klub 6, Antal: 2, Max: 1",
          "Heat: 8, Klub: Klub 2, Antal: 3, Max: 1"}},
        {{16, 3, 0, 300, 3, true},
         "4.0 1.0 2.0 1.0 3.0 4.0 3.0 3.0 2.0 3.0 3.0 1.0 1.0 4.0 4.0 4.0 "
         "1.0 4.0 4.0 2.0 2.0 3.0 2.0 2.0 3.0 2.0 1.0 1.0 0.0 1.0 1.0 3.0 "
         "3.0 4.0 2.0 2.0 1.0 4.0 4.0 3.0 3.0 4.0 2.0 4.0 4.0 2.0 2.0 1.0 "
         "2.0 2.0 3.0 1.0 3.0 1.0 3.0 1.0 3.0 0.0 4.0 2.0 4.0 1.0",
         {"Heat: 3, Klub: Klub 6, Antal: 6, Max: 3", "Heat: 4, Klub: Klub 5, Antal: 2, Max: 1"}},
        {{16, 4, 4, 300, 7, true},
         "2.7 2.9 4.8 4.6 2.8 4.10 1.6 3.15 4.7 1.14 1.7 1.9 2.12 3.7 3.6 2.13 "
         "4.9 3.9 3.14 1.12 1.11 4.12 1.13 3.2 3.5 4.13 2.11 1.8 0.0 3.13 4.14 3.1 "
         "3.11 2.1 4.15 2.6 4.11 1.10 2.14 2.5 2.10 3.3 2.15 1.15 4.1 1.5 1.4 1.2 "
         "3.10 4.3 2.3 1.1 3.4 4.2 4.4 3.12 3.8 0.0 4.5 1.3 2.2 2.4",
         {"Heat: 1, Klub: Klub 6, Antal: 4, Max: 3", "Heat: 3, Klub: Klub 7, Antal: 2, Max: 1",
          "Heat: 4, Klub: Klub 4, Antal: 5, Max: 3"}},
        {{31, 3, 3, 300, 6, true},
         "1.15 2.16 1.17 1.16 2.14 2.11 1.14 2.10 2.17 1.20 2.18 1.13 2.22 1.12 2.15 2.12 "
         "2.13 1.19 1.8 1.10 1.9 1.21 1.11 2.25 2.6 1.23 1.26 2.20 0.0 2.23 2.24 1.5 "
         "1.7 1.4 2.9 1.18 2.21 1.6 2.7 2.3 1.25 2.4 2.5 2.8 1.28 1.29 1.3 2.30 "
         "1.22 2.1 1.27 2.28 2.2 2.26 1.1 1.24 2.19 0.0 1.2 2.27 1.30 2.29",
         {}},
        {{8, 3, 4, 1, 2, true},
         "1.2 7.2 7.5 4.6 5.3 1.4 8.5 8.6 3.3 5.2 6.5 4.4 8.3 6.3 2.3 5.5 "
         "8.4 3.6 1.6 2.5 4.3 6.6 1.5 8.7 7.6 1.3 5.7 7.4 0.0 2.4 5.6 8.8 "
         "7.3 4.7 4.5 3.4 6.4 4.8 3.7 1.7 6.8 7.7 6.7 3.5 3.1 6.1 2.1 4.1 "
         "5.4 6.2 2.6 5.1 8.1 3.8 8.2 2.7 2.2 0.0 7.1 1.1 3.2 4.2",
         {}},
    };
    for (const auto& [call, expected, report] : draws) {
        SCOPED_TRACE(call.Seed);
        SetRunde(Lob(), OvelseRnField::RankAsSeedning, call.RankAsSeedning ? 1 : 0);
        const QString message =
            manager.SeedOvelse(call.PrHeat, call.HeatMethod, call.LaneMethod, 0, call.Retries, call.Seed);
        QStringList places;
        for (qint32 nr = 1; nr <= 62; ++nr)
            places << QStringLiteral("%1.%2").arg(Row(manager, nr).Heat).arg(Row(manager, nr).Bane);
        EXPECT_EQ(places.join(u' '), expected);
        QString lines;
        for (const char* line : report)
            lines += QString::fromLatin1(line) + QStringLiteral("\r\n");
        EXPECT_EQ(message, lines.isEmpty() ? QString() : QStringLiteral("Besked: ") + lines);
    }
}

// One draw of every heat and lane method, with seeding marks and ranks shared by several rows (their
// present order, the load's draw and the names decide), rows with a status code that had a heat and a
// lane and rows that had none, and a row of another status: the rows' heats, lanes and change marks
// and the order they are left in, as a digest per call.
TEST_F(ResultSeed, EveryHeatAndLaneMethodGivesTheSameHeatsLanesMarksAndOrderForAFixedSeed) {
    AddRange(Lob(), 1, 23);
    AddEntries(Lob(), {{24, 1, "A"}, {25, 1, "D"}, {26, 1, "E"}, {27, 1, "A"}});
    TResultatManager manager;
    manager.LoadOvelse(&Lob());
    const auto prepare = [&manager] {
        // A present order that is neither the start numbers' nor the seeding order.
        manager.SortNavn();
        for (TResultat* row : manager.GetResultater()) {
            const qint32 nr = row->Startnummer;
            row->SetSeedning(1000 + nr / 3);
            row->SetSG(nr % 7 == 0 ? 1 : 0);
            row->SetRank(nr % 4);
            row->Lodtraekning = static_cast<quint16>(nr % 3);
            row->SeedLodtraekning = 0;
            row->SetHeat(nr % 5 == 0 || nr == 24 ? 3 : 0);
            row->SetBane(nr % 5 == 0 || nr == 24 ? 2 : 0);
            row->SetSide(nr == 27 ? 1 : 0);
        }
        manager.ClearModified();
    };
    QStringList digests;
    for (const bool rankAsSeedning : {false, true}) {
        SetRunde(Lob(), OvelseRnField::RankAsSeedning, rankAsSeedning ? 1 : 0);
        for (qint32 heatMethod = 1; heatMethod <= 4; ++heatMethod) {
            for (qint32 laneMethod = 0; laneMethod <= 8; ++laneMethod) {
                prepare();
                manager.SeedOvelse(6, heatMethod, laneMethod, laneMethod % 3, 1, 17 + laneMethod);
                QString placed;
                for (const TResultat* row : manager.GetResultater())
                    placed += QStringLiteral("%1:%2.%3.%4%5 ")
                                  .arg(row->Startnummer)
                                  .arg(row->Heat)
                                  .arg(row->Bane)
                                  .arg(row->Side)
                                  .arg(row->Modified ? QStringLiteral("*") : QString());
                digests << QStringLiteral("%1%2%3:%4")
                               .arg(rankAsSeedning ? 'R' : 'M')
                               .arg(heatMethod)
                               .arg(laneMethod)
                               .arg(Digest(placed), 8, 16, QChar(u'0'));
            }
        }
    }
    EXPECT_EQ(
        digests.join(u' '),
        QStringLiteral("M10:2d22242b M11:4491698e M12:6d6172f2 M13:33c2861f M14:b0268a88 M15:fabd2ebc "
                       "M16:af4a2e49 M17:af4a2e49 M18:af4a2e49 M20:32c09eda M21:3e800a15 M22:21ab6d11 "
                       "M23:772e8b94 M24:884f43fb M25:6c9579bd M26:9035f4c2 M27:9035f4c2 M28:9035f4c2 "
                       "M30:fe7e6fcf M31:5960bcda M32:a576ee2d M33:4871a8c0 M34:7e896319 M35:d1d3d5c9 "
                       "M36:c98dc4a7 M37:c2b2a9e1 M38:7c68d599 M40:36734618 M41:31a45a5e M42:2a0d67bd "
                       "M43:05a7bea6 M44:cf12a7a7 M45:4e407a05 M46:988db5a6 M47:fede9c0a M48:15861eba "
                       "R10:c02e21eb R11:ed105fda R12:8104805e R13:a1ac9cf3 R14:6a04ae00 R15:9b73194a "
                       "R16:a5b2990b R17:19e42b67 R18:4426564b R20:3e5f4f7e R21:18a22453 R22:277937db "
                       "R23:93c36d7c R24:f20fb539 R25:3ace3361 R26:eb017080 R27:1cb54426 R28:e6c638fc "
                       "R30:c8521ec1 R31:343ba144 R32:8f3ad9c4 R33:e19516f3 R34:6bfa7c9d R35:f5030fe8 "
                       "R36:9afd2bcc R37:1c4fbbeb R38:70d9a1e3 R40:831163b6 R41:1856b4e6 R42:0d7d3fb3 "
                       "R43:d69dcd41 R44:0c50bf52 R45:550ab50a R46:0f58588e R47:effabe78 R48:688da02a"));
}

// A long spreading of the clubs tells how far it has come, and only that.
TEST_F(ResultSeed, SpreadingTheClubsTellsHowManyAttemptsAreDrawn) {
    Data().Redid = true;
    // Seeds 1, 12, 13 and 24 of club 1 fall in one group of six, whichever heat it is drawn to.
    for (qint32 nr = 1; nr <= 24; ++nr)
        AddEntries(Lob(), {{nr, nr == 1 || nr == 12 || nr == 13 || nr == 24 ? 1 : 2 + nr % 9}});
    TResultatManager manager;
    manager.LoadOvelse(&Lob());
    QList<QPair<int, int>> told;
    const auto progress = [&told](int done, int total) { told << qMakePair(done, total); };
    const QString message = manager.SeedOvelse(4, 3, 0, 0, 1200, 3, progress);
    EXPECT_TRUE(message.startsWith("Besked: Heat: "));
    EXPECT_EQ(told, (QList<QPair<int, int>>{{500, 1200}, {1000, 1200}}));
    // One draw tells nothing.
    told.clear();
    manager.SeedOvelse(4, 3, 0, 0, 1, 3, progress);
    EXPECT_TRUE(told.isEmpty());
}

// The seeding's own generator draws what the standard generator and distribution of GCC's library draw,
// over the ranges the seeding uses and one where a quarter of the words are skipped, past many refills.
TEST(SeedDraw, DrawsTheNumbersOfTheStandardGenerator) {
    const int maxima[] = {0, 1, 7, 31999, 63999, 1610612735, INT_MAX};
    for (const quint32 seed : {0U, 1U, 5489U, 4294967295U}) {
        TSeedDraw draw(seed);
        std::mt19937 reference(seed);
        int differ = 0;
        for (int k = 0; k < 20000; ++k) {
            const int max = maxima[k % std::size(maxima)];
            differ += draw.Next(max) != std::uniform_int_distribution<int>(0, max)(reference) ? 1 : 0;
        }
        EXPECT_EQ(differ, 0) << seed;
    }
}

// The seeding's sort by key orders as a stable sort does, over few and many rows (whose passes take
// wider digits), keys of one bit up to all 64, many ties and rows that come in shuffled; one sorter
// serves sorts of every size in turn.
TEST(KeyOrder, OrdersAsAStableSortByKeyAtEverySizeAndWidth) {
    std::mt19937_64 random(7);
    TKeyOrder sorter;
    for (const std::size_t n : {std::size_t(0), std::size_t(1), std::size_t(2), std::size_t(300),
                                std::size_t(4095), std::size_t(4096), std::size_t(30000), std::size_t(5)}) {
        for (const int bits : {1, 7, 8, 12, 23, 41, 64}) {
            const quint64 mask = bits == 64 ? ~quint64(0) : (quint64(1) << bits) - 1;
            // Few distinct keys, spread over the bits, in half the cases: runs of equal keys are long.
            const bool few = bits % 2 == 0;
            std::vector<quint64> keys(n);
            for (quint64& key : keys)
                key = (few ? random() % 17 * 0x9E3779B97F4A7C15ULL : random()) & mask;
            std::vector<int> order(n);
            std::iota(order.begin(), order.end(), 0);
            std::shuffle(order.begin(), order.end(), random);
            std::vector<int> expected = order;
            std::stable_sort(expected.begin(), expected.end(),
                             [&keys](int a, int b) { return keys[std::size_t(a)] < keys[std::size_t(b)]; });
            sorter.Sort(keys, bits, order);
            EXPECT_EQ(order, expected) << n << " rows, " << bits << " bits";
        }
    }
}

// After a sort the sorter holds the keys in their new order, also when one pass or none moved anything.
TEST(KeyOrder, HoldsTheKeysInTheirNewOrder) {
    std::mt19937_64 random(11);
    TKeyOrder sorter;
    for (const std::size_t n : {std::size_t(0), std::size_t(1), std::size_t(9), std::size_t(5000)}) {
        for (const int bits : {0, 3, 20, 64}) {
            const quint64 mask = bits == 64 ? ~quint64(0) : (quint64(1) << bits) - 1;
            std::vector<quint64> keys(n);
            for (quint64& key : keys)
                key = random() & mask;
            std::vector<int> order(n);
            std::iota(order.begin(), order.end(), 0);
            std::shuffle(order.begin(), order.end(), random);
            sorter.Sort(keys, bits, order);
            std::vector<quint64> inOrder;
            for (const int i : order)
                inOrder.push_back(keys[std::size_t(i)]);
            EXPECT_EQ(sorter.Sorted(), inOrder) << n << " rows, " << bits << " bits";
            EXPECT_TRUE(std::is_sorted(inOrder.begin(), inOrder.end())) << n << " rows, " << bits << " bits";
        }
    }
}

// Rows equal in everything else the seeding orders by go by their names, in Danish order, whatever their
// start numbers.
TEST_F(ResultSeed, RowsEqualInTheirSeedingGoByTheirNames) {
    const char* navne[] = {"Åse Dahl", "Bent Holm", "Anna Lund", "Carl Berg"};
    for (qint32 nr = 1; nr <= 4; ++nr) {
        AddDeltager(nr, QString::fromUtf8(navne[nr - 1]), 0, 1);
        AddResultat(Lob(), nr, Fields({{Seedning, 1050}}));
    }
    TResultatManager manager;
    manager.LoadOvelse(&Lob());
    for (TResultat* row : manager.GetResultater())
        row->Lodtraekning = 0;
    manager.SeedOvelse(1, qint32(THeatMethod::BedsteFoerst), 0, 0, 1, 1);
    EXPECT_EQ(Heats(manager), (TByStartnummer{{3, 1}, {2, 2}, {4, 3}, {1, 4}}));
}

// A long run of rows equal in everything else (rows never drawn) goes by their names in the same Danish
// order, capitals or not.
TEST_F(ResultSeed, ALongRunOfRowsEqualInTheirSeedingGoesByTheirNames) {
    const char* navne[] = {"Åse Dahl",  "Øjvind Bo",  "Æbeltoft Ib", "Zenia Holm", "bent Holm", "Anna Lund",
                           "Carl Berg", "dorte Vind", "Erik Sø",     "Finn Ravn",  "gitte Ørn", "Hans Kro"};
    const qint32 count = qint32(std::size(navne));
    for (qint32 nr = 1; nr <= count; ++nr) {
        AddDeltager(nr, QString::fromUtf8(navne[nr - 1]), 0, 1);
        AddResultat(Lob(), nr, Fields({{Seedning, 1050}}));
    }
    TResultatManager manager;
    manager.LoadOvelse(&Lob());
    for (TResultat* row : manager.GetResultater())
        row->Lodtraekning = 0;
    manager.SeedOvelse(1, qint32(THeatMethod::BedsteFoerst), 0, 0, 1, 1);
    EXPECT_EQ(Heats(manager), (TByStartnummer{{6, 1},
                                              {5, 2},
                                              {7, 3},
                                              {8, 4},
                                              {9, 5},
                                              {10, 6},
                                              {11, 7},
                                              {12, 8},
                                              {4, 9},
                                              {3, 10},
                                              {2, 11},
                                              {1, 12}}));
}

// Rows equal in everything the seeding orders by, names included, keep the order they are in, not the
// order they were read in (and lie in memory in).
TEST_F(ResultSeed, RowsEqualInEverythingKeepTheirPresentOrder) {
    for (qint32 nr = 1; nr <= 6; ++nr) {
        AddDeltager(nr, QStringLiteral("Eva Holm"), 0, 1);
        AddResultat(Lob(), nr, Fields({{Seedning, 1050}}));
    }
    TResultatManager manager;
    manager.LoadOvelse(&Lob());
    std::vector<qint32> read;
    for (TResultat* row : manager.GetResultater()) {
        read.push_back(row->Startnummer);
        row->Lodtraekning = 0;
        // Lanes against the reading order, in the same heat.
        row->SetHeat(1);
        row->SetBane((row->Startnummer * 5) % 7);
    }
    manager.SortHeatBaneSide();
    std::vector<qint32> present;
    for (const TResultat* row : manager.GetResultater())
        present.push_back(row->Startnummer);
    ASSERT_NE(present, read);
    manager.SeedOvelse(1, qint32(THeatMethod::BedsteFoerst), 0, 0, 1, 1);
    TByStartnummer expected;
    for (std::size_t k = 0; k < present.size(); ++k)
        expected[present[k]] = int(k) + 1;
    EXPECT_EQ(Heats(manager), expected);
}
