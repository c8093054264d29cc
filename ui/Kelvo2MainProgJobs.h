#pragma once
// The command-line batch jobs: a script starts the program with a job's switch, the main window runs
// the job on the meet chosen at start ("ID=" or the last used meet) and the program ends.
#include <QString>
#include <QStringList>

// A job's switch, what must hold before any job runs, and what it does with the program's parameters.
struct TBatchJob {
    const char* Switch;
    // Raises when the job cannot run with these parameters; null when anything will do.
    void (*Check)(const QStringList& arguments);
    void (*Run)(const QStringList& arguments);
};

// True when a job is asked for: the program then runs without a display and logs its message boxes.
bool IsBatchCommandLine(const QStringList& arguments);
// Runs every job asked for, in their fixed order. First every job's parameters are checked (a meet must
// be open, an XML job needs its file name, "/XML_OVELSE" its round): a fault raises before anything is
// written. A job that fails while it runs raises, and the later ones do not run.
void RunBatchJobs(const QStringList& arguments);

// "/KIP": the open meet's transfer file "_kip_" + "yyyymmdd_hhnnss" + ".kip" in the meet's folder,
// stamped with the model's clock. Raises with no meet open; a file is there only when written whole.
// Returns the file's path.
QString KipJob();

// The value written after a switch; empty when the switch is absent and when it stands without a value
// (a switch never gives its own text as value).
QString SwitchArgument(const QString& switchText, const QStringList& arguments);
// The program's parameters, after the executable's name.
QStringList ProgramParameters();
