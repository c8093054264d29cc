#include "model/D_BoardFil.h"

#include "foundation/Exception.h"
#include "foundation/LxDisk.h"
#include "foundation/LxString.h"
#include "model/D_Context.h"
#include "model/D_Ovelser.h"

#include <QSet>

namespace {

constexpr int KlasseWidth = 3;
constexpr int OvelseWidth = BoardKeyLength - KlasseWidth;
const QString TimerLine = QStringLiteral("TIMER");
const QString PictureLine = QStringLiteral("PICTURE,");

QString Fitted(const QString& text, int width) {
    return text.left(width).leftJustified(width, u' ');
}

// What a line of the file names: leading blanks and control characters go, as a hand-written file may
// have them.
QString WithoutLeadingBlanks(QStringView line) {
    qsizetype first = 0;
    while (first < line.size() && line[first] <= u' ')
        ++first;
    return line.mid(first).toString();
}

} // namespace

QString BoardKey(const QString& klasse, const QString& ovelse) {
    return Fitted(klasse.trimmed(), KlasseWidth) + Fitted(ovelse.trimmed(), OvelseWidth);
}

QString BoardKeyOf(const TOvelseInfo& info) {
    return BoardKey(info.GetKlasseKode(), info.GetOvelseKode());
}

TBoardFil ParseBoardFil(const QString& text) {
    TBoardFil fil;
    QSet<QString> seen;
    for (QStringView line : QStringView(text).split(u'\n')) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (line.contains(TimerLine)) {
            fil.Timer = true;
        } else if (line.startsWith(PictureLine)) {
            fil.Pictures << line.mid(PictureLine.size()).toString();
        } else {
            const QString key = WithoutLeadingBlanks(line);
            if (key.isEmpty())
                continue;
            const QString fitted = Fitted(key, BoardKeyLength).toUpper();
            if (!seen.contains(fitted)) {
                seen.insert(fitted);
                fil.Keys << fitted;
            }
        }
    }
    return fil;
}

QString BoardFilPath(const QString& name) {
    return DataDirFile(name);
}

QString BoardFilNavn(int board) {
    return QStringLiteral("BOARD") + QString::number(board);
}

std::vector<TOvelseInfo*> FindBoardOvelser(const TOvelseManager& ovelser, const QStringList& keys) {
    // Each key looked up, never a walk over the meet: a big meet's board file is read again at once.
    std::vector<TOvelseInfo*> found;
    QSet<const TOvelseInfo*> taken;
    for (const QString& key : keys)
        for (TOvelseInfo* info : ovelser.FindKlasseOvelseInfos(key.left(KlasseWidth), key.mid(KlasseWidth)))
            if (BoardKeyOf(*info).toUpper() == key && !taken.contains(info)) {
                taken.insert(info);
                found.push_back(info);
            }
    return found;
}

void WriteBoardFil(const QString& name, const std::vector<const TOvelseInfo*>& ovelser) {
    QStringList keys;
    for (const TOvelseInfo* info : ovelser)
        keys << BoardKeyOf(*info);
    const QString path = BoardFilPath(name);
    QString error;
    if (!WriteTextFileLines(path, keys, &error))
        throw Exception(QStringLiteral("Resultattavlens fil \"") + path +
                        QStringLiteral("\" kunne ikke skrives: ") + error);
}
