#pragma once
// What the launcher routines share. A launcher creates its dialog with the calling window as owner, shows
// it modally, acts on OK and frees it; no dialog is created anywhere else. The launchers come by family,
// one file each (LaunchersStaevne.h the meets'; the events' and the clubs' come with their dialogs);
// here are the file dialogs they ask, the error box of a failed action and the change-notes page.
#include "foundation/Messages.h"
#include "foundation/Replaceable.h"

#include <QString>

#include <functional>
#include <memory>

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
using TScopedFileChooser = TScopedInstall<InstallFileChooser>;

// The transfer files in a file dialog: "*.kip" in any letter case, then every file.
QStringList KipFileFilters();
// The name a transfer file is written under: ".kip" appended unless the name ends in it, in any case.
QString KipFileName(const QString& chosen);

// The open meet's name; empty when no meet is open.
QString CurrentStaevneNavn();

// Runs work; a failure is shown as an error box owned by owner. True when work ran through.
bool RunShowingErrors(QWidget* owner, const std::function<void()>& work);

// Opens the change-notes page ".\zuno2.htm" in the program's folder with the system's handler. False
// when the page could not be handed to one.
bool VisRettelser();
