#pragma once
// The program's global state, set at start-up and read across the system.
#include <QString>

#include <memory>

class TStaevneManager;
class TOvelseManager;

// The folder of the executable, with a trailing separator: also the data folder of the 14 record files
// and the meet folders.
extern QString ProgramDir;
// The program's version text; empty until start-up has read it.
extern QString ProgramVersion;
// Announcer mode: nothing is saved.
extern bool SpeakerMode;

// The one meet manager; null until start-up has created it and after it failed. Owned here: resetting
// the pointer frees the manager, and the event manager must go first.
extern std::unique_ptr<TStaevneManager> StaevneManager;
// The one event manager, owned the same way. Defined together with its class.
extern std::unique_ptr<TOvelseManager> OvelseManager;
