#pragma once
// The meets' launchers: the wizard for a new meet, the choose-meet window, rename, delete, export and
// import. The meet manager's failures (a refused name, a damaged transfer file) pass to the caller; the
// dialog is freed in every case.
#include "ui/Launchers.h"
#include "ui/staevne/ValgStaevne2.h"

class QWidget;

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
// What the choose-meet window has the launchers do with its meets: rename, delete, import.
TValgStaevneActions ValgStaevneActions();
// With a meet open: asks for a file name (starting at the meet's folder joined with its name) and
// writes the transfer file there; a file that exists is replaced only when the user confirms. True
// when written.
bool EksporterStaevne(QWidget* owner);
// The open meet's settings window.
void RedigerStaevneData(QWidget* owner);
// Asks for a transfer file in ProgramDir and imports it at level (0 everything; 1 the programme, 2 also
// the clubs, 3 also the participants); the imported meet is open. True when imported.
bool ImporterStaevne(QWidget* owner, int level);
