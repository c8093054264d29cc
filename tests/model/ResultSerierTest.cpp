#include "model/D_Result.h"

#include "support/Test.h"

#include "ResultFixture.h"
#include "foundation/LxString.h"
#include "model/D_Ovelser.h"
#include "platform/LittleEndian.h"

namespace {

TSerie& Append(TSerier& serier, qint32 value, qint32 kode = 0, qint32 serieNr = 0) {
    TSerie& serie = *serier.GetSerie(serier.Add());
    serie.Value = value;
    serie.Kode = kode;
    serie.SerieNr = serieNr;
    return serie;
}

QByteArray Bytes(std::initializer_list<qint32> integers) {
    QByteArray bytes;
    for (const qint32 value : integers) {
        char at[4];
        storeLE<qint32>(at, value);
        bytes.append(at, 4);
    }
    return bytes;
}

QByteArray Word(quint16 value) {
    char at[2];
    storeLE<quint16>(at, value);
    return QByteArray(at, 2);
}

// One stored attempt of fieldCount fields (at most the six), the text empty.
QByteArray Attempt(quint16 fieldCount, qint32 value) {
    const QByteArray fields[] = {Bytes({value}), Bytes({7}), Bytes({0}), Word(0), Bytes({11}), Bytes({12})};
    QByteArray bytes = Word(fieldCount);
    for (quint16 i = 0; i < fieldCount && i < 6; ++i)
        bytes += fields[i];
    return bytes;
}

} // namespace

// ---------------------------------------------------------------- the stored form

TEST(ResultSerierBytes, EveryKindOfAttemptComesBackFieldForField) {
    TSerier serier;
    Append(serier, 180, 223, 2);         // a height cleared at the third try, mark number 2
    Append(serier, 745, 12);             // a long jump with its wind
    Append(serier, 745, SerieUdenVind);  // ... and with none given
    Append(serier, SeriePas);            // a pass
    Append(serier, SerieUgyldig);        // a foul
    Append(serier, SerieTom);            // an empty attempt
    Append(serier, 1234);                // a relay leg's start number
    TSerie& last = Append(serier, 6512); // a throw with points and a text
    last.Point1 = 901;
    last.Point2 = -3;
    last.Tekst = QStringLiteral("Måling æøå");

    const QByteArray blob = serier.SaveToString();
    EXPECT_EQ(blob.left(4), Bytes({8}));
    EXPECT_EQ(blob.mid(4, 2 + 12), Word(6) + Bytes({180, 223, 2}));

    TSerier read;
    ASSERT_TRUE(read.LoadFromString(blob));
    ASSERT_EQ(read.Count(), serier.Count());
    for (int i = 0; i < serier.Count(); ++i) {
        const TSerie& a = *serier.GetSerie(i);
        const TSerie& b = *read.GetSerie(i);
        EXPECT_EQ(std::tie(a.Value, a.Kode, a.SerieNr, a.Point1, a.Point2, a.Tekst),
                  std::tie(b.Value, b.Kode, b.SerieNr, b.Point1, b.Point2, b.Tekst))
            << "attempt " << i;
    }
    EXPECT_EQ(read.SaveToString(), blob);

    EXPECT_TRUE(TSerier().SaveToString().isEmpty());
    EXPECT_TRUE(read.LoadFromString(QByteArray(3, '\x01')));
    EXPECT_EQ(read.Count(), 0);
}

TEST(ResultSerierBytes, DamagedFormsKeepTheWholeAttemptsBeforeTheFault) {
    TSerier serier;
    EXPECT_FALSE(serier.LoadFromString(Bytes({-1}) + Attempt(6, 500)));
    EXPECT_EQ(serier.Count(), 0);

    // A count far beyond the bytes: the two attempts there are, and no more.
    EXPECT_FALSE(serier.LoadFromString(Bytes({0x7FFFFFFF}) + Attempt(6, 500) + Attempt(6, 510)));
    ASSERT_EQ(serier.Count(), 2);
    EXPECT_EQ(serier.GetSerie(1)->Value, 510);

    // Seven fields are more than an attempt has.
    EXPECT_FALSE(
        serier.LoadFromString(Bytes({2}) + Attempt(6, 500) + Word(7) + Bytes({1, 2, 3, 4, 5, 6, 7})));
    EXPECT_EQ(serier.Count(), 1);

    // Cut inside the second attempt's text.
    EXPECT_FALSE(
        serier.LoadFromString(Bytes({2}) + Attempt(6, 500) + Word(6) + Bytes({1, 2, 3}) + Word(40) + "abc"));
    EXPECT_EQ(serier.Count(), 1);

    // Fewer fields than six: the others keep their defaults.
    ASSERT_TRUE(serier.LoadFromString(Bytes({2}) + Attempt(4, 500) + Attempt(1, 510)));
    ASSERT_EQ(serier.Count(), 2);
    EXPECT_EQ(QList<qint32>({serier.GetSerie(0)->Kode, serier.GetSerie(0)->Point1, serier.GetSerie(0)->Point2,
                             serier.GetSerie(1)->Kode}),
              QList<qint32>({7, 0, 0, 0}));
}

TEST(ResultSerierBytes, ALongSeriesIsWrittenWhole) {
    TSerier serier;
    for (int i = 0; i < 400; ++i)
        Append(serier, 1000 + i).Tekst = QString(20, u'x');
    const QByteArray blob = serier.SaveToString();
    EXPECT_GT(blob.size(), 4096 * 3);
    TSerier read;
    ASSERT_TRUE(read.LoadFromString(blob));
    ASSERT_EQ(read.Count(), 400);
    EXPECT_EQ(read.GetSerie(399)->Value, 1399);
}

// ---------------------------------------------------------------- entries and texts

class ResultSerier : public TResultTest {
protected:
    // A row of the round, not stored.
    std::unique_ptr<TResultat> Row(const QString& ovelse) {
        auto row = std::make_unique<TResultat>(nullptr, &Round("M", ovelse));
        row->Heat = 1;
        return row;
    }
};

TEST_F(ResultSerier, VerticalJumpEntriesTakeTheShorthands) {
    auto row = Row("HØ");
    row->SetSerieText(0, "1803");
    row->SetSerieText(1, "18");
    row->SetSerieText(2, " 185,* ");
    row->SetSerieText(3, "2:190,-+");
    const auto kode = [&](int i) { return row->GetSerie(i)->Kode; };
    EXPECT_EQ(QList<qint32>({row->GetSerie(0)->Value, kode(0), row->GetSerie(1)->Value, kode(1), kode(2),
                             row->GetSerie(3)->SerieNr}),
              QList<qint32>({180, 223, 18, 222, 1, 2}));
    EXPECT_EQ(QStringList({row->GetSerieText(0), row->GetSerieText(3), row->GetSerieEditText(0),
                           row->GetSerieEditText(3)}),
              QStringList({"1.80 (XXO)", "2:1.90 (XO)", "180,--+", "2:190,-+"}));
    // The best height cleared; the pass at 1.85 and the failures at 18 are none.
    EXPECT_EQ(row->Resultat, 190);
    EXPECT_TRUE(row->Modified);

    for (const auto& [entry, digits] : std::vector<std::pair<QString, qint32>>{
             {"170,1", 3}, {"170,2", 23}, {"170,3", 223}, {"170,4", 222}}) {
        row->SetSerieText(4, entry);
        EXPECT_EQ(kode(4), digits) << entry.toStdString();
    }

    EXPECT_THROW(row->SetSerieText(5, "180,XO"), EConvertError);
    EXPECT_THROW(row->SetSerieText(5, "180,--+-"), EConvertError);
    EXPECT_EQ(row->GetSerieCount(), 5);
}

TEST_F(ResultSerier, LongJumpEntriesCarryTheirWind) {
    auto row = Row("LÆ");
    ASSERT_TRUE(Round("M", "LÆ").IsVindPrForsog());
    const std::vector<std::tuple<QString, qint32, qint32>> entries = {
        {"745x", 745, SerieUdenVind}, {"74512", 745, 12}, {"745-5", 745, -5},
        {"745,21", 745, 21},          {"74", 74, 0},      {"X", SerieUgyldig, 0},
        {"-", SeriePas, 0},           {"*", SeriePas, 0}};
    for (int i = 0; i < static_cast<int>(entries.size()); ++i) {
        const auto& [entry, value, vind] = entries[static_cast<std::size_t>(i)];
        row->SetSerieText(i, entry);
        EXPECT_EQ(row->GetSerie(i)->Value, value) << entry.toStdString();
        EXPECT_EQ(row->GetSerie(i)->Kode, vind) << entry.toStdString();
    }
    EXPECT_EQ(QStringList({row->GetSerieText(0), row->GetSerieText(1), row->GetSerieEditText(0),
                           row->GetSerieEditText(2), row->GetSerieText(5), row->GetSerieText(6)}),
              QStringList({"7.45 (x)", "7.45 (+1.2)", "745,x", "745,-5", "X", "-"}));
    for (int i = 0; i < 4; ++i) {
        const QString edit = row->GetSerieEditText(i);
        row->SetSerieText(i, edit);
        EXPECT_EQ(row->GetSerieEditText(i), edit);
    }
}

TEST_F(ResultSerier, TriesThatCannotHappenAtOneHeightAreRefusedAndChangeNothing) {
    auto row = Row("HØ");
    row->SetSerieText(0, "175,+");
    row->SetSerieText(1, "180,-");
    row->Modified = false;
    const QByteArray before = row->Serier.SaveToString();
    // After a clearance or a pass, in one entry or over the row's attempts at that height; a fourth try.
    for (const auto& [index, entry] : std::vector<std::pair<int, QString>>{
             {2, "185,+-"}, {2, "185,*-"}, {2, "185,++"}, {2, "175,-"}, {2, "180,---"}, {0, "180,+"}}) {
        EXPECT_THROW(row->SetSerieText(index, entry), EConvertError) << index << entry.toStdString();
        EXPECT_EQ(row->Serier.SaveToString(), before) << entry.toStdString();
    }
    EXPECT_FALSE(row->Modified);
    EXPECT_EQ(ErrorText([&] { row->SetSerieText(2, "175,-"); }),
              "\"175,-\" kan ikke bruges: forsøgene på 1.75 ville blive \"+-\", og der kan ikke være forsøg "
              "efter klaret (+) eller pas (*) på samme højde");

    // A failure and a clearance or a pass over two attempts, and a jump-off at a height already cleared.
    row->SetSerieText(2, "180,-+");
    row->SetSerieText(3, "185,-*");
    row->SetSerieText(4, "1:175,+");
    EXPECT_EQ(row->GetSerieEditText(2), "180,-+");
    EXPECT_EQ(row->Resultat, 180);
}

TEST_F(ResultSerier, FieldMarksOfOneDecimalAreMetresAndALongJumpsWindMustBeAWind) {
    auto kast = Row("KU");
    kast->SetSerieText(0, "11.5");
    kast->SetSerieText(1, "9,8");
    EXPECT_EQ(kast->GetSerieText(0), "11.50");
    EXPECT_EQ(kast->GetSerieText(1), "9.80");
    EXPECT_EQ(kast->Resultat, 1150);

    auto laengde = Row("LÆ");
    const std::tuple<const char*, qint32, qint32> entries[] = {{"6.5", 650, 0},
                                                               {"7.45", 745, 0},
                                                               {"7.4512", 745, 12},
                                                               {"7.45-5", 745, -5},
                                                               {"7.45x", 745, SerieUdenVind}};
    int i = 0;
    for (const auto& [entry, value, vind] : entries) {
        laengde->SetSerieText(i, entry);
        EXPECT_EQ(laengde->GetSerie(i)->Value, value) << entry;
        EXPECT_EQ(laengde->GetSerie(i)->Kode, vind) << entry;
        ++i;
    }
    laengde->Modified = false;
    EXPECT_EQ(ErrorText([&] { laengde->SetSerieText(0, "745,abc"); }), "\"abc\" er ikke et gyldigt tal");
    EXPECT_EQ(laengde->GetSerie(0)->Value, 650);
    EXPECT_FALSE(laengde->Modified);
}

TEST_F(ResultSerier, ThrowAndRelayEntries) {
    auto kast = Row("KU");
    kast->SetSerieText(0, "1412");
    kast->SetSerieText(1, "x");
    kast->SetSerieText(2, "-");
    EXPECT_EQ(QStringList({kast->GetSerieText(0), kast->GetSerieText(1), kast->GetSerieText(2)}),
              QStringList({"14.12", "X", "-"}));
    EXPECT_EQ(kast->Resultat, 1412);
    EXPECT_THROW(kast->SetSerieText(3, "fjorten"), EConvertError);

    auto stafet = Row("4X100");
    stafet->SetResultat(4210);
    stafet->SetSerieText(0, "17");
    stafet->SetSerieText(1, "23");
    EXPECT_EQ(stafet->GetSerieText(1), "23");
    // The legs are no marks: the team's time stays.
    EXPECT_EQ(stafet->Resultat, 4210);
    // An empty text empties the attempt.
    stafet->SetSerieText(1, "");
    EXPECT_TRUE(stafet->GetSerie(1)->IsEmpty());
}

TEST_F(ResultSerier, TheBestAttemptAndTheBestLegalOne) {
    auto row = Row("LÆ");
    const auto best = [&row] {
        return QList<qint32>({row->Resultat, row->Vind, row->BestLegalResultat, row->BestLegalVind});
    };
    row->SetSerieText(0, "745,25");
    row->SetSerieText(1, "745,18");
    EXPECT_EQ(best(), QList<qint32>({745, 18, 745, 18}));

    // A longer jump with too much wind is the result; the legal best stays beside it.
    row->SetSerieText(2, "760,21");
    EXPECT_EQ(best(), QList<qint32>({760, 21, 745, 18}));
    EXPECT_FALSE(row->IsVindLegal());
    row->SetSerieText(3, "750,20");
    EXPECT_EQ(best(), QList<qint32>({760, 21, 750, 20}));

    // Only fouls: no mark, no wind, no legal best.
    auto fouls = Row("LÆ");
    fouls->SetSerieText(0, "X");
    fouls->SetSerieText(1, "-");
    EXPECT_EQ(QList<qint32>({fouls->Resultat, fouls->Vind, fouls->BestLegalResultat}), QList<qint32>(3, 0));
    EXPECT_TRUE(fouls->HasResultat());
    EXPECT_EQ(fouls->GetFieldText(TResultColumn::Resultat), "X");
}

// ---------------------------------------------------------------- tie-break keys

namespace {

// Heights with their tries as typed: "O" clearance, "X" failure, "-" pass.
QString HighJumpKey(std::initializer_list<std::pair<qint32, const char*>> heights) {
    TSerier serier;
    for (const auto& [height, tries] : heights) {
        QString digits = QString::fromLatin1(tries);
        digits.replace(u'O', u'3').replace(u'X', u'2').replace(u'-', u'1');
        Append(serier, height, digits.toInt());
    }
    return serier.GetTieBreakKey(int(TOvtype::VertikalSpring));
}

} // namespace

TEST(ResultSerierTieBreak, HighJumpFewestTriesAtTheLastHeightThenFewestFailures) {
    // Best 1.80 for both: cleared at the first try beats the second.
    EXPECT_GT(HighJumpKey({{170, "O"}, {175, "O"}, {180, "O"}}),
              HighJumpKey({{170, "O"}, {175, "O"}, {180, "XO"}}));
    // Both at the first try: no failure below beats one.
    EXPECT_GT(HighJumpKey({{170, "O"}, {175, "O"}, {180, "O"}}),
              HighJumpKey({{170, "O"}, {175, "XO"}, {180, "O"}}));
    // Failures at a height not cleared do not count.
    EXPECT_EQ(HighJumpKey({{170, "O"}, {180, "O"}, {185, "XXX"}}), HighJumpKey({{170, "O"}, {180, "O"}}));

    // A competition worked by hand: A and B each take three tries at 1.80 with one failure below it and
    // stay tied; C takes two at 1.80 and is ahead of both, although C failed twice at 1.75.
    const QString a = HighJumpKey({{170, "O"}, {175, "XO"}, {180, "XXO"}, {183, "XXX"}});
    const QString b = HighJumpKey({{170, "XO"}, {175, "O"}, {180, "XXO"}, {183, "XX"}});
    const QString c = HighJumpKey({{170, "O"}, {175, "XXO"}, {180, "XO"}, {183, "XXX"}});
    EXPECT_EQ(a, b);
    EXPECT_GT(c, a);
    // A jump-off clearance (a numbered mark) comes before everything.
    TSerier jumpOff;
    Append(jumpOff, 180, 223);
    Append(jumpOff, 182, 3, 1);
    EXPECT_GT(jumpOff.GetTieBreakKey(int(TOvtype::VertikalSpring)), a);
}

namespace {

QString ThrowKey(std::initializer_list<qint32> marks) {
    TSerier serier;
    for (const qint32 mark : marks)
        Append(serier, mark);
    return serier.GetTieBreakKey(int(TOvtype::Kast));
}

} // namespace

// Throws and horizontal jumps: the best marks one by one, best first, fouls and passes left out; more
// marks beat fewer when the ones both have are equal. Marks of any number of digits compare as numbers.
TEST(ResultSerierTieBreak, ThrowsGoByTheirMarksBestFirst) {
    EXPECT_GT(ThrowKey({5012, 4890}), ThrowKey({4890, 5011}));
    EXPECT_GT(ThrowKey({812, SerieUgyldig, 790}), ThrowKey({812, 789}));
    EXPECT_EQ(ThrowKey({812, SerieUgyldig, SeriePas, 790}), ThrowKey({790, 812}));
    EXPECT_GT(ThrowKey({812, 1}), ThrowKey({812}));
    EXPECT_GT(ThrowKey({10000}), ThrowKey({9999, 9998}));
    EXPECT_GT(ThrowKey({2147483647}), ThrowKey({2147483646}));
    EXPECT_EQ(ThrowKey({812, 790}), QStringLiteral("00000008120000000790"));
    EXPECT_EQ(ThrowKey({SerieUgyldig}), QString());
}
