#include "lists/photo_list_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "lists/camera_window.h"
#include "platform/picture_reader.h"
#include "storage/codec.h"
#include "storage/qt_path.h"

namespace kavrel {

namespace {

const QRect kPreview43(376, 128, 400, 300);
const QRect kPreview34(426, 96, 270, 360);

QLabel* AddLabel(QWidget* parent, const char* name, const QString& text, const QRect& geometry) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromUtf8(name));
  label->setGeometry(geometry);
  return label;
}

}  // namespace

PhotoListWindow::PhotoListWindow(PhotoListContext context, SoundPort& sound, CameraFactory cameras, QWidget* parent)
    : QDialog(parent), list_(context), context_(context), sound_(sound), cameras_(std::move(cameras)) {
  setObjectName(QStringLiteral("PhotoListWindow"));
  setWindowTitle(QStringLiteral("编辑抽奖名单(图片模式)"));
  setFixedSize(810, 590);

  auto addButton = [this](const char* name, const QString& text, const QRect& geometry,
                          void (PhotoListWindow::*slot)()) {
    auto* b = new QPushButton(text, this);
    b->setObjectName(QString::fromUtf8(name));
    b->setGeometry(geometry);
    b->setAutoDefault(false);
    connect(b, &QPushButton::clicked, this, slot);
    buttons_.push_back(b);
  };
  addButton("按钮_导入图片", QStringLiteral("导入图片..."), QRect(24, 20, 100, 30), &PhotoListWindow::ImportPictures);
  clearFirst_ = new QCheckBox(QStringLiteral("导入前清除已有图片"), this);
  clearFirst_->setObjectName(QStringLiteral("选择框_导入前清除图片"));
  clearFirst_->setGeometry(134, 24, 180, 22);
  clearFirst_->setChecked(true);
  addButton("按钮_增加一张", QStringLiteral("增加一张"), QRect(376, 20, 92, 30), &PhotoListWindow::AddOne);
  addButton("按钮_删除一张", QStringLiteral("删除一张"), QRect(476, 20, 92, 30), &PhotoListWindow::DeleteOne);
  addButton("按钮_删除全部", QStringLiteral("删除全部"), QRect(576, 20, 92, 30), &PhotoListWindow::DeleteAll);
  addButton("按钮_拍照", QStringLiteral("拍照"), QRect(676, 20, 92, 30), &PhotoListWindow::OpenCamera);

  AddLabel(this, "标签2", QStringLiteral("参选图片："), QRect(24, 64, 72, 22));
  count_ = AddLabel(this, "标签_图片", QString(), QRect(96, 64, 100, 22));
  AddLabel(this, "标签1", QStringLiteral("图片比例："), QRect(376, 64, 72, 22));
  aspect_ = new QComboBox(this);
  aspect_->setObjectName(QStringLiteral("组合框_比例"));
  aspect_->setGeometry(450, 62, 120, 26);
  aspect_->addItem(QStringLiteral("4:3(横版)"), 43);
  aspect_->addItem(QStringLiteral("3:4(竖版)"), 34);

  items_ = new QListWidget(this);
  items_->setObjectName(QStringLiteral("列表框_名单"));
  items_->setGeometry(24, 96, 304, 360);
  items_->setUniformItemSizes(true);  // ten thousand names lay out at once
  preview_ = AddLabel(this, "画板1", QString(), kPreview43);
  preview_->setFrameShape(QFrame::Box);

  auto* note = AddLabel(this, "标签3",
                        QStringLiteral("备注：\n1.原始图片比例任意。为了图片显示不变形，所有原始图片比例要统一;\n"
                                       "2.当原始图片尺寸过大时，建议导入前先调整图片尺寸，建议尺寸不要超过1000*1000;\n"
                                       "3.图片格式为jpg，图片命名为：张三.jpg，滚动停止后会在图片上显示“张三”;\n"
                                       "4.图片导入后所有已抽奖项都将回归奖池重新开始抽取。"),
                        QRect(24, 466, 760, 80));
  note->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  fileName_ = AddLabel(this, "标签_文件名", QString(), QRect(24, 556, 760, 22));

  aspect_->setCurrentIndex(context.ratio43 ? 0 : 1);
  preview_->setGeometry(context.ratio43 ? kPreview43 : kPreview34);
  connect(aspect_, &QComboBox::activated, this, &PhotoListWindow::ChangeAspect);
  connect(items_, &QListWidget::currentRowChanged, this, &PhotoListWindow::Preview);

  list_.Open();
  ShowList(std::nullopt);
}

std::optional<int> PhotoListWindow::Selected() const {
  const int row = items_->currentRow();
  if (row < 0 || row >= list_.Count()) return std::nullopt;
  return row;
}

void PhotoListWindow::ShowList(std::optional<int> select) {
  QStringList names;
  names.reserve(list_.Count());
  for (const std::string& name : list_.Items()) names << ToQt(name);
  const QSignalBlocker block(items_);
  items_->clear();
  items_->addItems(names);
  count_->setText(QString::number(list_.Count()));
  if (select && *select < items_->count()) items_->setCurrentRow(*select);
  Preview();
}

void PhotoListWindow::Preview() {
  const auto item = list_.PreviewItem(Selected());
  if (!item) {
    preview_->clear();
    return;
  }
  // Decoded at the panel's size: a 12-megapixel photo is never held whole.
  const QImage picture =
      ReadPictureScaled(detail::ToQPath(list_.ItemPath(*item)), preview_->size(), Qt::IgnoreAspectRatio);
  if (picture.isNull()) {
    preview_->clear();
    return;
  }
  preview_->setPixmap(QPixmap::fromImage(picture.scaled(preview_->size(), Qt::IgnoreAspectRatio)));
}

void PhotoListWindow::SetBusy(bool busy) {
  busy_ = busy;
  for (QPushButton* b : buttons_) b->setEnabled(!busy);
  aspect_->setEnabled(!busy);
  clearFirst_->setEnabled(!busy);
  items_->setEnabled(!busy);
}

void PhotoListWindow::ImportPictures() {
  if (busy_) return;
  SetBusy(true);
  // The labels follow the import a few times a second and the window keeps painting; the buttons
  // are off meanwhile, so nothing else can start.
  QElapsedTimer sinceShown;
  sinceShown.start();
  const auto outcome = list_.ImportFolder(clearFirst_->isChecked(), [&](int done, int total, const std::string& path) {
    if (done < total && sinceShown.elapsed() < 40) return;
    sinceShown.restart();
    fileName_->setText(fileName_->fontMetrics().elidedText(ToQt(path), Qt::ElideMiddle, fileName_->width()));
    count_->setText(QStringLiteral("%1").arg(list_.Count()));
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  });
  fileName_->clear();
  SetBusy(false);
  if (outcome.changed) ShowList(outcome.select);
}

void PhotoListWindow::AddOne() {
  const auto outcome = list_.AddOne();
  if (outcome.changed) ShowList(outcome.select);
}

void PhotoListWindow::DeleteOne() {
  const auto outcome = list_.DeleteOne(Selected());
  if (outcome.changed) ShowList(outcome.select);
}

void PhotoListWindow::DeleteAll() {
  if (list_.DeleteAll()) ShowList(std::nullopt);
}

void PhotoListWindow::ChangeAspect() {
  list_.SetRatio43(aspect_->currentData().toInt() == 43);
  preview_->setGeometry(list_.Ratio43() ? kPreview43 : kPreview34);
  Preview();
}

void PhotoListWindow::OpenCamera() {
  // The shot and the photo go into the picture folder: without one there is nowhere to put them.
  if (!list_.FolderReady()) return;
  CameraWindow window(list_, cameras_ ? cameras_() : nullptr, context_.prompter, sound_, context_.clock, this);
  window.exec();
  ShowList(list_.Count() > 0 ? std::optional<int>(list_.Count() - 1) : std::nullopt);
}

void PhotoListWindow::closeEvent(QCloseEvent* event) {
  // Every change is saved already; only a running import keeps the window open.
  if (busy_) {
    event->ignore();
    return;
  }
  QDialog::closeEvent(event);
}

void PhotoListWindow::reject() {
  if (!busy_) QDialog::reject();
}

}  // namespace kavrel
