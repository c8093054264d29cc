#include "model/D_Result.h"

#include "support/Test.h"

#include "ResultFixture.h"
#include "foundation/LxString.h"
#include "model/D_Ovelser.h"
#include "model/D_Staevne.h"
#include "platform/LittleEndian.h"

namespace {

QByteArray Length(qint32 length) {
    QByteArray bytes(4, '\0');
    storeLE<qint32>(bytes.data(), length);
    return bytes;
}

class ResultManager : public TResultTest {
protected:
    void SetUp() override {
        AddKlub(1, "Aarhus AK", "AAK");
        AddKlub(2, "Sparta");
        AddDeltager(11, "Hans Peter Jensen", 1990, 1, "M");
        AddDeltager(12, "Ole Holm", 85, 2, "M");
        AddDeltager(13, "Bo Ek", 2001, 2, "M");
        AddDeltager(21, "Eva Berg", 1995, 1, "K");
    }

    // A record behind the manager's back, as another program window would change it.
    void Overwrite(quint32 position, int fieldNo, qint32 value) {
        TResultatTable table;
        table.Open();
        table.GotoPosition(position);
        table.Edit();
        table.GetField(fieldNo)->SetAsInteger(value);
        table.Post();
    }
    void Remove(quint32 position) {
        TResultatTable table;
        table.Open();
        table.GotoPosition(position);
        table.Delete();
    }
    void WriteTailLength(quint32 position, qint32 length) {
        TResultatTable table;
        table.Open();
        table.GotoPosition(position);
        table.WriteChunk(Length(length).constData(), static_cast<quint32>(table.GetRecordLength()), 4);
    }
};

const auto Heat = [](qint32 heat) {
    return [heat](TResultatTable& t) { t.GetField(ResultatField::Heat)->SetAsInteger(heat); };
};

} // namespace

TEST_F(ResultManager, ARoundLoadsWithItsParticipantsAndClubsAndNothingElse) {
    TOvelseInfo& indledende = Round("M", "100");
    namespace R = ResultatField;
    const quint32 position = AddResultat(indledende, 11, [](TResultatTable& t) {
        Fields({{R::Heat, 2},
                {R::Banenummer, 4},
                {R::Resultat, 1052},
                {R::Vind, 12},
                {R::MilliSeconds1, 1},
                {R::MilliSeconds2, 44},
                {R::Placering, 1}})(t);
        t.GetField(R::ResultatKom)->SetAsString("ab");
    });
    // No participant; alone without a heat, so placed first there.
    AddResultat(indledende, 99, Fields({{R::Placering, 1}}));
    AddResultat(Round("M", "100", "F"), 11); // the next round
    AddResultat(Round("K", "100"), 21);      // another class

    TResultatManager manager;
    manager.LoadOvelse(&indledende);
    ASSERT_EQ(manager.Count(), 2);
    EXPECT_EQ(manager.OvelseInfo(), &indledende);
    const TResultat& row = *manager.GetResultat(manager.IndexOfStartnummer(11));
    EXPECT_EQ(row.Position, position);
    EXPECT_EQ(std::tuple(row.Heat, row.Tusindedele, row.Klasse, row.Runde, row.KortNavn),
              std::tuple(2, 300, QString("M"), QChar(), QString("AAK")));
    EXPECT_EQ(row.GetNavnAargangKlub(), "JENSEN Hans Peter -1990, Aarhus AK");
    QStringList texts;
    for (const TResultColumn column :
         {TResultColumn::Resultat, TResultColumn::Vind, TResultColumn::Bem, TResultColumn::Match})
        texts << row.GetFieldText(column);
    EXPECT_EQ(texts, QStringList({"10.52", "+1.2", "ab", "???"}));
    EXPECT_EQ(manager.GetKlubKortNavn(2), "Sparta");
    EXPECT_EQ(manager.IndexOfHeatBane(2, 4), manager.IndexOfStartnummer(11));
    EXPECT_FALSE(manager.IsModified());
    const TResultat& unknown = *manager.GetResultat(manager.IndexOfStartnummer(99));
    EXPECT_TRUE(unknown.Navn.isEmpty());
    EXPECT_FALSE(unknown.HasDeltager());

    // A round without records leaves no rows but becomes current.
    manager.LoadOvelse(&Round("M", "HØ"));
    EXPECT_EQ(manager.Count(), 0);
    EXPECT_EQ(manager.OvelseInfo(), &Round("M", "HØ"));
}

TEST_F(ResultManager, EditedRowsAndParticipantsAreWrittenAndReadBack) {
    TOvelseInfo& round = Round("M", "100");
    const quint32 position = AddResultat(round, 11, Heat(1));
    TResultatManager manager;
    manager.LoadOvelse(&round);
    TResultat& row = *manager.GetResultat(0);
    row.SetFieldText(TResultColumn::Resultat, "10.48");
    row.SetFieldText(TResultColumn::Tusindedele, "1234");
    row.SetFieldText(TResultColumn::RK, "disk");
    row.SetFieldText(TResultColumn::Navn, "Hans P. Jensen");
    EXPECT_TRUE(row.DeltagerModified);
    manager.SaveResultater();
    EXPECT_FALSE(manager.IsModified());

    EXPECT_EQ(StoredInteger(position, ResultatField::Resultat), 1048);
    EXPECT_EQ(StoredInteger(position, ResultatField::MilliSeconds1), 1234 >> 8);
    EXPECT_EQ(StoredInteger(position, ResultatField::MilliSeconds2), 1234 & 0xFF);
    TResultatManager again;
    again.LoadOvelse(&round);
    EXPECT_EQ(again.GetResultat(0)->RK, "D");
    EXPECT_EQ(again.GetResultat(0)->Navn, "Hans P. Jensen");
    EXPECT_EQ(again.GetResultat(0)->Tusindedele, 1234);
}

TEST_F(ResultManager, ValuesThatDoNotFitWhereTheyAreStoredAreRefused) {
    TResultat row(nullptr, &Round("M", "100"));
    row.SetHeat(255);
    EXPECT_THROW(row.SetHeat(256), EResultError);
    EXPECT_THROW(row.SetFieldText(TResultColumn::Heat, "-1"), EResultError);
    EXPECT_EQ(row.Heat, 255);
    EXPECT_THROW(row.SetTusindedele(65536), EResultError);
    EXPECT_THROW(row.SetFieldText(TResultColumn::Bane, "to"), EConvertError);
    EXPECT_EQ(ErrorText([&] { row.SetFieldText(TResultColumn::Heat, "300"); }),
              "Heat skal være et tal fra 0 til 255");

    // A result needs a heat.
    row.SetHeat(0);
    row.Modified = false;
    EXPECT_EQ(ErrorText([&] { row.SetFieldText(TResultColumn::Resultat, "10.52"); }),
              "Ikke tilladt at indlægge resultat på heat 0");
    EXPECT_EQ(row.Resultat, 0);
    EXPECT_FALSE(row.Modified);
}

TEST_F(ResultManager, ClearingEverySeriesAttemptPersistsAfterAReload) {
    TOvelseInfo& round = Round("M", "LÆ");
    const quint32 cleared = AddResultat(round, 11, Heat(1), Serie({{612, 10}, {640, 5}, {0, 0}}));
    const quint32 shortened = AddResultat(round, 12, Heat(1), Serie({{590, 0}, {600, 0}, {610, 0}}));
    {
        TResultatManager manager;
        manager.LoadOvelse(&round);
        TResultat& first = *manager.GetResultat(manager.IndexOfStartnummer(11));
        EXPECT_EQ(first.Resultat, 640);
        first.ClearSerier();
        EXPECT_EQ(first.Resultat, 640); // until it is derived again
        first.CalcSerieResultat();
        TResultat& second = *manager.GetResultat(manager.IndexOfStartnummer(12));
        second.SetSerieText(1, "");
        second.SetSerieText(2, "");
        manager.SaveResultater();
    }
    // The length is written also for no attempts, and nothing of the longer series stays behind it.
    EXPECT_EQ(StoredTail(cleared), Length(0));
    EXPECT_EQ(StoredTail(shortened), Length(Serie({{590, 0}}).size()) + Serie({{590, 0}}));
    EXPECT_EQ(StoredInteger(cleared, ResultatField::Resultat), 0);

    TResultatManager again;
    again.LoadOvelse(&round);
    EXPECT_EQ(again.GetResultat(again.IndexOfStartnummer(11))->GetSerieCount(), 0);
    EXPECT_EQ(again.GetResultat(again.IndexOfStartnummer(12))->GetSerieCount(), 1);
    EXPECT_EQ(again.GetResultat(again.IndexOfStartnummer(12))->Resultat, 590);
}

TEST_F(ResultManager, ADamagedSeriesIsKeptMarkedAndStoredUntilEdited) {
    TOvelseInfo& round = Round("M", "KU");
    // Three attempts announced, one and a half there; the stored result is the one to keep.
    const QByteArray damaged = Serie({{1210, 0}, {1250, 0}, {1300, 0}}).left(4 + 24 + 10);
    const quint32 position = AddResultat(
        round, 11, [](TResultatTable& t) { t.GetField(ResultatField::Resultat)->SetAsInteger(1300); },
        damaged);
    // A series cut short: its length promises more than the record holds.
    const quint32 cut = AddResultat(round, 12, Heat(1), Serie({{900, 0}}));
    WriteTailLength(cut, 500);

    TResultatManager manager;
    manager.LoadOvelse(&round);
    EXPECT_EQ(Shown(), QStringList{"Fejl ved indlæsning af serier. Startnummer: 11, 12"});
    TResultat& row = *manager.GetResultat(manager.IndexOfStartnummer(11));
    EXPECT_TRUE(row.IsSerieDamaged());
    EXPECT_EQ(row.GetSerieCount(), 1);
    EXPECT_EQ(row.Resultat, 1300);
    EXPECT_EQ(manager.GetResultat(manager.IndexOfStartnummer(12))->GetSerieCount(), 1);

    // Another change leaves the stored bytes alone.
    row.SetFieldText(TResultColumn::Bem, "x");
    manager.SaveResultater();
    EXPECT_EQ(StoredTail(position), Length(damaged.size()) + damaged);

    // An edit of the series writes it whole.
    row.SetSerieText(1, "1280");
    manager.SaveResultater();
    EXPECT_FALSE(row.IsSerieDamaged());
    TResultatManager again;
    again.LoadOvelse(&round);
    EXPECT_EQ(Shown(), QStringList{"Fejl ved indlæsning af serier. Startnummer: 12"});
    EXPECT_EQ(again.GetResultat(again.IndexOfStartnummer(11))->GetSerieCount(), 2);
    EXPECT_EQ(again.GetResultat(again.IndexOfStartnummer(11))->Resultat, 1280);
}

// A record whose series holds a best attempt with a wind the row cannot hold (a damaged or imported
// file): the series is damaged like a cut one, the row keeps its stored result, and the round loads.
TEST_F(ResultManager, ASeriesWhoseWindDoesNotFitIsDamagedAndTheRoundLoads) {
    TOvelseInfo& round = Round("M", "LÆ");
    ASSERT_TRUE(round.IsVindPrForsog());
    const QByteArray serie = Serie({{650, 12}, {700, 400000}});
    const quint32 position =
        AddResultat(round, 11, Fields({{ResultatField::Resultat, 640}, {ResultatField::Vind, 15}}), serie);
    AddResultat(round, 12, Heat(1), Serie({{600, 5}}));

    TResultatManager manager;
    manager.LoadOvelse(&round);
    EXPECT_EQ(Shown(), QStringList{"Fejl ved indlæsning af serier. Startnummer: 11"});
    TResultat& row = Row(manager, 11);
    EXPECT_TRUE(row.IsSerieDamaged());
    EXPECT_EQ(row.GetSerieCount(), 2);
    EXPECT_EQ(std::pair(row.Resultat, row.Vind), std::pair(640, 15));
    EXPECT_EQ(std::pair(Row(manager, 12).Resultat, Row(manager, 12).Vind), std::pair(600, 5));
    manager.LoadOvelser({&round});
    EXPECT_EQ(Shown(), QStringList{"Fejl ved indlæsning af serier. Startnummer: 11"});

    // Saved as it is, the stored bytes stay; an edit of the attempt writes the series whole.
    manager.LoadOvelse(&round);
    Shown();
    manager.SaveResultater();
    EXPECT_EQ(StoredTail(position), Length(serie.size()) + serie);
    TResultat& again = Row(manager, 11);
    again.SetSerieText(1, "710,15");
    manager.SaveResultater();
    TResultatManager reloaded;
    reloaded.LoadOvelse(&round);
    EXPECT_EQ(Shown(), QStringList());
    EXPECT_EQ(std::pair(Row(reloaded, 11).Resultat, Row(reloaded, 11).Vind), std::pair(710, 15));
}

TEST_F(ResultManager, AFailingSaveLeavesTheStoredRoundAsItWas) {
    TOvelseInfo& round = Round("M", "100");
    const quint32 a = AddResultat(round, 11, Heat(1));
    const quint32 b = AddResultat(round, 12, Heat(1));
    const quint32 c = AddResultat(round, 13, Heat(1));
    TResultatManager manager;
    manager.LoadOvelse(&round);
    for (int i = 0; i < manager.Count(); ++i)
        manager.GetResultat(i)->SetResultat(1100 + i);

    // The last row's record is gone: the rows written before it are taken back.
    Remove(c);
    EXPECT_EQ(ErrorText([&] { manager.SaveResultater(); }),
              "Fejl ved skrivning af resultat. Startnummer: 13, Bo Ek  Operation: 23  Return: 43");
    EXPECT_EQ(StoredInteger(a, ResultatField::Resultat), 0);
    EXPECT_EQ(StoredInteger(b, ResultatField::Resultat), 0);
    EXPECT_TRUE(manager.GetResultat(0)->Modified);

    // A record that became another participant's is not overwritten either.
    manager.LoadOvelse(&round);
    manager.GetResultat(1)->SetResultat(1200);
    Overwrite(b, ResultatField::Startnummer, 14);
    EXPECT_THROW(manager.SaveResultater(), EResultError);
    EXPECT_EQ(StoredInteger(b, ResultatField::Resultat), 0);
    EXPECT_EQ(StoredInteger(b, ResultatField::Startnummer), 14);
}

TEST_F(ResultManager, PlacesAreWrittenOnlyWithOneRoundLoaded) {
    const quint32 man = AddResultat(Round("M", "100"), 11, Heat(1));
    const quint32 kvinde = AddResultat(Round("K", "100"), 21, Heat(1));
    TResultatManager manager;
    manager.LoadOvelser({&Round("M", "100"), &Round("M", "HØ"), &Round("K", "100")});
    ASSERT_EQ(manager.OvelseCount(), 2);
    EXPECT_EQ(manager.OvelseInfo(), &Round("M", "100"));
    EXPECT_EQ(manager.GetResultat(1)->GetNavnAargang(), "BERG Eva -1995 (K)");
    for (int i = 0; i < manager.Count(); ++i) {
        manager.GetResultat(i)->SetPlac(1);
        manager.GetResultat(i)->SetPK(2);
        manager.GetResultat(i)->SetResultat(1234);
    }
    manager.SaveResultater();
    for (const quint32 position : {man, kvinde}) {
        EXPECT_EQ(StoredInteger(position, ResultatField::Resultat), 1234);
        EXPECT_EQ(StoredInteger(position, ResultatField::Placering), 0);
        EXPECT_EQ(StoredInteger(position, ResultatField::PlKode), 0);
    }

    manager.LoadOvelse(&Round("M", "100"));
    manager.GetResultat(0)->SetPlac(1);
    manager.SaveResultater();
    EXPECT_EQ(StoredInteger(man, ResultatField::Placering), 1);
}

TEST_F(ResultManager, DeletingARowDeletesItsOwnRecord) {
    TOvelseInfo& round = Round("M", "100");
    // The same participant entered twice: the keys are equal, the records are not.
    const quint32 first = AddResultat(round, 11, Heat(1));
    const quint32 second = AddResultat(round, 11, Heat(2));
    const quint32 gone = AddResultat(round, 12, Heat(1));
    TResultatManager manager;
    manager.LoadOvelse(&round);
    EXPECT_EQ(round.AntalDeltagere, 3);
    ASSERT_EQ(manager.GetResultat(1)->Position, second);
    EXPECT_TRUE(manager.DeleteResultat(1));
    EXPECT_TRUE(RecordExists(first));
    EXPECT_FALSE(RecordExists(second));
    EXPECT_EQ(round.AntalDeltagere, 2);

    Remove(gone);
    EXPECT_FALSE(manager.DeleteResultat(manager.IndexOfStartnummer(12)));
    EXPECT_EQ(manager.Count(), 1);
    EXPECT_TRUE(RecordExists(first));
    EXPECT_FALSE(manager.DeleteResultat(5));
}

TEST_F(ResultManager, ACorrectionMovesTimesAndFieldMarksButNotRelayLegs) {
    const auto time = [](qint32 value) {
        return Fields({{ResultatField::Heat, 1}, {ResultatField::Resultat, value}});
    };
    AddResultat(Round("M", "4X100"), 11, time(4210), Serie({{12, 0}, {13, 0}}));
    TResultatManager manager;
    manager.LoadOvelse(&Round("M", "4X100"));
    manager.AddKorrektion(24);
    EXPECT_EQ(QList<qint32>({manager.GetResultat(0)->Resultat, manager.GetResultat(0)->GetSerie(0)->Value,
                             manager.GetResultat(0)->GetSerie(1)->Value}),
              QList<qint32>({4234, 12, 13}));

    // Times are packed minutes, seconds and hundredths; hand times and missing times stay.
    AddResultat(Round("M", "100"), 11, time(5995));
    AddResultat(Round("M", "100"), 12, time(-104));
    AddResultat(Round("M", "100"), 13, time(0));
    manager.LoadOvelse(&Round("M", "100"));
    manager.AddKorrektion(10);
    const auto resultat = [&manager](qint32 startnummer) {
        return manager.GetResultat(manager.IndexOfStartnummer(startnummer))->Resultat;
    };
    EXPECT_EQ(QList<qint32>({resultat(11), resultat(12), resultat(13)}), QList<qint32>({10005, -104, 0}));

    AddResultat(Round("M", "KU"), 11, Heat(1), Serie({{1412, 0}, {0, 0}, {SeriePas, 0}}));
    manager.LoadOvelse(&Round("M", "KU"));
    manager.AddKorrektion(-12);
    EXPECT_EQ(manager.GetResultat(0)->Resultat, 1400);
    EXPECT_EQ(manager.GetResultat(0)->GetSerie(1)->Value, 0);
    EXPECT_TRUE(manager.GetResultat(0)->GetSerie(2)->IsPass());
}

TEST_F(ResultManager, TheGridFollowsTheRound) {
    TResultatManager manager;
    manager.LoadOvelse(&Round("M", "100"));
    const TResultColumn side = TResultColumn::Side;
    const TResultColumn vk = TResultColumn::VK;
    const TResultColumn resultat = TResultColumn::Resultat;
    EXPECT_TRUE(manager.IsColumnEnabled(side));
    EXPECT_TRUE(manager.IsColumnEnabled(vk));
    EXPECT_TRUE(manager.IsColumnEnabled(TResultColumn::Vind));
    EXPECT_FALSE(manager.IsColumnEnabled(TResultColumn::Holdkode));
    EXPECT_FALSE(manager.IsColumnReadOnly(resultat));
    EXPECT_TRUE(manager.IsColumnReadOnly(TResultColumn::Plac));
    EXPECT_FALSE(manager.IsColumnReadOnly(TResultColumn::Rank));
    EXPECT_EQ(manager.GetColumnWidth(TResultColumn::Navn), 160);

    manager.LoadOvelse(&Round("M", "100", "F"));
    EXPECT_FALSE(manager.IsColumnEnabled(vk));
    manager.LoadOvelse(&Round("M", "KU"));
    EXPECT_FALSE(manager.IsColumnEnabled(side));
    EXPECT_TRUE(manager.IsColumnReadOnly(resultat));
    manager.LoadOvelse(&Round("M", "4X100"));
    EXPECT_FALSE(manager.IsColumnReadOnly(resultat));

    Manager().SystemData().DT = true;
    EXPECT_TRUE(manager.IsColumnEnabled(TResultColumn::Holdkode));
    EXPECT_TRUE(manager.IsColumnReadOnly(TResultColumn::Rank));
}

// The column layout's kinds are the ids 3..40; captions and stored sizes come from the one table, and the
// texts a row keeps are as long as their columns are stored.
TEST(ResultColumns, KindsCaptionsAndStoredSizes) {
    EXPECT_EQ(ResultColumnOf(2), std::nullopt);
    EXPECT_EQ(ResultColumnOf(41), std::nullopt);
    EXPECT_EQ(ResultColumnOf(3), TResultColumn::Startnummer);
    EXPECT_EQ(ResultColumnOf(40), TResultColumn::Tusindedele);
    QStringList captions;
    for (int id = FirstResultColumn; id <= LastResultColumn; ++id)
        captions << ResultColumnText(*ResultColumnOf(id));
    EXPECT_EQ(captions.join(u','),
              "Nr,Heat,Efter,RK,Seedning,Resultat,PK,Plac,Side,Bane,VK,?,Vind,PR,Navn,Årg,"
              "Klub,Navn/Årgang,Navn/Årgang/Klub,Rank,Bem,Point,Holdkode,Køn,Match,UK,"
              "ScanningTid,Lic#,F.klub,Point3,Klasse,Øvelse,Runde,Reaktion,SG,AlderRes,Bem2,1000");
    EXPECT_EQ(ResultColumnText(static_cast<TResultColumn>(41)), "");

    const std::pair<TResultColumn, int> sizes[] = {
        {TResultColumn::Navn, 25}, {TResultColumn::Bem, 3},      {TResultColumn::Bem2, 7},
        {TResultColumn::RK, 1},    {TResultColumn::KortNavn, 6}, {TResultColumn::AlderRes, 0}};
    for (const auto& [column, size] : sizes)
        EXPECT_EQ(ResultColumnStorageSize(column), size) << ResultColumnText(column).toStdString();
    TResultat row(nullptr, nullptr);
    row.SetFieldText(TResultColumn::Navn, QString(30, u'x'));
    row.SetFieldText(TResultColumn::Bem, "abcdef");
    row.SetFieldText(TResultColumn::VK, "Fx");
    EXPECT_EQ(QStringList({row.Navn, row.Bem, row.VK}), QStringList({QString(25, u'x'), "abc", "F"}));
}

TEST_F(ResultManager, ColumnTextsParseBackAndMarkWhatChanged) {
    TResultat row(nullptr, &Round("M", "100"));
    row.Klasse = "M";
    const auto set = [&row](TResultColumn column, const char* text) {
        row.SetFieldText(column, QString::fromUtf8(text));
        return row.GetFieldText(column);
    };
    const std::tuple<TResultColumn, const char*, const char*> texts[] = {
        {TResultColumn::Efter, "ja", "Ja"},     {TResultColumn::RK, " afbud ", "Afbud"},
        {TResultColumn::UK, "ooc", "UK"},       {TResultColumn::Seedning, "10.4", "10.4"},
        {TResultColumn::Vind, "+2.05", "+2.1"}, {TResultColumn::Bem2, "for lang tekst", "for lan"}};
    for (const auto& [column, text, shown] : texts)
        EXPECT_EQ(set(column, text), shown) << text;
    EXPECT_EQ(row.RK, "A");
    EXPECT_TRUE(row.IsAfbud() && row.IsUK());
    EXPECT_EQ(row.Seedning, -104);
    Manager().SystemData().AntalPointDec = 1;
    EXPECT_EQ(set(TResultColumn::Point, "3,25"), "3.3");
    Manager().SystemData().ECup2007 = true;
    EXPECT_EQ(row.GetFieldText(TResultColumn::Point), "3.25");
    EXPECT_TRUE(row.Modified);
    EXPECT_FALSE(row.DeltagerModified);

    row.Modified = false;
    EXPECT_EQ(set(TResultColumn::Koen, " k"), "k");
    EXPECT_TRUE(row.IsKvinde());
    EXPECT_EQ(set(TResultColumn::Aargang, "1999"), "1999");
    EXPECT_TRUE(row.DeltagerModified);
    EXPECT_FALSE(row.Modified);
    // Columns that are not written, and texts that change nothing.
    EXPECT_EQ(set(TResultColumn::Klasse, "K"), "M");
    EXPECT_EQ(set(TResultColumn::Heat, "0"), "0");
    EXPECT_FALSE(row.Modified);
    EXPECT_EQ(row.GetFieldText(TResultColumn::Resultat), "");
    EXPECT_EQ(row.GetFieldText(static_cast<TResultColumn>(99)), "???");
}

TEST_F(ResultManager, DerivedNumbersOfARow) {
    Manager().SystemData().PlaceringsPoint2 = "10,8,6";
    TResultatManager manager;
    TResultat row(&manager, &Round("M", "100"));
    row.Klasse = "M";
    // The round is in 2024; a two-digit year is of the 1900s.
    EXPECT_EQ(row.CalcAlder(85), 39);

    // A hand time is compared in hundredths with its timing correction: 10.4 counts as 10.64.
    row.PR = 1080;
    row.Resultat = -104;
    EXPECT_EQ(row.GetPRForbedring(), 16);
    row.Resultat = 10004; // 1.00.04 against 10.80 is no improvement
    EXPECT_EQ(row.GetPRForbedring(), 0);
    row.Resultat = 1050;
    row.Vind = 21;
    EXPECT_EQ(row.GetPRForbedring(), 0);
    row.Vind = 20;
    EXPECT_EQ(row.GetPRForbedring(), 30);
    row.UK = "-";
    EXPECT_EQ(row.GetPRForbedring(), 0);

    row.Plac = 2;
    EXPECT_EQ(std::tuple(row.GetPlaceringsPoint2(), row.GetPlaceringsPoint1()), std::tuple(8, 0));
    row.Bane = 3;
    EXPECT_EQ(row.GetBaneSide(), "3");
    row.Side = 2;
    EXPECT_EQ(row.GetBaneSide(), "3-2");

    // Age grading of a woman of 40 in the 100 m: 12.00 by the factor 0.9545, rounded up.
    TResultat kvinde(&manager, &Round("K", "100"));
    kvinde.Klasse = "K";
    kvinde.Aargang = 1984;
    kvinde.Resultat = 1200;
    EXPECT_EQ(kvinde.GetAlderRes(), 1146);
}

TEST_F(ResultManager, HeatCountsAndTheDisciplinesOfACombinedEvent) {
    const auto entry = [](qint32 heat, qint32 vind, double point) {
        return [=](TResultatTable& t) {
            Fields({{ResultatField::Heat, heat}, {ResultatField::Vind, vind}})(t);
            t.GetField(ResultatField::Point)->SetAsFloat(point);
        };
    };
    AddResultat(Round("M", "LÆ"), 11, entry(1, 5, 700), Serie({{650, 5}}));
    AddResultat(Round("M", "LÆ"), 12, entry(2, 0, 600), Serie({{600, 0}}));
    AddResultat(Round("M", "KU"), 11, entry(1, 0, 650), Serie({{1300, 0}}));
    AddResultat(Round("M", "KU"), 12, entry(2, 0, 500), Serie({{1100, 0}}));
    AddResultat(Round("M", "KU"), 13, entry(2, 0, 0));
    // Long jump and shot put as the first two disciplines of a decathlon.
    for (const auto& [ovelse, nr] : {std::pair("LÆ", 1), std::pair("KU", 2)}) {
        TOvelseRkElement* row = Ov().FindOvelseRk("M", ovelse);
        row->GetField(OvelseRkField::MKOvelse)->SetAsString("10K");
        row->GetField(OvelseRkField::MKOvelseNr)->SetAsInteger(nr);
    }
    Ov().Save();
    Ov().Reload();

    TResultatManager manager;
    manager.LoadOvelse(&Round("M", "KU"));
    EXPECT_EQ(std::tuple(manager.GetHeatCount(), manager.CountHeat(2)), std::tuple(2, 2));
    manager.GetResultat(2)->SetRK("E");
    EXPECT_EQ(std::tuple(manager.CountValid(), manager.GetHeatVind(1)), std::tuple(2, 0));
    ASSERT_EQ(manager.MKResultatCount(), 1);
    EXPECT_EQ(manager.GetMKResultat(0)->OvelseInfo, &Round("M", "LÆ"));
    TResultat& first = *manager.GetResultat(manager.IndexOfStartnummer(11));
    EXPECT_EQ(first.GetMKPoint(), 1350);
    EXPECT_EQ(manager.GetResultat(manager.IndexOfStartnummer(13))->GetMKPoint(), 0);

    manager.ClearHeatBaneSide();
    EXPECT_FALSE(manager.HasHeat());
    manager.LoadOvelse(&Round("M", "LÆ"));
    EXPECT_EQ(manager.GetHeatVind(1), 5);
    EXPECT_EQ(manager.MKResultatCount(), 0);
}
