#include "model/D_KlubImport.h"

#include "ResultFixture.h"
#include "model/D_Klub.h"
#include "model/D_Ovelser.h"
#include "model/D_Staevne.h"
#include "model/D_StaevneSystemData.h"
#include "support/Test.h"

namespace {

using namespace ImportCol;

// The programme of the fixture with hurdles, a walk and the youth classes of the English coding.
class KlubImport : public TResultTest {
protected:
    KlubImport() {
        AddProgramme({{"M", "60H", "F"}, {"M", "3000G", "F"}, {"P14", "HØ", "F"}, {"P14", "60", "F"}});
        AddKlub(1, QStringLiteral("Aarhus"));
    }

    TImportData Fortolk(const QString& text, TImportSettings settings = {}) {
        return FortolkCSVData(text, settings, Ov());
    }
    // The rows' cells in the given columns, joined by "/".
    static QStringList Rows(const std::vector<TImportRow>& rows, std::initializer_list<int> cols) {
        QStringList texts;
        for (const TImportRow& row : rows) {
            QStringList cells;
            for (const int col : cols)
                cells << row[col];
            texts << cells.join(u'/');
        }
        return texts;
    }
    static QStringList Fejl(const std::vector<TImportFejl>& fejl) {
        QStringList texts;
        for (const TImportFejl& one : fejl)
            texts << FejlText(one);
        return texts;
    }
    static QStringList StoredDeltagere() {
        return Stored<TDeltagerTable>(
            {DeltagerField::Startnummer, DeltagerField::Navn, DeltagerField::Aargang, DeltagerField::KlubNr});
    }
    static QStringList StoredEntries() {
        return Stored<TResultatTable>({ResultatField::Startnummer, ResultatField::Klasse,
                                       ResultatField::Ovelse, ResultatField::Seedning, ResultatField::Rank});
    }
};

// ---------------------------------------------------------------- reading a line

TEST_F(KlubImport, ALineIsSplitAtTheChosenSeparatorOrTabTrimmedAndRidOfNonBreakingSpaces) {
    const QChar nbsp(0xA0);
    EXPECT_EQ(ImportFields(QStringLiteral(" Ida Holm ;1999;m;100 m;12,45 sek"), u';', false).mid(0, 6),
              QStringList({"", "Ida Holm", "1999", "m", "100 m", "12,45 sek"}));
    EXPECT_EQ(
        ImportFields(QString("Ida") + nbsp + "\t" + nbsp + "1999" + nbsp + "\tM", u'\t', false).mid(1, 3),
        QStringList({"Ida", "1999", "M"}));
    EXPECT_EQ(ImportFields(QStringLiteral("\"Holm; Ida\",1999"), u',', false).mid(1, 2),
              QStringList({"Holm; Ida", "1999"}));
    // With the start number first; fifteen positions, further fields not read.
    QStringList many = {"7", "Ida"};
    for (int i = 0; i < 20; ++i)
        many << QString::number(i);
    const QStringList fields = ImportFields(many.join(u';'), u';', true);
    EXPECT_EQ(fields.size(), 15);
    EXPECT_EQ(fields.mid(0, 3), QStringList({"7", "Ida", "0"}));
    EXPECT_EQ(fields.last(), "12");
    EXPECT_EQ(ImportFields({}, u';', false), QStringList(15, QString()));
    EXPECT_THROW(ImportFields(QStringLiteral("\"Ida;1999"), u';', false), Exception);

    EXPECT_EQ(ImportSettings({}, false, false).Separator, u';');
    EXPECT_EQ(ImportSettings(QStringLiteral(",;"), false, false).Separator, u',');
    EXPECT_EQ(ImportSettings(QStringLiteral(","), true, true).Separator, u'\t');
}

TEST_F(KlubImport, AMarkLosesItsBlanksAndItsUnit) {
    EXPECT_EQ(KunResultat("12,45 sek"), "12,45");
    EXPECT_EQ(KunResultat(" 5.12 m "), "5.12");
    EXPECT_EQ(KunResultat("1:02,3 min"), "1:02,3");
    EXPECT_EQ(KunResultat("sek"), "");
    EXPECT_EQ(KunResultat(""), "");
}

TEST_F(KlubImport, EventTextsBecomeTheCodesTheClassHasElseStayAsTyped) {
    const auto code = [this](const QString& text, const QString& klasse = "M") {
        return NormaliserOvelse(Ov(), text, klasse);
    };
    EXPECT_EQ(code("60 M HÆK"), "60H");
    EXPECT_EQ(code("60MH"), "60H");
    EXPECT_EQ(code("4X100"), "4X100");
    EXPECT_EQ(code("4 X 100 M STAFET"), "4X100") << "the relay's rest holds an F";
    EXPECT_EQ(code("100 M"), "100");
    EXPECT_EQ(code("100 METER"), "100");
    EXPECT_EQ(code("3000 M KAPGANG"), "3000G");
    EXPECT_EQ(code("HØJDESPRING"), "HØ");
    EXPECT_EQ(code("LÆNGDE"), "LÆ");
    EXPECT_EQ(code("LÆ"), "LÆ");
    // Codes the class lacks, and texts that name nothing, stay as typed.
    EXPECT_EQ(code("60 M HÆK", "K"), "60 M HÆK");
    EXPECT_EQ(code("SPYD"), "SPYD");
    EXPECT_EQ(code("123"), "123");
    EXPECT_EQ(code(""), "");
    TOvelseNormaliser once(Ov());
    EXPECT_EQ(once("60 M HÆK", "M"), "60H");
    EXPECT_EQ(once("60 M HÆK", "K"), "60 M HÆK") << "remembered by class and text";
}

TEST_F(KlubImport, TheEnglishCodingGivesClassesEventsAndRanks) {
    QStringList line = ImportFields(QStringLiteral("Amy Lee;g;u14;hj;C"), u';', false);
    KonverterEngelsk(line);
    EXPECT_EQ(line.mid(1, 5), QStringList({"Amy Lee", "", "P14", "HØ", ""}));
    EXPECT_EQ(line[8], "3");
    line = ImportFields(QStringLiteral("Bo Ek;B;16+;SLJ;"), u';', false);
    KonverterEngelsk(line);
    EXPECT_EQ(line.mid(2, 3), QStringList({"", "D18", "SL"}));
    EXPECT_EQ(line[8], "5") << "no category";
    // Other combinations stay.
    line = ImportFields(QStringLiteral("Cy;X;U14;100;A"), u';', false);
    KonverterEngelsk(line);
    EXPECT_EQ(line.mid(2, 3), QStringList({"X", "U14", "100"}));
    EXPECT_EQ(line[8], "1");
}

// ---------------------------------------------------------------- interpreting the text

TEST_F(KlubImport, TheTextFillsTheClubAndTheRowsWithFurtherEventsFilledDown) {
    const QString text =
        "Ida Holm;1999;m;100 m;12,45 sek;12,10;;;Aarhus 1900;Bo Berg;Vej 1;8000 Aarhus;bo@a.dk;12345678\r\n"
        "-;;-;60 m hæk;9,1\n"
        ";;;Længde;5,12 m\n"
        "Karl Ek;2001;K;100;;;j;a\n";
    const TImportData data = Fortolk(text);
    EXPECT_EQ(data.Error, "");
    EXPECT_EQ(data.Klub.Navn, "Aarhus 1900");
    EXPECT_EQ(data.Klub.KontaktPerson, "Bo Berg");
    EXPECT_EQ(data.Klub.Adresse2, "8000 Aarhus");
    EXPECT_EQ(data.Klub.Email, "bo@a.dk");
    EXPECT_EQ(data.Klub.Telefon, "12345678");
    EXPECT_EQ(Rows(data.Rows, {Navn, Aargang, Klasse, Ovelse, TilmeldtRes, PR, EA, Kode}),
              QStringList({"Ida Holm/1999/M/100/12,45/12,10//", "Ida Holm/1999/M/60H/9,1///",
                           "Ida Holm/1999/M/LÆ/5,12///", "Karl Ek/2001/K/100///J/A"}));

    TImportSettings vt;
    vt.VT = true;
    EXPECT_EQ(Fortolk("Ida;1999;M;KU;7 pt", vt).Rows[0][TilmeldtRes], "7 pt") << "marks as typed";
    TImportSettings numbered;
    numbered.StartnummerInkluderet = true;
    numbered.Separator = u'\t';
    EXPECT_EQ(Rows(Fortolk("17\tIda\t1999\tM\tKU", numbered).Rows, {Startnr, Navn, Ovelse}),
              QStringList({"17/Ida/KU"}));
}

TEST_F(KlubImport, AnErrorKeepsTheRowsReadBeforeIt) {
    const TImportData data = Fortolk("Ida;1999;M;100\nKarl;\"2001;M;100\nBo;2002;M;KU");
    EXPECT_TRUE(data.Error.startsWith("Error in FortolkCSVData: Fejl i CSV-felt: "))
        << data.Error.toStdString();
    EXPECT_EQ(Rows(data.Rows, {Navn}), QStringList({"Ida"}));
    EXPECT_EQ(Fortolk({}).Rows.size(), 1u) << "one empty row";
}

TEST_F(KlubImport, TheEnglishCodingIsAppliedBeforeTheRowIsMade) {
    TImportSettings redid;
    redid.Redid = true;
    TImportData data = Fortolk("Amy Lee;G;U14;HJ;C\nAmy Lee;G;U14;60;\nDan Bo;G;U13;HJ;A", redid);
    EXPECT_EQ(Rows(data.Rows, {Navn, Aargang, Klasse, Ovelse, TilmeldtRes, Kode}),
              QStringList({"Amy Lee//P14/HØ//3", "Amy Lee//P14/60//5", "Dan Bo/G/U13/HØ//1"}));
    // An age group the coding does not know is told, and its line is not taken.
    const TImportKontrol kontrol = AutoKontrol(data.Rows, Ov(), true);
    EXPECT_EQ(kontrol.Markers, std::vector<int>({0, 0, 1}));
    EXPECT_EQ(Fejl(kontrol.Fejl), QStringList({"Fejl i linie 3, \"G\" er ikke et gyldigt tal"}));
}

// ---------------------------------------------------------------- the check

TEST_F(KlubImport, AnAthleteOnThreeLinesKeepsTheNameOnTheFirstOnly) {
    std::vector<TImportRow> rows = Fortolk("Ida;1999;M;100\n;;;LÆ\n\nIda;1999;M;KU\nKarl;2001;M;HØ\n"
                                           "Karl;2000;M;KU")
                                       .Rows;
    const TImportKontrol kontrol = AutoKontrol(rows, Ov(), false);
    EXPECT_TRUE(kontrol.Checked);
    EXPECT_EQ(Fejl(kontrol.Fejl), QStringList());
    // The empty row is gone; a Karl of another year is another athlete.
    EXPECT_EQ(Rows(rows, {Navn, Aargang, Ovelse}),
              QStringList({"Ida/1999/100", "//LÆ", "//KU", "Karl/2001/HØ", "Karl/2000/KU"}));
    EXPECT_EQ(kontrol.Markers, std::vector<int>(5, ImportRowOk));

    // Different start numbers are different athletes, whatever their names.
    rows = {TImportRow{"Bo", "", "M", "100", "", "", "4"}, TImportRow{"Bo", "", "M", "KU", "", "", "5"}};
    AutoKontrol(rows, Ov(), false);
    EXPECT_EQ(Rows(rows, {Navn, Startnr}), QStringList({"Bo/4", "Bo/5"}));
}

TEST_F(KlubImport, AFailingRowIsMarkedAndToldAndTheAthletesFurtherRowsFailWithIt) {
    std::vector<TImportRow> rows = Fortolk("Ida;1999;M;100;12a5\n-;;;KU\nKarl;19x;M;KU\nBo;2000;K;LÆ\n"
                                           "Eva;2000;M;SPYD\nUlla;2000;M;100;11,9")
                                       .Rows;
    const TImportKontrol kontrol = AutoKontrol(rows, Ov(), false);
    EXPECT_EQ(kontrol.Markers, std::vector<int>({1, 1, 1, 1, 1, 0}));
    const QStringList fejl = Fejl(kontrol.Fejl);
    ASSERT_EQ(fejl.size(), 5);
    EXPECT_TRUE(fejl[0].startsWith("Fejl i linie 1, ")) << fejl[0].toStdString();
    EXPECT_EQ(fejl[1], "Fejl i linie 2, deltageren i linie 1 har fejl");
    EXPECT_TRUE(fejl[2].startsWith("Fejl i linie 3, ")) << fejl[2].toStdString();
    EXPECT_TRUE(fejl[3].startsWith("Fejl i linie 4, ") && fejl[3].contains("LÆ")) << fejl[3].toStdString();
    EXPECT_FALSE(fejl[3].contains("Object =")) << "the event manager's text alone";
    EXPECT_TRUE(fejl[4].contains("SPYD"));

    std::vector<TImportRow> nameless = {TImportRow{"", "", "M", "100"}, TImportRow{"Ida", "", "M", "KU"}};
    EXPECT_EQ(Fejl(AutoKontrol(nameless, Ov(), false).Fejl),
              QStringList({"Fejl i linie 1, der er ikke angivet et navn"}));

    std::vector<TImportRow> empty(1);
    EXPECT_FALSE(AutoKontrol(empty, Ov(), false).Checked);

    std::vector<TImportFejl> many;
    for (int i = 1; i <= 30; ++i)
        many.push_back({i, "x"});
    const QStringList liste = FejlListe(many).split(CrLf);
    EXPECT_EQ(liste.size(), 26);
    EXPECT_EQ(liste.last(), "... og 5 linier mere");
}

TEST_F(KlubImport, TextTheRecordFilesCannotHoldFailsItsRowAndTheClubsDetailsFailAsTheFirstLine) {
    const QString runner = QString::fromUtf8("\xF0\x9F\x8F\x83");
    // The mark loses the sign as a unit; the late-entry flag and the name keep it.
    const TImportData data =
        Fortolk("Ida;1999;M;100;12,1" + runner + ";;;;Løb " + runner + "\nBo;2000;M;KU;;;E" + runner +
                "\nKarl " + runner + ";2001;M;KU\nUlla;2000;M;100");
    std::vector<TImportRow> rows = data.Rows;
    const TImportKontrol kontrol = AutoKontrol(rows, Ov(), false, data.Klub);
    EXPECT_EQ(kontrol.Markers, std::vector<int>({0, 1, 1, 0}));
    const QString refused = QStringLiteral("\"%1\" kan kun indeholde tegn fra tegnsættet Windows-1252");
    EXPECT_EQ(Fejl(kontrol.Fejl), QStringList({"Fejl i linie 1, " + refused.arg("Løb " + runner),
                                               "Fejl i linie 2, " + refused.arg("E" + runner),
                                               "Fejl i linie 3, " + refused.arg("Karl " + runner)}));
}

// ---------------------------------------------------------------- the update

TEST_F(KlubImport, TheRowsThatPassedBecomeParticipantsAndEntriesOfTheCurrentClub) {
    AddDeltager(1, QStringLiteral("Bent"), 1990, 1);
    AddDeltager(5, QStringLiteral("Else"), 1990, 2);
    TKlubManager klubber(1);
    std::vector<TImportRow> rows =
        Fortolk("Ida;1999;M;100;12,45;12,10\n-;;;60 m hæk\nKarl;2001;M;KU;12,20\nUlla;2000;M;SPYD").Rows;
    TImportKontrol kontrol = AutoKontrol(rows, Ov(), false);
    ASSERT_EQ(kontrol.Markers, std::vector<int>({0, 0, 0, 1}));
    const TImportResultat result = AutoOpdDeltagere(klubber, Ov(), rows, kontrol.Markers, false);
    EXPECT_EQ(Fejl(result.Fejl), QStringList());
    EXPECT_EQ(result.Deltagere, 2);
    EXPECT_EQ(result.Tilmeldinger, 3);
    ASSERT_TRUE(klubber.SaveAll());
    // Numbered from the meet's next free number on.
    EXPECT_EQ(StoredDeltagere(),
              QStringList({"1/Bent/1990/1", "5/Else/1990/2", "6/Ida/1999/1", "7/Karl/2001/1"}));
    EXPECT_EQ(StoredEntries(), QStringList({"6/M/100/1245/0", "6/M/60H/0/0", "7/M/KU/1220/0"}));
}

TEST_F(KlubImport, ARowTheUpdateRefusesLeavesNothingAndItsAthletesFurtherRowsArePassedOver) {
    AddDeltager(7, QStringLiteral("Bent"), 1990, 2);
    TKlubManager klubber(1);
    std::vector<TImportRow> rows = {TImportRow{"Ida", "1999", "M", "100", "", "", "7"},
                                    TImportRow{"", "", "M", "KU"},
                                    TImportRow{"Karl", "2001", "M", "100", "", "", "8"},
                                    TImportRow{"", "", "M", "100"}, TImportRow{"Bo", "", "M", "LÆ"}};
    std::vector<int> markers = AutoKontrol(rows, Ov(), false).Markers;
    ASSERT_EQ(markers, std::vector<int>(5, ImportRowOk));
    const TImportResultat result = AutoOpdDeltagere(klubber, Ov(), rows, markers, false);
    const QStringList fejl = Fejl(result.Fejl);
    ASSERT_EQ(fejl.size(), 3) << fejl.join("\n").toStdString();
    EXPECT_EQ(fejl[0], "Fejl i linie 1, Startnummer 7 er allerede givet til Bent");
    EXPECT_EQ(fejl[1], "Fejl i linie 2, deltageren i linie 1 har fejl");
    EXPECT_TRUE(fejl[2].startsWith("Fejl i linie 4, Startnummer 8 er allerede tilmeldt 100"))
        << fejl[2].toStdString();
    EXPECT_EQ(markers, std::vector<int>({1, 1, 0, 1, 0}));
    ASSERT_TRUE(klubber.SaveAll());
    // Bo takes the number after the 8 given by hand.
    EXPECT_EQ(StoredDeltagere(), QStringList({"7/Bent/1990/2", "8/Karl/2001/1", "9/Bo/0/1"}));
    EXPECT_EQ(StoredEntries(), QStringList({"8/M/100/0/0", "9/M/LÆ/0/0"}));
}

TEST_F(KlubImport, WithTheEnglishCodingTheCategoryIsTheEntrysRank) {
    TKlubManager klubber(1);
    TImportSettings redid;
    redid.Redid = true;
    std::vector<TImportRow> rows = Fortolk("Amy Lee;G;U14;HJ;C\n-;;;60;", redid).Rows;
    std::vector<int> markers = AutoKontrol(rows, Ov(), true).Markers;
    EXPECT_EQ(Fejl(AutoOpdDeltagere(klubber, Ov(), rows, markers, true).Fejl), QStringList());
    ASSERT_TRUE(klubber.SaveAll());
    EXPECT_EQ(StoredDeltagere(), QStringList({"1/Amy Lee/0/1"}));
    EXPECT_EQ(StoredEntries(), QStringList({"1/P14/60/0/5", "1/P14/HØ/0/3"}));
}

TEST_F(KlubImport, TwoThousandEntryLinesAreInterpretedStoredAndReadBack) {
    QString text;
    const QStringList events = {"100 m", "60 m hæk", "Længdespring", "Kugle", "4x100"};
    for (int athlete = 0; athlete < 400; ++athlete) {
        for (int e = 0; e < events.size(); ++e) {
            const QString navn = e == 0 ? QStringLiteral("Atlet %1").arg(athlete) : QStringLiteral("-");
            text += QStringLiteral("%1\t%2\tM\t%3\t%4\r\n")
                        .arg(navn)
                        .arg(e == 0 ? QString::number(1990 + athlete % 20) : QString())
                        .arg(events[e])
                        .arg(e == 3 ? QStringLiteral("12,%1 m").arg(athlete % 90 + 10) : QString());
        }
    }
    TImportSettings settings;
    settings.Separator = u'\t';
    TImportData data = Fortolk(text, settings);
    ASSERT_EQ(data.Rows.size(), 2000u);
    TImportKontrol kontrol = AutoKontrol(data.Rows, Ov(), false);
    ASSERT_EQ(Fejl(kontrol.Fejl), QStringList());
    {
        TKlubManager klubber(1);
        const TImportResultat result = AutoOpdDeltagere(klubber, Ov(), data.Rows, kontrol.Markers, false);
        EXPECT_EQ(result.Fejl.size(), 0u);
        EXPECT_EQ(result.Deltagere, 400);
        EXPECT_EQ(result.Tilmeldinger, 2000);
        ASSERT_TRUE(klubber.SaveAll());
    }
    // Read back as the dialog reads a club.
    TKlubManager klubber(1);
    EXPECT_EQ(klubber.DeltagerList().GetCount(), 400);
    EXPECT_EQ(klubber.ResultatList().GetCount(), 2000);
    const QStringList stored = StoredEntries();
    EXPECT_EQ(stored.filter("/M/60H/").size(), 400);
    EXPECT_EQ(stored.filter("/M/4X100/").size(), 400);
    EXPECT_TRUE(stored.contains("400/M/KU/1249/0")) << "athlete 399 put 12,49 m";
    EXPECT_EQ(StoredDeltagere().filter("/Atlet 399/2009/1").size(), 1);
}

TEST_F(KlubImport, AClubIsFoundByItsNameWithoutRegardToCase) {
    AddKlub(2, QStringLiteral("Odense AK"));
    TKlubManager klubber(AlleKlubber);
    ASSERT_NE(FindKlubByNavn(klubber, " odense ak "), nullptr);
    EXPECT_EQ(FindKlubByNavn(klubber, "odense ak")->GetTrimmedString(KlubField::KlubNr), "2");
    EXPECT_EQ(FindKlubByNavn(klubber, "Odense"), nullptr);
}

TEST_F(KlubImport, LookingAClubUpLeavesTheCurrentClubCurrent) {
    AddKlub(2, QStringLiteral("Odense AK"));
    AddKlub(3, QStringLiteral("Vejle IF"));
    TKlubManager klubber(AlleKlubber);
    klubber.SelectKlub(klubber.GetKlub(0), DeltagerField::Navn);
    TKlubElement* current = klubber.GetCurrentKlub();
    ASSERT_NE(current, nullptr);
    EXPECT_NE(FindKlubByNavn(klubber, "Vejle IF"), nullptr);
    EXPECT_EQ(FindKlubByNavn(klubber, "Ingen"), nullptr);
    EXPECT_EQ(klubber.GetCurrentKlub(), current) << "the dialog writes its edits into the current club";
}

} // namespace
