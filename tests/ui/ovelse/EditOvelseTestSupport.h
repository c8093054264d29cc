#pragma once
// The event editor's tests: the result fixture's meet (class M: 100 m in rounds I and F, long jump, high
// jump, shot put, 4 x 100 m; class K: 100 m) with its rounds placed at chosen times and venues and with
// entries, and the editor opened over it as the launcher opens it.
#include "UiTestSupport.h"
#include "controls/Gui.h"
#include "support/ResultFixture.h"

#include "foundation/controls/Extstrgr.h"
#include "model/D_Globals.h"
#include "model/D_Ovelser.h"
#include "model/D_Result.h"
#include "model/D_Staevne.h"
#include "ui/ovelse/EditOvelse.h"

#include <QComboBox>
#include <QDate>
#include <QTabWidget>
#include <QTime>

#include <memory>

class TEditOvelseTest : public TResultTest {
protected:
    TEditOvelseTest() { ReopenOvelseEditor = false; }

    // Saturday 1 June 2024, the fixture's day.
    static QDate Loerdag() { return QDate(2024, 6, 1); }

    // Puts the round at a time and venue (made when the meet has none of that code).
    void Place(TOvelseInfo& round, const QDate& dato, const QTime& tid, const QString& sted) {
        Ov().AddAfvSted(sted);
        round.OvelseRn().GetField(OvelseRnField::DatoTid)->SetAsFloat(EncodeDateTime(dato, tid));
        round.OvelseRn().GetField(OvelseRnField::Sted)->SetAsString(sted);
        Ov().Save();
        Ov().Reindex();
    }
    // Entries of start numbers first.. first+count-1 in the round (participants made when missing); a
    // heat of 1 seeds them.
    void Enter(const TOvelseInfo& round, qint32 first, int count, qint32 heat = 0, qint32 resultat = 0) {
        for (qint32 nr = first; nr < first + count; ++nr) {
            if (!knownDeltagere_.contains(nr)) {
                AddDeltager(nr, QStringLiteral("Deltager %1").arg(nr), 2000, 1);
                knownDeltagere_.append(nr);
            }
            AddResultat(round, nr,
                        Fields({{ResultatField::Heat, heat}, {ResultatField::Resultat, resultat}}));
        }
    }
    // The editor as its launcher makes it, shown, its posted work done.
    std::unique_ptr<TEditOvelseForm> Open() {
        auto form = std::make_unique<TEditOvelseForm>();
        ShowActive(*form);
        Settle();
        return form;
    }
    // The overview's texts: each row's cells joined by "|", from row 1.
    static QStringList Rows(const TEditOvelseForm& form) {
        QStringList rows;
        const TExtStringGrid& grid = *form.OversigtGrid;
        for (int row = 1; row < grid.RowCount(); ++row) {
            QStringList cells;
            for (int col = 0; col < grid.ColCount(); ++col)
                cells << grid.Cells(col, row);
            rows << cells.join(u'|');
        }
        return rows;
    }
    static QStringList Headers(const TEditOvelseForm& form) {
        QStringList headers;
        for (int col = 0; col < form.OversigtGrid->ColCount(); ++col)
            headers << form.OversigtGrid->Cells(col, 0);
        return headers;
    }
    // Clicks the cell holding the round (it becomes the current cell and the selection).
    static void Click(TEditOvelseForm& form, const TOvelseInfo& round) {
        const auto cell = form.Oversigt().Find(&round);
        ASSERT_TRUE(cell.has_value());
        form.OversigtGrid->GotoCell(cell->first, cell->second, true);
        Settle();
    }
    static void Layout(TEditOvelseForm& form, TOversigtSortering sortering) {
        form.OversigtSortering->setCurrentIndex(int(sortering));
        Settle();
    }
    static TRecordingPresenter& Recorder() { return static_cast<TRecordingPresenter&>(MessagePresenter()); }
    // Each character to whatever has the focus then, as the user types.
    static void TypeKeys(const QString& text) {
        for (const QChar ch : text) {
            QTest::keyClicks(QApplication::focusWidget(), QString(ch));
            Settle();
        }
    }
    static void OpenResultPage(TEditOvelseForm& form, const TOvelseInfo& round) {
        Click(form, round);
        form.OpenOvelsePage();
        Settle();
        ASSERT_EQ(form.PageControl->currentWidget(), form.OvelsePage);
    }
    // Moves to the result grid's cell of the column in the row (from 1), as a click would, and types the
    // text into it; the cell is left by the key when one is given.
    static void TypeCell(TEditOvelseForm& form, TResultColumn kind, int row, const QString& text,
                         int leaveKey = Qt::Key_Down) {
        const int col = form.OvelseGridCol(kind);
        ASSERT_GE(col, 0) << int(kind);
        form.OvelseGrid->setFocus();
        form.OvelseGrid->GotoCell(col, row, true);
        Settle();
        TypeKeys(text);
        if (leaveKey)
            Press(leaveKey);
    }
    static QString Cell(const TEditOvelseForm& form, TResultColumn kind, int row) {
        return form.OvelseGrid->Cells(form.OvelseGridCol(kind), row);
    }
    // The same in the series grid at a column.
    static void TypeSerie(TEditOvelseForm& form, int col, int row, const QString& text, int leaveKey) {
        form.SerieGrid->setFocus();
        form.SerieGrid->GotoCell(col, row, true);
        Settle();
        TypeKeys(text);
        if (leaveKey)
            Press(leaveKey);
    }

private:
    QList<qint32> knownDeltagere_;
};
