// The clubs dialog's own prints: the balance list, the address labels and the club diplomas.
#include "print/D_UdskriftKlubDiplom.h"
#include "print/D_UdskriftKlubLabels.h"
#include "print/D_UdskriftKlubSaldo.h"

#include "PrintFit.h"
#include "PrintRecorder.h"
#include "model/D_Globals.h"
#include "model/D_Klub.h"
#include "model/D_Ovelser.h"
#include "model/D_Staevne.h"
#include "model/D_StaevneSystemData.h"
#include "print/D_Print.h"
#include "support/PrinterToPdf.h"
#include "support/ResultFixture.h"
#include "support/Test.h"

#include <cmath>

namespace {

constexpr auto Body = TPrintSection::Body;

QStringList RowsOf(const TPrint& print) {
    QStringList rows;
    const TPrintLines& lines = print.Lines(Body);
    for (int i = 0; i < lines.Count(); ++i) {
        QStringList texts;
        for (const TPrintField& field : lines[i].Fields)
            if (!field.Text.trimmed().isEmpty())
                texts.append(field.Text);
        rows.append(texts.join(" | "));
    }
    return rows;
}

// Four clubs with fees, purchases and payments (club 3 pays in the second price group), and results
// with marks for the diplomas.
class UdskriftKlub : public TResultTest {
protected:
    UdskriftKlub() {
        for (int i = 0; i < Ov().GetInfoCount(); ++i) {
            TOvelseRkElement& row = Ov().GetInfo(i)->OvelseRk();
            row.GetField(OvelseRkField::Startgebyr1)->SetAsFloat(50);
            row.GetField(OvelseRkField::Efteranmgebyr1)->SetAsFloat(75);
            row.GetField(OvelseRkField::Startgebyr2)->SetAsFloat(60);
        }
        Ov().Save();
        AddKlub(1, "Aarhus");
        AddKlub(2, "Odense");
        StoreRecord<TKlubTable>({{KlubField::KlubNr, qint64(3)},
                                 {KlubField::Navn, QString("Sparta")},
                                 {KlubField::Prisgruppe, qint64(1)}});
        AddKlub(4, "Tom");
        AddDeltager(1, "Ida Holm", 1999, 1);
        AddDeltager(2, "Bo Ek", 2000, 1);
        AddDeltager(3, "Carl Lund", 2001, 2);
        AddDeltager(4, "Dan Ravn", 2002, 3);
        // Aarhus: 50 + 75 (late) + 50, the final of 100 m no fee: 3 entries, 175.
        AddResultat(Round("M", "100", "I"), 1,
                    Fields({{ResultatField::Resultat, 1152}, {ResultatField::Vind, 12}}));
        AddResultat(Round("M", "100", "F"), 1,
                    Fields({{ResultatField::Resultat, 1149}, {ResultatField::Placering, 2}}));
        AddResultat(Round("M", "LÆ"), 1,
                    Fields({{ResultatField::Efteranmeldelse, 1}, {ResultatField::Resultat, 612}}));
        AddResultat(Round("M", "KU"), 2);
        // Odense 50; Sparta 60.
        AddResultat(Round("M", "HØ"), 3,
                    Fields({{ResultatField::Resultat, 185}, {ResultatField::Placering, 1}}));
        AddResultat(Round("M", "HØ"), 4);
        StoreRecord<TVareTable>(
            {{VareField::Varenummer, qint64(1)}, {VareField::Pris, 40.5}, {VareField::Gruppe, qint64(1)}});
        StoreRecord<TKlubkobTable>({{KlubkobField::Klubnr, qint64(1)},
                                    {KlubkobField::Varenummer, qint64(1)},
                                    {KlubkobField::Antal, qint64(2)}});
        StoreRecord<TBetalingTable>({{BetalingField::Klubnr, qint64(1)}, {BetalingField::Belob, 100.0}});
        StoreRecord<TBetalingTable>({{BetalingField::Klubnr, qint64(4)}, {BetalingField::Belob, 25.0}});
        klubber_ = std::make_unique<TKlubManager>(AlleKlubber);
        for (int i = 0; i < klubber_->GetKlubCount(); ++i)
            alle_.push_back(&klubber_->GetKlub(i));
        previous_ = SetPrintPreviewWindow([this](TPrint& print) {
            ++Previews;
            Previewed << RowsOf(print);
        });
    }
    ~UdskriftKlub() override { SetPrintPreviewWindow(previous_); }

    TKlubElement& Klub(int nr) { return *alle_.at(static_cast<std::size_t>(nr - 1)); }
    static QStringList DiplomStatus() {
        return Stored<TDeltagerTable>({DeltagerField::Startnummer, DeltagerField::DiplomStatus});
    }

    std::unique_ptr<TKlubManager> klubber_;
    std::vector<TKlubElement*> alle_;
    int Previews = 0;
    QStringList Previewed;

private:
    TPrintPreviewWindow previous_;
};

// ---------------------------------------------------------------- the balance list

TEST_F(UdskriftKlub, TheBalanceListHasALinePerClubInGroupsOfThreeAndABoldTotal) {
    TKlubSaldoUdskrift job;
    job.KlubManager = klubber_.get();
    job.Klubber = alle_;
    const std::vector<TKlubSaldo> saldi = job.Saldi();
    ASSERT_EQ(saldi.size(), 5u);
    EXPECT_EQ(saldi[0].Starter, 3);
    EXPECT_EQ(saldi[0].Gebyr, 175);
    EXPECT_EQ(saldi[0].Kob, 81);
    EXPECT_EQ(saldi[0].Betalt, 100);
    EXPECT_EQ(saldi[2].Gebyr, 60) << "the second price group";
    EXPECT_EQ(saldi[4].Navn, "TOTAL");
    EXPECT_EQ(saldi[4].Starter, 5);
    EXPECT_EQ(saldi[4].Saldo(), 175 + 50 + 60 + 81 - 125);

    TStdPrint print;
    print.LoadLayout("KlubSaldoListe", StaevneManager->GetRptFileName());
    TKlubSaldoUdskrift::Lay(print, saldi);
    EXPECT_EQ(RowsOf(print), QStringList({"Aarhus | 3 / 175.00 | 81.00 | 100.00 | 156.00",
                                          "Odense | 1 / 50.00 | 0.00 | 0.00 | 50.00",
                                          "Sparta | 1 / 60.00 | 0.00 | 0.00 | 60.00",
                                          "Tom | 0 / 0.00 | 0.00 | 25.00 | -25.00",
                                          "TOTAL | 5 / 285.00 | 81.00 | 125.00 | 241.00"}));
    const TPrintLines& lines = print.Lines(Body);
    EXPECT_EQ(lines[3].SpaceBefore, 100) << "0.1 cm above the second group";
    EXPECT_EQ(lines[1].SpaceBefore, 0);
    EXPECT_EQ(lines[4].SpaceBefore, 100);
    EXPECT_TRUE(lines[4].Fields.front().Font->Font.Style & PrintFontStyle::Bold);
    EXPECT_FALSE(lines[0].Fields.front().Font->Font.Style & PrintFontStyle::Bold);
    // The amounts stand right-aligned in their columns, all inside the page.
    EXPECT_EQ(print.Columns().size(), 5u);
    EXPECT_EQ(TextsPastRightMargin(print), QStringList());
    EXPECT_EQ(Shown(), QStringList());

    job.Klubber = {&Klub(2)};
    job.Run();
    EXPECT_EQ(Previews, 1) << "previewed unless printing is chosen";
    EXPECT_TRUE(Previewed.contains("TOTAL | 1 / 50.00 | 0.00 | 0.00 | 50.00"))
        << Previewed.join("\n").toStdString();
}

// ---------------------------------------------------------------- labels

TEST_F(UdskriftKlub, SevenClubsGiveLabelsInThreeRowsOfThreeThreeAndOne) {
    std::vector<TKlubLabel> labels;
    for (int i = 1; i <= 7; ++i)
        labels.push_back({QString("Klub %1").arg(i), {"Kontakt", "Vej 1", "", "8000 By", ""}});
    TStdPrint print;
    TKlubLabelUdskrift::Lay(print, labels);
    EXPECT_EQ(print.LeftMargin(), 0);
    EXPECT_EQ(print.TopMargin(), 0.7);
    const TPrintLines& lines = print.Lines(Body);
    ASSERT_EQ(lines.Count(), 3);
    EXPECT_EQ(RowsOf(print)[0],
              "Klub 1 | Kontakt | Vej 1 | 8000 By | Klub 2 | Kontakt | Vej 1 | 8000 By | Klub 3 | "
              "Kontakt | Vej 1 | 8000 By");
    EXPECT_EQ(RowsOf(print)[2], "Klub 7 | Kontakt | Vej 1 | 8000 By");
    for (int i = 0; i < lines.Count(); ++i)
        EXPECT_EQ(lines[i].Height, -3390) << "a fixed row of the sheet";
    const TPrintField& navn = lines[1].Fields[0];
    EXPECT_EQ(navn.X, 500);
    EXPECT_TRUE(navn.Font->Font.Style & PrintFontStyle::Bold);
    EXPECT_EQ(lines[1].Fields[4].X, 7200);
    EXPECT_EQ(lines[1].Fields[8].X, 13900);
    // Six lines to a label, 0.5 cm apart: the fourth (address 2) is empty and left out.
    EXPECT_EQ(lines[1].Fields[1].VOffset, 500);
    EXPECT_EQ(lines[1].Fields[3].VOffset, 2000);
}

TEST_F(UdskriftKlub, LabelsKeepToTheSheetsRowsOnEveryPage) {
    std::vector<TKlubLabel> labels;
    for (int i = 1; i <= 51; ++i)
        labels.push_back({QString("Klub %1").arg(i), {"Kontakt"}});
    TStdPrint print;
    TKlubLabelUdskrift::Lay(print, labels);
    // On A4 and on the shorter US Letter alike: eight rows of three to a page, each page's rows where the
    // sheet has them.
    for (const QSizeF paper : {QSizeF(8.27, 11.69), QSizeF(8.5, 11)}) {
        TRecordingDevice device(300, paper);
        RecordPrint(print, device);
        EXPECT_EQ(device.Page, 2) << "three pages";
        for (int n = 0; n < 51; ++n) {
            const TRecordedText* text = device.Find(QString("Klub %1").arg(n + 1));
            ASSERT_NE(text, nullptr) << n;
            EXPECT_EQ(text->Page, n / 24) << n;
            const double topCm = 0.7 + (n / 3 % 8) * 3.39;
            const double baselineCm = text->Baseline.y() / 300 * 2.54;
            EXPECT_NEAR(baselineCm, topCm + 0.35, 0.1) << n;
            EXPECT_NEAR(text->Baseline.x() / 300 * 2.54, LabelX[n % 3], 0.01) << n;
        }
    }
}

// ---------------------------------------------------------------- diplomas

TEST_F(UdskriftKlub, APreviewOfDiplomasMarksNobodyAndAPrintMarksThoseItPrinted) {
    TKlubDiplomUdskrift job;
    job.KlubManager = klubber_.get();
    job.Klubber = {&Klub(1)};
    job.KunNyeDiplomer = false;
    EXPECT_EQ(job.Run(), 0);
    EXPECT_EQ(Previews, 1) << "one preview of the club's pages";
    EXPECT_EQ(DiplomStatus(), QStringList({"1/0", "2/0", "3/0", "4/0"}));

    // Ida has three results with a mark; Bo's entry has none.
    EXPECT_TRUE(Previewed.contains("Ida Holm | Aarhus | M")) << Previewed.join("\n").toStdString();
    EXPECT_TRUE(Previewed.contains("100 m - finale | 11.49 w:+0.0 | 2"))
        << Previewed.join("\n").toStdString();
    EXPECT_FALSE(Previewed.join("\n").contains("Bo Ek"));

    const TPrinterToPdf pdf;
    job.UdskrivTilPrinter = true;
    job.KunNyeDiplomer = true;
    EXPECT_EQ(job.Run(), 1);
    EXPECT_EQ(DiplomStatus(), QStringList({"1/1", "2/0", "3/0", "4/0"}));
    const QStringList pages = PdfFilePages(pdf.FileName());
    ASSERT_EQ(pages.size(), 1);
    EXPECT_TRUE(pages[0].contains("Ida Holm") && pages[0].contains("Placering")) << pages[0].toStdString();
    // Printed once, new diplomas only: nothing more.
    EXPECT_EQ(job.Run(), 0);
}

TEST_F(UdskriftKlub, OnlyNewDiplomasLeaveOutParticipantsWithAnUnfinishedEntry) {
    AddResultat(Round("M", "KU"), 3);
    TKlubDiplomUdskrift job;
    job.KlubManager = klubber_.get();
    job.Klubber = {&Klub(2)};
    klubber_->SelectKlub(Klub(2), DeltagerField::Navn);
    EXPECT_TRUE(job.Diplomer().empty()) << "Carl has yet to put the shot";
    job.KunNyeDiplomer = false;
    ASSERT_EQ(job.Diplomer().size(), 1u);
    EXPECT_EQ(job.Diplomer()[0].Resultater.size(), 1u);
    // One participant by start number.
    klubber_->SelectKlub(Klub(1), DeltagerField::Navn);
    job.Startnummer = 2;
    EXPECT_TRUE(job.Diplomer().empty());
    job.Startnummer = 1;
    EXPECT_EQ(job.Diplomer().size(), 1u);
}

TEST_F(UdskriftKlub, TheSecondStyleGivesADiplomaPerResult) {
    Manager().SystemData().DiplomLayout = 2;
    TKlubDiplomUdskrift job;
    job.KlubManager = klubber_.get();
    job.Klubber = {&Klub(1)};
    job.Run();
    EXPECT_EQ(Previews, 3);
    EXPECT_EQ(DiplomStatus(), QStringList({"1/0", "2/0", "3/0", "4/0"}));
    const TPrinterToPdf pdf;
    job.UdskrivTilPrinter = true;
    EXPECT_EQ(job.Run(), 1);
    EXPECT_EQ(DiplomStatus(), QStringList({"1/1", "2/0", "3/0", "4/0"}));
}

} // namespace
