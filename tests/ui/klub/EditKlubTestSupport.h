#pragma once
// The clubs dialog's tests: a meet with a programme (class M: 100 m in rounds I and F, long jump, high
// jump, shot put, 4 x 100 m; class K: 100 m), the dialog shown and driven by keys and clicks, and the
// record files read back.
#include "UiTestSupport.h"
#include "controls/Gui.h"
#include "support/ResultFixture.h"

#include "foundation/controls/Extstrgr.h"
#include "model/D_Globals.h"
#include "model/D_Klub.h"
#include "model/D_Ovelser.h"
#include "model/D_Staevne.h"
#include "ui/klub/EditKlub.h"
#include "ui/klub/EditKlubDeltager.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

#include <memory>

class TEditKlubTest : public TResultTest {
protected:
    using C = TDeltagerGridRules;

    // The dialog on the open meet, shown and active, the focus in the participant grid; on the club of
    // that name when one is given (else on the first in Danish order, where "Aarhus" is last).
    TEditKlubForm& Open(const QString& klub = {}) {
        form_ = std::make_unique<TEditKlubForm>();
        ShowActive(*form_);
        if (!klub.isEmpty()) {
            const QList<QListWidgetItem*> items = form_->KlubberListbox->findItems(klub, Qt::MatchExactly);
            EXPECT_EQ(items.size(), 1) << klub.toStdString();
            if (!items.isEmpty())
                form_->KlubberListbox->setCurrentItem(items.front());
            Settle();
        }
        Focus(*form_->DeltagerGrid);
        return *form_;
    }
    TEditKlubForm& Form() { return *form_; }
    TExtStringGrid& Grid() { return *form_->DeltagerGrid; }

    // The grid's cursor on the cell, the focus in it.
    static void Focus(TExtStringGrid& grid) {
        grid.setFocus();
        Settle();
    }
    static void Goto(TExtStringGrid& grid, int col, int row) {
        Focus(grid);
        grid.GotoCell(col, row, true);
        Settle();
    }
    void Goto(int col, int row) { Goto(Grid(), col, row); }
    // Types the text into the current cell (over what it held), then presses Enter.
    static void Enter(const QString& text) {
        if (auto* edit = qobject_cast<QLineEdit*>(QApplication::focusWidget())) {
            edit->selectAll();
            if (text.isEmpty() && edit->hasSelectedText())
                QTest::keyClick(edit, Qt::Key_Backspace);
        }
        QTest::keyClicks(QApplication::focusWidget(), text);
        Press(Qt::Key_Return);
    }
    // Each text typed into its cell in turn, Enter after each.
    static void EnterAll(const QStringList& texts) {
        for (const QString& text : texts)
            Enter(text);
    }
    QString Cell(int col, int row) { return Grid().Cells(col, row); }
    // The grid's rows, their texts in the given columns joined by "/".
    static QStringList Rows(const TExtStringGrid& grid, std::initializer_list<int> cols) {
        QStringList rows;
        for (int row = grid.FixedRows(); row < grid.RowCount(); ++row) {
            QStringList cells;
            for (const int col : cols)
                cells << grid.Cells(col, row);
            rows << cells.join(u'/');
        }
        return rows;
    }
    QStringList Rows(std::initializer_list<int> cols) { return Rows(Grid(), cols); }
    void Save() {
        form_->GemKlubTool->trigger();
        Settle();
    }

    // ---- The record files
    // "number/name/club" of every participant of the meet, by start number.
    static QStringList StoredDeltagere() {
        return Stored<TDeltagerTable>(
            {DeltagerField::Startnummer, DeltagerField::Navn, DeltagerField::KlubNr});
    }
    // "number/class/event/round" of every result of the meet, by class, event and round.
    static QStringList StoredResultater() {
        return Stored<TResultatTable>(
            {ResultatField::Startnummer, ResultatField::Klasse, ResultatField::Ovelse, ResultatField::Runde});
    }
    static QStringList StoredKlubber() { return Stored<TKlubTable>({KlubField::KlubNr, KlubField::Navn}); }

    std::unique_ptr<TEditKlubForm> form_;
};
