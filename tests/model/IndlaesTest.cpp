// The registration imports: both files in three forms, the problem lines, a second run, and a run
// killed half way.
#include "model/D_Indlaes.h"

#include "support/KillAtStep.h"
#include "support/Test.h"

#include "ResultFixture.h"
#include "foundation/LxString.h"
#include "foundation/Windows1252.h"
#include "model/D_Globals.h"
#include "model/D_Ovelser.h"
#include "model/D_Staevne.h"

#include <QMap>

#include <functional>

namespace {

enum class TForm { Cp1252Lf, Cp1252CrLf, Utf8Bom };
constexpr TForm Forms[] = {TForm::Cp1252Lf, TForm::Cp1252CrLf, TForm::Utf8Bom};

QByteArray Encoded(const QStringList& lines, TForm form) {
    switch (form) {
    case TForm::Cp1252Lf:
        return Windows1252::Encode(lines.join(u'\n') + u'\n');
    case TForm::Cp1252CrLf:
        return Windows1252::Encode(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
    case TForm::Utf8Bom:
        return QByteArray("\xEF\xBB\xBF") + (lines.join(u'\n')).toUtf8();
    }
    return {};
}

const char* FormName(TForm form) {
    return form == TForm::Cp1252Lf ? "cp1252 LF" : form == TForm::Cp1252CrLf ? "cp1252 CRLF" : "UTF-8 BOM";
}

// What a meet holds after an import, every field the imports write.
struct TMeetState {
    QStringList Klubber;
    QStringList Deltagere;
    QStringList Tilmeldinger;
    bool operator==(const TMeetState&) const = default;
};
void PrintTo(const TMeetState& state, std::ostream* out) {
    *out << (QStringList{"klubber:"} + state.Klubber + QStringList{"deltagere:"} + state.Deltagere +
             QStringList{"tilmeldinger:"} + state.Tilmeldinger)
                .join(u'\n')
                .toStdString();
}

class Indlaes : public TResultTest {
protected:
    Indlaes() { AddProgramme({{"M", "VÆ", "F"}}); }
    // The meet deleted and made again with its programme, for the next form of a file.
    virtual void FreshMeet() {
        Manager().DeleteStaevne();
        CreateMeet(QStringLiteral("Stævne"));
        AddProgramme({});
    }

    // The file in each form, written under name (its letter case not the program's) and imported into
    // an empty meet: the same report and the same records each time.
    void ExpectEachForm(const QString& name, const QStringList& lines,
                        const std::function<TIndlaesRapport()>& import, const TIndlaesRapport& expected,
                        const TMeetState& state) {
        const TMeetState before = State();
        for (const TForm form : Forms) {
            SCOPED_TRACE(FormName(form));
            WriteProgramFile(name, lines, form);
            const TIndlaesRapport rapport = import();
            EXPECT_EQ(rapport.Problemer, expected.Problemer);
            EXPECT_EQ(rapport.NyeKlubber, expected.NyeKlubber);
            EXPECT_EQ(rapport.NyeDeltagere, expected.NyeDeltagere);
            EXPECT_EQ(rapport.NyeTilmeldinger, expected.NyeTilmeldinger);
            EXPECT_EQ(State(), state);
            EXPECT_TRUE(Shown().isEmpty());
            FreshMeet();
            ASSERT_EQ(State(), before);
        }
    }

    void WriteProgramFile(const QString& name, const QStringList& lines, TForm form) {
        QFile file(Path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(Encoded(lines, form));
    }

    // The participants name their club, whose number a new meet may not give again.
    static TMeetState State() {
        QMap<QString, QString> klubber;
        TMeetState state;
        for (const QString& klub : Stored<TKlubTable>({KlubField::KlubNr, KlubField::Navn})) {
            klubber[klub.section(u'/', 0, 0)] = klub.section(u'/', 1);
            state.Klubber << klub.section(u'/', 1);
        }
        for (QString deltager :
             Stored<TDeltagerTable>({DeltagerField::KlubNr, DeltagerField::Startnummer, DeltagerField::Navn,
                                     DeltagerField::Aargang, DeltagerField::Koen}))
            state.Deltagere << deltager.section(u'/', 1) + u'/' + klubber.value(deltager.section(u'/', 0, 0));
        state.Tilmeldinger = Stored<TResultatTable>(
            {ResultatField::Startnummer, ResultatField::Klasse, ResultatField::Ovelse, ResultatField::Runde,
             ResultatField::Seedning, ResultatField::PersonligRekord, ResultatField::ResultatKode,
             ResultatField::Efteranmeldelse, ResultatField::Rank});
        return state;
    }
};

// ---------------------------------------------------------------- reading the lines

TEST_F(Indlaes, TheThreeFormsOfAFileGiveTheSameLines) {
    const QStringList lines = {"1;Søren Æbelø;1990", "", "2;Åse;1991"};
    for (const TForm form : Forms)
        EXPECT_EQ(ReadRegistrationLines(Encoded(lines, form)), lines) << FormName(form);
    // UTF-8 without a mark is known by being valid; a byte that is not valid UTF-8 makes it Windows-1252.
    EXPECT_EQ(ReadRegistrationLines(QStringLiteral("Ærø\r\n").toUtf8()), QStringList({"Ærø"}));
    EXPECT_EQ(ReadRegistrationLines(QByteArray("\xC6r\xF8")), QStringList({"Ærø"}));
    EXPECT_EQ(ReadRegistrationLines({}), QStringList());
}

TEST_F(Indlaes, FieldsSplitOnSemicolonsWhenTheLineHasOneElseOnCommas) {
    QStringList fields;
    ASSERT_TRUE(SplitRegistrationFields(" 8 ; Anna ;8,12;", fields));
    EXPECT_EQ(fields, QStringList({"8", "Anna", "8,12", ""}));
    ASSERT_TRUE(SplitRegistrationFields("8,Anna,\"Hansen; Jens\", 12.5", fields));
    EXPECT_EQ(fields, QStringList({"8", "Anna", "Hansen; Jens", "12.5"}));
    ASSERT_TRUE(SplitRegistrationFields("9;\"a;b\";c", fields));
    EXPECT_EQ(fields, QStringList({"9", "a;b", "c"}));
    EXPECT_FALSE(SplitRegistrationFields("9;\"open", fields));
}

TEST_F(Indlaes, EventNamesMapInAnyCaseAndUnknownNamesStandAsTheyAre) {
    EXPECT_EQ(OvelseOfRegistrationName("HØJDE"), "HØ");
    EXPECT_EQ(OvelseOfRegistrationName("60m Hæk"), "60H");
    EXPECT_EQ(OvelseOfRegistrationName("3000m forh."), "3000H");
    EXPECT_EQ(OvelseOfRegistrationName("Højdespring"), "Højdespring");
    EXPECT_EQ(OvelseOfRegistrationName(" bold "), "BO");
    EXPECT_TRUE(IsFieldEventOvelse("VÆ"));
    EXPECT_TRUE(IsFieldEventOvelse("lÆ"));
    EXPECT_FALSE(IsFieldEventOvelse("100"));
    EXPECT_FALSE(IsFieldEventOvelse("4X100"));
}

// ---------------------------------------------------------------- Deltagere.csv

const QStringList DeltagereLines = {
    "1;Anna Ærø;1990;K;100m;12.34 sek;Aarhus;KS;;12.10",
    "2;Bent Ås;1985;M;Længde;6,45 m;Aarhus;SEN;E;6.80",
    "2;Bent Ås;1985;M;HØJDE;1.80;Aarhus;M;/A;1.85",
    "3;Carl;abc;M;Højdespring;1.70;Odense;M",
    "0;Dorte;1990;K;100m;13.0;Odense;K",
    "1;Erik;1990;M;100m;11.5;Odense;M",
    "4;Finn;1980;M;Kugle;12.50;Odense",
    "",
    "5;Gert;1970;M;VÆ;15,20;Odense;MS;S",
    "6;Hans;1971;M;100m;99999999999;Odense;M",
};

const TMeetState DeltagereState = {
    {"Aarhus", "Odense"},
    {"1/Anna Ærø/1990//Aarhus", "2/Bent Ås/1985//Aarhus", "5/Gert/1970//Odense"},
    {"1/K/100//1234/1210//Nej/0", "2/M/HØ//180/185/Afbud/Nej/0", "2/M/LÆ//645/680//Ja/0",
     "5/M/VÆ//1520/0/Afbud/Nej/0"},
};

const QStringList DeltagereProblemer = {
    "Klasse: M, Øvelse: HØJDESPRING, StartNr: 3, line = 3",
    "Startnummer 0: Odense  0;Dorte;1990;K;100m;13.0;Odense;K, line = 4",
    "Startnummer 1 er allerede brugt i klubben Aarhus: 1;Erik;1990;M;100m;11.5;Odense;M, line = 5",
    "For få felter: 4;Finn;1980;M;Kugle;12.50;Odense, line = 6",
    "Resultatet \"99999999999\" er for stort: 6;Hans;1971;M;100m;99999999999;Odense;M, line = 9",
};

TEST_F(Indlaes, DeltagereInEachFormMakesClubsParticipantsAndEntriesAndReportsTheRest) {
    ExpectEachForm(
        "DELTAGERE.CSV", DeltagereLines, [] { return ImportDeltagereFile(); }, {DeltagereProblemer, 2, 3, 4},
        DeltagereState);
}

TEST_F(Indlaes, ASecondDeltagereImportAddsNothingAndNamesEachEntryAsThere) {
    WriteProgramFile("Deltagere.csv", DeltagereLines, TForm::Cp1252CrLf);
    ImportDeltagereFile();
    const TMeetState once = State();
    const TIndlaesRapport again = ImportDeltagereFile();
    EXPECT_EQ(State(), once);
    EXPECT_EQ(again.NyeKlubber + again.NyeDeltagere + again.NyeTilmeldinger, 0);
    EXPECT_EQ(again.Problemer.mid(0, 2), QStringList({"Klasse: K, Øvelse: 100, StartNr: 1, line = 0",
                                                      "Klasse: M, Øvelse: LÆ, StartNr: 2, line = 1"}));
    EXPECT_EQ(again.Problemer.size(), DeltagereProblemer.size() + 4);
}

TEST_F(Indlaes, AVeteranLeagueTakesRankAndRecordAsNumbersAndTheSex) {
    Manager().SystemData().VT = true;
    const TIndlaesRapport rapport =
        ImportDeltagere({"7;Ida;1950;K;100m;3;Aarhus;K;;1450", "8;Jens;1950;M;100m;3,5;Aarhus;M"});
    EXPECT_EQ(Stored<TDeltagerTable>({DeltagerField::Startnummer, DeltagerField::Koen}),
              QStringList({"7/K"}));
    EXPECT_EQ(Stored<TResultatTable>(
                  {ResultatField::Rank, ResultatField::PersonligRekord, ResultatField::Seedning}),
              QStringList({"3/1450/0"}));
    EXPECT_EQ(rapport.Problemer,
              QStringList({"\"3,5\" er ikke et gyldigt tal: 8;Jens;1950;M;100m;3,5;Aarhus;M, line = 1"}));
}

TEST_F(Indlaes, AFileThatCannotBeReadChangesNothing) {
    const TMeetState before = State();
    const QString deltagere = ErrorText([] { ImportDeltagereFile(); });
    EXPECT_TRUE(deltagere.contains("Deltagere.csv\" kan ikke læses")) << deltagere.toStdString();
    const QString tilmeldinger = ErrorText([] { ImportTilmeldingerFile(); });
    EXPECT_TRUE(tilmeldinger.contains("tilmeldinger.csv\" kan ikke læses")) << tilmeldinger.toStdString();
    EXPECT_EQ(State(), before);
}

// ---------------------------------------------------------------- tilmeldinger.csv

class Tilmeldinger : public Indlaes {
protected:
    Tilmeldinger() { AddKlubber(); }
    void FreshMeet() override {
        Indlaes::FreshMeet();
        AddKlubber();
    }
    void AddKlubber() {
        AddKlub(1, QStringLiteral("Aarhus"));
        AddKlub(2, QStringLiteral("Odense"));
        AddKlub(3, QStringLiteral("Atletikforeningen Nordvest"));
    }
};

const QStringList TilmeldingerLines = {
    "101;Anna Ærø;Aarhus;k;100;",
    "102;Bent;Aarhus;M;4x100;b",
    "R;Stafet;Aarhus;M;4X100;3",
    "2002;Hans;Odense;M;100;",
    "R;X;Ukendt;M;4X100;1",
    "R;X;Aarhus;M;4X400;1",
    "103;Carl;Aarhus;M;200;",
    "104;Dorte;Aarhus;K",
    "101;Anna;Odense;K;100;",
    "0;Nul;Odense;K;100;",
    "R;Lang;Atletikforeningen Nordvest;M;4X100;1",
    "R;Ingen;Odense;M;4X100;0",
};

const TMeetState TilmeldingerState = {
    {"Aarhus", "Odense", "Atletikforeningen Nordves"},
    {"101/Anna Ærø/0//Aarhus", "102/Bent/0//Aarhus", "2001/Aarhus - A/0//Aarhus", "2002/Hans/0//Odense",
     "2003/Aarhus - B/0//Aarhus", "2004/Aarhus - C/0//Aarhus",
     "2005/Atletikforeningen Nor - A/0//Atletikforeningen Nordves"},
    {"101/K/100//0/0//Nej/0", "2002/M/100//0/0//Nej/0", "102/M/4X100//0/0//Nej/2", "2001/M/4X100//0/0//Nej/1",
     "2003/M/4X100//0/0//Nej/2", "2004/M/4X100//0/0//Nej/3", "2005/M/4X100//0/0//Nej/1"},
};

const QStringList TilmeldingerProblemer = {
    "Klub ikke fundet: Ukendt, Navn: X, Klasse: M, Data: R;X;Ukendt;M;4X100;1, line = 4",
    "Øvelse findes ikke, Klasse: M, Øvelse: 4X400, Navn: X, line = 5",
    "Øvelse findes ikke, Klasse: M, Øvelse: 200, StartNr: 103, line = 6",
    "For få felter: 104;Dorte;Aarhus;K, line = 7",
    "Startnummer 101 er allerede brugt i klubben Aarhus: 101;Anna;Odense;K;100;, line = 8",
    "Startnummer 0: Odense  0;Nul;Odense;K;100;, line = 9",
    "Antal hold skal være fra 1 til 26: R;Ingen;Odense;M;4X100;0, line = 11",
};

TEST_F(Tilmeldinger, InEachFormEntriesAndRelayTeamsAreMadeAndTheRestReported) {
    ExpectEachForm(
        "Tilmeldinger.CSV", TilmeldingerLines, [] { return ImportTilmeldingerFile(); },
        {TilmeldingerProblemer, 0, 7, 7}, TilmeldingerState);
}

TEST_F(Tilmeldinger, ASecondImportReusesTheTeamsAndAddsNothing) {
    WriteProgramFile("tilmeldinger.csv", TilmeldingerLines, TForm::Utf8Bom);
    ImportTilmeldingerFile();
    const TMeetState once = State();
    const TIndlaesRapport again = ImportTilmeldingerFile();
    EXPECT_EQ(State(), once);
    EXPECT_EQ(again.NyeDeltagere + again.NyeTilmeldinger, 0);
    EXPECT_TRUE(again.Problemer.contains("Findes allerede, Klasse: K, Øvelse: 100, StartNr: 101, line = 0"));
    EXPECT_TRUE(
        again.Problemer.contains("Findes allerede, Klasse: M, Øvelse: 4X100, StartNr: 2004, line = 2"));
    EXPECT_EQ(again.Problemer.size(), TilmeldingerProblemer.size() + 7);

    // A fourth team is D, and takes the next number no one has.
    ImportTilmeldinger({"R;Stafet;Aarhus;M;4X100;4"});
    EXPECT_EQ(Stored<TDeltagerTable>({DeltagerField::Startnummer, DeltagerField::Navn}).last(),
              "2006/Aarhus - D");
}

// ---------------------------------------------------------------- text the record files cannot hold

TEST_F(Indlaes, ALineWithACharacterOutsideWindows1252IsRefusedWholeAndTheOthersAreImported) {
    const QString runner = QString::fromUtf8("\xF0\x9F\x8F\x83");
    const QString deltager = "1;Anna " + runner + ";1990;K;100m;12.34;Aarhus;K";
    // In a field the import does not store, too: the line is not taken as it was written.
    const QString note = "3;Carl;1990;M;100m;;Aarhus;M;;;" + runner;
    WriteProgramFile("Deltagere.csv", {deltager, "2;Bo;1990;M;100m;;Aarhus;M", note}, TForm::Utf8Bom);
    const TIndlaesRapport rapport = ImportDeltagereFile();
    const QString refused =
        QStringLiteral("\"%1\" kan kun indeholde tegn fra tegnsættet Windows-1252, line = %2");
    EXPECT_EQ(rapport.Problemer, QStringList({refused.arg(deltager).arg(0), refused.arg(note).arg(2)}));
    EXPECT_EQ(State().Deltagere, QStringList({"2/Bo/1990//Aarhus"}));

    const QString klub = "R;Stafet;Aarhus " + runner + ";M;4X100;1";
    const TIndlaesRapport tilmeldinger = ImportTilmeldinger({"5;Eva " + runner + ";Aarhus;K;100;", klub});
    EXPECT_EQ(tilmeldinger.Problemer, QStringList({refused.arg("5;Eva " + runner + ";Aarhus;K;100;").arg(0),
                                                   refused.arg(klub).arg(1)}));
    EXPECT_EQ(tilmeldinger.NyeKlubber + tilmeldinger.NyeDeltagere + tilmeldinger.NyeTilmeldinger, 0);
    EXPECT_EQ(State().Klubber, QStringList({"Aarhus"}));
}

// ---------------------------------------------------------------- one piece of work

TEST_F(Indlaes, AnImportKilledAtEveryStepOfItsCommitLeavesAllOfTheFileOrNone) {
    WriteProgramFile("Deltagere.csv", DeltagereLines, TForm::Cp1252Lf);
    const TMeetState none = State();
    const auto start = [this] {
        Manager();
        OvelseManager = std::make_unique<TOvelseManager>();
        Manager().OpenStaevne(Manager().IndexOfStaevneNavn(QStringLiteral("Stævne")));
    };
    int killedBefore = 0;
    int killedAfter = 0;
    for (int step = 1; step < 100; ++step) {
        SCOPED_TRACE(step);
        OvelseManager.reset();
        StaevneManager.reset();
        const bool stopped = KilledAt(step, start, [] { ImportDeltagereFile(); });
        Restart();
        start();
        const TMeetState after = State();
        if (!stopped) {
            EXPECT_EQ(after, DeltagereState);
            EXPECT_GE(killedBefore, 1) << "the journal";
            EXPECT_GE(killedAfter, 4) << "its sync, the three files' commits and its removal";
            return;
        }
        if (after == none) {
            ++killedBefore;
            continue;
        }
        EXPECT_EQ(after, DeltagereState);
        ++killedAfter;
        FreshMeet();
    }
    ADD_FAILURE() << "never ran to its end";
}

TEST_F(Indlaes, TheReportListsSoManyLinesAndCountsTheOthers) {
    TIndlaesRapport rapport;
    rapport.NyeKlubber = 1;
    rapport.NyeDeltagere = 2;
    rapport.NyeTilmeldinger = 3;
    EXPECT_EQ(IndlaesRapportText(rapport, 2),
              "Indlæst: 1 nye klubber, 2 nye deltagere og 3 nye tilmeldinger.");
    rapport.Problemer = QStringList({"a, line = 0", "b, line = 1", "c, line = 2"});
    EXPECT_EQ(
        IndlaesRapportText(rapport, 2).split(CrLf),
        QStringList({"Indlæst: 1 nye klubber, 2 nye deltagere og 3 nye tilmeldinger.", "",
                     "Linjer med bemærkninger (3):", "a, line = 0", "b, line = 1", "... og 1 linjer mere"}));
}

} // namespace
