#include "window/main_form.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QWindow>
#include <deque>

#include "frame/commands.h"
#include "frame/cp936.h"
#include "frame/version.h"
#include "support/support.h"
#include "window_fixture.h"
#include "window/grid_model.h"
#include "window/grid_view.h"
#include "window/qt_port.h"

namespace {

using ottest::Gbk;
using wintest::U;
using wintest::Window;
using wintest::Press;
using wintest::Type;
using wintest::WriteGate;
QString Shown(const std::string& cp936) { return QString::fromStdString(ot::Cp936ToUtf8Lossy(cp936)); }

struct GridCase {
  int page;
  const char* sheet;
  const char* caption;
  const char* grid;  // nullptr: the About page
  int cols;
  int rows;
  std::vector<int> widths;  // every column at start
  bool editable;
  bool range;
};

std::vector<int> Widths(std::vector<int> first, int rest, int cols) {
  first.resize(static_cast<size_t>(cols), rest);
  return first;
}

const std::vector<GridCase>& Grids() {
  static const std::vector<GridCase> kGrids = {
      {0, "DiglogPc", "Diglog.bmd", "DialogStrGrid", 19, 201, Widths({35, 372, 65, 92, 62}, 35, 19), true, true},
      {1, "FilterPc", "Filter.bmd", "FilterStrGrid", 2, 50, {35, 579}, true, true},
      {2, "GatePc", "Gate.bmd", "GateStrGrid", 10, 50, Widths({65, 43, 54}, 65, 10), true, true},
      {3, "ItemPc", "Item.bmd", "ItemStrGrid", 46, 50, Widths({35, 72}, 35, 46), true, true},
      {4, "MovereqPc", "Movereq.bmd", "MovereqStrGrid", 7, 50, Widths({}, 80, 7), true, true},
      {5, "SkillPc", "Skill.bmd", "SkillStrGrid", 23, 50, Widths({}, 50, 23), true, false},
      {6, "SlideBmd", "Slide.Bmd", "SlideStrGrid", 4, 50, {35, 46, 45, 485}, false, false},
      {7, "TextPc", "Text.bmd", "TextStrGrid", 2, 50, {35, 579}, true, true},
      {8, "MessageWtf", "Message.Wtf", "WtfStrGrid", 5, 20, {35, 57, 53, 55, 420}, true, true},
      {9, "About", "About", nullptr, 0, 0, {}, false, false},
  };
  return kGrids;
}

TEST(MainForm, PagesAndGridsAtStart) {
  Window w;
  ot::TEditorState& state = w.form.state();
  EXPECT_EQ(w.form.objectName(), "TMainForm");
  // The placeholder marks unsaved changes; without any the caption shows as it is.
  EXPECT_EQ(w.form.windowTitle(), U("Orvel Tarn Client Tools  V0.66.01.18[*]"));
  EXPECT_EQ(w.form.windowHandle()->title(), U("Orvel Tarn Client Tools  V0.66.01.18"));
  QTabWidget* pages = w.pages();
  ASSERT_EQ(pages->count(), 10);
  EXPECT_EQ(pages->currentIndex(), ot::kAboutPage);
  EXPECT_EQ(state.ActivePageIndex, ot::kAboutPage);
  EXPECT_EQ(QString::fromStdString(state.DataDir), QDir::currentPath() + "/data");

  for (const GridCase& g : Grids()) {
    SCOPED_TRACE(g.sheet);
    EXPECT_EQ(pages->widget(g.page)->objectName(), g.sheet);
    EXPECT_EQ(pages->widget(g.page)->accessibleName(), g.sheet);
    EXPECT_EQ(pages->tabText(g.page), g.caption);
    if (!g.grid) continue;
    GridView* view = w.Find<GridView>(g.grid);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view, w.form.gridView(g.page));
    EXPECT_EQ(view->accessibleName(), g.grid);
    EXPECT_TRUE(pages->widget(g.page)->isAncestorOf(view));
    const ot::StringGrid& grid = *state.GridOfPage(g.page);
    QAbstractItemModel* model = view->model();
    EXPECT_EQ(model->columnCount(), g.cols);
    EXPECT_EQ(model->rowCount(), g.rows - 1);  // the title row is the header
    // Every title, the number column's included, shows as the core grid holds it.
    for (int c = 0; c < g.cols; ++c) {
      EXPECT_EQ(model->headerData(c, Qt::Horizontal).toString(), Shown(grid.Cells(c, 0))) << c;
      EXPECT_EQ(view->columnWidth(c), g.widths[static_cast<size_t>(c)]) << c;
    }
    EXPECT_FALSE(view->frozenView()->isColumnHidden(0));
    EXPECT_EQ(view->frozenView()->columnWidth(0), g.widths[0]);
    EXPECT_EQ(view->rowHeight(0), 21);
    EXPECT_FALSE(model->flags(model->index(0, 0)) & Qt::ItemIsEditable);
    EXPECT_EQ(bool(model->flags(model->index(0, 1)) & Qt::ItemIsEditable), g.editable);
    EXPECT_EQ(view->selectionMode(), g.range ? QAbstractItemView::ExtendedSelection
                                             : QAbstractItemView::SingleSelection);
    EXPECT_EQ(view->tabKeyNavigation(), g.page == ot::kSkillPage);
  }
  // The gate table is always there; its titles are the ones its page starts with.
  const char* gateTitles[] = {"编号", "标记", "地图号", "范围坐标X1", "范围坐标Y1",
                              "范围坐标X2", "范围坐标Y2", "目标门号", "方向", "等级限制"};
  for (int c = 0; c < 10; ++c)
    EXPECT_EQ(w.form.gridView(ot::kGatePage)->model()->headerData(c, Qt::Horizontal).toString(),
              U(gateTitles[c]));
  EXPECT_EQ(w.form.gridView(ot::kItemPage)->toolTip(), "About");
  EXPECT_EQ(w.form.gridView(ot::kItemPage)->model()->index(3, 4).data(Qt::ToolTipRole), "About");
}

TEST(MainForm, EditBoxesAndButtonsAtStart) {
  Window w;
  ot::TEditorState& state = w.form.state();
  for (const char* name : {"DialogEdit", "FilterCrcOldEdit", "FilterCrcNewEdit", "GateEdit",
                           "ItemEdit", "MovereqEdit", "SkillEdit", "SlideEdit", "TextEdit",
                           "WtfSnEdit", "WtfSearchEdit"}) {
    SCOPED_TRACE(name);
    QLineEdit* edit = w.Find<QLineEdit>(name);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->accessibleName(), name);
    EXPECT_EQ(edit->text(), Shown(*state.EditBox(name)));
    EXPECT_EQ(edit->isReadOnly(), std::string_view(name) == "FilterCrcOldEdit");
  }
  // The notes of the tables whose units are there.
  const struct {
    int page;
    const char* edit;
    const char* note;
  } notes[] = {{ot::kSkillPage, "SkillEdit", "支持版本 99B+,1.X"},
               {ot::kGatePage, "GateEdit", "支持版本:97->1.X Gate.bmd"},
               {ot::kItemPage, "ItemEdit", "支持版本 99B+,1.X"},
               {ot::kMovereqPage, "MovereqEdit", "支持版本:98C->1.X Movereq.bmd"}};
  ASSERT_NE(state.UnitOfPage(ot::kGatePage), nullptr);
  for (const auto& n : notes) {
    if (state.UnitOfPage(n.page)) {
      EXPECT_EQ(w.Find<QLineEdit>(n.edit)->text(), U(n.note)) << n.edit;
    }
  }
  for (const char* name : {"SlideModBtn", "TextModBtn", "SkillModBtn", "DialogModBtn",
                           "FilterModBtn", "GateModBtn", "ItemModBtn", "MovereqModBtn"}) {
    QPushButton* button = w.Find<QPushButton>(name);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(), U("修正")) << name;
    EXPECT_FALSE(button->isEnabled()) << name;
    EXPECT_EQ(button->accessibleName(), name);
  }
  EXPECT_EQ(w.Find<QLabel>("FilterCrcOldEditLabel")->text(), U("原效验值"));
  EXPECT_EQ(w.Find<QLabel>("FilterCrcNewEditLabel")->text(), U("新效验值"));

  // The message page.
  EXPECT_EQ(w.Find<QGroupBox>("WtfGroupBox1")->title(), U("类型,序号,文本"));
  EXPECT_EQ(w.Find<QGroupBox>("WtfGroupBox2")->title(), U("查找文本"));
  EXPECT_EQ(w.Find<QLabel>("WtfTypeLabel")->text(), U("类型"));
  EXPECT_EQ(w.Find<QLabel>("WtfSnLabel")->text(), U("序号"));
  QComboBox* type = w.Find<QComboBox>("WtfTypeCBox");
  EXPECT_TRUE(type->isEditable());
  QStringList items;
  for (int i = 0; i < type->count(); ++i) items << type->itemText(i);
  EXPECT_EQ(items.join(","), "1,2,3,4,5,6,7,8,9,A,B,C,D,E,F");
  EXPECT_EQ(type->currentIndex(), 0);
  EXPECT_EQ(w.Find<QPushButton>("Button1")->text(), U("下一个>(&N)"));
  EXPECT_EQ(w.Find<QPushButton>("Button2")->text(), U("上一个(&P)"));
  EXPECT_TRUE(w.Find<QPushButton>("OpenCompanionBtn")->text().contains("Quillon"));

  // The status bar's two panels.
  QLabel* credit = w.Find<QLabel>("StatusPanel0");
  QLabel* welcome = w.Find<QLabel>("StatusPanel1");
  EXPECT_EQ(credit->width(), 150);
  EXPECT_GE(welcome->width(), 200);
  EXPECT_FALSE(credit->text().isEmpty());
  EXPECT_FALSE(welcome->text().isEmpty());
  EXPECT_TRUE(welcome->alignment() & Qt::AlignRight);
  EXPECT_EQ(w.form.statusBar()->objectName(), "StatusBar1");
}

TEST(MainForm, AboutPage) {
  Window w;
  const char* lines[] = {
      "支持修改",
      "Dialog.bmd  支持版本 97->1.00M->Kor1.02B",
      "//建议只修改正文部分文本",
      "Filter.bmd  支持版本 97->1.00M->Kor1.02B",
      "Gate.bmd    支持版本 97->99B+,Kor1.02B  ",
      "Item.bmd    支持版本 99B+,1.00M->Kor1.02B",
      "Movereq.bmd 支持版本 98C->1.00M->Kor1.02B",
      "Skill.bmd   支持版本 99B+,1.00M->Kor1.02B      ",
      "Slide.bmd   支持版本 98C->1.00M->Kor1.02B",
      "Text.bmd    支持版本 99J->1.00M->Kor1.02B",
      "Wtf文件                     ",
      "//未加入搜索和加入删除功能",
      "",
      "所有需要计算效验的没有计算后保存",
      "",
      "@支持导出到文本TXT 列表",
      "Gate.bmd    支持版本 97->99B+ ,1.00M ",
      "Skill.bmd   支持版本 99B+,1.00M",
  };
  QPlainTextEdit* text = w.Find<QPlainTextEdit>("RichEdit1");
  ASSERT_NE(text, nullptr);
  EXPECT_TRUE(text->isReadOnly());
  EXPECT_TRUE(text->isVisible());
  const QStringList shown = text->toPlainText().split('\n');
  ASSERT_EQ(shown.size(), 18);
  for (int i = 0; i < 18; ++i) EXPECT_EQ(shown[i], U(lines[i])) << "line " << i + 1;
  const struct {
    const char* name;
    QSize size;
  } images[] = {{"Image4", {273, 62}}, {"Image2", {149, 213}}, {"Image1", {134, 205}}};
  for (const auto& image : images) {
    QLabel* label = w.Find<QLabel>(image.name);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->pixmap().size(), image.size) << image.name;
    EXPECT_TRUE(label->isVisible());
  }
  QPlainTextEdit* memo = w.Find<QPlainTextEdit>("MemoTxt");
  EXPECT_FALSE(memo->isVisible());
  EXPECT_EQ(memo->toPlainText(), "Memo\nTxt");
}

TEST(MainForm, ToolbarMenuAndShortcuts) {
  Window w;
  const struct {
    const char* name;
    const char* hint;
  } tools[] = {{"OpenBtn", "打开"}, {"SaveBtn", "保存"}, {"ExportBtn", "导出到文本Txt"},
               {"AboutBtn", "关于"}};
  for (const auto& t : tools) {
    QToolButton* button = w.Find<QToolButton>(t.name);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->toolTip(), U(t.hint)) << t.name;
    EXPECT_FALSE(button->icon().isNull()) << t.name;
    EXPECT_EQ(button->toolButtonStyle(), Qt::ToolButtonIconOnly);
  }
  QToolBar* bar = w.Find<QToolBar>("ToolBar1");
  QStringList order;
  for (QAction* a : bar->actions()) order << (a->isSeparator() ? "|" : bar->widgetForAction(a)->objectName());
  EXPECT_EQ(order.join(" "), "OpenBtn SaveBtn | ExportBtn | AboutBtn");

  const struct {
    const char* menu;
    const char* item;
    const char* caption;
    const char* key;
    bool enabled;
  } items[] = {{"File1", "Open1", "Open", "Ctrl+O", true},
               {"File1", "Save1", "Save", "Ctrl+S", true},
               {"File1", "ExportCsv1", "Export Grid as CSV...", "", true},
               {"File1", "ImportCsv1", "Import Grid from CSV...", "", true},
               {"File1", "Exit1", "Exit", "Ctrl+X", false},
               {"Edit1", "Undo1", "Undo", "Ctrl+Z", false},
               {"Edit1", "Redo1", "Redo", "Ctrl+Shift+Z", false},
               {"Edit1", "Copy1", "Copy", "Ctrl+C", true},
               {"Edit1", "Paste1", "Paste", "Ctrl+V", true},
               {"Edit1", "Clear1", "Clear", "Del", true},
               {"Edit1", "Find1", "Find and Replace...", "Ctrl+F", true},
               {"Edit1", "FindNext1", "Find Next", "F3", true},
               {"Edit1", "FindPrevious1", "Find Previous", "Shift+F3", true},
               {"Edit1", "GoToRow1", "Go to Row...", "Ctrl+G", true},
               {"Edit1", "RecordView1", "Record Bytes", "Ctrl+R", true},
               {"Help1", "About1", "About", "Ctrl+H", true}};
  for (const auto& i : items) {
    SCOPED_TRACE(i.item);
    QMenu* menu = w.Find<QMenu>(i.menu);
    QAction* item = w.Find<QAction>(i.item);
    ASSERT_TRUE(menu && item);
    EXPECT_TRUE(menu->actions().contains(item));
    EXPECT_EQ(item->text(), i.caption);
    EXPECT_EQ(item->shortcut(), QKeySequence(QString::fromLatin1(i.key)));
    EXPECT_EQ(item->isEnabled(), i.enabled);
  }
  EXPECT_EQ(w.Find<QMenu>("File1")->title(), "&File");
  EXPECT_EQ(w.Find<QMenu>("Edit1")->title(), "&Edit");
  EXPECT_EQ(w.Find<QMenu>("Help1")->title(), "&Help");
  EXPECT_FALSE(w.Find<QAction>("Exit")->isEnabled());

  // About (toolbar, Ctrl+H) brings the About page to the front from any page; Ctrl+X does
  // nothing.
  w.form.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&w.form));
  w.ShowPage(ot::kGatePage);
  QTest::keyClick(&w.form, Qt::Key_X, Qt::ControlModifier);
  EXPECT_EQ(w.pages()->currentIndex(), ot::kGatePage);
  EXPECT_TRUE(w.form.isVisible());
  QTest::keyClick(&w.form, Qt::Key_H, Qt::ControlModifier);
  EXPECT_EQ(w.pages()->currentIndex(), ot::kAboutPage);
  w.ShowPage(ot::kSkillPage);
  EXPECT_EQ(w.form.state().ActivePageIndex, ot::kSkillPage);
  QTest::mouseClick(w.Find<QToolButton>("AboutBtn"), Qt::LeftButton);
  EXPECT_EQ(w.pages()->currentIndex(), ot::kAboutPage);
  EXPECT_EQ(w.form.state().ActivePageIndex, ot::kAboutPage);
  EXPECT_TRUE(w.port.dialogs.empty());
}

TEST(MainForm, OpensAtDesignSizeAndGrows) {
  Window w;
  EXPECT_EQ(w.form.width(), 667);
  EXPECT_EQ(w.form.height() - w.form.menuBar()->height(), 523);
  w.ShowPage(ot::kGatePage);
  GridView* grid = w.form.gridView(ot::kGatePage);
  const QSize before = grid->size();
  w.form.resize(1100, 800);
  QCoreApplication::processEvents();
  EXPECT_GT(grid->width(), before.width() + 300);
  EXPECT_GT(grid->height(), before.height() + 200);
}

TEST(MainForm, RowsAndColumnsResizeByDragging) {
  Window w;
  w.ShowPage(ot::kGatePage);
  GridView* view = w.form.gridView(ot::kGatePage);
  QWidget* numbers = view->viewportOf(0);
  // The lower border of row 2 (model row 1), dragged down in the number column.
  const int border = view->cellRect(0, 2).bottom();
  QTest::mousePress(numbers, Qt::LeftButton, {}, QPoint(10, border));
  QTest::mouseMove(numbers, QPoint(10, border + 15));
  QTest::mouseRelease(numbers, Qt::LeftButton, {}, QPoint(10, border + 15));
  EXPECT_EQ(view->rowHeight(1), 21 + 15);
  EXPECT_EQ(view->frozenView()->rowHeight(1), 21 + 15);
  EXPECT_EQ(view->rowHeight(0), 21);
  // The number column's width follows its header, in both views.
  view->frozenView()->horizontalHeader()->resizeSection(0, 90);
  EXPECT_EQ(view->columnWidth(0), 90);
  EXPECT_EQ(view->frozenView()->width(), 90);
  view->horizontalHeader()->resizeSection(2, 120);
  EXPECT_EQ(view->columnWidth(2), 120);
}

TEST(DialogFilters, InQtSyntax) {
  EXPECT_EQ(QtNameFilters(ot::DialogFilter(ot::FileDialog::Open)),
            QStringList({"Bmd File(*.bmd)", "Wtf File(*.wtf)", "Att File(*.att;*.bmp) (*.att *.bmp)",
                         "Image File(*.ozb;*.ozj;*.ozt;*.bmp;*.jpg;*.tga) (*.ozb *.ozj *.ozt *.bmp *.jpg *.tga)",
                         "All File(*.*)"}));
  EXPECT_EQ(QtNameFilters(ot::DialogFilter(ot::FileDialog::Save)),
            QStringList({"Bmd and Wtf File(*.bmd;*.wtf) (*.bmd *.wtf)",
                         "Image File(*.ozb;*.ozj;*.ozt;*.bmp;*.jpg;*.tga) (*.ozb *.ozj *.ozt *.bmp *.jpg *.tga)",
                         "Att File(*.att)", "All File(*.*)"}));
  EXPECT_EQ(QtNameFilters(ot::DialogFilter(ot::FileDialog::TextList)), QStringList({U("文本文件(*.txt)")}));
}

TEST(MainForm, OpenEditSaveAndExportTheGateTable) {
  ottest::TempDir dir;
  Window w;
  std::string plain = ottest::PatternBytes(900, 11);
  const std::string path = WriteGate(dir, plain);

  // A refused file changes nothing but the status bar.
  ottest::WriteFile(dir.File("odd.bmd"), std::string(901, '\0'));
  w.port.answers = {dir.File("odd.bmd")};
  QTest::mouseClick(w.Find<QToolButton>("OpenBtn"), Qt::LeftButton);
  ASSERT_EQ(w.port.messages.size(), 1u);
  EXPECT_EQ(w.port.messages[0].text, ot::kBmdRefusedMessage);
  EXPECT_EQ(w.port.messages[0].caption, ot::kOpenErrorCaption);
  EXPECT_EQ(w.pages()->currentIndex(), ot::kAboutPage);
  EXPECT_EQ(w.Find<QLabel>("StatusPanel1")->text(), QString::fromStdString(dir.File("odd.bmd")));

  w.port.messages.clear();
  w.port.answers = {path};
  w.Find<QAction>("Open1")->trigger();
  EXPECT_TRUE(w.port.messages.empty());
  EXPECT_EQ(w.pages()->currentIndex(), ot::kGatePage);
  EXPECT_EQ(w.Find<QLabel>("StatusPanel1")->text(), QString::fromStdString(path));
  EXPECT_EQ(w.Find<QLineEdit>("GateEdit")->text(), "//Ver:97->99B+ gate.bmd");
  GridView* view = w.form.gridView(ot::kGatePage);
  QAbstractItemModel* model = view->model();
  ASSERT_EQ(model->rowCount(), 100);
  for (int r : {0, 41, 99}) {
    EXPECT_EQ(model->index(r, 0).data().toString(), QString::number(r));
    for (int c = 1; c <= 9; ++c)
      EXPECT_EQ(model->index(r, c).data().toInt(), uint8_t(plain[size_t(r * 9 + c - 1)]));
  }

  // An edit in place that is still open when Save is pressed is saved.
  const QModelIndex cell = model->index(5, 3);
  view->setFocus();
  view->setCurrentIndex(cell);
  view->edit(cell);
  auto* editor = qobject_cast<QLineEdit*>(view->indexWidget(cell));
  ASSERT_NE(editor, nullptr);
  editor->setText("300");  // kept as its low byte
  w.port.answers = {dir.File("out.bmd")};
  QTest::mouseClick(w.Find<QToolButton>("SaveBtn"), Qt::LeftButton);
  EXPECT_TRUE(w.port.errors.empty());
  EXPECT_EQ(w.port.dialogs.back(), ot::FileDialog::Save);
  EXPECT_EQ(model->index(5, 3).data().toString(), "300");
  plain[5 * 9 + 2] = char(300 & 0xFF);
  EXPECT_EQ(ottest::ReadFile(dir.File("out.bmd")), ottest::Scramble(plain, 0, 900, 9));

  // Export on the gate page writes the text list and shows it in the line buffer.
  w.port.answers = {dir.File("gate.txt")};
  QTest::mouseClick(w.Find<QToolButton>("ExportBtn"), Qt::LeftButton);
  EXPECT_EQ(w.port.dialogs.back(), ot::FileDialog::TextList);
  const QStringList memo = w.Find<QPlainTextEdit>("MemoTxt")->toPlainText().split('\n');
  ASSERT_EQ(memo.size(), 102);
  EXPECT_EQ(memo[1], "//gate.bmd 97->99B+");
  EXPECT_TRUE(memo[7].startsWith("5 ")) << memo[7].toStdString();
  EXPECT_TRUE(memo[7].contains(" 300 "));
  const std::string list = ottest::ReadFile(dir.File("gate.txt"));
  EXPECT_EQ(list.substr(0, 2), "//");
  EXPECT_NE(list.find("\r\n//gate.bmd 97->99B+\r\n"), std::string::npos);
}

TEST(MainForm, BadNumberCellShowsTheErrorAndTheWindowStaysUsable) {
  ottest::TempDir dir;
  Window w;
  const std::string plain = ottest::PatternBytes(900, 3);
  w.port.answers = {WriteGate(dir, plain)};
  w.form.OpenBtnClick();
  GridView* view = w.form.gridView(ot::kGatePage);
  QAbstractItemModel* model = view->model();
  ASSERT_TRUE(model->setData(model->index(2, 4), "abc"));

  w.port.answers = {dir.File("out.bmd")};
  QTest::mouseClick(w.Find<QToolButton>("SaveBtn"), Qt::LeftButton);
  ASSERT_EQ(w.port.errors.size(), 1u);
  EXPECT_EQ(w.port.errors[0], "'abc' is not a valid integer value.");
  EXPECT_FALSE(ottest::FileExists(dir.File("out.bmd")));
  EXPECT_EQ(view->currentIndex(), model->index(2, 4));  // the bad cell is shown
  EXPECT_TRUE(w.form.isVisible());

  // Export on the gate page writes a text list, which converts nothing.
  w.port.answers = {dir.File("gate.txt")};
  QTest::mouseClick(w.Find<QToolButton>("ExportBtn"), Qt::LeftButton);
  EXPECT_EQ(w.port.errors.size(), 1u);
  EXPECT_TRUE(ottest::FileExists(dir.File("gate.txt")));

  ASSERT_TRUE(model->setData(model->index(2, 4), "$1F"));
  w.port.answers = {dir.File("out.bmd")};
  w.Find<QAction>("Save1")->trigger();
  EXPECT_EQ(w.port.errors.size(), 1u);
  std::string expected = plain;
  expected[2 * 9 + 3] = 0x1F;
  EXPECT_EQ(ottest::ReadFile(dir.File("out.bmd")), ottest::Scramble(expected, 0, 900, 9));

  // A text list that cannot be created is reported the same way.
  w.port.answers = {dir.File("missing/gate.txt")};
  QTest::mouseClick(w.Find<QToolButton>("ExportBtn"), Qt::LeftButton);
  ASSERT_EQ(w.port.errors.size(), 2u);
  EXPECT_EQ(w.port.errors[1], QString::fromStdString("Cannot create file " + dir.File("missing/gate.txt") + "."));
}

TEST(GridModel, EncodesTypedTextAndKeepsUneditedBytes) {
  ot::StringGrid grid(3, 4);
  grid.Cells(1, 0) = Gbk("标题");
  grid.Cells(1, 1) = "\xFF\xFE" + Gbk("名");  // does not decode
  grid.Cells(2, 1) = "12";
  GridModel model(&grid, true);
  int refusals = 0;
  QObject::connect(&model, &GridModel::refused, [&](const QString&) { ++refusals; });
  EXPECT_EQ(model.headerData(1, Qt::Horizontal).toString(), U("标题"));
  EXPECT_EQ(model.headerData(1, Qt::Horizontal, Qt::ToolTipRole).toString(), U("标题"));
  const QModelIndex odd = model.index(0, 1);
  EXPECT_EQ(odd.data().toString(), U("\uFFFD\uFFFD名"));
  EXPECT_TRUE(model.setData(odd, odd.data()));  // an editor closed without a change
  EXPECT_EQ(grid.Cells(1, 1), "\xFF\xFE" + Gbk("名"));
  EXPECT_FALSE(model.setData(model.index(0, 2), U("表😀")));  // not in code page 936
  EXPECT_EQ(grid.Cells(2, 1), "12");
  EXPECT_EQ(refusals, 1);
  EXPECT_TRUE(model.setData(model.index(0, 2), U("表格")));
  EXPECT_EQ(grid.Cells(2, 1), Gbk("表格"));
  EXPECT_FALSE(model.setData(model.index(0, 0), "9"));  // the number column is fixed
  EXPECT_EQ(grid.Cells(0, 1), "");

  // The core grid changes size in a command; the model follows on refresh only.
  grid.SetRowCount(2);
  EXPECT_EQ(model.rowCount(), 3);
  EXPECT_EQ(model.index(2, 1).data(), QVariant());
  model.refresh();
  EXPECT_EQ(model.rowCount(), 1);

  GridModel fixed(&grid, false);
  EXPECT_FALSE(fixed.setData(fixed.index(0, 2), "x"));
  EXPECT_EQ(grid.Cells(2, 1), Gbk("表格"));
}

TEST(MainForm, PickAndCorrectOnTheTextPage) {
  Window w;
  ot::TEditorState& state = w.form.state();
  for (int r = 1; r < state.TextStrGrid.RowCount(); ++r)
    state.TextStrGrid.Cells(1, r) = Gbk("第") + std::to_string(r) + Gbk("行");
  w.form.refreshFromState();
  w.ShowPage(ot::kTextPage);
  GridView* view = w.form.gridView(ot::kTextPage);
  QLineEdit* edit = w.Find<QLineEdit>("TextEdit");
  QPushButton* button = w.Find<QPushButton>("TextModBtn");

  Press(view, 1, 3);
  EXPECT_EQ(edit->text(), U("第3行"));
  EXPECT_TRUE(button->isEnabled());
  // Presses on the number column, the title row and right of the last column are refused.
  Press(view, 0, 5);
  const QHeaderView* header = view->horizontalHeader();
  QTest::mousePress(header->viewport(), Qt::LeftButton, {},
                    QPoint(header->sectionViewportPosition(1) + 20, header->height() / 2));
  ASSERT_GT(view->viewport()->width(), 35 + 579 + 4);
  QTest::mousePress(view->viewport(), Qt::LeftButton, {}, QPoint(view->viewport()->width() - 2, 30));
  EXPECT_EQ(edit->text(), U("第3行"));
  EXPECT_EQ(state.TextCell.Row, 3);
  // Any mouse button picks.
  Press(view, 1, 4, Qt::RightButton);
  EXPECT_EQ(edit->text(), U("第4行"));

  Type(edit, U("新的正文"));
  EXPECT_EQ(state.TextEdit, Gbk("新的正文"));
  QTest::mouseClick(button, Qt::LeftButton);
  EXPECT_EQ(state.TextStrGrid.Cells(1, 4), Gbk("新的正文"));
  EXPECT_EQ(view->model()->index(3, 1).data().toString(), U("新的正文"));

  // Text that code page 936 cannot hold is not written.
  Type(edit, U("表😀"));
  QTest::mouseClick(button, Qt::LeftButton);
  EXPECT_EQ(state.TextStrGrid.Cells(1, 4), Gbk("新的正文"));
  EXPECT_FALSE(w.StatusMessage().isEmpty());

  // Presses on the other grids have no effect of their own.
  w.ShowPage(ot::kGatePage);
  Press(w.form.gridView(ot::kGatePage), 2, 2);
  w.ShowPage(ot::kSkillPage);
  Press(w.form.gridView(ot::kSkillPage), 2, 2);
  EXPECT_EQ(state.TextCell.Row, 4);
  EXPECT_FALSE(w.Find<QPushButton>("GateModBtn")->isEnabled());
  EXPECT_FALSE(w.Find<QPushButton>("SkillModBtn")->isEnabled());
  EXPECT_FALSE(w.Find<QPushButton>("SlideModBtn")->isEnabled());
}

TEST(MainForm, PickAndCorrectOnTheSlidePage) {
  Window w;
  ot::TEditorState& state = w.form.state();
  for (int r = 1; r < state.SlideStrGrid.RowCount(); ++r)
    for (int c = 1; c < 4; ++c) state.SlideStrGrid.Cells(c, r) = std::to_string(c) + ":" + std::to_string(r);
  w.form.refreshFromState();
  w.ShowPage(ot::kSlidePage);
  GridView* view = w.form.gridView(ot::kSlidePage);
  QLineEdit* edit = w.Find<QLineEdit>("SlideEdit");
  QPushButton* button = w.Find<QPushButton>("SlideModBtn");
  EXPECT_EQ(view->editTriggers(), QAbstractItemView::NoEditTriggers);

  Press(view, 1, 2);
  Press(view, 2, 2);
  EXPECT_FALSE(button->isEnabled());
  EXPECT_EQ(edit->text(), "");
  Press(view, 3, 6);
  EXPECT_EQ(edit->text(), "3:6");
  EXPECT_TRUE(button->isEnabled());
  Type(edit, U("幻灯片文字"));
  QTest::mouseClick(button, Qt::LeftButton);
  EXPECT_EQ(state.SlideStrGrid.Cells(3, 6), Gbk("幻灯片文字"));
  EXPECT_EQ(view->model()->index(5, 3).data().toString(), U("幻灯片文字"));
  EXPECT_FALSE(w.Find<QPushButton>("TextModBtn")->isEnabled());
}

TEST(MainForm, TextTableThroughPickCorrectAndSave) {
  ottest::TempDir dir;
  Window w;
  ot::TEditorState& state = w.form.state();
  std::string plain(450000, '\0');
  for (int k = 0; k < 1500; ++k) {
    const std::string text = Gbk("第") + std::to_string(k) + Gbk("条");
    plain.replace(size_t(k) * 300, text.size(), text);
  }
  const std::string path = dir.File("Text.bmd");
  ottest::WriteFile(path, ottest::Scramble(plain, 0, plain.size(), 300));
  w.port.answers = {path};
  w.form.OpenBtnClick();
  ASSERT_TRUE(w.port.messages.empty());
  ASSERT_EQ(w.pages()->currentIndex(), ot::kTextPage);
  QCoreApplication::processEvents();
  GridView* view = w.form.gridView(ot::kTextPage);
  ASSERT_EQ(view->model()->rowCount(), 1500);

  Press(view, 1, 3);
  QLineEdit* edit = w.Find<QLineEdit>("TextEdit");
  EXPECT_EQ(edit->text(), U("第2条"));
  // Save passes every text through the edit box: afterwards it shows the last one, and
  // "修正" without a new pick writes that into the picked cell.
  w.port.answers = {dir.File("out.bmd")};
  w.Find<QAction>("Save1")->trigger();
  EXPECT_TRUE(w.port.errors.empty());
  EXPECT_EQ(ottest::ReadFile(dir.File("out.bmd")), ottest::ReadFile(path));
  EXPECT_EQ(edit->text(), U("第1499条"));
  QTest::mouseClick(w.Find<QPushButton>("TextModBtn"), Qt::LeftButton);
  EXPECT_EQ(view->model()->index(2, 1).data().toString(), U("第1499条"));

  // The picked cell survives another Open: "修正" writes into the same place of the new rows.
  // The change is not saved, so Open asks first.
  w.port.answers = {path};
  w.port.unsavedAnswers = {UnsavedAnswer::Discard};
  w.form.OpenBtnClick();
  EXPECT_EQ(w.port.unsavedAsked, std::vector<QString>{U("Text.bmd")});
  EXPECT_EQ(view->model()->index(2, 1).data().toString(), U("第2条"));
  Type(edit, U("改过的"));
  QTest::mouseClick(w.Find<QPushButton>("TextModBtn"), Qt::LeftButton);
  EXPECT_EQ(state.TextStrGrid.Cells(1, 3), Gbk("改过的"));
}

// Restores an environment variable and the current folder at the end of a test.
class EnvGuard {
 public:
  EnvGuard() : path_(qgetenv("PATH")), cwd_(QDir::currentPath()) {}
  ~EnvGuard() {
    qputenv("PATH", path_);
    qunsetenv("OT_COMPANION_OUT");
    QDir::setCurrent(cwd_);
  }

 private:
  QByteArray path_;
  QString cwd_;
};

TEST(MainForm, CompanionEditorStartsInTheDataDirectory) {
  ottest::TempDir dir;
  EnvGuard guard;
  ASSERT_TRUE(QDir::setCurrent(QString::fromStdString(dir.Path())));
  ASSERT_EQ(mkdir(dir.File("bin").c_str(), 0700), 0);
  qputenv("PATH", QByteArray::fromStdString(dir.File("bin")));
  Window w;
  QPushButton* companion = w.Find<QPushButton>("OpenCompanionBtn");

  QTest::mouseClick(companion, Qt::LeftButton);  // not found on the PATH nor beside the editor
  EXPECT_TRUE(w.StatusMessage().contains("Quillon.exe")) << w.StatusMessage().toStdString();

  const std::string program = dir.File("bin/Quillon.exe");
  ottest::WriteFile(program, "#!/bin/sh\npwd > \"$OT_COMPANION_OUT\"\n");
  ASSERT_EQ(chmod(program.c_str(), 0755), 0);
  qputenv("OT_COMPANION_OUT", QByteArray::fromStdString(dir.File("cwd.txt")));
  w.form.statusBar()->clearMessage();
  QTest::mouseClick(companion, Qt::LeftButton);  // the data directory does not exist
  EXPECT_TRUE(w.StatusMessage().contains("Quillon.exe"));

  ASSERT_EQ(mkdir(dir.File("data").c_str(), 0700), 0);
  w.form.statusBar()->clearMessage();
  QTest::mouseClick(companion, Qt::LeftButton);
  EXPECT_TRUE(w.StatusMessage().isEmpty()) << w.StatusMessage().toStdString();
  EXPECT_TRUE(QTest::qWaitFor([&] { return ottest::FileExists(dir.File("cwd.txt")) &&
                                           !ottest::ReadFile(dir.File("cwd.txt")).empty(); },
                              20000));
  EXPECT_EQ(ottest::ReadFile(dir.File("cwd.txt")), QDir(QString::fromStdString(dir.File("data"))).canonicalPath().toStdString() + "\n");
}

}  // namespace
