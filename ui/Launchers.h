#pragma once
// The launcher routines: each creates its dialog with the calling window as owner, shows it modally, acts
// on OK and frees it. No dialog is created anywhere else. The routines of dialogs still to come (meet
// wizard, meet settings, clubs, event editor, raw record editor) are added with those dialogs.
#include "foundation/Messages.h"

#include <QString>

#include <functional>
#include <memory>
#include <utility>

class QFileDialog;
class QWidget;

// The file dialogs the launchers ask: the window program uses Qt's own, tests answer by script.
class TFileChooser {
public:
    virtual ~TFileChooser();
    // The file to write, or empty on cancel. The dialog asks no overwrite question of its own: the
    // caller asks it for the final name.
    virtual QString SaveFileName(QWidget* owner, const QString& initialName) = 0;
    // An existing file to read from folder, or empty on cancel.
    virtual QString OpenFileName(QWidget* owner, const QString& folder) = 0;
};

// Qt's dialogs, with the transfer-file filter that matches ".kip" in any letter case.
class TQtFileChooser : public TFileChooser {
public:
    enum class TMode { Save, Open };
    // The dialog as the chooser shows it, for a file in folder (or the path of a file to offer).
    static std::unique_ptr<QFileDialog> MakeDialog(QWidget* owner, TMode mode, const QString& path);

    QString SaveFileName(QWidget* owner, const QString& initialName) override;
    QString OpenFileName(QWidget* owner, const QString& folder) override;
};

// The chooser in use; Qt's until another is installed.
TFileChooser& FileChooser();
// Installs chooser (null: Qt's) and hands back the one it replaces.
std::unique_ptr<TFileChooser> InstallFileChooser(std::unique_ptr<TFileChooser> chooser);

// Installs a chooser for its own lifetime and puts the previous one back.
class TScopedFileChooser {
public:
    explicit TScopedFileChooser(std::unique_ptr<TFileChooser> chooser)
        : previous_(InstallFileChooser(std::move(chooser))) {}
    ~TScopedFileChooser() { InstallFileChooser(std::move(previous_)); }
    TScopedFileChooser(const TScopedFileChooser&) = delete;
    TScopedFileChooser& operator=(const TScopedFileChooser&) = delete;

private:
    std::unique_ptr<TFileChooser> previous_;
};

// The transfer files in a file dialog: "*.kip" in any letter case, then every file.
QStringList KipFileFilters();
// The name a transfer file is written under: ".kip" appended unless the name ends in it, in any case.
QString KipFileName(const QString& chosen);

// Runs work; a failure is shown as an error box owned by owner. True when work ran through.
bool RunShowingErrors(QWidget* owner, const std::function<void()>& work);

// The meet manager's failures (a refused name, a damaged transfer file) pass to the caller; the dialog is
// freed in every case.

// The meet at index becomes the current one, the rename dialog asks for the new name, and on OK the
// meet is renamed. Whether it succeeded or failed, the meet that was open before is open again. True
// when renamed.
bool RetStaevne(QWidget* owner, int index);
// The meet at index becomes the current one and the delete dialog asks; on OK it is deleted. A
// cancelled or failed delete leaves the meet that was open before open; after a delete the meet that
// was open before (another one) is open again. True when deleted.
bool SletStaevne(QWidget* owner, int index);
// The meet wizard for a new meet; on OK the new meet, the last of the list, is opened. True on OK.
bool NytStaevne(QWidget* owner);
// The choose-meet window; true on OK (a meet was opened).
bool VaelgStaevne(QWidget* owner);
// With a meet open: asks for a file name (starting at the meet's folder joined with its name) and
// writes the transfer file there; a file that exists is replaced only when the user confirms. True
// when written.
bool EksporterStaevne(QWidget* owner);
// Asks for a transfer file in ProgramDir and imports it at level (0 everything; 1 the programme, 2 also
// the clubs, 3 also the participants); the imported meet is open. True when imported.
bool ImporterStaevne(QWidget* owner, int level);
// Opens the change-notes page ".\zuno2.htm" in the program's folder with the system's handler. False
// when the page could not be handed to one.
bool VisRettelser();
