#include "print/D_KlubUdskrift.h"

#include "PrintRecorder.h"
#include "foundation/Windows1252.h"
#include "model/D_Klub.h"
#include "model/D_Ovelser.h"
#include "model/D_Staevne.h"
#include "print/D_Html.h"
#include "print/D_Print.h"
#include "storage/DBFieldDate.h"
#include "support/ResultFixture.h"
#include "support/Test.h"

#include <QFontMetricsF>
#include <QImage>
#include <QProcess>

#include <map>

namespace {

constexpr auto Body = TPrintSection::Body;
constexpr auto Header = TPrintSection::Header;

// What a statement printed: its body rows as "text | text", a rule as "--", and its header rows.
struct TPrinted {
    QString Title;
    QStringList Rows;
    QStringList HeaderRows;
    bool HasRow(const QString& row) const { return Rows.contains(row); }
};

QStringList RowsOf(const TPrint& print, TPrintSection section) {
    QStringList rows;
    const TPrintLines& lines = print.Lines(section);
    for (int i = 0; i < lines.Count(); ++i) {
        QStringList texts;
        for (const TPrintField& field : lines[i].Fields)
            if (!field.Text.trimmed().isEmpty())
                texts.append(field.Kind == TFieldKind::HorizontalRule ? QStringLiteral("--") : field.Text);
        if (!texts.isEmpty())
            rows.append(texts.join(" | "));
    }
    return rows;
}

// A meet with fees on every event row, three clubs with participants, entries, goods, purchases and
// payments, and one club with nothing at all.
class TKlubUdskriftTest : public TResultTest {
protected:
    TKlubUdskriftTest() {
        SetFees();
        AddKlub(1, "Hansen & Søn <AGF>");
        StoreRecord<TKlubTable>({{KlubField::KlubNr, qint64(2)},
                                 {KlubField::Navn, QString("Sparta")},
                                 {KlubField::Prisgruppe, qint64(1)},
                                 {KlubField::KontaktPerson, QString("Ib \"Lyn\" Berg")},
                                 {KlubField::Telefon, QString("12 34 56 78")},
                                 {KlubField::Adresse1, QString("Vej 1")},
                                 {KlubField::Email, QString("ib@sparta.dk")}});
        AddKlub(3, "Tom Klub");
        AddKlub(4, "Ingen");

        AddDeltager(1, "Anna Holm", 2008, 1);
        AddDeltager(2, "Bo Ek", 0, 1);
        AddDeltager(3, "Carl Lund", 2007, 1);
        AddDeltager(7, "Dan Ravn", 2009, 1);
        AddDeltager(10, "Eva Kok", 2006, 2);
        AddDeltager(11, "Sparta 1 %", 0, 2);
        AddDeltager(12, "Kim Damm", 2005, 2);

        // Club 1: 50 + 50 + (waiting) 0 + (late) 75 + (a later round) 0 = 175.
        AddResultat(Round("M", "LÆ"), 1, Fields({{ResultatField::Seedning, 612}}));
        AddResultat(Round("M", "100", "I"), 1, Fields({{ResultatField::Seedning, 1152}}));
        AddResultat(
            Round("M", "100", "F"), 1,
            Fields(
                {{ResultatField::Resultat, 1149}, {ResultatField::Vind, 12}, {ResultatField::Placering, 2}}));
        AddResultat(Round("M", "HØ"), 2,
                    [](TResultatTable& t) { t.GetField(ResultatField::ResultatKode)->SetAsString("V"); });
        AddResultat(Round("M", "KU"), 3, Fields({{ResultatField::Efteranmeldelse, 1}}));
        // Club 2 (second price group): a no-show 60 + 20, a relay 60 and Kim in class K 60 = 200.
        AddResultat(Round("M", "100", "I"), 10,
                    [](TResultatTable& t) { t.GetField(ResultatField::ResultatKode)->SetAsString("E"); });
        AddResultat(Round("M", "4X100"), 11);
        AddResultat(Round("K", "100"), 12, Fields({{ResultatField::Resultat, 1301}}));

        StoreRecord<TGruppeTable>(
            {{GruppeField::Gruppe, qint64(1)}, {GruppeField::Tekst, QString("Måltider")}});
        StoreRecord<TGruppeTable>(
            {{GruppeField::Gruppe, qint64(2)}, {GruppeField::Tekst, QString("Hotel <nat>")}});
        Vare(1, "Frokost & kaffe", 45, 1);
        Vare(2, "Sandwich", 30, 1);
        Vare(3, "Værelse", 250, 2);
        // Club 1: 2 x 250 + 3 x 45 = 635; club 2: 30.
        Kob(1, 3, 2);
        Kob(1, 1, 3);
        Kob(2, 2, 1);
        // Club 1 paid 200, club 3 paid 100.
        Betaling(1, QDate(2024, 5, 1), "Overført <ref 7>", 200);
        Betaling(3, QDate(2024, 5, 2), "Kontant", 100);

        klubber_ = std::make_unique<TKlubManager>(AlleKlubber);
        job.KlubManager = klubber_.get();
        for (int i = 0; i < klubber().GetKlubCount(); ++i)
            job.Klubber.push_back(&klubber().GetKlub(i));
        for (TKlasseElement* klasse : Ov().GetKlasser())
            job.Klasser.append(klasse->GetTrimmedString(KlasseField::Korttekst));
        EXPECT_EQ(job.Klasser.size(), 2);
        job.UdskrivDeltagere = true;
        previous_ = SetPrintPreviewWindow([this](TPrint& print) {
            Printed.push_back({print.Title, RowsOf(print, Body), RowsOf(print, Header)});
            if (OnPreview)
                OnPreview(print);
        });
    }
    ~TKlubUdskriftTest() override { SetPrintPreviewWindow(previous_); }

    // The fees of every event row: 50, late 75, penalty 25; in the second price group 60, 90 and 20.
    void SetFees() {
        for (int i = 0; i < Ov().GetInfoCount(); ++i) {
            TOvelseRkElement& row = Ov().GetInfo(i)->OvelseRk();
            for (const auto& [fieldNo, fee] : {std::pair{OvelseRkField::Startgebyr1, 50.0},
                                               {OvelseRkField::Efteranmgebyr1, 75.0},
                                               {OvelseRkField::Strafgebyr1, 25.0},
                                               {OvelseRkField::Startgebyr2, 60.0},
                                               {OvelseRkField::Efteranmgebyr2, 90.0},
                                               {OvelseRkField::Strafgebyr2, 20.0}})
                row.GetField(fieldNo)->SetAsFloat(fee);
        }
        Ov().Save();
    }
    TKlubManager& klubber() { return *klubber_; }

    static void Vare(qint32 nr, const QString& tekst, double pris, qint32 gruppe) {
        StoreRecord<TVareTable>({{VareField::Varenummer, qint64(nr)},
                                 {VareField::Korttekst, tekst},
                                 {VareField::Pris, pris},
                                 {VareField::Gruppe, qint64(gruppe)}});
    }
    static void Kob(qint32 klub, qint32 vare, qint32 antal) {
        StoreRecord<TKlubkobTable>({{KlubkobField::Klubnr, qint64(klub)},
                                    {KlubkobField::Varenummer, qint64(vare)},
                                    {KlubkobField::Antal, qint64(antal)}});
    }
    static void Betaling(qint32 klub, QDate dato, const QString& tekst, double belob) {
        StoreRecord<TBetalingTable>({{BetalingField::Klubnr, qint64(klub)},
                                     {BetalingField::Dato, QDateToDateTime(dato)},
                                     {BetalingField::Tekst, tekst},
                                     {BetalingField::Belob, belob}});
    }

    TSystemData& Settings() { return Manager().SystemData(); }
    const TPrinted& PrintedOf(const QString& klub) const {
        for (const TPrinted& printed : Printed)
            if (printed.Title == klub)
                return printed;
        throw Exception("No statement of " + klub);
    }
    QString Page(const QString& name) const { return QDir(CurrentStaevneDir()).filePath(name); }

    std::unique_ptr<TKlubManager> klubber_;
    TKlubUdskrift job;
    std::vector<TPrinted> Printed;
    std::function<void(TPrint&)> OnPreview;

private:
    TPrintPreviewWindow previous_;
};

TEST(TKlubUdskriftRanges, BibsAreRangesSeparatedByCommaAndBlank) {
    EXPECT_EQ(StartnummerRanges({1, 2, 3, 7}), "1-3, 7");
    EXPECT_EQ(StartnummerRanges({7, 3, 0, 1, 2, 3, -4, 9, 10}), "1-3, 7, 9-10");
    EXPECT_EQ(StartnummerRanges({5}), "5");
    EXPECT_EQ(StartnummerRanges({}), "");
    EXPECT_EQ(SafeFileName("../a\\b:c*?\"<>|d"), ".._a_b_c______d");
}

TEST_F(TKlubUdskriftTest, EveryClubsBalanceIsItsFeesPlusPurchasesMinusPaymentsInPrintAndOnItsPage) {
    // Fees, purchases and payments of each club, counted by hand from the fixture.
    const std::map<qint32, std::array<double, 3>> expected = {
        {1, {175, 635, 200}}, {2, {200, 30, 0}}, {3, {0, 0, 100}}, {4, {0, 0, 0}}};
    job.UdskrivRegnskab = true;
    for (TKlubElement* klub : job.Klubber) {
        const qint32 nr = klub->GetField(KlubField::KlubNr)->GetAsInteger();
        SCOPED_TRACE(nr);
        const TKlubStatement s = job.Statement(*klub, true);
        const auto [fees, kob, betalt] = expected.at(nr);
        EXPECT_EQ(s.Startgebyr, fees);
        EXPECT_EQ(s.Kob, kob);
        EXPECT_EQ(s.Indbetalt, betalt);
        EXPECT_EQ(s.Saldo(), fees + kob - betalt);
    }

    job.Run("KlubInfoListeStarttid", true, {}, false);
    ASSERT_EQ(Printed.size(), 4u);
    for (const auto& [name, saldo] :
         {std::pair{"Hansen & Søn <AGF>", "610"}, {"Sparta", "230"}, {"Tom Klub", "-100"}, {"Ingen", "0"}})
        EXPECT_TRUE(PrintedOf(name).HasRow(QString("SALDO | ") + saldo))
            << name << "\n"
            << PrintedOf(name).Rows.join("\n").toStdString();

    job.Run("KlubInfoListeResultat", false, "klub", true);
    for (const auto& [nr, saldo] : {std::pair{1, "610 kr"}, {2, "230 kr"}, {3, "-100 kr"}, {4, "0 kr"}}) {
        const QString page = Page(QString("klub%1.htm").arg(nr));
        EXPECT_EQ(HtmlXPath(page, "string(//table[tr/td/b='SALDO']//td[3])"), saldo) << nr;
    }
    EXPECT_TRUE(Shown().isEmpty());
}

TEST_F(TKlubUdskriftTest, AStatementListsEntriesInProgrammeOrderWithFeesSubtotalsAccountAndBibRanges) {
    job.UdskrivRegnskab = true;
    job.UdskrivStartnumre = true;
    job.Klubber = {&klubber().GetKlub(0)};
    Settings().KlublisteBundtekst1 = "Husk at hente numre i sekretariatet";
    job.Run("KlubInfoListeStarttid", true, {}, false);
    ASSERT_EQ(Printed.size(), 1u);
    const QStringList rows = Printed[0].Rows;
    const QStringList expected = {"1 | HOLM Anna, 2008",
                                  "M | 100 m - indledende | 11.52 | Lør 13:00 | 50",
                                  "M | 100 m - finale | Lør 14:00",
                                  "M | Længdespring | 6.12 | Lør 13:00 | 50",
                                  "2 | EK Bo",
                                  "M | Højdespring | Venter | Lør 13:00",
                                  "3 | LUND Carl, 2007",
                                  "M | Kuglestød | Lør 13:00 | 75",
                                  "7 | RAVN Dan, 2009",
                                  "--",
                                  "I alt: 3 stk | 175",
                                  "--",
                                  "Måltider",
                                  "Frokost & kaffe | 3 stk á 45 | 135",
                                  "--",
                                  "I alt: 3 stk | 135",
                                  "--",
                                  "Hotel <nat>",
                                  "Værelse | 2 stk á 250 | 500",
                                  "--",
                                  "I alt: 2 stk | 500",
                                  "--",
                                  "Indbetalinger",
                                  "01-05-2024 | Overført <ref 7> | 200",
                                  "--",
                                  "I alt: | 200",
                                  "--",
                                  "--",
                                  "SALDO | 610",
                                  "--",
                                  "Husk at hente numre i sekretariatet",
                                  "Startnumre",
                                  "1-3, 7"};
    EXPECT_EQ(rows, expected) << rows.join("\n").toStdString();
    EXPECT_EQ(Printed[0].HeaderRows.value(1), "Hansen & Søn <AGF>")
        << Printed[0].HeaderRows.join("\n").toStdString();
    EXPECT_TRUE(Shown().isEmpty());
}

TEST_F(TKlubUdskriftTest, ContactsShowWithTheAccountAndTheResultListShowsMarksWindPlacesAndStatus) {
    job.UdskrivRegnskab = true;
    job.Klubber = {&klubber().GetKlub(1), &klubber().GetKlub(0)};
    job.Run("KlubInfoListeResultat", false, {}, false);
    ASSERT_EQ(Printed.size(), 2u);
    // The contact block under the club's name, the phone 8 cm to the right.
    const QStringList header = Printed[0].HeaderRows;
    EXPECT_TRUE(header.contains("Kontaktperson")) << header.join("\n").toStdString() << "\n"
                                                  << Printed[0].Rows.join("\n").toStdString();
    EXPECT_TRUE(header.join("\n").contains("Ib \"Lyn\" Berg | Tlf: 12 34 56 78"))
        << header.join("\n").toStdString();
    EXPECT_TRUE(header.contains("Vej 1"));
    EXPECT_TRUE(header.contains("ib@sparta.dk"));
    // A no-show pays the penalty too; the relay team its fee.
    EXPECT_TRUE(Printed[0].HasRow("M | 100 m - indledende | DNS | 80"));
    // No payments: the heading alone, no subtotal, and the balance is fees plus purchases.
    const QStringList& rows = Printed[0].Rows;
    ASSERT_TRUE(rows.contains("Indbetalinger"));
    EXPECT_EQ(rows.mid(rows.indexOf("Indbetalinger") + 1, 3), QStringList({"--", "SALDO | 230", "--"}));
    // A relay team's name stays as typed.
    EXPECT_TRUE(Printed[0].HasRow("11 | Sparta 1 %")) << Printed[0].Rows.join("\n").toStdString();
    EXPECT_TRUE(Printed[0].HasRow("M | 4 x 100 m stafet | Intet resultat | 60"));
    EXPECT_TRUE(Printed[1].HasRow("M | 100 m - finale | 11.49 w:+1.2  (2)"));
    EXPECT_TRUE(Printed[1].HasRow("M | Længdespring | Intet resultat | 50"));
    // Without the account no contact block, and no purchases.
    Printed.clear();
    job.UdskrivRegnskab = false;
    job.Run("KlubInfoListeResultat", false, {}, false);
    EXPECT_FALSE(Printed[0].HeaderRows.contains("Kontaktperson"));
    EXPECT_FALSE(Printed[1].Rows.join("\n").contains("SALDO"));
    EXPECT_TRUE(Printed[1].HasRow("I alt: 3 stk | 175"));
}

TEST_F(TKlubUdskriftTest, TheClassFilterTheNameOnlyLineAndTheFeeSummaryWithoutParticipants) {
    job.Klasser = {"Kvinder senior"};
    job.Klubber = {&klubber().GetKlub(1), &klubber().GetKlub(0)};
    TKlubStatement sparta = job.Statement(klubber().GetKlub(1), true);
    ASSERT_EQ(sparta.Deltagere.size(), 1u);
    EXPECT_EQ(sparta.Deltagere[0].Navn, "DAMM Kim, 2005");
    // Anna, Bo and Carl have entries only outside the class; Dan is entered nowhere and still listed.
    TKlubStatement agf = job.Statement(klubber().GetKlub(0), true);
    ASSERT_EQ(agf.Deltagere.size(), 1u);
    EXPECT_EQ(agf.Deltagere[0].Startnummer, 7);
    EXPECT_TRUE(agf.Deltagere[0].Entries.empty());
    // The bibs are the club's, whatever was listed.
    EXPECT_EQ(agf.Startnumre, "1-3, 7");

    job.Klasser = {"Mænd senior", "Kvinder senior"};
    job.UdskrivDeltagere = false;
    Settings().UndladInternationaltNavn = true;
    job.Run("KlubInfoListeStarttid", true, {}, false);
    EXPECT_EQ(Printed[0].Rows, QStringList({"DELTAGERGEBYR", "--", "I alt: 3 stk | 200", "--"}));
    EXPECT_EQ(Printed[1].Rows.value(0), "DELTAGERGEBYR");
    EXPECT_EQ(job.Statement(klubber().GetKlub(1), true).Deltagere[0].Navn, "Eva Kok, 2006");
    // By bib instead of by name.
    job.Order = DeltagerField::Startnummer;
    std::vector<qint32> bibs;
    for (const TKlubDeltager& deltager : job.Statement(klubber().GetKlub(1), true).Deltagere)
        bibs.push_back(deltager.Startnummer);
    EXPECT_EQ(bibs, std::vector<qint32>({10, 11, 12}));
}

TEST_F(TKlubUdskriftTest, AFunRunPrintsNameFirstBibInColumnThreeClockTimesAndNoSubtotalsYetCountsTheFees) {
    Settings().Motionsloeb = true;
    job.UdskrivRegnskab = true;
    job.Klubber = {&klubber().GetKlub(0)};
    std::vector<double> nameX;
    OnPreview = [&nameX](TPrint& print) {
        const TPrintLine& first = print.Lines(Body)[0];
        for (const TPrintField& field : first.Fields)
            nameX.push_back(UnitsToCm(field.X));
    };
    job.Run("KlubInfoListeResultat", false, {}, false);
    ASSERT_EQ(Printed.size(), 1u);
    const QStringList rows = Printed[0].Rows;
    EXPECT_EQ(rows.value(0), "1 | HOLM Anna, 2008");
    // The bib in the fourth column of the fun-run layout, the name at the left edge.
    EXPECT_EQ(nameX, std::vector<double>({12.2, 0.0}));
    EXPECT_TRUE(rows.contains("M | 100 m - indledende | Intet resultat | 13:00:00 | 50"))
        << rows.join("\n").toStdString();
    EXPECT_FALSE(rows.join("\n").contains("I alt:"));
    // The fees go into the balance all the same.
    EXPECT_TRUE(rows.contains("SALDO | 610"));
}

TEST_F(TKlubUdskriftTest, TheIndexLinksEachClubPageInLowerCaseAndEveryDataTextIsEscaped) {
    job.UdskrivRegnskab = true;
    job.Run("KlubInfoListeStarttid", true, "Klub", true);
    const QString index = Page("klubliste.htm");
    EXPECT_EQ(HtmlXPath(index, "string(//title)").section(", ", -1), "KLUBLISTE");
    EXPECT_EQ(HtmlXPath(index, "string(//a[1]/@href)"), "klub1.htm");
    EXPECT_EQ(HtmlXPath(index, "count(//a)"), "4");
    EXPECT_EQ(HtmlXPath(index, "string(//a[@href='klub1.htm'])"), "Hansen & Søn <AGF>");
    EXPECT_EQ(HtmlXPath(index, "string(//tr[td/a/@href='klub1.htm']/td[3])"), "4 / 0");
    EXPECT_EQ(HtmlXPath(index, "string(//tr[td/a/@href='klub1.htm']/td[4])"), "5 / 0");
    EXPECT_EQ(HtmlXPath(index, "string(//tr[td/a/@href='klub2.htm']/td[3])"), "2 / 1");
    EXPECT_EQ(HtmlXPath(index, "string(//tr[td/b][last()]/td[2])"), "I alt 4 klubber");
    EXPECT_EQ(HtmlXPath(index, "string(//tr[td/b][last()]/td[3])"), "6 / 1");
    EXPECT_EQ(HtmlXPath(index, "string(//tr[td/b][last()]/td[4])"), "7 / 1");

    const QString agf = Page("klub1.htm");
    const QString text = Windows1252::Decode(ReadFile(agf));
    for (const char* raw : {"<AGF>", "<nat>", "<ref 7>", "& Søn", "& kaffe"})
        EXPECT_FALSE(text.contains(raw)) << raw;
    EXPECT_EQ(HtmlXPath(agf, "string(//title)").section(", ", -1), "Hansen & Søn <AGF>");
    EXPECT_EQ(HtmlXPath(agf, "string(//td[b='Hotel <nat>'])"), "Hotel <nat>");
    EXPECT_EQ(HtmlXPath(agf, "string(//td[.='01-05-2024 - Overført <ref 7>']/following-sibling::td)"),
              "200 kr");
    EXPECT_EQ(HtmlXPath(agf, "string(//tr[td='Frokost & kaffe']/td[3])"), "3 stk á 45 kr");
    EXPECT_EQ(HtmlXPath(agf, "string(//td[contains(.,'Antal deltagere')])"),
              "Antal deltagere: 4, antal starter: 5, heraf med gebyr: 3");
    // A participant's row, then an entry row in the same shade, the next participant in the other.
    EXPECT_EQ(HtmlXPath(agf, "string(//tr[td='HOLM Anna, 2008']/td[1]/@class)"), "ko1");
    EXPECT_EQ(HtmlXPath(agf, "string(//tr[td='Længdespring']/td[6])"), "50");
    EXPECT_EQ(HtmlXPath(agf, "string(//tr[td='Længdespring']/td[7])"), "Lør 13:00");
    EXPECT_EQ(HtmlXPath(agf, "string(//tr[td='EK Bo']/td[1]/@class)"), "ka1");
    EXPECT_EQ(HtmlXPath(Page("klub2.htm"), "string(//td[contains(.,'Ib')])"), "");
    // Every page parses without errors.
    for (const QString& page : {index, agf, Page("klub2.htm")}) {
        QProcess xmllint;
        xmllint.start("xmllint", {"--html", "--noout", page});
        ASSERT_TRUE(xmllint.waitForFinished());
        EXPECT_EQ(xmllint.readAllStandardError(), "") << page.toStdString();
    }
}

TEST_F(TKlubUdskriftTest, TranslatedAndRedidPagesTakeTheMeetsWordsAndTheirOwnColumns) {
    Settings().Oversattelse = true;
    QStringList words(20, "?");
    words[4] = "Club";
    words[7] = "Bib";
    words[8] = "Entry";
    words[9] = "Athletes";
    words[10] = "Starts";
    words[11] = "Total";
    words[12] = "clubs";
    words[13] = "Time";
    words[14] = "CLUB LIST";
    words[18] = "PB";
    Settings().OversattelsesTekster = words;
    job.Klubber = {&klubber().GetKlub(0)};
    job.Run("KlubInfoListeStarttid", true, {}, true);
    const QString index = Page("klubliste.htm");
    EXPECT_EQ(HtmlXPath(index, "string(//title)").section(", ", -1), "CLUB LIST");
    EXPECT_EQ(HtmlXPath(index, "string(//tr[1]/td[3])"), "Athletes");
    EXPECT_EQ(HtmlXPath(index, "string(//tr[td/b][last()]/td[2])"), "Total 1 clubs");
    const QString agf = Page("1.htm");
    EXPECT_EQ(HtmlXPath(agf, "count(//table[@class='rl']/tr[td/i])"), "1");
    EXPECT_EQ(HtmlXPath(agf, "string(//table[@class='rl']/tr[1]/td[6])"), "PB");

    Settings().Oversattelse = false;
    job.Run("KlubInfoListeResultat", false, {}, true);
    EXPECT_EQ(HtmlXPath(agf, "count(//table[@class='rl']/col)"), "6");
    EXPECT_EQ(HtmlXPath(agf, "string(//tr[td='100 m - finale']/td[6])"), "11.49 w:+1.2  (2)");
}

TEST_F(TKlubUdskriftTest, BodyOnlyClubPagesBeginWithTheWholeIndexAndStillLinkToHtm) {
    Settings().OnlyHtmlBody = true;
    job.UdskrivRegnskab = true;
    job.Run("KlubInfoListeStarttid", true, "Klub", true);
    const QByteArray index = ReadFile(Page("klubliste.body"));
    ASSERT_NE(index, "<missing>");
    EXPECT_TRUE(index.contains("href=\"klub3.htm\""));
    for (int nr = 1; nr <= 4; ++nr) {
        const QByteArray page = ReadFile(Page(QString("klub%1.body").arg(nr)));
        EXPECT_TRUE(page.startsWith(index)) << nr;
        const QString own = Windows1252::Decode(page.mid(index.size()));
        EXPECT_TRUE(own.startsWith(
            "<table class=h cellpadding=0 cellspacing=0>\r\n<tr><td class=c4>&nbsp;</td></tr>"))
            << own.left(200).toStdString();
        EXPECT_FALSE(own.contains("</html>"));
    }
    EXPECT_TRUE(Windows1252::Decode(ReadFile(Page("klub1.body")))
                    .contains("<tr><td class=l3><b>Hansen &amp; Søn &lt;AGF&gt;</b></td></tr>"));
}

TEST_F(TKlubUdskriftTest, APrefixStaysAFileNameInTheMeetsFolder) {
    job.Klubber = {&klubber().GetKlub(2)};
    job.Run("KlubInfoListeStarttid", true, "../Ud/", true);
    EXPECT_NE(ReadFile(Page(".._ud_3.htm")), "<missing>");
    EXPECT_EQ(HtmlXPath(Page("klubliste.htm"), "string(//a/@href)"), ".._ud_3.htm");
}

TEST_F(TKlubUdskriftTest, ALayoutWithoutTheListsColumnsIsReportedOncePerRunNamingFileAndSection) {
    WriteFile(Path("ZUNO2.RPT"), "[KlubInfoListeStarttid]\r\nTitle=Klubliste\r\nKol_A=0|1\r\nKol_B=1|5\r\n");
    job.Run("KlubInfoListeStarttid", true, {}, false);
    const QStringList shown = Shown();
    ASSERT_EQ(shown.size(), 1) << shown.join("\n").toStdString();
    EXPECT_TRUE(shown[0].contains("KlubInfoListeStarttid"));
    EXPECT_TRUE(shown[0].contains("ZUNO2.RPT"));
    // The two clubs without participants have nothing to print.
    EXPECT_EQ(Printed.size(), 2u);
}

// The shipped layouts keep every text inside A4 portrait: each column ends inside the right margin, and
// the widest texts a statement prints are drawn whole, inside their columns and the margins.
TEST_F(TKlubUdskriftTest, TheShippedClubLayoutsFitAnA4PortraitPage) {
    constexpr double A4Width = 21.0; // cm
    constexpr int Dpi = 300;
    AddProgramme({{"M", "SL", "KF"}});
    SetFees();
    const QString w25(25, u'W');
    StoreRecord<TKlubTable>({{KlubField::KlubNr, qint64(9)},
                             {KlubField::Navn, w25},
                             {KlubField::KontaktPerson, QString(30, u'W')},
                             {KlubField::Telefon, QString("+45 12 34 56 78 / 87 65 43 21")},
                             {KlubField::Email, QString("kontakt.person@atletikklubben-vesterbro.dk")}});
    AddDeltager(99999, "Www " + QString(21, u'W'), 2008, 9);
    AddResultat(Round("M", "100", "F"), 99999,
                Fields({{ResultatField::Resultat, 995959},
                        {ResultatField::Vind, -199},
                        {ResultatField::Placering, 888}}));
    AddResultat(Round("M", "SL", "K"), 99999,
                Fields({{ResultatField::Seedning, 9999}, {ResultatField::Efteranmeldelse, 1}}));
    StoreRecord<TGruppeTable>({{GruppeField::Gruppe, qint64(7)}, {GruppeField::Tekst, QString(50, u'W')}});
    Vare(9, QString(30, u'W'), 99999, 7);
    Kob(9, 9, 999);
    Betaling(9, QDate(2024, 12, 30), QString(50, u'W'), -99999);
    Settings().KlublisteBundtekst1 = QStringList(60, "Wwwww").join(u' ');
    TKlubManager manager(AlleKlubber);
    job.KlubManager = &manager;
    job.UdskrivRegnskab = true;
    job.UdskrivStartnumre = true;
    job.Klubber = {&manager.GetKlub(manager.GetKlubCount() - 1)};
    ASSERT_EQ(job.Klubber[0]->GetTrimmedString(KlubField::Navn), w25);

    QStringList overflows;
    OnPreview = [&](TPrint& print) {
        const double right = A4Width * 0.99 - print.LeftMargin() - print.RightMargin();
        for (const TColumnField& column : print.Columns())
            if (column.GetLeft() + column.GetWidth() > right)
                overflows << QString("column at %1 cm").arg(column.GetLeft());
        TRecordingDevice device(Dpi, QSizeF(A4Width / 2.54, 29.7 / 2.54));
        // Texts measured as on a page of that resolution.
        QImage canvas(1, 1, QImage::Format_RGB32);
        canvas.setDotsPerMeterX(qRound(Dpi / 0.0254));
        canvas.setDotsPerMeterY(qRound(Dpi / 0.0254));
        RecordPrint(print, device);
        const double margin = device.width() * 0.99 - print.RightMargin() * Dpi / 2.54;
        for (const TRecordedText& text : device.Texts) {
            const double start = text.Baseline.x();
            const double end = start + QFontMetricsF(text.Font, &canvas).horizontalAdvance(text.Text);
            const bool cut =
                !text.Clip.isEmpty() && (start < text.Clip.left() - 1 || end > text.Clip.right() + 1);
            if (end > margin || cut)
                overflows << QString("%1 (%2 to %3 cm)")
                                 .arg(text.Text)
                                 .arg(start * 2.54 / Dpi)
                                 .arg(end * 2.54 / Dpi);
        }
    };
    for (const bool motion : {false, true}) {
        Settings().Motionsloeb = motion;
        job.Run("KlubInfoListeStarttid", true, {}, false);
        job.Run("KlubInfoListeResultat", false, {}, false);
    }
    EXPECT_EQ(Printed.size(), 4u);
    EXPECT_TRUE(Printed[0].HasRow("M | Stående længdespring - kvalifikation | 99.99 | Lør 13:00 | 75"))
        << Printed[0].Rows.join("\n").toStdString();
    EXPECT_TRUE(overflows.isEmpty()) << overflows.join("\n").toStdString();
    EXPECT_TRUE(Shown().isEmpty());
}

} // namespace
