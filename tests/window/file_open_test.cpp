// Opening a file from the command line or by dropping it onto the window runs the Open
// command with its dialog answered by that file.
#include "window/file_open.h"

#include <gtest/gtest.h>

#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QTabWidget>
#include <QTest>
#include <QUrl>
#include <deque>

#include "frame/commands.h"
#include "support/support.h"
#include "window_fixture.h"
#include "window/grid_view.h"
#include "window/main_form.h"

namespace {


struct Window : wintest::Window {
  QString Panel1() { return form.findChild<QLabel*>(QStringLiteral("StatusPanel1"))->text(); }
  int Page() { return form.findChild<QTabWidget*>(QStringLiteral("PageC"))->currentIndex(); }
  QString GateEdit() { return form.findChild<QLineEdit*>(QStringLiteral("GateEdit"))->text(); }
  std::vector<QString> GateCells() {
    std::vector<QString> cells;
    QAbstractItemModel* model = form.gridView(ot::kGatePage)->model();
    for (int r = 0; r < model->rowCount(); ++r)
      for (int c = 0; c < model->columnCount(); ++c)
        cells.push_back(model->index(r, c).data().toString());
    return cells;
  }
};

// Sends a drag of URLS onto the window and then, when it was accepted, the drop.
bool DropOnto(TMainForm& form, const QList<QUrl>& urls) {
  QMimeData data;
  data.setUrls(urls);
  const QPoint at = form.rect().center();
  QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&form, &enter);
  if (!enter.isAccepted()) return false;
  QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&form, &drop);
  return drop.isAccepted();
}

struct OpenCase {
  const char* name;
  std::string path;
};

// Whatever the file, opening it by name leaves the window exactly as Open with the dialog
// answered by it does: the same messages, status bar, page and cells, and no dialog.
TEST(FileOpen, ByNameOrDropAsOpenDoes) {
  ottest::TempDir dir;
  const std::string plain = ottest::PatternBytes(900, 5);
  const std::string gate = dir.File("Gate.bmd");
  ottest::WriteFile(gate, ottest::Scramble(plain, 0, plain.size(), 9));
  ottest::WriteFile(dir.File("odd.bmd"), std::string(901, '\0'));
  ottest::WriteFile(dir.File("notes.xyz"), "hello");
  const std::vector<OpenCase> cases = {
      {"gate table", gate},
      {"refused size", dir.File("odd.bmd")},
      {"unknown kind", dir.File("notes.xyz")},
      {"missing file", dir.File("missing/Gate.bmd")},
  };
  for (const OpenCase& c : cases) {
    SCOPED_TRACE(c.name);
    Window byDialog;
    byDialog.port.answers = {c.path};
    byDialog.form.OpenBtnClick();
    ASSERT_EQ(byDialog.port.dialogs.size(), 1u);

    for (bool drop : {false, true}) {
      SCOPED_TRACE(drop ? "dropped" : "by name");
      Window w;
      if (drop) {
        ASSERT_TRUE(DropOnto(w.form, {QUrl::fromLocalFile(QString::fromStdString(c.path))}));
      } else {
        w.form.openFile(QString::fromStdString(c.path));
      }
      EXPECT_TRUE(w.port.dialogs.empty());
      ASSERT_EQ(w.port.messages.size(), byDialog.port.messages.size());
      for (size_t i = 0; i < w.port.messages.size(); ++i) {
        EXPECT_EQ(w.port.messages[i].text, byDialog.port.messages[i].text);
        EXPECT_EQ(w.port.messages[i].caption, byDialog.port.messages[i].caption);
      }
      EXPECT_EQ(w.port.errors, byDialog.port.errors);
      EXPECT_EQ(w.Panel1(), byDialog.Panel1());
      EXPECT_EQ(w.Page(), byDialog.Page());
      EXPECT_EQ(w.GateEdit(), byDialog.GateEdit());
      EXPECT_EQ(w.GateCells(), byDialog.GateCells());

      // The answer is used once: the next Open asks its dialog again.
      w.form.OpenBtnClick();
      EXPECT_EQ(w.port.dialogs, std::vector<ot::FileDialog>{ot::FileDialog::Open});
    }
  }
}

TEST(FileOpen, DropsWithoutALocalFileAreRefused) {
  Window w;
  EXPECT_FALSE(DropOnto(w.form, {QUrl(QStringLiteral("https://example.invalid/Gate.bmd"))}));
  EXPECT_FALSE(DropOnto(w.form, {}));
  EXPECT_TRUE(w.port.messages.empty());
  EXPECT_TRUE(w.port.dialogs.empty());
  EXPECT_EQ(w.Page(), ot::kAboutPage);
}

TEST(FileOpen, FileArgumentOfTheCommandLine) {
  struct Case {
    QStringList args;
    QString file;
  };
  const std::vector<Case> cases = {
      {{"ot-editor"}, ""},
      {{"ot-editor", "Gate.bmd"}, "Gate.bmd"},
      {{"ot-editor", "--screenshots", "shots"}, ""},
      {{"ot-editor", "--screenshots", "shots", "/t/Item.bmd"}, "/t/Item.bmd"},
      {{"ot-editor", "--verbose", "Text.bmd"}, "Text.bmd"},
      {{"ot-editor", "--", "-odd.bmd"}, "-odd.bmd"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(FileArgument(c.args), c.file) << c.args.join(u' ').toStdString();
}

}  // namespace
