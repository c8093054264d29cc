#pragma once
// The events' launchers: the event editor, and its opening again for as long as it asks to be reopened.
class QWidget;

// Shows the event editor modally. Raises when it cannot be opened.
void RedigerOvelser(QWidget* owner);
// The main window's events button: ReopenOvelseEditor is cleared before each showing, and the editor is
// shown again while it set it before closing. Stops when the editor cannot be opened (the reason shown).
void RunOvelseEditor(QWidget* owner);
