// A meet run through the data model as an organiser runs it, without a window: created with its
// programme, clubs, participants and entries, seeded, its results entered and placed, the qualifiers
// moved to the final, points, teams and a combined event scored, its XML documents and scoreboard files
// written, and the meet carried in a transfer file into a copy whose document is the same.
#include "support/Test.h"

#include "ProgramFolderFixture.h"
#include "XmlFiles.h"
#include "foundation/LxString.h"
#include "model/D_Globals.h"
#include "model/D_Klub.h"
#include "model/D_Ovelser.h"
#include "model/D_PointBeregning.h"
#include "model/D_Result.h"
#include "model/D_ResultHold.h"
#include "model/D_Staevne.h"
#include "model/D_StaevneTransfer.h"
#include "model/D_StdKlasser.h"
#include "support/DecimalSeparator.h"

#include <QDate>
#include <QRegularExpression>
#include <QTime>

#include <functional>

namespace {

using TColumn = TResultColumn;

// The name the import asks for.
struct TNavnAnswer : TImportStaevneQuestion {
    bool AskStaevneNavn(const TSystemData&, QString& navn) override {
        navn = QStringLiteral("DM kopi");
        return true;
    }
};

TOvelseManager& Ov() {
    return *OvelseManager;
}
TOvelseInfo& Round(const QString& klasse, const QString& ovelse, const QString& runde = {}) {
    TOvelseInfo* info = Ov().FindOvelseInfo(klasse, ovelse, runde);
    if (!info)
        throw Exception(QStringLiteral("No round %1 %2 %3").arg(klasse, ovelse, runde));
    return *info;
}
std::vector<TOvelseInfo*> AllRounds() {
    std::vector<TOvelseInfo*> rounds;
    for (int i = 0; i < Ov().GetInfoCount(); ++i)
        rounds.push_back(Ov().GetInfo(i));
    return rounds;
}

// The meet's programme through the rows the wizard edits.
void MakeProgramme() {
    TEditOvelsesRaekke raekke;
    const std::tuple<const char*, const char*, const char*> rows[] = {
        {"M", "100", "IF"}, {"M", "LÆ", "F"}, {"M", "HØ", "F"}, {"M", "4X100", "F"},
        {"K", "100", "F"},  {"K", "KU", "F"}, {"K", "7K", "F"}};
    for (const auto& [klasse, ovelse, runder] : rows) {
        auto row = std::make_unique<TEditOvelseData>();
        row->KlasseNr = FindStdKlasse(klasse);
        row->Klasse = klasse;
        row->Ovelse = QString::fromUtf8(ovelse);
        TOvelseElement* event = Ov().FindOvelse(row->Ovelse);
        row->Ovtype = event->GetOvtype();
        row->OvelseNr = event->GetField(OvelseField::Sortkode)->GetAsInteger();
        row->Runder = runder;
        row->AntalPrHeat = 8;
        for (int n = 1; n <= 2; ++n) {
            row->Slot(n).DatoTid = QDateToDateTime(QDate(2024, 8, 17)) + (10 + 2 * n) / 24.0;
            row->Slot(n).Sted = QStringLiteral("ØSTERBRO");
        }
        raekke.Add(std::move(row));
    }
    std::vector<int> klasser = {FindStdKlasse("M"), FindStdKlasse("K")};
    Ov().SaveEditOvelsesRaekke(&klasser, raekke);
    // The heptathlon's disciplines, the long jump's teams of two, two heats of the first round with
    // the winner of each and the best other runner on to the final.
    int nr = 0;
    for (const char* ovelse : {"100", "KU", "7K"}) {
        TOvelseRkElement* row = Ov().FindOvelseRk("K", ovelse);
        row->GetField(OvelseRkField::MKOvelse)->SetAsString("7K");
        row->GetField(OvelseRkField::MKOvelseNr)->SetAsInteger(++nr);
    }
    Ov().Save();
    Ov().Reload();
    for (const auto& [round, fieldNo, value] :
         {std::tuple(&Round("K", "7K"), OvelseRnField::AutoCalcPoint, 1),
          {&Round("M", "LÆ"), OvelseRnField::AntalPrHold, 2},
          {&Round("M", "100", "I"), OvelseRnField::AntalViderePlac, 1},
          {&Round("M", "100", "I"), OvelseRnField::AntalVidereIalt, 3}})
        round->OvelseRn().GetField(fieldNo)->SetAsInteger(value);
    Ov().Save();
}

struct TEntry {
    const char* Navn;
    qint32 Aargang;
    const char* Koen;
    std::vector<std::pair<const char*, const char*>> Ovelser;
    qint32 Seedning = 0;
};

// Clubs, their participants and their entries through the club manager; returns the start numbers in
// the order given.
std::vector<qint32> AddKlub(const QString& navn, const QString& kortNavn, const QString& holdKode,
                            const std::vector<TEntry>& entries) {
    TKlubManager klubber;
    TKlubElement& klub = klubber.NewKlub();
    klub.GetField(KlubField::Navn)->SetAsString(navn);
    klub.GetField(KlubField::KortNavn)->SetAsString(kortNavn);
    klub.GetField(KlubField::HoldKode)->SetAsString(holdKode);
    klub.GetField(KlubField::Adresse1)->SetAsString(QStringLiteral("Vej 1\tbaghuset"));
    klubber.SelectKlub(klub, DeltagerField::Startnummer);
    std::vector<qint32> startnumre;
    for (const TEntry& entry : entries) {
        const qint32 startnummer = klubber.GetNextStartnummer();
        TDeltagerElement& deltager = klubber.GetDeltager(klubber.NewDeltager());
        deltager.GetField(DeltagerField::Startnummer)->SetAsInteger(startnummer);
        deltager.GetField(DeltagerField::Navn)->SetAsString(QString::fromUtf8(entry.Navn));
        deltager.GetField(DeltagerField::Aargang)->SetAsInteger(entry.Aargang);
        deltager.GetField(DeltagerField::Koen)->SetAsString(entry.Koen);
        for (const auto& [klasse, ovelse] : entry.Ovelser) {
            const TOvelseRnElement& runde = Round(klasse, QString::fromUtf8(ovelse)).OvelseRn();
            TResultatElement& resultat = klubber.GetResultat(klubber.NewResultat());
            for (const int fieldNo : {ResultatField::Klasse, ResultatField::Ovelse, ResultatField::Runde})
                resultat.GetField(fieldNo)->SetAsString(runde.GetField(fieldNo)->GetAsString());
            resultat.GetField(ResultatField::Startnummer)->SetAsInteger(startnummer);
            if (QString::fromUtf8(ovelse) == u"100")
                resultat.GetField(ResultatField::Seedning)->SetAsInteger(entry.Seedning);
        }
        startnumre.push_back(startnummer);
    }
    EXPECT_TRUE(klubber.SaveAll());
    return startnumre;
}

// Loads the round, lets edit change its rows (found by start number) and saves it, placed.
void Enter(TOvelseInfo& round, const std::function<void(TResultatManager&)>& edit) {
    TResultatManager manager;
    manager.LoadOvelse(&round);
    edit(manager);
    manager.SaveResultater();
}
TResultat& Row(const TResultatManager& manager, qint32 startnummer) {
    TResultat* row = manager.GetResultat(manager.IndexOfStartnummer(startnummer));
    if (!row)
        throw Exception(QStringLiteral("No row %1").arg(startnummer));
    return *row;
}
// Each row's start number with its heat, lane, place, result, qualification code and points.
QStringList Rows(TOvelseInfo& round) {
    TResultatManager manager;
    manager.LoadOvelse(&round);
    manager.SortHeatBaneSide();
    QStringList rows;
    for (const TResultat* row : manager.GetResultater())
        rows << QString::asprintf("%d h%d b%d p%d ", row->Startnummer, row->Heat, row->Bane, row->Plac) +
                    row->GetFieldText(TColumn::Resultat) + u' ' + row->VK + u' ' +
                    QString::number(row->Point);
    return rows;
}

class ModelEndToEnd : public TProgramFolderTest {
    const TDecimalSeparatorScope separator_{u'.'};
    const TClockScope clock_{EncodeDateTime(QDate(2024, 8, 17), QTime(9, 30, 0))};
};

} // namespace

TEST_F(ModelEndToEnd, AMeetFromItsCreationToAnImportedCopy) {
    // ---- The meet, its settings and its programme.
    OvelseManager = std::make_unique<TOvelseManager>();
    Manager().CreateStaevne(QStringLiteral("DM Ærø & Omegn"));
    TSystemData& data = Manager().SystemData();
    data.Overskrift1 = QStringLiteral("DM i atletik <senior> & veteraner €");
    data.Arrangor = QStringLiteral("Ærø Atletik");
    data.Dato = QDateToDateTime(QDate(2024, 8, 17)) + 9 / 24.0;
    data.EgenTurnering = true;
    data.AntalTaellendeDeltagere = 2;
    data.PointBeregning = qint32(PointBeregning::Placering1);
    data.PlaceringsPoint1 = QStringLiteral("10,8,6,5,4,3,2,1");
    ASSERT_TRUE(Manager().SaveStaevneData());
    MakeProgramme();
    ASSERT_EQ(Ov().GetInfoCount(), 8);

    // ---- Clubs, participants and entries; the relay teams are participants of their clubs.
    const auto sprint = [](const char* navn, qint32 aargang, qint32 seedning) {
        return TEntry{navn, aargang, "M", {{"M", "100"}, {"M", "LÆ"}}, seedning};
    };
    const std::vector<qint32> a =
        AddKlub(QStringLiteral("Århus & Omegn <ÅO>"), QStringLiteral("ÅO€"), QStringLiteral("A"),
                {sprint("Søren Ærø", 1996, 1045),
                 sprint("Åge Ødegaard", 1999, 1080),
                 sprint("Bent Bæk", 2001, 1100),
                 sprint("Ib Ås", 2002, 1120),
                 {"Århus & Omegn 1. hold", 0, "", {{"M", "4X100"}}},
                 {"Grete Ærtebjerg", 1998, "K", {{"K", "100"}, {"K", "KU"}, {"K", "7K"}}}});
    const std::vector<qint32> b =
        AddKlub(QStringLiteral("Ølstykke IF"), QStringLiteral("ØIF"), QStringLiteral("B"),
                {sprint("Kim Kær", 1997, 1050),
                 sprint("Ole Øster", 1998, 1070),
                 sprint("Jens Hø", 2000, 1090),
                 {"Peter € Hansen", 1995, "M", {{"M", "100"}, {"M", "HØ"}}, 1110},
                 {"Ølstykke IF 1. hold", 0, "", {{"M", "4X100"}}},
                 {"Mette Ørsted", 2001, "K", {{"K", "100"}, {"K", "KU"}, {"K", "7K"}}}});
    ASSERT_EQ(a, (std::vector<qint32>{1, 2, 3, 4, 5, 6}));
    ASSERT_EQ(b, (std::vector<qint32>{7, 8, 9, 10, 11, 12}));

    // ---- Heats and lanes: the first round in two heats of four, by seeding marks in turn, lanes fanned
    // out from the middle; every other round in one heat.
    {
        TResultatManager manager;
        EXPECT_EQ(manager.SeedOvelser({&Round("M", "100", "I")}, 4, qint32(THeatMethod::Fordeling),
                                      qint32(TLaneMethod::Vifte), qint32(TBanenummerering::FraBane1), 7),
                  QStringList());
        std::vector<TOvelseInfo*> others = AllRounds();
        std::erase(others, &Round("M", "100", "I"));
        EXPECT_EQ(manager.SeedOvelser(others, 8, qint32(THeatMethod::BedsteFoerst),
                                      qint32(TLaneMethod::Startnummer), qint32(TBanenummerering::FraBane1),
                                      7),
                  QStringList());
    }
    // The seeded in turn over the heats (1, 2, 2, 1, ...), the best of a heat in its middle lanes.
    EXPECT_EQ(Rows(Round("M", "100", "I")),
              QStringList({"9 h1 b1 p0   0", "1 h1 b2 p0   0", "2 h1 b3 p0   0", "4 h1 b4 p0   0",
                           "3 h2 b1 p0   0", "7 h2 b2 p0   0", "8 h2 b3 p0   0", "10 h2 b4 p0   0"}));

    // ---- Results with their winds and series; saving places them.
    const auto times = [](std::initializer_list<std::pair<qint32, const char*>> rows, const char* vind) {
        return [=](TResultatManager& manager) {
            for (const auto& [startnummer, tid] : rows) {
                Row(manager, startnummer).SetFieldText(TColumn::Resultat, tid);
                Row(manager, startnummer).SetFieldText(TColumn::Vind, vind);
            }
        };
    };
    Enter(Round("M", "100", "I"), [&](TResultatManager& manager) {
        times({{1, "10.41"}, {2, "10.70"}, {4, "10.99"}}, "+1.2")(manager);
        Row(manager, 9).SetFieldText(TColumn::RK, QStringLiteral("D"));
        Row(manager, 9).SetFieldText(TColumn::Vind, QStringLiteral("+1.2"));
    });
    Enter(Round("M", "100", "I"), times({{7, "10.58"}, {8, "10.62"}, {3, "10.77"}, {10, "10.95"}}, "-0.4"));
    // The two heat winners and the best other time go on, upper case by place and lower case by time.
    {
        TResultatManager manager;
        manager.LoadOvelse(&Round("M", "100", "I"));
        EXPECT_EQ(manager.CalcVidereKode(u'F'), 3);
        manager.SaveResultater();
        EXPECT_EQ(manager.TransferVidere(u'F'), TTransferOutcome::Written);
    }
    // The disqualified runner's place is only his order in the heat.
    EXPECT_EQ(Rows(Round("M", "100", "I")),
              QStringList({"9 h1 b1 p4   0", "1 h1 b2 p1 10.41 F 0", "2 h1 b3 p2 10.70  0",
                           "4 h1 b4 p3 10.99  0", "3 h2 b1 p3 10.77  0", "7 h2 b2 p1 10.58 F 0",
                           "8 h2 b3 p2 10.62 f 0", "10 h2 b4 p4 10.95  0"}));
    TResultatManager().SeedOvelser({&Round("M", "100", "F")}, 8, qint32(THeatMethod::BedsteFoerst),
                                   qint32(TLaneMethod::Vifte), qint32(TBanenummerering::Midterbaner), 7);
    Enter(Round("M", "100", "F"), times({{1, "10.38"}, {7, "10.44"}, {8, "10.44"}}, "+0.8"));
    // The qualifiers by their first-round times from the middle lanes outwards; equal times share a place.
    EXPECT_EQ(Rows(Round("M", "100", "F")),
              QStringList({"8 h1 b4 p2 10.44  0", "1 h1 b5 p1 10.38  0", "7 h1 b6 p2 10.44  0"}));

    Enter(Round("M", "LÆ"), [](TResultatManager& manager) {
        const std::pair<qint32, const char*> series[] = {{1, "712,+1.2 x 735,+2.1 -"},
                                                         {2, "690,-0.3 701,x"},
                                                         {3, "x x x"},
                                                         {4, "655,+0.4"},
                                                         {7, "705,+0.5 x"},
                                                         {8, "- 650,0"},
                                                         {9, "720,+1.9 722,+2.4"}};
        for (const auto& [startnummer, text] : series) {
            const QStringList attempts = QString(text).split(u' ');
            for (int i = 0; i < attempts.size(); ++i)
                Row(manager, startnummer).SetSerieText(i, attempts[i]);
        }
    });
    Enter(Round("M", "HØ"), [](TResultatManager& manager) {
        for (const auto& [i, height] : {std::pair(0, "180,+"), {1, "185,-+"}, {2, "190,---"}})
            Row(manager, 10).SetSerieText(i, height);
    });
    Enter(Round("M", "4X100"), [](TResultatManager& manager) {
        for (const auto& [team, first, tid] : {std::tuple(5, 1, "41.20"), std::tuple(11, 7, "41.87")}) {
            for (int leg = 0; leg < 4; ++leg)
                Row(manager, team).SetSerieText(leg, IntStr(first + leg));
            Row(manager, team).SetFieldText(TColumn::Resultat, tid);
        }
    });
    Enter(Round("K", "100"), times({{6, "12.10"}, {12, "12.34"}}, "+0.9"));
    Enter(Round("K", "KU"), [](TResultatManager& manager) {
        Row(manager, 6).SetSerieText(0, "12.05");
        Row(manager, 12).SetSerieText(0, "x");
        Row(manager, 12).SetSerieText(1, "13.10");
    });

    // ---- Points by place in every round, two to count per club; then the heptathlon's totals from
    // its disciplines' points, placed.
    EXPECT_EQ(TResultatManager().CalcPointOvelser(AllRounds()), QStringList());
    Enter(Round("K", "7K"), [](TResultatManager&) {});
    // Both have 10 and 8 points from their disciplines: they share the place.
    EXPECT_EQ(Rows(Round("K", "7K")), QStringList({"6 h1 b1 p1 18  0", "12 h1 b2 p1 18  0"}));
    // Points by place, only the best two of each club scoring; a series of fouls has no mark.
    EXPECT_EQ(
        Rows(Round("M", "LÆ")),
        QStringList({"1 h1 b1 p1 7.35  10", "2 h1 b2 p4 7.01  5", "3 h1 b3 p7 X  0", "4 h1 b4 p5 6.55  0",
                     "7 h1 b5 p3 7.05  6", "8 h1 b6 p6 6.50  0", "9 h1 b7 p2 7.22  8"}));
    {
        TResultatManager manager;
        manager.LoadOvelse(&Round("M", "LÆ"));
        ASSERT_TRUE(manager.HoldResultater() && manager.HoldResultater()->Count() == 2);
        // 7.35 and 7.01 against 7.22 and 7.05; the third jumper of each club makes no team.
        const auto& hold = *manager.HoldResultater();
        EXPECT_EQ(std::pair(hold.GetHold(0)->HoldResultat->Resultat, hold.GetHold(1)->HoldResultat->Resultat),
                  std::pair(1436, 1427));
    }

    // ---- The XML documents and the scoreboard files.
    const QStringList original = XmlMeetDocument();
    EXPECT_EQ(XmlValues(original, "Heat", "Vind").mid(3, 3), QStringList({"+1.2", "-0.4", "+0.8"}));
    QStringList info;
    TXmlData2().MakeXmlStaevneInfo(info);
    EXPECT_EQ(SavedXmlLint(original, Path("staevne.xml")), QString());
    EXPECT_EQ(SavedXmlLint(info, Path("info.xml")), QString());
    for (int i = 0; i < Ov().GetInfoCount(); ++i) {
        TResultatManager manager;
        manager.LoadOvelse(Ov().GetInfo(i));
        QStringList lines;
        TXmlData2().MakeXmlOvelse(lines, manager, true, {});
        EXPECT_EQ(SavedXmlLint(lines, Path("ovelse.xml")), QString()) << i;
        manager.WriteScoreboardFil(false, 0);
        manager.WriteScoreboardData();
        EXPECT_EQ(XmlLint(Path("zuno-scoreboard-001.xml")) + XmlLint(Path("zuno-scoreboard-data.xml")),
                  QString());
    }
    Manager().SaveStaevneXml();
    EXPECT_EQ(ReadFile(Path("zuno-staevne.xml")), ReadFile(Path("staevne.xml")));
    // The document holds what was entered.
    EXPECT_EQ(XmlValues(original, "Hold", "Plac"), QStringList({"1", "2"}));
    EXPECT_EQ(XmlElements(original, "SpringHorizontal").size(), 16u);
    EXPECT_EQ(XmlValues(original, "Stafet", "StartNr"),
              QStringList({"1", "2", "3", "4", "7", "8", "9", "10"}));
    EXPECT_EQ(XmlValues(original, "Klub", "Navn"), QStringList({"Århus & Omegn <ÅO>", "Ølstykke IF"}));

    // ---- The meet in a transfer file, imported as a new meet: the same document but for its number
    // and name. The import stamps the records it writes with the time of the import, which is that of the
    // meet's own records here: the clock stands still.
    Manager().ExportStaevne(Path("dm.kip"));
    TNavnAnswer answer;
    Manager().ImportStaevne(Path("dm.kip"), 0, answer);
    EXPECT_EQ(Manager().GetStaevneNavn(Manager().GetCurrentIndex()), QStringLiteral("DM kopi"));
    const QStringList copy = XmlMeetDocument();
    EXPECT_EQ(SavedXmlLint(copy, Path("kopi.xml")), QString());
    EXPECT_EQ(XmlValues(copy, "Staevne", "Id"), QStringList({IntStr(Manager().GetCurrentStID())}));
    EXPECT_EQ(XmlValues(copy, "Staevne", "Navn"), QStringList({"DM kopi"}));
    const auto withoutMeet = [](QStringList lines) {
        static const QRegularExpression meet(QStringLiteral("^<Staevne Id=\"\\d+\" Navn=\"[^\"]*\" "));
        for (QString& line : lines)
            line.replace(meet, QStringLiteral("<Staevne "));
        return lines;
    };
    ASSERT_EQ(original.size(), copy.size());
    EXPECT_NE(original, copy);
    EXPECT_EQ(withoutMeet(original), withoutMeet(copy));
    EXPECT_EQ(Shown(), QStringList());
}
