// The undo history of the grids: each page has its own QUndoStack, and every change of a
// grid's cells by the user is one of these commands. Pushing a command applies it.
#pragma once

#include <QUndoCommand>
#include <vector>

#include "frame/cell_change.h"
#include "frame/grid.h"

class GridModel;

// Cells set to new texts: an edit in place, "修正", a paste, a replace, clearing cells.
class CellChangeCommand : public QUndoCommand {
 public:
  CellChangeCommand(GridModel* model, std::vector<ot::CellChange> changes, const QString& text);
  void redo() override;
  void undo() override;
  const std::vector<ot::CellChange>& changes() const { return changes_; }

 private:
  GridModel* model_;
  std::vector<ot::CellChange> changes_;
};

// The whole grid replaced, its shape included: importing a CSV file.
class GridReplaceCommand : public QUndoCommand {
 public:
  GridReplaceCommand(GridModel* model, ot::StringGrid before, ot::StringGrid after,
                     const QString& text);
  void redo() override;
  void undo() override;

 private:
  GridModel* model_;
  ot::StringGrid before_;
  ot::StringGrid after_;
};
