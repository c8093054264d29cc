#pragma once
// The main window: a small tool window from which the user works on one meet at a time. It runs the
// start-up, opens the meet named by "ID=" or the last used meet, shows which meet is open and offers one
// toolbar button per dialog. Asked for a batch job, it runs the job right after it first shows and closes.
#include "foundation/controls/RvkForms.h"
#include "model/D_Globals.h"
#include "ui/Kelvo2MainProgJobs.h"

#include <QMainWindow>

#include <functional>
#include <vector>

class QAbstractButton;
class QAction;
class QLabel;
class QPushButton;
class QToolBar;
class QToolButton;

class TKelvo2MainProgForm : public QMainWindow, public TStdFormBehaviour {
    Q_OBJECT
public:
    // arguments: the program's parameters; programDir: the program's folder, where start-up looks.
    explicit TKelvo2MainProgForm(QStringList arguments = ProgramParameters(),
                                 QString programDir = ExecutableDir());
    ~TKelvo2MainProgForm() override;

    QToolBar* const MainToolBar;
    QToolButton* const NytStaevneButton;
    QToolButton* const VaelgStaevneButton;
    QAction* const ToolButton1;
    QToolButton* const StaevneDataButton;
    QToolButton* const KlubberButton;
    QToolButton* const OvelserButton;
    QAction* const ToolButton2;
    QToolButton* const ExportButton;
    QAction* const ToolButton3;
    QToolButton* const RettelserButton;
    QLabel* const StaevneLabel;
    QPushButton* const ImportButton;

    // 0, or 1 when the start-up, the "ID=" of a batch run or a batch job failed.
    int ExitCode() const { return exitCode_; }
    // The errors that stopped the start-up, one per line; empty when it went well.
    const QString& StartupFailure() const { return startupFailure_; }
    bool IsBatch() const { return batch_; }

    // The board number of a first parameter "BOARD" and a digit 1 to 9 (the prefix in any case); else 0.
    static int BoardNumber(const QString& firstParameter);
    // The board asked for by the first parameter, or 0. With a meet open the board is shown until it is
    // ended, and then the window closes; without one the user is told to choose a meet.
    int CheckBoard();
    // Buttons, caption and the meet label after anything that may change the open meet.
    void UpdateView();
    // Whether the button's command may run now: a meet open, announcer mode off, as each needs. A button
    // whose dialog is still to come stays disabled all the same.
    bool IsCommandAllowed(const QAbstractButton* button) const;

signals:
    // The window closed: the program ends.
    void FormClosed();

public slots:
    void NytStaevneClick();
    void VaelgStaevneClick();
    void StaevneDataButtonClick();
    void KlubberButtonClick();
    void OvelserClick();
    void ExportButtonClick();
    void RettelserButtonClick();
    void ImportButtonClick();
    void IndlaesDeltagere();
    void IndlaesRedid();
    // The meet label's double click: the raw record editor.
    void VersionLabelDblClick();
    // The deferred start work: the view, the board check, and the batch jobs asked for.
    void WMStartJobs();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // What a toolbar command needs before it may run.
    enum class TNeeds { Nothing, NoSpeaker, Meet, MeetNoSpeaker };
    struct TCommand {
        QAbstractButton* Button;
        TNeeds Needs;
        bool Built; // false while its dialog is still to come
    };

    void FormShow();
    void SelectStaevne();
    // The main window is off the screen while a launcher's dialog is open.
    void RunHidden(const std::function<void()>& launcher);
    // The meet number "ID=" gives; -1 when it gives none (absent, no value, no number, negative).
    qint32 RequestedStID() const;

    const QStringList arguments_;
    const QString programDir_;
    const bool batch_;
    bool firstShow_ = true;
    // A board ran: the program ends without storing the window's placement, since a board writes nothing.
    bool boardShown_ = false;
    int exitCode_ = 0;
    QString startupFailure_;
    std::vector<TCommand> commands_;
};
