#include "lists/camera_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScreen>

#include "assets.h"
#include "engine/ports/clock.h"
#include "engine/ports/prompter.h"
#include "engine/ports/sound_port.h"
#include "lists/photo_list.h"
#include "platform/picture_reader.h"
#include "storage/codec.h"
#include "storage/number_text.h"
#include "storage/program_dir.h"
#include "storage/qt_path.h"

namespace kavrel {

namespace {

constexpr int kMaxSide = 8000;  // a saved photo larger than this would only cost memory and disk

QLabel* AddLabel(QWidget* parent, const char* name, const QString& text, const QRect& geometry) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromUtf8(name));
  label->setGeometry(geometry);
  return label;
}

// The empty panel: what shows before a shot is taken, or before the camera runs.
QPixmap PanelPlaceholder(QSize size, const QString& text, const QColor& background) {
  QPixmap pixmap(size);
  pixmap.fill(background);
  QPainter p(&pixmap);
  p.setPen(background.lightness() < 128 ? QColor(200, 200, 200) : QColor(90, 90, 90));
  p.drawRect(QRect(QPoint(0, 0), size - QSize(1, 1)));
  p.drawText(QRect(QPoint(0, 0), size), Qt::AlignCenter, text);
  return pixmap;
}

}  // namespace

CameraWindow::CameraWindow(PhotoList& list, std::unique_ptr<Camera> camera, Prompter& prompter, SoundPort& sound,
                           const Clock& clock, QWidget* parent)
    : QDialog(parent), list_(list), camera_(std::move(camera)), prompter_(prompter), sound_(sound), clock_(clock) {
  setObjectName(QStringLiteral("CameraWindow"));
  setWindowTitle(QStringLiteral("摄像头拍照"));
  setFixedSize(840, 600);
  // At (50, 50) as designed, but never pushed off a small screen (an 800 x 600 projector).
  const QRect screen =
      QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->availableGeometry() : QRect(0, 0, 1024, 768);
  move(std::max(screen.left(), std::min(screen.left() + 50, screen.right() + 1 - width())),
       std::max(screen.top(), std::min(screen.top() + 50, screen.bottom() + 1 - height())));

  live_ = AddLabel(this, "标签1", QString(), QRect(8, 10, 400, 300));
  live_->setAlignment(Qt::AlignCenter);
  shotPanel_ = AddLabel(this, "画板_图片显示", QString(), QRect(420, 10, 400, 300));

  auto* group = new QGroupBox(this);
  group->setObjectName(QStringLiteral("分组框1"));
  group->setGeometry(25, 432, 784, 134);
  AddLabel(group, "请选择您的视频设备", QStringLiteral("请选择您的视频设备:"), QRect(15, 18, 130, 26));
  devices_ = new QComboBox(group);
  devices_->setObjectName(QStringLiteral("当前视频设备"));
  devices_->setGeometry(150, 18, 230, 26);
  AddLabel(group, "标签_比例", QStringLiteral("图像比例："), QRect(400, 18, 75, 26));
  aspect_ = new QComboBox(group);
  aspect_->setObjectName(QStringLiteral("组合框_比例"));
  aspect_->setGeometry(475, 18, 120, 26);
  aspect_->addItem(QStringLiteral("4:3(横版)"), 43);
  aspect_->addItem(QStringLiteral("3:4(竖版)"), 34);

  AddLabel(group, "标签_文件名", QStringLiteral("文件名："), QRect(15, 56, 130, 26));
  name_ = new QLineEdit(group);
  name_->setObjectName(QStringLiteral("编辑框_文件名"));
  name_->setGeometry(150, 56, 230, 26);
  autoName_ = new QCheckBox(QStringLiteral("文件名以当前日期自动命名"), group);
  autoName_->setObjectName(QStringLiteral("选择框_自动命名"));
  autoName_->setGeometry(400, 56, 220, 26);

  AddLabel(group, "标签_截取", QStringLiteral("截取设置："), QRect(15, 94, 130, 26));
  AddLabel(group, "标签_宽", QStringLiteral("宽"), QRect(150, 94, 20, 26));
  width_ = new QLineEdit(QStringLiteral("400"), group);
  width_->setObjectName(QStringLiteral("编辑框_宽"));
  width_->setGeometry(172, 94, 80, 26);
  AddLabel(group, "标签_高", QStringLiteral("高"), QRect(270, 94, 20, 26));
  height_ = new QLineEdit(QStringLiteral("300"), group);
  height_->setObjectName(QStringLiteral("编辑框_高"));
  height_->setGeometry(292, 94, 80, 26);

  auto addButton = [&](const char* name, const QString& text, int top, void (CameraWindow::*slot)()) {
    auto* b = new QPushButton(text, group);
    b->setObjectName(QString::fromUtf8(name));
    b->setGeometry(640, top, 120, 30);
    b->setAutoDefault(false);
    connect(b, &QPushButton::clicked, this, slot);
  };
  addButton("按钮_获取设备", QStringLiteral("初始化设备"), 16, &CameraWindow::InitDevice);
  addButton("按钮_拍照", QStringLiteral("拍照"), 54, &CameraWindow::Shoot);
  addButton("按钮_保存", QStringLiteral("保存"), 92, &CameraWindow::Save);

  connect(aspect_, &QComboBox::currentIndexChanged, this, &CameraWindow::ChangeAspect);
  connect(width_, &QLineEdit::editingFinished, this, [this] { SizeFieldLeft(true); });
  connect(height_, &QLineEdit::editingFinished, this, [this] { SizeFieldLeft(false); });
  // Another device chosen while the camera runs: the live picture follows the choice.
  connect(devices_, &QComboBox::activated, this, [this](int index) {
    if (!started_) return;
    camera_->Select(index);
    camera_->Start([this](const QImage& frame) {
      live_->setPixmap(QPixmap::fromImage(frame.scaled(live_->size(), Qt::KeepAspectRatio, Qt::FastTransformation)));
    });
  });

  live_->setPixmap(PanelPlaceholder(live_->size(), QStringLiteral("按“初始化设备”显示摄像头画面"), QColor(40, 40, 40)));
  ShowShot();
}

CameraWindow::~CameraWindow() {
  if (camera_) camera_->Close();
}

bool CameraWindow::Ratio43() const {
  return aspect_->currentIndex() == 0;
}

void CameraWindow::InitDevice() {
  if (prompter_.Message(Gb("如果电脑未安装拍照设备，请选择【取消】退出初始化，以免获取设备出错！"), Gb("提示信息："),
                        Buttons::OkCancel, Icon::Question) != Answer::Ok)
    return;
  const std::vector<std::string> names = camera_ ? camera_->DeviceNames() : std::vector<std::string>{};
  devices_->clear();
  for (const std::string& n : names)
    if (!n.empty()) devices_->addItem(ToQt(n));
  if (devices_->count() == 0) {
    prompter_.Message(Gb("未检测到拍照设备，请检查是否连接正常！"), Gb("提示信息："), Buttons::Ok, Icon::None);
    return;
  }
  devices_->setCurrentIndex(0);
  camera_->Select(devices_->currentIndex());
  camera_->Start([this](const QImage& frame) {
    live_->setPixmap(QPixmap::fromImage(frame.scaled(live_->size(), Qt::KeepAspectRatio, Qt::FastTransformation)));
  });
  started_ = true;
}

void CameraWindow::Shoot() {
  // The scratch file goes into the picture folder, so there must be one.
  if (!list_.FolderReady()) return;
  const QString scratch = detail::ToQPath(NativePath(list_.Folder()) / "temp.bmp");
  const bool grabbed = camera_ && started_ && camera_->GrabFrame(scratch);
  const QImage frame = grabbed ? ReadPictureScaled(scratch, QSize(kMaxSide, kMaxSide)) : QImage();
  QFile::remove(scratch);
  if (frame.isNull()) {
    prompter_.Message(Gb("没有取得摄像头的图像，请先按“初始化设备”，等摄像头画面出现后再拍照！"), Gb("操作提示："),
                      Buttons::Ok, Icon::None);
    return;
  }
  shot_ = frame;
  ShowShot();
  PlayShutter();
}

void CameraWindow::Save() {
  if (!ShotPresent()) {
    prompter_.Message(Gb("无图像数据可供保存！"), Gb("操作提示："), Buttons::Ok, Icon::None);
    return;
  }
  const std::string name =
      autoName_->isChecked() ? std::to_string(clock_.MillisecondsSinceStart()) : FromQt(name_->text());
  if (name.empty()) {
    prompter_.Message(Gb("图片文件名不能为空！"), Gb("操作提示："), Buttons::Ok, Icon::None);
    name_->setFocus();
    return;
  }
  int w = LeadingInt(FromQt(width_->text()));
  int h = LeadingInt(FromQt(height_->text()));
  if (w < 0 || h < 0 || w > kMaxSide || h > kMaxSide) {
    prompter_.Message(Gb("截取设置的宽和高应为 0 到 8000 之间的整数(0 表示与拍照显示区一样大)，请重新输入！"),
                      Gb("操作提示："), Buttons::Ok, Icon::None);
    return;
  }
  if (w == 0) w = shotPanel_->width();
  if (h == 0) h = shotPanel_->height();
  const auto target = list_.PrepareShot(name);
  if (!target) {
    if (PhotoNameProblem(name)) name_->setFocus();
    return;
  }
  // Scaled from the camera's own frame rather than from the smaller panel, so a large size stays sharp.
  const QImage picture = shot_.scaled(w, h, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  if (!picture.save(detail::ToQPath(*target), "JPG", 95)) {
    prompter_.Message(
        Gb("照片无法保存到图片文件夹“") + list_.Folder() + Gb("”，请检查文件夹是否可写、磁盘空间是否足够！"),
        Gb("错误提示："), Buttons::Ok, Icon::Error);
    return;
  }
  list_.AddShot(name);
  saved_ = true;
  camera_->Close();
  accept();
}

void CameraWindow::ChangeAspect() {
  if (Ratio43()) {
    live_->setGeometry(8, 10, 400, 300);
    shotPanel_->setGeometry(420, 10, 400, 300);
    width_->setText(QStringLiteral("400"));
    height_->setText(QStringLiteral("300"));
  } else {
    live_->setGeometry(58, 10, 300, 400);
    shotPanel_->setGeometry(470, 10, 300, 400);
    width_->setText(QStringLiteral("300"));
    height_->setText(QStringLiteral("400"));
  }
  if (!started_)
    live_->setPixmap(
        PanelPlaceholder(live_->size(), QStringLiteral("按“初始化设备”显示摄像头画面"), QColor(40, 40, 40)));
  ShowShot();
}

void CameraWindow::SizeFieldLeft(bool widthField) {
  QLineEdit* given = widthField ? width_ : height_;
  QLineEdit* other = widthField ? height_ : width_;
  bool ok = false;
  const double value = given->text().trimmed().toDouble(&ok);
  if (!ok) return;  // not a number: the other side is left as it is
  other->setText(ToQt(FormatNumber(OtherSide(value, widthField, Ratio43()))));
}

void CameraWindow::ShowShot() {
  if (shot_.isNull()) {
    shotPanel_->setPixmap(PanelPlaceholder(shotPanel_->size(), QStringLiteral("拍照显示区"), QColor(245, 245, 245)));
    return;
  }
  shotPanel_->setPixmap(
      QPixmap::fromImage(shot_.scaled(shotPanel_->size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
}

void CameraWindow::PlayShutter() {
  // The sound port plays files: the built-in sound is written out once per window.
  if (!shutter_.isOpen()) {
    shutter_.setFileTemplate(QDir::tempPath() + QStringLiteral("/kavrel-shutter-XXXXXX.wav"));
    QFile resource(QString::fromLatin1(assets::kShutterSound));
    if (!resource.open(QIODevice::ReadOnly) || !shutter_.open()) return;
    shutter_.write(resource.readAll());
    shutter_.flush();
  }
  sound_.PlaySoundFile(FromQt(QDir::toNativeSeparators(shutter_.fileName())), false);
}

}  // namespace kavrel
