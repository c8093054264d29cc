// The grid's keys: the editor leaves its moving keys to the grid, which moves as data entry wants.
#include "foundation/controls/Extstrgr.h"

#include "foundation/controls/MsgForm.h"
#include "foundation/controls/RvkForms.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScopeGuard>

#include <algorithm>
#include <functional>

namespace {

Qt::KeyboardModifiers Modifiers(const QKeyEvent* event) {
    return event->modifiers() & ~Qt::KeypadModifier;
}

bool IsEnterKey(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

void TExtInplaceEdit::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    const Qt::KeyboardModifiers modifiers = Modifiers(event);
    bool gridKey = false;
    if (modifiers == Qt::NoModifier) {
        const bool allSelected = hasSelectedText() && selectedText().size() == text().size();
        switch (key) {
        case Qt::Key_Left:
            gridKey = allSelected || (!hasSelectedText() && cursorPosition() == 0);
            break;
        case Qt::Key_Right:
            gridKey = allSelected || (!hasSelectedText() && cursorPosition() == text().size());
            break;
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
        case Qt::Key_Insert:
        case Qt::Key_Return:
        case Qt::Key_Enter:
            gridKey = true;
            break;
        default:
            break;
        }
    } else if (modifiers == Qt::ControlModifier && key == Qt::Key_Delete) {
        gridKey = grid_.AutoDelete;
    }
    if (!gridKey) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    if (grid_.GridKey(event))
        event->accept();
    else
        event->ignore(); // on to the grid's own handling through the parent chain
}
// ---- keys

void TExtStringGrid::keyPressEvent(QKeyEvent* event) {
    if (IsRangeSelect() && RangeKey(event)) {
        event->accept();
        return;
    }
    if (GridKey(event)) {
        event->accept();
        return;
    }
    // A character typed while the editor is not shown opens it and takes the place of the text, as in an
    // editor that stood open with its text selected; F2 opens it with the caret at the end. An editor
    // closed by CloseEditor takes no typing until it is opened.
    const QString typed = event->text();
    const bool character =
        typed.size() == 1 && typed.at(0).isPrint() && !(Modifiers(event) & ~Qt::ShiftModifier);
    if (editorClosed_ && character) {
        QApplication::beep();
        event->accept();
        return;
    }
    // A key that reaches the grid while its editor stands open belongs to the editor.
    if (character && editor_->isVisible()) {
        editor_->setFocus(Qt::OtherFocusReason);
        QApplication::sendEvent(editor_, event);
        return;
    }
    if (options_.testFlag(TGridOption::goEditing) && IsDataCell(col_, row_) && IsEditable(col_, row_) &&
        (event->key() == Qt::Key_F2 || character)) {
        editorClosed_ = false;
        PrepareEditor();
        editor_->setText(Cells(col_, row_));
        updateEditorGeometries();
        editor_->show();
        editor_->setFocus(Qt::OtherFocusReason);
        if (event->key() == Qt::Key_F2) {
            editor_->end(false);
        } else {
            editor_->selectAll();
            QApplication::sendEvent(editor_, event);
        }
        return;
    }
    QTableView::keyPressEvent(event);
}

bool TExtStringGrid::RangeKey(QKeyEvent* event) {
    const Qt::KeyboardModifiers modifiers = Modifiers(event);
    if (event->key() == Qt::Key_A && modifiers == Qt::ControlModifier) {
        SelectAll();
        return true;
    }
    if (modifiers != Qt::ShiftModifier)
        return false;
    int col = extentCol_;
    int row = extentRow_;
    switch (event->key()) {
    case Qt::Key_Left:
        --col;
        break;
    case Qt::Key_Right:
        ++col;
        break;
    case Qt::Key_Up:
        --row;
        break;
    case Qt::Key_Down:
        ++row;
        break;
    default:
        return false;
    }
    if (IsDataCell(col, row)) {
        ExtendSelection(col, row);
        scrollTo(ViewIndex(col, row));
    }
    return true;
}

// ---- mouse: with range selection a press places the current cell, a drag or Shift+click the far corner

void TExtStringGrid::mousePressEvent(QMouseEvent* event) {
    dragging_ = false;
    // A click on the current cell opens a closed editor there; on another cell the move does.
    if (editorClosed_ && event->button() == Qt::LeftButton &&
        indexAt(event->position().toPoint()) == ViewIndex(col_, row_)) {
        editorClosed_ = false;
        UpdateEditor();
    }
    if (!IsRangeSelect() || event->button() != Qt::LeftButton) {
        QTableView::mousePressEvent(event);
        return;
    }
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid() && (event->modifiers() & ~Qt::KeypadModifier) == Qt::ShiftModifier) {
        ExtendSelection(index.column(), index.row() + fixedRows_);
        event->accept();
        return;
    }
    QTableView::mousePressEvent(event);
    // Only when the move was allowed does the drag start from the cell pressed, which alone is selected.
    dragging_ = index.isValid() && index.column() == col_ && index.row() + fixedRows_ == row_;
    if (dragging_)
        CollapseSelection();
}

void TExtStringGrid::mouseMoveEvent(QMouseEvent* event) {
    if (!IsRangeSelect()) {
        QTableView::mouseMoveEvent(event);
        return;
    }
    if (!dragging_ || !(event->buttons() & Qt::LeftButton))
        return;
    const auto [col, row] = NearestCell(event->position().toPoint());
    if (!IsDataCell(col, row))
        return;
    ExtendSelection(col, row);
    scrollTo(ViewIndex(col, row));
}

void TExtStringGrid::mouseReleaseEvent(QMouseEvent* event) {
    dragging_ = false;
    QTableView::mouseReleaseEvent(event);
}

void TExtStringGrid::keyboardSearch(const QString&) {
    // typed characters are cell text, never a search
}

void TExtStringGrid::focusInEvent(QFocusEvent* event) {
    QTableView::focusInEvent(event);
    if (event->reason() == Qt::BacktabFocusReason && std::exchange(editorLeftBackwards_, false)) {
        focusNextPrevChild(false);
        return;
    }
    if (editor_->isVisible())
        editor_->setFocus(event->reason());
}

bool TExtStringGrid::GridKey(QKeyEvent* event) {
    if (!options_.testFlag(TGridOption::goEditing))
        return false;
    const int key = event->key();
    const Qt::KeyboardModifiers modifiers = Modifiers(event);
    std::function<void()> action;
    if (key == Qt::Key_Delete && modifiers == Qt::ControlModifier && AutoDelete)
        action = [this] { DeleteCurrentRow(); };
    else if (modifiers != Qt::NoModifier)
        return false;
    else if (key == Qt::Key_Right)
        action = [this] { MoveRight(); };
    else if (key == Qt::Key_Left)
        action = [this] { MoveLeft(); };
    else if (key == Qt::Key_Down)
        action = [this] { MoveDown(); };
    else if (key == Qt::Key_Up)
        action = [this] { MoveUp(); };
    else if (IsEnterKey(key))
        action = [this] { MoveEnter(); };
    else if (key == Qt::Key_Insert && AutoInsert)
        action = [this] { InsertAtCurrent(); };
    else
        return false;
    const int col = col_;
    const int row = row_;
    const int rows = RowCount();
    Guarded(this, [&] {
        action();
        return true;
    });
    if (col != col_ || row != row_ || rows != RowCount())
        TStdFormBehaviour::PostToForm(this, &TStdFormBehaviour::GridMoved);
    return true;
}

bool TExtStringGrid::MoveRight() {
    if (col_ < colCount_ - 1)
        return SelectCell(col_ + 1, row_);
    if (row_ < RowCount() - 1)
        return SelectCell(FirstDataCol(), row_ + 1);
    return MoveDown(); // past the last cell: as Down, which may add a row
}

bool TExtStringGrid::MoveLeft() {
    if (col_ > FirstDataCol())
        return SelectCell(col_ - 1, row_);
    if (row_ <= fixedRows_)
        return false;
    const int left = row_;
    const bool drop = AutoExtend && IsEmptyLastRow(left);
    if (!SelectCell(colCount_ - 1, row_ - 1))
        return false;
    if (drop)
        RemoveRow(left);
    return true;
}

bool TExtStringGrid::MoveDown() {
    if (!(AutoExtend && row_ == RowCount() - 1))
        return row_ < RowCount() - 1 && SelectCell(col_, row_ + 1);
    if (IsRowEmpty(row_))
        return false;
    SetRowCount(RowCount() + 1);
    bool moved = false;
    // A refused move (or a failing event) takes the new row away again.
    const auto undo = qScopeGuard([&] {
        if (!moved)
            SetRowCount(RowCount() - 1);
    });
    moved = SelectCell(std::clamp(StartColumnAtNewLine, FirstDataCol(), colCount_ - 1), RowCount() - 1);
    return moved;
}

bool TExtStringGrid::MoveUp() {
    if (row_ <= fixedRows_)
        return false;
    const int left = row_;
    const bool drop = AutoExtend && IsEmptyLastRow(left);
    if (!SelectCell(col_, row_ - 1))
        return false;
    if (drop)
        RemoveRow(left);
    return true;
}

bool TExtStringGrid::MoveEnter() {
    switch (EnterKeyMovement) {
    case TEnterKeyMovement::ekRightArrow:
        return MoveRight();
    case TEnterKeyMovement::ekDownArrow:
        return MoveDown();
    case TEnterKeyMovement::ekEnter:
        break;
    }
    for (int col = col_ + 1; col < colCount_; ++col) {
        const TExtColumn* column = GetExtColumn(col);
        if (!column || column->Tabulator)
            return SelectCell(col, row_);
    }
    if (row_ < RowCount() - 1)
        return SelectCell(std::clamp(StartColumnAtNewLine, FirstDataCol(), colCount_ - 1), row_ + 1);
    return MoveDown();
}

void TExtStringGrid::InsertAtCurrent() {
    if (!DoLeaveRow(row_) || !DoLeaveCell(col_, row_))
        return;
    InsertRow(row_);
    SetCurrent(std::clamp(StartColumnAtNewLine, FirstDataCol(), colCount_ - 1), row_, true);
    EnterCell(false);
}

void TExtStringGrid::DeleteCurrentRow() {
    const int row = row_;
    if (!DoBeforeDelete(row))
        return;
    RemoveRow(row);
    EnterCell(false);
    DoAfterDelete(row);
}
