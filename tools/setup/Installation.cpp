#include "tools/setup/Installation.h"

#include "storage/BtvTransaction.h"

#include "foundation/Exception.h"
#include "foundation/LxDisk.h"
#include "foundation/PathResolver.h"
#include "model/D_DBDef.h"
#include "platform/recordmanager/RecordManager.h"
#include "tools/setup/EventCatalogue.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <array>
#include <optional>

namespace RM = RecordManager;

namespace {

bool Exists(const QString& path) {
    return QFileInfo::exists(ResolvePath(path));
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

void CopyShippedFiles(const QString& programDir, const QString& shippedDir, QStringList& done) {
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
        const QString target = PathJoin(programDir, relative);
        if (Exists(target))
            continue;
        const QString resolved = ResolvePath(target);
        if (!QDir().mkpath(QFileInfo(resolved).path()) ||
            CopyFileTo(sourceDir.filePath(relative), resolved) != 0)
            throw Exception(QStringLiteral("Filen %1 kunne ikke kopieres til %2").arg(relative, programDir));
        done.append(QStringLiteral("Kopieret: %1").arg(relative));
    }
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

    QStringList done;
    for (const TRecordFileDef& recordFile : RecordFileDefs()) {
        if (recordFile.Create(PathJoin(folder, QLatin1String(recordFile.FileName))))
            done.append(QStringLiteral("Oprettet: %1").arg(QLatin1String(recordFile.FileName)));
    }

    std::optional<EventCatalogue> catalogue;
    const auto load = [&]() -> const EventCatalogue& {
        if (!catalogue)
            catalogue = EventCatalogue::Load(ResolvePath(shippedDir));
        return *catalogue;
    };
    FillCatalogue<TOvelseTable>(
        folder, [&]() -> const auto& { return load().Ovelser(); }, FillOvelse, "øvelser", done);
    FillCatalogue<TOvDefTable>(
        folder, [&]() -> const auto& { return load().OvDef(); }, FillOvDef, "attributter", done);

    CopyShippedFiles(folder, shippedDir, done);

    if (!marker.remove())
        throw Exception(QStringLiteral("Markeringsfilen %1 kunne ikke slettes").arg(marker.fileName()));
    return done;
}
