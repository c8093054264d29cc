// The rules the event editor hands to the model: corrections refused whole, relay legs, the attempt-series
// file, the properties dialog's start times and points choices, and rounds deleted and added on their
// own event row.
#include "model/D_Result.h"

#include "support/Test.h"

#include "ResultFixture.h"
#include "foundation/LxString.h"
#include "model/D_Globals.h"
#include "model/D_Ovelser.h"
#include "model/D_OvelserProp.h"
#include "model/D_OvelserRunde.h"
#include "model/D_ResultSerieFil.h"
#include "model/D_ResultStafet.h"
#include "model/D_Staevne.h"
#include "model/D_StaevneSystemData.h"

#include <QFile>

namespace {

using namespace ResultatField;

class EditorRules : public TResultTest {
protected:
    void WriteFile(const QString& name, const QByteArray& bytes) {
        QFile file(Path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    static QStringList Attempts(const TResultat& row) {
        QStringList texts;
        for (int i = 0; i < row.GetSerieCount(); ++i)
            texts << row.GetSerieEditText(i);
        return texts;
    }
};

TEST_F(EditorRules, ACorrectionIsRefusedWholeWhenAMarkOrTimeWouldFallToZeroOrBeyondItsRange) {
    AddResultat(Round("M", "KU"), 1, Fields({{Heat, 1}}), Serie({{1000, 0}, {SeriePas, 0}}));
    AddResultat(Round("M", "KU"), 2, Fields({{Heat, 1}}), Serie({{30, 0}, {0, 0}}));
    TResultatManager manager;
    manager.LoadOvelse(&Round("M", "KU"));
    EXPECT_THROW(manager.AddKorrektion(-30), EResultError);
    EXPECT_EQ(Row(manager, 1).GetSerie(0)->Value, 1000) << "no row changed";
    EXPECT_EQ(Row(manager, 2).GetSerie(0)->Value, 30);
    manager.AddKorrektion(-29);
    EXPECT_EQ(Row(manager, 2).GetSerie(0)->Value, 1);
    EXPECT_TRUE(Row(manager, 2).GetSerie(1)->IsFoul());
    EXPECT_THROW(manager.AddKorrektion(2147483000), EResultError);
    manager.AddKorrektion(0);

    // Times are corrected in hundredths and must stay above 0; a hand time stays as it is.
    AddResultat(Round("M", "100"), 1, Fields({{Heat, 1}, {Resultat, 12}}));
    AddResultat(Round("M", "100"), 2, Fields({{Heat, 1}, {Resultat, -104}}));
    manager.LoadOvelse(&Round("M", "100"));
    EXPECT_THROW(manager.AddKorrektion(-12), EResultError);
    manager.AddKorrektion(-11);
    EXPECT_EQ(Row(manager, 1).Resultat, 1);
    EXPECT_EQ(Row(manager, 2).Resultat, -104);
    manager.AddKorrektion(5999);
    EXPECT_EQ(Row(manager, 1).Resultat, 10000) << "one minute, packed";
}

TEST_F(EditorRules, RelayLegsRunFromOneWithoutGapsOrTwinsAndNoLegsClearTheSeries) {
    AddResultat(Round("M", "4X100"), 50, Fields({{Heat, 1}}), Serie({{61, 0}, {62, 0}}));
    TResultatManager manager;
    manager.LoadOvelse(&Round("M", "4X100"));
    TResultat& hold = Row(manager, 50);
    EXPECT_EQ(StafetTurOf(hold, 62), 2);
    EXPECT_EQ(StafetTurOf(hold, 63), 0);
    const auto refused = [&](std::vector<TStafetTur> ture, const QString& why) {
        try {
            SetStafetTure(hold, ture);
            ADD_FAILURE() << "accepted";
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message(), why);
        }
        EXPECT_EQ(hold.GetSerieCount(), 2) << "unchanged";
    };
    refused({{61, "1"}, {62, "2"}, {63, "4"}}, "Stafet-ture skal angives fortløbende");
    refused({{61, "1"}, {62, "1"}}, "Der findes flere \"tur 1\"");
    refused({{61, "x"}}, "Turen \"x\" for startnummer 61 er ikke et helt tal fra 1");
    refused({{61, "0"}}, "Turen \"0\" for startnummer 61 er ikke et helt tal fra 1");
    refused({{61, "-1"}}, "Turen \"-1\" for startnummer 61 er ikke et helt tal fra 1");
    SetStafetTure(hold, {{61, " 2 "}, {62, ""}, {63, "1"}});
    EXPECT_EQ(Attempts(hold), QStringList({"63", "61"}));
    SetStafetTure(hold, {{61, ""}});
    EXPECT_EQ(hold.GetSerieCount(), 0);
}

TEST_F(EditorRules, TheAttemptFileIsNamedByTheRoundAndReadAsACommaTextOfAtMostTwentyAttempts) {
    EXPECT_EQ(ResultatSerieFilNavn(Round("M", "100", "I")), "EVENT-M-100--0.CSV");
    EXPECT_EQ(ResultatSerieFilNavn(Round("M", "100", "F")), "EVENT-M-100-F.CSV");
    Manager().SystemData().CsvLoadFilePath = Dir() + "serier";
    EXPECT_EQ(ResultatSerieFilSti(Round("M", "LÆ")), Dir() + "serier\\EVENT-M-LÆ--0.CSV");

    AddResultat(Round("M", "LÆ"), 7, Fields({{Heat, 1}}));
    AddResultat(Round("M", "LÆ"), 8, Fields({{Heat, 1}}));
    TResultatManager manager;
    manager.LoadOvelse(&Round("M", "LÆ"));
    EXPECT_THROW(ReadResultatSerieFil(manager, Path("ingen.csv")), Exception);
    // Blanks and commas separate; a quoted field keeps them; ":" before a wind; "x" no wind given.
    WriteFile("lae.csv", " 7 , 612:12 \"598,5\" X, - ,\r\n8;E\n\"8\";701x");
    EXPECT_EQ(ReadResultatSerieFil(manager, Path("lae.csv")), QStringList());
    const bool wind = Round("M", "LÆ").IsVindPrForsog();
    ASSERT_TRUE(wind);
    // The comma at the end is one more field, an empty attempt (dropped when the row is written).
    EXPECT_EQ(Attempts(Row(manager, 7)), QStringList({"612,12", "598,5", "X", "-", ""}));
    EXPECT_EQ(Row(manager, 7).Resultat, 612);
    EXPECT_EQ(Row(manager, 8).RK, "E");
    EXPECT_EQ(Attempts(Row(manager, 8)), QStringList({"701,x"}));

    // A vertical jump without heights to give the tries to says so, naming the athlete.
    AddResultat(Round("M", "HØ"), 9, Fields({{Heat, 1}}));
    manager.LoadOvelse(&Round("M", "HØ"));
    WriteFile("hoejde.csv", "9;XO;o\n");
    EXPECT_EQ(ReadResultatSerieFil(manager, Path("hoejde.csv")),
              QStringList({"Startnummer 9, forsøg 1: ingen højde at sætte forsøgene på",
                           "Startnummer 9, forsøg 2: ingen højde at sætte forsøgene på"}));
    WriteFile("hoejde.csv", "9;160:XO;165:o;170:-;175:X\n");
    EXPECT_TRUE(ReadResultatSerieFil(manager, Path("hoejde.csv")).isEmpty());
    EXPECT_EQ(Attempts(Row(manager, 9)), QStringList({"160,-+", "165,+", "170,*", "175,-"}));
    EXPECT_EQ(Row(manager, 9).Resultat, 165);
}

TEST_F(EditorRules, AnAttemptFilesFieldMarksOfOneDecimalAreMetresAndImpossibleTriesAreNamed) {
    AddResultat(Round("M", "KU"), 7, Fields({{Heat, 1}}));
    AddResultat(Round("M", "LÆ"), 8, Fields({{Heat, 1}}));
    AddResultat(Round("M", "HØ"), 9, Fields({{Heat, 1}}));
    TResultatManager manager;
    manager.LoadOvelse(&Round("M", "KU"));
    WriteFile("kugle.csv", "7;11.5;9.8;10.25\n");
    EXPECT_TRUE(ReadResultatSerieFil(manager, Path("kugle.csv")).isEmpty());
    EXPECT_EQ(Attempts(Row(manager, 7)), QStringList({"1150", "980", "1025"}));
    EXPECT_EQ(Row(manager, 7).Resultat, 1150);

    manager.LoadOvelse(&Round("M", "LÆ"));
    WriteFile("laengde.csv", "8;6.5;7.45;7.4512;6.12:-0.4\n");
    EXPECT_TRUE(ReadResultatSerieFil(manager, Path("laengde.csv")).isEmpty());
    EXPECT_EQ(Attempts(Row(manager, 8)), QStringList({"650,0", "745,0", "745,12", "612,-4"}));

    // A try after a clearance at a height, in one field or the next one, is not read.
    manager.LoadOvelse(&Round("M", "HØ"));
    WriteFile("hoejde.csv", "9;1.6:OX;160:XO;165:O;165:X\n");
    const QStringList messages = ReadResultatSerieFil(manager, Path("hoejde.csv"));
    ASSERT_EQ(messages.size(), 2) << messages.join(u'|').toStdString();
    EXPECT_TRUE(messages.at(0).startsWith("Startnummer 9, forsøg 1: ")) << messages.at(0).toStdString();
    EXPECT_TRUE(messages.at(1).startsWith("Startnummer 9, forsøg 4: ")) << messages.at(1).toStdString();
    EXPECT_EQ(Attempts(Row(manager, 9)), QStringList({"", "160,-+", "165,+"}));
    EXPECT_EQ(Row(manager, 9).Resultat, 165);
}

TEST_F(EditorRules, StartTimesInTurnAndMovedTimesAndThePointsChoices) {
    const TDateTime lørdag = QDateToDateTime(QDate(2024, 6, 1));
    const std::vector<TDateTime> tider =
        AutoStarttider({{lørdag + 0.9, 0}, {lørdag + 1, 2}, {lørdag, 1}}, QTime(23, 58), QTime(0, 1), true);
    EXPECT_EQ(DateTimeToQDateTime(tider[0]), QDateTime(QDate(2024, 6, 2), QTime(0, 0))) << "past midnight";
    EXPECT_EQ(DateTimeToQDateTime(tider[1]), QDateTime(QDate(2024, 6, 3), QTime(0, 5)));
    EXPECT_EQ(DateTimeToQDateTime(tider[2]), QDateTime(QDate(2024, 6, 2), QTime(0, 10)));
    EXPECT_EQ(DateTimeToQDateTime(AutoStarttider({{lørdag, 0}}, QTime(10, 2, 30), QTime(0, 2), true)[0]),
              QDateTime(QDate(2024, 6, 1), QTime(10, 5, 30)))
        << "seconds stay";

    EXPECT_EQ(DateTimeToQDateTime(ShiftStarttid(lørdag + 0.5, QTime(13, 0), true)),
              QDateTime(QDate(2024, 6, 2), QTime(1, 0)));
    EXPECT_THROW(ShiftStarttid(0.25, QTime(7, 0), false), Exception);

    EXPECT_EQ(PointBeregningItem(0), 0);
    EXPECT_EQ(PointBeregningItem(7), 1) << "Naturlig aldersgruppe";
    EXPECT_EQ(PointBeregningItem(14), 10) << "IAAF blue points";
    EXPECT_EQ(PointBeregningItem(1), -1);
    EXPECT_EQ(PointBeregningItem(9), -1);
    for (int item = 0; item <= 10; ++item)
        EXPECT_EQ(PointBeregningItem(PointBeregningStored(item)), item);
    EXPECT_EQ(PointBeregningStored(11), -1);
}

class RundeRules : public TResultTest {
protected:
    RundeRules() { AddProgramme({{"K", "400", "IMSF"}, {"K", "LÆ", "KF"}}); }
    static QString Runder(const QString& klasse, const QString& ovelse) {
        const TOvelseInfo* info = OvelseManager->FindOvelseInfo(klasse, ovelse, "");
        return info ? info->OvelseRk().GetTrimmedString(OvelseRkField::Runder) : QStringLiteral("none");
    }
    static QString Refusal(const std::function<void()>& work) {
        try {
            work();
        } catch (const ERundeError& e) {
            return e.Message();
        }
        return {};
    }
};

TEST_F(RundeRules, TheRoundsLeftMustStayInOrderAndTheOthersAreNotTouched) {
    EXPECT_EQ(SletRundeRunder(Round("K", "400", "M")), "ISF");
    EXPECT_EQ(SletRundeRunder(Round("K", "LÆ", "F")), "F");
    EXPECT_EQ(SletRundeRunder(Round("M", "HØ")), "");
    EXPECT_FALSE(Refusal([&] { SletRundeRunder(Round("K", "400", "S")); }).isEmpty());
    EXPECT_FALSE(Refusal([&] { SletRundeRunder(Round("K", "400", "F")); }).isEmpty());
    EXPECT_EQ(Refusal([&] { SletRundeRunder(Round("K", "LÆ", "K")); }),
              "Kan ikke slette runde 1 før alle efterfølgende runder er slettet");
    EXPECT_EQ(Refusal([&] { TilfoejRundeRunder(Round("K", "LÆ", "K")); }), "Kan ikke tilføje flere runder");
    EXPECT_EQ(TilfoejRundeRunder(Round("M", "4X100")), "IF");

    // A team meet's points flag and each round's heat size are the rounds' own: deleting a round leaves
    // them, as it leaves every other event row.
    Manager().SystemData().DT = true;
    SetRunde(Round("K", "400", "F"), OvelseRnField::AntalPrHeat, 5);
    SetRunde(Round("K", "100"), OvelseRnField::AutoCalcPoint, 0);
    const qint32 klubRunder =
        Round("M", "100").OvelseRk().GetField(OvelseRkField::AntalPrHeat)->GetAsInteger();
    ASSERT_TRUE(SletRunde(Ov(), Round("K", "400", "M")));
    EXPECT_EQ(Runder("K", "400"), "ISF");
    EXPECT_EQ(Round("K", "400", "F").OvelseRn().GetField(OvelseRnField::AntalPrHeat)->GetAsInteger(), 5);
    EXPECT_EQ(Round("K", "100").OvelseRn().GetField(OvelseRnField::AutoCalcPoint)->GetAsInteger(), 0);
    EXPECT_EQ(Round("M", "100").OvelseRk().GetField(OvelseRkField::AntalPrHeat)->GetAsInteger(), klubRunder);
    EXPECT_EQ(OvelseManager->FindOvelseInfo("K", "400", "M"), nullptr);

    ASSERT_TRUE(TilfoejRunde(Ov(), Round("K", "400", "I")));
    EXPECT_EQ(Runder("K", "400"), "IMSF");
    const TOvelseInfo& ny = Round("K", "400", "M");
    EXPECT_EQ(ny.GetRundeNr(), 2);
    EXPECT_EQ(ny.OvelseRn().GetField(OvelseRnField::DatoTid)->GetAsFloat(),
              Round("K", "400", "S").OvelseRn().GetField(OvelseRnField::DatoTid)->GetAsFloat())
        << "the settings of the round it goes before";
    EXPECT_EQ(Round("K", "100").OvelseRn().GetField(OvelseRnField::AutoCalcPoint)->GetAsInteger(), 0);
    EXPECT_TRUE(Shown().isEmpty());
}

} // namespace
