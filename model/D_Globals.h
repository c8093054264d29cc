#pragma once
// The program's global state and the start-up that prepares the data folder before any window uses it.
#include "model/D_Context.h"

#include <QString>
#include <QStringList>

// The globals by their own names: the members of the model's context (D_Context.h), where a test's
// context guard replaces them too.
// The folder of the executable, with a trailing separator.
extern QString& ProgramDir;
extern QString& ProgramVersion;
extern bool& SpeakerMode;
// The one meet manager; null until start-up has created it and after it failed. Resetting it frees the
// manager, and the event manager must go first.
extern TOwned<TStaevneManager>& StaevneManager;
extern TOwned<TOvelseManager>& OvelseManager;

// Marker files: while one is there an installation or a data conversion is unfinished.
inline constexpr char ConversionMarker[] = "zuno-konvertering";
inline constexpr char InstallMarker[] = "zuno-installation";
// The folder that keeps the older-generation files as they were before a conversion.
inline constexpr char OldDataBackupFolder[] = "_xyz_backup_1";

// The folder of the running executable.
QString ExecutableDir();
// The 14 record files and the report file, in the order start-up checks them.
QStringList DataFileNames();
// The 14 record files alone.
QStringList RecordFileNames();
// The 14 record files of the older generation (".zun"), in the order they are backed up.
QStringList OldDataFileNames();

// Runs CheckStartup on programDir and, when it passes, reads the version and creates the meet manager
// and then the event manager. Both globals stay null when anything failed; the user has been told why.
// True when both exist.
bool InitGlobals(const QString& programDir = ExecutableDir());
// Makes programDir (with a trailing separator) ProgramDir and the current folder; refuses an unfinished
// conversion or installation, a path with a blank and a folder that cannot be written; converts
// older-generation data; checks that the data files exist. True when the program may go on; every refusal has
// been shown.
bool CheckStartup(const QString& programDir = ExecutableDir());
// Converts the older-generation files of ProgramDir, named by the 14 old file names: backs them up,
// copies the rounds file into the current layout, renames the others. The marker stays until every step
// succeeded, so a failure blocks later starts.
bool ConvertOldDataFiles(const QStringList& oldFiles = OldDataFileNames());
// Copies each file into the backup folder, keeping its date; each failure and missing file is shown.
bool BackupOldDataFiles(const QStringList& files);
// Gives each base name's ".zun" file the extension ".zu2"; a file of the new name is never replaced.
bool RenameOldDataFiles(const QStringList& baseNames);
// Shows one message naming every file that is missing ("Systemfejl 1" a line) and that the
// installation program zuno2-setup makes them.
bool CheckDataFilesExist(const QStringList& files);
// Shows one message when ProgramDir, or any of the files given that exists in it, cannot be written.
bool CheckProgramDirWritable(const QStringList& files);
// The version text and the announcer switch ("/SPEAKER" or "/S").
void InitVersionInfo();
// Frees the event manager, then the meet manager, and clears the texts.
void FreeGlobals();
