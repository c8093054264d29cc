// The scoreboard files: the loaded round as numbered XML documents in a folder that a display program
// reads, and the index file that lists them.
#include "model/D_Result.h"

#include "foundation/LxDisk.h"
#include "foundation/LxString.h"
#include "foundation/PathResolver.h"
#include "model/D_Context.h"
#include "model/D_StaevneSystemData.h"
#include "model/D_XmlData2.h"

#include <QFile>
#include <QFileInfo>

namespace {

const QString ScoreboardPrefix = QStringLiteral("zuno-scoreboard-");
const QString ScoreboardIndex = QStringLiteral("zuno-scoreboard-data.xml");

QString ScoreboardFolder() {
    const QString folder = CurrentSystemData().ScoreboardFilePath;
    return folder.isEmpty() ? ModelContext().ProgramDir : folder;
}

QString ScoreboardPath(const QString& name) {
    return PathJoin(ScoreboardFolder(), name);
}

// The name without its folder, whichever separator the folder ends with.
QString NameOf(const QString& fileName) {
    return fileName.mid(std::max(fileName.lastIndexOf(u'/'), fileName.lastIndexOf(u'\\')) + 1);
}

void WriteIndex(const QStringList& names) {
    TXmlData2 xml;
    QStringList lines;
    xml.MakeXmlFileList(lines, names);
    SaveXmlFile(lines, ScoreboardPath(ScoreboardIndex));
}

} // namespace

void TResultatManager::WriteScoreboardFil(bool oneHeat, qint32 heat) {
    // Three digits at least; a thousandth file still gets a name of its own.
    const QString name = ScoreboardPrefix +
                         QStringLiteral("%1").arg(ScoreboardFiler.size() + 1, 3, 10, QChar(u'0')) +
                         QStringLiteral(".xml");
    TXmlData2 xml;
    QStringList lines;
    xml.MakeXmlOvelse(lines, *this, false, oneHeat ? QStringList{IntStr(heat)} : QStringList());
    SaveXmlFile(lines, ScoreboardPath(name));
    ScoreboardFiler.append(name);
}

void TResultatManager::WriteScoreboardData() {
    WriteIndex(ScoreboardFiler);
}

void TResultatManager::ActivateScoreboardFil(const QString& fileName) {
    const QString source = QFileInfo(fileName).isRelative() && NameOf(fileName) == fileName
                               ? PathJoin(ModelContext().ProgramDir, fileName)
                               : fileName;
    const QString name = NameOf(fileName);
    const int copied = CopyFileTo(source, ScoreboardPath(name));
    // A file of the folder itself is there already.
    if (copied != 0 && copied != CopyErrorSameFile)
        throw Exception(QStringLiteral("Filen ") + fileName + QStringLiteral(" kunne ikke kopieres til ") +
                        ScoreboardFolder());
    WriteIndex({name});
}

void TResultatManager::ClearScoreboardFiler() {
    QStringList kept;
    for (const QString& name : std::as_const(ScoreboardFiler)) {
        const QString path = ResolvePath(ScoreboardPath(name));
        if (QFileInfo::exists(path) && !QFile::remove(path))
            kept.append(name);
    }
    // The numbering starts again whatever could not be deleted.
    ScoreboardFiler.clear();
    if (!kept.isEmpty())
        throw Exception(QStringLiteral("Scoreboard-filerne kunne ikke slettes: ") +
                        kept.join(QStringLiteral(", ")));
}
