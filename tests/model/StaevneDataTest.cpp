// What the settings window stores and checks: place-points texts, texts that cannot be stored, the rounds
// moved with the date, a refused save that changes nothing, and the venue table's rules.
#include "model/D_StaevneData.h"

#include "ResultFixture.h"

#include "model/D_Globals.h"
#include "model/D_Ovelser.h"
#include "model/D_StaevneDataTabel.h"
#include "storage/DBFieldDate.h"

namespace {

class StaevneDataTest : public TResultTest {
protected:
    static TStaevneDataValg GemtValg() {
        TStaevneDataValg valg;
        valg.SystemData = StaevneManager->SystemData();
        valg.Registry = StaevneManager->Registry();
        return valg;
    }
};

TEST(PlaceringsPointTest, ListsOfPointsWithAnEndingStarPassAndAnythingElseSaysWhy) {
    for (const char* text : {"", "10,9,8,7,6,5,4,3,2,1,*", " 5 , 3 ,1", "0"})
        EXPECT_EQ(ErrorText([&] { CheckPlaceringsPoint(text, "Placering-1"); }), "<no error>") << text;
    const QString why = "\" er ikke en liste af points som 10,9,8,7,6,5,4,3,2,1,*";
    for (const char* text : {"10,*,5", "10,,5", "a", "5,-1", "10;9"})
        EXPECT_EQ(ErrorText([&] { CheckPlaceringsPoint(text, "Placering-2"); }),
                  "Placering-2: \"" + QString(text) + why);
}

TEST(DageFlyttetTest, WholeDaysBetweenTheDaysOfTwoDateTimesAndNoneWithoutADate) {
    const TDateTime morning = EncodeDateTime(QDate(2024, 6, 1), QTime(9, 0));
    EXPECT_EQ(DageFlyttet(morning, EncodeDateTime(QDate(2024, 6, 4), QTime(8, 0))), 3);
    EXPECT_EQ(DageFlyttet(morning, EncodeDateTime(QDate(2024, 5, 31), QTime(23, 0))), -1);
    EXPECT_EQ(DageFlyttet(morning, EncodeDateTime(QDate(2024, 6, 1), QTime(18, 0))), 0);
    EXPECT_EQ(DageFlyttet(0, morning), 0);

    TEditOvelsesRaekke raekke;
    auto row = std::make_unique<TEditOvelseData>();
    row->Slot(1).DatoTid = morning;
    raekke.Add(std::move(row));
    FlytRaekke(raekke, 2);
    EXPECT_EQ(raekke.GetItem(0)->Slot(1).DatoTid, morning + 2);
    EXPECT_EQ(raekke.GetItem(0)->Slot(2).DatoTid, EmptyDateTime) << "a round without a time stays without";
}

TEST_F(StaevneDataTest, ASaveThatIsRefusedChangesNeitherTheRoundsNorTheSettings) {
    Manager().SetDato(EncodeDateTime(QDate(2024, 6, 1), QTime(10, 0)));
    Manager().SaveStaevneData();
    const QList<double> tider = RundeTider();
    TStaevneDataValg valg = GemtValg();
    valg.SystemData.Dato += 5;
    valg.SystemData.Overskrift1 = "Ny";
    valg.SystemData.PlaceringsPoint3 = "5,x";
    EXPECT_NE(ErrorText([&] { GemStaevneData(valg); }), "<no error>");
    valg.SystemData.PlaceringsPoint3 = "5,4";
    valg.SystemData.Arrangor = "Łódź";
    EXPECT_EQ(ErrorText([&] { GemStaevneData(valg); }),
              "Arrangør \"Łódź\" kan kun indeholde tegn fra tegnsættet Windows-1252");
    valg.SystemData.Arrangor = "Sparta";
    valg.SystemData.AntalDTHold = -1;
    EXPECT_EQ(ErrorText([&] { GemStaevneData(valg); }), "Antal DT hold kan ikke være mindre end 0");
    EXPECT_EQ(RundeTider(), tider);
    EXPECT_EQ(Restart().SystemData().Overskrift1, QString());

    Manager().OpenStaevne(0);
    valg.SystemData.AntalDTHold = 8;
    GemStaevneData(valg);
    EXPECT_EQ(Manager().SystemData().Overskrift1, "Ny");
    EXPECT_EQ(Manager().GetStaevneDatoText(0), "06-06-2024");
    QList<double> moved;
    for (const double tid : tider)
        moved << tid + 5;
    EXPECT_EQ(RundeTider(), moved);
}

TEST_F(StaevneDataTest, AVenueInUseStaysAndANewOneNeedsAFreeCodeOfTenCharacters) {
    Ov();
    auto tabel = AfvStedTabel(*OvelseManager);
    const std::vector<TDataElement*> steder = tabel->Records();
    ASSERT_EQ(steder.size(), 1u);
    EXPECT_EQ(tabel->CellText(*steder[0], 1, 1), "STADION");
    EXPECT_EQ(ErrorText([&] { tabel->Delete(*steder[0]); }),
              "Kan ikke slette afviklingssted \"STADION\", da der findes oprettede øvelser på stedet.");
    EXPECT_EQ(ErrorText([&] { tabel->Add({"", "", "Bane 2"}); }), "Afviklingssted skal udfyldes.");
    EXPECT_EQ(ErrorText([&] { tabel->Add({"", "stadion", ""}); }), "Afviklingssted er allerede oprettet.");
    EXPECT_EQ(ErrorText([&] {
                  tabel->Add({"", "LANGBANEN12", ""});
              }),
              "Sted \"LANGBANEN12\" er for lang: højst 10 tegn");
    TDataElement& ny = tabel->Add({"", "Bane 2", "Opvarmning"});
    tabel->Nummerer({&ny, steder[0]});
    EXPECT_EQ(tabel->CellText(*steder[0], 0, 2), "2");
    // Deleted and typed again in the same session, it comes back rather than twice.
    tabel->Delete(ny);
    TDataElement& igen = tabel->Add({"", "BANE 2", "Igen"});
    EXPECT_EQ(&igen, &ny);
    tabel->Nummerer({&igen, steder[0]});
    OvelseManager->Save();
    EXPECT_EQ(Stored<TAfvStedTable>({AfvStedField::Sted, AfvStedField::Tekst, AfvStedField::Sortkode}),
              QStringList({"BANE 2/Igen/1", "STADION//2"}));
}

} // namespace
