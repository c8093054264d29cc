// Quick entry of running results: the start number and result boxes, automatic timing with its log, the
// question before a result is overwritten, and the running time from a scan time.
#include "ui/eltid/QuickEntry.h"

#include "ResultFixture.h"
#include "model/D_Context.h"
#include "model/D_Ovelser.h"
#include "support/RecordedMessages.h"
#include "support/Test.h"

#include <memory>

namespace {

class TQuickEntryTest : public TResultTest {
protected:
    TQuickEntryTest() {
        AddKlub(1, QStringLiteral("Aarhus AM"));
        for (const qint32 n : {9, 7, 5}) {
            AddDeltager(n, QStringLiteral("Løber %1").arg(n));
            AddResultat(Round("M", "100", "F"), n,
                        Fields({{ResultatField::Heat, 1}, {ResultatField::Resultat, n == 5 ? 1234 : 0}}));
        }
        // Made after the rows: a new manager counts the rounds' entries.
        manager_ = std::make_unique<TResultatManager>();
        entry_ = std::make_unique<TQuickEntry>(*manager_);
        EXPECT_TRUE(entry_->Enter({&Round("M", "100", "F")}));
    }

    TResultat& Runner(qint32 n) { return *entry_->RowAt(entry_->RowOf(n)); }
    QString Log() { return QString::fromLatin1(ReadFile(Path("AutoTid.Txt"))); }

    TRecordedMessages messages_;
    std::unique_ptr<TResultatManager> manager_;
    std::unique_ptr<TQuickEntry> entry_;
};

const QTime At(10, 15, 3);

TEST_F(TQuickEntryTest, TheGridListsTheRowsByResultThenStartNumber) {
    EXPECT_EQ(entry_->RowCount(), 4);
    EXPECT_EQ(entry_->CellText(0, TQuickColumn::Nr), "5");
    EXPECT_EQ(entry_->CellText(1, TQuickColumn::Nr), "7");
    EXPECT_EQ(entry_->CellText(2, TQuickColumn::Nummer), "3");
    EXPECT_EQ(entry_->CellText(2, TQuickColumn::Navn), Runner(9).GetFieldText(TResultColumn::NavnAargang));
    EXPECT_EQ(entry_->CellText(3, TQuickColumn::Nr), "");
    EXPECT_EQ(TQuickEntry::Headings(),
              QStringList({"#", "Nr", "Resultat", "Navn", "Klub", "Scan-tid", "Tid"}));
}

TEST_F(TQuickEntryTest, AutomaticTimingLogsTheStartNumberAndTakesTheTime) {
    EXPECT_EQ(TQuickEntry::AutoTidLine(7, At), "    7 10:15:03");
    const TQuickStartOutcome outcome = entry_->EnterStartnummer(" 7", At, true);
    EXPECT_EQ(outcome.What, TQuickStart::Registered);
    EXPECT_EQ(outcome.Row, entry_->RowOf(7));
    EXPECT_EQ(entry_->CellText(outcome.Row, TQuickColumn::Resultat), "10.15.03");
    EXPECT_EQ(Log(), "    7 10:15:03\r\n");
    entry_->EnterStartnummer("9", QTime(10, 16, 0), true);
    EXPECT_EQ(Log(), "    7 10:15:03\r\n    9 10:16:00\r\n");
    EXPECT_EQ(entry_->EnterStartnummer("", At, true).What, TQuickStart::Nothing);
    // The log line comes first, also for a number nobody has.
    EXPECT_EQ(ErrorText([&] { entry_->EnterStartnummer("8", At, true); }), "Startnummer findes ikke");
    EXPECT_TRUE(Log().endsWith("    8 10:15:03\r\n"));
    EXPECT_EQ(ErrorText([&] { entry_->EnterStartnummer("x7", At, true); }), "Ugyldigt startnummer: x7");
}

TEST_F(TQuickEntryTest, AnExistingResultIsOnlyOverwrittenAfterJa) {
    messages_.Recorder().QueueAnswer(mrNo);
    EXPECT_EQ(entry_->EnterStartnummer("5", At, true).What, TQuickStart::Kept);
    ASSERT_EQ(messages_.Recorder().Shown().size(), 1u);
    const TMessageBox& box = messages_.Recorder().Shown().front();
    EXPECT_EQ(box.Text, "Der er allerede indtastet resultater, overskriv resultat?");
    EXPECT_EQ(box.DefaultResult(), mrNo);
    EXPECT_EQ(Runner(5).Resultat, 1234);
    EXPECT_EQ(Log(), "    5 10:15:03\r\n");
    messages_.Recorder().QueueAnswer(mrYes);
    EXPECT_EQ(entry_->EnterStartnummer("5", At, false).What, TQuickStart::EnterResultat);
    EXPECT_EQ(entry_->EnterResultat("5", "12.50").Row, entry_->RowOf(5));
    EXPECT_EQ(Runner(5).Resultat, 1250);
}

TEST_F(TQuickEntryTest, AResultThatDoesNotParseStaysWithItsReason) {
    const TQuickResultOutcome bad = entry_->EnterResultat("7", "12,3x");
    EXPECT_EQ(bad.Fejl, "\"12,3x\" er ikke et gyldigt resultat");
    EXPECT_EQ(Runner(7).Resultat, 0);
    EXPECT_EQ(entry_->EnterResultat("7", "").Fejl, "");
    EXPECT_EQ(entry_->EnterResultat("8", "12.00").Row, -1);
    EXPECT_EQ(ErrorText([&] { entry_->SetResultatCell(entry_->RowOf(7), "abc"); }),
              "\"abc\" er ikke et gyldigt resultat");
    EXPECT_EQ(entry_->SetResultatCell(entry_->RowOf(7), "13.37"), "13.37");
}

TEST_F(TQuickEntryTest, LeavingThePageSavesEveryRoundWithItsPlaces) {
    entry_->EnterStartnummer("9", QTime(10, 1, 0), true);
    entry_->EnterStartnummer("7", QTime(10, 2, 0), true);
    QStringList saved;
    entry_->Leave({&Round("M", "100", "F")},
                  [&saved](TOvelseInfo& round) { saved << round.GetKlasseOvelseKode(); });
    EXPECT_EQ(saved, QStringList({"M - 100"}));
    TResultatManager again;
    again.LoadOvelse(&Round("M", "100", "F"));
    EXPECT_EQ(Row(again, 9).Resultat, 100100);
    EXPECT_EQ(Row(again, 9).Plac, 2);
    EXPECT_EQ(Row(again, 5).Plac, 1);
}

TEST_F(TQuickEntryTest, AnnouncerModeChangesNothing) {
    ModelContext().SpeakerMode = true;
    EXPECT_EQ(entry_->EnterStartnummer("7", At, true).What, TQuickStart::Nothing);
    EXPECT_EQ(entry_->EnterResultat("7", "12.00").Row, -1);
    entry_->SetResultatCell(entry_->RowOf(7), "12.00");
    EXPECT_EQ(Runner(7).Resultat, 0);
    EXPECT_FALSE(QFileInfo::exists(Path("AutoTid.Txt")));
    ModelContext().SpeakerMode = false;
}

TEST_F(TQuickEntryTest, TheRunningTimeIsTheScanTimeLessTheStart) {
    EXPECT_EQ(TQuickEntry::LobeTid("10.15.03", QTime(10, 0, 0)), "00:15:03");
    EXPECT_EQ(TQuickEntry::LobeTid("10.00.00", QTime(10, 0, 0)), "00:00:00");
    // Not six digits of a time of day, or before the start: no time.
    for (const char* scan : {"10.15", "1.10.15.03", "09.59.59", "25.00.00", "10.61.00", "0.00", ""})
        EXPECT_EQ(TQuickEntry::LobeTid(scan, QTime(10, 0, 0)), "") << scan;
    Runner(7).ScanningTid = 101503;
    const int row = entry_->RowOf(7);
    EXPECT_EQ(entry_->CellText(row, TQuickColumn::ScanTid), "10.15.03");
    EXPECT_EQ(entry_->CellText(row, TQuickColumn::Tid), "");
    entry_->SetStarttid(QTime(10, 0, 0, 500));
    EXPECT_EQ(entry_->CellText(row, TQuickColumn::Tid), "00:15:03");
    EXPECT_EQ(entry_->CellText(entry_->RowOf(9), TQuickColumn::Tid), "");
}

} // namespace
