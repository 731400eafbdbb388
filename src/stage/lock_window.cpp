#include "stage/lock_window.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include "assets.h"
#include "results/screen_cover.h"
#include "stage/stage_look.h"
#include "storage/codec.h"

namespace kavrel {

namespace {

// "(默认密码为空)" is a hint for a fresh installation only: once a password is set it would tell whoever
// stands at the locked screen something untrue, so it is shown only while the stored password is empty.
QString LockMessage(bool passwordSet) {
  return passwordSet ? QStringLiteral("您的屏幕已被锁定，请输入密码进行解锁\n\n按任意键解锁")
                     : QStringLiteral("您的屏幕已被锁定，请输入密码进行解锁(默认密码为空)\n\n按任意键解锁");
}

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

LockWindow::LockWindow(Settings& settings, Prompter& prompter, const QRect& screen, QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      password_(settings, prompter),
      background_(QString::fromLatin1(assets::kLockBackground)) {
  setObjectName(QStringLiteral("LockWindow"));
  setWindowTitle(QStringLiteral("屏幕已锁定"));
  setModal(true);
  setFocusPolicy(Qt::StrongFocus);
  QScreen* covered = ScreenForArea(screen, parent);
  PlaceOnScreen(*this, covered, screen);

  message_ = new QLabel(LockMessage(!password_.Stored().empty()), this);
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

bool LockWindow::RowShown() const {
  return !passwordBox_->isHidden();
}

void LockWindow::ShowRow(bool shown) {
  for (QWidget* w : {static_cast<QWidget*>(passwordLabel_), static_cast<QWidget*>(passwordBox_),
                     static_cast<QWidget*>(unlock_), static_cast<QWidget*>(change_), static_cast<QWidget*>(hide_)})
    w->setVisible(shown);
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
  LockPasswordWindow window(password_, this);
  window.exec();
  message_->setText(LockMessage(!password_.Stored().empty()));
  SetTopmost(true);
  if (RowShown()) passwordBox_->setFocus();
}

void LockWindow::SetTopmost(bool on) {
  wantGrab_ = on;
  if (QWindow* w = windowHandle()) {
    w->setFlag(Qt::WindowStaysOnTopHint, on);
    if (!on) {
      w->setKeyboardGrabEnabled(false);
      w->setMouseGrabEnabled(false);
    }
  }
  grabbing_ = false;
  if (on && isVisible()) {
    raise();
    activateWindow();
    Grab();
  }
}

void LockWindow::Grab() {
  if (!wantGrab_ || unlocked_ || !isVisible()) return;
  QWindow* w = windowHandle();
  if (!w) return;
  const bool keyboard = w->setKeyboardGrabEnabled(true);
  const bool mouse = w->setMouseGrabEnabled(true);
  grabbing_ = keyboard && mouse;
  if (grabbing_) {
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
  activateWindow();
  if (!RowShown()) setFocus();
  QTimer::singleShot(0, this, &LockWindow::Grab);
}

namespace {

bool IsEnter(const QKeyEvent* key) {
  return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

}  // namespace

bool LockWindow::eventFilter(QObject* watched, QEvent* event) {
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
  // On a narrow screen the stretched picture's blossom branch reaches under the message: a soft pale plate
  // keeps the red text readable on every part of the picture.
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(255, 255, 255, 175));
  p.drawRoundedRect(QRectF(message_->geometry().adjusted(-28, -14, 28, 14)), 18, 18);
}

}  // namespace kavrel
