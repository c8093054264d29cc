// The timing reader's files (".path", ".files", the folder's list), its watch on a heat's files, matching
// lines to the heat's rows, and what acceptance and cancelling leave in the rows.
#include "EltidFixture.h"

#include "foundation/Windows1252.h"

#include <map>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

namespace {

using TEltidFiles = TEltidTest;
using TEltidWatch = TEltidTest;
using TEltidMatch = TEltidTest;

QByteArray AlgeLines(std::initializer_list<const char*> lines) {
    QByteArray bytes;
    for (const char* line : lines)
        bytes += QByteArray(line).replace('|', '\t') + "\r\n";
    return bytes;
}

TEST_F(TEltidFiles, ReferenceListAndFilesRead) {
    TEltid& reader = Reader(TEltidSystem::Omega);
    for (const char* name : {"R03.COL", "r01.col", "R02.COL", ".R04.COL", "R05.HE"})
        Write(name, "");
    // The folder of a file chosen in the open dialog.
    reader.SetReference(Folder() + "/R03.COL");
    EXPECT_EQ(Windows1252::Decode(ReadFile(Path("Omega-0.path"))), Folder() + "\r\n");
    EXPECT_EQ(reader.GetFileList(false).Names, QStringList({"r01", "R02", "R03"}));
    reader.AddReadFiles({"R02"});
    reader.AddReadFiles({"r02", "R03"});
    EXPECT_EQ(ReadFile(Path("Omega-0.files")), "R02\r\nR03\r\n");
    EXPECT_EQ(reader.GetFileList(false).Names, QStringList({"r01"}));
    EXPECT_EQ(reader.GetFileList(true).Names, QStringList({"R02", "R03"}));
    reader.RemoveReadFiles();
    EXPECT_FALSE(QFileInfo::exists(Path("Omega-0.files")));
    EXPECT_EQ(reader.GetFileList(false).Names.size(), 3);
}

TEST_F(TEltidFiles, OmegaFallsBackToItsSecondFilesAndThenToSubFolders) {
    TEltid& reader = Reader(TEltidSystem::Omega);
    QDir().mkpath(Folder() + "/Heat 2");
    QDir().mkpath(Folder() + "/.hidden");
    EXPECT_EQ(reader.GetFileList(false).Names, QStringList({"Heat 2"}));
    Write("H1.he", "");
    EXPECT_EQ(reader.GetFileList(false).Names, QStringList({"H1"}));
    // ALGE and Lynx list their own files only.
    EXPECT_EQ(Reader(TEltidSystem::Lynx).GetFileList(false).Names, QStringList());
}

TEST_F(TEltidFiles, AFolderThatIsNotThereIsNamed) {
    TEltid& reader = Reader(TEltidSystem::Alge);
    WriteFile(Path("Alge-0.path"), "C:\\Timing\\Alge\r\n");
    const TEltidFileList list = reader.GetFileList(false);
    EXPECT_EQ(list.Folder, "C:\\Timing\\Alge");
    EXPECT_EQ(list.Fejl, "Eltid-mappen C:\\Timing\\Alge findes ikke");
    EXPECT_TRUE(list.Names.isEmpty());
    // Without a ".path" file there is simply no list.
    QFile::remove(Path("Alge-0.path"));
    EXPECT_EQ(reader.GetFileList(false).Fejl, "");
    EXPECT_EQ(reader.ReadResultFolder(), "");
}

TEST_F(TEltidWatch, TheSameDateAndSizeAreNotReadAgainANewSizeIs) {
    TEltid& reader = Reader(TEltidSystem::Alge);
    // Both writings get one date, to the microsecond.
    const QByteArray path = QFile::encodeName(Folder() + "/H.TXT");
    const struct timeval dated[2] = {{1700000000, 250}, {1700000000, 250}};
    Write("H.TXT", AlgeLines({"1|104|4||||0.1|10.52"}));
    ASSERT_EQ(::utimes(path.constData(), dated), 0);
    reader.Choose("H");
    ASSERT_EQ(reader.PollNow(), TEltidPoll::Read);
    EXPECT_EQ(reader.PollNow(), TEltidPoll::Unchanged);
    // Other bytes of the same size with the old date: not read.
    Write("H.TXT", AlgeLines({"1|105|5||||0.1|10.52"}));
    ASSERT_EQ(::utimes(path.constData(), dated), 0);
    EXPECT_EQ(reader.PollNow(), TEltidPoll::Unchanged);
    EXPECT_EQ(reader.Lines().front().Startnr, "104");
    // A new size is read, and the row of the line that went is as before.
    Write("H.TXT", AlgeLines({"1|105|5||||0.1|10.61", "2|106|6||||0.1|10.70"}));
    EXPECT_EQ(reader.PollNow(), TEltidPoll::Read);
    EXPECT_EQ(Lines(), QStringList({"1/0/105/10.61/0/OK", "2/0/106/10.70/0/OK"}));
    EXPECT_EQ(Runner(104).Resultat, 0);
    EXPECT_FALSE(Runner(104).Modified);
    EXPECT_EQ(Runner(105).Resultat, 1061);
}

TEST_F(TEltidWatch, AFileStillBeingWrittenIsNeverHalfApplied) {
    TEltid& reader = Reader(TEltidSystem::Lynx);
    const QByteArray whole = ReadFile(Sample("HEAT1.LIF"));
    // Cut inside a line: left for a later look.
    Write("HEAT1.LIF", whole.left(whole.indexOf("10.610") + 3));
    reader.Choose("HEAT1");
    EXPECT_EQ(reader.PollNow(), TEltidPoll::Unchanged);
    EXPECT_TRUE(reader.Lines().empty());
    Write("HEAT1.LIF", whole);
    ASSERT_EQ(reader.PollNow(), TEltidPoll::Read);
    EXPECT_EQ(reader.Lines().size(), 5u);
    // A file that ends without a line end is taken once it stays as it is.
    Write("HEAT1.LIF", whole.left(whole.indexOf("\r\n4,106")) + "\r\n4,106,6,Dansen,Dan,AGF,10.90");
    EXPECT_EQ(reader.PollNow(), TEltidPoll::Unchanged);
    EXPECT_EQ(reader.PollNow(), TEltidPoll::Read);
    EXPECT_EQ(Runner(106).Resultat, 1090);
}

TEST_F(TEltidWatch, AFileThatComesLaterInAnotherCaseIsFound) {
    TEltid& reader = Reader(TEltidSystem::Alge);
    reader.Choose("H");
    EXPECT_EQ(reader.PollNow(), TEltidPoll::Unchanged);
    Write("h.txt", AlgeLines({"1|104|4||||0.1|10.52"}));
    Write("h.Sav", "WIND=-1.1\r\n");
    ASSERT_EQ(reader.PollNow(), TEltidPoll::Read);
    EXPECT_EQ(Runner(104).Resultat, 1052);
    EXPECT_EQ(reader.HeatVind(), "-1.1");
}

TEST(EltidText, LinesEndInCrLfLfOrCrAlone) {
    EXPECT_EQ(SplitTextLines("a\r\nb\r\n"), QStringList({"a", "b"}));
    EXPECT_EQ(SplitTextLines("a\n\nb"), QStringList({"a", "", "b"}));
    EXPECT_EQ(SplitTextLines("a\rb\r"), QStringList({"a", "b"}));
    EXPECT_EQ(SplitTextLines(""), QStringList());
}

TEST_F(TEltidWatch, APollNeverWaitsLongerThanItsWait) {
    TEltid& reader = Reader(TEltidSystem::Lynx);
    // A pipe that nobody writes: opening it to read hangs, as a dead network folder does.
    const QByteArray pipe = QFile::encodeName(Folder() + "/HANG.LIF");
    ASSERT_EQ(::mkfifo(pipe.constData(), 0600), 0);
    reader.Choose("HANG");
    EXPECT_EQ(reader.Poll(std::chrono::milliseconds(20)), TEltidPoll::Waiting);
    EXPECT_EQ(reader.Poll(std::chrono::milliseconds(20)), TEltidPoll::Waiting);
    EXPECT_GT(reader.Waiting().count(), 0);
    EXPECT_EQ(reader.PollNow(), TEltidPoll::Waiting);
    // Another file: the hung look is left behind.
    Copy("HEAT2.LIF");
    reader.Choose("HEAT2");
    EXPECT_EQ(reader.Poll(std::chrono::seconds(10)), TEltidPoll::Read);
    // Lets the hung look end.
    const int fd = ::open(pipe.constData(), O_WRONLY | O_NONBLOCK);
    if (fd >= 0)
        ::close(fd);
}

TEST_F(TEltidWatch, AFileThatCannotBeReadFailsThePoll) {
    TEltid& reader = Reader(TEltidSystem::Alge);
    QDir().mkpath(Folder() + "/H.TXT");
    reader.Choose("H");
    EXPECT_EQ(ErrorText([&] { reader.PollNow(); }), "Filen H.TXT kunne ikke læses");
}

TEST_F(TEltidMatch, TheStartNumberBeatsTheLane) {
    TEltid& reader = Reader(TEltidSystem::Alge);
    // 104 runs in lane 4, 105 in lane 5; the file puts 104 in lane 5.
    Write("H.TXT", AlgeLines({"1|104|5||||0.1|10.52", "2|0|3||||0.1|10.60", "3|777|6||||0.1|10.70"}));
    reader.Choose("H");
    ASSERT_EQ(reader.PollNow(), TEltidPoll::Read);
    EXPECT_EQ(reader.Lines()[0].Resultat, &Runner(104));
    // Without a start number the lane matches; an unknown start number does not fall back to the lane.
    EXPECT_EQ(reader.Lines()[1].Resultat, &Runner(103));
    EXPECT_EQ(reader.Lines()[2].Resultat, nullptr);
    EXPECT_EQ(Runner(105).Resultat, 0);
    EXPECT_EQ(Runner(106).Resultat, 0);
}

TEST_F(TEltidMatch, RowsWithoutAHeatTakeNoResult) {
    AddRunner(301, 0, 3);
    TEltid& reader = Reader(TEltidSystem::Alge, 0);
    Write("H.TXT", AlgeLines({"1|301|3||||0.1|10.52"}));
    reader.Choose("H");
    ASSERT_EQ(reader.PollNow(), TEltidPoll::Read);
    EXPECT_EQ(reader.Lines()[0].StatusText(), "FEJL");
    EXPECT_EQ(reader.Lines()[0].FejlText(), "Ikke tilladt at indlægge resultat på heat 0");
    EXPECT_EQ(Runner(301).Resultat, 0);
}

TEST_F(TEltidMatch, ATypedNumberMatchesAgainAndGivesTheOldRowBack) {
    SetRunde(Round("M", "100", "I"), OvelseRnField::AntalViderePlac, 2);
    AddRunner(110, 1, 0, {{ResultatField::Resultat, 1234}, {ResultatField::PlKode, 7}});
    TEltid& reader = Reader(TEltidSystem::Alge);
    // Placed when it was loaded: changed since it was read from the file.
    const bool modified = Runner(110).Modified;
    Write("H.TXT", AlgeLines({"1|110|0||||0.1|10.52", "2|104|0||||0.1|10.61", "3|104|0||||0.1|10.70"}));
    reader.Choose("H");
    ASSERT_EQ(reader.PollNow(), TEltidPoll::Read);
    EXPECT_EQ(Runner(110).Resultat, 1052);
    // Places up to AntalViderePlac go on to round F.
    EXPECT_EQ(Runner(110).VK, "F");
    EXPECT_EQ(reader.Lines()[2].StatusText(), "FEJL");
    // The first line was 105: 110 gets its stored values back, not zeros.
    reader.SetLineStartnr(0, "105");
    EXPECT_EQ(Runner(110).Resultat, 1234);
    EXPECT_EQ(Runner(110).PK, 7);
    EXPECT_EQ(Runner(110).VK, "");
    EXPECT_EQ(Runner(110).Modified, modified);
    EXPECT_EQ(Runner(105).Resultat, 1052);
    // The second was 106 in lane 6: the third line now gets 104.
    reader.SetLineBane(1, "6");
    EXPECT_EQ(reader.Lines()[1].Resultat, &Runner(106));
    EXPECT_EQ(reader.Lines()[2].Resultat, &Runner(104));
    EXPECT_EQ(Runner(104).Resultat, 1070);
    EXPECT_EQ(Runner(104).VK, "");
    EXPECT_EQ(ErrorText([&] { reader.SetLineBane(1, "x"); }), "Banen skal være et tal: x");
    EXPECT_EQ(reader.Lines()[1].Resultat, &Runner(106));
}

TEST_F(TEltidMatch, AFaultyLineSaysWhatIsWrongWithIt) {
    TEltid& reader = Reader(TEltidSystem::Alge);
    Write("H.TXT", AlgeLines({"1|104|0||||0.1|10.52", "0|105|0||||0.1|10.55", "x|107|0||||0.1|10.58",
                              "2|106|0||||0.1|10.61", "3|104|0||||0.1|10.70"}));
    reader.Choose("H");
    ASSERT_EQ(reader.PollNow(), TEltidPoll::Read);
    // In place order: 1, 2, 3, then the two without a place.
    ASSERT_EQ(reader.Lines().size(), 5u);
    EXPECT_EQ(reader.Lines()[2].FejlText(), "Linje 1 har samme løber");
    EXPECT_EQ(reader.Lines()[3].FejlText(), "Placeringen \"0\" skal være mindst 1");
    EXPECT_EQ(reader.Lines()[4].FejlText(), "Placeringen \"x\" er ikke et tal");
    // A runner typed on the first line that a later line has: that line is named.
    reader.SetLineStartnr(0, "106");
    EXPECT_EQ(reader.Lines()[0].FejlText(), "Linje 2 har samme løber");
    // The runner given back goes to the line that wanted him.
    EXPECT_EQ(reader.Lines()[2].Resultat, &Runner(104));
    EXPECT_EQ(reader.Lines()[2].FejlText(), "");
}

TEST_F(TEltidMatch, FinishKeepsPlacingCodesOnlyForTiesAndMarksTheAbsent) {
    AddRunner(110, 1, 0, {});
    TEltid& reader = Reader(TEltidSystem::Omega);
    Runner(101).SetRK("A");
    Copy("HEAT1.CL");
    reader.Choose("HEAT1");
    ASSERT_EQ(reader.PollNow(), TEltidPoll::Read);
    reader.Finish();
    EXPECT_EQ(Runner(104).PK, 0);
    EXPECT_EQ(Runner(105).PK, 2);
    EXPECT_EQ(Runner(103).PK, 3);
    EXPECT_EQ(Runner(107).PK, 0);
    // Rows without a time: "E", unless they have a status; a place word gives its own.
    EXPECT_EQ(Runner(101).RK, "A");
    EXPECT_EQ(Runner(108).RK, "U");
    EXPECT_EQ(Runner(109).RK, "E");
    EXPECT_EQ(Runner(110).RK, "E");
    EXPECT_EQ(Runner(104).RK, "");
    // Another heat is not touched.
    EXPECT_EQ(Runner(201).RK, "");
}

TEST_F(TEltidMatch, RestoringGivesTheHeatBackAsItWas) {
    AddRunner(110, 1, 0, {{ResultatField::Resultat, 1234}, {ResultatField::Vind, 5}});
    TEltid& reader = Reader(TEltidSystem::Omega);
    std::map<TResultat*, bool> modified;
    for (TResultat* row : heat_->Rows())
        modified[row] = row->Modified;
    // An unsaved edit in heat 2 made before the run.
    Runner(201).SetResultat(1111);
    Copy("HEAT1.CL");
    reader.Choose("HEAT1");
    ASSERT_EQ(reader.PollNow(), TEltidPoll::Read);
    heat_->SetVind(12);
    reader.Finish();
    heat_->RestoreAll();
    for (TResultat* row : heat_->Rows()) {
        EXPECT_EQ(row->Modified, modified[row]) << row->Startnummer;
        EXPECT_EQ(row->RK, "") << row->Startnummer;
        EXPECT_EQ(row->PK, 0) << row->Startnummer;
    }
    EXPECT_EQ(Runner(104).Resultat, 0);
    EXPECT_EQ(Runner(110).Resultat, 1234);
    EXPECT_EQ(Runner(110).Vind, 5);
    EXPECT_EQ(Runner(201).Resultat, 1111);
    EXPECT_TRUE(Runner(201).Modified);
}

} // namespace
