// Team results of a round, made by the result manager from records stored in a program folder.
#include "model/D_ResultHold.h"

#include "support/Test.h"

#include "ResultFixture.h"
#include "model/D_Ovelser.h"
#include "model/D_PointBeregning.h"
#include "model/D_Staevne.h"

#include <array>

namespace {

using namespace ResultatField;

class ResultHold : public TResultTest {
protected:
    void SetUp() override {
        AddProgramme({{"M", "400", "F"}});
        const char* const klubber[] = {"Aarhus", "Sparta", "Viking", "Odense"};
        for (int nr = 1; nr <= 4; ++nr)
            AddKlub(nr, klubber[nr - 1]);
    }

    // A runner of the club with a time in a heat; the record filled further by more.
    void AddRunner(qint32 startnummer, qint32 heat, qint32 tid,
                   const std::function<void(TResultatTable&)>& more = {}) {
        AddDeltager(startnummer, QStringLiteral("Løber %1").arg(startnummer), 0, startnummer / 100);
        AddResultat(Round("M", "400"), startnummer, [=](TResultatTable& t) {
            Fields({{Heat, heat}, {Resultat, tid}})(t);
            if (more)
                more(t);
        });
    }
    static std::function<void(TResultatTable&)> Text(int fieldNo, const char* text) {
        return [=](TResultatTable& t) { t.GetField(fieldNo)->SetAsString(text); };
    }

    // Each team as its name, total, place, points and members.
    static QStringList Teams(const TResultatManager& manager) {
        QStringList teams;
        const THoldResultater* hold = manager.HoldResultater();
        for (int i = 0; hold && i < hold->Count(); ++i) {
            const THold& team = *hold->GetHold(i);
            QStringList members;
            for (int m = 0; m < team.Count(); ++m)
                members << QString::number(team.GetResultat(m)->Startnummer);
            const TResultat& row = *team.HoldResultat;
            teams << QStringLiteral("%1 %2 %3 %4: %5")
                         .arg(team.GetHoldNavn(), row.GetFieldText(TResultColumn::Resultat))
                         .arg(row.Plac)
                         .arg(row.Point)
                         .arg(members.join(u','));
        }
        return teams;
    }
};

} // namespace

// A club's teams are filled one after another, so only its last team can still take a member.
TEST_F(ResultHold, OnlyAClubsLastTeamIsOpen) {
    TOvelseInfo& round = Round("M", "400");
    SetRunde(round, OvelseRnField::AntalPrHold, 2);
    THoldResultater hold(&round);
    const auto team = [&](const char* klub) {
        auto row = std::make_unique<TResultat>(nullptr, &round);
        row->Klub = klub;
        return hold.Add(std::make_unique<THold>(std::move(row)));
    };
    TResultat a(nullptr, &round);
    TResultat b(nullptr, &round);
    TResultat c(nullptr, &round);
    THold* first = team("Aarhus");
    first->Add(&a);
    EXPECT_EQ(hold.FindOpenHold("Aarhus"), first);
    THold* second = team("Aarhus");
    second->Add(&b);
    second->Add(&c);
    EXPECT_EQ(hold.FindOpenHold("Aarhus"), nullptr);
    EXPECT_EQ(hold.FindOpenHold("Sparta"), nullptr);
    THold* third = team("Aarhus");
    EXPECT_EQ(hold.FindOpenHold("Aarhus"), third);

    // Placing drops the teams short of members, from the index too: a club's next team is its open one.
    team("Sparta");
    hold.CalcPlacering();
    ASSERT_EQ(hold.Count(), 1);
    EXPECT_EQ(hold.GetHold(0), second);
    EXPECT_EQ(hold.FindOpenHold("Aarhus"), nullptr);
    EXPECT_EQ(hold.FindOpenHold("Sparta"), nullptr);
    THold* fourth = team("Aarhus");
    EXPECT_EQ(hold.FindOpenHold("Aarhus"), fourth);
    EXPECT_EQ(hold.FindOpenHold("Sparta"), nullptr);
}

TEST_F(ResultHold, AClubsBestRunnersWithATimeMakeItsTeamsWhateverTheirHeat) {
    // Start number (the club is its hundreds), heat and time. Aarhus: seven runners, the best three in
    // heat 2. Sparta: the disqualified, the one out of competition, the one out of team scoring and the
    // one without a time do not count. Viking: two times and a runner without one make no team.
    const std::array<qint32, 3> runners[] = {
        {101, 1, 5980},  {104, 1, 10100}, {107, 1, 10400}, {103, 2, 5890},  {102, 2, 10050}, {105, 2, 10200},
        {106, 2, 10300}, {201, 1, 10000}, {205, 2, 10010}, {206, 2, 0},     {207, 2, 5910},  {301, 1, 10500},
        {302, 1, 10500}, {303, 2, 0},     {401, 1, 10300}, {402, 2, 10330}, {403, 2, 10370}};
    for (const auto& [startnummer, heat, tid] : runners)
        AddRunner(startnummer, heat, tid);
    AddRunner(202, 1, 5000, Text(ResultatKode, "D"));
    AddRunner(203, 1, 5500, Text(UdenforKonk, "U"));
    AddRunner(204, 2, 5600, Text(UdenforKonk, "-"));

    TResultatManager manager;
    manager.LoadOvelse(&Round("M", "400"));
    EXPECT_EQ(manager.HoldResultater(), nullptr);

    SetRunde(Round("M", "400"), OvelseRnField::AntalPrHold, 3);
    manager.CalcPlacering();
    // Times add up over the minute: 58.90 + 59.80 + 1.00.50.
    EXPECT_EQ(Teams(manager),
              (QStringList{"Aarhus 2.59.20 1 0: 103,101,102", "Sparta 2.59.20 1 0: 207,201,205",
                           "Aarhus 3.06.00 3 0: 104,105,106", "Odense 3.10.00 4 0: 401,402,403"}));

    // Points by place for teams, from the meet's first table.
    Manager().SystemData().PlaceringsPoint1 = QStringLiteral("10,8,6,5");
    Ov().FindOvelseRk("M", "400")
        ->GetField(OvelseRkField::PointBeregning)
        ->SetAsInteger(int(PointBeregning::Placering1) + 1);
    SetRunde(Round("M", "400"), OvelseRnField::HoldPoint, 1);
    TResultatManager scored;
    scored.LoadOvelse(&Round("M", "400"));
    EXPECT_EQ(Teams(scored),
              (QStringList{"Aarhus 2.59.20 1 10: 103,101,102", "Sparta 2.59.20 1 10: 207,201,205",
                           "Aarhus 3.06.00 3 6: 104,105,106", "Odense 3.10.00 4 5: 401,402,403"}));

    // A deleted row leaves no team pointing at it; the next placing makes them anew.
    scored.DeleteResultat(scored.IndexOfStartnummer(101));
    EXPECT_EQ(scored.HoldResultater(), nullptr);
    scored.CalcPlacering();
    EXPECT_EQ(Teams(scored).first(), "Sparta 2.59.20 1 10: 207,201,205");
    EXPECT_EQ(Teams(scored).at(1), "Aarhus 3.00.40 2 8: 103,102,104");
}

// A row keeps the marks of its out-of-competition code apart from the code: however the code of a loaded
// row changes, the next placing makes the teams by the code it has.
TEST_F(ResultHold, AnOutOfCompetitionCodeGivenOrTakenFromALoadedRowMakesTheTeamsAnew) {
    for (const qint32 startnummer : {201, 202, 204, 205})
        AddRunner(startnummer, 1, 10000 + startnummer);
    AddRunner(203, 1, 10203, Text(UdenforKonk, "U"));
    SetRunde(Round("M", "400"), OvelseRnField::AntalPrHold, 3);
    TResultatManager manager;
    manager.LoadOvelse(&Round("M", "400"));
    const auto row = [&manager](qint32 startnummer) -> TResultat& {
        return *manager.GetResultat(manager.IndexOfStartnummer(startnummer));
    };
    const auto team = [&manager] {
        manager.CalcPlacering();
        const QStringList teams = Teams(manager);
        return teams.size() == 1 ? teams.first().section(u' ', -1) : teams.join(u'|');
    };
    EXPECT_EQ(team(), "201,202,204");
    row(203).UK = QString();
    EXPECT_EQ(team(), "201,202,203");
    row(201).SetFieldText(TResultColumn::UK, QStringLiteral("uh"));
    EXPECT_EQ(team(), "202,203,204");
    row(202).UK = row(201).UK;
    EXPECT_EQ(team(), "203,204,205");
    QString kept = QStringLiteral("u");
    row(203).UK = std::move(kept);
    row(201).SetUK(QString());
    EXPECT_EQ(team(), "201,204,205");
    EXPECT_TRUE(row(203).IsUK());
    EXPECT_FALSE(row(203).IsUdenforHold());
    EXPECT_TRUE(row(202).IsUdenforHold());
}

// Placed by result across heats, the rows are already in the order the teams are made in: the teams are
// those a placing by heat makes, and those a making of the teams alone makes. Equal times in one club go
// by heat.
TEST_F(ResultHold, PlacedByResultTheTeamsAreThoseOfEveryOtherWayOfMakingThem) {
    const std::array<qint32, 3> runners[] = {{101, 2, 6000}, {102, 1, 6000}, {103, 3, 5950}, {104, 1, 6100},
                                             {105, 2, 6000}, {106, 3, 6200}, {201, 1, 5990}, {202, 2, 5990},
                                             {203, 1, 0},    {204, 3, 6010}, {301, 2, 6300}, {302, 1, 6050}};
    for (const auto& [startnummer, heat, tid] : runners)
        AddRunner(startnummer, heat, tid);
    AddRunner(205, 2, 5000, Text(ResultatKode, "D"));
    SetRunde(Round("M", "400"), OvelseRnField::AntalPrHold, 2);
    const QStringList expected{"Aarhus 1.59.50 1 0: 103,102", "Sparta 1.59.80 2 0: 201,202",
                               "Aarhus 2.00.00 3 0: 101,105", "Aarhus 2.03.00 4 0: 104,106",
                               "Viking 2.03.50 5 0: 302,301"};
    for (const int resType : {0, 1}) {
        SetRunde(Round("M", "400"), OvelseRnField::ResType, resType);
        TResultatManager manager;
        manager.LoadOvelse(&Round("M", "400"));
        manager.CalcPlacering();
        const QStringList placed = Teams(manager);
        manager.CalcHoldResultater();
        EXPECT_EQ(Teams(manager), placed) << "by " << resType;
        EXPECT_EQ(placed, expected) << "by " << resType;
    }
}

TEST_F(ResultHold, FieldEventTeamsAddTheirMarksAndEqualTotalsSharePlaces) {
    TOvelseInfo& round = Round("M", "KU");
    SetRunde(round, OvelseRnField::AntalPrHold, 2);
    const std::pair<qint32, qint32> marks[] = {{101, 1500}, {102, 1400}, {103, 1300},
                                               {201, 1450}, {202, 1450}, {301, 1600},
                                               {302, 1000}, {401, 1200}, {402, 1100}};
    for (const auto& [startnummer, mark] : marks) {
        AddDeltager(startnummer, QStringLiteral("Kaster %1").arg(startnummer), 0, startnummer / 100);
        AddResultat(round, startnummer, Fields({{Heat, 1}}), Serie({{mark, 0}}));
    }
    TResultatManager manager;
    manager.LoadOvelse(&round);
    EXPECT_EQ(Teams(manager), (QStringList{"Aarhus 29.00 1 0: 101,102", "Sparta 29.00 1 0: 201,202",
                                           "Viking 26.00 3 0: 301,302", "Odense 23.00 4 0: 401,402"}));
}
