#include "settings/award_groups_window.h"

#include <QAbstractTableModel>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTableView>
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

// The pool as "序号" and "抽奖号码" rows, converted only for the rows on screen: a pool of a million
// entries opens as fast as one of ten.
class PoolTableModel : public QAbstractTableModel {
 public:
  PoolTableModel(const std::vector<std::string>& pool, QObject* parent) : QAbstractTableModel(parent), pool_(pool) {}

  int rowCount(const QModelIndex& parent) const override {
    return parent.isValid() ? 0 : static_cast<int>(pool_.size());
  }
  int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : 2; }
  QVariant data(const QModelIndex& index, int role) const override {
    if (role == Qt::TextAlignmentRole) return int(Qt::AlignCenter);
    if (role != Qt::DisplayRole || !index.isValid()) return {};
    if (index.column() == 0) return index.row() + 1;
    return ToQt(pool_[static_cast<std::size_t>(index.row())]);
  }
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    return section == 0 ? QStringLiteral("序号") : QStringLiteral("抽奖号码");
  }

 private:
  const std::vector<std::string>& pool_;
};

}  // namespace

AwardGroupsWindow::AwardGroupsWindow(const DrawState& state, bool forwardOrder, Prompter& prompter, QWidget* parent)
    : QDialog(parent), editor_(state, forwardOrder, prompter) {
  BuildControls(state.pool);
  for (const std::string& item : editor_.AwardItems()) awards_->addItem(ToQt(item));
  enable_->setChecked(editor_.Enabled());
  EnableToggled(editor_.Enabled());
  ShowGroup();
  // Start on the award the listed group belongs to, else on the first.
  const auto& group = editor_.CurrentGroup();
  const int first = group ? group->planPosition - 1 : (awards_->count() > 0 ? 0 : -1);
  awards_->setCurrentIndex(first);
  AwardChanged(first);
  connect(awards_, &QComboBox::currentIndexChanged, this, &AwardGroupsWindow::AwardChanged);
}

void AwardGroupsWindow::BuildControls(const std::vector<std::string>& pool) {
  setObjectName(QStringLiteral("AwardGroupsWindow"));
  setWindowTitle(QStringLiteral("奖项分组设定(设置奖项在哪个范围内产生)"));
  setModal(true);

  enable_ = Named(new QCheckBox(QStringLiteral("启用奖项分组设定"), this), "选择框_启用奖项分组");
  grid_ = Named(new QTableView(this), "高级表格1");
  grid_->setModel(new PoolTableModel(pool, grid_));
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
  grid_->verticalHeader()->hide();
  // Every row has the same height, so the view never measures a million of them.
  grid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  grid_->verticalHeader()->setDefaultSectionSize(grid_->fontMetrics().height() + 6);
  grid_->setColumnWidth(0, 70);
  grid_->setColumnWidth(1, 180);
  grid_->setMinimumWidth(70 + 180 + 24);

  awards_ = Named(new QComboBox(this), "组合框_奖项");
  awards_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  awards_->setMinimumContentsLength(14);
  auto* rowValidator = new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,9}")), this);
  start_ = Named(new QLineEdit(this), "编辑框_起始行");
  end_ = Named(new QLineEdit(this), "编辑框_结束行");
  for (QLineEdit* box : {start_, end_}) {
    box->setValidator(rowValidator);
    box->setMaximumWidth(80);
  }
  add_ = Button(this, "按钮_添加", "添加");
  delete_ = Button(this, "按钮_删除", "删除");
  add_->setEnabled(false);
  delete_->setEnabled(false);
  groups_ = Named(new QListWidget(this), "列表框_分组设定");
  groups_->setSelectionMode(QAbstractItemView::SingleSelection);
  auto* note =
      Named(new QLabel(QStringLiteral("备注：\n"
                                      "1.奖项分组是指某个奖项从哪个范围中产生(非内定中奖人)，如有些公司要求某些"
                                      "奖项要求工龄符合要求的人员中奖，这时需要将符合要求的人员放在一起，如1--20行。\n"
                                      "2.需要使用奖项分组功能时，因有些奖项全体人员均有抽取，所以请在抽取指定奖项"
                                      "前进行设定，以避免名单重复中奖。"),
                       this),
            "标签1");
  note->setWordWrap(true);
  auto* ok = Button(this, "按钮_确定", "确定");
  auto* cancel = Button(this, "按钮_取消", "取消");

  auto* awardRow = new QHBoxLayout;
  awardRow->addWidget(new QLabel(QStringLiteral("奖项："), this));
  awardRow->addWidget(awards_, 1);
  auto* rangeRow = new QHBoxLayout;
  rangeRow->addWidget(new QLabel(QStringLiteral("从"), this));
  rangeRow->addWidget(start_);
  rangeRow->addWidget(new QLabel(QStringLiteral("行到"), this));
  rangeRow->addWidget(end_);
  rangeRow->addWidget(new QLabel(QStringLiteral("行"), this));
  rangeRow->addStretch();
  auto* listButtons = new QHBoxLayout;
  listButtons->addWidget(add_);
  listButtons->addWidget(delete_);
  listButtons->addStretch();
  auto* closeRow = new QHBoxLayout;
  closeRow->addStretch();
  closeRow->addWidget(ok);
  closeRow->addWidget(cancel);

  auto* side = new QVBoxLayout;
  side->addWidget(enable_);
  side->addLayout(awardRow);
  side->addLayout(rangeRow);
  side->addLayout(listButtons);
  side->addWidget(groups_, 1);
  side->addWidget(note);
  side->addLayout(closeRow);

  auto* main = new QHBoxLayout(this);
  main->addWidget(grid_);
  main->addLayout(side, 1);
  resize(QSize(720, 500).expandedTo(minimumSizeHint()));

  connect(enable_, &QCheckBox::toggled, this, &AwardGroupsWindow::EnableToggled);
  connect(add_, &QPushButton::clicked, this, &AwardGroupsWindow::AddPressed);
  connect(delete_, &QPushButton::clicked, this, &AwardGroupsWindow::DeletePressed);
  connect(ok, &QPushButton::clicked, this, &AwardGroupsWindow::OkPressed);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

// The listed range is also marked in the grid, so the operator sees whom the batch will draw from.
void AwardGroupsWindow::ShowGroup() {
  groups_->clear();
  grid_->clearSelection();
  const auto& group = editor_.CurrentGroup();
  if (!group) return;
  groups_->addItem(ToQt(group->ItemText()));
  const QAbstractItemModel* rows = grid_->model();
  if (group->start < 1 || group->end > rows->rowCount()) return;
  const QModelIndex first = rows->index(group->start - 1, 0);
  grid_->selectionModel()->select(QItemSelection(first, rows->index(group->end - 1, 1)),
                                  QItemSelectionModel::ClearAndSelect);
  grid_->scrollTo(first, QAbstractItemView::PositionAtTop);
}

// Ticking enables the list buttons; unticking leaves them as they are, and OK then applies nothing.
void AwardGroupsWindow::EnableToggled(bool on) {
  editor_.SetEnabled(on);
  if (!on) return;
  add_->setEnabled(true);
  delete_->setEnabled(true);
}

void AwardGroupsWindow::AwardChanged(int index) {
  const auto [start, end] = editor_.RowsFor(index);
  start_->setText(ToQt(start));
  end_->setText(ToQt(end));
}

void AwardGroupsWindow::AddPressed() {
  if (!editor_.Add(awards_->currentIndex(), FromQt(start_->text()), FromQt(end_->text()))) return;
  ShowGroup();
  AwardChanged(awards_->currentIndex());  // shows the rows in order when they were swapped
}

void AwardGroupsWindow::DeletePressed() {
  if (editor_.Remove(!groups_->selectedItems().isEmpty())) ShowGroup();
}

void AwardGroupsWindow::OkPressed() {
  const bool close = editor_.Confirm();
  enable_->setChecked(editor_.Enabled());
  if (close) accept();
}

}  // namespace kavrel
