#pragma once
// The events' launchers: the event editor, and its opening again for as long as it asks to be reopened;
// the timing reader of the result grid.
class QWidget;
class TOvelseInfo;
class TResultatManager;

// Shows the event editor modally. Raises when it cannot be opened.
void RedigerOvelser(QWidget* owner);
// The main window's events button: ReopenOvelseEditor is cleared before each showing, and the editor is
// shown again while it set it before closing. Stops when the editor cannot be opened (the reason shown).
void RunOvelseEditor(QWidget* owner);

// The timing reader on a heat of the round loaded in manager (the result grid's double click, when the
// meet reads its timing files directly). True when the user accepted: the heat's rows then hold the
// times, places and wind read, unsaved. Otherwise they are as before. Nothing happens in announcer mode.
bool KoerEltidReader(QWidget* owner, TResultatManager& manager, const TOvelseInfo& info, int heat);
