#pragma once
// A whole meet driven as an organiser drives it: the main window over a program folder of the test's own,
// its buttons clicked, every dialog answered through its controls (dialogs shown through the runner are
// answered in order, file dialogs from a queue, message boxes recorded), and the record files read back.
#include "controls/Gui.h"
#include "support/Files.h"
#include "support/ProgramFolderFixture.h"
#include "ui/UiTestSupport.h"

#include "foundation/Messages.h"
#include "foundation/controls/Extstrgr.h"
#include "ui/Kelvo2MainProg.h"

#include <QAbstractButton>
#include <QDir>
#include <QProcess>

#include <functional>
#include <memory>

// The main window over a test's program folder, started on first use as the program starts it: shown, its
// start work done. Freed before the fixture's folder goes.
class TStartedMainWindow {
public:
    TKelvo2MainProgForm& Over(const QString& dir) {
        if (!window_) {
            window_ = std::make_unique<TKelvo2MainProgForm>(QStringList(), dir);
            window_->show();
            Settle();
        }
        return *window_;
    }
    // Closed as the user closes it (when it was started), then freed.
    void Close() {
        if (window_)
            window_->close();
        window_.reset();
    }
    void Reset() { window_.reset(); }

private:
    std::unique_ptr<TKelvo2MainProgForm> window_;
};

class TE2eTest : public TProgramFolderTest {
protected:
    ~TE2eTest() override { window_.Reset(); }

    // The main window started over the folder as the program starts it, shown, its start work done.
    TKelvo2MainProgForm& Window() { return window_.Over(Dir()); }
    // The main window closed and freed, the program's managers with it.
    void CloseWindow();

    static TRecordingPresenter& Recorder() { return static_cast<TRecordingPresenter&>(MessagePresenter()); }
    // Clicks the button of the main window after queueing the answer for the dialog it opens; the
    // dialog is shown (not modal) while the answer works in it.
    template <typename Dialog>
    void Through(QAbstractButton* button, std::function<void(Dialog&)> work) {
        dialogs_->Answer<Dialog>([work = std::move(work)](Dialog& dialog) {
            ShowActive(dialog);
            Settle();
            work(dialog);
            return mrNone;
        });
        button->click();
        Settle();
    }

    // Saves a picture of the window where ZUNO_SCREENSHOTS names a folder.
    static void Picture(QWidget& window, const QString& name) {
        const QString folder = qEnvironmentVariable("ZUNO_SCREENSHOTS");
        if (folder.isEmpty())
            return;
        Settle();
        EXPECT_TRUE(window.grab().save(folder + u'/' + name + QStringLiteral(".png"))) << name.toStdString();
    }

    // The lines of a grid's rows from its first row below the fixed ones, cells joined by "|".
    static QStringList GridRows(const TExtStringGrid& grid, std::initializer_list<int> cols);

    TScriptedDialogs dialogs_;
    TScriptedFiles files_;
    TStartedMainWindow window_;
};

// ---- the program itself

// The built program copied into the folder; its path.
QString InstallProgramCopy(const QString& folder);
// Runs the program in its folder with the arguments as a script would (no display: batch jobs only);
// the exit code, -1 when it did not end or crashed; what it wrote on standard error into errors.
int RunProgramCopy(const QString& program, const QStringList& arguments, QString* errors = nullptr);
// The text pdftotext reads from a PDF file, its layout kept; empty when there is none.
QString PdfText(const QString& pdf);
// A port nothing listens on now.
int FreePort();
// The whole answer of a server on this machine to a GET of the target; empty when none came.
QByteArray HttpGet(int port, const QByteArray& target);
