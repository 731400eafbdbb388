#include "settings/phone_settings_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>

#include "platform/qr_code.h"
#include "storage/codec.h"

namespace kavrel {

PhoneSettingsWindow::PhoneSettingsWindow(const PhoneOptions& options, const QStringList& addresses,
                                         const QStringList& fieldNames, PhoneControls controls, QWidget* parent)
    : QDialog(parent), options_(options), controls_(std::move(controls)) {
  setWindowTitle(QStringLiteral("现场手机互动"));
  setObjectName(QStringLiteral("PhoneSettingsWindow"));

  address_ = new QComboBox(this);
  address_->setObjectName(QStringLiteral("组合框_网络地址"));
  address_->addItems(addresses);
  const int chosen = address_->findText(QString::fromLatin1(options.address.c_str()));
  if (chosen >= 0) address_->setCurrentIndex(chosen);

  port_ = new QSpinBox(this);
  port_->setObjectName(QStringLiteral("数值框_端口"));
  port_->setRange(1, 65535);
  port_->setValue(options.port);

  field_ = new QComboBox(this);
  field_->setObjectName(QStringLiteral("组合框_匹配列"));
  field_->addItem(QStringLiteral("整条名单"));
  field_->addItems(fieldNames);
  field_->setCurrentIndex(options.matchField < field_->count() ? options.matchField : 0);

  maskNames_ = new QCheckBox(QStringLiteral("中奖名单隐藏姓名中间的字（张*三）"), this);
  maskNames_->setObjectName(QStringLiteral("复选框_隐藏姓名"));
  maskNames_->setChecked(options.maskNames);
  maskPhones_ = new QCheckBox(QStringLiteral("中奖名单隐藏手机号中间四位（138****5678）"), this);
  maskPhones_->setObjectName(QStringLiteral("复选框_隐藏手机号"));
  maskPhones_->setChecked(options.maskPhones);
  typedSignin_ = new QCheckBox(QStringLiteral("也允许输入工号或姓名签到和查询"), this);
  typedSignin_->setObjectName(QStringLiteral("复选框_输入工号签到"));
  typedSignin_->setChecked(options.typedSignin);
  typedSignin_->setToolTip(QStringLiteral("每人默认只能用自己邀请函上的二维码（个人签到码）签到。"));
  auto* typedRisk = new QLabel(QStringLiteral("注意：允许输入工号或姓名后，知道同事工号或姓名的人就能替他签到，"
                                              "“只抽已签到人员”时未到场的人也可能被抽中。"),
                               this);
  typedRisk->setObjectName(QStringLiteral("标签_输入签到风险"));
  typedRisk->setWordWrap(true);

  auto* form = new QFormLayout();
  form->addRow(QStringLiteral("网络地址："), address_);
  form->addRow(QStringLiteral("端口："), port_);
  form->addRow(QStringLiteral("签到和查询匹配："), field_);
  form->addRow(maskNames_);
  form->addRow(maskPhones_);
  form->addRow(typedSignin_);
  form->addRow(typedRisk);
  auto* note = new QLabel(QStringLiteral("舞台启用了隐私屏蔽时，手机上的中奖名单同样屏蔽。\n"
                                         "手机须与本机连在同一个网络（会场无线网）上。"),
                          this);
  note->setWordWrap(true);
  form->addRow(note);

  status_ = new QLabel(this);
  status_->setObjectName(QStringLiteral("标签_状态"));
  status_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  status_->setWordWrap(true);
  code_ = new QLabel(this);
  code_->setObjectName(QStringLiteral("标签_二维码"));
  code_->setAlignment(Qt::AlignCenter);
  code_->setMinimumSize(220, 220);

  start_ = new QPushButton(QStringLiteral("启动"), this);
  start_->setObjectName(QStringLiteral("按钮_启动"));
  stop_ = new QPushButton(QStringLiteral("停止"), this);
  stop_->setObjectName(QStringLiteral("按钮_停止"));
  stageCode_ = new QPushButton(QStringLiteral("在舞台上显示/隐藏二维码"), this);
  stageCode_->setObjectName(QStringLiteral("按钮_舞台二维码"));
  auto* close = new QPushButton(QStringLiteral("关闭"), this);
  close->setObjectName(QStringLiteral("按钮_关闭"));
  connect(start_, &QPushButton::clicked, this, &PhoneSettingsWindow::StartPressed);
  connect(stop_, &QPushButton::clicked, this, &PhoneSettingsWindow::StopPressed);
  connect(stageCode_, &QPushButton::clicked, this, [this] {
    if (controls_.toggleStageCode) controls_.toggleStageCode();
  });
  connect(close, &QPushButton::clicked, this, &QDialog::accept);

  auto* buttons = new QHBoxLayout();
  buttons->addWidget(start_);
  buttons->addWidget(stop_);
  buttons->addWidget(stageCode_);
  buttons->addStretch(1);
  buttons->addWidget(close);

  auto* left = new QVBoxLayout();
  left->addLayout(form);
  left->addWidget(status_);
  left->addStretch(1);
  auto* columns = new QHBoxLayout();
  columns->addLayout(left, 1);
  columns->addWidget(code_);
  auto* root = new QVBoxLayout(this);
  root->addLayout(columns, 1);
  root->addLayout(buttons);

  refresh_ = new QTimer(this);
  refresh_->setInterval(500);
  connect(refresh_, &QTimer::timeout, this, &PhoneSettingsWindow::RefreshStatus);
  refresh_->start();
  RefreshStatus();
}

PhoneOptions PhoneSettingsWindow::Options() const {
  PhoneOptions o = options_;
  o.address = address_->currentText().toStdString();
  o.port = port_->value();
  o.matchField = field_->currentIndex();
  o.maskNames = maskNames_->isChecked();
  o.maskPhones = maskPhones_->isChecked();
  o.typedSignin = typedSignin_->isChecked();
  return o;
}

void PhoneSettingsWindow::StartPressed() {
  if (address_->currentText().isEmpty()) {
    QMessageBox::warning(this, QStringLiteral("提示信息："),
                         QStringLiteral("本机没有可用的网络地址，请先连上会场的网络。"));
    return;
  }
  options_ = Options();
  const QString error = controls_.start ? controls_.start(options_) : QStringLiteral("不可用");
  if (!error.isEmpty()) QMessageBox::warning(this, QStringLiteral("错误提示："), error);
  RefreshStatus();
}

void PhoneSettingsWindow::StopPressed() {
  if (controls_.stop) controls_.stop();
  RefreshStatus();
}

void PhoneSettingsWindow::RefreshStatus() {
  const bool running = controls_.running && controls_.running();
  start_->setText(running ? QStringLiteral("按新设置重新启动") : QStringLiteral("启动"));
  stop_->setEnabled(running);
  stageCode_->setEnabled(running && controls_.toggleStageCode != nullptr);
  const QString url = running && controls_.url ? controls_.url() : QString();
  const QString counts = controls_.counts ? controls_.counts() : QString();
  status_->setText(running ? QStringLiteral("已启动。手机扫码或打开：\n%1\n%2").arg(url, counts)
                           : QStringLiteral("未启动（默认关闭）。\n%1").arg(counts));
  if (url == shownUrl_) return;
  shownUrl_ = url;
  code_->clear();
  if (url.isEmpty()) return;
  if (auto qr = QrCode::Encode(url.toStdString())) code_->setPixmap(QPixmap::fromImage(qr->ToImage(5)));
}

}  // namespace kavrel
