#pragma once
// The grid's cells as its view sees them; shared by the grid's own source files only.
#include "foundation/controls/Extstrgr.h"

#include <QAbstractTableModel>

// The cells as the view sees them: data rows only, the fixed row being the heading.
class TExtStringGrid::TModel : public QAbstractTableModel {
public:
    explicit TModel(TExtStringGrid& grid)
        : QAbstractTableModel(&grid)
        , grid_(grid) {}

    int rowCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : grid_.DataRowCount();
    }
    int columnCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : grid_.colCount_;
    }
    QVariant data(const QModelIndex& index, int role) const override {
        const int col = index.column();
        if (role == Qt::DisplayRole)
            return grid_.rows_[static_cast<std::size_t>(index.row() + grid_.fixedRows_)][col].text;
        if (role == Qt::TextAlignmentRole)
            return QVariant::fromValue(CellAlignment(col));
        return {};
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Horizontal || grid_.fixedRows_ == 0 || section >= grid_.colCount_)
            return {};
        if (role == Qt::DisplayRole)
            return grid_.rows_[0][section].text;
        if (role == Qt::TextAlignmentRole)
            return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
        return {};
    }
    Qt::ItemFlags flags(const QModelIndex& index) const override {
        if (index.column() < grid_.fixedCols_)
            return Qt::ItemIsEnabled;
        return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    }
    Qt::Alignment CellAlignment(int col) const {
        const TExtColumn* column = grid_.GetExtColumn(col);
        return HorizontalAlignment(column ? column->Alignment() : TAlignment::taLeftJustify) |
               Qt::AlignVCenter;
    }
    void AllChanged() {
        if (rowCount({}) > 0 && columnCount({}) > 0)
            emit dataChanged(index(0, 0), index(rowCount({}) - 1, columnCount({}) - 1));
        if (columnCount({}) > 0)
            emit headerDataChanged(Qt::Horizontal, 0, columnCount({}) - 1);
    }

    using QAbstractTableModel::beginInsertColumns;
    using QAbstractTableModel::beginInsertRows;
    using QAbstractTableModel::beginRemoveColumns;
    using QAbstractTableModel::beginRemoveRows;
    using QAbstractTableModel::beginResetModel;
    using QAbstractTableModel::endInsertColumns;
    using QAbstractTableModel::endInsertRows;
    using QAbstractTableModel::endRemoveColumns;
    using QAbstractTableModel::endRemoveRows;
    using QAbstractTableModel::endResetModel;

private:
    TExtStringGrid& grid_;
};
