#include "model/D_Ovelser.h"

#include "support/Test.h"

#include "ProgramFolderFixture.h"
#include "foundation/LxString.h"
#include "model/D_Globals.h"
#include "model/D_Staevne.h"
#include "model/D_StdKlasser.h"
#include "model/D_Tekster.h"
#include "platform/recordmanager/FileSystem.h"

#include <cerrno>
#include <cstring>

namespace {

const int M = FindStdKlasse("M");
const int K = FindStdKlasse("K");
// Saturday 1 June 2024.
const TDateTime Dag = QDateToDateTime(QDate(2024, 6, 1));

QStringList Rounds() {
    return Stored<TOvelseRnTable>(
        {OvelseRnField::Klasse, OvelseRnField::Ovelse, OvelseRnField::Runde, OvelseRnField::Sted});
}

class Ovelser : public TProgramFolderTest {
protected:
    TOvelseManager& Ov() {
        if (!OvelseManager)
            OvelseManager = std::make_unique<TOvelseManager>();
        return *OvelseManager;
    }
    // A meet opened with the event manager in place, as the program has it.
    void NewMeet() {
        Ov();
        CreateMeet(QStringLiteral("Stævne"));
    }
    // The next start of the program, opening the meet again.
    void Reopen() {
        Restart();
        Ov();
        Manager().OpenStaevne(0);
    }

    // A row as the wizard makes it: its event's type and number from the catalogue.
    TEditOvelseData& Add(const QString& klasse, const QString& ovelse, const QString& runder,
                         const QString& sted = QStringLiteral("LØB")) {
        auto row = std::make_unique<TEditOvelseData>();
        const int std = FindStdKlasse(klasse);
        row->KlasseNr = std >= 0 && GetStdKlasseKode(std) == klasse ? std : NoStdKlasse;
        row->Klasse = klasse;
        row->Ovelse = ovelse;
        if (TOvelseElement* event = Ov().FindOvelse(ovelse)) {
            row->Ovtype = event->GetOvtype();
            row->OvelseNr = event->GetField(OvelseField::Sortkode)->GetAsInteger();
        }
        row->Runder = runder;
        row->AntalPrHeat = 8;
        for (int n = 1; n <= EditRundeSlots; ++n) {
            row->Slot(n).DatoTid = Dag + (12 + n) / 24.0;
            row->Slot(n).Sted = sted;
        }
        return *raekke_.Add(std::move(row));
    }
    bool Write(std::vector<int> klasser) { return Ov().SaveEditOvelsesRaekke(&klasser, raekke_); }
    bool Write() { return Ov().SaveEditOvelsesRaekke(nullptr, raekke_); }

    TEditOvelsesRaekke raekke_;
};

} // namespace

TEST_F(Ovelser, ARowWithTwoRoundsIsWrittenOnceHoweverOftenItIsSaved) {
    NewMeet();
    Add("M", "100", "IF");
    Write({M});
    const QStringList rounds = {"M/100//LØB", "M/100/F/LØB"};
    EXPECT_EQ(Stored<TKlasseTable>({KlasseField::Klasse, KlasseField::Sortkode, KlasseField::Korttekst}),
              QStringList{"M/" + QString::number(M) + "/" + GetStdKlasseText(M)});
    EXPECT_EQ(Stored<TOvelseRkTable>({OvelseRkField::Klasse, OvelseRkField::Ovelse, OvelseRkField::Runder}),
              QStringList{"M/100/IF"});
    EXPECT_EQ(Rounds(), rounds);
    EXPECT_EQ(Stored<TAfvStedTable>({AfvStedField::Sted, AfvStedField::Sortkode}), QStringList{"LØB/0"});

    Write({M}); // appended records are found again without a reload
    Write();
    EXPECT_EQ(Rounds(), rounds);
    EXPECT_EQ(Stored<TOvelseRkTable>({OvelseRkField::Ovelse}).size(), 1);

    Reopen();
    TEditOvelsesRaekke loaded;
    Ov().LoadEditOvelsesRaekke(loaded);
    ASSERT_EQ(loaded.GetCount(), 1);
    const TEditOvelseData& row = *loaded.GetItem(0);
    EXPECT_TRUE(row.KlasseNr == M && row.Runder == "IF" && row.Slot(2).DatoTid == Dag + 14 / 24.0);
    Ov().SaveEditOvelsesRaekke(nullptr, loaded);
    EXPECT_EQ(Rounds(), rounds);

    Manager().DeleteStaevne();
    EXPECT_EQ(Ov().KlasseIndex().Count(), 0);
}

TEST_F(Ovelser, TheFirstRoundIsStoredWithoutALetterAndFoundWithOrWithoutIt) {
    NewMeet();
    Add("M", "100", "IF");
    Write({M});
    TOvelseInfo* first = Ov().FindOvelseInfo(" m", "100 ", "");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->GetRunde() + IntStr(first->GetRundeNr()), "I1");
    EXPECT_EQ(Ov().FindOvelseInfo("M", "100", "I"), first);
    EXPECT_EQ(Ov().FindOvelseInfo("M", "100", QString(QChar(0))), first);
    TOvelseInfo* final = Ov().FindNextRundeInfo(*first);
    ASSERT_NE(final, nullptr);
    EXPECT_EQ(Ov().FindOvelseInfo("M", "100", "f"), final);
    EXPECT_TRUE(final->IsLastRunde() && !Ov().FindOvelseInfo("M", "100", "S"));

    const QString m = RightJustify(QString::number(M), 5), klasse = m + "  140";
    EXPECT_EQ(QStringList({first->GetKodeKey(), first->GetKlasseSortKey(), final->GetKlasseSortKey(),
                           first->GetOvelseSortKey(), first->GetTidSortKey(), final->GetStedTidSortKey(),
                           first->GetMKKey(), first->GetOvelseText()}),
              QStringList({"  M   100 ", klasse + " 1", klasse + " 4", "  140 1" + m,
                           "20240601130000    0" + klasse + " 1", "    020240601140000" + klasse + " 4", "",
                           "100 m - indledende"}));

    final->OvelseRn().GetField(OvelseRnField::DatoTid)->SetAsFloat(Dag);
    EXPECT_EQ(Ov().TidIndex().GetItem(0), first);
    Ov().Reindex();
    EXPECT_EQ(Ov().TidIndex().GetItem(0), final);
    EXPECT_EQ(Ov().KlasseIndex().GetItem(0), first);
}

TEST_F(Ovelser, AClassTakenOutTakesItsProgrammeAndTheMeetStillOpens) {
    NewMeet();
    Add("M", "100", "IF");
    Add("K", "LÆ", "F", "grav");
    Write({M, K});
    EXPECT_EQ(Rounds().size(), 3);
    Write({M});
    EXPECT_EQ(Stored<TKlasseTable>({KlasseField::Klasse}), QStringList{"M"});
    EXPECT_EQ(Stored<TOvelseRkTable>({OvelseRkField::Klasse}), QStringList{"M"});
    EXPECT_EQ(Rounds(), (QStringList{"M/100//LØB", "M/100/F/LØB"}));
    Reopen();
    EXPECT_EQ(Shown(), QStringList{});
    EXPECT_EQ(Ov().GetInfoCount(), 2);

    // A class record gone by other means: its rounds are left out and named once, the rest opens.
    Write({M, K});
    {
        TKlasseTable table;
        table.Open();
        for (bool found = table.First(); found; found = table.Next()) {
            if (table.GetField(KlasseField::Klasse)->GetTrimmedString() == "K") {
                table.Delete();
                break;
            }
        }
    }
    Reopen();
    const QStringList shown = Shown();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown[0].contains("Klasse \"K\" er ikke defineret i stævnet")) << shown[0].toStdString();
    EXPECT_TRUE(Ov().GetInfoCount() == 2 && Ov().GetKlasser().size() == 1u);
}

TEST_F(Ovelser, ClassesOfTheMeetsOwnAreNeverTakenForStandardClasses) {
    NewMeet();
    for (const char* code : {"XY", "m"}) {
        TKlasseList& list = Ov().KlasseList();
        list.GetRawElement(list.AddNew())->GetField(KlasseField::Klasse)->SetAsString(code);
        Add(code, "100", "F");
    }
    Write();
    EXPECT_EQ(Rounds(), (QStringList{"XY/100//LØB", "m/100//LØB"}));

    TEditOvelsesRaekke loaded;
    Ov().LoadEditOvelsesRaekke(loaded);
    ASSERT_EQ(loaded.GetCount(), 2);
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(loaded.GetItem(i)->KlasseNr, NoStdKlasse);
    // The wizard's classes are standard ones; the meet's own stay with their rows.
    std::vector<int> klasser = {0};
    Ov().SaveEditOvelsesRaekke(&klasser, loaded);
    EXPECT_EQ(Stored<TKlasseTable>({KlasseField::Klasse}).size(), 3);
    EXPECT_EQ(Rounds(), (QStringList{"XY/100//LØB", "m/100//LØB"}));
    EXPECT_EQ(Ov().FindOvelseInfo("XY", "100", "")->GetKlasseKode(), "XY");
    EXPECT_EQ(Ov().FindOvelseInfo("M", "100", "")->GetKlasseKode(), "m");
}

TEST_F(Ovelser, RoundsAreMatchedToTheRowsSlots) {
    NewMeet();
    Add("M", "100", "IF");
    Write({M});
    // A second round without a letter, and one whose letter the row does not name.
    const auto addRound = [&](const char* runde, const char* sted) {
        TOvelseRnElement& round = Ov().AddOvelseRn(*Ov().FindOvelseRk("M", "100"));
        round.GetField(OvelseRnField::Runde)->SetAsString(runde);
        round.GetField(OvelseRnField::Sted)->SetAsString(sted);
        Ov().Save();
    };
    addRound("", "LØB");
    addRound("X", "LØB");
    EXPECT_EQ(Rounds().size(), 4);

    raekke_.GetItem(0)->Runder = "F";
    raekke_.GetItem(0)->Slot(1).Sted = "BANE";
    Write({M});
    EXPECT_EQ(Rounds(), (QStringList{"M/100//BANE", "M/100//BANE"}));
    // Both enter the natural-key index; the lookup gives the first.
    EXPECT_EQ(Ov().KodeIndex().Count(), 2);
    EXPECT_EQ(&Ov().FindOvelseInfo("M", "100", "")->OvelseRn(), Ov().OvelseRnList().GetRawElement(0));

    // Five letters: slots 2 to 4 get rounds, the fifth letter none; a stored fifth round is left alone.
    raekke_.GetItem(0)->Runder = "IMSFK";
    Write({M});
    EXPECT_EQ(Rounds(),
              (QStringList{"M/100//BANE", "M/100//BANE", "M/100/M/LØB", "M/100/S/LØB", "M/100/F/LØB"}));
    Ov().AddAfvSted("egen");
    addRound("K", "EGEN");
    raekke_.GetItem(0)->Slot(4).Sted = "MÅL";
    Write({M});
    EXPECT_TRUE(Rounds().contains("M/100/K/EGEN") && Rounds().contains("M/100/F/MÅL"));
    TEditOvelsesRaekke loaded;
    Ov().LoadEditOvelsesRaekke(loaded);
    EXPECT_EQ(loaded.GetItem(0)->Slot(4).Sted, "MÅL");
    EXPECT_EQ(Ov().FindOvelseInfo("M", "100", "K")->GetRundeNr(), 5);

    // Runder "F": a stored "F" has no slot and goes; the blank ones stay.
    raekke_.GetItem(0)->Runder = "F";
    Write({M});
    EXPECT_EQ(Rounds(), (QStringList{"M/100//BANE", "M/100//BANE"}));
}

// Every stored record of the programme, byte for byte.
template <typename Table>
QStringList RawRecords() {
    Table table;
    table.Open();
    QStringList records;
    for (bool found = table.First(); found; found = table.Next()) {
        const TDataBuffer& buffer = *table.RecordBuffer();
        records << QByteArray(reinterpret_cast<const char*>(buffer.Current()), buffer.Size()).toHex();
    }
    return records;
}

QStringList Programme() {
    return RawRecords<TKlasseTable>() + RawRecords<TOvelseRkTable>() + RawRecords<TOvelseRnTable>() +
           RawRecords<TAfvStedTable>();
}

TEST_F(Ovelser, ClassesSharingASortCodeLoadAsWholeRowsAndSaveBackUnchanged) {
    NewMeet();
    // Standard class 0 and the meet's own classes all sort as 0; M and K share a sort code of their own.
    const QString first = GetStdKlasseKode(0);
    const std::pair<QString, int> klasser[] = {{first, 0}, {"XY", 0}, {"ZZ", 0}, {"M", 7}, {"K", 7}};
    int hour = 0;
    for (const auto& [code, sortkode] : klasser) {
        TKlasseList& list = Ov().KlasseList();
        TDataElement* klasse = list.GetRawElement(list.AddNew());
        klasse->GetField(KlasseField::Klasse)->SetAsString(code);
        klasse->GetField(KlasseField::Sortkode)->SetAsInteger(sortkode);
        for (const char* ovelse : {"100", "LÆ"}) {
            TEditOvelseData& row = Add(code, ovelse, "IMF", code + ovelse);
            for (int n = 1; n <= 3; ++n)
                row.Slot(n).DatoTid = Dag + ++hour / 100.0;
        }
    }
    Write();
    Reopen();
    const QStringList stored = Programme();
    ASSERT_EQ(Rounds().size(), 30);

    TEditOvelsesRaekke loaded;
    Ov().LoadEditOvelsesRaekke(loaded);
    ASSERT_EQ(loaded.GetCount(), 10);
    for (int i = 0; i < loaded.GetCount(); ++i) {
        const TEditOvelseData& row = *loaded.GetItem(i);
        for (int n = 1; n <= 3; ++n)
            EXPECT_EQ(row.Slot(n).Sted, row.Klasse + row.Ovelse) << row.Klasse.toStdString();
    }
    Ov().SaveEditOvelsesRaekke(nullptr, loaded);
    EXPECT_EQ(Programme(), stored);
    Reopen();
    EXPECT_EQ(Programme(), stored);
}

TEST_F(Ovelser, VenuesAreCreatedOnceEventsAndAttributesAsTheCatalogueHasThem) {
    NewMeet();
    Add("M", "100", "F", "løb");
    Add("K", "100", "F", "Løb");
    Add("M", "LÆ", "F", "Grav");
    Add("M", "ZZZ", "F", "Nyt"); // not in the catalogue: passed over
    Add("M", "60H", "F").Attribut = "76 /B";
    Add("K", "60H", "F").Attribut = "77"; // no such definition
    Write({M, K});
    EXPECT_EQ(Stored<TAfvStedTable>({AfvStedField::Sted, AfvStedField::Sortkode}),
              (QStringList{"GRAV/620", "LØB/0"}));
    EXPECT_EQ(Ov().FindAfvSted("grav")->GetField(AfvStedField::Sted)->GetTrimmedString(), "GRAV");
    EXPECT_EQ(Stored<TOvelseRkTable>({OvelseRkField::Klasse, OvelseRkField::Ovelse, OvelseRkField::Attribut}),
              (QStringList{"K/100/", "K/60H/", "M/100/", "M/60H/76 /B", "M/LÆ/"}));
    EXPECT_EQ(Ov().FindOvelseInfo("M", "60H", "")->GetAttributText(), "( 76,2 cm, afstande B )");

    raekke_.GetItem(4)->Attribut = "84 /B"; // an existing event row keeps its attribute
    Write({M, K});
    EXPECT_EQ(Stored<TOvelseRkTable>({OvelseRkField::Attribut}).count("76 /B"), 1);
    EXPECT_EQ(Stored<TAfvStedTable>({AfvStedField::Sted}).size(), 2);
}

TEST_F(Ovelser, AWriteThatFailsLeavesNothingHalfDone) {
    NewMeet();
    Add("M", "100", "F");
    Add("K", "LÆ", "F").Slot(1).ResType = 300; // does not fit its byte
    EXPECT_NE(ErrorText([&] { Write({M, K}); }), "<no error>");
    EXPECT_FALSE(Ov().IsModified() || Ov().KlasseList().GetCount());
    Ov().Save();
    EXPECT_EQ(Stored<TKlasseTable>({KlasseField::Klasse}) + Rounds(), QStringList{});
}

// A disk that refuses the rounds file's writes.
class TRoundsRefused : public RecordManager::FileSystem {
public:
    int beforeWrite(const char* path) override {
        return std::strstr(path, "OVELSERN") ? ENOSPC : FileSystem::beforeWrite(path);
    }
};

TEST_F(Ovelser, ASaveOfRowsThatCannotBeStoredSaysSoAndKeepsThemPending) {
    NewMeet();
    Add("M", "100", "IF");
    {
        TRoundsRefused refused;
        const RecordManager::ScopedFileSystem seam(refused);
        EXPECT_FALSE(Write({M}));
    }
    EXPECT_FALSE(Shown().isEmpty()); // each record that failed
    EXPECT_TRUE(Ov().IsModified() && Rounds().isEmpty() && Ov().GetInfoCount() == 2);
    EXPECT_TRUE(Write({M}));
    EXPECT_FALSE(Ov().IsModified());
    EXPECT_EQ(Rounds(), QStringList({"M/100//LØB", "M/100/F/LØB"}));
}

TEST_F(Ovelser, LookupsRaiseNumberedErrors) {
    NewMeet();
    EXPECT_EQ(ErrorText([&] { Ov().LocateOvelseRk(" k", "lÆ"); }),
              "Object = <TKlOvManager>\r\n<OvelseManager-ErrorNo> = 4\r\n"
              "Klasse \"k\" og øvelse \"lÆ\" er ikke defineret i stævnets øvelsesrække");
    EXPECT_TRUE(ErrorText([&] { Ov().LocateAfvSted("X"); })
                    .startsWith("Object = <TKlOvManager>\r\n"
                                "<OvelseManager-ErrorNo> = 7\r\n"));
    EXPECT_EQ(Ov().AddKlasse(" p12 ")->GetField(KlasseField::Klasse)->GetTrimmedString(), "P12");
    EXPECT_EQ(Ov().AddKlasse("P12"), nullptr);
    EXPECT_EQ(&Ov().LocateKlasse("p12"), Ov().FindKlasse("P12"));
}

// Records whose codes differ from each other only in letter case and blanks, as hand-edited or older
// files hold them, join into rounds and are found by any such spelling; the maps behind the lookups keep
// up with new records and changed codes.
TEST_F(Ovelser, CodesDifferingInCaseOrBlanksJoinAndAreFound) {
    NewMeet();
    const qint32 stID = CurrentStID();
    const auto insert = [stID](TZunoDataTable&& table, std::initializer_list<std::pair<int, QString>> texts) {
        table.Open();
        table.Insert();
        table.GetField(StaevneField::StID)->SetAsInteger(stID);
        for (const auto& [fieldNo, text] : texts)
            table.GetField(fieldNo)->SetAsString(text);
        table.Post();
    };
    insert(TKlasseTable(), {{KlasseField::Klasse, "p1"}});
    insert(TAfvStedTable(), {{AfvStedField::Sted, "Bane1 "}});
    insert(TOvelseRkTable(), {{OvelseRkField::Klasse, " P1"}, {OvelseRkField::Ovelse, "læ"}});
    insert(TOvelseRnTable(),
           {{OvelseRnField::Klasse, "P1 "}, {OvelseRnField::Ovelse, " LÆ"}, {OvelseRnField::Sted, " BANE1"}});
    Reopen();
    EXPECT_EQ(Shown(), QStringList());
    ASSERT_EQ(Ov().GetInfoCount(), 1);
    TOvelseInfo* info = Ov().FindOvelseInfo("p1 ", " Læ", "");
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->GetKlasseKode() + info->GetStedKode(), "p1Bane1");
    EXPECT_EQ(Ov().FindKlasse(" P1 "), &info->Klasse());
    EXPECT_EQ(Ov().FindOvelseRk("p1", "LÆ "), &info->OvelseRk());
    EXPECT_EQ(Ov().FindAfvSted("bane1"), &info->AfvSted());
    EXPECT_EQ(Ov().FindOvelse(" læ")->GetTrimmedString(OvelseField::Ovelse), "LÆ");
    TOvDefElement* ovDef = Ov().FindOvDef("60h", " 76 /b");
    ASSERT_NE(ovDef, nullptr);
    EXPECT_EQ(ovDef->GetTrimmedString(OvDefField::Attribut), "76 /B");
    EXPECT_EQ(Ov().FindOvDef(" 60H ", "76 /B  "), ovDef);

    // A venue added, then its code changed; a second class of another spelling comes after the first.
    TAfvStedElement* added = Ov().AddAfvSted("bane 2");
    EXPECT_EQ(Ov().FindAfvSted("BANE 2 "), added);
    EXPECT_EQ(Ov().AddAfvSted(" Bane 2"), nullptr);
    added->GetField(AfvStedField::Sted)->SetAsString("Kast");
    EXPECT_EQ(Ov().FindAfvSted("BANE 2"), nullptr);
    EXPECT_EQ(Ov().FindAfvSted("kast"), added);
    TKlasseElement* second =
        static_cast<TKlasseElement*>(Ov().KlasseList().GetRawElement(Ov().KlasseList().AddNew()));
    second->GetField(KlasseField::Klasse)->SetAsString("P1");
    EXPECT_EQ(Ov().FindKlasse("P1"), &info->Klasse());
    info->Klasse().GetField(KlasseField::Klasse)->SetAsString("P2");
    EXPECT_EQ(Ov().FindKlasse("p1"), second);
}

TEST_F(Ovelser, RoundTextsTimesAndHeatNames) {
    NewMeet();
    Add("M", "100", "F");
    Add("M", "LÆ", "F");
    Write({M});
    TSystemData& data = Manager().SystemData();
    TOvelseInfo& lob = *Ov().FindOvelseInfo("M", "100", "");
    TOvelseInfo& spring = *Ov().FindOvelseInfo("M", "LÆ", "");
    EXPECT_EQ(lob.GetOvelseText(), "100 m");
    data.AltidFinale = true;
    EXPECT_EQ(lob.GetOvelseText(), "100 m - finale");
    const QString dato = lob.GetDatoTidText();
    lob.OvelseRn().GetField(OvelseRnField::DatoTid)->SetAsFloat(Dag); // midnight, meet starting at midnight
    EXPECT_EQ(dato + "|" + lob.GetDatoTidText(), QStringLiteral("Lør  kl. 13.00|"));
    data.Dato = Dag + 0.5;
    EXPECT_EQ(lob.GetHeatTid(3), 0.5);
    lob.OvelseRn().GetField(OvelseRnField::TidPrHeat)->SetAsInteger(600);
    EXPECT_DOUBLE_EQ(lob.GetHeatTid(3), 0.5 + 1200 / 86400.0);

    EXPECT_TRUE(lob.HasVindmaaling() && lob.IsVindPrHeat() && !lob.IsVindPrForsog());
    EXPECT_TRUE(spring.IsVindPrForsog());
    data.Indendors = true;
    EXPECT_FALSE(spring.HasVindmaaling() || spring.IsVindPrForsog());

    TField* finale = lob.OvelseRn().GetField(OvelseRnField::FinaleType);
    finale->SetAsInteger(2);
    lob.MaxHeatNr = 3;
    lob.AntalHeat = 3;
    EXPECT_EQ(lob.GetHeatNavn(3) + lob.GetHeatNavn(2) + lob.GetHeatNavn(1) + lob.GetHeatText(3),
              "ABCA-FINALE");
    lob.MaxHeatNr = 30;
    lob.AntalHeat = 30;
    EXPECT_EQ(lob.GetHeatNavn(1) + lob.GetHeatNavn(10), "1U"); // "1" would be past "Z"
    finale->SetAsInteger(1);
    EXPECT_EQ(lob.GetHeatNavn(26) + lob.GetHeatText(27), "ZHEAT 27");
    data.Engelsk = true;
    EXPECT_EQ(lob.GetHeatText(2), "B-FINAL");
    spring.AntalHeat = 3;
    EXPECT_EQ(spring.GetHeatText(2) + "|" + spring.GetHeatAntalText(2), "GRUPPE 2|GROUP 2 / 3");
}

TEST_F(Ovelser, RecordsListsAndCombinedEvents) {
    const QByteArray dm =
        "=DM\r\n100;SEN;10.00;A;B;C;D;\r\n60H/76 /B;sen;8.00;A;B;C;D;\r\n"
        "60H/84 /B;SEN;7.90;A;B;C;D;\r\n100;U20;10.50;A;B;C;D;\r\n100;VET;11.00;A;B;C;D;\r\n"
        "60H;SEN;7.80;A;B;C;D;\r\n";
    WriteFile(Path("_rekorder/dm.txt"), dm);
    WriteFile(Path("_rekorder/LAST.TXT"), dm);
    NewMeet();
    Add("M", "100", "F");
    Add("M", "60H", "F").Attribut = "76 /B";
    Add("M", "C200", "F");
    Add("M", "CLÆ", "F");
    Write({M});
    Ov().FindKlasse("M")->GetField(KlasseField::Langtekst)->SetAsString("Mænd #sen #U20");
    for (const char* ovelse : {"C200", "CLÆ"}) {
        TOvelseRkElement& row = *Ov().FindOvelseRk("M", ovelse);
        row.GetField(OvelseRkField::MKOvelse)->SetAsString("7k");
        row.GetField(OvelseRkField::MKOvelseNr)->SetAsInteger(QString(ovelse) == "C200" ? 1 : 2);
    }
    Ov().Save();
    Manager().SystemData().RekordFilenames = "nm; DM;last";
    Manager().SaveStaevneData();
    Shown();
    Manager().OpenStaevne(0);

    const QStringList shown = Shown();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown[0].contains("nm.TXT")) << shown[0].toStdString();
    EXPECT_EQ(Ov().GetRekorderCount(), 1); // "last" has no ";" after it
    const auto marks = [&](const char* ovelse) {
        QStringList found;
        for (const TRekord* rekord : Ov().FindOvelseInfo("M", ovelse, "")->Rekorder())
            found << rekord->Resultat;
        return found;
    };
    EXPECT_EQ(marks("100"), (QStringList{"10.00", "10.50"})); // both groups of the event
    EXPECT_EQ(marks("60H"), (QStringList{"8.00", "7.80"}));

    ASSERT_EQ(Ov().MangekampIndex().Count(), 2);
    TOvelseInfo* second = Ov().FindOvelseInfo("M", "CLÆ", "");
    EXPECT_EQ(second->GetMKKey(), "    7K  2");
    EXPECT_EQ(second->MKOvelser(), std::vector<TOvelseInfo*>{Ov().FindOvelseInfo("M", "C200", "")});
}

TEST(EditOvelsesRaekke, SortedInsertRefusesARowEqualOnBothNumbers) {
    TEditOvelsesRaekke raekke;
    for (const auto& [klasse, ovelse, added] :
         {std::tuple(2, 100, true), {1, 300, true}, {2, 50, true}, {1, 300, false}}) {
        auto row = std::make_unique<TEditOvelseData>();
        row->KlasseNr = klasse;
        row->OvelseNr = ovelse;
        EXPECT_EQ(raekke.AddSorted(std::move(row)), added);
    }
    ASSERT_EQ(raekke.GetCount(), 3);
    EXPECT_EQ(raekke.GetItem(1)->OvelseNr, 50);
    raekke.SortByOvelse();
    EXPECT_EQ(raekke.GetItem(2)->OvelseNr, 300);
    std::unique_ptr<TEditOvelseData> taken = raekke.Remove(raekke.GetItem(1));
    ASSERT_NE(taken, nullptr);
    EXPECT_EQ(raekke.Remove(taken.get()), nullptr);
}

TEST_F(Ovelser, ASaveStampsTheRecordsAndTheMeetWithTheModelsClock) {
    NewMeet();
    const TClockScope clock(45500.75);
    Ov().AddKlasse("P12");
    ASSERT_TRUE(Ov().Save());
    EXPECT_EQ(Stored<TKlasseTable>({KlasseField::SidstRettet}), QStringList{"27-07-2024 18:00:00"});
    TStaevneTable meets;
    meets.Open();
    ASSERT_TRUE(meets.First());
    EXPECT_EQ(meets.GetField(StaevneField::OvelseRettet)->GetAsFloat(), 45500.75);
    // Nothing changed: no new stamp.
    const TClockScope later(45501.0);
    ASSERT_TRUE(Ov().Save());
    meets.GetFirst();
    EXPECT_EQ(meets.GetField(StaevneField::OvelseRettet)->GetAsFloat(), 45500.75);
}

TEST_F(Ovelser, EveryIndexKeepsTheOrderOfItsKeyTexts) {
    NewMeet();
    // Sort codes as the key texts have them: negative ones (a minus sign sorts between a blank and a
    // digit), the largest and smallest stored, one shared by two classes.
    const std::pair<QString, int> klasser[] = {{"XA", 12},  {"XB", -5}, {"XC", 3}, {"XD", 32767},
                                               {"XE", -40}, {"XF", 7},  {"ÆØ", 7}, {"XH", -32768}};
    int step = 0;
    for (const auto& [code, sortkode] : klasser) {
        TKlasseList& list = Ov().KlasseList();
        TDataElement* klasse = list.GetRawElement(list.AddNew());
        klasse->GetField(KlasseField::Klasse)->SetAsString(code);
        klasse->GetField(KlasseField::Sortkode)->SetAsInteger(sortkode);
        for (const char* ovelse : {"100", "LÆ", "HØ"}) {
            TEditOvelseData& row = Add(code, ovelse, "KSF", (step % 3 == 0) ? "A" : "B");
            for (int n = 1; n <= 3; ++n)
                row.Slot(n).DatoTid = Dag + ((step * 7 + n * 5) % 11) / 24.0;
            ++step;
        }
    }
    Write();
    TAfvStedList& steder = Ov().AfvStedList();
    for (int i = 0; i < steder.GetCount(); ++i)
        steder.GetRawElement(i)->GetField(AfvStedField::Sortkode)->SetAsInteger(i == 0 ? -3 : 2);
    Ov().Save();
    Reopen();
    ASSERT_EQ(Ov().GetInfoCount(), 72);
    const auto textsInOrder = [](const TOvelseInfoIndex& index, QString (TOvelseInfo::*key)() const) {
        QStringList texts;
        for (const auto& [k, info] : index)
            texts.append((info->*key)());
        return texts;
    };
    const std::pair<const TOvelseInfoIndex*, QString (TOvelseInfo::*)() const> indexes[] = {
        {&Ov().KlasseIndex(), &TOvelseInfo::GetKlasseSortKey},
        {&Ov().OvelseIndex(), &TOvelseInfo::GetOvelseSortKey},
        {&Ov().TidIndex(), &TOvelseInfo::GetTidSortKey},
        {&Ov().StedTidIndex(), &TOvelseInfo::GetStedTidSortKey},
        {&Ov().KodeIndex(), &TOvelseInfo::GetKodeKey}};
    for (const auto& [index, key] : indexes) {
        const QStringList texts = textsInOrder(*index, key);
        EXPECT_EQ(texts.size(), 72);
        QStringList sorted = texts;
        std::stable_sort(sorted.begin(), sorted.end());
        EXPECT_EQ(texts, sorted);
    }
    // Found by codes in any case, Danish letters too.
    TOvelseInfo* found = Ov().FindOvelseInfo("æø", "hø", "s");
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->GetKodeKey(), " ÆØ    HØS");
}

TEST_F(Ovelser, TheProgrammeIsReadAgainOnlyWhenItsFilesChanged) {
    NewMeet();
    Add("M", "100", "IF");
    Write({FindStdKlasse("M")});
    Ov().Reload();
    ASSERT_EQ(Ov().GetInfoCount(), 2);
    EXPECT_FALSE(Ov().ReloadIfChanged());
    // A round added by another program.
    TOvelseRnTable runder;
    runder.Open();
    runder.Insert();
    runder.GetField(StaevneField::StID)->SetAsInteger(CurrentStID());
    runder.GetField(OvelseRnField::Klasse)->SetAsString("M");
    runder.GetField(OvelseRnField::Ovelse)->SetAsString("100");
    runder.GetField(OvelseRnField::Runde)->SetAsString("S");
    runder.GetField(OvelseRnField::Sted)->SetAsString("LØB");
    runder.Post();
    EXPECT_EQ(Ov().FindOvelseInfo("M", "100", "S"), nullptr);
    EXPECT_TRUE(Ov().ReloadIfChanged());
    EXPECT_NE(Ov().FindOvelseInfo("M", "100", "S"), nullptr);
    EXPECT_FALSE(Ov().ReloadIfChanged());
    // Its own save, and another meet.
    Ov().FindKlasse("M")->GetField(KlasseField::Korttekst)->SetAsString("Mænd");
    Ov().Save();
    EXPECT_TRUE(Ov().ReloadIfChanged());
    CreateMeet(QStringLiteral("Andet stævne"));
    EXPECT_EQ(Ov().GetReloadedStID(), CurrentStID());
    EXPECT_FALSE(Ov().ReloadIfChanged());
}

// Codes in any case, with Danish letters and blanks, rounds with and without letters, ties on every key,
// and two event rows of one class and event: the rounds join the records a lookup by code finds, and each
// index holds the keys its rounds' own key texts give, in the order a new indexing of them gives.
TEST_F(Ovelser, ReadingTheProgrammeJoinsAndKeysAsTheLookupsAndKeyTextsDo) {
    NewMeet();
    const qint32 stID = CurrentStID();
    const auto insert = [stID](TZunoDataTable&& table,
                               std::initializer_list<std::pair<int, TKeyValue>> values) {
        table.Open();
        table.Insert();
        table.GetField(StaevneField::StID)->SetAsInteger(stID);
        for (const auto& [fieldNo, value] : values)
            table.GetField(fieldNo)->AssignValue(value);
        table.Post();
    };
    insert(TKlasseTable(), {{KlasseField::Klasse, QString("p1")}, {KlasseField::Sortkode, qint64(2)}});
    insert(TKlasseTable(), {{KlasseField::Klasse, QString("Æb")}, {KlasseField::Sortkode, qint64(2)}});
    insert(TKlasseTable(), {{KlasseField::Klasse, QString(" k ")}, {KlasseField::Sortkode, qint64(-1)}});
    insert(TAfvStedTable(), {{AfvStedField::Sted, QString("bane1")}, {AfvStedField::Sortkode, qint64(3)}});
    insert(TAfvStedTable(), {{AfvStedField::Sted, QString("Øst ")}});
    namespace R = OvelseRkField;
    insert(TOvelseRkTable(),
           {{R::Klasse, QString(" P1")}, {R::Ovelse, QString("100")}, {R::Runder, QString("if")}});
    insert(TOvelseRkTable(), {{R::Klasse, QString("p1")},
                              {R::Ovelse, QString("læ")},
                              {R::Runder, QString("F")},
                              {R::MKOvelse, QString("Fem")},
                              {R::MKOvelseNr, qint64(1)}});
    insert(TOvelseRkTable(),
           {{R::Klasse, QString("P1")}, {R::Ovelse, QString("LÆ ")}, {R::Runder, QString("MF")}});
    insert(TOvelseRkTable(), {{R::Klasse, QString("æB")},
                              {R::Ovelse, QString("100")},
                              {R::Runder, QString("ksf")},
                              {R::MKOvelse, QString("fem")},
                              {R::MKOvelseNr, qint64(2)}});
    insert(TOvelseRkTable(), {{R::Klasse, QString("K")}, {R::Ovelse, QString("60h")}});
    namespace N = OvelseRnField;
    const auto round = [&](const char* klasse, const char* ovelse, const char* runde, const char* sted,
                           int hour) {
        insert(TOvelseRnTable(), {{N::Klasse, QString(klasse)},
                                  {N::Ovelse, QString(ovelse)},
                                  {N::Runde, QString(runde)},
                                  {N::Sted, QString(sted)},
                                  {N::DatoTid, Dag + hour / 24.0}});
    };
    round("p1", "100", "", "BANE1", 10);
    round("P1 ", "100", "f", "bane1", 12);
    round("p1", "LÆ", "", "Bane1", 10);
    round("p1", "læ", "", "BANE1", 10);
    round("ÆB", "100", "k", "øst", 9);
    round("æb", "100", "s", " ØST", 10);
    round("æb", "100", "", "Øst", 10);
    round("k", "60H", "", "øst", 10);
    Reopen();
    EXPECT_EQ(Shown(), QStringList());
    ASSERT_EQ(Ov().GetInfoCount(), 8);

    // Both spellings of the long jump join the row a lookup by code finds; of the two rounds with the
    // same codes the first read is found; a letter of the row finds its round.
    TOvelseRkElement* first = Ov().FindOvelseRk("P1", "LÆ");
    ASSERT_NE(first, nullptr);
    std::vector<TOvelseInfo*> laengde;
    const auto withLetter = [&](const QString& ovelse, const QString& stored) {
        for (int i = 0; i < Ov().GetInfoCount(); ++i) {
            TOvelseInfo* info = Ov().GetInfo(i);
            if (info->GetOvelseKode().toUpper() == ovelse &&
                info->OvelseRn().GetTrimmedString(N::Runde).toUpper() == stored)
                return info;
        }
        return static_cast<TOvelseInfo*>(nullptr);
    };
    for (int i = 0; i < Ov().GetInfoCount(); ++i) {
        if (Ov().GetInfo(i)->GetOvelseKode().toUpper() == "LÆ")
            laengde.push_back(Ov().GetInfo(i));
    }
    ASSERT_EQ(laengde.size(), 2u);
    EXPECT_EQ(&laengde[0]->OvelseRk(), first);
    EXPECT_EQ(&laengde[1]->OvelseRk(), first);
    EXPECT_EQ(Ov().FindOvelseInfo("P1", "LÆ", ""), laengde[0]);
    EXPECT_EQ(Ov().FindOvelseInfo("æb", "100", "K"), withLetter("100", "K"));
    EXPECT_EQ(Ov().FindOvelseInfo("p1", "100", "f"), withLetter("100", "F"));
    EXPECT_EQ(Ov().FindNextRundeInfo(*withLetter("100", "K")), withLetter("100", "S"));
    EXPECT_EQ(Ov().MangekampIndex().Count(), 3);
    // Letters stored in either case; a round without one has its row's first.
    const auto letter = [&](const char* klasse, const char* ovelse, const char* runde) {
        const TOvelseInfo* info = Ov().FindOvelseInfo(klasse, ovelse, runde);
        return info ? info->GetRunde() + IntStr(info->GetRundeNr()) : QString("-");
    };
    EXPECT_EQ(letter("p1", "100", ""), "I1");
    EXPECT_EQ(letter("P1", "100", "F"), "F2");
    EXPECT_EQ(letter("æb", "100", "s"), "S2");
    EXPECT_EQ(letter("K", "60H", ""), "1");

    using TPart = TOvelseInfoKey TOvelseInfo::TIndexKeys::*;
    const std::pair<const TOvelseInfoIndex*, TPart> indexes[] = {
        {&Ov().KlasseIndex(), &TOvelseInfo::TIndexKeys::Klasse},
        {&Ov().OvelseIndex(), &TOvelseInfo::TIndexKeys::Ovelse},
        {&Ov().TidIndex(), &TOvelseInfo::TIndexKeys::Tid},
        {&Ov().StedTidIndex(), &TOvelseInfo::TIndexKeys::StedTid},
        {&Ov().KodeIndex(), &TOvelseInfo::TIndexKeys::Kode},
        {&Ov().MangekampIndex(), &TOvelseInfo::TIndexKeys::MK}};
    std::vector<std::vector<const TOvelseInfo*>> orders;
    for (const auto& [index, part] : indexes) {
        std::vector<const TOvelseInfo*> order;
        for (const auto& [key, info] : *index) {
            EXPECT_EQ(key, info->GetIndexKeys().*part) << info->GetKodeKey().toStdString();
            order.push_back(info);
        }
        orders.push_back(order);
    }
    EXPECT_EQ(Ov().KodeIndex().GetItem(0)->GetKodeKey(), "  K   60H ");
    Ov().Reindex();
    for (std::size_t i = 0; i < std::size(indexes); ++i) {
        std::vector<const TOvelseInfo*> again;
        for (const auto& [key, info] : *indexes[i].first)
            again.push_back(info);
        EXPECT_EQ(again, orders[i]) << "index " << i + 1;
    }
}

// A programme of hundreds of event rows, some codes in lower case and one row twice: every round joins the
// row, class and event that the lookups by code find.
TEST_F(Ovelser, InABigProgrammeEveryRoundJoinsTheRecordsTheLookupsFind) {
    NewMeet();
    const qint32 stID = CurrentStID();
    QStringList ovelser;
    for (int i = 0; i < Ov().OvelseList().GetCount() && ovelser.size() < 15; ++i)
        ovelser << Ov().OvelseList().GetElement(i)->GetTrimmedString(OvelseField::Ovelse);
    ASSERT_EQ(ovelser.size(), 15);
    TKlasseTable klasser;
    TAfvStedTable steder;
    TOvelseRkTable rows;
    TOvelseRnTable runder;
    for (TZunoDataTable* table : std::initializer_list<TZunoDataTable*>{&klasser, &steder, &rows, &runder})
        table->Open();
    const auto post = [stID](TZunoDataTable& table, std::initializer_list<std::pair<int, TKeyValue>> values) {
        table.Insert();
        table.GetField(StaevneField::StID)->SetAsInteger(stID);
        for (const auto& [fieldNo, value] : values)
            table.GetField(fieldNo)->AssignValue(value);
        table.Post();
    };
    post(steder, {{AfvStedField::Sted, QString("BANE")}});
    int count = 0;
    for (int k = 0; k < 20; ++k) {
        const QString klasse = QString("a%1").arg(k, 2, 10, QChar('0'));
        post(klasser, {{KlasseField::Klasse, klasse.toUpper()}, {KlasseField::Sortkode, qint64(k)}});
        for (int e = 0; e < ovelser.size(); ++e) {
            // Codes as typed: the class in lower case every other row.
            const QString rowKlasse = e % 2 ? klasse : klasse.toUpper();
            post(rows, {{OvelseRkField::Klasse, rowKlasse},
                        {OvelseRkField::Ovelse, ovelser[e]},
                        {OvelseRkField::Runder, QString("IF")}});
            if (k == 7 && e == 3)
                post(rows, {{OvelseRkField::Klasse, klasse.toUpper()},
                            {OvelseRkField::Ovelse, ovelser[e]},
                            {OvelseRkField::Runder, QString("MF")}});
            for (const QString& runde : {QString(), QString("f")}) {
                post(runder, {{OvelseRnField::Klasse, klasse},
                              {OvelseRnField::Ovelse, ovelser[e].toLower()},
                              {OvelseRnField::Runde, runde},
                              {OvelseRnField::Sted, QString("bane")},
                              {OvelseRnField::DatoTid, Dag + (k * 15 + e) / 1440.0}});
                ++count;
            }
        }
    }
    Reopen();
    EXPECT_EQ(Shown(), QStringList());
    ASSERT_EQ(Ov().GetInfoCount(), count);
    for (int i = 0; i < Ov().GetInfoCount(); ++i) {
        TOvelseInfo* info = Ov().GetInfo(i);
        const QString klasse = info->OvelseRn().GetTrimmedString(OvelseRnField::Klasse);
        const QString ovelse = info->OvelseRn().GetTrimmedString(OvelseRnField::Ovelse);
        ASSERT_EQ(&info->OvelseRk(), Ov().FindOvelseRk(klasse, ovelse))
            << klasse.toStdString() << ovelse.toStdString();
        EXPECT_EQ(&info->Klasse(), Ov().FindKlasse(klasse));
        EXPECT_EQ(&info->Ovelse(), Ov().FindOvelse(ovelse));
        // The row twice: "A07" orders before "a07", so the later row written is the one found.
        const bool twice = klasse.toUpper() == "A07" && ovelse.toUpper() == ovelser[3].toUpper();
        const bool stored = !info->OvelseRn().GetTrimmedString(OvelseRnField::Runde).isEmpty();
        EXPECT_EQ(info->GetRunde(), stored ? "F" : (twice ? "M" : "I"));
    }
}
