#include "settings/sound_settings_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "engine/ports/prompter.h"
#include "engine/ports/sound_port.h"
#include "storage/codec.h"
#include "storage/program_dir.h"
#include "storage/settings.h"

namespace kavrel {

namespace {

// Design names of each row's controls (the check boxes are named after their keys).
struct RowNames {
  const char* name;      // 选择框_… / 组合框_… suffix
  const char* button;    // 超级按钮_…试听 / …停止 stem
  const char* loopName;  // nullptr without a loop box
};

const RowNames kNames[kSoundRowCount] = {
    {"抽奖页面背景音乐", "抽奖背景音乐", "选择框_循环播放抽奖页面背景音乐"},
    {"结果页面背景音乐", "结果背景音乐", "选择框_循环播放结果页面背景音乐"},
    {"开始音乐", "开始音乐", nullptr},
    {"停止音乐", "停止音乐", nullptr},
};

QString U(const std::string& utf8) {
  return QString::fromUtf8(utf8.c_str());
}

QPushButton* Button(QWidget* parent, const std::string& name, const char* caption) {
  auto* b = new QPushButton(QString::fromUtf8(caption), parent);
  b->setObjectName(U(name));
  b->setAutoDefault(false);
  return b;
}

}  // namespace

SoundSettingsWindow::SoundSettingsWindow(const ProgramDir& dir, Settings& settings, SoundPort& sound,
                                         Prompter& prompter, QWidget* parent)
    : QDialog(parent), dir_(dir), settings_(settings), sound_(sound), prompter_(prompter) {
  setObjectName(QStringLiteral("SoundSettingsWindow"));
  setWindowTitle(QStringLiteral("音效设置"));
  setModal(true);

  const std::vector<std::string> files = ListSoundFolder(dir_);
  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(8);
  grid->setVerticalSpacing(6);
  int gridRow = 0;
  for (std::size_t i = 0; i < kSoundRowCount; ++i) {
    const auto row = static_cast<SoundRow>(i);
    const SoundRowKeys& keys = KeysOf(row);
    const RowNames& names = kNames[i];
    Row& r = rows_[i];
    r.on = new QCheckBox(QString::fromUtf8(keys.onKey), this);
    r.on->setObjectName(U(std::string("选择框_") + names.name));
    r.file = new QComboBox(this);
    r.file->setObjectName(U(std::string("组合框_") + names.name));
    r.file->setMinimumWidth(150);
    r.file->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    r.file->setMinimumContentsLength(14);
    // The item keeps the stored bytes, so a saved name is exactly the listed one.
    for (const std::string& f : files) r.file->addItem(ToQt(f), QByteArray::fromStdString(f));
    auto* preview = Button(this, std::string("超级按钮_") + names.button + "试听", "试听");
    auto* stop = Button(this, std::string("超级按钮_") + names.button + "停止", "停止");
    connect(preview, &QPushButton::clicked, this, [this, row] { Preview(row); });
    connect(stop, &QPushButton::clicked, this, [this] { sound_.StopAllSounds(); });

    if (gridRow > 0) grid->setRowMinimumHeight(gridRow++, 6);  // a gap between the sounds
    grid->addWidget(r.on, gridRow, 0);
    grid->addWidget(r.file, gridRow, 1);
    grid->addWidget(preview, gridRow, 2);
    grid->addWidget(stop, gridRow, 3);
    ++gridRow;
    if (keys.loopKey) {
      r.loop = new QCheckBox(QString::fromUtf8(keys.loopKey), this);
      r.loop->setObjectName(QString::fromUtf8(names.loopName));
      grid->addWidget(r.loop, gridRow++, 0, 1, 2);
    }
  }
  grid->setColumnStretch(1, 1);

  auto* note = new QLabel(QStringLiteral("备注：打开或关闭背景音乐快捷键：F9"), this);
  note->setObjectName(QStringLiteral("标签1"));
  auto* empty = new QLabel(this);
  empty->setObjectName(QStringLiteral("标签_空文件夹"));
  empty->setWordWrap(true);
  empty->setStyleSheet(QStringLiteral("color: #A0101E;"));
  // An empty list would otherwise look broken; say where the files are looked for.
  empty->setVisible(files.empty());
  empty->setText(QStringLiteral("声音文件夹中没有文件：请把声音文件（.mp3、.wav、.mid）放到 ") + ToQt(dir_.RootGb()) +
                 QStringLiteral("/wav 中。"));
  auto* ok = Button(this, "按钮_确定", "确定");
  auto* cancel = Button(this, "按钮_取消", "取消");
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(note, 1);
  buttons->addWidget(ok);
  buttons->addWidget(cancel);

  auto* main = new QVBoxLayout(this);
  main->addLayout(grid);
  main->addStretch();
  main->addWidget(empty);
  main->addLayout(buttons);

  connect(ok, &QPushButton::clicked, this, &SoundSettingsWindow::OkPressed);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  // 480 x 360 at 50, 50 when it fits; larger fonts get what they need.
  resize(QSize(480, 360).expandedTo(minimumSizeHint()));
  const QScreen* screen = QGuiApplication::primaryScreen();
  const QPoint origin = screen ? screen->geometry().topLeft() : QPoint();
  move(origin + QPoint(50, 50));

  Show(LoadSoundChoices(settings_));
}

void SoundSettingsWindow::Show(const SoundChoices& choices) {
  for (std::size_t i = 0; i < kSoundRowCount; ++i) {
    Row& r = rows_[i];
    r.on->setChecked(choices[i].on);
    if (r.loop) r.loop->setChecked(choices[i].loop);
    // An exact, case-sensitive match of the whole text; a stored file no longer in the folder leaves the
    // list without a selection.
    r.file->setCurrentIndex(r.file->findData(QByteArray::fromStdString(choices[i].file)));
  }
}

SoundChoices SoundSettingsWindow::Choices() const {
  SoundChoices c;
  for (std::size_t i = 0; i < kSoundRowCount; ++i) {
    const Row& r = rows_[i];
    c[i].on = r.on->isChecked();
    c[i].loop = r.loop ? r.loop->isChecked() : false;
    c[i].file = r.file->currentIndex() < 0 ? std::string() : r.file->currentData().toByteArray().toStdString();
  }
  return c;
}

// Plays the row's file once, whether or not the row is switched on; nothing is chosen, nothing plays.
void SoundSettingsWindow::Preview(SoundRow row) {
  const QComboBox* file = rows_[static_cast<std::size_t>(row)].file;
  if (file->currentIndex() < 0) return;
  sound_.PlaySoundFile(dir_.Resolve(file->currentData().toByteArray().toStdString()), false);
}

void SoundSettingsWindow::OkPressed() {
  if (!SaveSoundChoices(settings_, Choices())) {
    // The window stays open so nothing chosen is lost; the operator can free the folder and try again.
    prompter_.Message(Gb("音效设置保存失败，请检查程序文件夹的config目录是否可以写入！"), Gb("错误提示："), Buttons::Ok,
                      Icon::Error);
    return;
  }
  accept();
}

}  // namespace kavrel
