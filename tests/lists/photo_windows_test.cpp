// The picture list editor and the camera window, driven through their buttons offscreen.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <filesystem>

#include "lists/camera_window.h"
#include "lists/photo_list_window.h"
#include "storage/codec.h"
#include "storage/program_dir.h"
#include "storage/settings.h"
#include "storage/text_file.h"
#include "support/fakes/fake_camera.h"
#include "support/fakes/fake_clock.h"
#include "support/fakes/recording_sound_port.h"
#include "support/fakes/scripted_prompter.h"
#include "support/when_shown.h"

namespace kavrel::test {
namespace {

namespace fs = std::filesystem;

class PhotoWindowsTest : public ::testing::Test {
 protected:
  PhotoWindowsTest()
      : dir_(fs::path(temp_.path().toStdString()) / "app"),
        photos_(fs::path(temp_.path().toStdString()) / "photos"),
        settings_(dir_.Path(ProgramDir::kConfigIni)) {
    fs::create_directories(dir_.Root());
    fs::create_directories(photos_);
    dir_.EnsureConfigDir();
  }

  void Photo(const std::string& name, QColor colour, QSize size = QSize(160, 120)) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    ASSERT_TRUE(image.save(QString::fromStdString((photos_ / name).string()), "JPG"));
  }
  PhotoListContext Context(bool ratio43 = true, bool underWay = false) {
    return {dir_, settings_, prompter_, clock_, underWay, GbPath(photos_), ratio43};
  }
  template <typename T>
  static T* Find(QWidget& w, const char* name) {
    T* child = w.findChild<T*>(QString::fromUtf8(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
  }
  std::string SetDat() const { return ReadTextFile(dir_.Path(ProgramDir::kSetDat)); }

  QTemporaryDir temp_;
  ProgramDir dir_;
  fs::path photos_;
  Settings settings_;
  ScriptedPrompter prompter_;
  FakeClock clock_;
  RecordingSoundPort sound_;
};

TEST_F(PhotoWindowsTest, TheListEditorShowsPreviewsAndImports) {
  Photo("zhang.jpg", Qt::red);
  Photo("wang.jpg", Qt::green);
  WriteTextFile(dir_.Path(ProgramDir::kSetDat), "zhang\r\n");
  PhotoListWindow window(Context(false), sound_, nullptr);
  EXPECT_EQ(window.windowTitle(), QStringLiteral("编辑抽奖名单(图片模式)"));
  auto* items = Find<QListWidget>(window, "列表框_名单");
  auto* preview = Find<QLabel>(window, "画板1");
  auto* aspect = Find<QComboBox>(window, "组合框_比例");
  EXPECT_EQ(Find<QLabel>(window, "标签_图片")->text(), QStringLiteral("1"));
  EXPECT_EQ(items->item(0)->text(), QStringLiteral("zhang.jpg"));
  EXPECT_EQ(aspect->currentIndex(), 1);
  EXPECT_EQ(preview->geometry(), QRect(426, 96, 270, 360));
  // Nothing selected: the first item is previewed, stretched over the panel.
  ASSERT_FALSE(preview->pixmap().isNull());
  EXPECT_EQ(preview->pixmap().size(), QSize(270, 360));
  EXPECT_EQ(preview->pixmap().toImage().pixelColor(135, 180).red() > 200, true);
  EXPECT_TRUE(Find<QCheckBox>(window, "选择框_导入前清除图片")->isChecked());

  // The aspect is written at once and moves the panel.
  aspect->setCurrentIndex(0);
  emit aspect->activated(0);
  EXPECT_EQ(settings_.ReadText(Gb("图片路径"), Gb("图片比例"), ""), "4:3");
  EXPECT_EQ(preview->geometry(), QRect(376, 128, 400, 300));

  prompter_.ScriptPath(GbPath(photos_));
  Find<QPushButton>(window, "按钮_导入图片")->click();
  ASSERT_EQ(items->count(), 2);
  EXPECT_EQ(items->item(0)->text(), QStringLiteral("wang.jpg"));
  EXPECT_EQ(Find<QLabel>(window, "标签_图片")->text(), QStringLiteral("2"));
  EXPECT_TRUE(Find<QLabel>(window, "标签_文件名")->text().isEmpty());
  EXPECT_EQ(SetDat(), "wang\r\nzhang\r\n");
  EXPECT_TRUE(Find<QPushButton>(window, "按钮_导入图片")->isEnabled());

  items->setCurrentRow(1);
  Find<QPushButton>(window, "按钮_删除一张")->click();  // the question is answered with OK
  EXPECT_EQ(items->count(), 1);
  EXPECT_EQ(items->currentRow(), 0);
  EXPECT_FALSE(fs::exists(photos_ / "zhang.jpg"));
  Find<QPushButton>(window, "按钮_删除全部")->click();
  EXPECT_EQ(items->count(), 0);
  EXPECT_EQ(Find<QLabel>(window, "标签_图片")->text(), QStringLiteral("0"));
  EXPECT_TRUE(preview->pixmap().isNull());  // an empty list previews nothing
  EXPECT_TRUE(window.DrawRestartWanted());
}

TEST_F(PhotoWindowsTest, WithoutACameraTheWindowSaysSo) {
  PhotoList list(Context());
  CameraWindow window(list, nullptr, prompter_, sound_, clock_);
  EXPECT_EQ(window.windowTitle(), QStringLiteral("摄像头拍照"));
  Find<QPushButton>(window, "按钮_获取设备")->click();
  ASSERT_EQ(prompter_.shown().size(), 2u);
  EXPECT_EQ(prompter_.shown()[0].text, Gb("如果电脑未安装拍照设备，请选择【取消】退出初始化，以免获取设备出错！"));
  EXPECT_EQ(prompter_.shown()[1].text, Gb("未检测到拍照设备，请检查是否连接正常！"));
  EXPECT_EQ(prompter_.shown()[1].caption, Gb("提示信息："));
  // No shot: nothing to save, even with a name typed.
  Find<QLineEdit>(window, "编辑框_文件名")->setText(QStringLiteral("张三"));
  Find<QPushButton>(window, "按钮_保存")->click();
  EXPECT_EQ(prompter_.shown().back().text, Gb("无图像数据可供保存！"));
  EXPECT_FALSE(window.Saved());
}

TEST_F(PhotoWindowsTest, AShotIsSavedAtTheSizeAskedFor) {
  PhotoList list(Context());
  list.Open();
  auto owned = std::make_unique<FakeCamera>();
  FakeCamera* camera = owned.get();
  camera->devices = {Gb("USB 摄像头"), "", Gb("内置摄像头")};
  CameraWindow window(list, std::move(owned), prompter_, sound_, clock_);
  Find<QPushButton>(window, "按钮_获取设备")->click();
  auto* devices = Find<QComboBox>(window, "当前视频设备");
  ASSERT_EQ(devices->count(), 2);
  EXPECT_EQ(devices->itemText(1), QStringLiteral("内置摄像头"));
  EXPECT_EQ(camera->selected, 0);
  EXPECT_EQ(camera->starts, 1);

  QImage frame(1280, 720, QImage::Format_RGB32);
  frame.fill(QColor(20, 120, 220));
  camera->Yield(frame);
  EXPECT_FALSE(Find<QLabel>(window, "标签1")->pixmap().isNull());
  Find<QPushButton>(window, "按钮_拍照")->click();
  ASSERT_TRUE(window.ShotPresent());
  EXPECT_EQ(window.Shot().size(), QSize(1280, 720));
  EXPECT_FALSE(fs::exists(photos_ / "temp.bmp"));  // the scratch file is gone again
  ASSERT_EQ(sound_.calls.size(), 1u);
  EXPECT_EQ(sound_.calls[0].rfind("play ", 0), 0u);
  EXPECT_NE(sound_.calls[0].find(".wav once"), std::string::npos);
  // The shutter file holds our built-in WAVE.
  const std::string shutter = sound_.calls[0].substr(5, sound_.calls[0].size() - 10);
  EXPECT_EQ(fs::file_size(NativePath(shutter)), 10044u);

  // The size fields follow each other with the aspect.
  auto* width = Find<QLineEdit>(window, "编辑框_宽");
  auto* height = Find<QLineEdit>(window, "编辑框_高");
  width->setText(QStringLiteral("640"));
  emit width->editingFinished();
  EXPECT_EQ(height->text(), QStringLiteral("480"));
  Find<QComboBox>(window, "组合框_比例")->setCurrentIndex(1);
  EXPECT_EQ(width->text(), QStringLiteral("300"));
  EXPECT_EQ(Find<QLabel>(window, "画板_图片显示")->geometry(), QRect(470, 10, 300, 400));
  width->setText(QStringLiteral("640"));
  emit width->editingFinished();
  EXPECT_EQ(height->text(), QStringLiteral("853.3333333333"));
  Find<QComboBox>(window, "组合框_比例")->setCurrentIndex(0);

  // No name: refused, the name field takes the focus.
  Find<QPushButton>(window, "按钮_保存")->click();
  EXPECT_EQ(prompter_.shown().back().text, Gb("图片文件名不能为空！"));
  width->setText(QStringLiteral("200"));
  height->setText(QStringLiteral("150"));
  Find<QLineEdit>(window, "编辑框_文件名")->setText(QStringLiteral("张三"));
  Find<QPushButton>(window, "按钮_保存")->click();
  ASSERT_TRUE(window.Saved());
  const QString saved = QString::fromStdString((photos_ / "张三.jpg").string());
  EXPECT_EQ(QImageReader(saved).size(), QSize(200, 150));
  EXPECT_EQ(list.Items(), std::vector<std::string>{Gb("张三.jpg")});
  EXPECT_EQ(SetDat(), Gb("张三\r\n"));
  EXPECT_GE(camera->closes, 1);
}

TEST_F(PhotoWindowsTest, AutoNamesAndTitleBarClose) {
  PhotoList list(Context());
  auto owned = std::make_unique<FakeCamera>();
  FakeCamera* camera = owned.get();
  camera->devices = {"cam"};
  {
    CameraWindow window(list, std::move(owned), prompter_, sound_, clock_);
    window.InitDevice();
    camera->Yield(QImage(QSize(64, 48), QImage::Format_RGB32));
    window.Shoot();
    ASSERT_TRUE(window.ShotPresent());
    window.close();  // by the title bar: nothing is saved
    EXPECT_FALSE(window.Saved());
  }
  EXPECT_FALSE(FileExists(dir_.Path(ProgramDir::kSetDat)));
  EXPECT_EQ(list.Count(), 0);

  owned = std::make_unique<FakeCamera>();
  camera = owned.get();
  camera->devices = {"cam"};
  clock_.ms = 123456789;
  CameraWindow window(list, std::move(owned), prompter_, sound_, clock_);
  window.InitDevice();
  camera->Yield(QImage(QSize(64, 48), QImage::Format_RGB32));
  window.Shoot();
  Find<QLineEdit>(window, "编辑框_文件名")->setText(QStringLiteral("ignored"));
  Find<QCheckBox>(window, "选择框_自动命名")->setChecked(true);
  window.Save();
  EXPECT_TRUE(fs::exists(photos_ / "123456789.jpg"));
  EXPECT_FALSE(fs::exists(photos_ / "ignored.jpg"));
  // Width and height 0 keep the panel's own size.
  EXPECT_EQ(QImageReader(QString::fromStdString((photos_ / "123456789.jpg").string())).size(), QSize(400, 300));
}

TEST_F(PhotoWindowsTest, TheCameraButtonNeedsAPictureFolder) {
  PhotoListContext context = Context();
  context.pictureFolder.clear();
  bool asked = false;
  PhotoListWindow window(context, sound_, [&] {
    asked = true;
    return std::unique_ptr<Camera>();
  });
  Find<QPushButton>(window, "按钮_拍照")->click();
  EXPECT_FALSE(asked);
  ASSERT_EQ(prompter_.shown().size(), 1u);
  EXPECT_NE(ToQt(prompter_.shown()[0].text).indexOf(QStringLiteral("导入图片")), -1);

  // With a folder the camera window opens; a photo taken there is selected when it closes.
  Photo("a.jpg", Qt::blue);
  PhotoListWindow withFolder(Context(), sound_, [&] {
    auto camera = std::make_unique<FakeCamera>();
    camera->devices = {"cam"};
    return std::unique_ptr<Camera>(std::move(camera));
  });
  prompter_.ScriptPath(GbPath(photos_));
  withFolder.ImportPictures();
  WhenShown<CameraWindow>([](CameraWindow* camera) {
    camera->findChild<QLineEdit*>(QStringLiteral("编辑框_文件名"))->setText(QStringLiteral("b"));
    camera->InitDevice();
    camera->Save();  // no shot yet: refused, the window stays
    camera->close();
  });
  withFolder.OpenCamera();
  auto* items = Find<QListWidget>(withFolder, "列表框_名单");
  EXPECT_EQ(items->count(), 1);
  EXPECT_EQ(items->currentRow(), 0);
}

}  // namespace
}  // namespace kavrel::test
