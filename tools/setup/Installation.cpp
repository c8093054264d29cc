#include "tools/setup/Installation.h"

#include "storage/BtvTransaction.h"

#include "foundation/Exception.h"
#include "foundation/LxDisk.h"
#include "foundation/PathResolver.h"
#include "model/D_DBDef.h"
#include "platform/recordmanager/FileSystem.h"
#include "platform/recordmanager/RecordManager.h"
#include "tools/setup/EventCatalogue.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <optional>
#include <set>

namespace RM = RecordManager;

namespace {

// Where the new files are made before they are put in place, in the program folder itself so that a
// rename puts them there.
const QString StagingFolder = QStringLiteral(".zuno2-setup");

bool Exists(const QString& path) {
    return QFileInfo::exists(ResolvePath(path));
}

// While the files are made aside, the record manager and SQLite leave every sync to the installation,
// which makes them all durable at once before a file is put in place.
class TSyncsLater : public RecordManager::FileSystem {
public:
    int sync(int) override { return 0; }
    bool syncsNow() override { return false; }
};

int OpenForSync(const QString& path) {
    return ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
}

// Everything written to the file system that holds path, in one sync.
void SyncFileSystemOf(const QString& path) {
    const int fd = OpenForSync(path);
    const bool synced = fd >= 0 && ::syncfs(fd) == 0;
    if (fd >= 0)
        ::close(fd);
    if (!synced)
        throw Exception(QStringLiteral("Filerne i %1 kunne ikke skrives til disken").arg(path));
}

// The folder's entries, so that what was renamed into it lasts.
void SyncFolder(const QString& folder) {
    const int fd = OpenForSync(folder);
    const bool synced = fd >= 0 && ::fsync(fd) == 0;
    if (fd >= 0)
        ::close(fd);
    if (!synced)
        throw Exception(QStringLiteral("Mappen %1 kunne ikke skrives til disken").arg(folder));
}

// Fills a catalogue file that holds no records (a new one, or one whose filling a run before did not
// finish) and tells so in done, counting the rows as what.
template <typename Table, typename Rows, typename Fill>
void FillCatalogue(const QString& programDir, Rows rows, Fill fill, const char* what, QStringList& done) {
    Table table;
    table.SetDirectory(programDir);
    TTableWork work(table);
    if (table.GetRecordCount() > 0)
        return;
    const auto& source = rows();
    // All rows or none.
    TBtvTransaction transaction;
    for (const auto& row : source) {
        table.Insert();
        fill(table, row);
        table.Post();
    }
    transaction.Commit();
    work.Done();
    done.append(QStringLiteral("Udfyldt: %1 med %2 %3")
                    .arg(QLatin1String(Table::Def().FileName))
                    .arg(source.size())
                    .arg(QString::fromUtf8(what)));
}

void FillOvelse(TDataTable& t, const OvelseRow& r) {
    t.GetField(OvelseField::Sortkode)->SetAsInteger(r.Sortkode);
    t.GetField(OvelseField::Ovelse)->SetAsString(r.Ovelse);
    t.GetField(OvelseField::Korttekst)->SetAsString(r.Korttekst);
    t.GetField(OvelseField::Langtekst)->SetAsString(r.Langtekst);
    t.GetField(OvelseField::Ovtype)->SetAsInteger(r.Ovtype);
    t.GetField(OvelseField::EltidKorr)->SetAsInteger(r.EltidKorr);
    t.GetField(OvelseField::Vindmaaling)->SetAsInteger(r.Vindmaaling);
    t.GetField(OvelseField::Restype)->SetAsInteger(r.Restype);
    t.GetField(OvelseField::System)->SetAsInteger(r.System);
    t.GetField(OvelseField::Sprog)->SetAsInteger(r.Sprog);
    t.GetField(OvelseField::StartBlok)->SetAsInteger(r.StartBlok);
}

void FillOvDef(TDataTable& t, const OvDefRow& r) {
    t.GetField(OvDefField::Sortkode)->SetAsInteger(r.Sortkode);
    t.GetField(OvDefField::Ovelse)->SetAsString(r.Ovelse);
    t.GetField(OvDefField::Attribut)->SetAsString(r.Attribut);
    t.GetField(OvDefField::Tekst)->SetAsString(r.Tekst);
    t.GetField(OvDefField::System)->SetAsInteger(r.System);
    t.GetField(OvDefField::Sprog)->SetAsInteger(r.Sprog);
}

bool IsCatalogueSource(const QString& relativePath) {
    return relativePath.compare(QLatin1String(EventCatalogue::OvelserFileName), Qt::CaseInsensitive) == 0 ||
           relativePath.compare(QLatin1String(EventCatalogue::OvDefFileName), Qt::CaseInsensitive) == 0;
}

// The tables the build compiles into the program are no files of a program folder.
bool IsBuiltIn(const QString& relativePath) {
    return relativePath.startsWith(QLatin1String("builtin/"), Qt::CaseInsensitive);
}

// A new file with the content and the date of source, left unsynced: the installation syncs it with
// everything else it makes aside.
bool CopyAside(const QString& source, const QString& target) {
    QFile in(source);
    QFile out(target);
    if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return false;
    constexpr qint64 Block = 65536;
    for (QByteArray block = in.read(Block); !block.isEmpty(); block = in.read(Block)) {
        if (out.write(block) != block.size())
            return false;
    }
    return in.error() == QFileDevice::NoError && out.flush() &&
           out.setFileTime(in.fileTime(QFileDevice::FileModificationTime), QFileDevice::FileModificationTime);
}

// The report files earlier installations shipped, by the SHA-256 of their content without carriage
// returns. Their sections lack the column keys the lists lay their rows out by; a file that is one of
// them was never changed by the user and is replaced, any other report file is the user's and stays.
constexpr std::array<const char*, 3> EarlierReportFiles = {
    "5de3052266af82fa376d5c77ce3166992dcc825a3e55a704e7e89a68afcc3194",
    "233ef42a7251cdd2f8e77a3356628e1ecb62e27f5a08ee851dad52e69fd0c049",
    "7e5b598ebabfe3332b5d09381c273c19865c8e774b865f30640aa91301b5e2b0",
};

bool IsReportFile(const QString& relativePath) {
    return relativePath.compare(QLatin1String("ZUNO2.RPT"), Qt::CaseInsensitive) == 0;
}

bool IsEarlierReportFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray digest =
        QCryptographicHash::hash(file.readAll().replace('\r', QByteArray()), QCryptographicHash::Sha256)
            .toHex();
    return std::any_of(EarlierReportFiles.begin(), EarlierReportFiles.end(),
                       [&](const char* earlier) { return digest == earlier; });
}

// Copies the shipped files that programDir lacks into staging, at the same relative paths, and the
// report file over one an earlier installation shipped, under the name it has there.
void CopyShippedFiles(const QString& programDir, const QString& staging, const QString& shippedDir,
                      QStringList& done) {
    const QString source = ResolvePath(shippedDir);
    if (!QFileInfo(source).isDir())
        throw Exception(QStringLiteral("Mappen med installationsfilerne findes ikke: %1").arg(shippedDir));
    const QDir sourceDir(source);
    QDirIterator files(source, QDir::Files | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    QStringList relatives;
    while (files.hasNext())
        relatives.append(sourceDir.relativeFilePath(files.next()));
    relatives.sort();
    for (const QString& relative : relatives) {
        if (IsCatalogueSource(relative) || IsBuiltIn(relative))
            continue;
        QString target = relative;
        bool replaces = false;
        if (Exists(PathJoin(programDir, relative))) {
            const QString existing = ResolvePath(PathJoin(programDir, relative));
            if (!IsReportFile(relative) || !IsEarlierReportFile(existing))
                continue;
            target = QDir(programDir).relativeFilePath(existing);
            replaces = true;
        }
        const QString staged = QDir(staging).filePath(target);
        if (!QDir().mkpath(QFileInfo(staged).path()) || !CopyAside(sourceDir.filePath(relative), staged))
            throw Exception(QStringLiteral("Filen %1 kunne ikke kopieres til %2").arg(relative, programDir));
        done.append(
            (replaces ? QStringLiteral("Erstattet: %1") : QStringLiteral("Kopieret: %1")).arg(target));
    }
}

// Puts every file made in staging in its place in folder; returns the folders that got a new entry.
std::set<QString> PutInPlace(const QString& staging, const QString& folder) {
    std::set<QString> changed;
    const QDir from(staging);
    QDirIterator files(staging, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot,
                       QDirIterator::Subdirectories);
    QStringList relatives;
    while (files.hasNext())
        relatives.append(from.relativeFilePath(files.next()));
    relatives.sort();
    for (const QString& relative : relatives) {
        const QString target = QDir(folder).filePath(relative);
        QString parent = QFileInfo(target).path();
        // A new subfolder is itself a new entry of the folder above it.
        for (QString missing = parent; !QFileInfo::exists(missing); missing = QFileInfo(missing).path())
            changed.insert(QFileInfo(missing).path());
        // rename(2) puts a new file in place, and replaces an old one, in one step.
        if (!QDir().mkpath(parent) || ::rename(QFile::encodeName(from.filePath(relative)).constData(),
                                               QFile::encodeName(target).constData()) != 0)
            throw Exception(QStringLiteral("Filen %1 kunne ikke lægges i %2").arg(relative, folder));
        changed.insert(parent);
    }
    return changed;
}

} // namespace

QStringList InstallProgramFolder(const QString& programDir, const QString& shippedDir) {
    const QString folder = ResolvePath(programDir);
    if (!QDir().mkpath(folder))
        throw Exception(QStringLiteral("Programmappen %1 kunne ikke oprettes").arg(programDir));
    QFile marker(ResolvePath(PathJoin(folder, QLatin1String(InstallationMarker))));
    if (!marker.open(QIODevice::WriteOnly))
        throw Exception(QStringLiteral("Markeringsfilen %1 kunne ikke skrives").arg(marker.fileName()));
    marker.close();

    // What a run cut short made aside was never put in place.
    const QString staging = QDir(folder).filePath(StagingFolder);
    if (QFileInfo::exists(staging) && !RemoveTree(staging))
        throw Exception(QStringLiteral("Mappen %1 kunne ikke fjernes").arg(staging));
    if (!QDir().mkpath(staging))
        throw Exception(QStringLiteral("Mappen %1 kunne ikke oprettes").arg(staging));

    QStringList done;
    std::set<QString> made;
    std::optional<EventCatalogue> catalogue;
    const auto load = [&]() -> const EventCatalogue& {
        if (!catalogue)
            catalogue = EventCatalogue::Load(ResolvePath(shippedDir));
        return *catalogue;
    };
    // A new catalogue file is filled aside, one that is there and empty where it is; each in its turn.
    const auto fillCatalogues = [&](bool aside) {
        const auto mine = [&](const TRecordFileDef& def) {
            return made.contains(QLatin1String(def.FileName)) == aside;
        };
        const QString where = aside ? staging : folder;
        if (mine(TOvelseTable::Def()))
            FillCatalogue<TOvelseTable>(
                where, [&]() -> const auto& { return load().Ovelser(); }, FillOvelse, "øvelser", done);
        if (mine(TOvDefTable::Def()))
            FillCatalogue<TOvDefTable>(
                where, [&]() -> const auto& { return load().OvDef(); }, FillOvDef, "attributter", done);
    };
    {
        // Only what is made aside may leave its syncs for later: a file in place must stay whole.
        TSyncsLater syncsLater;
        const RecordManager::ScopedFileSystem seam(syncsLater);
        for (const TRecordFileDef& recordFile : RecordFileDefs()) {
            const QString name = QLatin1String(recordFile.FileName);
            if (Exists(PathJoin(folder, name)) || !recordFile.Create(QDir(staging).filePath(name)))
                continue;
            made.insert(name);
            done.append(QStringLiteral("Oprettet: %1").arg(name));
        }
        fillCatalogues(true);
    }
    fillCatalogues(false);
    CopyShippedFiles(folder, staging, shippedDir, done);

    // One sync makes the marker and everything made aside last; then each file goes in place whole, and
    // the folders that got one last too, before the marker goes. A complete folder needs none of it.
    const bool changed = !done.isEmpty();
    if (changed) {
        SyncFileSystemOf(staging);
        for (const QString& newEntries : PutInPlace(staging, folder))
            SyncFolder(newEntries);
    }
    RemoveTree(staging);
    if (!marker.remove())
        throw Exception(QStringLiteral("Markeringsfilen %1 kunne ikke slettes").arg(marker.fileName()));
    if (changed)
        SyncFolder(folder);
    return done;
}
