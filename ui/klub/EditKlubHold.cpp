#include "ui/klub/EditKlubHold.h"

#include "foundation/Messages.h"
#include "foundation/controls/Extstrgr.h"
#include "model/D_Klub.h"
#include "model/D_Ovelser.h"
#include "ui/klub/EditKlubGrid.h"

#include <QHeaderView>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleOptionHeader>

#include <algorithm>

namespace {

constexpr int MinEventWidth = 30;
constexpr int EventWidthMargin = 6;

// Draws the heading of the grid's current column in red.
class TCurrentColumnStyle : public QProxyStyle {
public:
    explicit TCurrentColumnStyle(const TExtStringGrid& grid)
        : grid_(grid) {}

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
        const auto* header = qstyleoption_cast<const QStyleOptionHeader*>(option);
        if (element == CE_HeaderLabel && header && header->section == grid_.Col() &&
            header->section >= THoldGridRules::FirstEventCol) {
            QStyleOptionHeader marked(*header);
            marked.palette.setColor(QPalette::ButtonText, Qt::red);
            QProxyStyle::drawControl(element, &marked, painter, widget);
            return;
        }
        QProxyStyle::drawControl(element, option, painter, widget);
    }

private:
    const TExtStringGrid& grid_;
};

} // namespace

THoldGridRules::THoldGridRules(TExtStringGrid& grid, TKlubManager& klubber, TOvelseManager& ovelser,
                               const THoldSettings& settings)
    : QObject(&grid)
    , grid_(grid)
    , klubber_(klubber)
    , ovelser_(ovelser)
    , settings_(settings) {
    grid_.EnterKeyMovement = TEnterKeyMovement::ekDownArrow;
    grid_.AutoExtend = true;
    grid_.StartColumnAtNewLine = DeltagerCol;
    grid_.SetOptions(grid_.Options() | TGridOption::goColSizing);
    auto* style = new TCurrentColumnStyle(grid_);
    style->setParent(&grid_);
    grid_.horizontalHeader()->setStyle(style);
    grid_.OnLeaveCell = [this](int col, int row, bool& allow) { LeaveCell(col, row, allow); };
    grid_.OnSelectCell = [this](int col, int row, bool& canSelect) { SelectCell(col, row, canSelect); };
    grid_.BeforeDrawCell = [this](int col, int row, TGridDrawStates, TCellCanvas& canvas) {
        if (col == DeltagerCol && row == grid_.Row()) {
            canvas.Font.setBold(true);
            canvas.FontColor = Qt::red;
        }
    };
}

void THoldGridRules::Fill() {
    const TQuietRules quiet(quiet_);
    columns_ = HoldColumns(ovelser_);
    SetupKlubGrid(grid_, {{u"Nr", 31, false, true, true},
                          {u"Deltager", 131, false, false, false, DeltagerFieldSize::Navn},
                          {u"Årg", 21, false, false, true},
                          {u"Køn", 23, true, false, false, DeltagerFieldSize::Koen}});
    grid_.Columns().BeginUpdate();
    for (const TOvelseInfo* info : columns_) {
        TExtColumn& column = grid_.Columns().Add();
        column.SetText(info->GetOvelseKode());
        column.CharCase = QStringLiteral("U");
        column.SetAlignment(TAlignment::taCenter);
    }
    grid_.Columns().EndUpdate();

    const std::vector<THoldRow> rows = HoldRows(klubber_, ovelser_, settings_, columns_);
    shown_.clear();
    grid_.BeginUpdate();
    grid_.SetRowCount(static_cast<int>(rows.size()) + 1);
    for (int row = 1; row < grid_.RowCount(); ++row)
        grid_.ClearRow(row);
    int row = 1;
    for (const THoldRow& member : rows) {
        Bind(grid_, NrCol, row, member.Deltager);
        if (member.Deltager)
            grid_.SetCells(NrCol, row, member.Deltager->GetTrimmedString(DeltagerField::Startnummer));
        grid_.SetCells(DeltagerCol, row, member.Navn);
        grid_.SetCells(AargCol, row, member.Aargang);
        grid_.SetCells(KoenCol, row, member.Koen);
        for (std::size_t c = 0; c < member.Cells.size(); ++c) {
            const THoldCell& cell = member.Cells[c];
            const int col = FirstEventCol + static_cast<int>(c);
            Bind(grid_, col, row, cell.Resultat);
            grid_.SetCells(col, row, cell.Text);
            if (cell.Resultat)
                shown_[cell.Resultat] = cell.Shown;
        }
        ++row;
    }
    grid_.EndUpdate();
    SizeEventColumns();
    grid_.GotoCell(DeltagerCol, 1, true);
    grid_.CommitCell();
    entered_ = grid_.Cells(DeltagerCol, 1);
    edited_ = false;
}

void THoldGridRules::SizeEventColumns() {
    const QFontMetrics metrics(grid_.font());
    for (int col = FirstEventCol; col < grid_.ColCount(); ++col) {
        int width = metrics.horizontalAdvance(grid_.Cells(col, 0));
        for (int row = 1; row < grid_.RowCount(); ++row)
            width = std::max(width, metrics.horizontalAdvance(grid_.Cells(col, row)));
        grid_.SetColWidths(col, std::max(width + EventWidthMargin, MinEventWidth));
    }
}

std::vector<THoldRow> THoldGridRules::Rows() const {
    std::vector<THoldRow> rows;
    for (int row = 1; row < grid_.RowCount(); ++row) {
        THoldRow member{Bound<TDeltagerElement>(grid_, NrCol, row),
                        grid_.Cells(DeltagerCol, row),
                        grid_.Cells(AargCol, row),
                        grid_.Cells(KoenCol, row),
                        {}};
        for (std::size_t c = 0; c < columns_.size(); ++c) {
            const int col = FirstEventCol + static_cast<int>(c);
            THoldCell cell{columns_[c], Bound<TResultatElement>(grid_, col, row), grid_.Cells(col, row), {}};
            if (const auto shown = shown_.find(cell.Resultat); cell.Resultat && shown != shown_.end())
                cell.Shown = shown->second;
            member.Cells.push_back(cell);
        }
        rows.push_back(std::move(member));
    }
    return rows;
}

void THoldGridRules::Save() {
    const THoldSaveResult saved = SaveHoldturnering(klubber_, settings_, Rows());
    for (std::size_t r = 0; r < saved.NewStartnumre.size(); ++r) {
        if (saved.NewStartnumre[r] > 0)
            grid_.SetCells(NrCol, static_cast<int>(r) + 1, QString::number(saved.NewStartnumre[r]));
    }
    for (const QString& error : saved.Errors)
        ShowError(&grid_, error);
}

bool THoldGridRules::Commit() {
    return grid_.CommitCell();
}

bool THoldGridRules::IsEdited() const {
    return edited_ || grid_.CellModified(grid_.Col());
}

void THoldGridRules::LeaveCell(int col, int row, bool& allow) {
    allow = true;
    if (quiet_ || grid_.Cells(col, row) == entered_)
        return;
    edited_ = true;
    if (col < FirstEventCol)
        return;
    const TOvelseInfo& info = *columns_[static_cast<std::size_t>(col - FirstEventCol)];
    const QString text = CheckHoldCell(settings_, info, grid_.Cells(col, row));
    int filled = 0;
    QStringList column;
    for (int r = 1; r < grid_.RowCount(); ++r)
        column << (r == row ? text : grid_.Cells(col, r));
    for (int c = FirstEventCol; c < grid_.ColCount(); ++c)
        filled += !(c == col ? text : TrimmedCell(grid_, c, row)).isEmpty();
    CheckHoldEvents(settings_, filled);
    grid_.SetCells(col, row, text);
    for (const auto& [other, changed] : HoldColumnChanges(settings_, column, row - 1, entered_, text))
        grid_.SetCells(col, other + 1, changed);
}

void THoldGridRules::SelectCell(int col, int row, bool& canSelect) {
    canSelect = true;
    entered_ = grid_.Cells(col, row);
    // The marks of the current cell move with it once the move is done.
    QMetaObject::invokeMethod(
        this,
        [this] {
            grid_.viewport()->update();
            grid_.horizontalHeader()->viewport()->update();
        },
        Qt::QueuedConnection);
}
