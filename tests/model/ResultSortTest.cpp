#include "model/D_Result.h"

#include "support/Test.h"

#include "ResultFixture.h"
#include "model/D_Context.h"
#include "model/D_Ovelser.h"

#include <QSet>

#include <algorithm>

namespace {

class ResultSort : public TResultTest {
protected:
    // 100 m in heat 1: 10.52, no time, a hand 10.4 and 10.45.
    void AddTimes() {
        using namespace ResultatField;
        AddResultat(Round("M", "100"), 1, Fields({{Heat, 1}, {Resultat, 1052}, {Seedning, 1050}}));
        AddResultat(Round("M", "100"), 2, Fields({{Heat, 1}, {Resultat, 0}}));
        AddResultat(Round("M", "100"), 3, Fields({{Heat, 1}, {Resultat, -104}, {Seedning, -104}}));
        AddResultat(Round("M", "100"), 4, Fields({{Heat, 1}, {Resultat, 1045}, {Seedning, 1045}}));
    }
    // Shot put, all with heat 1: 14.12, no mark, 15.01.
    void AddThrows() {
        using namespace ResultatField;
        AddResultat(Round("M", "KU"), 1, Fields({{Heat, 1}}), Serie({{1412, 0}}));
        AddResultat(Round("M", "KU"), 2, Fields({{Heat, 1}}));
        AddResultat(Round("M", "KU"), 3, Fields({{Heat, 1}}), Serie({{1501, 0}}));
    }
};

// The manager that sorts whole inside the next comparison of another manager's sort; none after that.
TResultatManager* nested = nullptr;

int CompareAndSortNested(const TResultSort& sort, const TResultat& a, const TResultat& b) {
    if (TResultatManager* other = std::exchange(nested, nullptr))
        other->SortResultatStartnummer();
    return CompareByResultatStartnummer(sort, a, b);
}

// One insertion step of a sort: row i moved down past the rows that sort after it.
void InsertionStep(std::vector<TResultat*>& rows, std::size_t i, const TResultSort& sort) {
    for (std::size_t j = i; j > 0 && CompareByResultatStartnummer(sort, *rows[j], *rows[j - 1]) < 0; --j)
        std::swap(rows[j], rows[j - 1]);
}

QList<qint32> Numbers(const std::vector<TResultat*>& rows) {
    QList<qint32> numbers;
    for (const TResultat* row : rows)
        numbers << row->Startnummer;
    return numbers;
}

} // namespace

TEST(ResultStatus, StatusOrdersPutValidRowsFirstAndRowsWithAHeatBeforeThoseWithout) {
    TResultat row(nullptr, nullptr);
    const auto order = [&row](const char* rk, qint32 heat, const char* uk = "") {
        row.RK = QString::fromUtf8(rk);
        row.Heat = static_cast<quint16>(heat);
        row.UK = QString::fromUtf8(uk);
        return std::pair(row.GetStatusOrder(), row.GetStatusOrderUK());
    };
    // Rank code, heat, out-of-competition code; order, order with out of competition. Out of team
    // scoring is no out-of-competition row.
    // clang-format off
    const std::tuple<const char*, qint32, const char*, int, int> cases[] = {
        {"", 0, "", 0, 0}, {" ", 4, "", 0, 0}, {"D", 3, "", 12, 12}, {"D", 0, "", 22, 22}, {"", 2, "U", 0, 11},
        {"", 0, "UK", 0, 21}, {"u", 1, "", 13, 13}, {"V", 1, "", 14, 14}, {"A", 1, "", 15, 15},
        {"E", 0, "", 26, 26}, {"Q", 1, "", 17, 17}, {"", 1, "-", 0, 0}};
    // clang-format on
    for (const auto& [rk, heat, uk, status, statusUK] : cases)
        EXPECT_EQ(order(rk, heat, uk), std::pair(status, statusUK)) << rk << heat << uk;
    EXPECT_TRUE(row.IsUdenforHold());
    EXPECT_EQ(row.GetHeatOrder(), 1);
    row.Heat = 0;
    EXPECT_EQ(row.GetHeatOrder(), 9999);
}

// The row keeps its status apart from its code: every way the code changes must change it too.
TEST(ResultStatus, EveryWayACodeChangesChangesTheStatus) {
    TResultat row(nullptr, nullptr);
    row.Heat = 1;
    const auto status = [&row] { return std::pair(row.IsValid(), row.GetStatusOrder()); };
    row.SetRK(QStringLiteral("D"));
    EXPECT_EQ(status(), std::pair(false, 12));
    EXPECT_TRUE(row.Modified);
    row.SetFieldText(TResultColumn::RK, QStringLiteral("venter"));
    EXPECT_EQ(row.RK, "V");
    EXPECT_EQ(status(), std::pair(false, 14));
    row.SetFieldText(TResultColumn::RK, QString());
    EXPECT_EQ(status(), std::pair(true, 0));
    // Only the code's first letter counts, and only as far as the code is kept.
    row.SetRK(QStringLiteral("e") + QString(40, u'x'));
    EXPECT_EQ(status(), std::pair(false, 16));
    row.SetRK(QStringLiteral(" "));
    EXPECT_EQ(status(), std::pair(true, 0));

    TResultat other(nullptr, nullptr);
    other.RK = QStringLiteral("A");
    row.RK = other.RK;
    EXPECT_EQ(status(), std::pair(false, 15));
    QString taken = QStringLiteral("U");
    row.RK = std::move(taken);
    EXPECT_EQ(status(), std::pair(false, 13));
    row.RK = QString();
    EXPECT_EQ(status(), std::pair(true, 0));
    // The other row's status is its own.
    EXPECT_EQ(other.GetStatusOrder(), 25);
}

// The same for the out-of-competition code, whose marks every points pass and team reads.
TEST(ResultStatus, EveryWayAnOutOfCompetitionCodeChangesChangesItsMarks) {
    TResultat row(nullptr, nullptr);
    row.Heat = 1;
    const auto marks = [&row] { return std::tuple(row.IsUK(), row.IsUdenforHold(), row.GetStatusOrderUK()); };
    EXPECT_EQ(marks(), std::tuple(false, false, 0));
    row.SetUK(QStringLiteral("U"));
    EXPECT_EQ(marks(), std::tuple(true, false, 11));
    EXPECT_TRUE(row.Modified);
    row.SetFieldText(TResultColumn::UK, QStringLiteral("oot"));
    EXPECT_EQ(row.UK, "-");
    EXPECT_EQ(marks(), std::tuple(false, true, 0));
    row.SetFieldText(TResultColumn::UK, QString());
    EXPECT_EQ(marks(), std::tuple(false, false, 0));
    row.UK = QString(QChar(1));
    EXPECT_EQ(marks(), std::tuple(false, true, 0));
    row.UK = QStringLiteral("uk");
    EXPECT_EQ(marks(), std::tuple(true, false, 11));
    // A status row out of competition orders by its status.
    row.RK = QStringLiteral("D");
    EXPECT_EQ(marks(), std::tuple(true, false, 12));
    row.RK = QString();

    TResultat other(nullptr, nullptr);
    other.UK = QStringLiteral("-");
    row.UK = other.UK;
    EXPECT_EQ(marks(), std::tuple(false, true, 0));
    row.UK = QStringLiteral("x");
    EXPECT_EQ(marks(), std::tuple(false, false, 0));
    EXPECT_TRUE(other.IsUdenforHold());
}

TEST_F(ResultSort, TimesAscendWithNoTimeLastAndHandTimesInHundredths) {
    AddTimes();
    TResultatManager manager;
    manager.LoadOvelse(&Round("M", "100"));
    manager.SortResultatStartnummer();
    EXPECT_EQ(Startnumre(manager), (QList<qint32>{3, 4, 1, 2}));
    // The hand 10.4 counts as 10.40 plus the timing correction (0.24) in the seeding order.
    manager.SortSeedning();
    EXPECT_EQ(Startnumre(manager), (QList<qint32>{4, 1, 3, 2}));
    EXPECT_EQ(manager.CompareResultat(-104, 1045, false), -1);
    EXPECT_EQ(manager.CompareResultat(-104, 1045, true), 1);
    EXPECT_EQ(manager.CompareResultat(0, 1045, false), 1);
}

TEST_F(ResultSort, FieldEventsDescendWithRowsWithoutAHeatAndStatusRowsApart) {
    using namespace ResultatField;
    const TOvelseInfo& round = Round("M", "LÆ");
    AddResultat(round, 11, Fields({{Heat, 1}}), Serie({{650, 0}}));
    AddResultat(round, 12, Fields({{Heat, 1}}), Serie({{620, 0}}));
    AddResultat(round, 16, Fields({{Heat, 0}}), Serie({{700, 0}}));
    TResultatManager manager;
    manager.LoadOvelse(&Round("M", "LÆ"));
    manager.SortResultatHeat();
    EXPECT_EQ(Startnumre(manager), (QList<qint32>{16, 11, 12}));
    manager.SortHeatResultat();
    EXPECT_EQ(Startnumre(manager), (QList<qint32>{11, 12, 16}));
    // A status row goes after every valid one, whatever its mark.
    manager.GetResultat(0)->SetRK("D");
    manager.SortResultatHeat();
    EXPECT_EQ(Startnumre(manager), (QList<qint32>{16, 12, 11}));
}

TEST_F(ResultSort, EachManagerSortsByItsOwnRoundWhicheverWasCreatedLast) {
    AddTimes();
    AddThrows();
    TResultatManager*& current = ModelContext().CurrentResultatManager;
    TResultatManager older;
    older.LoadOvelse(&Round("M", "100"));
    older.MakeCurrent();
    EXPECT_EQ(current, &older);
    {
        TResultatManager newer;
        newer.LoadOvelse(&Round("M", "KU"));
        newer.MakeCurrent();
        EXPECT_EQ(current, &newer);
        older.SortResultatStartnummer();
        EXPECT_EQ(Startnumre(older), (QList<qint32>{3, 4, 1, 2}));
        newer.SortResultatStartnummer();
        EXPECT_EQ(Startnumre(newer), (QList<qint32>{3, 1, 2}));
        // Sorting does not change which manager is current.
        EXPECT_EQ(current, &newer);
        older.MakeCurrent();
        EXPECT_EQ(current, &older);
        newer.MakeCurrent();
    }
    // The freed manager's round is nobody's rules: the context has no current manager until its owner
    // makes the older one current again, and it sorts as before.
    EXPECT_EQ(current, nullptr);
    older.MakeCurrent();
    EXPECT_EQ(current, &older);
    older.SortStartnummer();
    older.SortResultatStartnummer();
    EXPECT_EQ(Startnumre(older), (QList<qint32>{3, 4, 1, 2}));
    EXPECT_LT(CompareByResultat(TResultSort(older.Rules()), *older.GetResultat(0), *older.GetResultat(1)), 0);

    // Rows held elsewhere sort by their manager's round too, whichever manager is current.
    TResultatManager newest;
    newest.LoadOvelse(&Round("M", "KU"));
    newest.MakeCurrent();
    std::vector<TResultat*> rows = {older.GetResultat(2), older.GetResultat(0), older.GetResultat(3)};
    older.SortRows(rows, CompareByResultat);
    EXPECT_EQ(rows,
              (std::vector<TResultat*>{older.GetResultat(0), older.GetResultat(2), older.GetResultat(3)}));
    EXPECT_EQ(current, &newest);
}

// A 100 m round (times ascending, no time last) and a shot put round (marks descending) sorted side by
// side: step by step, and a whole sort of the one inside a comparison of the other; the shot put's
// manager is the newest.
TEST_F(ResultSort, TwoManagersOfOtherRoundsSortInterleavedEachByItsOwnRules) {
    AddTimes();
    AddThrows();
    TResultatManager lob;
    lob.LoadOvelse(&Round("M", "100"));
    TResultatManager kast;
    kast.LoadOvelse(&Round("M", "KU"));
    const QList<qint32> lobOrder{3, 4, 1, 2};
    const QList<qint32> kastOrder{3, 1, 2};

    const TResultSort lobSort(lob.Rules());
    const TResultSort kastSort(kast.Rules());
    std::vector<TResultat*> lobRows = lob.GetResultater();
    std::vector<TResultat*> kastRows = kast.GetResultater();
    for (std::size_t i = 1; i < lobRows.size(); ++i) {
        InsertionStep(lobRows, i, lobSort);
        if (i < kastRows.size())
            InsertionStep(kastRows, i, kastSort);
    }
    EXPECT_EQ(Numbers(lobRows), lobOrder);
    EXPECT_EQ(Numbers(kastRows), kastOrder);

    lob.SortStartnummer();
    kast.SortStartnummer();
    nested = &kast;
    lob.Sort(CompareAndSortNested);
    EXPECT_EQ(nested, nullptr);
    EXPECT_EQ(Startnumre(lob), lobOrder);
    EXPECT_EQ(Startnumre(kast), kastOrder);
}

// A sort makes each row's keys once and keeps them while it lasts; the next sort makes them anew.
TEST_F(ResultSort, ASortMakesEachKeyOnceAndTheNextSortAnew) {
    AddDeltager(1, "bo");
    AddDeltager(2, "Al");
    AddThrows();
    TResultatManager manager;
    manager.LoadOvelse(&Round("M", "KU"));
    TResultat& row = Row(manager, 1);
    const TResultSort sort(manager.Rules());
    const QString& navn = sort.NavnKey(row);
    const QString& tieBreak = sort.TieBreakKey(row);
    EXPECT_EQ(navn, "BO");
    EXPECT_EQ(tieBreak, "0000001412");
    row.Navn = "Åse";
    row.SetSerieText(1, "1450");
    EXPECT_EQ(&sort.NavnKey(row), &navn);
    EXPECT_EQ(sort.NavnKey(row), "BO");
    EXPECT_EQ(sort.TieBreakKey(row), "0000001412");
    const TResultSort next(manager.Rules());
    EXPECT_EQ(next.NavnKey(row), "ÅSE");
    EXPECT_EQ(next.TieBreakKey(row), "00000014500000001412");
    manager.SortNavn();
    EXPECT_EQ(Startnumre(manager), (QList<qint32>{3, 2, 1}));
}

TEST_F(ResultSort, ListOrdersOfNamesHeatsLanesAndPoints) {
    using namespace ResultatField;
    AddKlub(1, "Sparta");
    AddKlub(2, "aarhus");
    AddDeltager(1, "bo", 0, 1);
    AddDeltager(2, "Al", 0, 2);
    AddDeltager(3, "Cy", 0, 2);
    AddDeltager(4, "ad", 0, 1);
    const TOvelseInfo& round = Round("M", "100");
    AddResultat(round, 1, Fields({{Heat, 2}, {Banenummer, 1}, {Rank, 2}}));
    AddResultat(round, 2, Fields({{Heat, 1}, {Banenummer, 5}, {Rank, 1}}));
    AddResultat(round, 3, Fields({{Heat, 0}, {Banenummer, 0}, {Rank, 3}}));
    AddResultat(round, 4, Fields({{Heat, 1}, {Banenummer, 2}, {Rank, 1}}));
    TResultatManager manager;
    manager.LoadOvelse(&Round("M", "100"));
    manager.SortNavn();
    EXPECT_EQ(Startnumre(manager), (QList<qint32>{4, 2, 1, 3}));
    manager.SortHeatBaneSide();
    EXPECT_EQ(Startnumre(manager), (QList<qint32>{4, 2, 1, 3}));
    manager.SortHeatStartnummer();
    EXPECT_EQ(Startnumre(manager), (QList<qint32>{2, 4, 1, 3}));
    // "aarhus" is "århus", after "Sparta" in Danish order.
    manager.SortKlubSeedning();
    EXPECT_EQ(Startnumre(manager).mid(0, 2), (QList<qint32>{4, 1}));

    manager.GetResultat(manager.IndexOfStartnummer(1))->SetPoint(5);
    manager.GetResultat(manager.IndexOfStartnummer(2))->SetPoint(8);
    manager.GetResultat(manager.IndexOfStartnummer(3))->SetPoint(9);
    manager.GetResultat(manager.IndexOfStartnummer(3))->SetUK("U");
    manager.SortPoints();
    EXPECT_EQ(Startnumre(manager), (QList<qint32>{2, 1, 4, 3}));
    manager.SortPointsPlacering();
    EXPECT_EQ(Startnumre(manager).front(), 3);
    manager.SortRankHoldkode();
    EXPECT_EQ(Startnumre(manager).mid(2), (QList<qint32>{1, 3}));
}

// Names and clubs in Danish order: Æ, Ø and Å after Z, "Aa" as Å, case ignored; in the name order, the
// lanes by name or club and the orders by club.
TEST_F(ResultSort, NamesAndClubsSortInDanishOrder) {
    using namespace ResultatField;
    AddKlub(1, "Aalborg AM");
    AddKlub(2, "Ørsted IF");
    AddKlub(3, "Århus 1900");
    AddKlub(4, "Zealand");
    AddKlub(5, "Bagsværd");
    const char* const navne[] = {"Åge", "Øjvind", "Aage", "Ærlig", "Zenia", "anders", "Bo"};
    for (qint32 nr = 1; nr <= 7; ++nr) {
        AddDeltager(nr, QString::fromUtf8(navne[nr - 1]), 0, 1 + nr % 5);
        AddResultat(Round("M", "100"), nr, Fields({{Heat, 1}}));
    }
    TResultatManager manager;
    manager.LoadOvelse(&Round("M", "100"));
    const auto rowNames = [&manager] {
        QStringList names;
        for (const TResultat* row : manager.GetResultater())
            names << row->Navn;
        return names;
    };
    manager.SortNavn();
    const QStringList sorted = rowNames();
    EXPECT_EQ(sorted.mid(0, 5), (QStringList{"anders", "Bo", "Zenia", "Ærlig", "Øjvind"}));
    EXPECT_EQ(QSet<QString>(sorted.begin() + 5, sorted.end()), (QSet<QString>{"Åge", "Aage"}));
    // Clubs: Bagsværd, Zealand, Ørsted IF, then Aalborg AM and Århus 1900 as one letter.
    manager.SortHeatKlubSeedning();
    QStringList klubber;
    for (const TResultat* row : manager.GetResultater())
        klubber << row->Klub;
    klubber.removeDuplicates();
    EXPECT_EQ(klubber.mid(0, 3), (QStringList{"Bagsværd", "Zealand", "Ørsted IF"}));
    EXPECT_EQ(klubber.mid(3), (QStringList{"Aalborg AM", "Århus 1900"}));
    // Lanes by name in the heat.
    manager.SeedOvelse(8, 0, int(TLaneMethod::Navn), 0, 1, 1);
    EXPECT_EQ(Row(manager, 6).Bane, 1);
    EXPECT_EQ(Row(manager, 2).Bane, 5);
}

// A round long enough to be sorted a byte at a time, its keys shared in many ways, comes out as the
// comparisons order it one pair at a time, equal rows in the order they had.
TEST_F(ResultSort, LongRoundsSortAsTheirComparisonsOrderThem) {
    using namespace ResultatField;
    TOvelseInfo& round = Round("M", "100");
    for (qint32 nr = 1; nr <= 150; ++nr) {
        AddDeltager(nr, QStringLiteral("Navn %1").arg(nr % 11), 0, 1);
        AddResultat(round, nr,
                    Fields({{Heat, nr % 4},
                            {Seedning, nr % 9 == 0 ? 0 : 1000 + (nr * 37) % 23},
                            {Rank, nr % 3},
                            {Resultat, nr % 5 == 0 ? 0 : 1000 + (nr * 53) % 301}}));
    }
    TResultatManager manager;
    manager.LoadOvelse(&round);
    std::vector<TResultat*> rows = manager.GetResultater();
    std::reverse(rows.begin(), rows.end());
    for (const TResultatCompare compare : {CompareBySeedningRankNavn, CompareByHeatSeedningRankNavn,
                                           CompareByHeatStartnummer, CompareByResultat, CompareByHeat}) {
        std::vector<TResultat*> expected = rows;
        const TResultSort byPairs(manager.Rules());
        byPairs.Index(expected);
        std::stable_sort(expected.begin(), expected.end(), [&](const TResultat* a, const TResultat* b) {
            return compare(byPairs, *a, *b) < 0;
        });
        std::vector<TResultat*> sorted = rows;
        SortResultater(sorted, TResultSort(manager.Rules()), compare);
        EXPECT_EQ(Numbers(sorted), Numbers(expected));
    }
}

// Sort after sort under one sort, as placing, teams and points make them: where rows tied on their marks
// hold half the round or more, the texts that tell them apart are ranked once for the whole round and
// kept; every order stays the one the comparisons give one pair at a time.
TEST_F(ResultSort, SortsUnderOneSortKeepTheirOrderWhenTheTextsAreRankedForTheWholeRound) {
    using namespace ResultatField;
    TOvelseInfo& round = Round("M", "KU");
    for (qint32 nr = 1; nr <= 120; ++nr) {
        AddDeltager(nr, QStringLiteral("Navn %1").arg(nr % 7), 0, 1);
        AddResultat(round, nr, Fields({{Heat, nr % 3 + 1}}),
                    Serie({{1400 + nr % 5, 0}, {1300 + (nr * 7) % 11, 0}}));
    }
    // Two rows alone on their marks, the rest tied on one.
    AddResultat(round, 121, Fields({{Heat, 1}}), Serie({{1500, 0}}));
    AddResultat(round, 122, Fields({{Heat, 2}}), Serie({{1300, 0}}));
    TResultatManager manager;
    manager.LoadOvelse(&round);
    std::vector<TResultat*> rows = manager.GetResultater();
    std::reverse(rows.begin(), rows.end());
    const TResultSort shared(manager.Rules());
    // By name the rows are indexed anew, and the texts ranked anew after.
    for (const TResultatCompare compare :
         {CompareByResultatHeat, CompareByNavn, CompareByHeatResultat, CompareByResultatHeat}) {
        std::vector<TResultat*> expected = rows;
        const TResultSort byPairs(manager.Rules());
        byPairs.Index(expected);
        std::stable_sort(expected.begin(), expected.end(), [&](const TResultat* a, const TResultat* b) {
            return compare(byPairs, *a, *b) < 0;
        });
        SortResultater(rows, shared, compare);
        EXPECT_EQ(Numbers(rows), Numbers(expected));
    }
    EXPECT_TRUE(shared.HasTextRanks(TResultSort::TText::TieBreak));
    // Placing compares rows under the sort by the ranks it keeps: each pair as their keys compare.
    const TResultSort byKeys(manager.Rules());
    int differ = 0;
    for (const TResultat* a : rows) {
        for (const TResultat* b : rows)
            differ += CompareByResultat(shared, *a, *b) != CompareByResultat(byKeys, *a, *b) ? 1 : 0;
    }
    EXPECT_EQ(differ, 0);
}
