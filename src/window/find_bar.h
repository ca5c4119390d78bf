// The find bar below the pages (Ctrl+F): what to find, what to replace it with, match case,
// whole cell, and the buttons. It only asks; the window searches the active page's grid.
#pragma once

#include <QWidget>

#include "frame/grid_search.h"

class QCheckBox;
class QLineEdit;

class FindBar : public QWidget {
  Q_OBJECT

 public:
  explicit FindBar(QWidget* parent = nullptr);

  QString findText() const;
  QString replaceText() const;
  ot::SearchOptions options() const;
  // Shows the bar and puts the cursor in the find box, its text selected.
  void activate();

 signals:
  void findRequested(bool forward);
  void replaceRequested();
  void replaceAllRequested();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QLineEdit* find_;
  QLineEdit* replace_;
  QCheckBox* matchCase_;
  QCheckBox* wholeCell_;
};
