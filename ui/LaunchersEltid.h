#pragma once
// The timing reader's launcher, opened from the event editor's result grid.
class QWidget;
class TOvelseInfo;
class TResultatManager;

// The timing reader on a heat of the round loaded in manager (the result grid's double click, when the
// meet reads its timing files directly). True when the user accepted: the heat's rows then hold the
// times, places and wind read, unsaved. Otherwise they are as before. Nothing happens in announcer mode.
bool KoerEltidReader(QWidget* owner, TResultatManager& manager, const TOvelseInfo& info, int heat);
