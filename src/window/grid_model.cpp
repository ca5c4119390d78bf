#include "window/grid_model.h"

#include <QApplication>
#include <QColor>
#include <QPalette>

#include "frame/cp936.h"
#include "frame/intconv.h"

namespace {

QString Decode(const std::string& cell) {
  return QString::fromStdString(ot::Cp936ToUtf8Lossy(cell));
}

}  // namespace

GridModel::GridModel(ot::StringGrid* grid, bool editable, QObject* parent)
    : QAbstractTableModel(parent),
      grid_(grid),
      editable_(editable),
      rows_(std::max(0, grid->RowCount() - 1)),
      cols_(grid->ColCount()) {}

int GridModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

int GridModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : cols_;
}

QVariant GridModel::data(const QModelIndex& index, int role) const {
  const int col = index.column();
  const int row = index.row() + 1;
  // A message box shown in the middle of a command repaints before refresh(): cells the
  // core grid no longer has read as empty.
  if (!index.isValid() || !grid_->Contains(col, row)) return {};
  switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
      return Decode(grid_->Cells(col, row));
    case Qt::ToolTipRole:
      if (isBadNumber(col, row))
        return QString::fromStdString(ot::ConversionMessage(grid_->Cells(col, row)));
      if (!toolTip_.isEmpty()) return toolTip_;
      return {};
    case Qt::BackgroundRole:
      if (col == 0) return QApplication::palette().button();
      if (isBadNumber(col, row)) return QColor(0xff, 0xd6, 0xd6);
      return {};
    case Qt::ForegroundRole:
      if (isBadNumber(col, row)) return QColor(0xa0, 0x00, 0x00);
      return {};
    default:
      return {};
  }
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  // A title wider than its column shows whole as the header's tooltip.
  if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
  if (orientation == Qt::Vertical) return section + 1;
  if (!grid_->Contains(section, 0)) return {};
  return Decode(grid_->Cells(section, 0));
}

Qt::ItemFlags GridModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  if (index.column() == 0) return Qt::ItemIsEnabled;
  Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (editable_) f |= Qt::ItemIsEditable;
  return f;
}

bool GridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  const int col = index.column();
  const int row = index.row() + 1;
  if (role != Qt::EditRole || !editable_ || col == 0 || !grid_->Contains(col, row)) return false;
  std::string& cell = grid_->Cells(col, row);
  const QString text = value.toString();
  if (text == Decode(cell)) return true;
  std::optional<std::string> bytes;
  try {
    bytes = ot::TryUtf8ToCp936(text.toStdString());
  } catch (const std::exception&) {
    bytes.reset();
  }
  if (!bytes) {
    emit refused(text);
    return false;
  }
  if (sink_) {
    sink_({{col, row, cell, std::move(*bytes)}});
    return true;
  }
  cell = std::move(*bytes);
  emit dataChanged(index, index);
  return true;
}

void GridModel::cellsChanged(const std::vector<ot::CellChange>& changes) {
  if (changes.empty() || rows_ == 0 || cols_ == 0) return;
  int top = rows_, bottom = -1, left = cols_, right = -1;
  for (const ot::CellChange& c : changes) {
    top = std::min(top, c.Row - 1);
    bottom = std::max(bottom, c.Row - 1);
    left = std::min(left, c.Col);
    right = std::max(right, c.Col);
  }
  top = std::max(top, 0);
  left = std::max(left, 0);
  bottom = std::min(bottom, rows_ - 1);
  right = std::min(right, cols_ - 1);
  if (top <= bottom && left <= right) emit dataChanged(index(top, left), index(bottom, right));
}

void GridModel::setNumberColumns(const std::vector<int>& columns) {
  numberColumns_.assign(static_cast<size_t>(std::max(cols_, grid_->ColCount())), false);
  for (int c : columns)
    if (c > 0 && static_cast<size_t>(c) < numberColumns_.size())
      numberColumns_[static_cast<size_t>(c)] = true;
}

bool GridModel::isNumberColumn(int col) const {
  return col >= 0 && static_cast<size_t>(col) < numberColumns_.size() &&
         numberColumns_[static_cast<size_t>(col)];
}

bool GridModel::isBadNumber(int col, int row) const {
  return row > 0 && isNumberColumn(col) && grid_->Contains(col, row) &&
         !ot::TryStrToInt(grid_->Cells(col, row));
}

void GridModel::refresh() {
  const int rows = std::max(0, grid_->RowCount() - 1);
  const int cols = grid_->ColCount();
  if (rows != rows_ || cols != cols_) {
    beginResetModel();
    rows_ = rows;
    cols_ = cols;
    endResetModel();
    emit reshaped();
    return;
  }
  if (cols_ > 0) emit headerDataChanged(Qt::Horizontal, 0, cols_ - 1);
  if (rows_ > 0 && cols_ > 0) emit dataChanged(index(0, 0), index(rows_ - 1, cols_ - 1));
}
