#include "foundation/controls/Tablist.h"

#include "foundation/LxString.h"

#include <QHeaderView>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>

#include <algorithm>
#include <limits>

namespace {

constexpr int DefaultMargin = 2; // a Tabs entry without one
constexpr int HeaderMargin = 4;  // a header column's text keeps this far from its edges

int NumberOrZero(const QString& text) {
    bool ok = false;
    const int value = TrimBlanks(text).toInt(&ok);
    return ok ? value : 0;
}

} // namespace

class TTabListbox::TDelegate : public QStyledItemDelegate {
public:
    explicit TDelegate(TTabListbox& list)
        : QStyledItemDelegate(&list)
        , list_(list) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem background = option;
        initStyleOption(&background, index);
        background.text.clear();
        const QWidget* widget = option.widget;
        QStyle* style = widget ? widget->style() : nullptr;
        if (style)
            style->drawControl(QStyle::CE_ItemViewItem, &background, painter, widget);
        const bool selected = option.state.testFlag(QStyle::State_Selected);
        painter->save();
        painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        const QList<TTabColumn> columns = list_.ColumnLayout(option.rect.width());
        const QStringList texts = ColumnTexts(index.data().toString(), static_cast<int>(columns.size()));
        for (qsizetype i = 0; i < columns.size(); ++i) {
            const TTabColumn& column = columns[i];
            QRect cell(option.rect.left() + column.Left, option.rect.top(), column.Width,
                       option.rect.height());
            if (column.Alignment.testFlag(Qt::AlignRight))
                cell.setRight(cell.right() - column.Margin);
            else if (!column.Alignment.testFlag(Qt::AlignHCenter))
                cell.setLeft(cell.left() + column.Margin);
            painter->setClipRect(QRect(option.rect.left() + column.Left, option.rect.top(), column.Width,
                                       option.rect.height()));
            painter->drawText(cell, static_cast<int>(column.Alignment | Qt::AlignVCenter), texts[i]);
        }
        painter->restore();
    }

private:
    TTabListbox& list_;
};

TTabListbox::TTabListbox(QWidget* parent)
    : QListWidget(parent) {
    setUniformItemSizes(true);
    setItemDelegate(new TDelegate(*this));
    QAbstractItemModel* rows = model();
    connect(rows, &QAbstractItemModel::rowsInserted, this, &TTabListbox::TextsChanged);
    connect(rows, &QAbstractItemModel::rowsRemoved, this, &TTabListbox::TextsChanged);
    connect(rows, &QAbstractItemModel::dataChanged, this, &TTabListbox::TextsChanged);
    connect(rows, &QAbstractItemModel::modelReset, this, &TTabListbox::TextsChanged);
}

TTabListbox::~TTabListbox() {
    // The list's base clears its rows after this part is gone: their removal must not reach it.
    disconnect(model(), nullptr, this, nullptr);
}

void TTabListbox::SetTabs(const QStringList& tabs) {
    tabs_ = tabs;
    TextsChanged();
    viewport()->update();
}

void TTabListbox::TextsChanged() {
    textsWidth_ = -1;
    updateGeometry();
}

int TTabListbox::TextsWidth() const {
    if (header_)
        return 0;
    if (textsWidth_ < 0) {
        const QList<TTabColumn> columns = ColumnLayout(std::numeric_limits<int>::max() / 2);
        const QFontMetrics metrics = fontMetrics();
        int widest = 0;
        for (int row = 0; row < count(); ++row) {
            const QStringList texts = ColumnTexts(item(row)->text(), static_cast<int>(columns.size()));
            for (qsizetype i = 0; i < columns.size(); ++i)
                if (!texts[i].isEmpty())
                    widest = std::max(widest, columns[i].Left + columns[i].Margin +
                                                  metrics.horizontalAdvance(texts[i]) + DefaultMargin);
        }
        textsWidth_ = widest == 0 ? 0 : widest + 2 * frameWidth() + verticalScrollBar()->sizeHint().width();
    }
    return textsWidth_;
}

QSize TTabListbox::sizeHint() const {
    const QSize hint = QListWidget::sizeHint();
    return {std::max(hint.width(), TextsWidth()), hint.height()};
}

QSize TTabListbox::minimumSizeHint() const {
    const QSize hint = QListWidget::minimumSizeHint();
    return {std::max(hint.width(), TextsWidth()), hint.height()};
}

void TTabListbox::SetHeaderControl(QHeaderView* header) {
    if (header_)
        disconnect(header_, nullptr, this, nullptr);
    header_ = header;
    if (header_) {
        const auto repaint = [this] { viewport()->update(); };
        connect(header_, &QHeaderView::sectionResized, this, repaint);
        connect(header_, &QHeaderView::sectionMoved, this, repaint);
    }
    viewport()->update();
}

TTabListbox::TTabColumn TTabListbox::ReadTab(const QString& entry) {
    TTabColumn column;
    const qsizetype comma = entry.indexOf(u',');
    column.Width = NumberOrZero(comma < 0 ? entry : entry.left(comma));
    column.Margin = comma < 0 ? DefaultMargin : NumberOrZero(entry.mid(comma + 1));
    return column;
}

QList<TTabListbox::TTabColumn> TTabListbox::ColumnLayout(int width) const {
    QList<TTabColumn> columns;
    if (header_) {
        for (int visual = 0; visual < header_->count(); ++visual) {
            const int section = header_->logicalIndex(visual);
            if (header_->isSectionHidden(section))
                continue;
            TTabColumn column;
            column.Width = header_->sectionSize(section);
            column.Margin = HeaderMargin;
            const QVariant alignment =
                header_->model()
                    ? header_->model()->headerData(section, header_->orientation(), Qt::TextAlignmentRole)
                    : QVariant();
            column.Alignment =
                (alignment.isValid() ? alignment.value<Qt::Alignment>() : header_->defaultAlignment()) &
                Qt::AlignHorizontal_Mask;
            columns.append(column);
        }
    } else {
        for (const QString& entry : tabs_)
            columns.append(ReadTab(entry));
    }
    if (columns.isEmpty())
        columns.append(TTabColumn{0, width, DefaultMargin, Qt::AlignLeft});
    // One after the other from the left edge, none past the right one.
    int left = 0;
    QList<TTabColumn> placed;
    for (TTabColumn column : columns) {
        if (left >= width)
            break;
        column.Left = left;
        column.Width = std::clamp(column.Width, 0, width - left);
        left += column.Width;
        placed.append(column);
    }
    return placed;
}

QStringList TTabListbox::ColumnTexts(const QString& text, int count) {
    QStringList parts = text.split(u'\t');
    while (parts.size() < count)
        parts.append(QString());
    return parts;
}
