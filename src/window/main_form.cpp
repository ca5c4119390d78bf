#include "window/main_form.h"

#include <QAction>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QDockWidget>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QUndoGroup>
#include <QUndoStack>
#include <QVBoxLayout>
#include <functional>

#include "frame/cell_editing.h"
#include "frame/cp936.h"
#include "frame/errors.h"
#include "frame/filesys.h"
#include "frame/gridtext.h"
#include "frame/hex_dump.h"
#include "frame/version.h"
#include "window/file_open.h"
#include "window/find_bar.h"
#include "window/grid_history.h"
#include "window/grid_model.h"
#include "window/grid_view.h"
#include "window/qt_port.h"

namespace {

constexpr int kDesignWidth = 667;
constexpr int kDesignHeight = 523;  // the client area below the menu
constexpr int kControlHeight = 21;
// Qt draws a group box's caption above its frame, not on it: the controls inside move down
// by this much from their design places, and the boxes grow by as much.
constexpr int kGroupCaptionShift = 5;

QString Utf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString Decode(const std::string& cp936) { return Utf8(ot::Cp936ToUtf8Lossy(cp936)); }

// Controls are found by their names, by UI automation and screen readers alike.
template <class W>
W* Named(W* widget, const char* name) {
  widget->setObjectName(QString::fromLatin1(name));
  widget->setAccessibleName(QString::fromLatin1(name));
  return widget;
}

struct PageInfo {
  const char* sheet;
  const char* caption;
  const char* grid;  // nullptr: the About page
  ColumnWidths widths;
  bool editable;
  bool rangeSelection;
  bool tabMovesBetweenCells;
};

const std::array<PageInfo, ot::kPageCount>& Pages() {
  static const std::array<PageInfo, ot::kPageCount> kPages = {{
      {"DiglogPc", "Diglog.bmd", "DialogStrGrid", {{35, 372, 65, 92, 62}, 35}, true, true, false},
      {"FilterPc", "Filter.bmd", "FilterStrGrid", {{35, 579}, 64}, true, true, false},
      {"GatePc", "Gate.bmd", "GateStrGrid", {{65, 43, 54}, 65}, true, true, false},
      {"ItemPc", "Item.bmd", "ItemStrGrid", {{35, 72}, 35}, true, true, false},
      {"MovereqPc", "Movereq.bmd", "MovereqStrGrid", {{}, 80}, true, true, false},
      {"SkillPc", "Skill.bmd", "SkillStrGrid", {{}, 50}, true, false, true},
      {"SlideBmd", "Slide.Bmd", "SlideStrGrid", {{35, 46, 45, 485}, 64}, false, false, false},
      {"TextPc", "Text.bmd", "TextStrGrid", {{35, 579}, 64}, true, true, false},
      {"MessageWtf", "Message.Wtf", "WtfStrGrid", {{35, 57, 53, 55, 420}, 64}, true, true, false},
      {"About", "About", nullptr, {{}, 64}, false, false, false},
  }};
  return kPages;
}

// The edit box and "修正" button below the grid of the pages that have them.
struct BottomRow {
  int page;
  const char* edit;
  const char* button;
  ot::Button ot::TEditorState::*state;
  void (TMainForm::*click)();
};

const BottomRow kBottomRows[] = {
    {ot::kDialogPage, "DialogEdit", "DialogModBtn", &ot::TEditorState::DialogModBtn,
     &TMainForm::TextModBtnClick},
    {ot::kGatePage, "GateEdit", "GateModBtn", &ot::TEditorState::GateModBtn,
     &TMainForm::TextModBtnClick},
    {ot::kItemPage, "ItemEdit", "ItemModBtn", &ot::TEditorState::ItemModBtn,
     &TMainForm::TextModBtnClick},
    {ot::kMovereqPage, "MovereqEdit", "MovereqModBtn", &ot::TEditorState::MovereqModBtn,
     &TMainForm::TextModBtnClick},
    {ot::kSkillPage, "SkillEdit", "SkillModBtn", &ot::TEditorState::SkillModBtn,
     &TMainForm::SlideModBtnClick},
    {ot::kSlidePage, "SlideEdit", "SlideModBtn", &ot::TEditorState::SlideModBtn,
     &TMainForm::SlideModBtnClick},
    {ot::kTextPage, "TextEdit", "TextModBtn", &ot::TEditorState::TextModBtn,
     &TMainForm::TextModBtnClick},
};

const QString kCreditText = QStringLiteral("Orvel Tarn 开发组");
const QString kWelcomeText = QStringLiteral("欢迎使用 Orvel Tarn Client Tools");
const QString kCompanionCaption = QStringLiteral("启动 Quillon 编辑器");
const QString kCompanionProgram = QStringLiteral("Quillon.exe");
const QString kUnencodableText =
    QStringLiteral("这段文字含有GBK(代码页936)中没有的字符,无法写入表格");
const QString kReadOnlyGridText = QStringLiteral("这个表格不能直接修改");
const QString kNoGridText = QStringLiteral("请先切换到一个表格页");
const QString kUnsavedTip = QStringLiteral("有未保存的修改");
// A CSV file larger than this is not read: the largest table's grid as CSV is far smaller.
constexpr int64_t kMaxCsvFile = 512ll * 1024 * 1024;

// The port Open runs with in the window: the window's port, with the question about a page
// whose unsaved changes the chosen file would replace answered by the window.
class OpenGuardPort : public ot::UserPort {
 public:
  OpenGuardPort(ot::UserPort& inner, std::function<ot::ReplaceAnswer(int)> confirm)
      : inner_(inner), confirm_(std::move(confirm)) {}
  std::optional<std::string> ChooseFile(ot::FileDialog dialog) override {
    return inner_.ChooseFile(dialog);
  }
  void ShowMessage(std::string_view text, std::string_view caption) override {
    inner_.ShowMessage(text, caption);
  }
  ot::ReplaceAnswer MayReplacePage(int page) override { return confirm_(page); }

 private:
  ot::UserPort& inner_;
  std::function<ot::ReplaceAnswer(int)> confirm_;
};

// The data cells of a selection as one rectangle: its columns and rows (core grid numbers),
// or nullopt when the selection is empty or not one rectangle.
struct CellRect {
  int left, top, right, bottom;
  int cols() const { return right - left + 1; }
  int rows() const { return bottom - top + 1; }
};

std::optional<CellRect> SelectedRect(const QTableView* view) {
  const QItemSelection ranges = view->selectionModel()->selection();
  if (ranges.size() == 1)
    return CellRect{ranges[0].left(), ranges[0].top() + 1, ranges[0].right(),
                    ranges[0].bottom() + 1};
  if (ranges.isEmpty() && view->currentIndex().isValid()) {
    const QModelIndex i = view->currentIndex();
    return CellRect{i.column(), i.row() + 1, i.column(), i.row() + 1};
  }
  return std::nullopt;
}

}  // namespace

const std::vector<std::string>& TMainForm::AboutLines() {
  static const std::vector<std::string> kLines = {
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
  return kLines;
}

TMainForm::TMainForm(QWidget* parent)
    : QMainWindow(parent), qtPort_(std::make_unique<QtUserPort>(this)) {
  port_ = qtPort_.get();
  Named(this, "TMainForm");
  // The placeholder shows a mark while any page has unsaved changes.
  setWindowTitle(Utf8(ot::kWindowCaption) + QStringLiteral("[*]"));
  setWindowIcon(QIcon(QStringLiteral(":/app.png")));
  undoGroup_ = new QUndoGroup(this);
  buildActions();
  buildPages();

  auto* bar = Named(new QStatusBar(this), "StatusBar1");
  setStatusBar(bar);
  panels_[0] = Named(new QLabel(bar), "StatusPanel0");
  panels_[0]->setFixedWidth(150);
  panels_[0]->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  panels_[1] = Named(new QLabel(bar), "StatusPanel1");
  panels_[1]->setMinimumWidth(200);
  // A long path must not widen the window; the panel shows the end of it.
  panels_[1]->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  panels_[1]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  bar->addWidget(panels_[0]);
  bar->addWidget(panels_[1], 1);

  recordDock_ = Named(new QDockWidget(QStringLiteral("记录字节"), this), "RecordDock");
  recordDock_->setAllowedAreas(Qt::BottomDockWidgetArea | Qt::RightDockWidgetArea);
  recordView_ = Named(new QPlainTextEdit(recordDock_), "RecordHexView");
  recordView_->setReadOnly(true);
  recordView_->setLineWrapMode(QPlainTextEdit::NoWrap);
  recordView_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  recordDock_->setWidget(recordView_);
  addDockWidget(Qt::BottomDockWidgetArea, recordDock_);
  recordDock_->hide();
  connect(recordDock_, &QDockWidget::visibilityChanged, this, [this] { updateRecordView(); });
  QAction* recordAction = recordDock_->toggleViewAction();
  recordAction->setObjectName(QStringLiteral("RecordView1"));
  recordAction->setText(QStringLiteral("Record Bytes"));
  recordAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
  if (QMenu* edit = menuBar()->findChild<QMenu*>(QStringLiteral("Edit1"))) edit->addAction(recordAction);
  addAction(recordAction);

  FormCreate();
  new FileDropOpener(this);
  resize(kDesignWidth, kDesignHeight + menuBar()->sizeHint().height());
  move(254, 196);
}

TMainForm::~TMainForm() {
  // Children signal while they are torn down (histories their clean state, the record dock
  // its visibility), when this window is no longer whole: nobody here listens then.
  for (QObject* child : findChildren<QObject*>()) child->disconnect(this);
  // The views read the state while they are torn down; they go before it does.
  delete pageC_;
}

void TMainForm::FormCreate() {
  // The core state already holds what creating the window sets: every grid's titles, the
  // notes of the edit boxes and the eight disabled "修正" buttons.
  state_.DataDir = QDir::currentPath().toStdString() + "/data";
  state_.ActivePageIndex = ot::kAboutPage;
  state_.StatusPanels[0] = kCreditText.toStdString();
  state_.StatusPanels[1] = kWelcomeText.toStdString();
  refreshFromState();
}

void TMainForm::setPort(WindowPort* port) { port_ = port ? port : qtPort_.get(); }

WindowPort& TMainForm::port() { return *port_; }

GridView* TMainForm::gridView(int page) const {
  return page >= 0 && page < ot::kPageCount ? views_[static_cast<size_t>(page)] : nullptr;
}

void TMainForm::buildActions() {
  const QIcon openIcon(QStringLiteral(":/open.png"));
  const QIcon saveIcon(QStringLiteral(":/save.png"));
  const QIcon aboutIcon(QStringLiteral(":/about.png"));
  const QIcon exitIcon(QStringLiteral(":/exit.png"));
  const QIcon exportIcon(QStringLiteral(":/export.png"));

  // ActionList1.
  auto* open = new QAction(openIcon, QStringLiteral("Open"), this);
  open->setObjectName(QStringLiteral("Open"));
  connect(open, &QAction::triggered, this, &TMainForm::OpenBtnClick);
  auto* save = new QAction(saveIcon, QStringLiteral("Save"), this);
  save->setObjectName(QStringLiteral("Save"));
  connect(save, &QAction::triggered, this, &TMainForm::SaveBtnClick);
  // Exit has no handler, so it stays disabled, and so do its menu item and Ctrl+X; the window
  // is closed with its close box.
  auto* exit = new QAction(QStringLiteral("Exit"), this);
  exit->setObjectName(QStringLiteral("Exit"));
  exit->setEnabled(false);
  auto* about = new QAction(aboutIcon, QStringLiteral("About"), this);
  about->setObjectName(QStringLiteral("AboutAct"));
  connect(about, &QAction::triggered, this, &TMainForm::About1Click);

  // ToolBar1: images only, hints as tooltips.
  auto* tools = Named(new QToolBar(this), "ToolBar1");
  tools->setMovable(false);
  tools->setFloatable(false);
  tools->setIconSize(QSize(16, 16));
  tools->setToolButtonStyle(Qt::ToolButtonIconOnly);
  tools->setContextMenuPolicy(Qt::PreventContextMenu);
  addToolBar(Qt::TopToolBarArea, tools);
  auto button = [&](const char* name, const QIcon& icon, const QString& hint, auto slot) {
    QAction* a = tools->addAction(icon, hint);
    a->setObjectName(QString::fromLatin1(name) + QStringLiteral("Action"));
    a->setToolTip(hint);
    connect(a, &QAction::triggered, this, slot);
    Named(tools->widgetForAction(a), name);
  };
  button("OpenBtn", openIcon, QStringLiteral("打开"), &TMainForm::OpenBtnClick);
  button("SaveBtn", saveIcon, QStringLiteral("保存"), &TMainForm::SaveBtnClick);
  tools->addSeparator();
  button("ExportBtn", exportIcon, QStringLiteral("导出到文本Txt"), &TMainForm::ExportBtnClick);
  tools->addSeparator();
  button("AboutBtn", aboutIcon, QStringLiteral("关于"), [about] { about->trigger(); });

  // MainMenu1: each item takes caption and enabled state from its action.
  QMenuBar* menu = Named(menuBar(), "MainMenu1");
  auto item = [this](QMenu* parent, const char* name, QAction* action, const QIcon& icon,
                     const QKeySequence& key) {
    QAction* it = parent->addAction(icon, action->text());
    it->setObjectName(QString::fromLatin1(name));
    it->setShortcut(key);
    it->setEnabled(action->isEnabled());
    connect(it, &QAction::triggered, action, &QAction::trigger);
    connect(action, &QAction::changed, it, [it, action] {
      it->setEnabled(action->isEnabled());
      it->setText(action->text());
    });
    addAction(it);
  };
  QMenu* file = Named(menu->addMenu(QStringLiteral("&File")), "File1");
  item(file, "Open1", open, openIcon, QKeySequence(Qt::CTRL | Qt::Key_O));
  item(file, "Save1", save, saveIcon, QKeySequence(Qt::CTRL | Qt::Key_S));
  file->addSeparator();
  auto plain = [this](QMenu* parent, const char* name, const QString& text, auto slot,
                      const QList<QKeySequence>& keys = {}) {
    QAction* a = parent->addAction(text);
    a->setObjectName(QString::fromLatin1(name));
    a->setShortcuts(keys);
    connect(a, &QAction::triggered, this, slot);
    addAction(a);
    return a;
  };
  plain(file, "ExportCsv1", QStringLiteral("Export Grid as CSV..."), &TMainForm::exportCsv);
  plain(file, "ImportCsv1", QStringLiteral("Import Grid from CSV..."), &TMainForm::importCsv);
  file->addSeparator();
  item(file, "Exit1", exit, exitIcon, QKeySequence(Qt::CTRL | Qt::Key_X));

  // Edit: the history of the active page's grid, the clipboard, find and go to.
  QMenu* edit = Named(menu->addMenu(QStringLiteral("&Edit")), "Edit1");
  QAction* undo = undoGroup_->createUndoAction(this, QStringLiteral("Undo"));
  undo->setObjectName(QStringLiteral("Undo1"));
  undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
  QAction* redo = undoGroup_->createRedoAction(this, QStringLiteral("Redo"));
  redo->setObjectName(QStringLiteral("Redo1"));
  redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
  edit->addAction(undo);
  edit->addAction(redo);
  addAction(undo);
  addAction(redo);
  edit->addSeparator();
  // These three keep their keys for the grids: the edit boxes have their own copy and paste.
  for (QAction* a :
       {plain(edit, "Copy1", QStringLiteral("Copy"), &TMainForm::copyCells, {QKeySequence::Copy}),
        plain(edit, "Paste1", QStringLiteral("Paste"), &TMainForm::pasteCells, {QKeySequence::Paste}),
        plain(edit, "Clear1", QStringLiteral("Clear"), &TMainForm::clearCells,
              {QKeySequence(Qt::Key_Delete)})}) {
    removeAction(a);
    a->setShortcutContext(Qt::WidgetShortcut);
  }
  edit->addSeparator();
  plain(edit, "Find1", QStringLiteral("Find and Replace..."), &TMainForm::showFindBar,
        {QKeySequence(Qt::CTRL | Qt::Key_F)});
  plain(edit, "FindNext1", QStringLiteral("Find Next"), [this] { findInPage(true); },
        {QKeySequence(Qt::Key_F3)});
  plain(edit, "FindPrevious1", QStringLiteral("Find Previous"), [this] { findInPage(false); },
        {QKeySequence(Qt::SHIFT | Qt::Key_F3)});
  plain(edit, "GoToRow1", QStringLiteral("Go to Row..."), &TMainForm::goToRow,
        {QKeySequence(Qt::CTRL | Qt::Key_G)});
  edit->addSeparator();
  // Help's own shortcut Ctrl+A does nothing, so it is left to the edit boxes and grids
  // (select all) instead of being taken by the menu.
  QMenu* help = Named(menu->addMenu(QStringLiteral("&Help")), "Help1");
  item(help, "About1", about, aboutIcon, QKeySequence(Qt::CTRL | Qt::Key_H));
}

void TMainForm::buildPages() {
  auto* central = new QWidget(this);
  auto* column = new QVBoxLayout(central);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  pageC_ = Named(new QTabWidget(central), "PageC");
  pageC_->setUsesScrollButtons(true);
  pageC_->setElideMode(Qt::ElideNone);
  column->addWidget(pageC_, 1);
  findBar_ = new FindBar(central);
  findBar_->hide();
  column->addWidget(findBar_);
  connect(findBar_, &FindBar::findRequested, this, &TMainForm::findInPage);
  connect(findBar_, &FindBar::replaceRequested, this, &TMainForm::replaceInPage);
  connect(findBar_, &FindBar::replaceAllRequested, this, &TMainForm::replaceAllInPage);
  setCentralWidget(central);
  for (int page = 0; page < ot::kPageCount; ++page) {
    const PageInfo& info = Pages()[static_cast<size_t>(page)];
    QWidget* sheet = page == ot::kFilterPage    ? buildFilterPage()
                     : page == ot::kMessagePage ? buildMessagePage()
                     : page == ot::kAboutPage   ? buildAboutPage()
                                                : buildGridPage(page);
    Named(sheet, info.sheet);
    pageC_->addTab(sheet, QString::fromLatin1(info.caption));
  }
  connect(pageC_, &QTabWidget::currentChanged, this, [this](int index) {
    state_.ActivePageIndex = index;
    undoGroup_->setActiveStack(undoStack(index));
    updateRecordView();
  });
}

GridView* TMainForm::buildGrid(int page, QWidget* parent) {
  const PageInfo& info = Pages()[static_cast<size_t>(page)];
  auto* model = new GridModel(state_.GridOfPage(page), info.editable, this);
  auto* view = Named(new GridView(model, info.widths, parent), info.grid);
  view->setSelectionBehavior(QAbstractItemView::SelectItems);
  view->setSelectionMode(info.rangeSelection ? QAbstractItemView::ExtendedSelection
                                             : QAbstractItemView::SingleSelection);
  view->setTabKeyNavigation(info.tabMovesBetweenCells);
  view->setEditTriggers(info.editable ? QAbstractItemView::DoubleClicked |
                                            QAbstractItemView::EditKeyPressed |
                                            QAbstractItemView::AnyKeyPressed
                                      : QAbstractItemView::NoEditTriggers);
  connect(model, &GridModel::refused, this,
          [this](const QString&) { showStatusMessage(kUnencodableText); });
  if (page == ot::kItemPage) {
    view->setToolTip(QStringLiteral("About"));
    model->setCellToolTip(QStringLiteral("About"));
  }
  // Presses on the text and slide grids pick a cell for "修正"; presses on the other grids
  // have no effect of their own (they are not routed to a page that is not shown).
  if (page == ot::kTextPage) {
    connect(view, &GridView::cellPressed, this, [this](int col, int row) {
      ot::TextStrGridMouseDown(state_, col, row);
      refreshFromState();
    });
  } else if (page == ot::kSlidePage) {
    connect(view, &GridView::cellPressed, this, [this](int col, int row) {
      ot::SlideStrGridMouseDown(state_, col, row);
      refreshFromState();
    });
  }
  auto* stack = new QUndoStack(undoGroup_);
  stack->setObjectName(QString::fromLatin1(info.grid) + QStringLiteral("History"));
  undoGroup_->addStack(stack);
  stacks_[static_cast<size_t>(page)] = stack;
  connect(stack, &QUndoStack::cleanChanged, this, [this] { updateModifiedMarks(); });
  model->setEditSink([this, page](std::vector<ot::CellChange> changes) {
    pushChanges(page, std::move(changes), QStringLiteral("编辑单元格"));
  });
  connect(view->selectionModel(), &QItemSelectionModel::currentChanged, this, [this, page] {
    if (page == state_.ActivePageIndex) updateRecordView();
  });
  // Copy, paste and clear act on the grid that has the focus (the Edit menu's items run
  // them on the active page's grid too).
  for (const char* name : {"Copy1", "Paste1", "Clear1"})
    if (QAction* a = findChild<QAction*>(QString::fromLatin1(name))) view->addAction(a);
  views_[static_cast<size_t>(page)] = view;
  return view;
}

QWidget* TMainForm::buildGridPage(int page) {
  auto* sheet = new QWidget;
  auto* layout = new QVBoxLayout(sheet);
  layout->setContentsMargins(0, 0, 4, 4);
  layout->setSpacing(7);
  layout->addWidget(buildGrid(page, sheet), 1);
  for (const BottomRow& row : kBottomRows) {
    if (row.page != page) continue;
    auto* line = new QHBoxLayout;
    line->setSpacing(7);
    line->addWidget(linkEdit(row.edit, sheet), 1);
    line->addWidget(linkModButton(row.button, &(state_.*row.state), row.click, sheet));
    layout->addLayout(line);
  }
  return sheet;
}

QWidget* TMainForm::buildFilterPage() {
  auto* sheet = new QWidget;
  auto* layout = new QVBoxLayout(sheet);
  layout->setContentsMargins(0, 0, 4, 4);
  layout->setSpacing(4);
  layout->addWidget(buildGrid(ot::kFilterPage, sheet), 1);
  auto* line = new QHBoxLayout;
  line->setContentsMargins(8, 0, 0, 0);
  line->setSpacing(7);
  auto labelled = [&](const char* name, const QString& label, bool readOnly) {
    auto* box = new QVBoxLayout;
    box->setSpacing(2);
    QLineEdit* edit = linkEdit(name, sheet, readOnly);
    edit->setFixedWidth(137);
    auto* caption = new QLabel(label, sheet);
    caption->setObjectName(QString::fromLatin1(name) + QStringLiteral("Label"));
    caption->setBuddy(edit);
    box->addWidget(caption);
    box->addWidget(edit);
    line->addLayout(box);
  };
  labelled("FilterCrcOldEdit", QStringLiteral("原效验值"), true);
  labelled("FilterCrcNewEdit", QStringLiteral("新效验值"), false);
  line->addWidget(linkModButton("FilterModBtn", &state_.FilterModBtn, &TMainForm::TextModBtnClick,
                                sheet),
                  0, Qt::AlignBottom);
  line->addStretch(1);
  layout->addLayout(line);
  return sheet;
}

QWidget* TMainForm::buildMessagePage() {
  auto* sheet = new QWidget;
  auto* layout = new QVBoxLayout(sheet);
  layout->setContentsMargins(0, 0, 4, 4);
  layout->setSpacing(5);
  layout->addWidget(buildGrid(ot::kMessagePage, sheet), 1);

  auto* group1 = Named(new QGroupBox(QStringLiteral("类型,序号,文本"), sheet), "WtfGroupBox1");
  group1->setFixedHeight(44 + kGroupCaptionShift);
  group1->setMinimumWidth(649);
  auto* typeLabel = Named(new QLabel(QStringLiteral("类型"), group1), "WtfTypeLabel");
  typeLabel->move(8, 19 + kGroupCaptionShift);
  auto* type = Named(new QComboBox(group1), "WtfTypeCBox");
  type->setEditable(true);
  for (const char* t : {"1", "2", "3", "4", "5", "6", "7", "8", "9", "A", "B", "C", "D", "E", "F"})
    type->addItem(QString::fromLatin1(t));
  type->setCurrentIndex(0);
  type->setGeometry(40, 16 + kGroupCaptionShift, 81, kControlHeight);
  auto* snLabel = Named(new QLabel(QStringLiteral("序号"), group1), "WtfSnLabel");
  snLabel->move(128, 19 + kGroupCaptionShift);
  QLineEdit* sn = linkEdit("WtfSnEdit", group1);
  sn->setGeometry(160, 16 + kGroupCaptionShift, 57, kControlHeight);
  auto* companion = Named(new QPushButton(kCompanionCaption, group1), "OpenCompanionBtn");
  companion->setGeometry(504, 12 + kGroupCaptionShift, 137, 25);
  connect(companion, &QPushButton::clicked, this, &TMainForm::OpenCompanionBtnClick);
  layout->addWidget(group1);

  auto* group2 = Named(new QGroupBox(QStringLiteral("查找文本"), sheet), "WtfGroupBox2");
  group2->setFixedHeight(41 + kGroupCaptionShift);
  group2->setMinimumWidth(649);
  QLineEdit* search = linkEdit("WtfSearchEdit", group2);
  search->setGeometry(8, 13 + kGroupCaptionShift, 486, kControlHeight);
  // The search buttons find the box's text in the message grid, from its current cell on.
  auto* next = Named(new QPushButton(QStringLiteral("下一个>(&N)"), group2), "Button1");
  next->setGeometry(504, 11 + kGroupCaptionShift, 65, 25);
  connect(next, &QPushButton::clicked, this, [this] { searchMessages(true); });
  auto* previous = Named(new QPushButton(QStringLiteral("上一个(&P)"), group2), "Button2");
  previous->setGeometry(576, 10 + kGroupCaptionShift, 65, 25);
  connect(previous, &QPushButton::clicked, this, [this] { searchMessages(false); });
  connect(search, &QLineEdit::returnPressed, this, [this] { searchMessages(true); });
  layout->addWidget(group2);
  return sheet;
}

QWidget* TMainForm::buildAboutPage() {
  auto* sheet = new QWidget;
  sheet->setMinimumSize(657, 409);
  auto picture = [sheet](const char* name, const char* file, QRect at) {
    auto* image = Named(new QLabel(sheet), name);
    image->setPixmap(QPixmap(QString::fromLatin1(file)));
    image->setGeometry(at);
  };
  picture("Image4", ":/about-banner.png", QRect(24, 8, 273, 62));
  picture("Image2", ":/about-sheet.png", QRect(8, 96, 149, 213));
  picture("Image1", ":/about-gate.png", QRect(176, 104, 134, 205));

  auto* text = Named(new QPlainTextEdit(sheet), "RichEdit1");
  text->setGeometry(320, 8, 329, 393);
  text->setReadOnly(true);
  text->setAttribute(Qt::WA_InputMethodEnabled, false);
  text->setLineWrapMode(QPlainTextEdit::NoWrap);
  text->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
  QPalette palette = text->palette();
  palette.setColor(QPalette::Base, palette.color(QPalette::Button));
  text->setPalette(palette);
  QFont font = text->font();
  font.setPointSize(10);
  text->setFont(font);
  QStringList lines;
  for (const std::string& line : AboutLines()) lines << Utf8(line);
  text->setPlainText(lines.join(QLatin1Char('\n')));

  // The line buffer of Export: never shown.
  memoTxt_ = Named(new QPlainTextEdit(sheet), "MemoTxt");
  memoTxt_->setGeometry(192, 72, 41, 25);
  memoTxt_->setVisible(false);
  return sheet;
}

QLineEdit* TMainForm::linkEdit(const char* name, QWidget* parent, bool readOnly) {
  auto* edit = Named(new QLineEdit(parent), name);
  edit->setFixedHeight(kControlHeight);
  edit->setReadOnly(readOnly);
  auto link = std::make_unique<EditLink>();
  link->name = name;
  link->edit = edit;
  if (const std::string* box = state_.EditBox(name)) link->shown = *box;
  edit->setText(Decode(link->shown));
  EditLink* raw = link.get();
  connect(edit, &QLineEdit::textEdited, this,
          [this, raw](const QString& text) { onEditTyped(*raw, text); });
  edits_.push_back(std::move(link));
  return edit;
}

QPushButton* TMainForm::linkModButton(const char* name, ot::Button* button,
                                      void (TMainForm::*click)(), QWidget* parent) {
  auto* widget = Named(new QPushButton(QStringLiteral("修正"), parent), name);
  widget->setFixedSize(73, kControlHeight);
  widget->setEnabled(button->Enabled);
  connect(widget, &QPushButton::clicked, this, click);
  buttons_.push_back({button, widget});
  return widget;
}

void TMainForm::onEditTyped(EditLink& link, const QString& text) {
  std::string* box = state_.EditBox(link.name);
  if (!box) return;
  // Only what the user types is encoded: a box filled from a cell keeps the cell's bytes.
  std::optional<std::string> bytes = ot::TryUtf8ToCp936(text.toStdString());
  link.invalid = !bytes;
  link.edit->setStyleSheet(link.invalid ? QStringLiteral("color: #c00000;") : QString());
  link.edit->setToolTip(link.invalid ? kUnencodableText : QString());
  if (!bytes) return;
  *box = std::move(*bytes);
  link.shown = *box;
}

bool TMainForm::editIsValid(const char* name) {
  for (const auto& link : edits_)
    if (link->name == name) return !link->invalid;
  return true;
}

void TMainForm::commitPendingEdits() {
  for (GridView* view : views_)
    if (view) view->commitEdit();
}

void TMainForm::showStatusMessage(const QString& text) { statusBar()->showMessage(text, 10000); }

void TMainForm::refreshFromState() {
  for (int page = 0; page < ot::kPageCount; ++page) {
    GridView* view = views_[static_cast<size_t>(page)];
    if (!view) continue;
    view->gridModel()->refresh();
    // Number cells are marked once a table is shown; the empty grid at start is not checked.
    const ot::TableUnit* unit = state_.UnitOfPage(page);
    view->gridModel()->setNumberColumns(opened_[static_cast<size_t>(page)] && unit
                                            ? unit->NumberColumns(state_)
                                            : std::vector<int>{});
  }
  for (const auto& link : edits_) {
    const std::string* box = state_.EditBox(link->name);
    if (!box || *box == link->shown) continue;
    link->shown = *box;
    link->edit->setText(Decode(*box));
    link->invalid = false;
    link->edit->setStyleSheet(QString());
    link->edit->setToolTip(QString());
  }
  for (const ButtonLink& b : buttons_) b.widget->setEnabled(b.button->Enabled);
  for (size_t i = 0; i < panels_.size(); ++i) {
    const QString text = QString::fromStdString(state_.StatusPanels[i]);
    panels_[i]->setText(text);
    panels_[i]->setToolTip(text);
  }
  QStringList memo;
  for (const std::string& line : state_.MemoTxt) memo << Decode(line);
  const QString memoText = memo.join(QLatin1Char('\n'));
  if (memoTxt_->toPlainText() != memoText) memoTxt_->setPlainText(memoText);
  if (state_.ActivePageIndex >= 0 && state_.ActivePageIndex < ot::kPageCount)
    pageC_->setCurrentIndex(state_.ActivePageIndex);
  updateRecordView();
}

void TMainForm::OpenBtnClick() {
  commitPendingEdits();
  OpenGuardPort guard(port(), [this](int page) { return confirmReplace(page); });
  ot::OpenOutcome outcome = ot::OpenOutcome::Refused;
  try {
    outcome = ot::OpenBtnClick(state_, guard);  // reports its own refusals
  } catch (const std::exception& e) {
    refreshFromState();
    port().ShowError(Utf8(e.what()) + u'.');
  }
  if (outcome == ot::OpenOutcome::Opened) {
    // The page shows a new table: its history starts afresh, and its number cells are marked.
    const int page = state_.ActivePageIndex;
    if (QUndoStack* stack = undoStack(page)) {
      opened_[static_cast<size_t>(page)] = true;
      stack->clear();
      stack->setClean();
    }
  }
  refreshFromState();
}

ot::SaveOutcome TMainForm::runSaving(ot::SaveOutcome (*command)(ot::TEditorState&, ot::UserPort&)) {
  commitPendingEdits();
  try {
    const ot::SaveOutcome outcome = command(state_, port());
    refreshFromState();
    return outcome;
  } catch (const ot::ConversionError& e) {
    refreshFromState();
    port().ShowError(Utf8(e.what()) + u'.');
    // Then the cell that stopped the save is shown, selected, for the user to mend.
    if (GridView* view = gridView(e.Page)) {
      view->showCell(e.Col, e.Row);
      view->setFocus(Qt::OtherFocusReason);
    }
  } catch (const std::exception& e) {
    refreshFromState();
    port().ShowError(Utf8(e.what()) + u'.');
  }
  return ot::SaveOutcome::Refused;
}

void TMainForm::SaveBtnClick() {
  const int page = state_.ActivePageIndex;
  if (runSaving(&ot::SaveBtnClick) == ot::SaveOutcome::Saved)
    if (QUndoStack* stack = undoStack(page)) stack->setClean();
}

void TMainForm::ExportBtnClick() {
  // Export writes the table itself on the pages without a text list: that is a save.
  const int page = state_.ActivePageIndex;
  const ot::TableUnit* unit = state_.UnitOfPage(page);
  const bool writesTable = unit && unit->ExportKindOf(state_) == ot::ExportKind::TableFile;
  if (runSaving(&ot::ExportBtnClick) == ot::SaveOutcome::Saved && writesTable)
    if (QUndoStack* stack = undoStack(page)) stack->setClean();
}

void TMainForm::About1Click() {
  state_.ActivePageIndex = ot::kAboutPage;
  refreshFromState();
}

void TMainForm::OpenCompanionBtnClick() {
  QString program = QStandardPaths::findExecutable(kCompanionProgram);
  if (program.isEmpty())
    program = QStandardPaths::findExecutable(kCompanionProgram,
                                             {QCoreApplication::applicationDirPath()});
  if (program.isEmpty()) {
    showStatusMessage(QStringLiteral("找不到配套编辑器 %1").arg(kCompanionProgram));
    return;
  }
  // Neither waited for nor tracked; the data directory is neither created nor checked.
  const QString dataDir = QString::fromStdString(state_.DataDir);
  if (!QProcess::startDetached(program, {}, dataDir))
    showStatusMessage(QStringLiteral("无法启动 %1 (工作目录 %2)").arg(program, dataDir));
}

void TMainForm::runModCommand(int page, const ot::RememberedCell& cell,
                              void (*command)(ot::TEditorState&)) {
  ot::StringGrid* grid = state_.GridOfPage(page);
  const int col = cell.Col;
  const int row = cell.Row;
  const bool known = cell.Valid && grid && grid->Contains(col, row);
  const std::string before = known ? grid->Cells(col, row) : std::string();
  command(state_);
  if (known && grid->Contains(col, row) && grid->Cells(col, row) != before) {
    std::string after = grid->Cells(col, row);
    grid->Cells(col, row) = before;  // the history's step writes it again
    pushChanges(page, {{col, row, before, std::move(after)}}, QStringLiteral("修正"));
  }
  refreshFromState();
}

void TMainForm::TextModBtnClick() {
  commitPendingEdits();
  if (!editIsValid("TextEdit")) {
    showStatusMessage(kUnencodableText);
    return;
  }
  runModCommand(ot::kTextPage, state_.TextCell, &ot::TextModBtnClick);
}

void TMainForm::SlideModBtnClick() {
  commitPendingEdits();
  if (!editIsValid("SlideEdit")) {
    showStatusMessage(kUnencodableText);
    return;
  }
  runModCommand(ot::kSlidePage, state_.SlideCell, &ot::SlideModBtnClick);
}

QUndoStack* TMainForm::undoStack(int page) const {
  return page >= 0 && page < ot::kPageCount ? stacks_[static_cast<size_t>(page)] : nullptr;
}

bool TMainForm::isPageModified(int page) const {
  const QUndoStack* stack = undoStack(page);
  return stack && !stack->isClean();
}

void TMainForm::pushChanges(int page, std::vector<ot::CellChange> changes, const QString& text) {
  QUndoStack* stack = undoStack(page);
  GridView* view = gridView(page);
  if (!stack || !view) return;
  std::erase_if(changes, [](const ot::CellChange& c) { return c.Before == c.After; });
  if (changes.empty()) return;
  stack->push(new CellChangeCommand(view->gridModel(), std::move(changes), text));
}

void TMainForm::updateModifiedMarks() {
  bool any = false;
  QTabBar* tabs = pageC_->tabBar();
  for (int page = 0; page < ot::kPageCount; ++page) {
    const bool modified = isPageModified(page);
    any = any || modified;
    tabs->setTabTextColor(page, modified ? QColor(0xb0, 0x30, 0x00)
                                         : tabs->palette().color(QPalette::WindowText));
    tabs->setTabToolTip(page, modified ? kUnsavedTip : QString());
  }
  setWindowModified(any);
}

int TMainForm::activeGridPage() const {
  const int page = state_.ActivePageIndex;
  return gridView(page) ? page : -1;
}

int TMainForm::editablePage() {
  const int page = activeGridPage();
  if (page < 0) {
    showStatusMessage(kNoGridText);
    return -1;
  }
  if (!gridView(page)->gridModel()->editable()) {
    showStatusMessage(kReadOnlyGridText);
    return -1;
  }
  return page;
}

bool TMainForm::savePage(int page) {
  state_.ActivePageIndex = page;
  refreshFromState();
  SaveBtnClick();
  return !isPageModified(page);
}

bool TMainForm::settleUnsaved(int page) {
  if (!isPageModified(page)) return true;
  switch (port().AskUnsaved(pageC_->tabText(page))) {
    case UnsavedAnswer::Save:
      return savePage(page);
    case UnsavedAnswer::Discard:
      return true;
    case UnsavedAnswer::Cancel:
      break;
  }
  return false;
}

ot::ReplaceAnswer TMainForm::confirmReplace(int page) {
  if (!isPageModified(page)) return ot::ReplaceAnswer::Replace;
  if (!settleUnsaved(page)) return ot::ReplaceAnswer::Keep;
  // Settled by discarding (the changes are still there) or by a save, which may have written
  // the very file about to be opened: then Open looks at it anew.
  return isPageModified(page) ? ot::ReplaceAnswer::Replace : ot::ReplaceAnswer::ReplaceAfterSaving;
}

void TMainForm::closeEvent(QCloseEvent* event) {
  commitPendingEdits();
  for (int page = 0; page < ot::kPageCount; ++page) {
    if (!settleUnsaved(page)) {
      event->ignore();
      return;
    }
  }
  event->accept();
}

void TMainForm::copyCells() {
  const int page = activeGridPage();
  if (page < 0) return;
  GridView* view = gridView(page);
  view->commitEdit();
  const std::optional<CellRect> rect = SelectedRect(view);
  if (!rect) {
    showStatusMessage(QStringLiteral("只能复制一个矩形区域"));
    return;
  }
  const ot::StringGrid& grid = view->gridModel()->grid();
  ot::GridRows rows;
  for (int r = rect->top; r <= rect->bottom; ++r) {
    auto& line = rows.emplace_back();
    for (int c = rect->left; c <= rect->right; ++c)
      line.push_back(grid.Contains(c, r) ? grid.Cells(c, r) : std::string());
  }
  try {
    const std::string text = ot::WriteRowsText(rows, ot::GridFormat::Tsv, ot::GridEncoding::Utf8);
    QGuiApplication::clipboard()->setText(Utf8(text));
    showStatusMessage(QStringLiteral("已复制 %1 行 %2 列").arg(rect->rows()).arg(rect->cols()));
  } catch (const std::exception& e) {
    showStatusMessage(QStringLiteral("无法复制: %1").arg(Utf8(e.what())));
  }
}

void TMainForm::pasteCells() {
  const int page = editablePage();
  if (page < 0) return;
  GridView* view = gridView(page);
  view->commitEdit();
  const QString clip = QGuiApplication::clipboard()->text();
  if (clip.isEmpty()) return;
  ot::GridRows rows;
  try {
    rows = ot::ReadGridText(clip.toStdString(), ot::GridFormat::Tsv, ot::GridEncoding::Utf8);
  } catch (const std::exception& e) {
    showStatusMessage(QStringLiteral("无法粘贴: %1").arg(Utf8(e.what())));
    return;
  }
  if (rows.empty()) return;
  std::optional<CellRect> rect = SelectedRect(view);
  if (!rect) {
    showStatusMessage(QStringLiteral("只能粘贴到一个矩形区域"));
    return;
  }
  const ot::StringGrid& grid = view->gridModel()->grid();
  std::vector<ot::CellChange> changes;
  bool clipped = false;
  const int left = std::max(1, rect->left);
  auto put = [&](int c, int r, const std::string& text) {
    if (c < 1 || !grid.Contains(c, r) || r < 1) {
      clipped = true;
      return;
    }
    changes.push_back({c, r, grid.Cells(c, r), text});
  };
  if (rows.size() == 1 && rows[0].size() == 1 && rect->rows() * rect->cols() > 1) {
    // One cell pasted onto a range fills the range.
    for (int r = rect->top; r <= rect->bottom; ++r)
      for (int c = left; c <= rect->right; ++c) put(c, r, rows[0][0]);
  } else {
    for (size_t i = 0; i < rows.size(); ++i)
      for (size_t j = 0; j < rows[i].size(); ++j)
        put(left + static_cast<int>(j), rect->top + static_cast<int>(i), rows[i][j]);
  }
  pushChanges(page, std::move(changes), QStringLiteral("粘贴"));
  if (clipped) showStatusMessage(QStringLiteral("粘贴的内容超出表格,超出的部分已忽略"));
}

void TMainForm::clearCells() {
  const int page = editablePage();
  if (page < 0) return;
  GridView* view = gridView(page);
  const ot::StringGrid& grid = view->gridModel()->grid();
  std::vector<ot::CellChange> changes;
  QModelIndexList cells = view->selectionModel()->selectedIndexes();
  if (cells.isEmpty() && view->currentIndex().isValid()) cells << view->currentIndex();
  std::sort(cells.begin(), cells.end());
  for (const QModelIndex& i : cells) {
    const int c = i.column();
    const int r = i.row() + 1;
    if (c >= 1 && grid.Contains(c, r)) changes.push_back({c, r, grid.Cells(c, r), std::string()});
  }
  pushChanges(page, std::move(changes), QStringLiteral("清除"));
}

void TMainForm::showFindBar() {
  if (activeGridPage() < 0) showStatusMessage(kNoGridText);
  findBar_->activate();
}

bool TMainForm::findFrom(int page, const QString& text, ot::SearchOptions options, bool forward) {
  GridView* view = gridView(page);
  if (!view) return false;
  if (text.isEmpty()) {
    showStatusMessage(QStringLiteral("请输入要查找的文字"));
    return false;
  }
  const QModelIndex current = view->currentIndex();
  const ot::CellPos from = current.isValid() ? ot::CellPos{current.column(), current.row() + 1}
                                             : ot::CellPos{-1, -1};
  const std::string needle = text.toStdString();
  const auto found = ot::FindCell(view->gridModel()->grid(), needle, from, forward, options);
  if (!found) {
    showStatusMessage(QStringLiteral("找不到 \"%1\"").arg(text));
    return false;
  }
  view->showCell(found->Col, found->Row);
  statusBar()->clearMessage();
  return true;
}

void TMainForm::findInPage(bool forward) {
  const int page = activeGridPage();
  if (page < 0) {
    showStatusMessage(kNoGridText);
    return;
  }
  if (findBar_->findText().isEmpty()) {
    findBar_->activate();
    return;
  }
  findFrom(page, findBar_->findText(), findBar_->options(), forward);
}

std::optional<TMainForm::ReplaceRequest> TMainForm::replaceRequest() {
  const int page = editablePage();
  if (page < 0) return std::nullopt;
  const QString text = findBar_->findText();
  if (text.isEmpty()) {
    findBar_->activate();
    return std::nullopt;
  }
  gridView(page)->commitEdit();
  std::string replacement = findBar_->replaceText().toStdString();
  if (!ot::TryUtf8ToCp936(replacement)) {
    showStatusMessage(kUnencodableText);
    return std::nullopt;
  }
  return ReplaceRequest{page, text, std::move(replacement)};
}

void TMainForm::replaceInPage() {
  const std::optional<ReplaceRequest> request = replaceRequest();
  if (!request) return;
  const int page = request->page;
  GridView* view = gridView(page);
  const std::string needle = request->find.toStdString();
  const std::string& replacement = request->replacement;
  const QModelIndex current = view->currentIndex();
  const int c = current.column();
  const int r = current.row() + 1;
  const ot::StringGrid& grid = view->gridModel()->grid();
  // The current cell is replaced when it matches; then the next match is shown.
  if (current.isValid() && c >= 1 && grid.Contains(c, r) &&
      ot::CellMatches(grid.Cells(c, r), needle, findBar_->options())) {
    if (auto after = ot::ReplaceInCell(grid.Cells(c, r), needle, replacement, findBar_->options())) {
      pushChanges(page, {{c, r, grid.Cells(c, r), std::move(*after)}}, QStringLiteral("替换"));
    } else {
      showStatusMessage(QStringLiteral("这个单元格的文字无法替换(含有无法解码的字节)"));
      return;
    }
  }
  findFrom(page, request->find, findBar_->options(), true);
}

void TMainForm::replaceAllInPage() {
  const std::optional<ReplaceRequest> request = replaceRequest();
  if (!request) return;
  const int page = request->page;
  std::vector<ot::CellChange> changes =
      ot::ReplaceAll(gridView(page)->gridModel()->grid(), request->find.toStdString(),
                     request->replacement, findBar_->options());
  if (changes.empty()) {
    showStatusMessage(QStringLiteral("找不到 \"%1\"").arg(request->find));
    return;
  }
  const qsizetype count = static_cast<qsizetype>(changes.size());
  pushChanges(page, std::move(changes), QStringLiteral("全部替换"));
  showStatusMessage(QStringLiteral("已替换 %1 个单元格").arg(count));
}

void TMainForm::searchMessages(bool forward) {
  const auto* box = findChild<QLineEdit*>(QStringLiteral("WtfSearchEdit"));
  if (!box) return;
  if (findFrom(ot::kMessagePage, box->text(), ot::SearchOptions{}, forward))
    gridView(ot::kMessagePage)->setFocus(Qt::OtherFocusReason);
}

void TMainForm::goToRow() {
  const int page = activeGridPage();
  if (page < 0) {
    showStatusMessage(kNoGridText);
    return;
  }
  GridView* view = gridView(page);
  const int last = view->gridModel()->rowCount();
  if (last < 1) return;
  const QModelIndex current = view->currentIndex();
  const std::optional<int> row = port().AskRow(current.isValid() ? current.row() + 1 : 1, last);
  if (!row || *row < 1 || *row > last) return;
  const int col = current.isValid() && current.column() >= 1 ? current.column() : 1;
  view->showCell(std::min(col, view->gridModel()->columnCount() - 1), *row);
  view->setFocus(Qt::OtherFocusReason);
}

void TMainForm::exportCsv() {
  const int page = activeGridPage();
  if (page < 0) {
    showStatusMessage(kNoGridText);
    return;
  }
  commitPendingEdits();
  try {
    const std::string text = ot::WriteGridText(*state_.GridOfPage(page), ot::GridFormat::Csv,
                                               ot::GridEncoding::Utf8);
    const auto path = port().ChooseFile(ot::FileDialog::CsvExport);
    if (!path) return;
    ot::WriteFileAtomically(*path, text);
    showStatusMessage(QStringLiteral("已导出到 %1").arg(QFile::decodeName(path->c_str())));
  } catch (const std::exception& e) {
    port().ShowError(Utf8(e.what()) + u'.');
  }
}

void TMainForm::importCsv() {
  const int page = editablePage();
  if (page < 0) return;
  commitPendingEdits();
  const auto path = port().ChooseFile(ot::FileDialog::CsvImport);
  if (!path) return;
  GridModel* model = gridView(page)->gridModel();
  try {
    const ot::FileProbe probe = ot::ProbeFile(*path);
    if (probe.Size < 0) throw ot::FileError("cannot read " + *path + ": " + probe.Reason);
    if (probe.Size > kMaxCsvFile) throw ot::FileError(*path + " is too large for a grid");
    const std::vector<uint8_t> bytes = ot::ReadWholeFile(*path, probe.Size);
    const ot::GridRows rows =
        ot::ReadGridText(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
                         ot::GridFormat::Csv, ot::GridEncoding::Utf8);
    ot::StringGrid before = model->grid();
    ot::ApplyGridRows(state_, page, rows);  // checks the shape before it changes a cell
    ot::StringGrid after = model->grid();
    if (before.RowCount() == after.RowCount()) {
      // The same shape: the step holds only the cells that changed.
      std::vector<ot::CellChange> changes;
      for (int r = 1; r < after.RowCount(); ++r)
        for (int c = 0; c < after.ColCount(); ++c)
          if (before.Cells(c, r) != after.Cells(c, r))
            changes.push_back({c, r, before.Cells(c, r), after.Cells(c, r)});
      model->grid() = std::move(before);
      pushChanges(page, std::move(changes), QStringLiteral("导入 CSV"));
    } else {
      undoStack(page)->push(new GridReplaceCommand(model, std::move(before), std::move(after),
                                                   QStringLiteral("导入 CSV")));
    }
    refreshFromState();
    showStatusMessage(QStringLiteral("已从 %1 导入").arg(QFile::decodeName(path->c_str())));
  } catch (const std::exception& e) {
    refreshFromState();
    port().ShowError(Utf8(e.what()) + u'.');
  }
}

QString TMainForm::recordViewText() const { return recordView_->toPlainText(); }

void TMainForm::updateRecordView() {
  if (!recordDock_ || !recordDock_->isVisible()) return;
  const int page = activeGridPage();
  QString text;
  if (page < 0) {
    text = kNoGridText;
  } else if (!opened_[static_cast<size_t>(page)]) {
    text = QStringLiteral("这一页还没有打开表格");
  } else {
    const QModelIndex current = gridView(page)->currentIndex();
    const int row = current.isValid() ? current.row() + 1 : 1;
    const ot::TableUnit* unit = state_.UnitOfPage(page);
    const auto bytes = unit ? unit->RecordBytes(state_, row) : std::nullopt;
    if (!bytes) {
      text = QStringLiteral("第 %1 行没有对应的记录").arg(row);
    } else {
      text = QStringLiteral("第 %1 行的记录, %2 字节 (解扰后, 取自上次打开或保存)\n\n")
                 .arg(row)
                 .arg(bytes->size()) +
             Utf8(ot::HexDump(*bytes));
    }
  }
  if (recordView_->toPlainText() != text) recordView_->setPlainText(text);
}

bool TMainForm::saveScreenshots(const QString& dir) {
  if (!QDir().mkpath(dir)) return false;
  const int shown = pageC_->currentIndex();
  bool ok = true;
  for (int page = 0; page < pageC_->count(); ++page) {
    pageC_->setCurrentIndex(page);
    QCoreApplication::processEvents();
    QString name = pageC_->tabText(page).toLower();
    name.replace(QLatin1Char('.'), QLatin1Char('-'));
    const QString path = QStringLiteral("%1/%2-%3.png").arg(dir).arg(page, 2, 10, QLatin1Char('0')).arg(name);
    ok = grab().save(path) && ok;
  }
  pageC_->setCurrentIndex(shown);
  return ok;
}
