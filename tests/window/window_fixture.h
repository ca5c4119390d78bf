// A shown main window over a scripted port, and the table files the window tests open.
#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLineEdit>
#include <QStatusBar>
#include <QString>
#include <QTabWidget>
#include <QTest>
#include <ostream>
#include <string>

#include "scripted_port.h"
#include "support/support.h"
#include "window/grid_view.h"
#include "window/main_form.h"

// Test failures show a QString as its text.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace wintest {

inline QString U(const char* utf8) { return QString::fromUtf8(utf8); }

// A shown window that talks to a scripted port.
struct Window {
  TMainForm form;
  ScriptedWindowPort port;
  Window() {
    form.setPort(&port);
    form.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&form));
  }
  template <class T>
  T* Find(const char* name) {
    T* w = form.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  QTabWidget* pages() { return Find<QTabWidget>("PageC"); }
  void ShowPage(int page) {
    pages()->setCurrentIndex(page);
    QCoreApplication::processEvents();
  }
  QString StatusMessage() { return form.statusBar()->currentMessage(); }
};

// A 900-byte gate table (100 records of 9 bytes) with the given plain records, written
// scrambled as DIR/Gate.bmd.
inline std::string WriteGate(const ottest::TempDir& dir, const std::string& plain) {
  const std::string path = dir.File("Gate.bmd");
  ottest::WriteFile(path, ottest::Scramble(plain, 0, plain.size(), 9));
  return path;
}

// Presses and releases the mouse over a cell (grid column and row).
inline void Press(GridView* view, int col, int row, Qt::MouseButton button = Qt::LeftButton) {
  const QPoint at = view->cellRect(col, row).center();
  QTest::mousePress(view->viewportOf(col), button, {}, at);
  QTest::mouseRelease(view->viewportOf(col), button, {}, at);
}

// Replaces the text of an edit box as typed.
inline void Type(QLineEdit* edit, const QString& text) {
  edit->setFocus();
  edit->selectAll();
  QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, text, Qt::NoModifier);
}

}  // namespace wintest
