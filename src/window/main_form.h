// The main window TMainForm: the page control PageC with one page per table and the About
// page, the toolbar, the menu, the status bar and the dialogs, over the core's editor state.
// Every control carries its name as objectName and accessibleName. The window shows the state
// and feeds user input back into it; after every command it shows the state anew.
#pragma once

#include <QMainWindow>
#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "frame/cell_change.h"
#include "frame/commands.h"
#include "frame/grid_search.h"
#include "frame/editor_state.h"

class FindBar;
class GridView;
class QDockWidget;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QUndoGroup;
class QUndoStack;
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

  // The undo history of a page's grid; nullptr for the About page.
  QUndoStack* undoStack(int page) const;
  // Whether the page's grid has changes not saved since it was opened or saved.
  bool isPageModified(int page) const;
  FindBar* findBar() const { return findBar_; }
  // The record view's text (the hexadecimal bytes of the current row's record).
  QString recordViewText() const;

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
  // The Edit menu, on the active page's grid.
  void copyCells();
  void pasteCells();
  void clearCells();
  void showFindBar();
  void findInPage(bool forward);
  void replaceInPage();
  void replaceAllInPage();
  void goToRow();
  // The File menu's spreadsheet interchange of the active page's grid.
  void exportCsv();
  void importCsv();
  // The message page's search box and its buttons ("下一个>(&N)", "上一个(&P)").
  void searchMessages(bool forward);
  // Shows the state: grids, edit boxes, buttons, status bar, export buffer, active page.
  void refreshFromState();

 protected:
  void closeEvent(QCloseEvent* event) override;

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
  ot::SaveOutcome runSaving(ot::SaveOutcome (*command)(ot::TEditorState&, ot::UserPort&));
  // Runs a "修正" command and records the cell it changed in the page's history.
  void runModCommand(int page, const ot::RememberedCell& cell, void (*command)(ot::TEditorState&));
  // Applies changes to a page's grid as one step of its history (no-op changes dropped).
  void pushChanges(int page, std::vector<ot::CellChange> changes, const QString& text);
  // The page shown when it has a grid, else -1.
  int activeGridPage() const;
  // The active grid page when its grid may be edited; else -1 with a status message.
  int editablePage();
  // Asks what becomes of a modified page's changes and saves when told to; false when the
  // changes are still unsaved (cancelled, or the save did not happen).
  bool settleUnsaved(int page);
  // Saves the page as Save does (its dialog included); true when it has no unsaved changes.
  bool savePage(int page);
  ot::ReplaceAnswer confirmReplace(int page);
  // A replace's page (the editable active one), text and replacement from the find bar, with
  // the grid's open edit committed; nullopt, the reason shown, when there is none to do.
  struct ReplaceRequest {
    int page;
    QString find;
    std::string replacement;  // UTF-8, known to fit code page 936
  };
  std::optional<ReplaceRequest> replaceRequest();
  // Searches the page's grid from its current cell and shows the cell found.
  bool findFrom(int page, const QString& text, ot::SearchOptions options, bool forward);
  void updateModifiedMarks();
  void updateRecordView();
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
  QUndoGroup* undoGroup_ = nullptr;
  std::array<QUndoStack*, ot::kPageCount> stacks_{};
  std::array<bool, ot::kPageCount> opened_{};  // a file of the page's table was opened
  FindBar* findBar_ = nullptr;
  QDockWidget* recordDock_ = nullptr;
  QPlainTextEdit* recordView_ = nullptr;
};
