// The scoreboard files of a loaded round: numbered documents and their index in the meet's scoreboard
// folder.
#include "model/D_Result.h"

#include "support/Test.h"

#include "ResultFixture.h"
#include "XmlFiles.h"
#include "model/D_Staevne.h"

namespace {

using namespace ResultatField;

class ResultScoreboard : public TResultTest {
protected:
    void SetUp() override {
        QDir().mkpath(Path("board"));
        // The setting names the folder as the user typed it, with a backslash at its end.
        Manager().SystemData().ScoreboardFilePath = Path("Board\\");
        AddKlub(1, QStringLiteral("Klub & co"));
        for (const auto& [startnummer, heat] : {std::pair(1, 1), std::pair(2, 1), std::pair(3, 2)}) {
            AddDeltager(startnummer, QStringLiteral("Løber %1").arg(startnummer));
            AddResultat(Round("M", "100", "I"), startnummer,
                        Fields({{Heat, heat}, {Resultat, 1100 + startnummer}}));
        }
        manager_.LoadOvelse(&Round("M", "100", "I"));
    }

    QStringList Board() const {
        return QDir(Path("board")).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }
    QStringList Read(const QString& name) const {
        return Windows1252::Decode(ReadFile(Path("board/") + name))
            .split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    }

    TResultatManager manager_;
};

} // namespace

TEST_F(ResultScoreboard, FilesAreNumberedFromOneAndTheIndexListsThem) {
    manager_.ClearScoreboardFiler();
    manager_.WriteScoreboardFil(false, 0);
    manager_.WriteScoreboardFil(true, 1);
    manager_.WriteScoreboardFil(true, 2);
    manager_.WriteScoreboardData();
    const QStringList names = {"zuno-scoreboard-001.xml", "zuno-scoreboard-002.xml",
                               "zuno-scoreboard-003.xml"};
    EXPECT_EQ(manager_.ScoreboardFiler, names);
    EXPECT_EQ(Board(), names + QStringList{"zuno-scoreboard-data.xml"});
    EXPECT_EQ(XmlValues(Read("zuno-scoreboard-data.xml"), "File", "Name"), names);
    // All heats, then one heat each, every file a whole document.
    EXPECT_EQ(XmlValues(Read(names[0]), "Heat", "Id"), QStringList({"1", "2"}));
    EXPECT_EQ(XmlValues(Read(names[1]), "Deltager", "StartNr"), QStringList({"1", "2"}));
    EXPECT_EQ(XmlValues(Read(names[2]), "Deltager", "StartNr"), QStringList({"3"}));
    for (const QString& name : Board())
        EXPECT_EQ(XmlLint(Path("board/") + name), QString()) << name.toStdString();
    // The timing reader's heading goes into every document.
    Manager().Scoreboard().Header = QStringLiteral("100 m <heat 1>");
    manager_.WriteScoreboardFil(true, 1);
    EXPECT_EQ(XmlValues(Read("zuno-scoreboard-004.xml"), "Scoreboard", "Header"),
              QStringList({"100 m <heat 1>"}));
}

TEST_F(ResultScoreboard, ClearingDeletesTheListedFilesAndStartsTheNumbersAgain) {
    for (int i = 0; i < 2; ++i)
        manager_.WriteScoreboardFil(false, 0);
    manager_.WriteScoreboardData();
    WriteFile(Path("board/other.xml"), "<other/>");
    // One of them is gone already: no failure.
    QFile::remove(Path("board/zuno-scoreboard-001.xml"));
    manager_.ClearScoreboardFiler();
    EXPECT_EQ(manager_.ScoreboardFiler, QStringList());
    EXPECT_EQ(Board(), QStringList({"other.xml", "zuno-scoreboard-data.xml"}));
    manager_.WriteScoreboardFil(false, 0);
    EXPECT_EQ(manager_.ScoreboardFiler, QStringList({"zuno-scoreboard-001.xml"}));
}

TEST_F(ResultScoreboard, ActivatingCopiesTheFileAndListsOnlyIt) {
    manager_.WriteScoreboardFil(false, 0);
    WriteFile(Path("100m-result.xml"), "<Zuno/>");
    // A name without a folder is one of the data folder.
    manager_.ActivateScoreboardFil(QStringLiteral("100m-result.xml"));
    EXPECT_EQ(ReadFile(Path("board/100m-result.xml")), QByteArray("<Zuno/>"));
    EXPECT_EQ(XmlValues(Read("zuno-scoreboard-data.xml"), "File", "Name"), QStringList({"100m-result.xml"}));
    EXPECT_EQ(manager_.ScoreboardFiler, QStringList({"zuno-scoreboard-001.xml"}));
    // A file of the folder itself is listed where it is.
    manager_.ActivateScoreboardFil(Path("board/zuno-scoreboard-001.xml"));
    EXPECT_EQ(XmlValues(Read("zuno-scoreboard-data.xml"), "File", "Name"),
              QStringList({"zuno-scoreboard-001.xml"}));
    EXPECT_TRUE(ErrorText([&] {
                    manager_.ActivateScoreboardFil(Path("missing.xml"));
                }).startsWith(QStringLiteral("Filen ") + Path("missing.xml") + " kunne ikke kopieres til "));
}

TEST_F(ResultScoreboard, AFileThatCannotBeSavedLeavesTheListAsItWas) {
    manager_.WriteScoreboardFil(false, 0);
    Manager().SystemData().ScoreboardFilePath = Path("no-such-folder");
    EXPECT_TRUE(ErrorText([&] { manager_.WriteScoreboardFil(false, 0); }).startsWith("XML-filen "));
    EXPECT_EQ(manager_.ScoreboardFiler, QStringList({"zuno-scoreboard-001.xml"}));
    EXPECT_FALSE(QFileInfo::exists(Path("no-such-folder")));
}
