#include "settings/advanced_settings_window.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "storage/codec.h"

namespace kavrel {

namespace {

template <typename W>
W* Named(W* widget, const char* name) {
  widget->setObjectName(QString::fromUtf8(name));
  return widget;
}

QPushButton* Button(QWidget* parent, const char* name, const char* caption) {
  auto* b = Named(new QPushButton(QString::fromUtf8(caption), parent), name);
  b->setAutoDefault(false);
  return b;
}

}  // namespace

AdvancedSettingsWindow::AdvancedSettingsWindow(const ProgramDir& dir, Prompter& prompter, QWidget* parent)
    : QDialog(parent), editor_(dir, prompter) {
  BuildControls();
  editor_.Load();
  for (const std::string& item : editor_.BatchItems()) batches_->addItem(ToQt(item));
  // Nothing to refer a caption to: adding stays off rather than failing on every press.
  add_->setEnabled(editor_.PlanSize() > 0);
  if (editor_.PlanSize() > 0) {
    batches_->setCurrentIndex(0);
    content_->setText(ToQt(editor_.DefaultCaption(0)));
  }
  ShowCaptions(-1);
  connect(batches_, &QComboBox::activated, this, &AdvancedSettingsWindow::BatchChanged);
}

void AdvancedSettingsWindow::BuildControls() {
  setObjectName(QStringLiteral("AdvancedSettingsWindow"));
  setWindowTitle(QStringLiteral("高级设置"));
  setModal(true);

  auto* note = Named(new QLabel(QStringLiteral("抽奖嘉宾(抽某奖项前显示内容，启用此项时请在【主副标题和奖项设置】页面"
                                               "取消勾选“隐藏抽奖人”)"),
                                this),
                     "标签_说明");
  note->setWordWrap(true);
  batches_ = Named(new QComboBox(this), "组合框1");
  batches_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  batches_->setMinimumContentsLength(16);
  content_ = Named(new QLineEdit(this), "编辑框_内容");
  captions_ = Named(new QListWidget(this), "列表框1");
  captions_->setSelectionMode(QAbstractItemView::SingleSelection);

  add_ = Button(this, "按钮_增加", "增加");
  auto* remove = Button(this, "按钮_删除", "删除");
  auto* modify = Button(this, "按钮_修改", "修改");
  auto* clear = Button(this, "按钮_清除全部", "清除全部");
  auto* ok = Button(this, "按钮_确定", "确定");
  auto* cancel = Button(this, "按钮_取消", "取消");

  auto* form = new QGridLayout;
  form->addWidget(new QLabel(QStringLiteral("奖项和批次"), this), 0, 0);
  form->addWidget(batches_, 0, 1);
  form->addWidget(new QLabel(QStringLiteral("内容"), this), 1, 0);
  form->addWidget(content_, 1, 1);
  form->setColumnStretch(1, 1);

  auto* listButtons = new QVBoxLayout;
  for (QPushButton* b : {add_, remove, modify, clear}) listButtons->addWidget(b);
  listButtons->addStretch();
  auto* listRow = new QHBoxLayout;
  listRow->addWidget(captions_, 1);
  listRow->addLayout(listButtons);

  auto* closeRow = new QHBoxLayout;
  closeRow->addStretch();
  closeRow->addWidget(ok);
  closeRow->addWidget(cancel);

  auto* main = new QVBoxLayout(this);
  main->addWidget(note);
  main->addLayout(form);
  main->addLayout(listRow, 1);
  main->addLayout(closeRow);
  resize(QSize(600, 450).expandedTo(minimumSizeHint()));

  connect(captions_, &QListWidget::itemClicked, this, &AdvancedSettingsWindow::CaptionClicked);
  connect(add_, &QPushButton::clicked, this, &AdvancedSettingsWindow::AddPressed);
  connect(modify, &QPushButton::clicked, this, &AdvancedSettingsWindow::ModifyPressed);
  connect(remove, &QPushButton::clicked, this, &AdvancedSettingsWindow::DeletePressed);
  connect(clear, &QPushButton::clicked, this, &AdvancedSettingsWindow::ClearAllPressed);
  connect(ok, &QPushButton::clicked, this, &AdvancedSettingsWindow::OkPressed);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void AdvancedSettingsWindow::ShowCaptions(int select) {
  captions_->clear();
  for (const DrawerCaption& c : editor_.Captions()) {
    auto* item = new QListWidgetItem(ToQt(DrawerCaptionEditor::ItemText(c)), captions_);
    item->setData(Qt::UserRole, c.planPosition);
  }
  if (select >= 0 && select < captions_->count()) captions_->setCurrentRow(select);
}

int AdvancedSettingsWindow::SelectedCaption() const {
  const auto selected = captions_->selectedItems();
  return selected.isEmpty() ? -1 : captions_->row(selected.first());
}

void AdvancedSettingsWindow::BatchChanged(int index) {
  if (index >= 0) content_->setText(ToQt(editor_.DefaultCaption(static_cast<std::size_t>(index))));
}

void AdvancedSettingsWindow::CaptionClicked() {
  const int row = SelectedCaption();
  if (row < 0) return;
  content_->setText(ToQt(editor_.Captions()[static_cast<std::size_t>(row)].caption));
  const int line = editor_.LineOfCaption(static_cast<std::size_t>(row));
  if (line >= 0) batches_->setCurrentIndex(line);
}

void AdvancedSettingsWindow::AddPressed() {
  const int line = batches_->currentIndex();
  if (line < 0) return;
  if (editor_.Add(static_cast<std::size_t>(line), FromQt(content_->text())))
    ShowCaptions(static_cast<int>(editor_.Captions().size()) - 1);
}

// The list commands take the selected caption; "no selection" is passed as an index past the end.
void AdvancedSettingsWindow::ModifyPressed() {
  const int row = SelectedCaption();
  const auto index = row < 0 ? editor_.Captions().size() : static_cast<std::size_t>(row);
  if (editor_.Modify(index, FromQt(content_->text()))) ShowCaptions(row);
}

void AdvancedSettingsWindow::DeletePressed() {
  const int row = SelectedCaption();
  const auto index = row < 0 ? editor_.Captions().size() : static_cast<std::size_t>(row);
  if (editor_.Remove(index)) ShowCaptions(-1);
}

void AdvancedSettingsWindow::ClearAllPressed() {
  editor_.ClearAll();
  ShowCaptions(-1);
}

void AdvancedSettingsWindow::OkPressed() {
  if (editor_.Save()) accept();
}

}  // namespace kavrel
