// Places of a round as the rules of athletics give them, computed by the result manager over records
// stored in a program folder and read back after saving.
#include "model/D_Result.h"

#include "support/Test.h"

#include "ResultFixture.h"
#include "model/D_Ovelser.h"
#include "model/D_ResultHold.h"

#include <QMap>

#include <algorithm>
#include <array>
#include <random>

namespace {

using namespace ResultatField;

using TPlaces = QMap<qint32, int>;

class ResultPlacering : public TResultTest {
protected:
    // A row per start number, heat and result; the record positions by start number.
    QMap<qint32, quint32> AddTimes(const TOvelseInfo& round,
                                   std::initializer_list<std::array<qint32, 3>> rows) {
        QMap<qint32, quint32> positions;
        for (const auto& [startnummer, heat, resultat] : rows)
            positions[startnummer] =
                AddResultat(round, startnummer, Fields({{Heat, heat}, {Resultat, resultat}}));
        return positions;
    }
    // A row in heat 1 with its placing code and attempts (value, kode).
    struct TAttempts {
        qint32 Startnummer;
        qint32 PK;
        std::vector<std::pair<qint32, qint32>> Attempts;
    };
    QMap<qint32, quint32> AddAttempts(const TOvelseInfo& round, std::initializer_list<TAttempts> rows) {
        QMap<qint32, quint32> positions;
        for (const TAttempts& row : rows)
            positions[row.Startnummer] = AddResultat(
                round, row.Startnummer, Fields({{Heat, 1}, {PlKode, row.PK}}), Serie(row.Attempts));
        return positions;
    }
    // A result status stored as it is, whatever the letter.
    static void SetKode(TResultatTable& table, const char* kode) {
        static_cast<TStringField*>(table.GetField(ResultatKode))->TStringField::SetAsString(kode);
    }
    TPlaces StoredPlaces(const QMap<qint32, quint32>& positions) {
        TPlaces places;
        for (auto it = positions.begin(); it != positions.end(); ++it)
            places[it.key()] = StoredInteger(it.value(), Placering);
        return places;
    }
    // Loads and saves the round: the places the records then hold.
    TPlaces PlaceAndReadBack(TOvelseInfo& round, const QMap<qint32, quint32>& positions) {
        TResultatManager manager;
        manager.LoadOvelse(&round);
        manager.SaveResultater();
        return StoredPlaces(positions);
    }
};

} // namespace

TEST_F(ResultPlacering, AHandTimeCountsInHundredthsAndRowsWithoutATimeOrWithAStatusComeLast) {
    TOvelseInfo& round = Round("M", "100");
    auto positions = AddTimes(round, {{1, 1, 1052}, {2, 1, 0}, {3, 1, -104}, {4, 1, 1045}, {6, 1, 1045}});
    positions[5] = AddResultat(round, 5, [](TResultatTable& t) {
        Fields({{Heat, 1}, {Resultat, 1030}})(t);
        SetKode(t, "D");
    });
    // The hand 10.4 before the electronic 10.45; the disqualified 10.30 after the row without a time.
    EXPECT_EQ(PlaceAndReadBack(round, positions), (TPlaces{{3, 1}, {4, 2}, {6, 2}, {1, 4}, {2, 5}, {5, 6}}));
}

TEST_F(ResultPlacering, EqualLongJumpsGoByTheNextBestJumpsThenByThePlacingCode) {
    TOvelseInfo& round = Round("M", "LÆ");
    const auto positions = AddAttempts(round, {{11, 0, {{650, 0}, {600, 0}, {580, 0}}},
                                               {12, 0, {{650, 0}, {600, 0}, {0, 0}}},
                                               {13, 0, {{620, 0}, {650, 0}}},
                                               {14, 2, {{640, 0}, {500, 0}}},
                                               {15, 1, {{500, 0}, {640, 0}}},
                                               {16, 0, {{630, 0}, {SeriePas, 0}}},
                                               {17, 0, {{0, 0}, {630, 0}}},
                                               {18, 0, {{600, 0}}}});
    // The second best jump first; then the one with more valid jumps; then the placing code; equal
    // series and codes share.
    EXPECT_EQ(PlaceAndReadBack(round, positions),
              (TPlaces{{13, 1}, {11, 2}, {12, 3}, {15, 4}, {14, 5}, {16, 6}, {17, 6}, {18, 8}}));
}

TEST_F(ResultPlacering, EqualHighJumpsGoByTriesAtTheBestHeightThenFailuresBelowIt) {
    TOvelseInfo& round = Round("M", "HØ");
    // Tries as digits: 1 pass, 2 failure, 3 clearance.
    const auto positions = AddAttempts(round, {{1, 1, {{170, 3}, {180, 3}, {185, 222}}},
                                               {2, 0, {{170, 3}, {180, 23}, {185, 222}}},
                                               {3, 0, {{170, 23}, {180, 3}, {185, 222}}},
                                               {4, 2, {{170, 3}, {180, 3}, {185, 222}}},
                                               {5, 0, {{170, 1}, {175, 3}}}});
    EXPECT_EQ(PlaceAndReadBack(round, positions), (TPlaces{{1, 1}, {4, 2}, {3, 3}, {2, 4}, {5, 5}}));
}

TEST_F(ResultPlacering, PlacesRestartInEachHeatOrRunOverAllHeats) {
    TOvelseInfo& round = Round("M", "100");
    const auto positions = AddTimes(
        round, {{11, 1, 1050}, {12, 1, 1060}, {13, 1, 1070}, {21, 2, 1070}, {22, 2, 1080}, {41, 4, 1055}});
    // Heat 2 starts at 1 even with the time of heat 1's last.
    EXPECT_EQ(PlaceAndReadBack(round, positions),
              (TPlaces{{11, 1}, {12, 2}, {13, 3}, {21, 1}, {22, 2}, {41, 1}}));

    SetRunde(round, OvelseRnField::ResType, 1);
    EXPECT_EQ(PlaceAndReadBack(round, positions),
              (TPlaces{{11, 1}, {41, 2}, {12, 3}, {13, 4}, {21, 4}, {22, 6}}));
}

// Placed by heat, with teams the round is sorted by result and then grouped by heat, without them by heat
// at once: either way the rows come out in the order by heat and result that the comparisons give, rows
// without a heat last, and each row is placed after the rows of its heat (or of none) that beat it.
TEST_F(ResultPlacering, PlacedByHeatTheRowsGoByHeatThenResultAsTheComparisonsOrderThem) {
    TOvelseInfo& round = Round("M", "100");
    for (qint32 nr = 1; nr <= 150; ++nr) {
        AddDeltager(nr, QStringLiteral("Navn %1").arg(nr), 0, 1 + nr % 4);
        AddResultat(round, nr,
                    Fields({{Heat, nr % 7 == 0 ? 0 : (nr * 5) % 9 + 1},
                            {Resultat, nr % 11 == 0 ? 0 : 1000 + (nr * 53) % 17},
                            {PlKode, nr % 13 == 0 ? 1 : 0}}));
    }
    for (const int prHold : {3, 0}) {
        SetRunde(round, OvelseRnField::AntalPrHold, prHold);
        TResultatManager manager;
        manager.LoadOvelse(&round);
        std::vector<TResultat*> expected = manager.GetResultater();
        const TResultSort byPairs(manager.Rules());
        byPairs.Index(expected);
        std::stable_sort(expected.begin(), expected.end(), [&](const TResultat* a, const TResultat* b) {
            return CompareByHeatResultat(byPairs, *a, *b) < 0;
        });
        manager.CalcPlacering();
        const std::vector<TResultat*> placed = manager.GetResultater();
        EXPECT_EQ(placed, expected) << prHold;
        EXPECT_EQ(placed.back()->Heat, 0);
        for (const TResultat* row : placed) {
            const auto beaten = std::count_if(placed.begin(), placed.end(), [&](const TResultat* other) {
                return other->Heat == row->Heat && CompareByResultat(byPairs, *other, *row) < 0;
            });
            EXPECT_EQ(row->Plac, beaten + 1) << row->Startnummer;
        }
        EXPECT_EQ(manager.HoldResultater() != nullptr, prHold > 0);
        if (prHold > 0 && manager.HoldResultater()) {
            EXPECT_GT(manager.HoldResultater()->Count(), 0);
        }
    }
}

TEST_F(ResultPlacering, LetteredFinalsCountOnFromTheAFinalOverTheHeatsPresent) {
    TOvelseInfo& round = Round("M", "100");
    // No heat 3; heat 5 holds only one who withdrew, and like the row without a heat keeps its place.
    auto positions = AddTimes(round, {{11, 1, 1050},
                                      {12, 1, 1060},
                                      {21, 2, 1100},
                                      {22, 2, 1090},
                                      {23, 2, 1100},
                                      {41, 4, 1150},
                                      {42, 4, 1140},
                                      {90, 0, 1000}});
    positions[51] = AddResultat(round, 51, [](TResultatTable& t) {
        Fields({{Heat, 5}, {Placering, 9}})(t);
        SetKode(t, "A");
    });
    SetRunde(round, OvelseRnField::FinaleType, 2);
    EXPECT_EQ(PlaceAndReadBack(round, positions),
              (TPlaces{{42, 1}, {41, 2}, {22, 3}, {21, 4}, {23, 4}, {11, 6}, {12, 7}, {90, 0}, {51, 9}}));

    SetRunde(round, OvelseRnField::FinaleType, 1);
    EXPECT_EQ(PlaceAndReadBack(round, positions),
              (TPlaces{{11, 1}, {12, 2}, {22, 3}, {21, 4}, {23, 4}, {42, 6}, {41, 7}, {90, 0}, {51, 9}}));
}

TEST_F(ResultPlacering, PlacesGoWithTheLastResult) {
    TOvelseInfo& round = Round("M", "100");
    const auto positions = AddTimes(round, {{1, 1, 1050}, {2, 1, 1060}});
    EXPECT_EQ(PlaceAndReadBack(round, positions), (TPlaces{{1, 1}, {2, 2}}));

    TResultatManager manager;
    manager.LoadOvelse(&round);
    Row(manager, 1).SetFieldText(TResultColumn::Resultat, "");
    manager.SaveResultater();
    EXPECT_EQ(StoredPlaces(positions), (TPlaces{{1, 2}, {2, 1}}));
    Row(manager, 2).SetResultat(0);
    manager.SaveResultater();
    EXPECT_EQ(StoredPlaces(positions), (TPlaces{{1, 0}, {2, 0}}));
}

// A code given to a loaded row, typed or put back as it was, places the round anew at once: a row with a
// status comes after those without.
TEST_F(ResultPlacering, ACodeGivenOrTakenFromALoadedRowPlacesTheRoundAnew) {
    TOvelseInfo& round = Round("M", "100");
    const auto positions = AddTimes(round, {{1, 1, 1050}, {2, 1, 1060}, {3, 1, 1070}});
    TResultatManager manager;
    manager.LoadOvelse(&round);
    Row(manager, 1).SetFieldText(TResultColumn::RK, "disk");
    manager.SaveResultater();
    EXPECT_EQ(StoredPlaces(positions), (TPlaces{{1, 3}, {2, 1}, {3, 2}}));
    Row(manager, 2).RK = QStringLiteral("U");
    Row(manager, 1).RK = QString();
    Row(manager, 1).Modified = Row(manager, 2).Modified = true;
    manager.SaveResultater();
    EXPECT_EQ(StoredPlaces(positions), (TPlaces{{1, 1}, {2, 3}, {3, 2}}));

    TResultatManager again;
    again.LoadOvelse(&round);
    EXPECT_FALSE(Row(again, 2).IsValid());
    EXPECT_TRUE(Row(again, 1).IsValid());
}

TEST_F(ResultPlacering, ARelayIsAsOldAsTheRoundedUpMeanOfItsRunners) {
    AddKlub(1, "Sparta");
    AddDeltager(11, "A", 1990);
    AddDeltager(12, "B", 1991);
    AddDeltager(13, "C", 0);
    AddDeltager(901, "Sparta 1", 0);
    AddDeltager(902, "Sparta 2", 1980);
    TOvelseInfo& round = Round("M", "4X100");
    // Runner 14 is no participant; 13 has no birth year.
    AddResultat(round, 901, Fields({{Heat, 1}, {Resultat, 4210}}),
                Serie({{11, 0}, {12, 0}, {13, 0}, {14, 0}}));
    AddResultat(round, 902, Fields({{Heat, 1}, {Resultat, 4250}}), Serie({{13, 0}}));
    TResultatManager manager;
    manager.LoadOvelse(&round);
    EXPECT_EQ(Row(manager, 901).Aargang, 1991);
    EXPECT_EQ(Row(manager, 902).Aargang, 0);
    manager.SaveResultater();
    EXPECT_EQ(Stored<TDeltagerTable>({DeltagerField::Startnummer, DeltagerField::Aargang}),
              (QStringList{"11/1990", "12/1991", "13/0", "901/1991", "902/0"}));
}

// Every row order is a strict weak ordering, so that a sort can rely on it, over random rows of every
// kind read from records in each kind of event; and every sort keeps equal rows in their order.
TEST_F(ResultPlacering, EveryRowOrderIsAStrictWeakOrderingAndSortsAreStable) {
    // clang-format off
    const TResultatCompare orders[] = {
        CompareByStartnummer, CompareByStatus, CompareByStatusUK, CompareBySG, CompareBySeedning,
        CompareByResultat, CompareByPK, CompareByPlac, CompareByForbedring, CompareByHeat, CompareByNavn,
        CompareByHeatNavn, CompareByHeatKlubNavn, CompareByKlubSeedning, CompareByKlubResultat,
        CompareByRank, CompareByHoldkode, CompareByRankHoldkode, CompareBySeedningRankNavn,
        CompareByHeatSeedningRankNavn, CompareByHeatStartnummer, CompareByBaneSide, CompareByHeatBaneSide,
        CompareByHeatResultat, CompareByResultatHeat, CompareByResultatStartnummer,
        CompareByHeatKlubSeedning, CompareByPoint, CompareByPointPlac, CompareByVTPoint,
        CompareByVeteranPoint2};
    // clang-format on
    AddKlub(1, "Sparta");
    AddKlub(2, "aarhus");
    AddKlub(3, "AARHUS");
    const char* const navne[] = {"bo", "Bo", "al", "Cy"};
    for (int i = 1; i <= 4; ++i)
        AddDeltager(i, navne[i - 1], 0, i % 4);

    std::mt19937 random(17);
    const auto small = [&random] { return std::uniform_int_distribution<int>(0, 2)(random); };
    const auto pick = [&random](const auto& values) {
        return values[std::uniform_int_distribution<std::size_t>(0, std::size(values) - 1)(random)];
    };
    const char* const koder[] = {"", "", "", "D", "U", "A", "E", "V", "Q"};
    const char* const udenfor[] = {"", "", "U", "-"};
    const qint32 marks[] = {0, -104, 1040, 1045, 650, 640};
    const std::pair<qint32, qint32> attempts[] = {{650, 0}, {640, 0},  {0, 0},
                                                  {180, 3}, {180, 23}, {185, 222}};
    constexpr int Rows = 32;
    for (const char* ovelse : {"100", "LÆ", "HØ"}) {
        TOvelseInfo& round = Round("M", ovelse);
        SetRunde(round, OvelseRnField::RankAsSeedning, small() % 2);
        for (int i = 0; i < Rows; ++i) {
            std::vector<std::pair<qint32, qint32>> serie(std::uniform_int_distribution<int>(0, 3)(random));
            for (auto& attempt : serie)
                attempt = pick(attempts);
            AddResultat(
                round, small() + 1,
                [&](TResultatTable& t) {
                    for (const int fieldNo : {Heat, PlKode, Placering, Banenummer, Sidenummer,
                                              SeedningsGruppe, Rank, Point3, VTPoint})
                        t.GetField(fieldNo)->SetAsInteger(small());
                    for (const int fieldNo : {Resultat, Seedning, PersonligRekord})
                        t.GetField(fieldNo)->SetAsInteger(pick(marks));
                    t.GetField(Point)->SetAsFloat(small() / 2.0);
                    SetKode(t, pick(koder));
                    t.GetField(UdenforKonk)->SetAsString(pick(udenfor));
                },
                Serie(serie));
        }
        TResultatManager manager;
        manager.LoadOvelse(&round);
        ASSERT_EQ(manager.Count(), Rows);
        std::vector<TResultat*> rows;
        for (int i = 0; i < Rows; ++i) {
            rows.push_back(manager.GetResultat(i));
            rows.back()->VeteranPoint2 = small();
        }
        for (std::size_t o = 0; o < std::size(orders); ++o) {
            SCOPED_TRACE(std::string(ovelse) + ", order " + std::to_string(o));
            const TResultSort sort(manager.Rules());
            int c[Rows][Rows];
            for (int a = 0; a < Rows; ++a)
                for (int b = 0; b < Rows; ++b)
                    c[a][b] = orders[o](sort, *rows[a], *rows[b]);
            int faults = 0;
            for (int a = 0; a < Rows; ++a) {
                faults += c[a][a] != 0;
                for (int b = 0; b < Rows; ++b) {
                    faults += (c[a][b] < 0) != (c[b][a] > 0) || (c[a][b] == 0) != (c[b][a] == 0);
                    for (int x = 0; x < Rows; ++x)
                        faults += c[a][b] <= 0 && c[b][x] <= 0 && c[a][x] > 0;
                }
            }
            EXPECT_EQ(faults, 0);

            std::vector<TResultat*> sorted = rows;
            manager.SortRows(sorted, orders[o]);
            const auto at = [&rows](const TResultat* row) {
                return std::find(rows.begin(), rows.end(), row);
            };
            for (std::size_t i = 1; i < sorted.size(); ++i) {
                const int order = orders[o](sort, *sorted[i - 1], *sorted[i]);
                EXPECT_TRUE(order < 0 || (order == 0 && at(sorted[i - 1]) < at(sorted[i])));
            }
        }
    }
}
