#include "model/D_Globals.h"

#include "model/D_Staevne.h"

QString ProgramDir;
QString ProgramVersion;
bool SpeakerMode = false;
std::unique_ptr<TStaevneManager> StaevneManager;
