#include "settings/award_settings_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "engine/ports/prompter.h"
#include "settings/advanced_settings_window.h"
#include "settings/award_edit_window.h"
#include "settings/roll_style_setting.h"
#include "storage/codec.h"
#include "storage/program_dir.h"
#include "storage/settings.h"

namespace kavrel {

namespace {

struct HideKey {
  const char* name;
  const char* caption;
  bool TitleOptions::*field;
};

const HideKey kHideBoxes[] = {
    {"选择框_隐藏主标题", "隐藏主标题", &TitleOptions::hideMainTitle},
    {"选择框_隐藏副标题", "隐藏副标题", &TitleOptions::hideSubTitle},
    {"选择框_隐藏奖项名称", "隐藏奖项名称", &TitleOptions::hideAwardName},
    {"选择框_隐藏奖品文本", "隐藏奖品文本", &TitleOptions::hidePrizeName},
    {"选择框_隐藏奖品图片", "隐藏奖品图片", &TitleOptions::hidePrizePicture},
    {"选择框_隐藏抽奖人", "隐藏抽奖人", &TitleOptions::hideDrawer},
    {"选择框_隐藏抽奖状态", "隐藏抽奖状态", &TitleOptions::hideStatus},
    {"选择框_隐藏字幕区", "隐藏字幕区", &TitleOptions::hideMarquee},
    {"选择框_隐藏开始按钮", "隐藏开始按钮", &TitleOptions::hideStartButton},
    {"选择框_隐藏结束按钮", "隐藏停止按钮", &TitleOptions::hideStopButton},
};

struct Column {
  const char* header;
  int width;
};

const Column kAwardColumns[] = {{"奖项名称", 100}, {"中奖名额", 80},  {"批次", 50},
                                {"分批详情", 150}, {"奖品名称", 200}, {"奖品图片", 300}};

template <typename W>
W* Named(W* widget, const char* name) {
  widget->setObjectName(QString::fromUtf8(name));
  return widget;
}

QLineEdit* IntegerBox(QWidget* parent, const char* name) {
  auto* box = Named(new QLineEdit(parent), name);
  box->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("-?\\d*")), box));
  box->setMaximumWidth(70);
  return box;
}

QPushButton* Button(QWidget* parent, const char* name, const char* caption) {
  auto* b = Named(new QPushButton(QString::fromUtf8(caption), parent), name);
  b->setAutoDefault(false);
  return b;
}

AwardRow RowFrom(const AwardEditBuffer& b) {
  return {b.awardName, b.quota, b.batchCount, b.batchDetails, b.prizeName, b.prizePicture};
}

}  // namespace

AwardSettingsWindow::AwardSettingsWindow(AwardSettingsContext context, QWidget* parent)
    : QDialog(parent), ctx_(context), model_(context) {
  BuildControls();
  model_.Load();
  ShowRows();
  LoadTitles();
  UpdateMaskControls();
}

void AwardSettingsWindow::BuildControls() {
  setObjectName(QStringLiteral("AwardSettingsWindow"));
  setWindowTitle(QStringLiteral("主副标题和奖项设置"));
  setModal(true);

  awards_ = Named(new QTreeWidget(this), "超级列表框_奖项");
  awards_->setRootIsDecorated(false);
  awards_->setSelectionMode(QAbstractItemView::SingleSelection);
  awards_->setAllColumnsShowFocus(true);
  QStringList headers;
  for (const auto& c : kAwardColumns) headers << QString::fromUtf8(c.header);
  awards_->setHeaderLabels(headers);
  for (int i = 0; i < 6; ++i) awards_->setColumnWidth(i, kAwardColumns[i].width);
  awards_->setMinimumHeight(180);

  auto* add = Button(this, "按钮_增加奖项", "增加奖项");
  auto* remove = Button(this, "按钮_删除奖项", "删除奖项");
  auto* modify = Button(this, "按钮_修改奖项", "修改奖项");
  auto* up = Button(this, "按钮_顺序上移", "顺序上移");
  auto* down = Button(this, "按钮_顺序下移", "顺序下移");
  auto* advanced = Button(this, "按钮_高级设置", "高级设置");
  auto* listButtons = new QVBoxLayout;
  for (QPushButton* b : {add, remove, modify, up, down, advanced}) listButtons->addWidget(b);
  rowButtons_ = {remove, modify, up, down};
  listButtons->addStretch();
  auto* listRow = new QHBoxLayout;
  listRow->addWidget(awards_, 1);
  listRow->addLayout(listButtons);

  mainTitle_ = Named(new QLineEdit(this), "编辑框_主标题");
  mainTitleCentred_ = Named(new QCheckBox(QStringLiteral("居中"), this), "选择框_主标题");
  subTitle_ = Named(new QLineEdit(this), "编辑框_副标题");
  subTitleCentred_ = Named(new QCheckBox(QStringLiteral("居中"), this), "选择框_副标题");
  marquee_ = Named(new QLineEdit(this), "编辑框_字幕区");
  // The stage shows no more than this of a title or the marquee; longer texts only cost time.
  mainTitle_->setMaxLength(100);
  subTitle_->setMaxLength(100);
  marquee_->setMaxLength(1500);
  drawOrder_ = Named(new QComboBox(this), "组合框_抽奖顺序");
  drawOrder_->addItems({QStringLiteral("从前面奖项开始抽(从上往下)"), QStringLiteral("从后面奖项开始抽(从下往上)")});
  noRepeat_ = Named(new QCheckBox(QStringLiteral("不允许重复抽奖"), this), "选择框_重复抽奖");
  presentOnly_ = Named(new QCheckBox(QStringLiteral("只抽已签到人员"), this), "选择框_只抽已签到");
  presentOnly_->setToolTip(
      QStringLiteral("开始新一场抽奖时只从名单中已签到(config\\signin.dat)的人员中抽取。签到在封存名单时读取一次，"
                     "之后签到的人员不会加入已封存的这一场抽奖。"));
  tickInterval_ = IntegerBox(this, "编辑框_抽奖频率");
  maskOn_ = Named(new QCheckBox(QStringLiteral("启用隐私屏蔽："), this), "选择框_屏蔽");
  maskFrom_ = IntegerBox(this, "编辑框_屏蔽1");
  maskTo_ = IntegerBox(this, "编辑框_屏蔽2");
  auto* maskFromLabel = Named(new QLabel(QStringLiteral("屏蔽第几位至第几位:"), this), "标签_屏蔽1");
  auto* maskToLabel = Named(new QLabel(QStringLiteral("至"), this), "标签_屏蔽2");
  auto* maskExample =
      Named(new QLabel(QStringLiteral("(如：手机号码13806668888，屏蔽部分字符后138****8888)"), this), "标签_屏蔽示例");
  maskControls_ = {maskFromLabel, maskFrom_, maskToLabel, maskTo_, maskExample};

  auto* titles = new QGroupBox(QStringLiteral("标题设置"), this);
  auto* tg = new QGridLayout(titles);
  tg->addWidget(new QLabel(QStringLiteral("主标题"), titles), 0, 0);
  tg->addWidget(mainTitle_, 0, 1, 1, 5);
  tg->addWidget(mainTitleCentred_, 0, 6);
  tg->addWidget(new QLabel(QStringLiteral("副标题"), titles), 1, 0);
  tg->addWidget(subTitle_, 1, 1, 1, 5);
  tg->addWidget(subTitleCentred_, 1, 6);
  tg->addWidget(new QLabel(QStringLiteral("字幕区文字"), titles), 2, 0);
  tg->addWidget(marquee_, 2, 1, 1, 6);
  tg->addWidget(new QLabel(QStringLiteral("抽奖顺序："), titles), 3, 0);
  tg->addWidget(drawOrder_, 3, 1, 1, 2);
  tg->addWidget(noRepeat_, 3, 3, 1, 2);
  tg->addWidget(presentOnly_, 3, 5, 1, 2);
  tg->addWidget(new QLabel(QStringLiteral("抽奖随机滚动快慢"), titles), 4, 0);
  auto* tickRow = new QHBoxLayout;
  tickRow->addWidget(tickInterval_);
  tickRow->addWidget(new QLabel(QStringLiteral("毫秒"), titles));
  tickRow->addStretch();
  tg->addLayout(tickRow, 4, 1, 1, 2);
  tg->addWidget(maskOn_, 5, 0);
  auto* maskRow = new QHBoxLayout;
  maskRow->addWidget(maskFromLabel);
  maskRow->addWidget(maskFrom_);
  maskRow->addWidget(maskToLabel);
  maskRow->addWidget(maskTo_);
  maskRow->addWidget(maskExample);
  maskRow->addStretch();
  tg->addLayout(maskRow, 5, 1, 1, 6);
  tg->setColumnStretch(5, 1);

  auto* hides = new QGroupBox(QStringLiteral("舞台显示"), this);
  auto* hg = new QGridLayout(hides);
  int i = 0;
  for (const auto& h : kHideBoxes) {
    auto* box = Named(new QCheckBox(QString::fromUtf8(h.caption), hides), h.name);
    hideBoxes_.push_back(box);
    hg->addWidget(box, i / 5, i % 5);
    ++i;
  }

  auto* ok = Button(this, "按钮_确定", "确定");
  auto* cancel = Button(this, "按钮_取消", "取消");
  auto* closeRow = new QHBoxLayout;
  closeRow->addStretch();
  closeRow->addWidget(ok);
  closeRow->addWidget(cancel);

  auto* main = new QVBoxLayout(this);
  main->addLayout(listRow, 1);
  main->addWidget(titles);
  main->addWidget(hides);
  main->addLayout(closeRow);
  // Roomy on a large screen, and still whole on an 800 x 600 one (the columns then scroll).
  QSize size(1000, 640);
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    size = size.boundedTo(screen->availableGeometry().size() - QSize(20, 40));
  resize(size.expandedTo(minimumSizeHint()));

  connect(add, &QPushButton::clicked, this, &AwardSettingsWindow::AddPressed);
  connect(modify, &QPushButton::clicked, this, &AwardSettingsWindow::ModifyPressed);
  connect(remove, &QPushButton::clicked, this, &AwardSettingsWindow::DeletePressed);
  connect(up, &QPushButton::clicked, this, &AwardSettingsWindow::MoveUpPressed);
  connect(down, &QPushButton::clicked, this, &AwardSettingsWindow::MoveDownPressed);
  connect(advanced, &QPushButton::clicked, this, &AwardSettingsWindow::AdvancedPressed);
  connect(ok, &QPushButton::clicked, this, &AwardSettingsWindow::OkPressed);
  connect(cancel, &QPushButton::clicked, this, &AwardSettingsWindow::CancelPressed);
  connect(maskOn_, &QCheckBox::clicked, this, &AwardSettingsWindow::UpdateMaskControls);
  connect(awards_, &QTreeWidget::itemDoubleClicked, this, &AwardSettingsWindow::ModifyPressed);
  connect(awards_, &QTreeWidget::itemSelectionChanged, this, &AwardSettingsWindow::UpdateRowButtons);
}

// The list shows its current row with a frame even when nothing is selected; a button that then
// did nothing on a press looked broken, so the row commands wait for a selected row.
void AwardSettingsWindow::UpdateRowButtons() {
  const bool selected = SelectedRow() >= 0;
  for (QPushButton* b : rowButtons_) b->setEnabled(selected);
}

void AwardSettingsWindow::LoadTitles() {
  const TitleOptions o = LoadTitleOptions(ctx_.settings);
  mainTitle_->setText(ToQt(o.mainTitle));
  mainTitleCentred_->setChecked(o.mainTitleCentred);
  subTitle_->setText(ToQt(o.subTitle));
  subTitleCentred_->setChecked(o.subTitleCentred);
  marquee_->setText(ToQt(o.marqueeText));
  noRepeat_->setChecked(o.noRepeat);
  presentOnly_->setChecked(o.presentOnly);
  tickInterval_->setText(ToQt(o.tickInterval));
  maskOn_->setChecked(o.maskOn);
  maskFrom_->setText(ToQt(o.maskFrom));
  maskTo_->setText(ToQt(o.maskTo));
  for (std::size_t i = 0; i < hideBoxes_.size(); ++i) hideBoxes_[i]->setChecked(o.*kHideBoxes[i].field);
  // Showing the stored order is not a change: connect only afterwards.
  drawOrder_->setCurrentIndex(o.drawOrderIndex);
  connect(drawOrder_, &QComboBox::currentIndexChanged, this, [this](int index) { model_.SetDrawOrder(index); });
}

TitleOptions AwardSettingsWindow::Titles() const {
  TitleOptions o;
  o.mainTitle = FromQt(mainTitle_->text());
  o.mainTitleCentred = mainTitleCentred_->isChecked();
  o.subTitle = FromQt(subTitle_->text());
  o.subTitleCentred = subTitleCentred_->isChecked();
  o.marqueeText = FromQt(marquee_->text());
  o.drawOrderIndex = drawOrder_->currentIndex();
  o.noRepeat = noRepeat_->isChecked();
  o.presentOnly = presentOnly_->isChecked();
  o.tickInterval = FromQt(tickInterval_->text());
  o.maskOn = maskOn_->isChecked();
  o.maskFrom = FromQt(maskFrom_->text());
  o.maskTo = FromQt(maskTo_->text());
  for (std::size_t i = 0; i < hideBoxes_.size(); ++i) o.*kHideBoxes[i].field = hideBoxes_[i]->isChecked();
  return o;
}

void AwardSettingsWindow::UpdateMaskControls() {
  const bool on = maskOn_->isChecked();
  const QColor colour = on ? QColor(0, 0, 0) : QColor(96, 96, 96);
  for (QWidget* w : maskControls_) {
    w->setEnabled(on);
    QPalette p = w->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
      p.setColor(group, QPalette::WindowText, colour);
      p.setColor(group, QPalette::Text, colour);
    }
    w->setPalette(p);
  }
}

void AwardSettingsWindow::ShowRows() {
  awards_->clear();
  QList<QTreeWidgetItem*> items;
  for (const AwardRow& r : model_.Rows())
    items.append(new QTreeWidgetItem(
        {ToQt(r.name), ToQt(r.quota), ToQt(r.batches), ToQt(r.detail), ToQt(r.prizeName), ToQt(r.prizePicture)}));
  awards_->addTopLevelItems(items);
  UpdateRowButtons();
}

int AwardSettingsWindow::SelectedRow() const {
  const auto selected = awards_->selectedItems();
  if (selected.isEmpty()) return -1;
  return awards_->indexOfTopLevelItem(selected.first());
}

void AwardSettingsWindow::SelectRow(int row) {
  if (row < 0 || row >= awards_->topLevelItemCount()) return;
  awards_->setCurrentItem(awards_->topLevelItem(row));
}

void AwardSettingsWindow::EditAward(AwardEditBuffer& buffer) {
  AwardEditWindow dialog(ctx_.dir, buffer, ctx_.prompter, this);
  dialog.exec();
}

void AwardSettingsWindow::AddPressed() {
  AwardEditBuffer buffer;
  buffer.mode = AwardEditBuffer::Mode::Add;
  EditAward(buffer);
  if (!buffer.confirmed) return;
  rollStyles_[buffer.awardName] = buffer.rollStyle;
  highlights_[buffer.awardName] = buffer.highlight;
  model_.Add(RowFrom(buffer));
  ShowRows();
}

void AwardSettingsWindow::ModifyPressed() {
  const int row = SelectedRow();
  if (row < 0) return;
  const AwardRow& r = model_.Rows()[static_cast<std::size_t>(row)];
  AwardEditBuffer buffer{
      r.name, r.quota, r.batches, r.detail, r.prizeName, r.prizePicture, AwardEditBuffer::Mode::Modify,
      false,  {},      false};
  const auto kept = rollStyles_.find(r.name);
  buffer.rollStyle = kept != rollStyles_.end() ? kept->second : LoadRollStyle(ctx_.settings, r.name);
  const auto keptHighlight = highlights_.find(r.name);
  buffer.highlight = keptHighlight != highlights_.end() ? keptHighlight->second : LoadHighlight(ctx_.settings, r.name);
  EditAward(buffer);
  if (!buffer.confirmed) return;
  rollStyles_[buffer.awardName] = buffer.rollStyle;
  highlights_[buffer.awardName] = buffer.highlight;
  model_.Modify(static_cast<std::size_t>(row), RowFrom(buffer));
  ShowRows();
  SelectRow(row);
}

void AwardSettingsWindow::DeletePressed() {
  const int row = SelectedRow();
  if (row < 0) return;
  model_.Delete(static_cast<std::size_t>(row));
  ShowRows();
}

// The selection stays where it was, so pressing the same button twice puts the rows back.
void AwardSettingsWindow::MoveUpPressed() {
  const int row = SelectedRow();
  if (row < 0 || !model_.MoveUp(static_cast<std::size_t>(row))) return;
  ShowRows();
  SelectRow(row);
}

void AwardSettingsWindow::MoveDownPressed() {
  const int row = SelectedRow();
  if (row < 0 || !model_.MoveDown(static_cast<std::size_t>(row))) return;
  ShowRows();
  SelectRow(row);
}

// The captions refer to the plan as last saved, which every change to the list has just written.
void AwardSettingsWindow::AdvancedPressed() {
  AdvancedSettingsWindow window(ctx_.dir, ctx_.prompter, this);
  window.exec();
}

void AwardSettingsWindow::OkPressed() {
  const bool close = model_.CloseWithOk(Titles());
  ShowRows();  // a repeated save may have removed a row
  if (!close) return;
  // The awards are saved: their roll styles go with them.
  Settings& settings = ctx_.settings;
  bool stylesSaved = true;
  for (const auto& [award, style] : rollStyles_) stylesSaved = SaveRollStyle(settings, award, style) && stylesSaved;
  for (const auto& [award, on] : highlights_) stylesSaved = SaveHighlight(settings, award, on) && stylesSaved;
  if (!stylesSaved)
    ctx_.prompter.Message(Gb("无法把滚动样式或压轴大奖的设置保存到config.ini，抽奖时将按原来的设置进行。"),
                          Gb("错误提示："), Buttons::Ok, Icon::Warning);
  confirmed_ = true;
  done(QDialog::Accepted);
}

void AwardSettingsWindow::CancelPressed() {
  const bool close = model_.CloseWithCancel();
  ShowRows();
  if (!close) return;
  confirmed_ = false;
  done(QDialog::Rejected);
}

void AwardSettingsWindow::reject() {
  if (model_.CloseRequested()) QDialog::reject();
}

}  // namespace kavrel
