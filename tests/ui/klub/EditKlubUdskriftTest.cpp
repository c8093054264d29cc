#include "ui/klub/EditKlubUdskrift.h"

#include "EditKlubTestSupport.h"
#include "print/PrUtil.h"
#include "support/PrinterToPdf.h"
#include "ui/PrUtilPrintForm.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QListWidget>
#include <QProcess>
#include <QScopeGuard>

namespace {

// The dialog's prints previewed into the test.
class EditKlubUdskrift : public TEditKlubTest {
protected:
    EditKlubUdskrift() {
        previous_ = SetPrintPreviewWindow([this](TPrint& print) {
            QStringList rows;
            const TPrintLines& lines = print.Lines(TPrintSection::Body);
            for (int i = 0; i < lines.Count(); ++i) {
                QStringList texts;
                for (const TPrintField& field : lines[i].Fields)
                    if (!field.Text.trimmed().isEmpty())
                        texts << field.Text;
                rows << texts.join(" | ");
            }
            Previews.push_back({print.Title, rows});
        });
    }
    ~EditKlubUdskrift() override { SetPrintPreviewWindow(previous_); }

    TEditKlubForm& OpenPreviewing(const QString& klub = {}) {
        TEditKlubForm& form = Open(klub);
        form.UdskrivTilPrinter->setChecked(false);
        return form;
    }
    static void Trigger(QAction* action) {
        action->trigger();
        Settle();
    }

    struct TPreview {
        QString Title;
        QStringList Rows;
    };
    std::vector<TPreview> Previews;

private:
    TPrintPreviewWindow previous_;
};

TEST_F(EditKlubUdskrift, ThePrintPanelChoosesTheClassesAndClubsOfEveryPrint) {
    for (int nr = 1; nr <= 8; ++nr)
        AddKlub(nr, QStringLiteral("Klub %1").arg(nr));
    TEditKlubForm& form = OpenPreviewing();
    EXPECT_TRUE(form.UdskrivDeltagere->isChecked() && form.KunNyeDiplomer->isChecked());
    EXPECT_FALSE(form.UdskrivRegnskab->isChecked() || form.UdskrivStartnumre->isChecked() ||
                 form.UdskrivTilHTML->isChecked());
    Trigger(form.UdskriftTool);
    TKlubUdskriftPanel& panel = *form.UdskriftPanel;
    ASSERT_TRUE(panel.isVisibleTo(&form));
    EXPECT_EQ(panel.UdskriftKlasserListbox->selectedItems().size(), 2) << "M and K, all chosen";
    ASSERT_EQ(panel.UdskriftKlubListBox->count(), 8);
    EXPECT_TRUE(panel.UdskriftKlubListBox->selectedItems().isEmpty());

    Trigger(form.KlublisteLabelTool);
    EXPECT_TRUE(Previews.empty());
    EXPECT_EQ(Shown(), QStringList({"Vælg de klubber, der skal udskrives"}));

    for (int i = 0; i < 7; ++i)
        panel.UdskriftKlubListBox->item(i)->setSelected(true);
    Trigger(form.KlublisteLabelTool);
    ASSERT_EQ(Previews.size(), 1u);
    EXPECT_EQ(Previews[0].Rows,
              QStringList({"Klub 1 | Klub 2 | Klub 3", "Klub 4 | Klub 5 | Klub 6", "Klub 7"}));

    Trigger(form.SaldolisteTool);
    ASSERT_EQ(Previews.size(), 2u);
    EXPECT_EQ(Previews[1].Rows.size(), 8) << "seven clubs and the total";
    EXPECT_EQ(Previews[1].Rows.last(), "TOTAL | 0 / 0.00 | 0.00 | 0.00 | 0.00");

    // Closing the panel: the current club alone.
    Trigger(form.UdskriftTool);
    EXPECT_FALSE(panel.isVisibleTo(&form));
    Trigger(form.KlublisteLabelTool);
    ASSERT_EQ(Previews.size(), 3u);
    EXPECT_EQ(Previews[2].Rows, QStringList({"Klub 1"}));
    EXPECT_EQ(Shown(), QStringList());
}

TEST_F(EditKlubUdskrift, ToThePrinterWithoutOneTheUserIsToldSoAndMayKeepTheListAsAPdfFile) {
    AddAarhusAndOdense();
    const TNoPrinter none;
    const TNoPrinterChoice saved = SetNoPrinterChoice(ChoosePdfInsteadOfPrinter);
    const auto restore = qScopeGuard([&] { SetNoPrinterChoice(saved); });
    const QString file = Path("aarhus.pdf");
    TScriptedDialogs dialogs;
    dialogs->Answer<QFileDialog>([&](QFileDialog& dialog) {
        dialog.selectFile(file);
        return int(QDialog::Accepted);
    });
    TEditKlubForm& form = Open("Aarhus");
    ASSERT_TRUE(form.UdskrivTilPrinter->isChecked());
    Trigger(form.Klubliste1Tool);
    EXPECT_TRUE(Previews.empty());
    EXPECT_EQ(Shown(),
              QStringList({"Der er ingen printer sat op på denne maskine, så listen kan ikke udskrives. "
                           "Du kan gemme den som en PDF-fil i stedet."}));
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), {file, QStringLiteral("-")});
    ASSERT_TRUE(pdftotext.waitForFinished(60000));
    EXPECT_TRUE(QString::fromUtf8(pdftotext.readAllStandardOutput()).contains(QStringLiteral("Aarhus")));
}

TEST_F(EditKlubUdskrift, AClubListSavesTheClubFirstAndShowsItAgainAfterwards) {
    AddAarhusAndOdense();
    TEditKlubForm& form = OpenPreviewing("Aarhus");
    Goto(C::StartnummerCol, 3);
    EnterAll({"9", "Eva"});
    Trigger(form.Klubliste1Tool);
    ASSERT_EQ(Previews.size(), 1u);
    EXPECT_EQ(Previews[0].Title, "Aarhus");
    EXPECT_TRUE(Previews[0].Rows.contains("9 | EVA")) << Previews[0].Rows.join("\n").toStdString();
    EXPECT_TRUE(StoredDeltagere().contains("9/Eva/1"));
    EXPECT_EQ(Rows({C::StartnummerCol, C::NavnCol}).size(), 4) << "the club shown again";
    EXPECT_EQ(form.KlubNavnEdit->text(), "Aarhus");

    // With the classes narrowed to K no entry is listed, and the participants entered in M not at all.
    Trigger(form.UdskriftTool);
    const QString kvinder = Ov().FindKlasse("K")->GetTrimmedString(KlasseField::Korttekst);
    for (QListWidgetItem* item : form.UdskriftPanel->UdskriftKlasserListbox->selectedItems())
        item->setSelected(item->text() == kvinder);
    form.UdskriftPanel->UdskriftKlubListBox->findItems("Aarhus", Qt::MatchExactly).front()->setSelected(true);
    Trigger(form.Klubliste2Tool);
    ASSERT_EQ(Previews.size(), 2u);
    EXPECT_EQ(Previews[1].Rows.join("\n").contains("BENT"), false)
        << Previews[1].Rows.join("\n").toStdString();
}

TEST_F(EditKlubUdskrift, DiplomasPreviewedMarkNobodyAndTheSingleDiplomaNeedsAParticipant) {
    AddAarhusAndOdense();
    AddKlub(3, QStringLiteral("Tom"));
    AddResultat(Round("M", "LÆ"), 2, Fields({{ResultatField::Resultat, 512}}));
    TEditKlubForm& form = OpenPreviewing("Aarhus");
    form.KunNyeDiplomer->setChecked(false);
    // Anna (2) on rows 1 and 2, with a long jump of 5.12; Bent (1) on rows 3 and 4, without marks.
    Goto(C::NavnCol, 2);
    Trigger(form.DiplomValgtToolButton);
    ASSERT_EQ(Previews.size(), 1u) << "the participant of the entry row's";
    EXPECT_TRUE(Previews[0].Rows.contains("Anna | Aarhus | M")) << Previews[0].Rows.join("\n").toStdString();
    Goto(C::NavnCol, 3);
    Trigger(form.DiplomValgtToolButton);
    EXPECT_EQ(Previews.size(), 1u) << "Bent has no mark";
    Trigger(form.DiplomAlleToolButton);
    EXPECT_EQ(Previews.size(), 2u);
    EXPECT_EQ(Stored<TDeltagerTable>({DeltagerField::Startnummer, DeltagerField::DiplomStatus}),
              QStringList({"1/0", "2/0", "123/0"}))
        << "a preview marks nobody";
    EXPECT_EQ(Cell(C::DiplomCol, 1), "0");
    EXPECT_EQ(Shown(), QStringList());

    form.KlubberListbox->setCurrentRow(1);
    Settle();
    ASSERT_EQ(form.KlubNavnEdit->text(), "Tom");
    Goto(C::NavnCol, 1);
    Trigger(form.DiplomValgtToolButton);
    EXPECT_EQ(Shown(), QStringList({"Ingen deltager valgt"}));
}

TEST_F(EditKlubUdskrift, ClubListsToHtmlAreWrittenIntoTheMeetsFolder) {
    AddAarhusAndOdense();
    TEditKlubForm& form = OpenPreviewing("Aarhus");
    form.UdskrivTilHTML->setChecked(true);
    Trigger(form.Klubliste2Tool);
    EXPECT_TRUE(Previews.empty());
    EXPECT_TRUE(QFile::exists(QDir(StaevneManager->GetStaevneDir()).filePath("1.htm")));
    EXPECT_TRUE(QFile::exists(QDir(StaevneManager->GetStaevneDir()).filePath("klubliste.htm")));
    ASSERT_EQ(Shown().size(), 1);
}

} // namespace
