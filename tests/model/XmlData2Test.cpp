// The XML documents of a meet whose programme holds every kind of event: runs in heats with wind per
// heat, a long jump with wind per attempt, a high jump, a shot put, a relay, a combined event and a team
// competition, with Danish letters, "&", "<", a euro sign and control characters in its texts.
#include "model/D_XmlData2.h"

#include "support/Test.h"

#include "ResultFixture.h"
#include "XmlFiles.h"
#include "foundation/LxString.h"
#include "model/D_Ovelser.h"
#include "model/D_Staevne.h"

#include <QDate>
#include <QTime>

namespace {

using namespace ResultatField;

const QString GoldenRound = QStringLiteral(ZUNO_SOURCE_DIR "/tests/data/xml/ovelse-laengdespring.xml");

class XmlData2 : public TResultTest {
protected:
    XmlData2()
        : clock_(EncodeDateTime(QDate(2024, 6, 1), QTime(15, 30, 0))) {}

    void SetUp() override {
        TSystemData& data = Manager().SystemData();
        data.Overskrift1 = QStringLiteral("Åbent stævne & <DM> i Ærøskøbing €");
        data.Overskrift3 = QStringLiteral("Tredje \"linje\"");
        data.Arrangor = QStringLiteral("Atletik\tForening\r\nØst") + QChar(1) + QStringLiteral("slut");
        data.Stadion = QStringLiteral("Østerbro Stadion");
        data.Dato = QDateToDateTime(QDate(2024, 6, 1)) + 10 / 24.0;
        data.EgenTurnering = true;
        data.AntalTaellendeDeltagere = 2;
        data.RekordFilenames = QStringLiteral("DM;");
        Manager().SaveStaevneData();
        WriteFile(Path("_rekorder/DM.TXT"),
                  Windows1252::Encode(
                      QStringLiteral("=DM rekorder\r\nLÆ;SEN;8.49;Jens & <Co>;AGF;Århus;1996;\r\n")));

        AddProgramme({{"K", "KU", "F"}, {"K", "7K", "F"}});
        int nr = 0;
        for (const char* ovelse : {"100", "KU", "7K"}) {
            TOvelseRkElement* row = Ov().FindOvelseRk("K", ovelse);
            row->GetField(OvelseRkField::MKOvelse)->SetAsString("7K");
            row->GetField(OvelseRkField::MKOvelseNr)->SetAsInteger(++nr);
        }
        Ov().FindOvelseRk("M", "LÆ")->GetField(OvelseRkField::Attribut)->SetAsString("P");
        Ov().FindKlasse("M")->GetField(KlasseField::Langtekst)->SetAsString("Mænd #SEN");
        Ov().Save();
        Ov().Reload();
        SetRunde(Round("M", "LÆ"), OvelseRnField::AntalPrHold, 2);
        SetRunde(Round("K", "7K"), OvelseRnField::AutoCalcPoint, 1);

        AddKlub(1, QStringLiteral("Aarhus & Omegn <AO>"), QStringLiteral("AO€"), QStringLiteral("A"));
        AddKlub(2, QStringLiteral("Ølstykke IF"), QStringLiteral("ØIF"), QStringLiteral("B"));
        AddKlub(3, QStringLiteral("Klub uden deltagere"));
        const std::pair<qint32, const char*> men[] = {
            {1, "Søren Ærø"},   {2, "Åge <Hansen>"}, {3, "Peter € Larsen"}, {4, "Jens Østergård"},
            {11, "Ib Ølgaard"}, {12, "Bo Bæk"},      {13, "Ole Å"},         {14, "Kim Kær"}};
        for (const auto& [startnummer, navn] : men)
            AddDeltager(startnummer, QString::fromUtf8(navn), 1990 + startnummer, startnummer < 10 ? 1 : 2,
                        "M");
        AddDeltager(21, QStringLiteral("Grete Ærtebjerg"), 1998, 1, "K");
        AddDeltager(22, QStringLiteral("Mette Ørsted"), 2001, 2, "K");
        AddDeltager(100, QStringLiteral("Aarhus & Omegn 1. hold"), 0, 1);
        AddDeltager(101, QStringLiteral("Ølstykke IF 1. hold"), 0, 2);

        // 100 m, first round: three heats with wind per heat, a disqualification in heat 3.
        const std::tuple<qint32, qint32, qint32, qint32, qint32> runs[] = {
            {1, 1, 3, 1052, 12},  {11, 1, 4, 1071, 12}, {2, 2, 3, 1090, -5},
            {12, 2, 4, 1088, -5}, {3, 3, 3, 1101, 0},   {13, 3, 4, 0, 0}};
        for (const auto& [startnummer, heat, bane, tid, vind] : runs) {
            AddResultat(
                Round("M", "100", "I"), startnummer,
                [fields = Fields(
                     {{Heat, heat}, {Banenummer, bane}, {Resultat, tid}, {Vind, vind}, {Seedning, 1100}}),
                 disk = startnummer == 13](TResultatTable& t) {
                    fields(t);
                    if (disk)
                        t.GetField(ResultatKode)->SetAsString("D");
                });
        }
        // Long jump with the wind of every attempt; a foul, a pass and a jump without wind.
        AddResultat(Round("M", "LÆ"), 1, Fields({{Heat, 1}, {PersonligRekord, 720}}),
                    Serie({{712, 12}, {0, 0}, {735, 21}, {SeriePas, 0}}));
        AddResultat(Round("M", "LÆ"), 2, Fields({{Heat, 1}, {Efteranmeldelse, 1}}),
                    Serie({{690, -3}, {701, SerieUdenVind}}));
        AddResultat(Round("M", "LÆ"), 11, Fields({{Heat, 1}}), Serie({{705, 5}, {0, 0}}));
        AddResultat(Round("M", "LÆ"), 12, Fields({{Heat, 1}}), Serie({{650, 0}}));
        AddResultat(Round("M", "LÆ"), 14, Fields({{Heat, 0}}));
        // High jump: two heights each, the second after a jump-off number.
        AddResultat(Round("M", "HØ"), 3, Fields({{Heat, 1}}), Serie({{180, 3}, {185, 223}}));
        AddResultat(Round("M", "HØ"), 4, Fields({{Heat, 1}}), Serie({{180, 23}, {185, 222}}));
        AddResultat(Round("M", "KU"), 4, Fields({{Heat, 1}}), Serie({{1402, 0}, {0, 0}, {1455, 0}}));
        // Relays with their legs.
        AddResultat(Round("M", "4X100"), 100, Fields({{Heat, 1}, {Banenummer, 4}, {Resultat, 4210}}),
                    Serie({{1, 0}, {2, 0}, {3, 0}, {4, 0}}));
        AddResultat(Round("M", "4X100"), 101, Fields({{Heat, 2}, {Banenummer, 5}, {Resultat, 4302}}),
                    Serie({{11, 0}, {12, 0}, {13, 0}, {14, 0}}));
        // A combined event: two disciplines and the totals' round.
        for (const auto& [startnummer, tid, kast, point100, pointKast] :
             {std::tuple(21, 1250, 1210, 850.0, 700.0), std::tuple(22, 1302, 1344, 780.0, 760.0)}) {
            AddResultat(Round("K", "100"), startnummer,
                        [fields = Fields({{Heat, 1}, {Resultat, tid}, {Vind, 8}}),
                         point = point100](TResultatTable& t) {
                            fields(t);
                            t.GetField(Point)->SetAsFloat(point);
                        });
            AddResultat(
                Round("K", "KU"), startnummer,
                [point = pointKast](TResultatTable& t) {
                    t.GetField(Heat)->SetAsInteger(1);
                    t.GetField(Point)->SetAsFloat(point);
                },
                Serie({{kast, 0}}));
            AddResultat(Round("K", "7K"), startnummer, Fields({{Heat, 1}}));
        }
        Shown();
    }

    // The round loaded and sorted as the batch job sorts it.
    std::unique_ptr<TResultatManager> Loaded(TOvelseInfo& round) {
        auto manager = std::make_unique<TResultatManager>();
        manager->LoadOvelse(&round);
        manager->SortHeatBaneSide();
        return manager;
    }
    QStringList RoundDocument(TOvelseInfo& round, bool klubber, const QStringList& heats = {}) {
        QStringList lines;
        TXmlData2().MakeXmlOvelse(lines, *Loaded(round), klubber, heats);
        return lines;
    }
    QStringList MeetDocument() {
        QStringList lines;
        TXmlData2().MakeXmlStaevne(lines);
        return lines;
    }

    const TClockScope clock_;
};

} // namespace

TEST_F(XmlData2, EveryDocumentOfTheMeetIsWellFormed) {
    QStringList staevne;
    QStringList info;
    TXmlData2().MakeXmlStaevne(staevne);
    TXmlData2().MakeXmlStaevneInfo(info);
    EXPECT_EQ(SavedXmlLint(staevne, Path("staevne.xml")), QString());
    EXPECT_EQ(SavedXmlLint(info, Path("info.xml")), QString());
    for (int i = 0; i < Ov().GetInfoCount(); ++i) {
        TOvelseInfo& round = *Ov().GetInfo(i);
        EXPECT_EQ(SavedXmlLint(RoundDocument(round, true), Path("ovelse.xml")), QString())
            << round.GetKlasseOvelseKode().toStdString();
    }
    QStringList files;
    // A character beyond the 16-bit range is one reference; half of one is no character and is dropped.
    const QString smil = QString::fromUtf8("smil\xF0\x9F\x98\x80.xml");
    TXmlData2().MakeXmlFileList(files, {QStringLiteral("a&b<c>.xml"), QStringLiteral("æøå€.xml"), smil,
                                        QStringLiteral("halv") + QChar(0xD83D) + QStringLiteral(".xml")});
    EXPECT_EQ(SavedXmlLint(files, Path("files.xml")), QString());
    EXPECT_EQ(XmlValues(files, "File", "Name"), QStringList({"a&b<c>.xml", "æøå€.xml", smil, "halv.xml"}));
    EXPECT_TRUE(files.contains(QStringLiteral("<File Name=\"smil&#128512;.xml\" />")));
    // Nothing was shown on the way.
    EXPECT_EQ(Shown(), QStringList());
}

TEST_F(XmlData2, TextsReadBackAsHeldAndControlCharactersAreDropped) {
    const QStringList lines = MeetDocument();
    EXPECT_EQ(lines.first(), QStringLiteral("<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>"));
    EXPECT_EQ(lines.at(1), QStringLiteral("<Zuno xmlns=\"http://zuno2.invalid/Zuno2Data.xsd\" >"));
    EXPECT_EQ(lines.last(), QStringLiteral("</Zuno>"));
    const TXmlElement staevne = XmlElements(lines, "Staevne").at(0);
    EXPECT_EQ(staevne.Attributes.value("Overskrift1"), QStringLiteral("Åbent stævne & <DM> i Ærøskøbing €"));
    EXPECT_EQ(staevne.Attributes.value("Overskrift3"), QStringLiteral("Tredje \"linje\""));
    EXPECT_EQ(staevne.Attributes.value("Arrangor"), QStringLiteral("Atletik\tForening\r\nØstslut"));
    // An empty heading is no attribute at all.
    EXPECT_FALSE(staevne.Attributes.contains("Overskrift2"));
    EXPECT_EQ(XmlValues(lines, "Klub", "Navn"),
              QStringList({"Aarhus & Omegn <AO>", "Ølstykke IF", "Klub uden deltagere"}));
    // The characters as written: references for the quote, "&", "<", ">", the euro sign and tab, CR, LF.
    const QString text = lines.join(u'\n');
    EXPECT_TRUE(text.contains(QStringLiteral("Navn=\"Aarhus &#38; Omegn &#60;AO&#62;\" ")));
    EXPECT_TRUE(text.contains(QStringLiteral("KortNavn=\"AO&#8364;\" ")));
    EXPECT_TRUE(text.contains(QStringLiteral("Overskrift3=\"Tredje &#34;linje&#34;\" ")));
    EXPECT_TRUE(text.contains(QStringLiteral("Arrangor=\"Atletik&#9;Forening&#13;&#10;Østslut\" ")));
}

TEST_F(XmlData2, MeetPartClassesVenuesAndClubsWithEntries) {
    const QStringList lines = MeetDocument();
    const TXmlElement node = XmlElements(lines, "Node").at(0);
    EXPECT_EQ(node.Attributes.value("Text"), QStringLiteral("ZUNO stævner"));
    EXPECT_FALSE(node.Attributes.contains("Level"));
    const TXmlElement staevne = XmlElements(lines, "Staevne").at(0);
    EXPECT_EQ(staevne.Path, QStringList({"Zuno", "Node"}));
    EXPECT_EQ(staevne.Attributes.value("Id"), IntStr(CurrentStID()));
    EXPECT_EQ(staevne.Attributes.value("Navn"), QStringLiteral("Stævne"));
    EXPECT_EQ(staevne.Attributes.value("Dato"), QStringLiteral("2024-06-01"));
    EXPECT_EQ(staevne.Attributes.value("EgenTurnering"), QStringLiteral("true"));
    EXPECT_EQ(staevne.Attributes.value("DT"), QStringLiteral("false"));
    // A team competition names its counts; only a team league its teams.
    EXPECT_EQ(staevne.Attributes.value("AntalTaellendeDeltagere"), QStringLiteral("2"));
    EXPECT_FALSE(staevne.Attributes.contains("AntalDTHold"));
    EXPECT_EQ(XmlElements(lines).at(3).Name, QStringLiteral("Scoreboard"));

    EXPECT_EQ(XmlValues(lines, "Klasse", "Id"), QStringList({"K", "M"}));
    EXPECT_EQ(XmlValues(lines, "Sted", "Id"), QStringList({"STADION"}));
    // Participants by start number in their clubs, each with the entries of the meet's rounds.
    QStringList deltagere;
    for (const TXmlElement& element : XmlElements(lines, "Deltager")) {
        if (element.Path.endsWith("Klub"))
            deltagere.append(element.Attributes.value("StartNr") + u'/' +
                             element.Attributes.value("Alder", "-"));
    }
    EXPECT_EQ(deltagere, QStringList({"1/33", "2/32", "3/31", "4/30", "21/26", "100/-", "11/23", "12/22",
                                      "13/21", "14/20", "22/23", "101/-"}));
    // The entries in programme order; the round letter only of an event with more rounds.
    std::map<QString, QStringList> entries;
    QString startNr;
    for (const TXmlElement& element : XmlElements(lines)) {
        if (element.Name == u"Deltager" && element.Path.endsWith("Klub"))
            startNr = element.Attributes.value("StartNr");
        if (element.Name == u"Ovelse" && element.Path.endsWith("Deltager"))
            entries[startNr].append(
                element.Attributes.value("KlasseId") + u' ' + element.Attributes.value("OvelseId") + u' ' +
                element.Attributes.value("Runde", "-") + u' ' + element.Attributes.value("RundeTekst") +
                u' ' + element.Attributes.value("RundeNr") + u'/' + element.Attributes.value("AntalRunder"));
    }
    EXPECT_EQ(entries["1"], QStringList({"M 100 I indledende 1/2", "M LÆ - finale 1/1"}));
    EXPECT_EQ(entries["21"], QStringList({"K 100 - finale 1/1", "K KU - finale 1/1", "K 7K - finale 1/1"}));
    // A relay's members have no entries of their own; the team's participant has the relay's.
    EXPECT_EQ(entries["14"], QStringList({"M LÆ - finale 1/1"}));
    EXPECT_EQ(entries["100"], QStringList({"M 4X100 - finale 1/1"}));
    EXPECT_EQ(XmlElements(lines, "Klub").back().Attributes.value("Navn"),
              QStringLiteral("Klub uden deltagere"));
}

TEST_F(XmlData2, RoundsWithTheirRecordsHeatsRowsAndTeams) {
    const QStringList lines = MeetDocument();
    std::map<QString, TXmlElement> rounds;
    for (const TXmlElement& element : XmlElements(lines, "Ovelse")) {
        if (element.Path.endsWith("Staevne"))
            rounds[element.Attributes.value("KlasseId") + u' ' + element.Attributes.value("Id") + u' ' +
                   element.Attributes.value("Runde")] = element;
    }
    ASSERT_EQ(rounds.size(), 9u);
    const TXmlElement& lob = rounds.at("M 100 I");
    EXPECT_EQ(lob.Attributes.value("RundeTekst"), QStringLiteral("indledende"));
    EXPECT_EQ(lob.Attributes.value("DatoTid"), QStringLiteral("2024-06-01T23:00:00"));
    EXPECT_EQ(lob.Attributes.value("SidstRettet"), QStringLiteral("2024-06-01T15:30:00"));
    EXPECT_EQ(lob.Attributes.value("AntalHeat"), QStringLiteral("3"));
    EXPECT_EQ(lob.Attributes.value("VindPrHeat"), QStringLiteral("true"));
    EXPECT_EQ(rounds.at("M 100 F").Attributes.value("SidstRettet", "-"), QStringLiteral("-"));
    const TXmlElement& laengde = rounds.at("M LÆ F");
    EXPECT_EQ(laengde.Attributes.value("Attribut"), QStringLiteral("P"));
    EXPECT_EQ(laengde.Attributes.value("AttributTekst"), QStringLiteral("Afsætsplanke"));
    EXPECT_EQ(laengde.Attributes.value("VindPrDeltager"), QStringLiteral("true"));
    EXPECT_EQ(rounds.at("K 7K F").Attributes.value("MangekampOvelse"), QStringLiteral("true"));
    EXPECT_EQ(rounds.at("K KU F").Attributes.value("MKOvelseNr"), QStringLiteral("2"));

    EXPECT_EQ(XmlValues(lines, "Rekord", "Id"), QStringList({"DM rekorder (SEN): "}));
    EXPECT_EQ(XmlValues(lines, "Rekord", "Navn"), QStringList({"Jens & <Co>"}));
    // Each round's heats with their winds, and its rows with place and result, in document order.
    std::map<QString, QStringList> heats;
    std::map<QString, QStringList> placed;
    QString round;
    for (const TXmlElement& element : XmlElements(lines)) {
        if (element.Name == u"Ovelse" && element.Path.endsWith("Staevne"))
            round = element.Attributes.value("KlasseId") + u' ' + element.Attributes.value("Id");
        else if (element.Name == u"Heat")
            heats[round].append(element.Attributes.value("Id") + u'/' +
                                element.Attributes.value("Vind", "-"));
        else if (element.Name == u"Deltager" && element.Path.endsWith("Heat"))
            placed[round].append(element.Attributes.value("StartNr") + u':' +
                                 element.Attributes.value("Plac", "-") + u':' +
                                 element.Attributes.value("Resultat", "-"));
    }
    EXPECT_EQ(heats["M 100"], QStringList({"1/+1.2", "2/-0.5", "3/+0.0"}));
    EXPECT_EQ(heats["M LÆ"], QStringList({"1/-", "0/-"}));
    // By heat; the disqualified runner has neither mark nor place.
    EXPECT_EQ(placed["M 100"],
              QStringList({"1:1:10.52", "11:2:10.71", "12:1:10.88", "2:2:10.90", "3:1:11.01", "13:-:-"}));
    // The long jump by result, the row without a heat last.
    EXPECT_EQ(placed["M LÆ"], QStringList({"1:1:7.35", "11:2:7.05", "2:3:7.01", "12:4:6.50", "14:-:-"}));
    EXPECT_EQ(placed["M HØ"], QStringList({"3:1:1.85", "4:2:1.80"}));
    EXPECT_EQ(placed["M 4X100"], QStringList({"100:1:42.10", "101:1:43.02"}));
    // The combined event's totals from its disciplines' points.
    EXPECT_EQ(placed["K 7K"], QStringList({"21:1:1550", "22:2:1540"}));
    QStringList attempts;
    for (const TXmlElement& element : XmlElements(lines, "SpringHorizontal"))
        attempts.append(element.Attributes.value("Runde") + u'=' + element.Attributes.value("Resultat") +
                        u'/' + element.Attributes.value("Vind", "-"));
    // A pass has no wind.
    EXPECT_EQ(attempts.mid(0, 4), QStringList({"1=7.12/+1.2", "2=X/+0.0", "3=7.35/+2.1", "4=-/-"}));
    EXPECT_EQ(XmlValues(lines, "SpringVertikal", "Spring"), QStringList({"O", "XXO", "XO", "XXX"}));
    EXPECT_EQ(XmlValues(lines, "Kast", "Resultat"), QStringList({"13.44", "12.10", "14.02", "X", "14.55"}));
    EXPECT_EQ(XmlValues(lines, "Stafet", "StartNr"),
              QStringList({"1", "2", "3", "4", "11", "12", "13", "14"}));
    // Teams of two of the long jump: club 1's jumpers, then club 2's.
    EXPECT_EQ(XmlValues(lines, "Hold", "Plac"), QStringList({"1", "2"}));
    EXPECT_EQ(XmlValues(lines, "HoldDeltager", "StartNr"), QStringList({"1", "2", "11", "12"}));
}

TEST_F(XmlData2, HeatFilterWritesOnlyThoseHeatsAndTheirClubs) {
    const QStringList lines = RoundDocument(Round("M", "100", "I"), true, {"2"});
    EXPECT_EQ(SavedXmlLint(lines, Path("heat.xml")), QString());
    EXPECT_EQ(XmlValues(lines, "Heat", "Id"), QStringList({"2"}));
    // The rows of heat 2, then their clubs with only those participants.
    EXPECT_EQ(XmlValues(lines, "Deltager", "StartNr"), QStringList({"2", "12", "2", "12"}));
    EXPECT_EQ(XmlValues(lines, "Klub", "Id"), QStringList({"1", "2"}));

    // Several heats; an empty text names none.
    EXPECT_EQ(XmlValues(RoundDocument(Round("M", "100", "I"), false, {"3", " 1 "}), "Heat", "Id"),
              QStringList({"1", "3"}));
    EXPECT_EQ(XmlValues(RoundDocument(Round("M", "100", "I"), false, {""}), "Heat", "Id"),
              QStringList({"1", "2", "3"}));
    // A relay's heat brings its members' clubs and the members themselves.
    const QStringList relay = RoundDocument(Round("M", "4X100"), true, {"2"});
    QStringList members;
    for (const TXmlElement& element : XmlElements(relay, "Deltager")) {
        if (element.Path.endsWith("Klub"))
            members.append(element.Attributes.value("StartNr"));
    }
    EXPECT_EQ(members, QStringList({"11", "12", "13", "14", "101"}));
    // Teams count every heat: written only with all of them.
    EXPECT_EQ(XmlElements(RoundDocument(Round("M", "LÆ"), false, {"1"}), "Hold").size(), 0u);
    EXPECT_EQ(XmlElements(RoundDocument(Round("M", "LÆ"), false), "Hold").size(), 2u);
}

TEST_F(XmlData2, LeavingOutSeriesKeepsTheRelayLegs) {
    Manager().SystemData().UndladSerier = true;
    const QStringList lines = MeetDocument();
    EXPECT_EQ(XmlElements(lines, "SpringHorizontal").size(), 0u);
    EXPECT_EQ(XmlElements(lines, "SpringVertikal").size(), 0u);
    EXPECT_EQ(XmlElements(lines, "Kast").size(), 0u);
    EXPECT_EQ(XmlElements(lines, "Stafet").size(), 8u);
    EXPECT_EQ(SavedXmlLint(lines, Path("uden.xml")), QString());
}

TEST_F(XmlData2, TheMeetDocumentLeavesAnOpenEditorsRoundsAlive) {
    TResultatManager editor;
    TOvelseInfo* round = &Round("M", "LÆ");
    editor.LoadOvelse(round);
    TResultat* row = editor.GetResultat(0);
    const QList<qint32> order = Startnumre(editor);
    const qint32 plac = row->Plac;
    const QStringList lines = MeetDocument();
    // The same rounds, still the editor's, and the editor's manager is the current one again.
    EXPECT_EQ(&Round("M", "LÆ"), round);
    EXPECT_EQ(row->OvelseInfo, round);
    EXPECT_EQ(CurrentResultatManager(), &editor);
    EXPECT_EQ(Startnumre(editor), order);
    EXPECT_EQ(row->Plac, plac);

    // An event manager that has not read the meet's programme reads it.
    Restart().OpenStaevne(0);
    Ov();
    EXPECT_EQ(Ov().GetInfoCount(), 0);
    EXPECT_EQ(XmlElements(MeetDocument(), "Heat").size(), XmlElements(lines, "Heat").size());
    EXPECT_GT(Ov().GetInfoCount(), 0);
}

TEST_F(XmlData2, NoMeetNoDocument) {
    Restart();
    QStringList lines{"old"};
    EXPECT_EQ(ErrorText([&] { TXmlData2().MakeXmlStaevne(lines); }),
              QStringLiteral("Der er ikke åbnet noget stævne"));
    EXPECT_EQ(ErrorText([this] { Manager().SaveStaevneXml(); }),
              QStringLiteral("Der er ikke åbnet noget stævne"));
}

TEST_F(XmlData2, SaveStaevneXmlPutsTheMeetInTheDataFolder) {
    WriteFile(Path("zuno-staevne.xml"), "old");
    Manager().SaveStaevneXml();
    const QByteArray saved = ReadFile(Path("zuno-staevne.xml"));
    EXPECT_EQ(saved, Windows1252::Encode(MeetDocument().join("\r\n") + "\r\n"));
    EXPECT_EQ(XmlLint(Path("zuno-staevne.xml")), QString());
    // No temporary file is left beside it.
    EXPECT_EQ(QDir(Dir()).entryList({"zuno-staevne*"}, QDir::Files | QDir::Hidden),
              QStringList({"zuno-staevne.xml"}));
}

TEST_F(XmlData2, SavingWhereNoFileCanBeMadeRaisesAndKeepsNothing) {
    EXPECT_TRUE(
        ErrorText([&] {
            SaveXmlFile({"<a/>"}, Path("missing/folder/a.xml"));
        }).startsWith(QStringLiteral("XML-filen ") + Path("missing/folder/a.xml") + " kunne ikke gemmes"));
    EXPECT_FALSE(QFileInfo::exists(Path("missing")));
}

// The long jump's document as the batch job writes it, with its clubs, against the copy reviewed by hand.
// ZUNO_WRITE_GOLDEN=1 writes the copy anew (review it before committing).
TEST_F(XmlData2, RoundDocumentAsReviewed) {
    const QStringList lines = RoundDocument(Round("M", "LÆ"), true);
    const QByteArray bytes = Windows1252::Encode(lines.join("\r\n") + "\r\n");
    if (qEnvironmentVariableIsSet("ZUNO_WRITE_GOLDEN"))
        WriteFile(GoldenRound, bytes);
    EXPECT_EQ(QString::fromLatin1(bytes), QString::fromLatin1(ReadFile(GoldenRound)));
    EXPECT_EQ(XmlLint(GoldenRound), QString());
}
