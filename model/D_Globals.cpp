#include "model/D_Globals.h"

#include "foundation/LxDisk.h"
#include "foundation/LxString.h"
#include "foundation/Messages.h"
#include "foundation/PathResolver.h"
#include "model/D_Ovelser.h"
#include "model/D_Staevne.h"
#include "platform/Version.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

QString& ProgramDir = ModelContext().ProgramDir;
QString& ProgramVersion = ModelContext().ProgramVersion;
bool& SpeakerMode = ModelContext().SpeakerMode;
TOwned<TStaevneManager>& StaevneManager = ModelContext().StaevneManager;
TOwned<TOvelseManager>& OvelseManager = ModelContext().OvelseManager;

namespace {

const QString OldRoundsBase = QStringLiteral("ovelsern");

const char* const DataFileBases[] = {"staevne",  "ovelse",  "ovdef",    "klasse",  "ovelserk",
                                     "ovelsern", "afvsted", "betaling", "klubkob", "vare",
                                     "gruppe",   "klub",    "deltager", "resultat"};

// A name in ProgramDir as the file system has it, found without regard to case.
QString InProgramDir(const QString& name) {
    return ResolvePath(PathJoin(ProgramDir, name));
}

bool Exists(const QString& name) {
    return QFileInfo::exists(InProgramDir(name));
}

QString BaseName(const QString& fileName) {
    const qsizetype dot = fileName.lastIndexOf(u'.');
    return dot < 0 ? fileName : fileName.left(dot);
}

// The older rounds file: a shorter record than today's, read only to be copied. Its fields are those
// both generations share, so that it opens whatever its length.
class TOldOvelseRnTable : public TZunoDataTable {
public:
    explicit TOldOvelseRnTable(const QString& fileName)
        : TZunoDataTable(fileName, QStringLiteral("rn"),
                         TOvelseRnTable::Fields().first(OvelseRnField::Runde + 1)) {}
};

bool CreateMarker() {
    QFile marker(InProgramDir(QLatin1String(ConversionMarker)));
    if (marker.open(QIODevice::WriteOnly))
        return true;
    ShowError(nullptr, QStringLiteral("Filen ") + QLatin1String(ConversionMarker) +
                           QStringLiteral(" kunne ikke oprettes, og data kan derfor ikke konverteres"));
    return false;
}

// The rounds file in the current layout; a file already there is never replaced.
bool ConvertRoundsFile(const QString& oldName) {
    const QString newName = OldRoundsBase + QStringLiteral(".zu2");
    const QString failed = QStringLiteral("Systemfejl 6: kunne ikke konvertere filen ") + oldName +
                           QStringLiteral(" til ") + newName;
    if (Exists(newName)) {
        ShowError(nullptr,
                  failed + CrLf + QStringLiteral("Filen ") + newName + QStringLiteral(" findes allerede"));
        return false;
    }
    const QString target = InProgramDir(newName);
    try {
        TOldOvelseRnTable table(oldName);
        table.CopyToNewFile(target, TZunoDataTable::RecordLengthOf(TOvelseRnTable::Fields()));
    } catch (const std::exception& error) {
        // What the copy left behind would block the next attempt.
        QFile::remove(target);
        ShowError(nullptr, failed + CrLf + MessageOf(error));
        return false;
    }
    if (!QFile::remove(InProgramDir(oldName))) {
        ShowError(nullptr, QStringLiteral("Systemfejl 7: kunne ikke slette filen ") + oldName);
        return false;
    }
    return true;
}

} // namespace

QString ExecutableDir() {
    return QCoreApplication::applicationDirPath();
}

QStringList RecordFileNames() {
    QStringList names;
    for (const char* base : DataFileBases)
        names.append(QLatin1String(base) + QStringLiteral(".zu2"));
    return names;
}

QStringList DataFileNames() {
    return RecordFileNames() << QStringLiteral("zuno2.rpt");
}

QStringList OldDataFileNames() {
    QStringList names;
    for (const char* base : DataFileBases)
        names.append(QLatin1String(base) + QStringLiteral(".zun"));
    return names;
}

bool InitGlobals(const QString& programDir) {
    OvelseManager.reset();
    StaevneManager.reset();
    if (!CheckStartup(programDir))
        return false;
    InitVersionInfo();
    try {
        StaevneManager = std::make_unique<TStaevneManager>();
        OvelseManager = std::make_unique<TOvelseManager>();
    } catch (const std::exception& error) {
        OvelseManager.reset();
        StaevneManager.reset();
        ShowError(nullptr, QStringLiteral("Datafilerne kunne ikke åbnes, og ZUNO kan derfor ikke startes") +
                               CrLf + CrLf + MessageOf(error));
        return false;
    }
    return true;
}

bool CheckStartup(const QString& programDir) {
    ProgramDir = ResolvePath(programDir);
    if (!ProgramDir.endsWith(u'/'))
        ProgramDir += u'/';
    QDir::setCurrent(ProgramDir);
    if (Exists(QLatin1String(ConversionMarker))) {
        ShowError(nullptr,
                  QStringLiteral("ZUNO konvertering er ikke tilendebragt korrekt, og ZUNO kan derfor "
                                 "ikke startes"));
        return false;
    }
    if (Exists(QLatin1String(InstallMarker))) {
        ShowError(nullptr,
                  QStringLiteral("ZUNO installation er ikke tilendebragt korrekt, og ZUNO kan derfor "
                                 "ikke startes"));
        return false;
    }
    if (ProgramDir.contains(u' ')) {
        ShowError(nullptr,
                  QStringLiteral("Der må ikke være blanktegn (mellemrum) i stien til ZUNO2.EXE. Sti = ") +
                      u'"' + ProgramDir + u'"');
        return false;
    }
    if (!CheckProgramDirWritable(RecordFileNames()))
        return false;
    if (Exists(OldRoundsBase + QStringLiteral(".zun")) && !ConvertOldDataFiles())
        return false;
    return CheckDataFilesExist(DataFileNames());
}

bool CheckProgramDirWritable(const QStringList& files) {
    // The record manager writes beside every file it opens, and the meets' folders live here.
    QString failed;
    if (!QFileInfo(ProgramDir).isWritable()) {
        failed = QStringLiteral("programmappen \"") + ProgramDir + u'"';
    } else {
        QStringList readOnly;
        for (const QString& file : files) {
            const QFileInfo info(InProgramDir(file));
            if (info.exists() && !info.isWritable())
                readOnly << info.fileName();
        }
        if (!readOnly.isEmpty())
            failed = QStringLiteral("filerne ") + readOnly.join(QStringLiteral(", ")) +
                     QStringLiteral(" i programmappen \"") + ProgramDir + u'"';
    }
    if (failed.isEmpty())
        return true;
    ShowError(nullptr, QStringLiteral("Der kan ikke skrives i ") + failed +
                           QStringLiteral(", og ZUNO kan derfor ikke startes"));
    return false;
}

bool ConvertOldDataFiles(const QStringList& oldFiles) {
    if (!CreateMarker())
        return false;
    if (!BackupOldDataFiles(oldFiles))
        return false;
    QStringList others;
    QString rounds;
    for (const QString& file : oldFiles) {
        if (BaseName(file).compare(OldRoundsBase, Qt::CaseInsensitive) == 0)
            rounds = file;
        else
            others.append(BaseName(file));
    }
    if (rounds.isEmpty() || !ConvertRoundsFile(rounds))
        return false;
    if (!RenameOldDataFiles(others))
        return false;
    if (!QFile::remove(InProgramDir(QLatin1String(ConversionMarker)))) {
        ShowError(nullptr, QStringLiteral("Filen ") + QLatin1String(ConversionMarker) +
                               QStringLiteral(" kunne ikke slettes"));
        return false;
    }
    return true;
}

bool BackupOldDataFiles(const QStringList& files) {
    const QString folder = InProgramDir(QLatin1String(OldDataBackupFolder));
    QDir().mkpath(folder);
    bool ok = true;
    for (const QString& file : files) {
        if (!Exists(file)) {
            ShowError(nullptr,
                      QStringLiteral("Systemfejl 5: filen ") + file + QStringLiteral(" findes ikke"));
            ok = false;
            continue;
        }
        const QString target = PathJoin(folder, file);
        if (CopyFileTo(InProgramDir(file), target) != 0) {
            ShowError(nullptr, QStringLiteral("Systemfejl 4: kunne ikke kopiere filen ") + file +
                                   QStringLiteral(" til ") + ResolvePath(target));
            ok = false;
        }
    }
    return ok;
}

bool RenameOldDataFiles(const QStringList& baseNames) {
    bool ok = true;
    for (const QString& base : baseNames) {
        const QString oldName = base + QStringLiteral(".zun");
        const QString newName = base + QStringLiteral(".zu2");
        if (!Exists(oldName)) {
            ShowError(nullptr,
                      QStringLiteral("Systemfejl 3: filen ") + oldName + QStringLiteral(" findes ikke"));
            ok = false;
            continue;
        }
        const QString source = InProgramDir(oldName);
        // A file of the new name, in any letter case, is current data and stays.
        if (Exists(newName) || !QFile::rename(source, QFileInfo(source).dir().filePath(newName))) {
            ShowError(nullptr, QStringLiteral("Systemfejl 2: kunne ikke omdøbe filen ") + oldName +
                                   QStringLiteral(" til ") + newName);
            ok = false;
        }
    }
    return ok;
}

bool CheckDataFilesExist(const QStringList& files) {
    QStringList missing;
    for (const QString& file : files) {
        if (!Exists(file))
            missing << QStringLiteral("Systemfejl 1: filen ") + file + QStringLiteral(" findes ikke");
    }
    if (missing.isEmpty())
        return true;
    // One box for all of them, with the way out: the installation makes whatever is missing.
    ShowError(nullptr,
              missing.join(CrLf) + CrLf + CrLf +
                  QStringLiteral("Installationsprogrammet zuno2-setup opretter de manglende filer:") + CrLf +
                  QStringLiteral("zuno2-setup \"") + ProgramDir + u'"');
    return false;
}

void InitVersionInfo() {
    ProgramVersion.clear();
    SpeakerMode = HasSwitch(QStringLiteral("/SPEAKER")) || HasSwitch(QStringLiteral("/S"));
    ProgramVersion = Platform::VersionText();
}

void FreeGlobals() {
    OvelseManager.reset();
    StaevneManager.reset();
    ProgramVersion.clear();
    ProgramDir.clear();
}
