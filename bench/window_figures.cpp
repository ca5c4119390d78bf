// Window benchmarks: opening the largest item table until its grid has painted, against the
// same window opening a table of one row and against a QTableWidget filled with the cells;
// and the editor's peak memory with that table open against the editor with nothing open.
#include <QApplication>
#include <QElapsedTimer>
#include <QTableWidget>
#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "figures.h"
#include "frame/cp936.h"
#include "window/grid_view.h"
#include "window/main_form.h"
#include "window/qt_port.h"

namespace otbench {
namespace {

class BenchPort : public WindowPort {
 public:
  std::string path;
  std::optional<std::string> ChooseFile(ot::FileDialog) override { return path; }
  void ShowMessage(std::string_view, std::string_view) override {}
  void ShowError(const QString&) override {}
  // The benchmarks make no edits; a question would mean a changed page, which is dropped.
  UnsavedAnswer AskUnsaved(const QString&) override { return UnsavedAnswer::Discard; }
  std::optional<int> AskRow(int, int) override { return std::nullopt; }
};

QApplication& App() {
  static int argc = 1;
  static char name[] = "ot-bench";
  static char* argv[] = {name, nullptr};
  static QApplication* app = QApplication::instance()
                                 ? static_cast<QApplication*>(QApplication::instance())
                                 : new QApplication(argc, argv);
  return *app;
}

// A message file of one entry: the smallest table, one grid row.
std::string OneRowFile() {
  const std::string path = (std::filesystem::temp_directory_path() / "ot-bench-one.wtf").string();
  std::string bytes(28, '\0');
  bytes += std::string{1, 1, 3, 0};
  for (char c : std::string("abc")) bytes += static_cast<char>(c ^ 0x5E);
  std::ofstream(path, std::ios::binary) << bytes;
  return path;
}

// Milliseconds from the Open command to the painted grid of the page it opened.
double OpenUntilPainted(const std::string& file) {
  TMainForm form;
  BenchPort port;
  port.path = file;
  form.setPort(&port);
  form.resize(1200, 800);
  form.show();
  App().processEvents();
  QElapsedTimer timer;
  timer.start();
  form.OpenBtnClick();
  GridView* view = form.gridView(form.state().ActivePageIndex);
  view->viewport()->repaint();
  const double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
  form.setPort(nullptr);
  return ms;
}

// The same cells in a QTableWidget: one item per cell, decoded once, then painted.
double TableWidgetUntilPainted(const std::string& file) {
  ot::TEditorState state;
  BenchPort port;
  port.path = file;
  ot::OpenBtnClick(state, port);
  const ot::StringGrid& grid = state.ItemStrGrid;
  QTableWidget table;
  table.resize(1200, 800);
  table.show();
  App().processEvents();
  QElapsedTimer timer;
  timer.start();
  table.setRowCount(grid.RowCount());
  table.setColumnCount(grid.ColCount());
  for (int r = 0; r < grid.RowCount(); ++r)
    for (int c = 0; c < grid.ColCount(); ++c)
      table.setItem(r, c, new QTableWidgetItem(QString::fromStdString(ot::Cp936ToUtf8Lossy(grid.Cells(c, r)))));
  table.viewport()->repaint();
  return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

double MedianOf(int runs, double (*f)(const std::string&), const std::string& file) {
  std::vector<double> v;
  for (int i = 0; i < runs; ++i) v.push_back(f(file));
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

// Run by a child ot-bench (--editor-memory FILE or "none"): the editor with FILE open and
// painted, then exit, so that the parent reads its peak memory.
int EditorMemoryChild(const char* file) {
  App();
  TMainForm form;
  BenchPort port;
  form.setPort(&port);
  form.resize(1200, 800);
  form.show();
  App().processEvents();
  if (std::strcmp(file, "none") != 0) {
    port.path = file;
    form.OpenBtnClick();
    form.gridView(form.state().ActivePageIndex)->viewport()->repaint();
  }
  App().processEvents();
  form.setPort(nullptr);
  return 0;
}

std::vector<Figure> WindowFigures() {
  App();
  const std::string big = BenchTableFile(688132);
  const std::string one = OneRowFile();
  OpenUntilPainted(big);  // warm-up: fonts, styles, first allocation of the grid
  const double bigMs = MedianOf(5, OpenUntilPainted, big);
  const double oneMs = MedianOf(5, OpenUntilPainted, one);
  const double widgetMs = MedianOf(3, TableWidgetUntilPainted, big);
  std::vector<Figure> figures;
  figures.push_back({"window: open of the Kor 1.02B item table until painted", bigMs, oneMs, 3.0,
                     "ms"});
  figures.push_back({"window: the same open against a filled QTableWidget", bigMs, widgetMs, 0.05,
                     "ms"});
  const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
  std::vector<double> open, none;
  for (int i = 0; i < 3; ++i) {
    open.push_back(PeakMemoryMiB({self, "--editor-memory", big}));
    none.push_back(PeakMemoryMiB({self, "--editor-memory", "none"}));
  }
  std::sort(open.begin(), open.end());
  std::sort(none.begin(), none.end());
  // The target bounds the growth: value - baseline <= 30 MiB, shown as value against
  // baseline + 30 MiB.
  Figure memory{"peak memory of the editor with the Kor 1.02B item table open", open[1],
                none[1] + 30.0, 1.0, "MiB"};
  figures.push_back(memory);
  return figures;
}

}  // namespace otbench
