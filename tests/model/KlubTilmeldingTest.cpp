#include "model/D_KlubTilmelding.h"

#include "ResultFixture.h"
#include "model/D_Globals.h"
#include "model/D_Staevne.h"
#include "support/KillAtStep.h"
#include "support/Test.h"

namespace {

class KlubTilmelding : public TResultTest {
protected:
    static QStringList StoredKlubber() {
        return Stored<TKlubTable>(
            {KlubField::KlubNr, KlubField::Navn, KlubField::Adresse1, KlubField::Email});
    }
    static QStringList StoredDeltagere() {
        return Stored<TDeltagerTable>(
            {DeltagerField::Startnummer, DeltagerField::KlubNr, DeltagerField::Navn, DeltagerField::Aargang});
    }
    static QStringList StoredResultater() {
        return Stored<TResultatTable>(
            {ResultatField::Startnummer, ResultatField::Klasse, ResultatField::Ovelse});
    }
};

TEST_F(KlubTilmelding, AnUnknownNumberGetsItsThreeRecordsAtOnceWithTheChosenClassAndDistance) {
    TTilmeldinger tilmeldinger;
    const TTilmelding ny = tilmeldinger.FindStartnummer(17, "K", "77");
    EXPECT_EQ(ny.Startnummer, 17);
    EXPECT_EQ(ny.KlasseDistance, "K77");
    EXPECT_EQ(ny.Navn, "");
    EXPECT_EQ(tilmeldinger.LoadedStartnummer(), 17);
    EXPECT_EQ(StoredKlubber(), QStringList({"17///"}));
    EXPECT_EQ(StoredDeltagere(), QStringList({"17/17//0"}));
    EXPECT_EQ(StoredResultater(), QStringList({"17/K/77"}));

    TTilmelding t = ny;
    t.Navn = "Ida Holm";
    t.Aargang = 1980;
    t.Klub = "Løbeklubben";
    t.Adresse1 = "Vej 1";
    t.Email = "ida@x.dk";
    t.KlasseDistance = "m42";
    tilmeldinger.SaveDeltager(t);
    EXPECT_EQ(StoredKlubber(), QStringList({"17/Løbeklubben/Vej 1/ida@x.dk"}));
    EXPECT_EQ(StoredDeltagere(), QStringList({"17/17/Ida Holm/1980"}));
    EXPECT_EQ(StoredResultater(), QStringList({"17/M/42"}));

    // Found again, not made twice, whatever the radio groups say now.
    const TTilmelding igen = tilmeldinger.FindStartnummer(17, "K", "42");
    EXPECT_EQ(igen.Navn, "Ida Holm");
    EXPECT_EQ(igen.Klub, "Løbeklubben");
    EXPECT_EQ(igen.KlasseDistance, "M42");
    EXPECT_EQ(StoredResultater().size(), 1);
}

TEST_F(KlubTilmelding, OnlyTheFourCodesAreStoredAndOnlyIntoTheRegistrationShown) {
    TTilmeldinger tilmeldinger;
    TTilmelding t = tilmeldinger.FindStartnummer(3, "M", "42");
    for (const char* bad : {"M 42", "M43", "X42", "", "M4"}) {
        t.KlasseDistance = bad;
        EXPECT_EQ(ErrorText([&] { tilmeldinger.SaveDeltager(t); }), "Forkert klasse eller distance");
    }
    EXPECT_EQ(StoredResultater(), QStringList({"3/M/42"}));
    EXPECT_EQ(CheckKlasseDistance("k77"), "K77");

    // The number typed over without Enter: the shown number's records are not the loaded ones.
    tilmeldinger.FindStartnummer(4, "M", "42");
    t.KlasseDistance = "K77";
    t.Navn = "Forkert";
    EXPECT_EQ(ErrorText([&] { tilmeldinger.SaveDeltager(t); }),
              "Startnummer 3 er ikke hentet frem: tast Enter i Startnr først");
    EXPECT_EQ(StoredDeltagere(), QStringList({"3/3//0", "4/4//0"}));
    EXPECT_EQ(StoredResultater(), QStringList({"3/M/42", "4/M/42"}));
}

TEST_F(KlubTilmelding, NumbersOutsideWhatAClubNumberHoldsAndHalfRegistrationsAreRefused) {
    TTilmeldinger tilmeldinger;
    EXPECT_EQ(ErrorText([&] { tilmeldinger.FindStartnummer(32768, "M", "42"); }),
              "Startnummer 32768 er for stort: det højeste er 32767");
    EXPECT_THROW(tilmeldinger.FindStartnummer(0, "M", "42"), Exception);
    EXPECT_EQ(tilmeldinger.FindStartnummer(32767, "M", "42").Startnummer, 32767);

    AddKlub(5, "Klub uden deltager");
    EXPECT_EQ(ErrorText([&] { tilmeldinger.FindStartnummer(5, "M", "42"); }),
              "Startnummer 5 findes ikke som deltager !");
    AddDeltager(5, "Bo", 0, 5);
    EXPECT_EQ(ErrorText([&] { tilmeldinger.FindStartnummer(5, "M", "42"); }),
              "Startnummer 5 findes ikke som resultat !");
    EXPECT_EQ(tilmeldinger.LoadedStartnummer(), 0);
}

TEST_F(KlubTilmelding, ARegistrationKilledAtEveryStepOfItsCommitIsStoredWholeOrNotAtAll) {
    const auto start = [this] {
        Manager().OpenStaevne(Manager().IndexOfStaevneNavn(QStringLiteral("Stævne")));
    };
    const auto state = [] { return StoredKlubber() + StoredDeltagere() + StoredResultater(); };
    const QStringList made = {"9///", "9/9//0", "9/M/42"};
    const QStringList saved = {"9/AK//", "9/9/Ida/0", "9/K/77"};
    // The records before the work: none, or number 9 as made.
    const auto reset = [&](bool save) {
        Restart();
        start();
        TKlubTable().DeleteAll();
        TDeltagerTable().DeleteAll();
        TResultatTable().DeleteAll();
        if (save)
            TTilmeldinger().FindStartnummer(9, "M", "42");
    };
    OvelseManager.reset();
    for (const bool save : {false, true}) {
        const QStringList before = save ? made : QStringList();
        const QStringList whole = save ? saved : made;
        int killed = 0;
        for (int step = 1; step < 100; ++step) {
            SCOPED_TRACE(QString("save %1, step %2").arg(save).arg(step).toStdString());
            reset(save);
            StaevneManager.reset();
            const bool stopped = KilledAt(step, start, [save] {
                TTilmeldinger tilmeldinger;
                TTilmelding t = tilmeldinger.FindStartnummer(9, "M", "42");
                if (!save)
                    return;
                t.Navn = "Ida";
                t.Klub = "AK";
                t.KlasseDistance = "K77";
                tilmeldinger.SaveDeltager(t);
            });
            Restart();
            start();
            const QStringList after = state();
            if (!stopped) {
                EXPECT_EQ(after, whole);
                EXPECT_GE(killed, 2);
                break;
            }
            ++killed;
            EXPECT_TRUE(after == before || after == whole) << after.join(", ").toStdString();
        }
    }
}

} // namespace
