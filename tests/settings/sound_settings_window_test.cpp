#include "settings/sound_settings_window.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>

#include "storage/codec.h"
#include "storage/program_dir.h"
#include "storage/settings.h"
#include "storage/text_file.h"
#include "support/fakes/recording_sound_port.h"
#include "support/fakes/scripted_prompter.h"
#include "support/widget_lookup.h"

namespace kavrel {
namespace {

class SoundSettingsWindowTest : public ::testing::Test {
 protected:
  SoundSettingsWindowTest() { dir.EnsureConfigDir(); }

  void AddSounds(std::initializer_list<const char*> names) {
    QDir(temp.path()).mkpath(QStringLiteral("wav"));
    for (const char* n : names) {
      QFile f(temp.path() + "/wav/" + QString::fromUtf8(n));
      ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
  }
  std::string Read(const char* key) const { return settings.ReadText(Gb("音效设置"), Gb(key), "<missing>"); }
  void Click(QWidget* window, const char* name) { Find<QPushButton>(window, name)->click(); }

  QTemporaryDir temp;
  ProgramDir dir{temp.path().toStdString()};
  Settings settings{dir.Path(ProgramDir::kConfigIni)};
  RecordingSoundPort sound;
  ScriptedPrompter prompter;
};

TEST_F(SoundSettingsWindowTest, ListsTheSoundFolderAndConfirmingWritesTheTenKeysInOrder) {
  AddSounds({"stop1.wav", "bg2.mp3", "Start3.mp3", "bg4.mp3", "欢呼.wav"});
  QDir(temp.path()).mkpath(QStringLiteral("wav/sub"));  // folders are not sounds
  SoundSettingsWindow window(dir, settings, sound, prompter);
  EXPECT_EQ(window.windowTitle(), QStringLiteral("音效设置"));
  Shot(&window, "sound-settings.png");

  auto* stageFiles = Find<QComboBox>(&window, "组合框_抽奖页面背景音乐");
  const QStringList listed = {"\\wav\\bg2.mp3", "\\wav\\bg4.mp3", "\\wav\\Start3.mp3", "\\wav\\stop1.wav",
                              QStringLiteral("\\wav\\欢呼.wav")};
  for (const char* name : {"组合框_抽奖页面背景音乐", "组合框_结果页面背景音乐", "组合框_开始音乐", "组合框_停止音乐"})
    EXPECT_EQ(Items(Find<QComboBox>(&window, name)), listed) << name;
  // Nothing stored: the defaults are chosen where the folder has them; "start3.mp3" matches no item
  // because the match is case-sensitive.
  EXPECT_EQ(stageFiles->currentText(), "\\wav\\bg2.mp3");
  EXPECT_EQ(Find<QComboBox>(&window, "组合框_结果页面背景音乐")->currentText(), "\\wav\\bg4.mp3");
  EXPECT_EQ(Find<QComboBox>(&window, "组合框_开始音乐")->currentIndex(), -1);
  EXPECT_EQ(Find<QComboBox>(&window, "组合框_停止音乐")->currentText(), "\\wav\\stop1.wav");
  for (const char* name : {"选择框_抽奖页面背景音乐", "选择框_循环播放抽奖页面背景音乐", "选择框_结果页面背景音乐",
                           "选择框_循环播放结果页面背景音乐", "选择框_开始音乐", "选择框_停止音乐"})
    EXPECT_TRUE(Find<QCheckBox>(&window, name)->isChecked()) << name;
  EXPECT_EQ(Find<QCheckBox>(&window, "选择框_循环播放结果页面背景音乐")->text(), "循环播放结果页面背景音乐");
  EXPECT_EQ(Find<QLabel>(&window, "标签1")->text(), "备注：打开或关闭背景音乐快捷键：F9");

  // Each row's own changes only: result loop off, start row switched off with a Chinese file name,
  // stop row's file changed.
  Find<QCheckBox>(&window, "选择框_循环播放结果页面背景音乐")->setChecked(false);
  Find<QCheckBox>(&window, "选择框_开始音乐")->setChecked(false);
  Find<QComboBox>(&window, "组合框_开始音乐")->setCurrentIndex(4);
  Find<QComboBox>(&window, "组合框_停止音乐")->setCurrentIndex(1);
  Click(&window, "按钮_确定");
  EXPECT_EQ(window.result(), QDialog::Accepted);

  const std::string expected =
      Gb("[音效设置]\r\n"
         "启用抽奖页面背景音乐=真\r\n"
         "循环播放抽奖页面背景音乐=真\r\n"
         "启用抽奖页面背景音乐名称=\\wav\\bg2.mp3\r\n"
         "启用结果页面背景音乐=真\r\n"
         "循环播放结果页面背景音乐=假\r\n"
         "启用结果页面背景音乐名称=\\wav\\bg4.mp3\r\n"
         "启用开始音乐=假\r\n"
         "启用开始音乐名称=\\wav\\欢呼.wav\r\n"
         "启用停止音乐=真\r\n"
         "启用停止音乐名称=\\wav\\bg4.mp3\r\n");
  EXPECT_EQ(ReadTextFile(dir.Path(ProgramDir::kConfigIni)), expected);
  EXPECT_TRUE(prompter.shown().empty());
}

TEST_F(SoundSettingsWindowTest, AnEmptyFolderGivesEmptyListsAndStoresEmptyNames) {
  QDir(temp.path()).mkpath(QStringLiteral("wav"));
  settings.WriteBool(Gb("音效设置"), Gb("循环播放抽奖页面背景音乐"), false);
  SoundSettingsWindow window(dir, settings, sound, prompter);
  for (const char* name : {"组合框_抽奖页面背景音乐", "组合框_结果页面背景音乐", "组合框_开始音乐", "组合框_停止音乐"})
    EXPECT_EQ(Find<QComboBox>(&window, name)->count(), 0) << name;
  EXPECT_FALSE(Find<QCheckBox>(&window, "选择框_循环播放抽奖页面背景音乐")->isChecked());
  EXPECT_FALSE(Find<QLabel>(&window, "标签_空文件夹")->isHidden());
  // Previewing with nothing chosen plays nothing.
  Click(&window, "超级按钮_抽奖背景音乐试听");
  EXPECT_TRUE(sound.calls.empty());

  Click(&window, "按钮_确定");
  for (const char* key :
       {"启用抽奖页面背景音乐名称", "启用结果页面背景音乐名称", "启用开始音乐名称", "启用停止音乐名称"})
    EXPECT_EQ(Read(key), "") << key;
  EXPECT_EQ(Read("循环播放抽奖页面背景音乐"), Gb("假"));
  EXPECT_EQ(Read("启用停止音乐"), Gb("真"));
}

TEST_F(SoundSettingsWindowTest, PreviewPlaysOnceWhateverTheSwitchAndCancelWritesNothing) {
  AddSounds({"bg2.mp3", "stop1.wav"});
  settings.WriteBool(Gb("音效设置"), Gb("启用停止音乐"), false);
  settings.WriteText(Gb("音效设置"), Gb("启用结果页面背景音乐名称"), Gb("\\wav\\gone.mp3"));
  const std::string before = ReadTextFile(dir.Path(ProgramDir::kConfigIni));
  SoundSettingsWindow window(dir, settings, sound, prompter);
  // A stored file no longer in the folder leaves its list without a selection.
  EXPECT_EQ(Find<QComboBox>(&window, "组合框_结果页面背景音乐")->currentIndex(), -1);
  EXPECT_FALSE(Find<QCheckBox>(&window, "选择框_停止音乐")->isChecked());

  Click(&window, "超级按钮_停止音乐试听");
  Click(&window, "超级按钮_抽奖背景音乐试听");
  Click(&window, "超级按钮_结果背景音乐停止");
  ASSERT_EQ(sound.calls.size(), 3u);
  EXPECT_EQ(sound.calls[0], "play " + dir.Resolve(Gb("\\wav\\stop1.wav")) + " once");
  EXPECT_EQ(sound.calls[1], "play " + dir.Resolve(Gb("\\wav\\bg2.mp3")) + " once");
  EXPECT_EQ(sound.calls[2], "stop");

  Find<QCheckBox>(&window, "选择框_抽奖页面背景音乐")->setChecked(false);
  Click(&window, "按钮_取消");
  EXPECT_EQ(window.result(), QDialog::Rejected);
  EXPECT_EQ(ReadTextFile(dir.Path(ProgramDir::kConfigIni)), before);
}

TEST_F(SoundSettingsWindowTest, AFailedSaveIsReportedAndTheWindowStaysOpen) {
  AddSounds({"bg2.mp3"});
  // A folder where the settings file should be: nothing can be written.
  ASSERT_TRUE(QDir(temp.path()).mkpath(QStringLiteral("config/config.ini")));
  SoundSettingsWindow window(dir, settings, sound, prompter);
  window.show();
  Click(&window, "按钮_确定");
  ASSERT_EQ(prompter.MessageTexts().size(), 1u);
  EXPECT_EQ(prompter.MessageTexts()[0], Gb("音效设置保存失败，请检查程序文件夹的config目录是否可以写入！"));
  EXPECT_TRUE(window.isVisible());
}

}  // namespace
}  // namespace kavrel
