#include "stage/lock_window.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>

#include "assets.h"
#include "results/screen_cover.h"
#include "stage/stage_look.h"
#include "storage/codec.h"

namespace kavrel {

namespace {

// Shown above the password row only, never to an audience that merely looks at the locked stage: the
// picture says it is locked, and nothing about the password (the manual tells the operator the rest).
const char* const kRowMessage = "请输入解锁口令，按回车键解锁";
const char* const kPanelMessage = "舞台屏幕已锁定，观众只看到锁屏图片。\n在下面输入解锁口令，按回车键或点“解锁”解锁。";

// A grab fails until the window is really on screen; keep trying a little while after it is shown.
constexpr int kGrabRetryMs = 50;
constexpr int kGrabTries = 100;

void SetTextColour(QWidget* w, const QColor& colour) {
  QPalette p = w->palette();
  p.setColor(QPalette::WindowText, colour);
  w->setPalette(p);
}

// A design size that grows when the caption needs more room (a larger font or display scale).
QSize AtLeast(const QWidget* w, QSize design) {
  return design.expandedTo(w->sizeHint());
}

QLineEdit* PasswordBox(QWidget* parent, const char* name) {
  auto* box = new QLineEdit(parent);
  box->setObjectName(QString::fromUtf8(name));
  box->setEchoMode(QLineEdit::Password);
  return box;
}

}  // namespace

LockCommandLabel::LockCommandLabel(const QString& caption, QWidget* parent) : QLabel(caption, parent) {
  setCursor(Qt::PointingHandCursor);
  setAlignment(Qt::AlignCenter);
}

void LockCommandLabel::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit released();
  QLabel::mouseReleaseEvent(event);
}

// ---- LockPasswordWindow ----

LockPasswordWindow::LockPasswordWindow(LockPassword& password, QWidget* parent) : QDialog(parent), password_(password) {
  setObjectName(QStringLiteral("LockPasswordWindow"));
  setWindowTitle(QStringLiteral("修改锁屏密码"));
  setModal(true);
  setFixedSize(380, 250);

  struct Field {
    const char* name;
    const char* caption;
    int top;
    QLineEdit** box;
  };
  const Field fields[] = {{"编辑框_原密码", "原密码：", 24, &old_},
                          {"编辑框_新密码", "新密码：", 71, &new_},
                          {"编辑框_新密码1", "确认新密码：", 119, &confirm_}};
  for (const Field& f : fields) {
    auto* label = new QLabel(QString::fromUtf8(f.caption), this);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setGeometry(10, f.top, 126, 30);
    *f.box = PasswordBox(this, f.name);
    (*f.box)->setGeometry(140, f.top, 160, 30);
  }
  auto* confirm = new QPushButton(QStringLiteral("确认"), this);
  confirm->setObjectName(QStringLiteral("按钮_确认"));
  confirm->setGeometry(80, 171, 80, 32);
  auto* cancel = new QPushButton(QStringLiteral("取消"), this);
  cancel->setObjectName(QStringLiteral("按钮_取消"));
  cancel->setGeometry(192, 171, 80, 32);
  // Enter belongs to the boxes: in the old-password box it does nothing, so no button may be the default.
  for (QPushButton* b : {confirm, cancel}) {
    b->setAutoDefault(false);
    b->setDefault(false);
  }
  connect(confirm, &QPushButton::clicked, this, &LockPasswordWindow::ConfirmPressed);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(new_, &QLineEdit::returnPressed, this, &LockPasswordWindow::ConfirmPressed);
  connect(confirm_, &QLineEdit::returnPressed, this, &LockPasswordWindow::ConfirmPressed);
  old_->setFocus();
}

void LockPasswordWindow::ConfirmPressed() {
  if (password_.ChangeLockPassword(FromQt(old_->text()), FromQt(new_->text()), FromQt(confirm_->text()))) accept();
}

// ---- LockWindow ----

LockWindow::LockWindow(Settings& settings, Prompter& prompter, const QRect& screen, QWidget* operatorWindow,
                       QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      password_(settings, prompter),
      background_(QString::fromLatin1(assets::kLockBackground)) {
  setObjectName(QStringLiteral("LockWindow"));
  setWindowTitle(QStringLiteral("屏幕已锁定"));
  setModal(true);
  setFocusPolicy(Qt::StrongFocus);
  QScreen* covered = ScreenForArea(screen, parent);
  PlaceOnScreen(*this, covered, screen);

  message_ = new QLabel(QString::fromUtf8(kRowMessage), this);
  message_->setObjectName(QStringLiteral("透明标签1"));
  message_->setAlignment(Qt::AlignCenter);
  message_->setFont(StageFont(kFaceSong, 18, true));
  SetTextColour(message_, QColor(255, 0, 0));

  passwordLabel_ = new QLabel(QStringLiteral("解锁口令："), this);
  passwordLabel_->setObjectName(QStringLiteral("透明标签_口令"));
  passwordLabel_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  passwordLabel_->setFont(StageFont(kFaceSong, 14, true));
  SetTextColour(passwordLabel_, QColor(0, 0, 0));

  passwordBox_ = PasswordBox(this, "编辑框_口令");
  // Enter in the box is taken before the box sees it: left to propagate, the same press would reach the
  // window as well once a wrong-password message had closed, and try the password a second time.
  passwordBox_->installEventFilter(this);

  unlock_ = new LockCommandLabel(QStringLiteral("解锁"), this);
  unlock_->setObjectName(QStringLiteral("透明标签_解锁"));
  change_ = new LockCommandLabel(QStringLiteral("修改密码"), this);
  change_->setObjectName(QStringLiteral("透明标签_修改密码"));
  hide_ = new LockCommandLabel(QStringLiteral("隐藏"), this);
  hide_->setObjectName(QStringLiteral("透明标签_隐藏"));
  for (QLabel* l : {static_cast<QLabel*>(unlock_), static_cast<QLabel*>(change_), static_cast<QLabel*>(hide_)}) {
    l->setFont(StageFont(kFaceSong, 12, true));
    SetTextColour(l, QColor(0, 0, 255));
  }
  connect(unlock_, &LockCommandLabel::released, this, &LockWindow::TryUnlock);
  connect(change_, &LockCommandLabel::released, this, &LockWindow::ChangePassword);
  connect(hide_, &LockCommandLabel::released, this, [this] { ShowRow(false); });

  LayOut(screen.size());
  ShowRow(false);
  if (operatorWindow) BuildOperatorPanel(operatorWindow);
  // Over the whole stage screen it is full screen, so no window manager leaves the projector uncovered.
  if (covered && covered->geometry() == screen) setWindowState(Qt::WindowFullScreen);
}

void LockWindow::LayOut(const QSize& screen) {
  const int sw = screen.width();
  const int sh = screen.height();
  struct Item {
    QWidget* widget;
    QSize design;
  };
  const Item row[] = {{passwordLabel_, {100, 30}},
                      {passwordBox_, {192, 30}},
                      {unlock_, {60, 30}},
                      {change_, {80, 30}},
                      {hide_, {60, 30}}};
  int total = 0;
  for (const Item& item : row) {
    item.widget->resize(item.widget == passwordBox_ ? item.design : AtLeast(item.widget, item.design));
    total += item.widget->width();
  }
  // One line centred on the screen, each element centred vertically on its own height.
  int x = (sw - total) / 2;
  for (const Item& item : row) {
    item.widget->move(x, (sh - item.widget->height()) / 2);
    x += item.widget->width();
  }
  message_->resize(AtLeast(message_, {648, 80}));
  message_->move((sw - message_->width()) / 2, passwordLabel_->y() - message_->height() - 100);
}

// The row moves into a small window over the operator's own: typed there, the password never shows on
// the projector, and the operator needs no key to wake anything.
void LockWindow::BuildOperatorPanel(QWidget* operatorWindow) {
  panel_ = new QDialog(this, Qt::Window | Qt::WindowTitleHint | Qt::CustomizeWindowHint | Qt::WindowStaysOnTopHint);
  panel_->setObjectName(QStringLiteral("LockPanel"));
  panel_->setWindowTitle(QStringLiteral("舞台屏幕已锁定"));
  auto* text = new QLabel(QString::fromUtf8(kPanelMessage), panel_);
  text->setObjectName(QStringLiteral("标签_锁屏说明"));
  auto* row = new QHBoxLayout;
  for (QWidget* w : {static_cast<QWidget*>(passwordLabel_), static_cast<QWidget*>(passwordBox_),
                     static_cast<QWidget*>(unlock_), static_cast<QWidget*>(change_)}) {
    w->setParent(panel_);
    row->addWidget(w);
  }
  passwordBox_->setMinimumWidth(192);
  hide_->hide();
  message_->hide();
  auto* column = new QVBoxLayout(panel_);
  column->setContentsMargins(24, 20, 24, 20);
  column->setSpacing(16);
  column->addWidget(text);
  column->addLayout(row);
  panel_->adjustSize();
  // Its own screen, not the lock's: two X screens are two desktops, and a window stays on the one it opens on.
  if (operatorWindow->screen()) panel_->setScreen(operatorWindow->screen());
  const QRect host = operatorWindow->isVisible() ? operatorWindow->frameGeometry() : operatorWindow->geometry();
  panel_->move(host.center() - QPoint(panel_->width() / 2, panel_->height() / 2));
  // Escape and the close command leave the panel where it is, as they leave the lock.
  panel_->installEventFilter(this);
  ShowRow(true);
}

QWidget* LockWindow::Holder() {
  return panel_ ? static_cast<QWidget*>(panel_) : this;
}

bool LockWindow::RowShown() const {
  return !passwordBox_->isHidden();
}

void LockWindow::ShowRow(bool shown) {
  if (panel_) shown = true;  // on the operator's screen the row is always there
  for (QWidget* w : {static_cast<QWidget*>(passwordLabel_), static_cast<QWidget*>(passwordBox_),
                     static_cast<QWidget*>(unlock_), static_cast<QWidget*>(change_)})
    w->setVisible(shown);
  hide_->setVisible(shown && !panel_);
  message_->setVisible(shown && !panel_);
  if (shown) {
    passwordBox_->setFocus();
  } else {
    setFocus();
  }
}

void LockWindow::TryUnlock() {
  if (unlocked_) return;
  if (password_.Matches(FromQt(passwordBox_->text()))) {
    unlocked_ = true;
    SetTopmost(false);
    accept();
    return;
  }
  SetTopmost(false);
  password_.ReportWrongPassword();
  SetTopmost(true);
  if (RowShown()) passwordBox_->setFocus();
}

void LockWindow::ChangePassword() {
  SetTopmost(false);
  LockPasswordWindow window(password_, Holder());
  window.exec();
  SetTopmost(true);
  if (RowShown()) passwordBox_->setFocus();
}

void LockWindow::SetTopmost(bool on) {
  wantGrab_ = on;
  for (QWidget* window : {static_cast<QWidget*>(this), static_cast<QWidget*>(panel_)}) {
    if (!window) continue;
    if (QWindow* w = window->windowHandle()) {
      w->setFlag(Qt::WindowStaysOnTopHint, on);
      if (!on) {
        w->setKeyboardGrabEnabled(false);
        w->setMouseGrabEnabled(false);
      }
    }
  }
  if (on && isVisible()) {
    raise();
    if (panel_) panel_->raise();
    Holder()->activateWindow();
    Grab();
  }
}

void LockWindow::Grab() {
  QWidget* holder = Holder();
  if (!wantGrab_ || unlocked_ || !holder->isVisible()) return;
  QWindow* w = holder->windowHandle();
  if (!w) return;
  const bool keyboard = w->setKeyboardGrabEnabled(true);
  const bool mouse = w->setMouseGrabEnabled(true);
  if (keyboard && mouse) {
    grabTries_ = 0;
  } else if (++grabTries_ < kGrabTries) {
    QTimer::singleShot(kGrabRetryMs, this, &LockWindow::Grab);
  }
}

void LockWindow::reject() {
  // Escape must not unlock; only the password does.
  if (unlocked_) QDialog::reject();
}

void LockWindow::closeEvent(QCloseEvent* event) {
  if (unlocked_) {
    event->accept();
  } else {
    event->ignore();
  }
}

void LockWindow::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (panel_) {
    panel_->show();
    panel_->raise();
    panel_->activateWindow();
    passwordBox_->setFocus();
  } else {
    activateWindow();
    if (!RowShown()) setFocus();
  }
  QTimer::singleShot(0, this, &LockWindow::Grab);
}

namespace {

bool IsEnter(const QKeyEvent* key) {
  return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

}  // namespace

bool LockWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == panel_ && !unlocked_) {
    if (event->type() == QEvent::Close) {
      event->ignore();
      return true;
    }
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) return true;
  }
  if (watched == passwordBox_ && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (IsEnter(key)) {
      // A held Enter would otherwise stack one message on another.
      if (!key->isAutoRepeat()) TryUnlock();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void LockWindow::keyPressEvent(QKeyEvent* event) {
  event->accept();
  if (event->isAutoRepeat()) return;
  if (panel_) {
    // A key on the projector's window (the panel lost the keyboard): back to the panel.
    panel_->activateWindow();
    passwordBox_->setFocus();
    return;
  }
  // Other keys the box leaves alone (function keys, Escape) change nothing while the row is shown.
  if (focusWidget() == passwordBox_ && RowShown()) return;
  ShowRow(true);
  if (IsEnter(event)) TryUnlock();
}

void LockWindow::mousePressEvent(QMouseEvent* event) {
  event->accept();
  if (event->button() == Qt::LeftButton && !RowShown()) ShowRow(true);
}

void LockWindow::paintEvent(QPaintEvent*) {
  QPainter p(this);
  if (background_.isNull()) {
    QLinearGradient sky(0, 0, 0, height());
    sky.setColorAt(0, QColor(0xD4, 0xE8, 0xF6));
    sky.setColorAt(1, QColor(0xF2, 0xF8, 0xFC));
    p.fillRect(rect(), sky);
    return;
  }
  if (scaled_.size() != size()) scaled_ = background_.scaled(size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  p.drawPixmap(0, 0, scaled_);
  if (message_->isHidden()) return;
  // On a narrow screen the stretched picture's blossom branch reaches under the message: a soft pale plate
  // keeps the red text readable on every part of the picture.
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(255, 255, 255, 175));
  p.drawRoundedRect(QRectF(message_->geometry().adjusted(-28, -14, 28, 14)), 18, 18);
}

}  // namespace kavrel
