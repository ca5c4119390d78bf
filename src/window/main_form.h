// The main window TMainForm: the page control PageC with one page per table and the About
// page, the toolbar, the menu, the status bar and the dialogs, over the core's editor state.
// Every control carries its name as objectName and accessibleName. The window shows the state
// and feeds user input back into it; after every command it shows the state anew.
#pragma once

#include <QMainWindow>
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "frame/commands.h"
#include "frame/editor_state.h"

class GridView;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QtUserPort;
class WindowPort;

class TMainForm : public QMainWindow {
  Q_OBJECT

 public:
  explicit TMainForm(QWidget* parent = nullptr);
  ~TMainForm() override;

  ot::TEditorState& state() { return state_; }
  // The dialogs and message boxes the commands use; nullptr restores the Qt dialogs.
  // The port is not owned and must outlive its use.
  void setPort(WindowPort* port);
  GridView* gridView(int page) const;
  // Opens PATH exactly as Open does once its dialog has chosen PATH (file_open.cpp).
  void openFile(const QString& path);
  // Grabs every page into DIR/NN-caption.png; false when a file cannot be written.
  bool saveScreenshots(const QString& dir);

  // The About page's text lines (UTF-8), in order, trailing blanks included.
  static const std::vector<std::string>& AboutLines();

 public slots:
  void OpenBtnClick();
  void SaveBtnClick();
  void ExportBtnClick();
  void About1Click();
  void OpenCompanionBtnClick();
  void TextModBtnClick();
  void SlideModBtnClick();
  // Shows the state: grids, edit boxes, buttons, status bar, export buffer, active page.
  void refreshFromState();

 private:
  struct EditLink {
    std::string name;
    QLineEdit* edit = nullptr;
    std::string shown;     // the bytes the box shows; it is set anew only when they change
    bool invalid = false;  // typed text that code page 936 cannot hold
  };
  struct ButtonLink {
    ot::Button* button;
    QPushButton* widget;
  };

  void FormCreate();
  void buildActions();
  void buildPages();
  QWidget* buildGridPage(int page);
  QWidget* buildFilterPage();
  QWidget* buildMessagePage();
  QWidget* buildAboutPage();
  GridView* buildGrid(int page, QWidget* parent);
  QLineEdit* linkEdit(const char* name, QWidget* parent, bool readOnly = false);
  QPushButton* linkModButton(const char* name, ot::Button* button, void (TMainForm::*click)(),
                             QWidget* parent);
  void onEditTyped(EditLink& link, const QString& text);
  bool editIsValid(const char* name);
  void commitPendingEdits();
  void runSaving(ot::SaveOutcome (*command)(ot::TEditorState&, ot::UserPort&));
  void showStatusMessage(const QString& text);
  WindowPort& port();

  ot::TEditorState state_;
  std::unique_ptr<QtUserPort> qtPort_;
  WindowPort* port_ = nullptr;
  QTabWidget* pageC_ = nullptr;
  std::array<GridView*, ot::kPageCount> views_{};
  std::vector<std::unique_ptr<EditLink>> edits_;
  std::vector<ButtonLink> buttons_;
  std::array<QLabel*, 2> panels_{};
  QPlainTextEdit* memoTxt_ = nullptr;
};
