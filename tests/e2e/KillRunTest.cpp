// The writing part of a meet run through the windows (results typed heat by heat and saved, the
// qualifiers moved to the final, a registration file read, the meet exported and imported under a new
// name), killed with SIGKILL at ten moments chosen at random from a printed seed (ZUNO_KILL_SEED gives
// one). Each time the program starts again on the folder, the real program among others: every result
// whose saving had ended is there, and no meet, import, transfer or transfer file is there by half.
#include "E2eSupport.h"
#include "support/KillAtStep.h"
#include "support/ResultFixture.h"

#include "model/D_Globals.h"
#include "model/D_Ovelser.h"
#include "model/D_Result.h"
#include "model/D_Staevne.h"
#include "model/D_StaevneTransfer.h"
#include "ui/ovelse/EditOvelse.h"
#include "ui/ovelse/Seedning.h"
#include "ui/staevne/ImportStaevne.h"
#include "ui/staevne/ValgStaevne2.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>
#include <QTreeWidget>

#include <QCoreApplication>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <iostream>
#include <random>
#include <thread>

namespace {

constexpr int Runners = 16;
constexpr int FileAthletes = 20;
constexpr int Kills = 10;
const QString MeetName = QStringLiteral("Stævne");
const QString CopyName = QStringLiteral("Kopi");

// Counts the commit steps of the work, as TStopAtStep numbers them, and stops at none.
class TCountSteps : public RecordManager::FileSystem {
public:
    int beforeWrite(const char* path) override {
        if (QByteArray(path).endsWith(".zrm-journal"))
            ++Steps;
        return FileSystem::beforeWrite(path);
    }
    int beforeCommit(const char* path) override {
        ++Steps;
        return FileSystem::beforeCommit(path);
    }
    int sync(int fd) override {
        ++Steps;
        return FileSystem::sync(fd);
    }
    int unlink(const char* path) override {
        ++Steps;
        return FileSystem::unlink(path);
    }
    int Steps = 0;
};

// A line appended to the work's own log and forced to disk, past the record manager: what the work has
// done for certain when it is killed.
void Note(const QString& folder, const QString& line) {
    const int fd =
        ::open(QFile::encodeName(folder + "work.log").constData(), O_WRONLY | O_APPEND | O_CREAT, 0644);
    const QByteArray bytes = line.toUtf8() + '\n';
    EXPECT_EQ(::write(fd, bytes.constData(), static_cast<size_t>(bytes.size())), bytes.size());
    ::fsync(fd);
    ::close(fd);
}

QStringList Noted(const QString& folder) {
    QStringList lines = QString::fromUtf8(ReadFile(folder + "work.log")).split(u'\n', Qt::SkipEmptyParts);
    if (lines == QStringList{"<missing>"})
        lines.clear();
    return lines;
}

void CopyFolder(const QString& from, const QString& to) {
    QDir().mkpath(to);
    for (const QFileInfo& entry :
         QDir(from).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)) {
        const QString target = QDir(to).filePath(entry.fileName());
        if (entry.isDir())
            CopyFolder(entry.filePath(), target);
        else
            QFile::copy(entry.filePath(), target);
    }
}

// A meet of 16 runners seeded in two heats of the men's 100 m, of whom 8 go on to the final; a
// registration file of 20 more athletes beside it.
class KillRun : public TResultTest {
protected:
    KillRun() {
        AddKlub(1, QStringLiteral("Aarhus"));
        for (qint32 nr = 1; nr <= Runners; ++nr) {
            AddDeltager(nr, QStringLiteral("Løber %1").arg(nr), 1995, 1);
            AddResultat(Round("M", "100", "I"), nr,
                        Fields({{ResultatField::Heat, nr <= Runners / 2 ? 1 : 2},
                                {ResultatField::Banenummer, (nr - 1) % (Runners / 2) + 1}}));
        }
        SetRunde(Round("M", "100", "I"), OvelseRnField::AntalViderePlac, 3);
        SetRunde(Round("M", "100", "I"), OvelseRnField::AntalVidereIalt, 8);
        QByteArray file;
        for (int n = 1; n <= FileAthletes; ++n)
            file +=
                QStringLiteral("%1;Fil %1;2001;M;LÆ;;Odense;M;;%2\r\n").arg(100 + n).arg(500 + n).toUtf8();
        WriteFile(Path("Deltagere.csv"), file);
        Manager().SetLastUsedName(MeetName);
        Manager().SaveRegistry();
        stID_ = Manager().GetCurrentStID();
        OvelseManager.reset();
        StaevneManager.reset();
    }

    static int Time(qint32 nr) { return 1080 + nr * 7; }

    // The work, through the windows, over the folder; phase(name) marks where each part begins.
    void Work(const QString& folder, const std::function<void(const QString&)>& phase) const {
        TScriptedDialogs dialogs;
        TScriptedFiles files;
        auto& recorder = static_cast<TRecordingPresenter&>(MessagePresenter());
        TKelvo2MainProgForm window({"ID=" + QString::number(stID_)}, folder);
        window.show();
        Settle();

        phase("typing");
        dialogs->Answer<TEditOvelseForm>([&](TEditOvelseForm& form) {
            ShowActive(form);
            Settle();
            TOvelseInfo* heats = OvelseManager->FindOvelseInfo("M", "100", "I");
            const auto cell = form.Oversigt().Find(heats);
            form.OversigtGrid->GotoCell(cell->first, cell->second, true);
            Settle();
            form.OpenOvelsePage();
            Settle();
            const int col = form.OvelseGridCol(TResultColumn::Resultat);
            for (int heat = 1; heat <= 2; ++heat) {
                QStringList saved;
                for (int row = 1; row < form.OvelseGrid->RowCount(); ++row) {
                    const TResultat* resultat = form.RowAt(row);
                    if (!resultat || resultat->Heat != heat)
                        continue;
                    const qint32 nr = resultat->Startnummer;
                    form.OvelseGrid->setFocus();
                    form.OvelseGrid->GotoCell(col, row, true);
                    Settle();
                    QTest::keyClicks(QApplication::focusWidget(),
                                     QStringLiteral("%1.%2")
                                         .arg(Time(nr) / 100)
                                         .arg(Time(nr) % 100, 2, 10, QLatin1Char('0')));
                    Press(Qt::Key_Down);
                    saved << QString::number(nr);
                }
                form.GemToolButton->trigger();
                Settle();
                Note(folder, "saved " + saved.join(u' '));
            }
            phase("transfer");
            form.VidereDel1ToolButton->trigger();
            Settle();
            form.GemToolButton->trigger();
            Settle();
            recorder.QueueAnswer(mrYes);
            dialogs->Answer<TSeedningForm>([](TSeedningForm& seedning) {
                seedning.OKButton->click();
                return mrNone;
            });
            form.VidereDel2ToolButton->trigger();
            Settle();
            Note(folder, "transferred");
            form.done(mrOk);
            return mrNone;
        });
        window.OvelserButton->click();
        Settle();

        phase("import");
        QKeyEvent reveal(QEvent::KeyPress, Qt::Key_F5, Qt::ControlModifier | Qt::ShiftModifier);
        QApplication::sendEvent(&window, &reveal);
        window.ImportButton->click();
        Settle();
        Note(folder, "imported");

        phase("export");
        files->Answers = {folder + "ud"};
        window.ExportButton->click();
        Settle();
        Note(folder, "exported");

        phase("import of the transfer file");
        files->Answers = {folder + "ud.kip"};
        dialogs->Answer<TValgStaevne2Form>([&](TValgStaevne2Form& form) {
            form.ImportTypes->setCurrentIndex(0);
            dialogs->Answer<TImportStaevneForm>([](TImportStaevneForm& dialog) {
                dialog.StaevneNavn->setText(CopyName);
                dialog.OKButton->click();
                return mrNone;
            });
            form.ImportButton->click();
            Settle();
            return mrOk;
        });
        window.VaelgStaevneButton->click();
        Settle();
        Note(folder, "copied");
        window.close();
    }

    // Runs the work in a child process, this test program started anew for it (a forked copy of a
    // process that has drawn windows would wait for the drawing threads it does not have); stop, when
    // positive, is the commit step the child is killed at. -1 when it was killed, else 0.
    int RunChild(const QString& folder, int stop) const {
        OvelseManager.reset();
        StaevneManager.reset();
        StopRecordManager();
        const QByteArray self = QFile::encodeName(QCoreApplication::applicationFilePath());
        std::vector<QByteArray> arguments = {self, "--gtest_filter=KillRun.DISABLED_TheWorkOfAChildProcess",
                                             "--gtest_also_run_disabled_tests"};
        std::vector<QByteArray> environment;
        for (char** variable = environ; *variable; ++variable)
            environment.emplace_back(*variable);
        environment.push_back("ZUNO_KILL_FOLDER=" + QFile::encodeName(folder));
        environment.push_back("ZUNO_KILL_STOP=" + QByteArray::number(stop));
        environment.push_back("ZUNO_KILL_STID=" + QByteArray::number(stID_));
        std::vector<char*> argv, envp;
        for (QByteArray& argument : arguments)
            argv.push_back(argument.data());
        argv.push_back(nullptr);
        for (QByteArray& variable : environment)
            envp.push_back(variable.data());
        envp.push_back(nullptr);
        const int devNull = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
        // The folder the last start made current may be gone.
        const QByteArray home = QFile::encodeName(QDir::tempPath());
        const pid_t child = fork();
        if (child == 0) {
            ::dup2(devNull, STDOUT_FILENO);
            if (::chdir(home.constData()) != 0)
                _exit(126);
            ::execve(argv[0], argv.data(), envp.data());
            _exit(127);
        }
        ::close(devNull);
        // A child that hangs fails the test rather than holding it.
        int status = 0;
        bool ended = false;
        for (int waited = 0; !ended && waited < 120000; waited += 5) {
            ended = waitpid(child, &status, WUNTRACED | WNOHANG) == child;
            if (!ended)
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        if (ended && WIFSTOPPED(status)) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            return -1;
        }
        if (!ended) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            ADD_FAILURE() << "the work did not end, stop " << stop;
            return 0;
        }
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the work failed, stop " << stop;
        return 0;
    }

    // The program started again on the folder: what it must find after the work noted what it had done.
    void CheckAfterRestart(const QString& folder, const QString& what) {
        const QStringList noted = Noted(folder);
        SCOPED_TRACE(what.toStdString() + " after: " + noted.join(", ").toStdString());
        // The real program's start-up, and a batch job that reads the whole meet.
        const QString program = InstallProgramCopy(folder);
        QString errors;
        EXPECT_EQ(RunProgramCopy(
                      program,
                      {"ID=" + QString::number(stID_), "/XML_STAEVNE", "/FILENAME=" + folder + "check.xml"},
                      &errors),
                  0)
            << errors.toStdString();
        // The main window's start-up, the meet opened.
        TKelvo2MainProgForm window({"ID=" + QString::number(stID_)}, folder);
        window.show();
        Settle();
        ASSERT_TRUE(window.StartupFailure().isEmpty()) << window.StartupFailure().toStdString();
        ASSERT_EQ(CurrentStaevneNavn(), MeetName);

        TResultatManager heats;
        heats.LoadOvelse(OvelseManager->FindOvelseInfo("M", "100", "I"));
        EXPECT_EQ(heats.Count(), Runners);
        for (const QString& line : noted) {
            if (!line.startsWith("saved "))
                continue;
            for (const QString& nr : line.mid(6).split(u' ')) {
                const int index = heats.IndexOfStartnummer(nr.toInt());
                ASSERT_GE(index, 0) << nr.toStdString();
                EXPECT_EQ(heats.GetResultat(index)->Resultat, Time(nr.toInt())) << nr.toStdString();
            }
        }
        TResultatManager final;
        final.LoadOvelse(OvelseManager->FindOvelseInfo("M", "100", "F"));
        if (noted.contains("transferred"))
            EXPECT_EQ(final.Count(), 8);
        else
            EXPECT_TRUE(final.Count() == 0 || final.Count() == 8) << final.Count();
        const int deltagere = static_cast<int>(Stored<TDeltagerTable>({DeltagerField::Startnummer}).size());
        if (noted.contains("imported"))
            EXPECT_EQ(deltagere, Runners + FileAthletes);
        else
            EXPECT_TRUE(deltagere == Runners || deltagere == Runners + FileAthletes) << deltagere;

        // A transfer file is there whole or not at all; so is the meet imported from it.
        if (noted.contains("exported")) {
            EXPECT_TRUE(QFileInfo::exists(folder + "ud.kip"));
        }
        const int copy = StaevneManager->IndexOfStaevneNavn(CopyName);
        if (noted.contains("copied")) {
            EXPECT_GE(copy, 0);
        }
        if (copy >= 0) {
            StaevneManager->OpenStaevne(copy);
            EXPECT_EQ(Stored<TDeltagerTable>({DeltagerField::Startnummer}).size(), Runners + FileAthletes);
            TResultatManager copied;
            copied.LoadOvelse(OvelseManager->FindOvelseInfo("M", "100", "F"));
            EXPECT_EQ(copied.Count(), 8);
        } else if (QFileInfo::exists(folder + "ud.kip")) {
            struct TNamed : TImportStaevneQuestion {
                bool AskStaevneNavn(const TSystemData&, QString& navn) override {
                    navn = QStringLiteral("Prøve");
                    return true;
                }
            } named;
            StaevneManager->ImportStaevne(folder + "ud.kip", 0, named);
            EXPECT_EQ(Stored<TDeltagerTable>({DeltagerField::Startnummer}).size(), Runners + FileAthletes);
        }
        window.close();
        OvelseManager.reset();
        StaevneManager.reset();
    }

    qint32 stID_ = -1;
};

// The child's part: the work over the folder the parent names, stopped at its step or counting them.
TEST_F(KillRun, DISABLED_TheWorkOfAChildProcess) {
    const QString folder = qEnvironmentVariable("ZUNO_KILL_FOLDER");
    ASSERT_FALSE(folder.isEmpty());
    const int stop = qEnvironmentVariableIntValue("ZUNO_KILL_STOP");
    stID_ = qEnvironmentVariableIntValue("ZUNO_KILL_STID");
    if (stop > 0) {
        TStopAtStep seam(stop);
        const RecordManager::ScopedFileSystem scope(seam);
        Work(folder, [](const QString&) {});
        return;
    }
    TCountSteps counter;
    const RecordManager::ScopedFileSystem scope(counter);
    Work(folder,
         [&](const QString& name) { Note(folder, "phase " + name + ' ' + QString::number(counter.Steps)); });
    Note(folder, "steps " + QString::number(counter.Steps));
}

TEST_F(KillRun, KilledAtTenRandomMomentsTheProgramStartsAgainWithEverySavedResultAndNoHalfMeet) {
    // One whole run counts the commit steps of each part.
    QTemporaryDir counted;
    const QString countFolder = counted.path() + u'/';
    CopyFolder(Dir(), countFolder);
    ASSERT_EQ(RunChild(countFolder, 0), 0);
    const QStringList noted = Noted(countFolder);
    std::vector<std::pair<QString, int>> phases;
    int steps = 0;
    for (const QString& line : noted) {
        if (line.startsWith("phase "))
            phases.emplace_back(line.mid(6).section(u' ', 0, -2), line.section(u' ', -1).toInt());
        else if (line.startsWith("steps "))
            steps = line.mid(6).toInt();
    }
    ASSERT_EQ(phases.size(), 5u) << noted.join(u'\n').toStdString();
    ASSERT_TRUE(noted.contains("copied"));
    CheckAfterRestart(countFolder, "the whole run");

    // Two moments in each part, by the seed.
    const unsigned seed = qEnvironmentVariableIsSet("ZUNO_KILL_SEED")
                              ? qEnvironmentVariableIntValue("ZUNO_KILL_SEED")
                              : static_cast<unsigned>(std::random_device{}());
    std::cout << "kill seed: " << seed << " (ZUNO_KILL_SEED=" << seed << " repeats it)" << std::endl;
    RecordProperty("kill_seed", std::to_string(seed));
    std::mt19937 random(seed);
    for (int kill = 0; kill < Kills; ++kill) {
        const std::size_t part = static_cast<std::size_t>(kill) % phases.size();
        const int from = phases[part].second + 1;
        const int to = part + 1 < phases.size() ? phases[part + 1].second : steps;
        const int stop = std::uniform_int_distribution<int>(from, std::max(from, to))(random);
        const QString what = QStringLiteral("killed at step %1 (%2)").arg(stop).arg(phases[part].first);
        std::cout << what.toStdString() << std::endl;
        QTemporaryDir run;
        const QString folder = run.path() + u'/';
        CopyFolder(Dir(), folder);
        EXPECT_EQ(RunChild(folder, stop), -1) << what.toStdString() << " ran to its end";
        CheckAfterRestart(folder, what);
    }
}

} // namespace
