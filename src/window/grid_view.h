// The view of a page's grid: a table view whose number column (column 0) stays in place
// while the other columns scroll, like the fixed column of the original grids. The title row
// is the horizontal header; the number column's title shows in the frozen column's header.
// Mouse presses are reported as core grid cells (column, row), (-1, -1) for no cell. Columns
// are resized by dragging in the title row, rows by dragging in the number column.
#pragma once

#include <QTableView>
#include <vector>

class GridModel;

// Column widths of a grid in pixels: the listed ones first, then `rest` for every other.
struct ColumnWidths {
  std::vector<int> first;
  int rest;
  int operator()(int col) const {
    return col >= 0 && col < static_cast<int>(first.size()) ? first[static_cast<size_t>(col)]
                                                             : rest;
  }
};

class GridView : public QTableView {
  Q_OBJECT

 public:
  GridView(GridModel* model, ColumnWidths widths, QWidget* parent = nullptr);

  GridModel* gridModel() const { return model_; }
  QTableView* frozenView() const { return frozen_; }
  const ColumnWidths& columnWidths() const { return widths_; }
  // The rectangle of core cell (col, row) in the coordinates of the view that shows it
  // (the frozen view for column 0), and that view's viewport.
  QRect cellRect(int col, int row) const;
  QWidget* viewportOf(int col) const;
  // Ends an edit in place, keeping what was typed, so that a command sees it.
  void commitEdit();
  // Makes core cell (col, row) current and scrolls it into view.
  void showCell(int col, int row);

 signals:
  void cellPressed(int col, int row);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
  void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;

 private:
  void applyShape();
  void updateFrozenGeometry();
  // The row whose lower border lies at y in the frozen column (within a few pixels), or -1.
  int rowBorderAt(int y) const;
  bool resizeRows(QEvent* event);

  GridModel* model_;
  ColumnWidths widths_;
  QTableView* frozen_;
  int resizingRow_ = -1;
  int resizeStartY_ = 0;
  int resizeStartHeight_ = 0;
};
