#include "window/main_form.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
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
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "frame/cell_editing.h"
#include "frame/cp936.h"
#include "frame/errors.h"
#include "frame/version.h"
#include "window/file_open.h"
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
  setWindowTitle(Utf8(ot::kWindowCaption));
  setWindowIcon(QIcon(QStringLiteral(":/app.png")));
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

  FormCreate();
  new FileDropOpener(this);
  resize(kDesignWidth, kDesignHeight + menuBar()->sizeHint().height());
  move(254, 196);
}

TMainForm::~TMainForm() {
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
  item(file, "Exit1", exit, exitIcon, QKeySequence(Qt::CTRL | Qt::Key_X));
  // Help's own shortcut Ctrl+A does nothing, so it is left to the edit boxes and grids
  // (select all) instead of being taken by the menu.
  QMenu* help = Named(menu->addMenu(QStringLiteral("&Help")), "Help1");
  item(help, "About1", about, aboutIcon, QKeySequence(Qt::CTRL | Qt::Key_H));
}

void TMainForm::buildPages() {
  pageC_ = Named(new QTabWidget(this), "PageC");
  pageC_->setUsesScrollButtons(true);
  pageC_->setElideMode(Qt::ElideNone);
  setCentralWidget(pageC_);
  for (int page = 0; page < ot::kPageCount; ++page) {
    const PageInfo& info = Pages()[static_cast<size_t>(page)];
    QWidget* sheet = page == ot::kFilterPage    ? buildFilterPage()
                     : page == ot::kMessagePage ? buildMessagePage()
                     : page == ot::kAboutPage   ? buildAboutPage()
                                                : buildGridPage(page);
    Named(sheet, info.sheet);
    pageC_->addTab(sheet, QString::fromLatin1(info.caption));
  }
  connect(pageC_, &QTabWidget::currentChanged, this,
          [this](int index) { state_.ActivePageIndex = index; });
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
  // The search buttons have no behaviour.
  Named(new QPushButton(QStringLiteral("下一个>(&N)"), group2), "Button1")
      ->setGeometry(504, 11 + kGroupCaptionShift, 65, 25);
  Named(new QPushButton(QStringLiteral("上一个(&P)"), group2), "Button2")
      ->setGeometry(576, 10 + kGroupCaptionShift, 65, 25);
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
  for (GridView* view : views_)
    if (view) view->gridModel()->refresh();
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
}

void TMainForm::OpenBtnClick() {
  commitPendingEdits();
  try {
    ot::OpenBtnClick(state_, port());  // reports its own refusals
  } catch (const std::exception& e) {
    refreshFromState();
    port().ShowError(Utf8(e.what()) + u'.');
  }
  refreshFromState();
}

void TMainForm::runSaving(ot::SaveOutcome (*command)(ot::TEditorState&, ot::UserPort&)) {
  commitPendingEdits();
  try {
    command(state_, port());
    refreshFromState();
  } catch (const ot::ConversionError& e) {
    refreshFromState();
    if (GridView* view = gridView(e.Page)) view->showCell(e.Col, e.Row);
    port().ShowError(Utf8(e.what()) + u'.');
  } catch (const std::exception& e) {
    refreshFromState();
    port().ShowError(Utf8(e.what()) + u'.');
  }
}

void TMainForm::SaveBtnClick() { runSaving(&ot::SaveBtnClick); }

void TMainForm::ExportBtnClick() { runSaving(&ot::ExportBtnClick); }

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

void TMainForm::TextModBtnClick() {
  commitPendingEdits();
  if (!editIsValid("TextEdit")) {
    showStatusMessage(kUnencodableText);
    return;
  }
  ot::TextModBtnClick(state_);
  refreshFromState();
}

void TMainForm::SlideModBtnClick() {
  commitPendingEdits();
  if (!editIsValid("SlideEdit")) {
    showStatusMessage(kUnencodableText);
    return;
  }
  ot::SlideModBtnClick(state_);
  refreshFromState();
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
