#pragma once
// The board tests' meet (the result fixture's: class M 100 m in rounds I and F, long jump, high jump, shot
// put, 4 x 100 m; class K 100 m), with results stored straight in the record files and the board file
// written as the editor writes it: under a temporary name, then renamed.
#include "support/ResultFixture.h"

#include "model/D_DBDef.h"
#include "model/D_Ovelser.h"
#include "ui/board/ResultatInfoPages.h"

#include <QFile>
#include <QStringList>

#include <functional>

class TBoardTest : public TResultTest {
protected:
    // Entries of start numbers first.. first+count-1 (participants "Deltager n" made when missing), the
    // result of each from result(n); 0 is none.
    void Results(const TOvelseInfo& round, qint32 first, int count,
                 const std::function<qint32(qint32)>& result, const QString& kode = {}) {
        for (qint32 nr = first; nr < first + count; ++nr) {
            if (!deltagere_.contains(nr)) {
                AddDeltager(nr, QStringLiteral("Deltager %1").arg(nr), 2000, 1);
                deltagere_.append(nr);
            }
            AddResultat(round, nr, [&](TResultatTable& t) {
                t.GetField(ResultatField::Resultat)->SetAsInteger(result(nr));
                t.GetField(ResultatField::ResultatKode)->SetAsString(kode);
            });
        }
    }
    // Board 1's file, its lines ended by CR LF.
    void WriteBoard(const QStringList& lines, const QString& name = QStringLiteral("BOARD1")) {
        QByteArray text;
        for (const QString& line : lines)
            text += line.toLatin1() + "\r\n";
        const QString temporary = Path(name + QStringLiteral(".ny"));
        WriteFile(temporary, text);
        QFile::remove(Path(name));
        ASSERT_TRUE(QFile::rename(temporary, Path(name)));
    }
    // The start numbers of the rows on the screen.
    static QStringList Startnumre(const TBoardScreen& screen) {
        QStringList numbers;
        for (const TBoardRow& row : screen.Rows)
            numbers << row.Startnr;
        return numbers;
    }

private:
    QList<qint32> deltagere_;
};
