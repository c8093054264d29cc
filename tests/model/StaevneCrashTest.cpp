// A meet's import and deletion killed at every step of their commit: afterwards the meet is whole or
// absent, and no record is left without its meet.
#include "model/D_Staevne.h"

#include "support/KillAtStep.h"
#include "support/Test.h"

#include "ProgramFolderFixture.h"
#include "model/D_Globals.h"
#include "model/D_StaevneTransfer.h"

#include <functional>
#include <map>
#include <set>

namespace {

struct TNamed : TImportStaevneQuestion {
    explicit TNamed(QString navn)
        : Navn(std::move(navn)) {}
    bool AskStaevneNavn(const TSystemData&, QString& navn) override {
        navn = Navn;
        return true;
    }
    QString Navn;
};

class StaevneCrashTest : public TProgramFolderTest {
protected:
    // A meet with records in every meet-bound file, exported to kilde.kip.
    void SourceMeet() {
        const qint32 stID = CreateMeet("Kilde");
        for (const TRecordFileDef& file : RecordFileDefs()) {
            if (!file.IsStaevneBound() || &file == &TStaevneTable::Def())
                continue;
            TZunoDataTable table(file);
            table.Open();
            for (int k = 0; k < 3; ++k) {
                table.Insert();
                table.GetField(StaevneField::StID)->SetAsInteger(stID);
                table.Post();
            }
        }
        Manager().ExportStaevne(Path("kilde.kip"));
    }

    // Runs work in a child process with a fresh meet manager, stopped and killed at the step of its
    // commits; false when it ran to its end without reaching that step.
    bool KilledAt(int step, const std::function<void()>& work) {
        OvelseManager.reset();
        StaevneManager.reset();
        return ::KilledAt(
            step, [this] { Manager(); }, work);
    }

    // The number of records of each meet-bound file per meet number, after the next start.
    std::map<qint32, std::vector<int>> RecordsPerMeet() {
        Restart();
        std::map<qint32, std::vector<int>> counts;
        int fileNo = 0;
        for (const TRecordFileDef& file : RecordFileDefs()) {
            if (!file.IsStaevneBound())
                continue;
            TZunoDataTable table(file);
            table.Open();
            for (table.StepFirst(); !table.GetEof(); table.StepNext()) {
                std::vector<int>& meet = counts[table.GetField(StaevneField::StID)->GetAsInteger()];
                meet.resize(RecordFileDefs().size());
                ++meet[static_cast<std::size_t>(fileNo)];
            }
            ++fileNo;
        }
        return counts;
    }

    // Every record belongs to a listed meet, and each listed meet has what the source has.
    void ExpectWholeMeetsOnly(const std::vector<int>& whole) {
        const auto counts = RecordsPerMeet();
        EXPECT_EQ(Shown(), QStringList()); // no meet left unfinished
        std::set<qint32> listed;
        for (int i = 0; i < Manager().GetStaevneCount(); ++i)
            listed.insert(Manager().GetStaevneStID(i));
        for (const auto& [stID, perFile] : counts) {
            EXPECT_TRUE(listed.contains(stID)) << "records of meet " << stID << " without their meet";
            EXPECT_EQ(perFile, whole) << "meet " << stID;
        }
        EXPECT_EQ(counts.size(), listed.size());
    }

    // Runs work on the source meet's export, before each try prepare, both given the try's name; killed
    // at step 1, 2, ... until it runs to its end, the meets whole or absent after each. The last name.
    QString KillAtEveryStep(const QString& prefix, const std::function<void(const QString&)>& prepare,
                            const std::function<void(const QString&)>& work) {
        SourceMeet();
        const std::vector<int> whole = RecordsPerMeet().at(1);
        for (int step = 1; step < 100; ++step) {
            const QString navn = prefix + QString::number(step);
            if (prepare)
                prepare(navn);
            const bool stopped = KilledAt(step, [&] { work(navn); });
            SCOPED_TRACE(step);
            ExpectWholeMeetsOnly(whole);
            if (!stopped) {
                EXPECT_GT(step, 13) << "the journal and each of the 12 files' commits at least";
                return navn;
            }
        }
        ADD_FAILURE() << "never ran to its end";
        return {};
    }
};

TEST_F(StaevneCrashTest, AnImportKilledAtEveryStepOfItsCommitLeavesTheMeetWholeOrAbsent) {
    const QString last = KillAtEveryStep(QStringLiteral("Import "), {}, [this](const QString& navn) {
        TNamed question(navn);
        StaevneManager->ImportStaevne(Path("kilde.kip"), 0, question);
    });
    EXPECT_GE(Manager().IndexOfStaevneNavn(last), 0);
    // A name whose import died before its commit is free again.
    TNamed again(QStringLiteral("Import 1"));
    ASSERT_LT(Manager().IndexOfStaevneNavn(again.Navn), 0);
    EXPECT_EQ(ErrorText([&] { Manager().ImportStaevne(Path("kilde.kip"), 0, again); }), "<no error>");
}

TEST_F(StaevneCrashTest, ADeletionKilledAtEveryStepOfItsCommitLeavesTheMeetWholeOrAbsent) {
    const QString last = KillAtEveryStep(
        QStringLiteral("Slet "),
        [this](const QString& navn) {
            TNamed question(navn);
            Manager().ImportStaevne(Path("kilde.kip"), 0, question);
        },
        [](const QString& navn) {
            StaevneManager->OpenStaevne(StaevneManager->IndexOfStaevneNavn(navn));
            StaevneManager->DeleteStaevne();
        });
    EXPECT_LT(Manager().IndexOfStaevneNavn(last), 0);
    EXPECT_FALSE(QFileInfo::exists(Path(last)));
}

TEST_F(StaevneCrashTest, ADeletedMeetsNumberIsNotGivenAgainWhereverItsDeletionWasKilled) {
    std::set<qint32> given = {1}; // the source meet's
    KillAtEveryStep(
        QStringLiteral("Nummer "),
        [&](const QString& navn) {
            TNamed question(navn);
            Manager().ImportStaevne(Path("kilde.kip"), 0, question);
            EXPECT_TRUE(given.insert(Manager().GetCurrentStID()).second) << "number given twice";
        },
        [](const QString& navn) {
            StaevneManager->OpenStaevne(StaevneManager->IndexOfStaevneNavn(navn));
            StaevneManager->DeleteStaevne();
        });
    EXPECT_FALSE(given.contains(CreateMeet(QStringLiteral("Til sidst"))));
}

TEST_F(StaevneCrashTest, ANewMeetNeverTakesTheNumberOfRecordsLeftWithoutTheirMeet) {
    CreateMeet("Første");
    // What an older version's deletion, cut short, may have left: records of meet 2, no meet 2.
    TKlubTable klub;
    klub.Open();
    klub.Insert();
    klub.GetField(StaevneField::StID)->SetAsInteger(2);
    klub.Post();
    EXPECT_EQ(CreateMeet("Anden"), 3);
    TKlubTable current;
    current.Open();
    EXPECT_FALSE(current.First());
}

} // namespace
