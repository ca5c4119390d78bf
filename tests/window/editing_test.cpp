// Editing in the window: undo and redo, find and replace, unsaved changes, marked number
// cells, the clipboard, CSV interchange, go to row and the record view. Every change is
// checked against what the same cell texts give through ot-table apply.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QColor>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QUndoStack>
#include <functional>

#include "frame/commands.h"
#include "support/support.h"
#include "window/find_bar.h"
#include "window/grid_model.h"
#include "window/grid_view.h"
#include "window_fixture.h"

namespace {

using ottest::Gbk;
using wintest::Press;
using wintest::Type;
using wintest::U;
using wintest::Window;
using wintest::WriteGate;

using Cells = std::vector<std::vector<QString>>;

// Every cell the grid view shows, header row first.
Cells Shown(QAbstractItemModel* model) {
  Cells cells(1);
  for (int c = 0; c < model->columnCount(); ++c)
    cells[0].push_back(model->headerData(c, Qt::Horizontal).toString());
  for (int r = 0; r < model->rowCount(); ++r) {
    auto& row = cells.emplace_back();
    for (int c = 0; c < model->columnCount(); ++c) row.push_back(model->index(r, c).data().toString());
  }
  return cells;
}

// The cells as CSV, quoted where RFC 4180 asks for it.
std::string Csv(const Cells& cells) {
  std::string out;
  for (const auto& row : cells) {
    for (size_t c = 0; c < row.size(); ++c) {
      std::string cell = row[c].toStdString();
      if (cell.find_first_of(",\"\r\n") != std::string::npos) {
        std::string quoted = "\"";
        for (char ch : cell) quoted += ch == '"' ? std::string("\"\"") : std::string(1, ch);
        cell = quoted + '"';
      }
      out += (c ? "," : "") + cell;
    }
    out += "\r\n";
  }
  return out;
}

// The file ot-table apply writes from SOURCE and the cells the window shows.
std::string ApplyThroughCli(const ottest::TempDir& dir, const std::string& source, const Cells& cells) {
  ottest::WriteFile(dir.File("cells.csv"), Csv(cells));
  const ottest::CliResult r =
      ottest::RunCli({"apply", source, dir.File("cells.csv"), "-o", dir.File("cli.out")});
  EXPECT_EQ(r.status, 0) << r.err;
  return ottest::FileExists(dir.File("cli.out")) ? ottest::ReadFile(dir.File("cli.out")) : "";
}

// Saves the active page through the window into DIR/window.out and returns the bytes.
std::string SaveThroughWindow(Window& w, const ottest::TempDir& dir) {
  w.port.answers = {dir.File("window.out")};
  w.Find<QAction>("Save1")->trigger();
  EXPECT_TRUE(w.port.errors.empty()) << w.port.errors.front().toStdString();
  return ottest::FileExists(dir.File("window.out")) ? ottest::ReadFile(dir.File("window.out")) : "";
}

// A 450000-byte text table: 1500 records of 300 bytes, record k holding "第k条"; record 0
// holds "abc", its terminator and bytes the grid never shows.
std::string WriteText(const ottest::TempDir& dir) {
  std::string plain(450000, '\0');
  for (int k = 1; k < 1500; ++k) {
    const std::string text = Gbk("第") + std::to_string(k) + Gbk("条");
    plain.replace(size_t(k) * 300, text.size(), text);
  }
  plain.replace(0, 7, std::string("abc\0XYZ", 7));
  const std::string path = dir.File("Text.bmd");
  ottest::WriteFile(path, ottest::Scramble(plain, 0, plain.size(), 300));
  return path;
}

std::string OpenTable(Window& w, const ottest::TempDir& dir, int page) {
  const std::string path =
      page == ot::kTextPage ? WriteText(dir) : WriteGate(dir, ottest::PatternBytes(900, 5));
  w.port.answers = {path};
  w.form.OpenBtnClick();
  EXPECT_TRUE(w.port.messages.empty());
  EXPECT_EQ(w.pages()->currentIndex(), page);
  QCoreApplication::processEvents();
  return path;
}

// Selects the cells from (left, top) to (right, bottom), grid columns and rows.
void Select(GridView* view, int left, int top, int right, int bottom) {
  QAbstractItemModel* model = view->model();
  view->setCurrentIndex(model->index(top - 1, left));
  view->selectionModel()->select(
      QItemSelection(model->index(top - 1, left), model->index(bottom - 1, right)),
      QItemSelectionModel::ClearAndSelect);
}

void SetFind(Window& w, const QString& find, const QString& replace, bool matchCase, bool wholeCell) {
  w.Find<QAction>("Find1")->trigger();
  w.Find<QLineEdit>("FindEdit")->setText(find);
  w.Find<QLineEdit>("ReplaceEdit")->setText(replace);
  w.Find<QCheckBox>("MatchCaseBox")->setChecked(matchCase);
  w.Find<QCheckBox>("WholeCellBox")->setChecked(wholeCell);
}

TEST(Editing, EachChangeIsOneStepThatUndoAndRedoRestoreExactly) {
  struct Case {
    const char* name;
    int page;
    std::function<void(Window&, GridView*)> change;
  };
  const Case cases[] = {
      {"edit in place", ot::kGatePage,
       [](Window&, GridView* view) {
         const QModelIndex cell = view->model()->index(4, 2);
         view->setCurrentIndex(cell);
         view->edit(cell);
         auto* editor = qobject_cast<QLineEdit*>(view->indexWidget(cell));
         ASSERT_NE(editor, nullptr);
         editor->setText("$7F");
         QTest::keyClick(editor, Qt::Key_Return);
         QCoreApplication::processEvents();  // the delegate commits and closes queued
       }},
      {"paste a range", ot::kGatePage,
       [](Window& w, GridView* view) {
         QGuiApplication::clipboard()->setText("1\t2\t3\n4\t5\t6\n");
         Select(view, 8, 10, 8, 10);
         w.Find<QAction>("Paste1")->trigger();
       }},
      {"paste one cell onto a range", ot::kGatePage,
       [](Window& w, GridView* view) {
         QGuiApplication::clipboard()->setText("77");
         Select(view, 2, 20, 4, 23);
         w.Find<QAction>("Paste1")->trigger();
       }},
      {"clear a range", ot::kTextPage,
       [](Window& w, GridView* view) {
         Select(view, 1, 30, 1, 32);
         w.Find<QAction>("Clear1")->trigger();
       }},
      {"replace all", ot::kGatePage,
       [](Window& w, GridView* view) {
         // Every cell that shows the text of the first data cell.
         const QString first = view->model()->index(0, 1).data().toString();
         SetFind(w, first, first == "0" ? "1" : "0", false, true);
         w.Find<QPushButton>("ReplaceAllBtn")->click();
       }},
      {"replace one", ot::kTextPage,
       [](Window& w, GridView* view) {
         view->setCurrentIndex(view->model()->index(0, 1));
         SetFind(w, U("9条"), U("9项"), false, false);
         w.Find<QPushButton>("ReplaceBtn")->click();  // finds the first
         w.Find<QPushButton>("ReplaceBtn")->click();  // replaces it
       }},
      {"correct through the edit box", ot::kTextPage,
       [](Window& w, GridView* view) {
         Press(view, 1, 3);
         Type(w.Find<QLineEdit>("TextEdit"), U("改过的,\"引号\""));
         QTest::mouseClick(w.Find<QPushButton>("TextModBtn"), Qt::LeftButton);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ottest::TempDir dir;
    Window w;
    const std::string source = OpenTable(w, dir, c.page);
    GridView* view = w.form.gridView(c.page);
    QUndoStack* history = w.form.undoStack(c.page);
    const Cells before = Shown(view->model());
    EXPECT_EQ(history->count(), 0);
    EXPECT_FALSE(w.form.isWindowModified());

    c.change(w, view);
    const Cells after = Shown(view->model());
    ASSERT_NE(after, before);
    EXPECT_EQ(history->count(), 1);
    EXPECT_TRUE(w.form.isPageModified(c.page));
    EXPECT_TRUE(w.form.isWindowModified());

    w.Find<QAction>("Undo1")->trigger();
    EXPECT_EQ(Shown(view->model()), before);
    EXPECT_FALSE(w.form.isPageModified(c.page));
    EXPECT_FALSE(w.form.isWindowModified());
    w.Find<QAction>("Redo1")->trigger();
    EXPECT_EQ(Shown(view->model()), after);
    EXPECT_TRUE(w.form.isPageModified(c.page));

    const std::string saved = SaveThroughWindow(w, dir);
    EXPECT_EQ(saved, ApplyThroughCli(dir, source, after));
    EXPECT_NE(saved, ottest::ReadFile(source));
    EXPECT_FALSE(w.form.isPageModified(c.page));
    EXPECT_FALSE(w.form.isWindowModified());
  }
}

TEST(Editing, UnsavedChangesAreAskedAboutBeforeTheyAreLost) {
  enum class Action { Close, Reopen };
  struct Case {
    const char* name;
    Action action;
    UnsavedAnswer answer;
    bool saveDialogAnswered;
    bool gone;          // the window closed, or the file was opened anew
    bool savedFile;     // the changes are in out.bmd
    bool stillChanged;  // the page still has unsaved changes
  };
  const Case cases[] = {
      {"close, save", Action::Close, UnsavedAnswer::Save, true, true, true, false},
      {"close, save dialog cancelled", Action::Close, UnsavedAnswer::Save, false, false, false, true},
      {"close, discard", Action::Close, UnsavedAnswer::Discard, false, true, false, true},
      {"close, cancel", Action::Close, UnsavedAnswer::Cancel, false, false, false, true},
      {"reopen, save", Action::Reopen, UnsavedAnswer::Save, true, true, true, false},
      {"reopen, discard", Action::Reopen, UnsavedAnswer::Discard, false, true, false, false},
      {"reopen, cancel", Action::Reopen, UnsavedAnswer::Cancel, false, false, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ottest::TempDir dir;
    Window w;
    const std::string source = OpenTable(w, dir, ot::kGatePage);
    QAbstractItemModel* model = w.form.gridView(ot::kGatePage)->model();
    ASSERT_TRUE(model->setData(model->index(7, 3), "250"));
    const Cells edited = Shown(model);
    w.port.unsavedAnswers = {c.answer};
    w.port.answers.clear();
    if (c.action == Action::Reopen) w.port.answers.push_back(source);  // the open dialog
    if (c.saveDialogAnswered) w.port.answers.push_back(dir.File("out.bmd"));

    bool gone = false;
    if (c.action == Action::Close) {
      gone = w.form.close();
    } else {
      w.form.OpenBtnClick();
      gone = Shown(model) != edited;
    }
    EXPECT_EQ(w.port.unsavedAsked, std::vector<QString>{U("Gate.bmd")});
    EXPECT_EQ(gone, c.gone);
    EXPECT_EQ(ottest::FileExists(dir.File("out.bmd")), c.savedFile);
    if (c.savedFile) {
      EXPECT_EQ(ottest::ReadFile(dir.File("out.bmd")), ApplyThroughCli(dir, source, edited));
    }
    EXPECT_EQ(w.form.isPageModified(ot::kGatePage), c.stillChanged);
    if (c.stillChanged) {
      EXPECT_EQ(Shown(model), edited);
    }
    EXPECT_TRUE(w.port.errors.empty());
  }

  // A window without changes closes without a question.
  ottest::TempDir dir;
  Window w;
  OpenTable(w, dir, ot::kGatePage);
  EXPECT_TRUE(w.form.close());
  EXPECT_TRUE(w.port.unsavedAsked.empty());
}

TEST(Editing, NumberCellsThatWouldNotConvertAreMarkedAsTyped) {
  ottest::TempDir dir;
  Window w;
  OpenTable(w, dir, ot::kGatePage);
  GridView* view = w.form.gridView(ot::kGatePage);
  QAbstractItemModel* model = view->model();
  const struct {
    const char* typed;
    bool bad;
  } cases[] = {{"abc", true}, {"", true}, {"4294967296", true}, {"12x", true},
               {"$1F", false}, {"300", false}, {"-5", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    const QModelIndex cell = model->index(6, 5);
    view->setCurrentIndex(cell);
    view->edit(cell);
    auto* editor = qobject_cast<QLineEdit*>(view->indexWidget(cell));
    ASSERT_NE(editor, nullptr);
    editor->setText(c.typed);
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();  // the delegate commits and closes queued
    EXPECT_EQ(cell.data().toString(), c.typed);
    if (c.bad) {
      EXPECT_EQ(cell.data(Qt::BackgroundRole).value<QColor>(), QColor(0xff, 0xd6, 0xd6));
      EXPECT_EQ(cell.data(Qt::ForegroundRole).value<QColor>(), QColor(0xa0, 0x00, 0x00));
      EXPECT_EQ(cell.data(Qt::ToolTipRole).toString(),
                QStringLiteral("'%1' is not a valid integer value").arg(c.typed));
    } else {
      EXPECT_FALSE(cell.data(Qt::BackgroundRole).isValid());
      EXPECT_FALSE(cell.data(Qt::ToolTipRole).isValid());
    }
  }
  // The text page's text column holds no numbers: nothing there is marked.
  OpenTable(w, dir, ot::kTextPage);
  QAbstractItemModel* text = w.form.gridView(ot::kTextPage)->model();
  ASSERT_TRUE(text->setData(text->index(2, 1), "abc"));
  EXPECT_FALSE(text->index(2, 1).data(Qt::BackgroundRole).isValid());
}

TEST(Editing, CopiedRangePastedBackLeavesTheGridUnchanged) {
  ottest::TempDir dir;
  Window w;
  OpenTable(w, dir, ot::kTextPage);
  GridView* view = w.form.gridView(ot::kTextPage);
  const Cells before = Shown(view->model());

  Select(view, 1, 1, 1, 3);
  w.Find<QAction>("Copy1")->trigger();
  EXPECT_EQ(QGuiApplication::clipboard()->text(), U("abc\n第1条\n第2条\n"));
  w.Find<QAction>("Paste1")->trigger();
  EXPECT_EQ(Shown(view->model()), before);
  EXPECT_EQ(w.form.undoStack(ot::kTextPage)->count(), 0);
  EXPECT_FALSE(w.form.isPageModified(ot::kTextPage));

  // Pasted elsewhere it lands there, and copying it from there gives the same text.
  Select(view, 1, 100, 1, 100);
  w.Find<QAction>("Paste1")->trigger();
  EXPECT_EQ(view->model()->index(99, 1).data().toString(), "abc");
  EXPECT_EQ(view->model()->index(101, 1).data().toString(), U("第2条"));
  const QString copied = QGuiApplication::clipboard()->text();
  QGuiApplication::clipboard()->clear();
  Select(view, 1, 100, 1, 102);
  w.Find<QAction>("Copy1")->trigger();
  EXPECT_EQ(QGuiApplication::clipboard()->text(), copied);

  // A range that runs past the last row is pasted as far as the grid goes.
  Select(view, 1, 1499, 1, 1499);
  w.Find<QAction>("Paste1")->trigger();
  EXPECT_EQ(view->model()->index(1498, 1).data().toString(), "abc");
  EXPECT_EQ(w.form.undoStack(ot::kTextPage)->count(), 2);
  EXPECT_FALSE(w.StatusMessage().isEmpty());
}

TEST(Editing, CsvExportIsTheDumpAndImportIsOneStep) {
  ottest::TempDir dir;
  Window w;
  const std::string source = OpenTable(w, dir, ot::kGatePage);
  GridView* view = w.form.gridView(ot::kGatePage);
  const Cells opened = Shown(view->model());

  w.port.answers = {dir.File("grid.csv")};
  w.Find<QAction>("ExportCsv1")->trigger();
  EXPECT_EQ(w.port.dialogs.back(), ot::FileDialog::CsvExport);
  const ottest::CliResult dump = ottest::RunCli({"dump", source});
  ASSERT_EQ(dump.status, 0) << dump.err;
  EXPECT_EQ(ottest::ReadFile(dir.File("grid.csv")), dump.out);
  EXPECT_EQ(dump.out, Csv(opened));

  Cells changed = opened;
  changed[3][2] = "200";
  changed[50][9] = "$10";
  ottest::WriteFile(dir.File("changed.csv"), Csv(changed));
  w.port.answers = {dir.File("changed.csv")};
  w.Find<QAction>("ImportCsv1")->trigger();
  EXPECT_EQ(w.port.dialogs.back(), ot::FileDialog::CsvImport);
  EXPECT_TRUE(w.port.errors.empty());
  EXPECT_EQ(Shown(view->model()), changed);
  EXPECT_EQ(w.form.undoStack(ot::kGatePage)->count(), 1);
  EXPECT_EQ(SaveThroughWindow(w, dir), ApplyThroughCli(dir, source, changed));
  w.Find<QAction>("Undo1")->trigger();
  EXPECT_EQ(Shown(view->model()), opened);

  // A grid of another shape is refused as apply refuses it, before any cell changes.
  changed.pop_back();
  ottest::WriteFile(dir.File("short.csv"), Csv(changed));
  w.port.answers = {dir.File("short.csv")};
  w.Find<QAction>("ImportCsv1")->trigger();
  ASSERT_EQ(w.port.errors.size(), 1u);
  const ottest::CliResult apply =
      ottest::RunCli({"apply", source, dir.File("short.csv"), "-o", dir.File("x.bmd")});
  EXPECT_EQ(apply.status, 1);
  EXPECT_FALSE(apply.err.empty());
  EXPECT_EQ(Shown(view->model()), opened);
  EXPECT_EQ(w.form.undoStack(ot::kGatePage)->index(), 0);
}

TEST(Editing, GoToRowAndTheRecordView) {
  ottest::TempDir dir;
  Window w;
  OpenTable(w, dir, ot::kTextPage);
  GridView* view = w.form.gridView(ot::kTextPage);
  const struct {
    std::optional<int> answer;
    int row;  // the current grid row afterwards
  } cases[] = {{42, 42}, {std::nullopt, 42}, {0, 42}, {1501, 42}, {1500, 1500}, {1, 1}};
  for (const auto& c : cases) {
    w.port.rowAnswers = {c.answer};
    w.Find<QAction>("GoToRow1")->trigger();
    EXPECT_EQ(view->currentIndex().row() + 1, c.row) << c.answer.value_or(-1);
  }

  // Row 1's record holds "abc", its terminator and the bytes behind it.
  QAction* recordView = w.Find<QAction>("RecordView1");
  recordView->trigger();
  ASSERT_TRUE(recordView->isChecked());
  QCoreApplication::processEvents();
  const QString first = w.form.recordViewText();
  EXPECT_TRUE(first.contains("0000  61 62 63 00 58 59 5a 00  00 00 00 00 00 00 00 00  |abc.XYZ.........|"))
      << first.toStdString();
  EXPECT_TRUE(w.Find<QPlainTextEdit>("RecordHexView")->isReadOnly());
  Press(view, 1, 3);
  QCoreApplication::processEvents();
  EXPECT_TRUE(w.form.recordViewText().contains(QString::fromStdString(
      "0000  b5 da 32 cc f5 00 00 00  00 00 00 00 00 00 00 00  |..2.............|")))
      << w.form.recordViewText().toStdString();
  EXPECT_TRUE(w.form.recordViewText().contains("\n0120  "));  // all 300 bytes
}

TEST(Editing, FindBarAndTheMessageSearch) {
  ottest::TempDir dir;
  Window w;
  // Message entries: serial, type, length, spare, keyed text.
  std::string wtf = ottest::PatternBytes(28, 9);
  for (const char* text : {"Hello", "help", "world", "HELP", "yelp"}) {
    wtf += std::string{char(1), char(2), char(std::strlen(text)), char(0)};
    wtf += ottest::MessageKeyed(text);
  }
  ottest::WriteFile(dir.File("Message.wtf"), wtf);
  w.port.answers = {dir.File("Message.wtf")};
  w.form.OpenBtnClick();
  ASSERT_EQ(w.pages()->currentIndex(), ot::kMessagePage);
  GridView* view = w.form.gridView(ot::kMessagePage);

  // The message page's own search box and buttons; the search wraps at either end.
  const struct {
    const char* text;
    const char* button;
    int fromRow;
    int row;  // -1: not found, the current cell stays
  } searches[] = {{"hel", "Button1", 1, 2}, {"hel", "Button1", 2, 4}, {"hel", "Button1", 4, 1},
                  {"hel", "Button2", 1, 4}, {"elp", "Button2", 4, 2}, {"xyz", "Button1", 3, 3}};
  for (const auto& s : searches) {
    SCOPED_TRACE(std::string(s.text) + " " + s.button + " " + std::to_string(s.fromRow));
    view->setCurrentIndex(view->model()->index(s.fromRow - 1, 4));
    Type(w.Find<QLineEdit>("WtfSearchEdit"), U(s.text));
    QTest::mouseClick(w.Find<QPushButton>(s.button), Qt::LeftButton);
    EXPECT_EQ(view->currentIndex(), view->model()->index(s.row - 1, 4));
  }

  // The find bar with its options, searching forwards from the current cell.
  const struct {
    const char* text;
    bool matchCase;
    bool wholeCell;
    int row;
  } finds[] = {{"help", false, false, 2}, {"help", true, true, 2}, {"HELP", true, false, 4},
               {"elp", false, true, 1}, {"yelp", false, true, 5}};
  for (const auto& f : finds) {
    SCOPED_TRACE(f.text);
    view->setCurrentIndex(view->model()->index(0, 4));
    SetFind(w, U(f.text), QString(), f.matchCase, f.wholeCell);
    w.Find<QAction>("FindNext1")->trigger();
    EXPECT_EQ(view->currentIndex(), view->model()->index(f.row - 1, 4));
  }
}

TEST(Editing, KeysReachTheEditCommandsOnTheGrid) {
  ottest::TempDir dir;
  Window w;
  OpenTable(w, dir, ot::kTextPage);
  GridView* view = w.form.gridView(ot::kTextPage);
  QAbstractItemModel* model = view->model();
  w.form.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&w.form));
  view->setFocus();
  const Cells opened = Shown(model);

  Select(view, 1, 2, 1, 2);
  QTest::keyClick(view, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), U("第1条\n"));
  Select(view, 1, 5, 1, 5);
  QTest::keyClick(view, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(model->index(4, 1).data().toString(), U("第1条"));
  QTest::keyClick(view, Qt::Key_Delete);
  EXPECT_EQ(model->index(4, 1).data().toString(), "");
  QTest::keyClick(view, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(model->index(4, 1).data().toString(), U("第1条"));
  QTest::keyClick(view, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Shown(model), opened);
  QTest::keyClick(view, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(model->index(4, 1).data().toString(), U("第1条"));

  w.port.rowAnswers = {1200};
  QTest::keyClick(view, Qt::Key_G, Qt::ControlModifier);
  EXPECT_EQ(view->currentIndex(), model->index(1199, 1));
  QTest::keyClick(view, Qt::Key_F, Qt::ControlModifier);
  EXPECT_TRUE(w.form.findBar()->isVisible());
  EXPECT_TRUE(w.Find<QLineEdit>("FindEdit")->hasFocus());
  Type(w.Find<QLineEdit>("FindEdit"), U("第12条"));
  QTest::keyClick(w.Find<QLineEdit>("FindEdit"), Qt::Key_Return);
  EXPECT_EQ(view->currentIndex(), model->index(12, 1));  // wrapped round from row 1200
  QTest::keyClick(w.Find<QLineEdit>("FindEdit"), Qt::Key_Escape);
  EXPECT_FALSE(w.form.findBar()->isVisible());
}

}  // namespace
