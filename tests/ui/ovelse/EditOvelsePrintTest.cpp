// The event editor's prints: the lists with their second HTML-only run and page names, the typed cell
// committed and saved before anything prints, diplomas on the diploma printer (put back whatever
// happens) for the places asked or the row's athlete, the summary lists, and the time schedule in time
// order whatever the overview shows, escaped, with HTML-only printing nothing.
#include "EditOvelseTestSupport.h"
#include "support/PrinterToPdf.h"

#include "foundation/LxDisk.h"
#include "foundation/Windows1252.h"
#include "model/D_StaevneSystemData.h"
#include "platform/Printer.h"
#include "print/D_UdskriftTidsskema.h"
#include "print/PrUtil.h"
#include "ui/PrUtilPrintForm.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMenu>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>

namespace {

// Every preview the jobs open, as the body texts of each line joined by blanks; the printer asked for
// then is kept beside it.
class TPreviews {
public:
    TPreviews()
        : saved_(SetPrintPreviewWindow([this](TPrint& print) {
            QStringList lines;
            const TPrintLines& body = print.Lines(TPrintSection::Body);
            for (int i = 0; i < body.Count(); ++i) {
                QStringList fields;
                for (const TPrintField& field : body[i].Fields)
                    if (!field.Text.trimmed().isEmpty())
                        fields << field.Text.trimmed();
                if (!fields.isEmpty())
                    lines << fields.join(u' ');
            }
            Pages << lines.join(u'\n');
            Printers << Platform::RequestedPrinter();
            if (OnPreview)
                OnPreview();
        })) {}
    ~TPreviews() { SetPrintPreviewWindow(saved_); }
    TPreviews(const TPreviews&) = delete;
    TPreviews& operator=(const TPreviews&) = delete;

    QStringList Pages;
    QStringList Printers;
    std::function<void()> OnPreview;

private:
    TPrintPreviewWindow saved_;
};

QString PdfText(const QString& fileName) {
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), {fileName, QStringLiteral("-")});
    if (!pdftotext.waitForFinished(60000) || pdftotext.exitCode() != 0)
        return QStringLiteral("<pdftotext failed>");
    return QString::fromUtf8(pdftotext.readAllStandardOutput());
}

QString PageText(const QString& fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return Windows1252::Decode(file.readAll());
}

class Prints : public TEditOvelseTest {
protected:
    // 100 m I of class M: runners 1-4 seeded in heat 1; 100 m F: 5-7 with times and places 1-3.
    Prints() {
        Enter(Round("M", "100", "I"), 1, 4, 1);
        for (qint32 nr = 5; nr <= 7; ++nr)
            AddResultat(Round("M", "100", "F"), nr,
                        Fields({{ResultatField::Heat, 1},
                                {ResultatField::Resultat, 1000 + nr},
                                {ResultatField::Placering, nr - 4}}));
        for (qint32 nr = 5; nr <= 7; ++nr)
            AddDeltager(nr, QStringLiteral("Finalist %1").arg(nr), 2000, 1);
    }
    static QString MeetDir() { return StaevneManager->GetStaevneDir() + u'/'; }
    // The pages of the meet's folder, lower-case names.
    static QStringList PageNames() {
        QStringList names = QDir(MeetDir()).entryList({QStringLiteral("*.htm")}, QDir::Files);
        names.sort();
        return names;
    }
    static void Options(TEditOvelseForm& form, bool skaerm, bool printer, bool html) {
        form.UdskrivTilSkaerm->setChecked(skaerm);
        form.UdskrivTilPrinter->setChecked(printer);
        form.HtmlUdskrift->setChecked(html);
        form.HTMLNavnPrOvelse->setChecked(false);
        Settle();
    }
    static void Trigger(QAction* action) {
        ASSERT_TRUE(action->isEnabled()) << action->objectName().toStdString();
        action->trigger();
        Settle();
    }
};

// ---------------------------------------------------------------- lists

TEST_F(Prints, PrinterAndHtmlMakeTwoRuns_TheListPrintedAndItsPageWritten) {
    const TPrinterToPdf pdf;
    const auto form = Open();
    OpenResultPage(*form, Round("M", "100", "I"));
    Options(*form, false, true, true);
    Trigger(form->StartlisteToolButton);
    EXPECT_EQ(PdfText(pdf.FileName()).count(QStringLiteral("Deltager")), 4);
    ASSERT_EQ(PageNames(), QStringList({"startliste.htm"}));
    EXPECT_EQ(PageText(MeetDir() + "startliste.htm").count(QStringLiteral("Deltager")), 4);
    EXPECT_EQ(Shown(), QStringList());

    // The screen in place of the printer: a preview, and the page again.
    TPreviews previews;
    QFile::remove(MeetDir() + "startliste.htm");
    Options(*form, true, false, true);
    Trigger(form->StartlisteToolButton);
    ASSERT_EQ(previews.Pages.size(), 1);
    EXPECT_EQ(previews.Pages[0].count(QStringLiteral("Deltager")), 4) << previews.Pages[0].toStdString();
    EXPECT_EQ(PageNames(), QStringList({"startliste.htm"}));

    // HTML alone: one run, no preview.
    Options(*form, false, false, true);
    Trigger(form->StartlisteToolButton);
    EXPECT_EQ(previews.Pages.size(), 1);
    EXPECT_EQ(form->PageControl->currentWidget(), form->OvelsePage);
}

TEST_F(Prints, ListsThatExistOnlyOnPaperPrintOnceWithHtmlTickedAndSayNothing) {
    const TPrinterToPdf pdf;
    const auto form = Open();
    OpenResultPage(*form, Round("M", "100", "F"));
    Options(*form, false, true, true);
    Trigger(form->Plads1);
    EXPECT_TRUE(PdfText(pdf.FileName()).contains(QStringLiteral("1. PRÆMIE")));
    OpenResultPage(*form, Round("M", "100", "I"));
    Trigger(form->AfkrydsningToolButton);
    EXPECT_TRUE(PdfText(pdf.FileName()).contains(QStringLiteral("Afkrydsningsliste")));
    Trigger(form->DommerlisteToolButton);
    EXPECT_TRUE(PdfText(pdf.FileName()).contains(QStringLiteral("Dommerliste")));
    EXPECT_EQ(Shown(), QStringList());
    EXPECT_EQ(PageNames(), QStringList());
}

TEST_F(Prints, WithoutAPrinterTheUserIsToldSoAndMayKeepTheListAsAPdfFile) {
    const TNoPrinter none;
    const TNoPrinterChoice saved = SetNoPrinterChoice(ChoosePdfInsteadOfPrinter);
    const auto restore = qScopeGuard([&] { SetNoPrinterChoice(saved); });
    const QString file = Path("resultater.pdf");
    TScriptedDialogs dialogs;
    dialogs->Answer<QFileDialog>([&](QFileDialog& dialog) {
        EXPECT_EQ(dialog.selectedFiles().value(0).section(u'/', -1), "Resultatliste.pdf");
        dialog.selectFile(file);
        return int(QDialog::Accepted);
    });
    const auto form = Open();
    OpenResultPage(*form, Round("M", "100", "F"));
    Options(*form, false, true, false);
    Trigger(form->ResultatlisteToolButton);
    EXPECT_EQ(Shown(),
              QStringList({"Der er ingen printer sat op på denne maskine, så listen kan ikke udskrives. "
                           "Du kan gemme den som en PDF-fil i stedet."}));
    EXPECT_TRUE(PdfText(file).contains(QStringLiteral("10.05"))) << PdfText(file).toStdString();

    // Cancelled: nothing is written and nothing more is said.
    QFile::remove(file);
    dialogs->Answer<QFileDialog>([](QFileDialog&) { return int(QDialog::Rejected); });
    Trigger(form->ResultatlisteToolButton);
    EXPECT_FALSE(QFile::exists(file));
    EXPECT_EQ(Shown().size(), 1) << "told again, and no more";
    EXPECT_EQ(dialogs->Shown, QStringList({"QFileDialog", "QFileDialog"}));
}

TEST_F(Prints, ScreenAndPrinterExcludeEachOther) {
    const auto form = Open();
    form->UdskrivTilSkaerm->setChecked(true);
    form->UdskrivTilPrinter->setChecked(true);
    EXPECT_FALSE(form->UdskrivTilSkaerm->isChecked());
    form->UdskrivTilSkaerm->setChecked(true);
    EXPECT_FALSE(form->UdskrivTilPrinter->isChecked());
}

TEST_F(Prints, PageNamesFromEventTextsAreSafe_AndSeveralRoundsAreNamedByTheTime) {
    Round("M", "100", "I").Klasse().GetField(KlasseField::Korttekst)->SetAsString(QStringLiteral("M 20/21"));
    Ov().Save();
    const auto form = Open();
    OpenResultPage(*form, Round("M", "100", "I"));
    Options(*form, false, false, true);
    form->HTMLNavnPrOvelse->setChecked(true);
    Trigger(form->StartlisteToolButton);
    const QStringList names = PageNames();
    ASSERT_EQ(names.size(), 1) << names.join(", ").toStdString();
    EXPECT_TRUE(names[0].startsWith("m 20_21 - ")) << names[0].toStdString();
    EXPECT_TRUE(names[0].endsWith(" - startliste.htm")) << names[0].toStdString();
    EXPECT_FALSE(QDir(MeetDir()).exists("m 20")) << "no folder made from the class's text";

    // Two rounds of the overview: one page, named by the date and time of the print.
    for (const QString& name : names)
        QFile::remove(MeetDir() + name);
    form->PageControl->setCurrentWidget(form->OversigtPage);
    Settle();
    const TClockScope clock(EncodeDateTime(QDate(2024, 6, 1), QTime(9, 30, 5)));
    const auto first = form->Oversigt().Find(&Round("M", "100", "I"));
    const auto second = form->Oversigt().Find(&Round("M", "100", "F"));
    ASSERT_TRUE(first && second);
    form->OversigtGrid->SetSelection(
        {std::min(first->first, second->first), std::min(first->second, second->second),
         std::max(first->first, second->first), std::max(first->second, second->second)});
    form->ShowSelection();
    Settle();
    ASSERT_EQ(form->SelectedOvelser().size(), 2u);
    Trigger(form->StartlisteToolButton);
    EXPECT_EQ(PageNames(), QStringList({"20240601 093005 - startliste.htm"}));
    EXPECT_EQ(form->Manager().Count(), 0) << "the overview's manager holds no round afterwards";
}

TEST_F(Prints, TheTypedValueIsCommittedThenSavedThenPrinted) {
    TPreviews previews;
    const auto form = Open();
    OpenResultPage(*form, Round("M", "100", "I"));
    Options(*form, true, false, false);
    TypeCell(*form, TResultColumn::Resultat, 2, QStringLiteral("1234"), 0);
    const qint32 typed = form->RowAt(2)->Startnummer;
    ASSERT_NE(form->RowAt(2)->Resultat, 1234) << "the cell is still being edited";
    bool storedWhenPrinted = false;
    previews.OnPreview = [&] {
        TResultatManager fresh;
        fresh.LoadOvelse(&Round("M", "100", "I"));
        storedWhenPrinted = Row(fresh, typed).Resultat == 1234;
    };
    Trigger(form->ResultatlisteToolButton);
    ASSERT_EQ(previews.Pages.size(), 1);
    EXPECT_TRUE(previews.Pages[0].contains(QStringLiteral("12.34"))) << previews.Pages[0].toStdString();
    EXPECT_TRUE(storedWhenPrinted);
    EXPECT_FALSE(form->Manager().IsModified());
    EXPECT_EQ(Cell(*form, TResultColumn::Resultat, 1), "12.34") << "the rows sorted by result, shown anew";
}

TEST_F(Prints, TheListButtonsServeTheResultPageAndTheOverviewsSelection_ThePopupTheResultPage) {
    const auto form = Open();
    Click(*form, Round("M", "100", "I"));
    EXPECT_TRUE(form->StartlisteToolButton->isEnabled());
    EXPECT_TRUE(form->TidsskemaToolButton->isEnabled());
    EXPECT_TRUE(form->TidsskemaDage[5]->isEnabled());
    EXPECT_FALSE(form->DiplomToolButton->isEnabled());
    for (QAction* item : form->UdskrifterMenu->actions())
        EXPECT_FALSE(item->isEnabled());
    OpenResultPage(*form, Round("M", "100", "I"));
    EXPECT_TRUE(form->DiplomToolButton->isEnabled());
    EXPECT_TRUE(form->Alle->isEnabled());
    EXPECT_FALSE(form->TidsskemaDage[5]->isEnabled());
    for (QAction* item : form->UdskrifterMenu->actions())
        EXPECT_TRUE(item->isEnabled()) << item->objectName().toStdString();
    EXPECT_TRUE(form->Boards[0]->isEnabled()) << "the board file on either page";
}

// ---------------------------------------------------------------- diplomas

TEST_F(Prints, AlleGivesAllThreePlaces_APlaceItsOwn) {
    TPreviews previews;
    const auto form = Open();
    OpenResultPage(*form, Round("M", "100", "F"));
    Options(*form, true, false, false);
    Trigger(form->Alle);
    ASSERT_EQ(previews.Pages.size(), 3);
    EXPECT_TRUE(previews.Pages[0].startsWith("1. PRÆMIE")) << previews.Pages[0].toStdString();
    EXPECT_TRUE(previews.Pages[1].startsWith("2. PRÆMIE"));
    EXPECT_TRUE(previews.Pages[2].startsWith("3. PRÆMIE"));

    previews.Pages.clear();
    Trigger(form->Plads2);
    ASSERT_EQ(previews.Pages.size(), 1);
    EXPECT_TRUE(previews.Pages[0].contains("Finalist 6")) << previews.Pages[0].toStdString();

    previews.Pages.clear();
    Trigger(form->DiplomToolButton);
    EXPECT_EQ(previews.Pages.size(), 3) << "the button itself: every place";
}

TEST_F(Prints, ASingleDiplomGoesToTheRowsAthleteAfterTheSaveSortsTheRows) {
    Manager().SystemData().DiplomLayout = 2;
    TPreviews previews;
    const auto form = Open();
    OpenResultPage(*form, Round("M", "100", "F"));
    Options(*form, true, false, false);
    ASSERT_EQ(form->RowAt(3)->Startnummer, 7);
    // Finalist 7 runs fastest now: the save puts the row first.
    TypeCell(*form, TResultColumn::Resultat, 3, QStringLiteral("990"), 0);
    Trigger(form->ValgtDeltager);
    ASSERT_EQ(previews.Pages.size(), 1);
    EXPECT_TRUE(previews.Pages[0].contains("Finalist 7")) << previews.Pages[0].toStdString();
    EXPECT_EQ(form->RowAt(1)->Startnummer, 7);

    // In the first style the row's athlete gets the diploma of the place.
    Manager().SystemData().DiplomLayout = 1;
    previews.Pages.clear();
    form->OvelseGrid->GotoCell(form->OvelseGridCol(TResultColumn::Resultat), 2, true);
    Settle();
    const qint32 second = form->RowAt(2)->Startnummer;
    Trigger(form->ValgtDeltager);
    ASSERT_EQ(previews.Pages.size(), 1);
    EXPECT_TRUE(previews.Pages[0].startsWith("2. PRÆMIE")) << previews.Pages[0].toStdString();
    EXPECT_TRUE(previews.Pages[0].contains(QStringLiteral("Finalist %1").arg(second)));
}

TEST_F(Prints, DiplomasGoToTheDiplomPrinterWhichIsPutBackAfterAFailingJobToo) {
    Manager().Registry().PrinterNavn = QStringLiteral("Listeprinter");
    Manager().Registry().DiplomPrinter = QStringLiteral("Diplomprinter");
    const TPrinterToPdf pdf;
    TPreviews previews;
    const auto form = Open();
    ASSERT_EQ(Platform::RequestedPrinter(), "Listeprinter");
    OpenResultPage(*form, Round("M", "100", "F"));
    Options(*form, true, false, false);
    Trigger(form->Plads1);
    EXPECT_EQ(previews.Printers, QStringList({"Diplomprinter"}));
    EXPECT_EQ(Platform::RequestedPrinter(), "Listeprinter");

    // A printer that cannot start the job: the error is shown and the list printer chosen again.
    Options(*form, false, true, false);
    Platform::CurrentPrinter().setOutputFileName(Path("no such folder/diplom.pdf"));
    Trigger(form->Plads1);
    const QStringList shown = Shown();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown[0].startsWith("Udskriften kan ikke startes på printeren: mappen"))
        << shown[0].toStdString();
    EXPECT_TRUE(shown[0].endsWith("no such folder\" findes ikke.")) << shown[0].toStdString();
    EXPECT_EQ(Platform::RequestedPrinter(), "Listeprinter");
}

// ---------------------------------------------------------------- summary lists

TEST_F(Prints, TheSummaryListsWriteTheirPagesFromTheOverview) {
    const auto form = Open();
    Click(*form, Round("M", "100", "I"));
    Options(*form, false, false, true);
    Trigger(form->MedaljelisteToolButton);
    Trigger(form->ReaktionsTiderToolButton);
    Trigger(form->KlubKonkurrenceToolButton);
    EXPECT_EQ(PageNames(), QStringList({"klubkonkurrence.htm", "medaljer.htm", "reaktion.htm"}));
    EXPECT_TRUE(PageText(MeetDir() + "medaljer.htm").contains(QStringLiteral("Klub")));

    // No round in the overview: the club competition does nothing.
    for (const QString& name : PageNames())
        QFile::remove(MeetDir() + name);
    form->VisUgedagComboBox->setCurrentIndex(1); // Monday holds no round
    Settle();
    Trigger(form->KlubKonkurrenceToolButton);
    EXPECT_EQ(PageNames(), QStringList());
    EXPECT_EQ(Shown(), QStringList());
}

// ---------------------------------------------------------------- the time schedule

class Tidsskema : public Prints {
protected:
    Tidsskema() {
        Place(Round("M", "100", "I"), Loerdag(), QTime(10, 0), QStringLiteral("<B&>"));
        Place(Round("M", "100", "F"), Loerdag(), QTime(14, 30), QStringLiteral("<B&>"));
        Place(Round("M", "LÆ"), Loerdag().addDays(1), QTime(11, 0), QStringLiteral("Grav"));
        Enter(Round("M", "LÆ"), 1, 2);
    }
};

TEST_F(Tidsskema, HtmlOnlyWritesTheDaysPagesEscapedAndPrintsNothing_WhateverTheOverviewsLayout) {
    const TPrinterToPdf pdf;
    TPreviews previews;
    const auto form = Open();
    Layout(*form, TOversigtSortering::KlasseOvelse);
    Options(*form, false, false, true);
    Trigger(form->TidsskemaDage[5]); // Saturday
    Trigger(form->TidsskemaDage[6]); // Sunday
    EXPECT_TRUE(previews.Pages.isEmpty());
    EXPECT_FALSE(QFile::exists(pdf.FileName()));
    EXPECT_EQ(PageNames(), QStringList({"lø.htm", "sø.htm"}));

    const QString lo = PageText(MeetDir() + QStringLiteral("lø.htm"));
    EXPECT_TRUE(lo.contains(QStringLiteral("<title>Tidsskema - Lørdag</title>")));
    EXPECT_TRUE(lo.contains(QStringLiteral("charset=windows-1252")));
    EXPECT_TRUE(lo.contains(QStringLiteral("<td width=\"20%\">&lt;B&amp;&gt;</td>"))) << lo.toStdString();
    EXPECT_FALSE(lo.contains(QStringLiteral("<B&>")));
    EXPECT_TRUE(lo.contains(QStringLiteral("<td width=\"20%\">&nbsp;</td>")));
    EXPECT_TRUE(lo.contains(QStringLiteral("Lør 10:00")));
    EXPECT_TRUE(lo.contains(QStringLiteral("Lør 14:30")));
    EXPECT_FALSE(lo.contains(QStringLiteral("Søn 11:00"))) << "Sunday's round is not Saturday's";
    EXPECT_TRUE(PageText(MeetDir() + QStringLiteral("sø.htm")).contains(QStringLiteral("Søn 11:00")));
    EXPECT_EQ(form->OversigtSortering->currentIndex(), int(TOversigtSortering::KlasseOvelse));
}

TEST_F(Tidsskema, TheSecondLayoutPrintsALinePerRoundWithItsCounts_ADayWithoutRoundsNothing) {
    TPreviews previews;
    const auto form = Open();
    Options(*form, true, false, true);
    form->Tidsskema2->setChecked(true);
    Trigger(form->TidsskemaToolButton);
    ASSERT_EQ(previews.Pages.size(), 2) << "Saturday and Sunday only";
    const QStringList lines = previews.Pages[0].split(u'\n');
    ASSERT_GE(lines.size(), 3) << previews.Pages[0].toStdString();
    EXPECT_EQ(lines[0], "Kl Øv R Antal Aktive Heats");
    EXPECT_TRUE(lines[1].startsWith("10:00 M 100 I 4")) << lines[1].toStdString();
    EXPECT_TRUE(lines[1].endsWith("10:00"));
    EXPECT_TRUE(lines[2].startsWith("14:30 M 100 F 3")) << lines[2].toStdString();
    EXPECT_TRUE(previews.Pages[1].contains("11:00 M LÆ"));
    EXPECT_EQ(PageNames(), QStringList()) << "the line layout writes no pages";
}

TEST_F(Tidsskema, TheTableLayoutPrintsTheDaysRowsUnderTheVenues) {
    TPreviews previews;
    const auto form = Open();
    Options(*form, true, false, false);
    Trigger(form->TidsskemaDage[5]);
    ASSERT_EQ(previews.Pages.size(), 1);
    EXPECT_TRUE(previews.Pages[0].contains("Lør 10:00")) << previews.Pages[0].toStdString();
    EXPECT_FALSE(previews.Pages[0].contains("Søn"));
}

} // namespace

namespace {

// ---------------------------------------------------------------- club standings

TEST_F(Prints, ClubStandingsRunForTheChosenClassOrForEachClassOnAPageOfItsOwn) {
    Manager().SystemData().EgenTurnering = true;
    const auto form = Open();
    Options(*form, false, false, true);
    ASSERT_GE(form->KlubKonkurrenceKlasser->count(), 3);
    EXPECT_EQ(form->KlubKonkurrenceKlasser->itemText(0), "");
    Trigger(form->KlubstillingToolButton);
    QStringList each;
    for (int i = 1; i < form->KlubKonkurrenceKlasser->count(); ++i)
        each << "klubstilling_" + form->KlubKonkurrenceKlasser->itemText(i).toLower() + ".htm";
    each.sort();
    EXPECT_EQ(PageNames(), each);

    for (const QString& name : PageNames())
        QFile::remove(MeetDir() + name);
    form->KlubKonkurrenceKlasser->setCurrentIndex(1);
    Trigger(form->KlubstillingToolButton);
    EXPECT_EQ(PageNames(), QStringList({"klubstilling.htm"}));
}

// ---------------------------------------------------------------- the schedule's parts

TEST(TidsskemaDage, TheDaysCodesInDanishAndEnglish_AnUnlabelledRowGoesWithTheTimeAbove) {
    EXPECT_EQ(MakeTidsskemaDag(6, false).Navn, QStringLiteral("Lørdag"));
    EXPECT_EQ(MakeTidsskemaDag(6, false).Kode, QStringLiteral("lø"));
    EXPECT_EQ(MakeTidsskemaDag(2, true).Navn, "Tuesday");
    EXPECT_EQ(MakeTidsskemaDag(2, true).Kode, "tu");
    EXPECT_EQ(MakeTidsskemaDag(7, true).Kode, "su");

    TTidsskemaTabel tabel;
    for (const char* label : {"", "LØR 10:00", "", "Søn 09:00", "", "lør 18:00"})
        tabel.Rows.push_back({QString::fromUtf8(label), {}});
    std::vector<int> rows;
    for (const TTidsskemaRaekke* row : DagensRaekker(tabel, MakeTidsskemaDag(6, false)))
        rows.push_back(static_cast<int>(row - tabel.Rows.data()));
    EXPECT_EQ(rows, std::vector<int>({1, 2, 5})) << "a row above every label belongs to no day";
}

TEST_F(Prints, TheDaysPageEmptiesDottedTextsAndSaysWhatIsEmpty) {
    TTidsskemaTabel tabel;
    tabel.Headings = {QString(), QStringLiteral("Bane")};
    tabel.Rows.push_back(
        {QStringLiteral("Lør 10:00"), {{QStringLiteral("Lør 10:00")}, {QStringLiteral(".....noter")}}});
    const TTidsskemaDag dag = MakeTidsskemaDag(6, false);
    const QString file = MeetDir() + QStringLiteral("side.htm");
    WriteTidsskemaHtml(file, tabel, dag, DagensRaekker(tabel, dag));
    const QString page = PageText(file);
    EXPECT_FALSE(page.contains(QStringLiteral("noter")));
    EXPECT_EQ(page.count(QStringLiteral("<td width=\"20%\">&nbsp;</td>")), 2) << page.toStdString();
    EXPECT_TRUE(page.contains(QStringLiteral("<strong>TIDSSKEMA - Lørdag</strong>")));
    EXPECT_TRUE(page.endsWith(QStringLiteral("</html>\r\n")));
}

} // namespace
