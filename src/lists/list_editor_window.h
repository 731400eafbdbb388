#pragma once

#include <QDialog>
#include <QPrinter>
#include <QTableView>
#include <atomic>
#include <cstdint>

#include "lists/list_editor.h"
#include "lists/list_table_model.h"

class QAction;
class QLabel;
class QMenu;
class QMenuBar;
class QProgressBar;
class QPushButton;

namespace kavrel {

// The table view of "高级表格_名单": asks the window before the cell editor opens, so the edit
// guard can run first.
class ListTableView : public QTableView {
  Q_OBJECT

 public:
  using QTableView::QTableView;
  std::function<bool(const QModelIndex&)> beforeEdit;
  int ContentWidth(int column) const { return sizeHintForColumn(column); }

 protected:
  bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
};

// "编辑抽奖人员名单": the participant table with its import, tools, printing and save. The window
// only shows the table and passes the menu items to ListEditor; long work runs on a worker thread
// while the progress bar moves and the window keeps painting.
class ListEditorWindow : public QDialog, private WorkRunner {
  Q_OBJECT

 public:
  explicit ListEditorWindow(ListEditorContext context, QWidget* parent = nullptr);
  ~ListEditorWindow() override;

  ListEditor& Editor() { return editor_; }
  ListTableModel& Model() { return model_; }
  QTableView* TableView() const { return view_; }

  // Shows the table again after the editor changed it from outside the menus; new data columns are
  // widened to their contents.
  void RefreshTable(bool fitColumns);

  // The menu items, by their texts' command (also reachable from tests).
  void ClearAll();
  void OpenGenerator();
  void ImportText();
  void ImportWorkbook();
  void Save();
  void Print();
  void PrintSetup();
  void CutCells();
  void CopyCells();
  void PasteCells();
  void DeleteRow();
  void FindNext();
  void SelectAllCells();

 public slots:
  void reject() override;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  // WorkRunner
  void Run(const std::function<void()>& work) override;

  void BuildMenus();
  QAction* AddItem(QMenu* menu, const char* text, void (ListEditorWindow::*slot)(),
                   const QKeySequence& key = QKeySequence());
  void AfterCommand(void (ListEditor::*command)());
  void ShowTable();
  void ApplyColumnWidths();
  void FitDataColumns();
  bool SelectedRange(int& row0, int& col0, int& row1, int& col1) const;
  void EditorClosed();

  ListEditor editor_;
  ListTableModel model_;
  ListTableView* view_ = nullptr;
  QLabel* countLine_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QPushButton* cancelRead_ = nullptr;
  QMenuBar* menuBar_ = nullptr;
  QMenu* fileMenu_ = nullptr;
  QMenu* editMenu_ = nullptr;
  QAction* autoDedupe_ = nullptr;
  QPrinter printer_;
  bool busy_ = false;
  // A workbook read: the next work run may be cancelled, and the reader reports its progress here
  // from the worker thread; the window shows it on a timer.
  bool nextRunCancellable_ = false;
  std::atomic<bool> cancelRequested_{false};
  std::atomic<std::int64_t> readDone_{0};
  std::atomic<std::int64_t> readTotal_{0};
};

}  // namespace kavrel
