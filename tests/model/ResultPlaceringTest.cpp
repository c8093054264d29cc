// Places of a round as the rules of athletics give them, computed by the result manager over records
// stored in a program folder and read back after saving.
#include "model/D_Result.h"

#include "support/Test.h"

#include "ResultFixture.h"
#include "model/D_Ovelser.h"

#include <QMap>

#include <random>

namespace {

using namespace ResultatField;

class ResultPlacering : public TResultTest {
protected:
    // The places of the rows by start number.
    static QMap<qint32, int> Places(const TResultatManager& manager) {
        QMap<qint32, int> places;
        for (int i = 0; i < manager.Count(); ++i)
            places[manager.GetResultat(i)->Startnummer] = manager.GetResultat(i)->Plac;
        return places;
    }
    // The places stored in the records at the positions, by start number.
    QMap<qint32, int> StoredPlaces(const QMap<qint32, quint32>& positions) {
        QMap<qint32, int> places;
        for (auto it = positions.begin(); it != positions.end(); ++it)
            places[it.key()] = StoredInteger(it.value(), Placering);
        return places;
    }
    // Stores a row per start number, heat and result.
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
    // Stores a result status as it is, whatever the letter.
    void StoreKode(quint32 position, const QString& kode) {
        TResultatTable table;
        table.Open();
        table.GotoPosition(position);
        table.Edit();
        static_cast<TStringField*>(table.GetField(ResultatKode))->TStringField::SetAsString(kode);
        table.Post();
    }
    // Loads, saves and loads again: the places the records hold.
    QMap<qint32, int> PlaceAndReadBack(TOvelseInfo& round, const QMap<qint32, quint32>& positions) {
        {
            TResultatManager manager;
            manager.LoadOvelse(&round);
            manager.SaveResultater();
        }
        return StoredPlaces(positions);
    }
};

QMap<qint32, int> Expected(std::initializer_list<std::pair<qint32, int>> places) {
    QMap<qint32, int> map;
    for (const auto& [startnummer, plac] : places)
        map[startnummer] = plac;
    return map;
}

} // namespace

TEST_F(ResultPlacering, AHandTimeCountsInHundredthsAndRowsWithoutATimeOrWithAStatusComeLast) {
    TOvelseInfo& round = Round("M", "100");
    auto positions = AddTimes(round, {{1, 1, 1052}, {2, 1, 0}, {3, 1, -104}, {4, 1, 1045}, {5, 1, 1030}});
    positions[6] = AddResultat(round, 6, Fields({{Heat, 1}, {Resultat, 1040}}));
    StoreKode(positions[5], "D");
    // The hand 10.4 and the electronic 10.40 are equal; the disqualified 10.30 follows the row without time.
    EXPECT_EQ(PlaceAndReadBack(round, positions), Expected({{3, 1}, {6, 1}, {4, 3}, {1, 4}, {2, 5}, {5, 6}}));
}

TEST_F(ResultPlacering, EqualRowsShareAPlaceAndTheNextRowTakesItsPosition) {
    TOvelseInfo& round = Round("M", "100");
    const auto positions = AddTimes(round, {{1, 1, 1040}, {2, 1, 1020}, {3, 1, 1030}, {4, 1, 1030}});
    EXPECT_EQ(PlaceAndReadBack(round, positions), Expected({{2, 1}, {3, 2}, {4, 2}, {1, 4}}));
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
              Expected({{13, 1}, {11, 2}, {12, 3}, {15, 4}, {14, 5}, {16, 6}, {17, 6}, {18, 8}}));
}

TEST_F(ResultPlacering, EqualHighJumpsGoByTriesAtTheBestHeightThenFailuresBelowIt) {
    TOvelseInfo& round = Round("M", "HØ");
    // Tries as digits: 1 pass, 2 failure, 3 clearance.
    const auto positions = AddAttempts(round, {{1, 1, {{170, 3}, {180, 3}, {185, 222}}},
                                               {2, 0, {{170, 3}, {180, 23}, {185, 222}}},
                                               {3, 0, {{170, 23}, {180, 3}, {185, 222}}},
                                               {4, 2, {{170, 3}, {180, 3}, {185, 222}}},
                                               {5, 0, {{170, 1}, {175, 3}}}});
    EXPECT_EQ(PlaceAndReadBack(round, positions), Expected({{1, 1}, {4, 2}, {3, 3}, {2, 4}, {5, 5}}));
}

TEST_F(ResultPlacering, PlacesRestartInEachHeatOrRunOverAllHeats) {
    TOvelseInfo& round = Round("M", "100");
    const auto positions = AddTimes(
        round, {{11, 1, 1050}, {12, 1, 1060}, {13, 1, 1070}, {21, 2, 1070}, {22, 2, 1080}, {41, 4, 1055}});
    // Heat 2 starts at 1 even with the time of heat 1's last.
    EXPECT_EQ(PlaceAndReadBack(round, positions),
              Expected({{11, 1}, {12, 2}, {13, 3}, {21, 1}, {22, 2}, {41, 1}}));

    SetRunde(round, OvelseRnField::ResType, 1);
    EXPECT_EQ(PlaceAndReadBack(round, positions),
              Expected({{11, 1}, {41, 2}, {12, 3}, {13, 4}, {21, 4}, {22, 6}}));
}

TEST_F(ResultPlacering, LetteredFinalsCountOnFromTheAFinal) {
    TOvelseInfo& round = Round("M", "100");
    auto positions = AddTimes(round, {{11, 1, 1050},
                                      {12, 1, 1060},
                                      {21, 2, 1100},
                                      {22, 2, 1090},
                                      {23, 2, 1100},
                                      {31, 3, 1150},
                                      {32, 3, 1140}});
    positions[90] = AddResultat(round, 90, Fields({{Heat, 0}, {Resultat, 1000}, {Placering, 7}}));
    SetRunde(round, OvelseRnField::FinaleType, 2);
    // Heat 3 is the A final, heat 2 goes on from 3 with a tie, heat 1 from 6; no heat keeps its place.
    EXPECT_EQ(PlaceAndReadBack(round, positions),
              Expected({{32, 1}, {31, 2}, {22, 3}, {21, 4}, {23, 4}, {11, 6}, {12, 7}, {90, 7}}));

    SetRunde(round, OvelseRnField::FinaleType, 1);
    EXPECT_EQ(PlaceAndReadBack(round, positions),
              Expected({{11, 1}, {12, 2}, {22, 3}, {21, 4}, {23, 4}, {32, 6}, {31, 7}, {90, 7}}));
}

TEST_F(ResultPlacering, LetteredFinalsTakeTheHeatsThatArePresent) {
    TOvelseInfo& round = Round("M", "100");
    // Heat 3 was not run; heat 5 holds only one who withdrew and keeps its stored place.
    auto positions = AddTimes(round, {{11, 1, 1050}, {21, 2, 1040}, {41, 4, 1090}, {42, 4, 1080}});
    positions[51] = AddResultat(round, 51, Fields({{Heat, 5}, {Placering, 9}}));
    StoreKode(positions[51], "A");
    SetRunde(round, OvelseRnField::FinaleType, 2);
    EXPECT_EQ(PlaceAndReadBack(round, positions), Expected({{42, 1}, {41, 2}, {21, 3}, {11, 4}, {51, 9}}));
}

TEST_F(ResultPlacering, PlacesGoWithTheLastResult) {
    TOvelseInfo& round = Round("M", "100");
    const auto positions = AddTimes(round, {{1, 1, 1050}, {2, 1, 1060}});
    EXPECT_EQ(PlaceAndReadBack(round, positions), Expected({{1, 1}, {2, 2}}));

    TResultatManager manager;
    manager.LoadOvelse(&round);
    Row(manager, 1).SetFieldText(int(TResultColumn::Resultat), "");
    manager.SaveResultater();
    EXPECT_EQ(StoredPlaces(positions), Expected({{1, 2}, {2, 1}}));
    Row(manager, 2).SetResultat(0);
    manager.SaveResultater();
    EXPECT_EQ(StoredPlaces(positions), Expected({{1, 0}, {2, 0}}));
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

// Every row order is a strict weak ordering (a sort can rely on it) over rows of every kind read from
// records, in each kind of event; and sorting is stable.
TEST_F(ResultPlacering, EveryRowOrderIsAStrictWeakOrderingAndSortsAreStable) {
    const std::pair<TResultatCompare, const char*> orders[] = {
        {CompareByStartnummer, "Startnummer"},
        {CompareByStatus, "Status"},
        {CompareByStatusUK, "StatusUK"},
        {CompareBySG, "SG"},
        {CompareBySeedning, "Seedning"},
        {CompareByResultat, "Resultat"},
        {CompareByPK, "PK"},
        {CompareByPlac, "Plac"},
        {CompareByForbedring, "Forbedring"},
        {CompareByHeat, "Heat"},
        {CompareByNavn, "Navn"},
        {CompareByHeatNavn, "HeatNavn"},
        {CompareByHeatKlubNavn, "HeatKlubNavn"},
        {CompareByKlubSeedning, "KlubSeedning"},
        {CompareByKlubResultat, "KlubResultat"},
        {CompareByRank, "Rank"},
        {CompareByHoldkode, "Holdkode"},
        {CompareByRankHoldkode, "RankHoldkode"},
        {CompareBySeedningRankNavn, "SeedningRankNavn"},
        {CompareByHeatSeedningRankNavn, "HeatSeedningRankNavn"},
        {CompareByHeatStartnummer, "HeatStartnummer"},
        {CompareByBaneSide, "BaneSide"},
        {CompareByHeatBaneSide, "HeatBaneSide"},
        {CompareByHeatResultat, "HeatResultat"},
        {CompareByResultatHeat, "ResultatHeat"},
        {CompareByResultatStartnummer, "ResultatStartnummer"},
        {CompareByHeatKlubSeedning, "HeatKlubSeedning"},
        {CompareByPoint, "Point"},
        {CompareByPointPlac, "PointPlac"},
        {CompareByVTPoint, "VTPoint"},
        {CompareByVeteranPoint2, "VeteranPoint2"},
    };
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
    const qint32 tider[] = {0, -104, 1040, 1045, 1052};
    const qint32 laengder[] = {0, 650, 640, 600};
    const std::pair<qint32, qint32> hoejder[] = {{170, 3}, {170, 23}, {180, 3}, {180, 23}, {185, 222}};
    constexpr int Rows = 32;
    for (const char* ovelse : {"100", "LÆ", "HØ"}) {
        TOvelseInfo& round = Round("M", ovelse);
        SetRunde(round, OvelseRnField::RankAsSeedning, ovelse == QStringLiteral("LÆ") ? 1 : 0);
        for (int i = 0; i < Rows; ++i) {
            std::vector<std::pair<qint32, qint32>> serie;
            const int attempts = std::uniform_int_distribution<int>(0, 3)(random);
            for (int a = 0; a < attempts && ovelse != QStringLiteral("100"); ++a)
                serie.push_back(ovelse == QStringLiteral("HØ") ? pick(hoejder)
                                                               : std::pair(pick(laengder), 0));
            AddResultat(
                round, small() + 1,
                [&](TResultatTable& t) {
                    for (const int fieldNo : {Heat, PlKode, Placering, Banenummer, Sidenummer,
                                              SeedningsGruppe, Rank, Point3, VTPoint})
                        t.GetField(fieldNo)->SetAsInteger(small());
                    t.GetField(Resultat)->SetAsInteger(pick(tider));
                    t.GetField(Seedning)->SetAsInteger(pick(tider));
                    t.GetField(PersonligRekord)->SetAsInteger(pick(tider));
                    t.GetField(Point)->SetAsFloat(small() / 2.0);
                    static_cast<TStringField*>(t.GetField(ResultatKode))
                        ->TStringField::SetAsString(pick(koder));
                    t.GetField(UdenforKonk)->SetAsString(pick(udenfor));
                },
                Serie(serie));
        }
        TResultatManager manager;
        manager.LoadOvelse(&round);
        ASSERT_EQ(manager.Count(), Rows);
        for (int i = 0; i < Rows; ++i)
            manager.GetResultat(i)->VeteranPoint2 = small();
        std::vector<TResultat*> rows;
        for (int i = 0; i < Rows; ++i)
            rows.push_back(manager.GetResultat(i));

        for (const auto& [compare, name] : orders) {
            SCOPED_TRACE(std::string(ovelse) + " " + name);
            int c[Rows][Rows];
            for (int a = 0; a < Rows; ++a)
                for (int b = 0; b < Rows; ++b)
                    c[a][b] = compare(*rows[a], *rows[b]);
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

            // Stable: rows that compare equal keep the order they had.
            std::vector<TResultat*> sorted = rows;
            manager.SortRows(sorted, compare);
            for (std::size_t i = 1; i < sorted.size(); ++i) {
                const int order = compare(*sorted[i - 1], *sorted[i]);
                EXPECT_TRUE(order < 0 || (order == 0 && std::find(rows.begin(), rows.end(), sorted[i - 1]) <
                                                            std::find(rows.begin(), rows.end(), sorted[i])));
            }
        }
    }
}
