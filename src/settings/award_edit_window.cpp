#include "settings/award_edit_window.h"

#include <QCheckBox>
#include <QComboBox>

#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QStyle>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "platform/kept_picture.h"
#include "platform/picture_reader.h"
#include "settings/picture_panel.h"
#include "settings/roll_style_setting.h"
#include "storage/codec.h"
#include "storage/data_pictures.h"
#include "storage/program_dir.h"
#include "storage/qt_path.h"

namespace kavrel {

namespace {

QLineEdit* NewBox(QWidget* parent, const char* name) {
  auto* box = new QLineEdit(parent);
  box->setObjectName(QString::fromUtf8(name));
  return box;
}

// Whole numbers only; seven digits are more winners than any list holds, and keep the batch
// split list and the plan file within reason.
void MakeWholeNumberBox(QLineEdit* box, int digits) {
  box->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,%1}").arg(digits)), box));
  box->setMaxLength(digits);
}

}  // namespace

AwardEditWindow::AwardEditWindow(const ProgramDir& dir, AwardEditBuffer& buffer, Prompter& prompter, QWidget* parent)
    : QDialog(parent), dir_(dir), buffer_(buffer), prompter_(prompter), form_(prompter, buffer) {
  buffer_.confirmed = false;
  BuildControls();
  const bool modify = buffer_.mode == AwardEditBuffer::Mode::Modify;
  setWindowTitle(modify ? QStringLiteral("修改奖项") : QStringLiteral("增加奖项"));
  const AwardEditTexts initial = form_.InitialTexts();
  awardName_->setText(ToQt(initial.awardName));
  quota_->setText(ToQt(initial.quota));
  batches_->setText(ToQt(initial.batchCount));
  prizeName_->setText(ToQt(initial.prizeName));
  prizePicture_->setText(ToQt(initial.prizePicture));
  rollStyle_->setCurrentIndex(std::max(0, rollStyle_->findText(ToQt(buffer_.rollStyle))));
  highlight_->setChecked(buffer_.highlight);
  if (modify) RunNumberCheck();
  if (!initial.prizePicture.empty()) ShowPicture(initial.prizePicture);
}

void AwardEditWindow::BuildControls() {
  setObjectName(QStringLiteral("AwardEditWindow"));
  setModal(true);

  awardName_ = NewBox(this, "编辑框_奖项名称");
  quota_ = NewBox(this, "编辑框_中奖名额");
  batches_ = NewBox(this, "编辑框_奖项批次");
  prizeName_ = NewBox(this, "编辑框_奖品名称");
  prizePicture_ = NewBox(this, "编辑框_奖品图片");
  MakeWholeNumberBox(quota_, 7);
  MakeWholeNumberBox(batches_, 5);
  // The stage shows no more than 100 characters of a caption; longer names only cost time everywhere.
  awardName_->setMaxLength(100);
  prizeName_->setMaxLength(100);
  batches_->setMaximumWidth(80);

  splitList_ = new QTreeWidget(this);
  splitList_->setObjectName(QStringLiteral("超级列表框_批次"));
  splitList_->setRootIsDecorated(false);
  splitList_->setHeaderLabels({QStringLiteral("奖项名称"), QStringLiteral("批次"), QStringLiteral("名额")});
  splitList_->setColumnWidth(0, 100);
  splitList_->setColumnWidth(1, 80);
  splitList_->setColumnWidth(2, 50);
  splitList_->setSelectionMode(QAbstractItemView::NoSelection);
  splitList_->setMinimumHeight(110);

  auto* pick = new QToolButton(this);
  pick->setObjectName(QStringLiteral("图形按钮1"));
  pick->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
  pick->setToolTip(QStringLiteral("选择奖品图片"));
  pick->setAccessibleName(QStringLiteral("选择奖品图片"));

  rollStyle_ = new QComboBox(this);
  rollStyle_->setObjectName(QStringLiteral("组合框_滚动样式"));
  for (const char* name : kRollStyleNames) rollStyle_->addItem(QString::fromUtf8(name));
  rollStyle_->setToolTip(
      QStringLiteral("抽取本奖项时舞台上名字滚动的样子：经典的滚动名单、旋转的名字球或闪烁的名片墙"));

  highlight_ = new QCheckBox(QStringLiteral("压轴大奖：每一批停止时都慢慢揭晓"), this);
  highlight_->setObjectName(QStringLiteral("选择框_压轴大奖"));
  highlight_->setToolTip(
      QStringLiteral("停止后，中奖者的名字先慢慢滚动，再配着烟花放大揭晓；按空格可跳过。"
                     "三人以下的批次总会这样揭晓。"));

  preview_ = new PicturePanel(this);
  preview_->setObjectName(QStringLiteral("画板1"));
  preview_->setFixedSize(120, 90);

  auto* ok = new QPushButton(QStringLiteral("确认"), this);
  ok->setObjectName(QStringLiteral("按钮_确认"));
  ok->setDefault(true);
  auto* cancel = new QPushButton(QStringLiteral("取消"), this);
  cancel->setObjectName(QStringLiteral("按钮_取消"));
  cancel->setAutoDefault(false);

  auto* grid = new QGridLayout;
  grid->addWidget(new QLabel(QStringLiteral("奖项名称"), this), 0, 0);
  grid->addWidget(awardName_, 0, 1, 1, 2);
  grid->addWidget(new QLabel(QStringLiteral("中奖名额"), this), 1, 0);
  grid->addWidget(quota_, 1, 1, 1, 2);
  auto* batchRow = new QHBoxLayout;
  batchRow->addWidget(batches_);
  batchRow->addWidget(new QLabel(QStringLiteral("批次"), this));
  batchRow->addStretch();
  grid->addWidget(new QLabel(QStringLiteral("本奖项分成"), this), 2, 0);
  grid->addLayout(batchRow, 2, 1, 1, 2);
  grid->addWidget(splitList_, 3, 0, 1, 3);
  grid->addWidget(new QLabel(QStringLiteral("奖品名称"), this), 4, 0);
  grid->addWidget(prizeName_, 4, 1, 1, 2);
  grid->addWidget(new QLabel(QStringLiteral("奖品图片"), this), 5, 0);
  grid->addWidget(prizePicture_, 5, 1);
  grid->addWidget(pick, 5, 2);
  grid->addWidget(preview_, 6, 1, Qt::AlignLeft);
  grid->addWidget(new QLabel(QStringLiteral("滚动样式"), this), 7, 0);
  grid->addWidget(rollStyle_, 7, 1, 1, 2);
  grid->addWidget(highlight_, 8, 1, 1, 2);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);

  auto* main = new QVBoxLayout(this);
  main->addLayout(grid);
  main->addLayout(buttons);
  setMinimumWidth(360);

  for (QLineEdit* box : {awardName_, quota_, batches_}) box->installEventFilter(this);
  GuardTyping(awardName_, AwardEditForm::Field::AwardName);
  GuardTyping(prizeName_, AwardEditForm::Field::PrizeName);
  GuardTyping(prizePicture_, AwardEditForm::Field::PrizePicture);
  connect(prizePicture_, &QLineEdit::editingFinished, this, [this] { ShowPicture(FromQt(prizePicture_->text())); });
  connect(pick, &QToolButton::clicked, this, &AwardEditWindow::PickPicture);
  connect(ok, &QPushButton::clicked, this, &AwardEditWindow::ConfirmPressed);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

// A separator typed or pasted into a text box is refused at once, so the operator sees which
// character is the problem while still in that box.
void AwardEditWindow::GuardTyping(QLineEdit* box, AwardEditForm::Field field) {
  auto accepted = std::make_shared<QString>(box->text());
  connect(box, &QLineEdit::textChanged, this, [box, accepted](const QString& text) {
    if (!box->isModified()) *accepted = text;  // set by the program, not typed
  });
  connect(box, &QLineEdit::textEdited, this, [this, box, field, accepted](const QString& text) {
    if (form_.AcceptTyped(field, FromQt(text))) {
      *accepted = text;
      return;
    }
    const int cursor = box->cursorPosition() - static_cast<int>(text.size() - accepted->size());
    box->setText(*accepted);
    box->setCursorPosition(std::max(0, cursor));
  });
}

bool AwardEditWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusOut) {
    // Only a move to another control of this dialog counts as leaving the box: a message box
    // taking the focus must not run the check again.
    const auto reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason && !quota_->text().isEmpty() &&
        !batches_->text().isEmpty())
      RunNumberCheck();
  }
  return QDialog::eventFilter(watched, event);
}

AwardEditTexts AwardEditWindow::Texts() const {
  return {FromQt(awardName_->text()), FromQt(quota_->text()), FromQt(batches_->text()), FromQt(prizeName_->text()),
          FromQt(prizePicture_->text())};
}

void AwardEditWindow::RunNumberCheck() {
  // Invalid numbers leave the split list empty rather than showing sizes that would not be used.
  ShowSplit(form_.CheckNumbers(Texts()).value_or(std::vector<long long>{}));
}

void AwardEditWindow::ShowSplit(const std::vector<long long>& sizes) {
  splitList_->clear();
  const QString name = awardName_->text();
  QList<QTreeWidgetItem*> items;
  items.reserve(static_cast<qsizetype>(sizes.size()));
  for (std::size_t i = 0; i < sizes.size(); ++i)
    items.append(new QTreeWidgetItem({name, QString::number(i + 1), QString::number(sizes[i])}));
  splitList_->addTopLevelItems(items);
}

void AwardEditWindow::ShowPicture(const std::string& gbPath) {
  if (gbPath.empty()) {
    preview_->SetPicture({});
    return;
  }
  // The preview is small: a phone photo is decoded at about its size, not at full size.
  preview_->SetPicture(ReadPictureScaled(detail::ToQPath(NativePath(ResolveStoredPicture(dir_, gbPath))),
                                         preview_->size().expandedTo({640, 480})));
}

void AwardEditWindow::PickPicture() {
  const auto picked = prompter_.PickOpenFile(
      Gb("选择奖品图片"), Gb("图片文件(*.png;*.jpg;*.jpeg;*.bmp;*.ico)|*.png;*.jpg;*.jpeg;*.bmp;*.ico"));
  if (!picked || !form_.AcceptTyped(AwardEditForm::Field::PrizePicture, *picked)) return;
  // Kept in the data folder, so the picture goes along when the folder is copied to the event laptop.
  const auto stored = KeepChosenPicture(dir_, *picked, prompter_);
  if (!stored) return;
  prizePicture_->setText(ToQt(*stored));
  ShowPicture(*stored);
}

void AwardEditWindow::ConfirmPressed() {
  AwardEditTexts texts = Texts();
  const auto sizes = form_.Confirm(texts);
  quota_->setText(ToQt(texts.quota));
  batches_->setText(ToQt(texts.batchCount));
  if (!sizes) return;
  ShowSplit(*sizes);
  buffer_.rollStyle = FromQt(rollStyle_->currentText());
  buffer_.highlight = highlight_->isChecked();
  accept();
}

}  // namespace kavrel
