#include "window/grid_view.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QScrollBar>

#include "window/grid_model.h"

namespace {

constexpr int kRowHeight = 21;

void SetUpHeaders(QTableView* view) {
  view->verticalHeader()->hide();
  view->verticalHeader()->setMinimumSectionSize(1);
  view->verticalHeader()->setDefaultSectionSize(kRowHeight);
  view->horizontalHeader()->setMinimumSectionSize(1);
  view->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  view->horizontalHeader()->setHighlightSections(false);
  view->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  view->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  view->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
  view->setWordWrap(false);
}

}  // namespace

GridView::GridView(GridModel* model, ColumnWidths widths, QWidget* parent)
    : QTableView(parent), model_(model), widths_(std::move(widths)), frozen_(new QTableView(this)) {
  setModel(model);
  SetUpHeaders(this);
  horizontalHeader()->setDefaultSectionSize(widths_.rest);
  setCornerButtonEnabled(false);

  frozen_->setObjectName("frozenColumn");
  frozen_->setModel(model);
  frozen_->setSelectionModel(selectionModel());
  frozen_->setFocusPolicy(Qt::NoFocus);
  frozen_->setEditTriggers(NoEditTriggers);
  frozen_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  frozen_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  frozen_->setFrameShape(QFrame::NoFrame);
  SetUpHeaders(frozen_);
  viewport()->stackUnder(frozen_);

  // The frozen column's header is where column 0 is resized; the main header follows it.
  connect(frozen_->horizontalHeader(), &QHeaderView::sectionResized, this,
          [this](int logical, int, int size) {
            if (logical == 0 && columnWidth(0) != size) setColumnWidth(0, size);
          });
  connect(horizontalHeader(), &QHeaderView::sectionResized, this,
          [this](int logical, int, int size) {
            if (logical != 0) return;
            if (frozen_->columnWidth(0) != size) frozen_->setColumnWidth(0, size);
            updateFrozenGeometry();
          });
  connect(frozen_->verticalScrollBar(), &QAbstractSlider::valueChanged, verticalScrollBar(),
          &QAbstractSlider::setValue);
  connect(verticalScrollBar(), &QAbstractSlider::valueChanged, frozen_->verticalScrollBar(),
          &QAbstractSlider::setValue);
  connect(verticalHeader(), &QHeaderView::sectionResized, this,
          [this](int logical, int, int size) { frozen_->setRowHeight(logical, size); });
  connect(model, &GridModel::reshaped, this, &GridView::applyShape);

  viewport()->installEventFilter(this);
  frozen_->viewport()->installEventFilter(this);
  frozen_->viewport()->setMouseTracking(true);
  horizontalHeader()->viewport()->installEventFilter(this);
  frozen_->horizontalHeader()->viewport()->installEventFilter(this);
  applyShape();
  frozen_->show();
}

void GridView::applyShape() {
  const int cols = model_->columnCount();
  for (int c = 0; c < cols; ++c) {
    setColumnWidth(c, widths_(c));
    frozen_->setColumnHidden(c, c != 0);
  }
  if (cols > 0) frozen_->setColumnWidth(0, widths_(0));
  frozen_->setVisible(cols > 0);
  updateFrozenGeometry();
}

void GridView::updateFrozenGeometry() {
  const int vheader = verticalHeader()->isHidden() ? 0 : verticalHeader()->width();
  frozen_->setGeometry(vheader + frameWidth(), frameWidth(), columnWidth(0),
                       viewport()->height() + horizontalHeader()->height());
}

void GridView::resizeEvent(QResizeEvent* event) {
  QTableView::resizeEvent(event);
  updateFrozenGeometry();
}

QModelIndex GridView::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) {
  QModelIndex current = QTableView::moveCursor(cursorAction, modifiers);
  // Keep the new current cell out from under the frozen column.
  const int frozenWidth = frozen_->columnWidth(0);
  if (current.isValid() && current.column() > 0 && visualRect(current).left() < frozenWidth) {
    horizontalScrollBar()->setValue(horizontalScrollBar()->value() + visualRect(current).left() -
                                    frozenWidth);
  }
  return current;
}

void GridView::scrollTo(const QModelIndex& index, ScrollHint hint) {
  if (index.column() > 0) QTableView::scrollTo(index, hint);
}

QRect GridView::cellRect(int col, int row) const {
  const QTableView* view = col == 0 ? frozen_ : this;
  return view->visualRect(model_->index(row - 1, col));
}

QWidget* GridView::viewportOf(int col) const {
  return col == 0 ? frozen_->viewport() : viewport();
}

void GridView::commitEdit() {
  if (state() != EditingState) return;
  if (QWidget* editor = indexWidget(currentIndex())) {
    commitData(editor);
    closeEditor(editor, QAbstractItemDelegate::NoHint);
  }
}

void GridView::showCell(int col, int row) {
  const QModelIndex index = model_->index(row - 1, col);
  if (!index.isValid()) return;
  setCurrentIndex(index);
  scrollTo(index);
}

int GridView::rowBorderAt(int y) const {
  constexpr int kGrip = 3;
  const int row = frozen_->rowAt(y);
  if (row < 0) return -1;
  const int top = frozen_->rowViewportPosition(row);
  if (top + frozen_->rowHeight(row) - y <= kGrip) return row;
  if (y - top <= kGrip && row > 0) return row - 1;
  return -1;
}

bool GridView::resizeRows(QEvent* event) {
  const auto* mouse = static_cast<QMouseEvent*>(event);
  const int y = mouse->position().toPoint().y();
  switch (event->type()) {
    case QEvent::MouseButtonPress:
      if (mouse->button() != Qt::LeftButton) return false;
      resizingRow_ = rowBorderAt(y);
      if (resizingRow_ < 0) return false;
      resizeStartY_ = y;
      resizeStartHeight_ = rowHeight(resizingRow_);
      return true;
    case QEvent::MouseMove:
      if (resizingRow_ >= 0) {
        setRowHeight(resizingRow_, std::max(1, resizeStartHeight_ + y - resizeStartY_));
        return true;
      }
      if (rowBorderAt(y) >= 0)
        frozen_->viewport()->setCursor(Qt::SplitVCursor);
      else
        frozen_->viewport()->unsetCursor();
      return false;
    case QEvent::MouseButtonRelease:
      if (resizingRow_ < 0) return false;
      resizingRow_ = -1;
      return true;
    default:
      return false;
  }
}

bool GridView::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) {
    const QPoint pos = static_cast<QMouseEvent*>(event)->position().toPoint();
    int col = -1;
    int row = -1;
    if (watched == viewport() || watched == frozen_->viewport()) {
      const QTableView* view = watched == viewport() ? this : frozen_;
      const QModelIndex index = view->indexAt(pos);
      if (index.isValid()) {
        col = index.column();
        row = index.row() + 1;
      }
    } else {
      const QHeaderView* header =
          watched == horizontalHeader()->viewport() ? horizontalHeader() : frozen_->horizontalHeader();
      col = header->logicalIndexAt(pos);
      if (col >= 0) row = 0;
    }
    emit cellPressed(col, row);
  }
  if (watched == frozen_->viewport() &&
      (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseMove ||
       event->type() == QEvent::MouseButtonRelease) &&
      resizeRows(event))
    return true;
  return QTableView::eventFilter(watched, event);
}
