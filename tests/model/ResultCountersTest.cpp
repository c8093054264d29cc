#include "model/D_Result.h"

#include "support/Test.h"

#include "ResultFixture.h"
#include "model/D_Ovelser.h"
#include "model/D_Point.h"
#include "model/D_Staevne.h"

namespace {

// A round's counters and club points in one text.
QString Counters(const TOvelseInfo& info) {
    QStringList parts = {QString::number(info.AntalDeltagere),  QString::number(info.AntalAktiveDeltagere),
                         QString::number(info.AntalHeat),       QString::number(info.MaxHeatNr),
                         QString::number(info.AntalResultater), QString::number(info.Heat0Findes),
                         QString::number(info.SeedningFindes),  QString::number(info.ResultaterFindes)};
    for (int i = 0; i < info.Points().Count(); ++i) {
        const TPoint& point = *info.Points().GetItem(i);
        parts << point.Key() + u'=' + QString::number(point.GetTotalPoint());
    }
    return parts.join(u' ');
}

auto Entry(qint32 heat, const char* kode = "", qint32 resultat = 0, double point = 0, qint32 placering = 0) {
    return [=](TResultatTable& t) {
        t.GetField(ResultatField::Heat)->SetAsInteger(heat);
        t.GetField(ResultatField::ResultatKode)->SetAsString(QString::fromUtf8(kode));
        t.GetField(ResultatField::Resultat)->SetAsInteger(resultat);
        t.GetField(ResultatField::Point)->SetAsFloat(point);
        t.GetField(ResultatField::Placering)->SetAsInteger(placering);
    };
}

class ResultCounters : public TResultTest {
protected:
    void SetUp() override {
        AddKlub(1, "Sparta");
        AddKlub(2, "Hellas");
        for (qint32 nr = 1; nr <= 30; ++nr)
            AddDeltager(nr, QStringLiteral("Deltager %1").arg(nr), 2000, nr % 2 + 1);
    }
};

} // namespace

TEST_F(ResultCounters, CountsFromTheRecordsEqualCountsFromTheLoadedRows) {
    Manager().SystemData().EgenTurnering = true;
    TOvelseInfo& round = Round("M", "LÆ");
    AddResultat(round, 1, Entry(1, "", 0), Serie({{0, 0}}));            // only a foul: a result all the same
    AddResultat(round, 2, Entry(1, "", 0));                             // no attempt yet
    AddResultat(round, 3, Entry(2, "D"));                               // disqualified counts as a result
    AddResultat(round, 4, Entry(3, "A", 0, 4.5, 6), Serie({{600, 0}})); // withdrawn: points, no heat
    AddResultat(round, 5, Entry(0, "", 0, 10, 1), Serie({{690, 5}}));
    AddResultat(round, 6, Entry(2, "U"));
    AddResultat(round, 99, Entry(1, "", 0, 3, 2), Serie({{500, 0}})); // no participant: no club points
    AddResultat(round, 7, Entry(300, "", 0));                         // a heat number beyond 255 is none

    TResultatManager manager;
    const QString fromRecords = Counters(round);
    EXPECT_EQ(fromRecords, "8 7 2 2 5 1 1 1 1=4.5 2=10");
    EXPECT_GT(round.SidstRettet, 0);

    manager.LoadOvelse(&round);
    round.AntalDeltagere = -1;
    manager.UpdateOvelseInfo();
    EXPECT_EQ(Counters(round), fromRecords);

    // Saving counts again from the rows.
    manager.GetResultat(manager.IndexOfStartnummer(2))->SetSerieText(0, "612,10");
    manager.SaveResultater();
    EXPECT_EQ(round.AntalResultater, 6);
    manager.CalcOvelseInfo(round);
    EXPECT_EQ(round.AntalResultater, 6);
}

TEST_F(ResultCounters, WithoutHeatsTheHeatCountComesFromTheRoundsSize) {
    TOvelseInfo& round = Round("M", "100");
    for (qint32 nr = 1; nr <= 17; ++nr)
        AddResultat(round, nr, Entry(0));
    AddResultat(round, 18, Entry(0, "A"));
    TResultatManager manager;
    EXPECT_EQ(Counters(round), "18 17 3 0 0 1 0 0");
    round.OvelseRn().GetField(OvelseRnField::AntalPrHeat)->SetAsInteger(0);
    manager.CalcOvelseInfo(round);
    EXPECT_EQ(round.AntalHeat, 0);
}

TEST_F(ResultCounters, ClubPointsCountOnlyInATeamCompetition) {
    AddResultat(Round("M", "100"), 1, Entry(1, "A", 0, 5, 1));
    TResultatManager plain;
    EXPECT_EQ(Round("M", "100").Points().Count(), 0);
    Manager().SystemData().OstHoldTurnering = true;
    TResultatManager team;
    EXPECT_EQ(Counters(Round("M", "100")), "1 0 0 0 0 0 0 0 2=5");
}

TEST_F(ResultCounters, ClubStandingsSumTheRoundsOfAGroupOfEvents) {
    Manager().SystemData().DT = true;
    AddResultat(Round("M", "KU"), 1, Entry(1, "", 1200, 8, 1));
    AddResultat(Round("M", "KU"), 2, Entry(1, "", 1100, 6, 2));
    AddResultat(Round("M", "LÆ"), 3, Entry(1, "", 600, 8, 1));
    AddResultat(Round("K", "100"), 4, Entry(1, "", 1300, 5, 1));
    TResultatManager manager;

    TPoints kast;
    manager.CalcKlubStilling({"KU", "DI"}, false, kast, nullptr, nullptr);
    EXPECT_EQ(std::tuple(kast.AntalIGruppe, kast.AntalMedPoint, kast.Klasse, kast.Count()),
              std::tuple(1, 1, QString("M"), 2));
    EXPECT_EQ(kast.GetItem(0)->Key(), "2");

    TPoints alle;
    manager.CalcKlubStilling({""}, false, alle, nullptr, nullptr);
    EXPECT_EQ(std::tuple(alle.AntalIGruppe, alle.AntalMedPoint, alle.Count()), std::tuple(7, 3, 2));
    EXPECT_EQ(alle.GetItem(0)->Key() + u' ' + QString::number(alle.GetItem(0)->GetTotalPoint()), "2 16");

    // With the points of a first round: a club's earlier points join its total.
    {
        TKlubTable klub;
        klub.Open();
        klub.SetIndexNumber(0);
        ASSERT_TRUE(klub.FindKey({TKeyValue(qint64(CurrentStID())), TKeyValue(qint64(1))}));
        klub.Edit();
        klub.GetField(KlubField::PointRunde1)->SetAsFloat(30);
        klub.Post();
    }
    Manager().SystemData().FlereRunder = true;
    TPoints total;
    TPoints runde1;
    TPoints detteStaevne;
    manager.CalcKlubStilling({""}, true, total, &runde1, &detteStaevne);
    ASSERT_EQ(runde1.Count(), 1);
    EXPECT_EQ(runde1.GetItem(0)->ExtraText(), "Sparta");
    EXPECT_EQ(detteStaevne.GetItem(0)->GetTotalPoint(), 16);
    EXPECT_EQ(total.GetItem(0)->Key() + u' ' + QString::number(total.GetItem(0)->GetTotalPoint()), "1 41");
}

TEST_F(ResultCounters, OnePassOverTheMeetCountsEveryRoundAsALookupPerRoundDoes) {
    Manager().SystemData().EgenTurnering = true;
    TOvelseInfo& laengde = Round("M", "LÆ");
    TOvelseInfo& forsoeg = Round("M", "100", "I");
    TOvelseInfo& finale = Round("M", "100", "F");
    AddResultat(laengde, 1, Entry(1, "", 0), Serie({{0, 0}}));
    AddResultat(laengde, 2, Entry(2, "D", 0, 4, 3));
    AddResultat(forsoeg, 3, Entry(0, "A"));
    AddResultat(forsoeg, 4, Entry(1, "", 1234, 6, 1));
    AddResultat(finale, 5, Entry(1, "", 1200));
    // A record of a round the programme does not have counts nowhere.
    AddResultat(Round("K", "100"), 6,
                [](TResultatTable& t) { t.GetField(ResultatField::Ovelse)->SetAsString("200"); });

    TResultatManager manager;
    QStringList onePass;
    for (const auto& [key, info] : Ov().KlasseIndex())
        onePass << Counters(*info) + u' ' + QString::number(info->SidstRettet > 0);
    QStringList perRound;
    for (const auto& [key, info] : Ov().KlasseIndex()) {
        manager.CalcOvelseInfo(*info);
        perRound << Counters(*info) + u' ' + QString::number(info->SidstRettet > 0);
    }
    EXPECT_EQ(onePass, perRound);
    EXPECT_EQ(Counters(laengde), "2 2 2 2 2 0 1 1 1=4") << "both started, both with a result";
    EXPECT_EQ(Counters(forsoeg), "2 1 1 1 1 0 1 1 1=6");
    EXPECT_EQ(Counters(Round("K", "100")), "0 0 0 0 0 0 0 0");
}

TEST_F(ResultCounters, OnePassMatchesRecordsToTheRoundOfExactlyTheirCodes) {
    TOvelseInfo& forsoeg = Round("M", "100", "I");
    TOvelseInfo& finale = Round("M", "100", "F");
    // The given codes stored as they are, lower case included; the round's own for the others (null).
    const auto stored = [](const char* kode, const char* klasse = nullptr, const char* ovelse = nullptr,
                           const char* runde = nullptr) {
        return [=](TResultatTable& t) {
            const auto write = [&t](int fieldNo, const char* text) {
                if (!text)
                    return;
                TField& field = *t.GetField(fieldNo);
                QByteArray bytes(field.Size, ' ');
                bytes.replace(0, qsizetype(std::strlen(text)), text);
                field.WriteBytes(bytes.constData());
            };
            write(ResultatField::ResultatKode, kode);
            write(ResultatField::Klasse, klasse);
            write(ResultatField::Ovelse, ovelse);
            write(ResultatField::Runde, runde);
            t.GetField(ResultatField::Heat)->SetAsInteger(1);
        };
    };
    AddResultat(forsoeg, 1, stored("d")); // a lower-case code is the code
    AddResultat(forsoeg, 2, stored("a"));
    AddResultat(forsoeg, 3, stored("x")); // no code of ours: started
    // The codes of no round: counted nowhere.
    AddResultat(forsoeg, 4, stored("", "m"));
    AddResultat(finale, 5, stored("", nullptr, nullptr, "f"));
    AddResultat(forsoeg, 6, stored("", "M1", "00")); // the same letters, split otherwise
    AddResultat(finale, 7, stored(""));

    TResultatManager manager;
    QStringList onePass;
    for (const auto& [key, info] : Ov().KlasseIndex())
        onePass << Counters(*info);
    QStringList perRound;
    for (const auto& [key, info] : Ov().KlasseIndex()) {
        manager.CalcOvelseInfo(*info);
        perRound << Counters(*info);
    }
    EXPECT_EQ(onePass, perRound);
    EXPECT_EQ(Counters(forsoeg), "3 2 1 1 1 0 1 1");
    EXPECT_EQ(Counters(finale), "1 1 1 1 0 0 1 0");
}
