#include "window/find_bar.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

namespace {

template <class W>
W* Named(W* widget, const char* name) {
  widget->setObjectName(QString::fromLatin1(name));
  widget->setAccessibleName(QString::fromLatin1(name));
  return widget;
}

}  // namespace

FindBar::FindBar(QWidget* parent) : QWidget(parent) {
  Named(this, "FindBar");
  auto* line = new QHBoxLayout(this);
  line->setContentsMargins(4, 2, 4, 2);
  line->setSpacing(6);
  find_ = Named(new QLineEdit(this), "FindEdit");
  find_->setPlaceholderText(QStringLiteral("查找"));
  find_->setClearButtonEnabled(true);
  replace_ = Named(new QLineEdit(this), "ReplaceEdit");
  replace_->setPlaceholderText(QStringLiteral("替换为"));
  replace_->setClearButtonEnabled(true);
  matchCase_ = Named(new QCheckBox(QStringLiteral("区分大小写"), this), "MatchCaseBox");
  wholeCell_ = Named(new QCheckBox(QStringLiteral("整个单元格"), this), "WholeCellBox");
  auto button = [this, line](const char* name, const QString& caption, auto signal) {
    auto* b = Named(new QPushButton(caption, this), name);
    b->setAutoDefault(false);
    connect(b, &QPushButton::clicked, this, signal);
    line->addWidget(b);
  };
  line->addWidget(find_, 2);
  button("FindPrevBtn", QStringLiteral("上一个"), [this] { emit findRequested(false); });
  button("FindNextBtn", QStringLiteral("下一个"), [this] { emit findRequested(true); });
  line->addWidget(matchCase_);
  line->addWidget(wholeCell_);
  line->addWidget(replace_, 2);
  button("ReplaceBtn", QStringLiteral("替换"), [this] { emit replaceRequested(); });
  button("ReplaceAllBtn", QStringLiteral("全部替换"), [this] { emit replaceAllRequested(); });
  auto* close = Named(new QToolButton(this), "FindCloseBtn");
  close->setText(QStringLiteral("×"));
  close->setToolTip(QStringLiteral("关闭 (Esc)"));
  close->setAutoRaise(true);
  connect(close, &QToolButton::clicked, this, &QWidget::hide);
  line->addWidget(close);
  find_->installEventFilter(this);
  connect(find_, &QLineEdit::returnPressed, this, [this] { emit findRequested(true); });
  connect(replace_, &QLineEdit::returnPressed, this, [this] { emit replaceRequested(); });
}

QString FindBar::findText() const { return find_->text(); }

QString FindBar::replaceText() const { return replace_->text(); }

ot::SearchOptions FindBar::options() const {
  ot::SearchOptions o;
  o.MatchCase = matchCase_->isChecked();
  o.WholeCell = wholeCell_->isChecked();
  return o;
}

void FindBar::activate() {
  show();
  find_->setFocus(Qt::ShortcutFocusReason);
  find_->selectAll();
}

void FindBar::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    hide();
    return;
  }
  QWidget::keyPressEvent(event);
}

bool FindBar::eventFilter(QObject* watched, QEvent* event) {
  // Shift+Enter in the find box searches backwards; Enter alone is its returnPressed.
  if (watched == find_ && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
        (key->modifiers() & Qt::ShiftModifier)) {
      emit findRequested(false);
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}
