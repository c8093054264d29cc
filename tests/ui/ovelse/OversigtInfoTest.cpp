// The header's texts of a round, the weekday names and the start time typed in the overview.
#include "ui/ovelse/OversigtInfo.h"

#include "support/ResultFixture.h"

#include "model/D_Ovelser.h"
#include "model/D_Staevne.h"
#include "model/D_StaevneSystemData.h"
#include "ui/ovelse/Oversigt.h"

namespace {

TEST(OversigtTid, TheLastTwoDigitsAreTheMinutesAndTheLeadingOnesTheHours) {
    const std::pair<const char*, int> good[] = {
        {"930", 570}, {"0930", 570}, {" 9:30 ", 570}, {"10.15", 615}, {"2359", 1439}, {"30", 30}, {"000", 0}};
    for (const auto& [text, minutes] : good)
        EXPECT_EQ(ParseOversigtTid(text), minutes) << text;
    for (const char* bad : {"2575", "2400", "960", "5", "", "9x0", "123:45", "ab"})
        EXPECT_THROW(ParseOversigtTid(bad), Exception) << bad;
    try {
        ParseOversigtTid("2575");
    } catch (const Exception& refused) {
        EXPECT_EQ(refused.Message(),
                  "Ugyldigt klokkeslæt \"2575\": timerne skal være 0-23 og minutterne 0-59");
    }
}

class OversigtInfo : public TResultTest {};

TEST_F(OversigtInfo, TheInfoLinesTellTheRoundsSettingsAndLeaveOutValuesWithoutText) {
    TOvelseInfo& round = Round("M", "LÆ");
    const auto set = [&round](int fieldNo, qint32 value) {
        round.OvelseRn().GetField(fieldNo)->SetAsInteger(value);
    };
    set(OvelseRnField::AntalPrHeat, 8);
    set(OvelseRnField::AntalVidereIalt, 12);
    set(OvelseRnField::AntalViderePlac, 3);
    set(OvelseRnField::ResType, 0);
    set(OvelseRnField::Heatinddeling, 4);
    set(OvelseRnField::Banefordeling, 7);
    set(OvelseRnField::Banenummerering, 1);
    set(OvelseRnField::Vindmaaling, 2);
    EXPECT_EQ(InfoLinie1Text(round),
              "Antal pr heat: 8,  Antal til næste runde: 12,  Antal placering pr. heat: 3");
    EXPECT_EQ(InfoLinie2Text(round), "Resultater sorteres efter: Heat");
    EXPECT_EQ(InfoLinie3Text(round), "Heat: DT-seedning, Bane: Klub + navn, Start fra bane 2");
    EXPECT_EQ(InfoLinie4Text(round), "Vindmåling: Pr.deltager");

    set(OvelseRnField::VidereSeedning, 1);
    set(OvelseRnField::ResType, 1);
    set(OvelseRnField::FinaleType, 2);
    set(OvelseRnField::Heatinddeling, 5);
    set(OvelseRnField::Banenummerering, 3);
    set(OvelseRnField::Vindmaaling, 0);
    set(OvelseRnField::AutoCalcPoint, 1);
    set(OvelseRnField::AntalPrHold, 3);
    set(OvelseRnField::HoldPoint, 1);
    EXPECT_TRUE(InfoLinie1Text(round).endsWith(", Brug SG"));
    EXPECT_EQ(InfoLinie2Text(round), "Resultater sorteres efter: Bedste tid, B/A finaer");
    EXPECT_EQ(InfoLinie3Text(round), "Heat: , Bane: Klub + navn");
    EXPECT_EQ(InfoLinie4Text(round),
              "Vindmåling: Standard, Automatisk point beregning, Antal pr.hold: 3, Hold point");
    set(OvelseRnField::FinaleType, 1);
    set(OvelseRnField::HoldPoint, 0);
    EXPECT_EQ(InfoLinie2Text(round), "Resultater sorteres efter: Bedste tid, A/B finaler");
    EXPECT_TRUE(InfoLinie4Text(round).endsWith("Antal pr.hold: 3"));
}

TEST_F(OversigtInfo, PanelsCountStartersAndWithdrawalsAndDaysAreNamedInFull) {
    TOvelseInfo& round = Round("M", "100", "F");
    round.AntalDeltagere = 9;
    round.AntalAktiveDeltagere = 7;
    round.SeedningFindes = true;
    EXPECT_EQ(StatusPanelTexts(round), QStringList({" 14:00", "M", "100 F", "7", "2", "JA", "NEJ"}));
    EXPECT_EQ(StatusPanelCaptions().size(), 8);

    EXPECT_EQ(GetFullDayName(1), "Mandag");
    EXPECT_EQ(GetFullDayName(6), "Lørdag");
    EXPECT_EQ(GetFullDayName(0), "");
    Manager().SystemData().Engelsk = true;
    EXPECT_EQ(GetFullDayName(3), "Wednesday");
    EXPECT_EQ(GetFullDayName(7), "Sunday");
}

TEST_F(OversigtInfo, ATypedTimeIsTheShownTimeOnTheSameDayWhateverTheMeetsStartTime) {
    TOvelseInfo& round = Round("M", "KU");
    const TDateTime before = round.OvelseRn().GetField(OvelseRnField::DatoTid)->GetAsFloat();
    SetRundeTid(round, 9 * 60 + 30);
    EXPECT_EQ(TidText(round), "09:30");
    EXPECT_EQ(round.GetDato(), std::trunc(before)) << "the date kept";
    // A meet starting at 08:00 stores its rounds' times after its start.
    Manager().SystemData().Dato = EncodeDateTime(QDate(2024, 6, 1), QTime(8, 0));
    SetRundeTid(round, 10 * 60 + 15);
    EXPECT_EQ(TidText(round), "10:15");
    EXPECT_EQ(round.GetDato(), std::trunc(before));
    EXPECT_EQ(DateTimeToQTime(round.OvelseRn().GetField(OvelseRnField::DatoTid)->GetAsFloat()), QTime(2, 15));
}

} // namespace
