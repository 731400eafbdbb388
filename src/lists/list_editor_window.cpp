#include "lists/list_editor_window.h"

#include <QAction>
#include <QClipboard>
#include <QCloseEvent>
#include <QEventLoop>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPageSetupDialog>
#include <QPrintPreviewDialog>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTextDocument>
#include <QThread>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>
#include <unordered_set>
#include <utility>

#include "lists/invitations.h"
#include "lists/list_print.h"
#include "lists/number_generator_window.h"
#include "storage/codec.h"
#include "storage/signin_store.h"

namespace kavrel {

namespace {

const char* const kNote =
    "备注：\n"
    "1.表格为空时不可编辑，可通过菜单导入txt或excel格式，txt格式仅显示一列(除行号外)，excel格式可设置多列显示,"
    "导入后可进行修改操作，但不支持新增操作，如需新增请外部修改后重新导入;\n"
    "2.打乱仅对由数字、字母或组合成的单列抽奖名单(如抽奖号码、电话号码、身份证号码)有效，对多列抽奖名单(如工号 + "
    "姓名组合成的抽奖名单)无效;\n"
    "3.导入excel，当数据量较大时导入速度较慢，请根据进度条进度耐心等待，或者根据txt格式模板转成txt格式上传;";

// "导入TXT(T)" is shown with T as its accelerator, chosen by that letter while the menu is open;
// the item keeps the design text as its name.
QString WithAccelerator(const char* text) {
  QString shown = QString::fromUtf8(text);
  static const QRegularExpression letter(QStringLiteral("\\(([A-Z])\\)"));
  const QRegularExpressionMatch m = letter.match(shown);
  if (m.hasMatch()) shown.insert(m.capturedStart(1), QLatin1Char('&'));
  return shown;
}

}  // namespace

bool ListTableView::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
  // Only the triggers that would open the cell editor pass through the guard.
  const bool opens = (editTriggers() & trigger) || trigger == AllEditTriggers;
  if (opens && index.isValid() && state() != EditingState && beforeEdit && !beforeEdit(index)) return false;
  return QTableView::edit(index, trigger, event);
}

ListEditorWindow::ListEditorWindow(ListEditorContext context, QWidget* parent)
    : QDialog(parent), editor_(context, *this), model_(editor_.Table(), font()) {
  setObjectName(QStringLiteral("ListEditorWindow"));
  setWindowTitle(QStringLiteral("编辑抽奖人员名单"));
  setModal(true);

  countLine_ = new QLabel(this);
  countLine_->setObjectName(QStringLiteral("标签1"));
  progress_ = new QProgressBar(this);
  progress_->setObjectName(QStringLiteral("进度条1"));
  progress_->setFixedHeight(15);
  progress_->setTextVisible(false);
  progress_->hide();
  cancelRead_ = new QPushButton(QStringLiteral("取消"), this);
  cancelRead_->setObjectName(QStringLiteral("按钮_取消导入"));
  cancelRead_->setFixedHeight(20);
  // Escape stops the read as the button does; while the button is hidden it closes the window.
  cancelRead_->setShortcut(QKeySequence(Qt::Key_Escape));
  cancelRead_->hide();
  connect(cancelRead_, &QPushButton::clicked, this, [this] { cancelRequested_ = true; });
  auto* hint = new QLabel(QStringLiteral("拖动列表头可调整列宽"), this);
  hint->setObjectName(QStringLiteral("标签3"));
  hint->setWordWrap(true);
  hint->setFixedWidth(44);
  hint->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
  auto* note = new QLabel(QString::fromUtf8(kNote), this);
  note->setObjectName(QStringLiteral("标签_备注"));
  note->setWordWrap(true);

  view_ = new ListTableView(this);
  view_->setObjectName(QStringLiteral("高级表格_名单"));
  view_->setModel(&model_);
  view_->verticalHeader()->hide();
  view_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  view_->verticalHeader()->setDefaultSectionSize(24);
  view_->horizontalHeader()->setDefaultSectionSize(ListTable::kDefaultColumnWidth);
  view_->horizontalHeader()->setHighlightSections(false);
  view_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                         QAbstractItemView::AnyKeyPressed);
  view_->setContextMenuPolicy(Qt::CustomContextMenu);
  view_->beforeEdit = [this](const QModelIndex& index) {
    if (busy_) return false;
    const bool ok = editor_.BeginCellEdit(index.row() + 1, index.column());
    // The save the guard may have run can have removed duplicates: show the table as it is now.
    if (ok && editor_.Table().DataRowCount() != model_.rowCount()) {
      ShowTable();
      return false;
    }
    return ok;
  };
  connect(view_->itemDelegate(), &QAbstractItemDelegate::closeEditor, this, &ListEditorWindow::EditorClosed,
          Qt::QueuedConnection);
  connect(view_->horizontalHeader(), &QHeaderView::sectionResized, this, [this](int column, int, int width) {
    if (!busy_) editor_.Table().SetColumnWidth(column, width);
  });
  connect(view_, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& pos) { editMenu_->popup(view_->viewport()->mapToGlobal(pos)); });

  BuildMenus();

  auto* top = new QHBoxLayout;
  top->addWidget(countLine_, 1);
  // Who signed in on the phones (config\signin.dat): marked beside the row number.
  if (const auto signins = LoadSignins(context.dir); signins && !signins->records.empty()) {
    std::unordered_set<std::string> entries;
    for (const SigninRecord& r : signins->records) entries.insert(r.entry);
    model_.SetSignedIn(std::move(entries));
    auto* signedIn = new QLabel(QStringLiteral("手机签到 %1 人（行号旁标 ✓）").arg(signins->records.size()), this);
    signedIn->setObjectName(QStringLiteral("标签_已签到"));
    top->addWidget(signedIn);
  }
  top->addWidget(progress_, 1);
  top->addWidget(cancelRead_);
  auto* grid = new QGridLayout;
  grid->addLayout(top, 0, 1);
  grid->addWidget(hint, 1, 0, Qt::AlignTop);
  grid->addWidget(view_, 1, 1);
  grid->addWidget(note, 2, 1);
  grid->setRowStretch(1, 1);
  grid->setColumnStretch(1, 1);
  auto* main = new QVBoxLayout(this);
  main->setMenuBar(menuBar_);
  main->addLayout(grid);

  QSize size(800, 600);
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    size = size.boundedTo(screen->availableGeometry().size() - QSize(10, 30));
  resize(size);

  editor_.Open();
  ShowTable();
  if (editor_.ShowsDrawList()) FitDataColumns();
}

ListEditorWindow::~ListEditorWindow() = default;

QAction* ListEditorWindow::AddItem(QMenu* menu, const char* text, void (ListEditorWindow::*slot)(),
                                   const QKeySequence& key) {
  QAction* a = menu->addAction(WithAccelerator(text));
  a->setObjectName(QString::fromUtf8(text));
  if (!key.isEmpty()) {
    a->setShortcut(key);
    a->setShortcutContext(Qt::WindowShortcut);
  }
  if (slot) connect(a, &QAction::triggered, this, slot);
  return a;
}

void ListEditorWindow::BuildMenus() {
  auto* bar = new QMenuBar(this);
  bar->setObjectName(QStringLiteral("菜单栏"));
  fileMenu_ = bar->addMenu(QStringLiteral("名单处理(&F)"));
  fileMenu_->setObjectName(QStringLiteral("名单处理(F)"));
  AddItem(fileMenu_, "清除全部名单(C)", &ListEditorWindow::ClearAll);
  AddItem(fileMenu_, "生成有序号码(L)", &ListEditorWindow::OpenGenerator);
  AddItem(fileMenu_, "导入TXT(T)", &ListEditorWindow::ImportText, QKeySequence(QStringLiteral("Ctrl+T")));
  AddItem(fileMenu_, "导入Excel(E)", &ListEditorWindow::ImportWorkbook, QKeySequence(QStringLiteral("Ctrl+E")));
  fileMenu_->addSeparator();
  connect(AddItem(fileMenu_, "名单转等长(补空格)(M)", nullptr), &QAction::triggered, this,
          [this] { AfterCommand(&ListEditor::PadEqualLength); });
  connect(AddItem(fileMenu_, "姓名2转3(补空格)", nullptr), &QAction::triggered, this,
          [this] { AfterCommand(&ListEditor::PadTwoCharNames); });
  connect(AddItem(fileMenu_, "打乱名单(R)", nullptr), &QAction::triggered, this,
          [this] { AfterCommand(&ListEditor::Shuffle); });
  fileMenu_->addSeparator();
  connect(AddItem(fileMenu_, "删除所有空白行", nullptr), &QAction::triggered, this,
          [this] { AfterCommand(&ListEditor::DeleteBlankRows); });
  connect(AddItem(fileMenu_, "删除重复行", nullptr), &QAction::triggered, this,
          [this] { AfterCommand(&ListEditor::DeleteDuplicateRows); });
  fileMenu_->addSeparator();
  autoDedupe_ = AddItem(fileMenu_, "保存自动删除重复行", nullptr);
  autoDedupe_->setCheckable(true);
  autoDedupe_->setChecked(editor_.AutoDedupe());
  connect(autoDedupe_, &QAction::toggled, this, [this](bool on) { editor_.SetAutoDedupe(on); });
  AddItem(fileMenu_, "保存", &ListEditorWindow::Save);
  AddItem(fileMenu_, "打印设置(U)", &ListEditorWindow::PrintSetup);
  AddItem(fileMenu_, "打印(P)", &ListEditorWindow::Print, QKeySequence(QStringLiteral("Ctrl+P")));
  connect(AddItem(fileMenu_, "签到邀请函(PDF)…", nullptr), &QAction::triggered, this,
          [this] { SaveInvitationsPdf(editor_.Dir(), this); });
  connect(AddItem(fileMenu_, "关闭", nullptr), &QAction::triggered, this, &QWidget::close);

  editMenu_ = bar->addMenu(QStringLiteral("编辑(&E)"));
  editMenu_->setObjectName(QStringLiteral("编辑(E)"));
  AddItem(editMenu_, "剪切(X)", &ListEditorWindow::CutCells, QKeySequence(QStringLiteral("Ctrl+X")));
  AddItem(editMenu_, "复制(C)", &ListEditorWindow::CopyCells, QKeySequence(QStringLiteral("Ctrl+C")));
  AddItem(editMenu_, "粘贴(V)", &ListEditorWindow::PasteCells, QKeySequence(QStringLiteral("Ctrl+V")));
  AddItem(editMenu_, "删除(L)", &ListEditorWindow::DeleteRow, QKeySequence(Qt::Key_Delete));
  editMenu_->addSeparator();
  AddItem(editMenu_, "查找(F)", &ListEditorWindow::FindNext, QKeySequence(QStringLiteral("Ctrl+F")));
  AddItem(editMenu_, "查找下一个(N)", &ListEditorWindow::FindNext, QKeySequence(Qt::Key_F3));
  editMenu_->addSeparator();
  AddItem(editMenu_, "全选(A)", &ListEditorWindow::SelectAllCells, QKeySequence(QStringLiteral("Ctrl+A")));
  bar->setNativeMenuBar(false);
  menuBar_ = bar;
}

void ListEditorWindow::Run(const std::function<void()>& work) {
  // The view reads nothing while the worker owns the table; the window keeps painting meanwhile.
  const bool cancellable = std::exchange(nextRunCancellable_, false);
  busy_ = true;
  model_.SetBusy(true);
  menuBar_->setEnabled(false);
  view_->setEnabled(false);
  progress_->setRange(0, 0);
  progress_->show();
  // A read that reports progress moves the bar; the rest shows it busy.
  QTimer poll;
  poll.setInterval(100);
  connect(&poll, &QTimer::timeout, this, [this] {
    const std::int64_t total = readTotal_;
    if (total <= 0) return;
    progress_->setRange(0, 1000);
    progress_->setValue(static_cast<int>(std::min<std::int64_t>(readDone_, total) * 1000 / total));
  });
  if (cancellable) {
    cancelRead_->setEnabled(true);
    cancelRead_->show();
    poll.start();
  }
  QEventLoop loop;
  QThread* worker = QThread::create(work);
  connect(worker, &QThread::finished, &loop, &QEventLoop::quit);
  worker->start();
  // Only a cancellable read lets input through, so that its button can be pressed; every command
  // checks busy_, and the view and menus are disabled.
  if (!worker->isFinished()) loop.exec(cancellable ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
  worker->wait();
  delete worker;
  poll.stop();
  cancelRead_->hide();
  progress_->hide();
  progress_->setRange(0, 100);
  view_->setEnabled(true);
  menuBar_->setEnabled(true);
  model_.SetBusy(false);
  // The reset gave every column the default width; a question asked after the work (the display
  // columns after the duplicate check) must show the table as the operator laid it out.
  ApplyColumnWidths();
  busy_ = false;
}

void ListEditorWindow::ApplyColumnWidths() {
  const ListTable& table = editor_.Table();
  for (int c = 0; c < table.ColumnCount() && c < model_.columnCount(); ++c)
    view_->setColumnWidth(c, table.ColumnWidth(c));
}

void ListEditorWindow::ShowTable() {
  model_.Reload();
  ApplyColumnWidths();
  countLine_->setText(ToQt(editor_.CountLine()));
}

void ListEditorWindow::AfterCommand(void (ListEditor::*command)()) {
  if (busy_) return;
  (editor_.*command)();
  ShowTable();
}

void ListEditorWindow::RefreshTable(bool fitColumns) {
  ShowTable();
  if (fitColumns) FitDataColumns();
}

void ListEditorWindow::FitDataColumns() {
  // The design's 60-pixel columns would cut every name after the first character: new data get
  // columns wide enough for what they hold (the widths go into the snapshot like dragged ones).
  for (int c = 1; c < model_.columnCount(); ++c)
    view_->setColumnWidth(
        c, std::max({view_->columnWidth(c), view_->ContentWidth(c), view_->horizontalHeader()->sectionSizeHint(c)}));
}

void ListEditorWindow::ClearAll() {
  AfterCommand(&ListEditor::ClearAllAsked);
}

void ListEditorWindow::OpenGenerator() {
  if (busy_) return;
  NumberGeneratorWindow window(editor_, this);
  const bool generated = window.exec() == QDialog::Accepted;
  ShowTable();
  if (generated) FitDataColumns();
}

void ListEditorWindow::ImportText() {
  if (busy_) return;
  const bool imported = editor_.ImportText();
  ShowTable();
  if (imported) FitDataColumns();
}

void ListEditorWindow::ImportWorkbook() {
  if (busy_) return;
  cancelRequested_ = false;
  readDone_ = 0;
  readTotal_ = 0;
  // The questions come first, on this thread; the first work the editor runs is the read.
  nextRunCancellable_ = true;
  const bool imported = editor_.ImportWorkbook(
      [this](std::int64_t done, std::int64_t total) {
        readDone_ = done;
        readTotal_ = total;
      },
      &cancelRequested_);
  nextRunCancellable_ = false;
  ShowTable();
  if (imported) FitDataColumns();
}

void ListEditorWindow::Save() {
  if (busy_) return;
  editor_.Save();
  ShowTable();
}

void ListEditorWindow::PrintSetup() {
  if (busy_) return;
  QPageSetupDialog dialog(&printer_, this);
  dialog.exec();
}

void ListEditorWindow::Print() {
  if (busy_) return;
  // The preview lays out every row at once; a very long list takes a while, so the operator decides.
  constexpr int kQuickRows = 20000;
  const int rows = editor_.Table().DataRowCount();
  if (rows > kQuickRows &&
      editor_.Asker().Message(
          Gb("名单共") + std::to_string(rows) + Gb("行，排版打印预览需要较长时间，期间窗口不能操作。确定要打印吗？"),
          Gb("打印提示："), Buttons::OkCancel, Icon::Question) != Answer::Ok)
    return;
  QPrintPreviewDialog preview(&printer_, this);
  preview.setWindowTitle(QStringLiteral("打印预览"));
  // Qt opens the preview at a small default size: most of the screen shows a page that can be read.
  if (const QScreen* shown = screen()) preview.resize(shown->availableGeometry().size() * 9 / 10);
  // Qt puts 打印 last on the preview's tool bar, where a narrow screen hides it behind "»": it
  // goes first, so the button the operator came for is always on screen.
  if (auto* bar = preview.findChild<QToolBar*>()) {
    const QList<QAction*> actions = bar->actions();
    if (!actions.isEmpty() && !actions.front()->isSeparator()) {
      QAction* print = actions.back();
      bar->removeAction(print);
      bar->insertAction(actions.front(), print);
      bar->insertSeparator(actions.front());
    }
  }
  connect(&preview, &QPrintPreviewDialog::paintRequested, this,
          [this](QPrinter* printer) { BuildPrintDocument(editor_.Table())->print(printer); });
  preview.exec();
}

bool ListEditorWindow::SelectedRange(int& row0, int& col0, int& row1, int& col1) const {
  if (!view_->currentIndex().isValid()) return false;
  const QModelIndexList selected = view_->selectionModel()->selectedIndexes();
  if (selected.isEmpty()) {
    row0 = row1 = view_->currentIndex().row() + 1;
    col0 = col1 = view_->currentIndex().column();
    return true;
  }
  row0 = col0 = INT_MAX;
  row1 = col1 = -1;
  for (const QModelIndex& i : selected) {
    row0 = std::min(row0, i.row() + 1);
    row1 = std::max(row1, i.row() + 1);
    col0 = std::min(col0, i.column());
    col1 = std::max(col1, i.column());
  }
  return true;
}

void ListEditorWindow::CutCells() {
  int r0, c0, r1, c1;
  if (busy_ || !SelectedRange(r0, c0, r1, c1)) return;
  QGuiApplication::clipboard()->setText(ToQt(editor_.Copy(r0, c0, r1, c1)));
  editor_.Cut(r0, c0, r1, c1);
  ShowTable();
}

void ListEditorWindow::CopyCells() {
  int r0, c0, r1, c1;
  if (busy_ || !SelectedRange(r0, c0, r1, c1)) return;
  QGuiApplication::clipboard()->setText(ToQt(editor_.Copy(r0, c0, r1, c1)));
}

void ListEditorWindow::PasteCells() {
  const QModelIndex at = view_->currentIndex();
  if (busy_ || !at.isValid()) return;
  editor_.Paste(at.row() + 1, at.column(), FromQt(QGuiApplication::clipboard()->text()));
  ShowTable();
  view_->setCurrentIndex(model_.index(at.row(), at.column()));
}

void ListEditorWindow::DeleteRow() {
  const QModelIndex at = view_->currentIndex();
  if (busy_ || !at.isValid()) return;
  if (editor_.DeleteRowAsked(at.row() + 1)) ShowTable();
}

void ListEditorWindow::FindNext() {
  if (busy_) return;
  if (const std::optional<int> row = editor_.Find()) {
    const QModelIndex at = model_.index(*row - 1, 1);
    view_->setCurrentIndex(at);
    view_->scrollTo(at);
  }
}

void ListEditorWindow::SelectAllCells() {
  const ListTable& table = editor_.Table();
  if (busy_ || table.DataRowCount() < 1 || table.LastColumn() < 1) return;
  view_->selectionModel()->select(
      QItemSelection(model_.index(0, 1), model_.index(table.DataRowCount() - 1, table.LastColumn())),
      QItemSelectionModel::ClearAndSelect);
}

void ListEditorWindow::EditorClosed() {
  const QModelIndex at = view_->currentIndex();
  if (!at.isValid()) return;
  editor_.EndCellEdit(at.row() + 1, at.column());
  ShowTable();
  view_->setCurrentIndex(model_.index(std::min(at.row(), model_.rowCount() - 1), at.column()));
}

void ListEditorWindow::reject() {
  close();
}

void ListEditorWindow::closeEvent(QCloseEvent* event) {
  if (busy_) {
    // Closing during a workbook read stops the read; the window stays for its outcome.
    if (cancelRead_->isVisible()) cancelRequested_ = true;
    event->ignore();
    return;
  }
  if (!editor_.CloseRequested()) {
    event->ignore();
    return;
  }
  event->accept();
  QDialog::reject();
}

}  // namespace kavrel
