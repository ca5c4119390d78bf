// The table model of one page's grid: reads the core's string grid directly, decodes code
// page 936 only for the cells a view asks for, and encodes what the user types. Row 0 of the
// core grid is the title row (the horizontal header); model row r is core row r + 1. Model
// column c is core column c: column 0 is the number column, shown frozen by GridView.
#pragma once

#include <QAbstractTableModel>
#include <functional>
#include <vector>

#include "frame/cell_change.h"
#include "frame/grid.h"

class GridModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  GridModel(ot::StringGrid* grid, bool editable, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  // Encodes the text in code page 936; text that cannot be encoded is refused (refused() is
  // emitted) and the cell keeps its bytes. Setting the text the cell already shows changes
  // nothing, so an unedited cell keeps bytes that do not decode. With an edit sink the change
  // goes to the sink (the window's undo history), which applies it; else it is written here.
  bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

  using EditSink = std::function<void(std::vector<ot::CellChange>)>;
  void setEditSink(EditSink sink) { sink_ = std::move(sink); }
  // Repaints the cells the changes touched (after they were written to the grid).
  void cellsChanged(const std::vector<ot::CellChange>& changes);

  // The columns whose cells the integer conversion reads on Save: a cell there whose text it
  // rejects is drawn marked, with the conversion's message as tooltip.
  void setNumberColumns(const std::vector<int>& columns);
  bool isNumberColumn(int col) const;
  // Whether core cell (col, row) is a number cell the integer conversion rejects.
  bool isBadNumber(int col, int row) const;

  // Shows the core grid as it stands after a command: resets the model when the grid's size
  // changed (reshaped() follows), else repaints every cell and title.
  void refresh();

  ot::StringGrid& grid() const { return *grid_; }
  bool editable() const { return editable_; }
  // A tooltip shown over every cell (the item grid's "About").
  void setCellToolTip(const QString& tip) { toolTip_ = tip; }

 signals:
  void refused(const QString& text);
  void reshaped();

 private:
  ot::StringGrid* grid_;
  bool editable_;
  QString toolTip_;
  EditSink sink_;
  std::vector<bool> numberColumns_;
  // The shape the views know; the core grid may change behind them until refresh().
  int rows_;
  int cols_;
};
