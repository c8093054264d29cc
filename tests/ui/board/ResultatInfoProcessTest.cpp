// The board in a program of its own, reading while the editor's program saves the round it shows.
#include "BoardFixture.h"

#include "model/D_Globals.h"
#include "model/D_Ovelser.h"
#include "model/D_Result.h"
#include "model/D_Staevne.h"
#include "storage/BtvFile.h"

#include <sys/wait.h>
#include <unistd.h>

#include <map>
#include <set>

namespace {

constexpr int Rows = 30;
constexpr int Saves = 100;

class BoardProcessTest : public TBoardTest {
protected:
    // Opens the meet anew in this program, as a program that starts does.
    void OpenMeet() {
        OvelseManager = std::make_unique<TOvelseManager>();
        Manager().OpenStaevne(Manager().IndexOfStaevneNavn(QStringLiteral("Stævne")));
    }
    // Save k gives start number n the result k * 100 + n: every row tells which save it came from.
    static qint32 Result(int save, qint32 startnummer) { return save * 100 + startnummer; }
};

TEST_F(BoardProcessTest, EveryScreenIsAWholeRoundWhileAnotherProgramSavesItAHundredTimes) {
    Results(Round("M", "100", "I"), 1, Rows, [](qint32 nr) { return Result(0, nr); });
    WriteBoard({"M  100"});
    // The texts a row may show, and the save each comes from.
    std::map<QString, int> saveOf;
    for (int save = 0; save <= Saves; ++save)
        for (qint32 nr = 1; nr <= Rows; ++nr)
            saveOf[FormatOvelseResultatNoWind(Round("M", "100", "I"), Result(save, nr))] = save;

    // Each program opens its files for itself.
    OvelseManager.reset();
    StaevneManager.reset();
    StopRecordManager();
    int started[2];
    int go[2];
    ASSERT_EQ(pipe(started), 0);
    ASSERT_EQ(pipe(go), 0);
    const pid_t editor = fork();
    if (editor == 0) {
        // The editor's program: the round's rows saved a hundred times, each save in one go.
        int failed = 0;
        try {
            OpenMeet();
            TResultatManager manager;
            manager.LoadOvelse(OvelseManager->FindOvelseInfo("M", "100", "I"));
            char c = 0;
            const bool ready = ::write(started[1], "s", 1) == 1 && ::read(go[0], &c, 1) == 1;
            for (int save = 1; ready && save <= Saves; ++save) {
                for (TResultat* row : manager.GetResultater())
                    row->SetResultat(Result(save, row->Startnummer));
                manager.SaveResultater();
                // Half the saves back to back, the others as a quick hand types them.
                if (save > Saves / 2)
                    usleep(2000);
            }
            failed = ready ? 0 : 2;
        } catch (...) {
            failed = 1;
        }
        _exit(failed);
    }
    ASSERT_GT(editor, 0);
    ::close(started[1]);
    char c = 0;
    ASSERT_EQ(::read(started[0], &c, 1), 1);
    ::close(started[0]);

    OpenMeet();
    TBoardPages board(1);
    board.Read(false);
    // The saves begin once the board is up.
    EXPECT_EQ(::write(go[1], "g", 1), 1);
    for (const int fd : {go[0], go[1]})
        ::close(fd);
    std::set<int> seen;
    int steps = 0;
    int status = 0;
    const auto check = [&] {
        ++steps;
        ASSERT_EQ(board.Screen().Kind, TBoardScreenKind::Round) << steps;
        ASSERT_NE(board.Round(), nullptr);
        const TBoardRound& round = *board.Round();
        ASSERT_EQ(round.Rows.size(), std::size_t(Rows)) << steps;
        EXPECT_EQ(round.AntalResultater, Rows);
        std::set<int> saves;
        for (const TBoardRow& row : round.Rows)
            saves.insert(saveOf.count(row.Resultat) ? saveOf[row.Resultat] : -1);
        ASSERT_EQ(saves.size(), 1u) << "a screen of two saves at step " << steps;
        ASSERT_NE(*saves.begin(), -1) << round.Rows.front().Resultat.toStdString();
        seen.insert(*saves.begin());
        // The page shown is a page of that round.
        for (const TBoardRow& row : board.Screen().Rows)
            EXPECT_EQ(saveOf[row.Resultat], *saves.begin());
    };
    while (waitpid(editor, &status, WNOHANG) == 0) {
        board.Read(true);
        check();
        if (HasFatalFailure())
            break;
    }
    if (HasFatalFailure()) {
        waitpid(editor, &status, 0);
        return;
    }
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    board.Read(true);
    check();
    EXPECT_EQ(*seen.rbegin(), Saves) << "the last save shows";
    EXPECT_GT(seen.size(), 2u) << "the board read while the saves went on: " << steps << " steps";
}

} // namespace
