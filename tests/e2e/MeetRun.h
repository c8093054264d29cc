#pragma once
// The steps of the meet run, each through the main window's buttons and the dialogs they open. The meet:
// "Sommerstævne" on Saturday 13 and Sunday 14 June 2026, eight classes; men's 100 m in heats on Saturday
// and its final on Sunday, high jump, long jump and 4 x 100 m; women's 100 m and heptathlon; high jump for
// the six youth classes. Clubs: "Vikingerne" typed (20 men and a relay team), "Amager AK" (40 women),
// "Odense" and "Sparta" (30 youth athletes each) pasted; eight more from ".\Deltagere.csv".
#include "E2eSupport.h"

#include "model/D_ResultColumn.h"

#include <QDate>
#include <QMap>
#include <QString>

class TEditOvelseForm;
class TOvelseInfo;

class TMeetRun : public TE2eTest {
protected:
    static inline const QString MeetName = QStringLiteral("Sommerstævne");
    static inline const QString ImportedName = QStringLiteral("Sommerstævne kopi");
    static QDate Day1() { return {2026, 6, 13}; }
    static QDate Day2() { return {2026, 6, 14}; }
    static constexpr int TypedAthletes = 20;
    static constexpr int PastedWomen = 40;
    static constexpr int PastedYouth = 30;
    static constexpr int FileAthletes = 8;
    static constexpr int Finalists = 8;
    static constexpr int Heptathletes = 8;
    static inline const QString RelayTeam = QStringLiteral("Vikingerne stafet");

    // ---- the steps, in their order
    void MakeMeetWithTheWizard();
    void EnterClubsAndAthletes();
    void ImportRegistrationFile();
    void ChangeTheSettings();
    void ScheduleAndQualifyingRules();
    void SeedTheHeats();
    // The heats' start list printed to PDF and written as a page.
    void PrintStartLists();
    void TypeHeatResultsAndReadTheTimingFile();
    void QualifyAndTransferToTheFinal();
    void TypeFieldAndCombinedEventResults();
    // The final's and the heptathlon's result lists printed to PDF.
    void PrintResultsAndStandings();
    // The final on results board 1, the board's own program started beside this one ("BOARD1").
    void ShowResultsOnTheBoard();
    void ExportAndImportUnderANewName();
    void ServeThePages();
    void ServeFromTheServerWindow();
    void RunEveryBatchJob();
    void CheckRecordFiles();

    // ---- helpers
    // The event editor opened from the main window; work runs in it, and it is closed afterwards.
    void InEditor(const std::function<void(TEditOvelseForm&)>& work);
    static TOvelseInfo& Round(const QString& klasse, const QString& ovelse, const QString& runde = {});
    // The round made current and selected on the overview, as a click on its cell.
    static void ClickRound(TEditOvelseForm& form, const TOvelseInfo& round);
    static void OpenResultPage(TEditOvelseForm& form, const TOvelseInfo& round);
    // Types the text into the result grid's cell of the column in the row and leaves it downwards.
    // A vertical jump's heights typed in series mode: each athlete clears base + start number % 20 at the
    // first try.
    void TypeHighJump(TEditOvelseForm& form, TOvelseInfo& round, int base);
    static void TypeCell(TEditOvelseForm& form, TResultColumn kind, int row, const QString& text);
    // The athlete's name of the typed club: "Viking 01" ...
    static QString TypedName(int n);
    // The time typed or read for a men's 100 m heat runner, in hundredths, by start number.
    static int HeatTime(int startnummer) { return 1050 + (startnummer * 37) % 150; }
    static int FinalTime(int startnummer) { return HeatTime(startnummer) - 10; }

    // What the run entered, by "class event round start number": the stored mark.
    QMap<QString, int> entered_;
    QString exportFile_;
};
