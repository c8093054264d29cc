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

// The document against the copy reviewed by hand under tests/data/xml. ZUNO_WRITE_GOLDEN=1 writes the
// copy anew (review it before committing).
void ExpectAsReviewed(const QByteArray& bytes, const QString& name) {
    const QString golden = QStringLiteral(ZUNO_SOURCE_DIR "/tests/data/xml/") + name;
    if (qEnvironmentVariableIsSet("ZUNO_WRITE_GOLDEN"))
        WriteFile(golden, bytes);
    EXPECT_EQ(QString::fromLatin1(bytes), QString::fromLatin1(ReadFile(golden)));
    EXPECT_EQ(XmlLint(golden), QString());
}

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

        // A filler that sets the fields, then more.
        const auto also = [](std::function<void(TResultatTable&)> fields, auto more) {
            return [=](TResultatTable& t) { fields(t), more(t); };
        };
        // 100 m, first round: three heats with wind per heat, a disqualification in heat 3.
        const std::tuple<qint32, qint32, qint32, qint32, qint32> runs[] = {
            {1, 1, 3, 1052, 12},  {11, 1, 4, 1071, 12}, {2, 2, 3, 1090, -5},
            {12, 2, 4, 1088, -5}, {3, 3, 3, 1101, 0},   {13, 3, 4, 0, 0}};
        for (const auto& [startnummer, heat, bane, tid, vind] : runs) {
            const bool disk = startnummer == 13;
            AddResultat(
                Round("M", "100", "I"), startnummer,
                also(Fields(
                         {{Heat, heat}, {Banenummer, bane}, {Resultat, tid}, {Vind, vind}, {Seedning, 1100}}),
                     [disk](TResultatTable& t) { t.GetField(ResultatKode)->SetAsString(disk ? "D" : ""); }));
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
            const auto point = [](double value) {
                return [value](TResultatTable& t) { t.GetField(Point)->SetAsFloat(value); };
            };
            AddResultat(Round("K", "100"), startnummer,
                        also(Fields({{Heat, 1}, {Resultat, tid}, {Vind, 8}}), point(point100)));
            AddResultat(Round("K", "KU"), startnummer, also(Fields({{Heat, 1}}), point(pointKast)),
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
    const TClockScope clock_;
};

} // namespace

TEST_F(XmlData2, EveryDocumentOfTheMeetIsWellFormed) {
    QStringList info;
    TXmlData2().MakeXmlStaevneInfo(info);
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

// The whole meet, saved in the data folder in place of an older file: its classes, venues, clubs with
// their participants and entries, and rounds with their records, heats, rows, series, relay legs and teams.
TEST_F(XmlData2, MeetDocumentAsReviewed) {
    WriteFile(Path("zuno-staevne.xml"), "old");
    Manager().SaveStaevneXml();
    const QByteArray saved = ReadFile(Path("zuno-staevne.xml"));
    ExpectAsReviewed(saved, "staevne.xml");
    EXPECT_EQ(saved, Windows1252::Encode(XmlMeetDocument().join("\r\n") + "\r\n"));
    // No temporary file is left beside it.
    EXPECT_EQ(QDir(Dir()).entryList({"zuno-staevne*"}, QDir::Files | QDir::Hidden),
              QStringList({"zuno-staevne.xml"}));
    // Texts read back as held, the control character dropped; written as references: characters beyond
    // Latin-1, and tab, CR and LF in attributes.
    const TXmlElement staevne = XmlElements(XmlMeetDocument(), "Staevne").at(0);
    EXPECT_EQ(staevne.Attributes.value("Overskrift1"), QStringLiteral("Åbent stævne & <DM> i Ærøskøbing €"));
    EXPECT_EQ(staevne.Attributes.value("Arrangor"), QStringLiteral("Atletik\tForening\r\nØstslut"));
    EXPECT_TRUE(saved.contains("KortNavn=\"AO&#8364;\" "));
    EXPECT_TRUE(saved.contains("Arrangor=\"Atletik&#9;Forening&#13;&#10;\xd8stslut\" "));
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
    const QStringList lines = XmlMeetDocument();
    for (const char* series : {"SpringHorizontal", "SpringVertikal", "Kast"})
        EXPECT_EQ(XmlElements(lines, series).size(), 0u) << series;
    EXPECT_EQ(XmlElements(lines, "Stafet").size(), 8u);
    EXPECT_EQ(SavedXmlLint(lines, Path("uden.xml")), QString());
}

TEST_F(XmlData2, TheMeetDocumentLeavesAnOpenEditorsRoundsAlive) {
    TResultatManager editor;
    TOvelseInfo* round = &Round("M", "LÆ");
    editor.LoadOvelse(round);
    editor.MakeCurrent();
    TResultat* row = editor.GetResultat(0);
    const QList<qint32> order = Startnumre(editor);
    const qint32 plac = row->Plac;
    const QStringList lines = XmlMeetDocument();
    // The same rounds, still the editor's, and the editor's manager is the current one again.
    EXPECT_EQ(&Round("M", "LÆ"), round);
    EXPECT_EQ(row->OvelseInfo, round);
    EXPECT_EQ(ModelContext().CurrentResultatManager, &editor);
    EXPECT_EQ(Startnumre(editor), order);
    EXPECT_EQ(row->Plac, plac);

    // An event manager that has not read the meet's programme reads it.
    Restart().OpenStaevne(0);
    Ov();
    EXPECT_EQ(Ov().GetInfoCount(), 0);
    EXPECT_EQ(XmlElements(XmlMeetDocument(), "Heat").size(), XmlElements(lines, "Heat").size());
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

TEST_F(XmlData2, SavingWhereNoFileCanBeMadeRaisesAndKeepsNothing) {
    EXPECT_TRUE(
        ErrorText([&] {
            SaveXmlFile({"<a/>"}, Path("missing/folder/a.xml"));
        }).startsWith(QStringLiteral("XML-filen ") + Path("missing/folder/a.xml") + " kunne ikke gemmes"));
    EXPECT_FALSE(QFileInfo::exists(Path("missing")));
}

// The long jump's document as the batch job writes it, with its clubs.
TEST_F(XmlData2, RoundDocumentAsReviewed) {
    const QStringList lines = RoundDocument(Round("M", "LÆ"), true);
    ExpectAsReviewed(Windows1252::Encode(lines.join("\r\n") + "\r\n"), "ovelse-laengdespring.xml");
}
