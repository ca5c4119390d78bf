#include "window/grid_history.h"

#include "window/grid_model.h"

CellChangeCommand::CellChangeCommand(GridModel* model, std::vector<ot::CellChange> changes,
                                     const QString& text)
    : QUndoCommand(text), model_(model), changes_(std::move(changes)) {}

void CellChangeCommand::redo() {
  ot::ApplyCellChanges(model_->grid(), changes_, false);
  model_->cellsChanged(changes_);
}

void CellChangeCommand::undo() {
  ot::ApplyCellChanges(model_->grid(), changes_, true);
  model_->cellsChanged(changes_);
}

GridReplaceCommand::GridReplaceCommand(GridModel* model, ot::StringGrid before,
                                       ot::StringGrid after, const QString& text)
    : QUndoCommand(text), model_(model), before_(std::move(before)), after_(std::move(after)) {}

void GridReplaceCommand::redo() {
  model_->grid() = after_;
  model_->refresh();
}

void GridReplaceCommand::undo() {
  model_->grid() = before_;
  model_->refresh();
}
