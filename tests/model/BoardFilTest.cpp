// The results board's file: its keys as the editor writes them, its lines as the board reads them, where
// it lies, and the rounds a key stands for.
#include "model/D_BoardFil.h"

#include "support/Test.h"

#include "ResultFixture.h"
#include "model/D_Globals.h"
#include "model/D_Ovelser.h"

#include <QDir>
#include <QTemporaryDir>

#include <sys/stat.h>

namespace {

class BoardFilTest : public TResultTest {
protected:
    QStringList Keys(const std::vector<TOvelseInfo*>& rounds) const {
        QStringList keys;
        for (const TOvelseInfo* info : rounds)
            keys << BoardKeyOf(*info) + u'/' + info->GetRunde();
        return keys;
    }
    static quint64 Inode(const QString& path) {
        struct stat st {};
        return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? quint64(st.st_ino) : 0;
    }
};

TEST(BoardKeyTest, ClassInThreeAndEventInSixPaddedOrCut) {
    EXPECT_EQ(BoardKey("M", "100"), "M  100   ");
    EXPECT_EQ(BoardKey(" K ", " 4X100 "), "K  4X100 ");
    EXPECT_EQ(BoardKey("M35X", "1500MFORHIND"), "M351500MF");
    EXPECT_EQ(BoardKey("", "HØ"), "   HØ    ");
    EXPECT_EQ(BoardKey("P15", "HOEJDE").size(), BoardKeyLength);
}

TEST(BoardKeyTest, LinesAreTimerPicturesOrKeysEachOnce) {
    const TBoardFil fil = ParseBoardFil(QStringLiteral("  M  100\r\n"
                                                       "m  100   ekstra\r\n"
                                                       "\r\n"
                                                       "   \n"
                                                       "PICTURE,sponsor.jpg\n"
                                                       "NU MED TIMER\n"
                                                       "picture,lille.jpg\n"
                                                       "K  LÆ"));
    EXPECT_TRUE(fil.Timer);
    EXPECT_EQ(fil.Pictures, QStringList{"sponsor.jpg"});
    // Leading blanks go, the first 9 characters count, upper-cased; a key given twice is one.
    EXPECT_EQ(fil.Keys, QStringList({"M  100   ", "PICTURE,L", "K  LÆ    "}));
    EXPECT_FALSE(ParseBoardFil(QStringLiteral("M  100\n")).Timer);
    EXPECT_TRUE(ParseBoardFil(QString()).Keys.isEmpty());
}

TEST_F(BoardFilTest, TheEditorsFileHoldsOneKeyPerRoundInTheOrderGiven) {
    const std::vector<const TOvelseInfo*> rounds = {&Round("M", "LÆ"), &Round("M", "100", "I"),
                                                    &Round("K", "100"), &Round("M", "100", "F")};
    WriteBoardFil("Board2", rounds);
    EXPECT_EQ(ReadFile(Path("Board2")),
              QByteArray("M  L\xC6    \r\nM  100   \r\nK  100   \r\nM  100   \r\n"));
    // An empty selection empties the board.
    WriteBoardFil("Board2", {});
    EXPECT_EQ(ReadFile(Path("Board2")), QByteArray());
}

TEST_F(BoardFilTest, TheFileLiesInTheProgramFolderUnderTheNameAlreadyThere) {
    QTemporaryDir elsewhere;
    const QString working = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(elsewhere.path()));
    WriteFile(Path("BOARD3"), "gammel\r\n");
    WriteBoardFil("Board3", {&Round("K", "100")});
    QDir::setCurrent(working);
    EXPECT_EQ(ReadFile(Path("BOARD3")), "K  100   \r\n");
    EXPECT_FALSE(QFileInfo::exists(Path("Board3")));
    EXPECT_TRUE(QDir(elsewhere.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
    EXPECT_EQ(BoardFilPath(BoardFilNavn(3)), Path("BOARD3"));
    EXPECT_EQ(BoardFilPath("board4"), Path("board4"));
}

TEST_F(BoardFilTest, TheFileIsReplacedWholeAndAFailureLeavesTheOldOne) {
    WriteBoardFil("Board1", {&Round("K", "100")});
    const quint64 before = Inode(Path("Board1"));
    WriteBoardFil("Board1", {&Round("M", "HØ")});
    // Renamed into place: a board that has the old file open reads the old file whole.
    EXPECT_NE(Inode(Path("Board1")), before);
    EXPECT_EQ(QDir(Dir()).entryList({"Board1*"}, QDir::Files | QDir::Hidden), QStringList{"Board1"});

    ASSERT_TRUE(QDir().mkpath(Path("Board5")));
    EXPECT_THROW(WriteBoardFil("Board5", {&Round("K", "100")}), Exception);
    EXPECT_TRUE(QFileInfo(Path("Board5")).isDir());
    EXPECT_EQ(ReadFile(Path("Board1")), QByteArray("M  H\xD8    \r\n"));
}

TEST_F(BoardFilTest, AKeyStandsForEveryRoundOfItsClassAndEventInTimeOrderEachOnce) {
    // The final before the first round in time: time order, not the order of the letters.
    Round("M", "100", "F").OvelseRn().GetField(OvelseRnField::DatoTid)->SetAsFloat(45000.25);
    Ov().Save();
    Ov().Reload();
    EXPECT_EQ(Keys(FindBoardOvelser(Ov(), {"K  100   ", "M  100   ", "X  100   ", "K  100   "})),
              QStringList({"K  100   /F", "M  100   /F", "M  100   /I"}));
    EXPECT_EQ(Keys(FindBoardOvelser(Ov(), {"M  LÆ    "})), QStringList{"M  LÆ    /F"});
    EXPECT_TRUE(FindBoardOvelser(Ov(), {}).empty());
}

} // namespace

TEST_F(BoardFilTest, AKeyFindsTheRoundsAsTheyStandAfterEachReindexAndReload) {
    EXPECT_EQ(Keys(FindBoardOvelser(Ov(), {"M  100   "})), QStringList({"M  100   /I", "M  100   /F"}));
    TOvelseInfo& finale = Round("M", "100", "F");
    finale.OvelseRn().GetField(OvelseRnField::DatoTid)->SetAsFloat(45000.25);
    Ov().Reindex();
    EXPECT_EQ(Keys(FindBoardOvelser(Ov(), {"M  100   "})), QStringList({"M  100   /F", "M  100   /I"}));
    // Read anew: the rounds found are the new reading's.
    finale.OvelseRn().GetField(OvelseRnField::DatoTid)->SetAsFloat(46000.75);
    Ov().Save();
    Ov().Reload();
    const std::vector<TOvelseInfo*> found = FindBoardOvelser(Ov(), {"M  100   "});
    EXPECT_EQ(Keys(found), QStringList({"M  100   /I", "M  100   /F"}));
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[1], Ov().FindOvelseInfo("m", " 100", "F"));
    EXPECT_EQ(Ov().FindKlasseOvelseInfos(" m ", "100 "), found);
    EXPECT_TRUE(Ov().FindKlasseOvelseInfos("M", "99").empty());
}
