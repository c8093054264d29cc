// A whole two-day meet run through the program's windows, as an organiser runs it: the wizard makes it,
// the clubs dialog takes the clubs and athletes typed and pasted, a registration file is read, the
// settings are changed, the event editor seeds, takes results typed and from a timing file, qualifies and
// transfers to the final and calculates points; the meet goes out as a transfer file and comes back under
// a new name, the server hands out its pages and every batch job runs from a script. At the end the record
// files, the lists and the pages hold what was entered.
#include "MeetRun.h"
#include "E2eSupport.h"

#include "model/D_Globals.h"
#include "model/D_Klub.h"
#include "model/D_Ovelser.h"
#include "model/D_Result.h"
#include "model/D_Staevne.h"
#include "model/D_StaevneSystemData.h"

#include <QLabel>

namespace {

TEST_F(TMeetRun, AWholeMeetThroughTheProgramsWindows) {
    Window();
    ASSERT_TRUE(Window().StartupFailure().isEmpty());
    Picture(Window(), "01-main-empty");

    MakeMeetWithTheWizard();
    ASSERT_FALSE(HasFailure());
    EnterClubsAndAthletes();
    ASSERT_FALSE(HasFailure());
    ImportRegistrationFile();
    ChangeTheSettings();
    ASSERT_FALSE(HasFailure());

    ScheduleAndQualifyingRules();
    SeedTheHeats();
    ASSERT_FALSE(HasFailure());
    PrintStartLists();
    TypeHeatResultsAndReadTheTimingFile();
    ASSERT_FALSE(HasFailure());
    QualifyAndTransferToTheFinal();
    ASSERT_FALSE(HasFailure());
    TypeFieldAndCombinedEventResults();
    PrintResultsAndStandings();
    ShowResultsOnTheBoard();

    ExportAndImportUnderANewName();
    ServeThePages();
    RunEveryBatchJob();

    // Started again on the folder, the program finds everything as it was entered.
    CloseWindow();
    Window();
    EXPECT_TRUE(Window().StartupFailure().isEmpty());
    EXPECT_EQ(Window().StaevneLabel->text(),
              MeetName + " (" + QString::number(StaevneManager->GetCurrentStID()) + ")");
    CheckRecordFiles();
    EXPECT_EQ(Shown(), QStringList());
}

} // namespace
