#include "console/phone_panel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include "console/phone_control.h"
#include "console/signin_log_window.h"
#include "platform/qr_code.h"

namespace kavrel {

PhonePanel::PhonePanel(PhoneControl& control, QWidget* parent)
    : QGroupBox(QStringLiteral("现场手机互动"), parent), control_(control) {
  setObjectName(QStringLiteral("分组框_现场手机互动"));
  url_ = new QLabel(this);
  url_->setObjectName(QStringLiteral("标签_手机地址"));
  url_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  counts_ = new QLabel(this);
  counts_->setObjectName(QStringLiteral("标签_签到人数"));
  counts_->setWordWrap(true);
  code_ = new QLabel(this);
  code_->setObjectName(QStringLiteral("标签_手机二维码"));
  auto* settings = new QPushButton(QStringLiteral("设置…"), this);
  settings->setObjectName(QStringLiteral("按钮_手机互动设置"));
  settings->setFocusPolicy(Qt::NoFocus);
  stageCode_ = new QPushButton(QStringLiteral("舞台显示二维码"), this);
  stageCode_->setObjectName(QStringLiteral("按钮_舞台二维码"));
  stageCode_->setFocusPolicy(Qt::NoFocus);
  auto* log = new QPushButton(QStringLiteral("签到记录…"), this);
  log->setObjectName(QStringLiteral("按钮_签到记录"));
  log->setFocusPolicy(Qt::NoFocus);
  connect(settings, &QPushButton::clicked, this, [this] { control_.OpenWindow(window()); });
  connect(log, &QPushButton::clicked, this, [this] {
    SigninLogWindow window(control_.Desk(), this->window());
    window.exec();
  });
  connect(stageCode_, &QPushButton::clicked, this, [this] { control_.ToggleStageCode(); });

  auto* text = new QVBoxLayout();
  text->addWidget(url_);
  text->addWidget(counts_);
  auto* buttons = new QHBoxLayout();
  buttons->addWidget(settings);
  buttons->addWidget(stageCode_);
  buttons->addWidget(log);
  text->addLayout(buttons);
  text->addStretch(1);
  auto* row = new QHBoxLayout(this);
  row->addLayout(text, 1);
  row->addWidget(code_);
  connect(&control_, &PhoneControl::Changed, this, &PhonePanel::Refresh);
  Refresh();
}

void PhonePanel::Refresh() {
  const QString url = control_.Url();
  url_->setText(url.isEmpty() ? QStringLiteral("未启动（“设定”→“现场手机互动”）") : url);
  counts_->setText(control_.CountsText());
  stageCode_->setEnabled(!url.isEmpty());
  if (url == shownUrl_) return;
  shownUrl_ = url;
  code_->clear();
  if (url.isEmpty()) return;
  if (auto qr = QrCode::Encode(url.toStdString())) code_->setPixmap(QPixmap::fromImage(qr->ToImage(3)));
}

}  // namespace kavrel
