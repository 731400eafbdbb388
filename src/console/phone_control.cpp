#include "console/phone_control.h"

#include <QHostAddress>
#include <QNetworkInterface>
#include <algorithm>

#include "console/phone_panel.h"
#include "console/stage_code_overlay.h"
#include "console/stage_link.h"
#include "phone/phone_answers.h"
#include "platform/descriptor_limit.h"
#include "settings/phone_settings_window.h"
#include "storage/codec.h"
#include "storage/participant_store.h"
#include "storage/program_dir.h"

namespace kavrel {

PhoneControl::PhoneControl(DrawSession& session, StageLink& stage, const ProgramDir& dir, const Clock& clock)
    : stage_(stage),
      dir_(dir),
      settings_(dir.Path(ProgramDir::kConfigIni)),
      options_(LoadPhoneOptions(settings_)),
      desk_(dir, clock),
      // Sized from the descriptor limit the program raised at start.
      server_(desk_, BudgetedLimits(DescriptorLimit())),
      feed_(session, dir, server_) {
  desk_.Load(&loadNotes_);
  connect(&desk_, &SigninDesk::Changed, this, &PhoneControl::Changed);
  if (options_.enabled) startError_ = Start(options_);
}

PhoneControl::~PhoneControl() {
  server_.Stop();
}

QStringList PhoneControl::Addresses() {
  // This computer's own addresses, the venue's network first; the loopback last, for a check on
  // this computer alone.
  QStringList lan;
  QStringList other;
  for (const QHostAddress& a : QNetworkInterface::allAddresses()) {
    if (a.isLoopback() || a.isLinkLocal() || a.isMulticast()) continue;
    (a.protocol() == QAbstractSocket::IPv4Protocol ? lan : other).append(a.toString());
  }
  return lan + other + QStringList{QStringLiteral("127.0.0.1")};
}

QStringList PhoneControl::FieldNames() const {
  // The fields of the list's first entry, as examples of what each choice matches.
  const auto entries = LoadListLines(dir_);
  QStringList names;
  const std::string first = entries.empty() ? std::string() : entries.front();
  for (int n = 1; n <= 8; ++n) {
    const std::string field = EntryField(first, n);
    if (field.empty()) break;
    names.append(QStringLiteral("第%1项（如：%2）").arg(n).arg(ToQt(field)));
  }
  // A choice made for another list stays selectable.
  for (int n = static_cast<int>(names.size()) + 1; n <= options_.matchField; ++n) {
    names.append(QStringLiteral("第%1项").arg(n));
  }
  return names;
}

void PhoneControl::OpenWindow(QWidget* parent) {
  PhoneControls controls;
  controls.start = [this](const PhoneOptions& o) { return Start(o); };
  controls.stop = [this] { Stop(); };
  controls.running = [this] { return Running(); };
  controls.url = [this] { return Url(); };
  controls.counts = [this] { return CountsText(); };
  controls.toggleStageCode = [this] { ToggleStageCode(); };
  PhoneSettingsWindow window(options_, Addresses(), FieldNames(), std::move(controls), parent);
  window.exec();
}

QWidget* PhoneControl::MakePanel() {
  return new PhonePanel(*this);
}

QString PhoneControl::Start(const PhoneOptions& options) {
  options_ = options;
  options_.enabled = true;
  if (!SavePhoneOptions(settings_, options_)) {
    return QStringLiteral("无法写入设置文件 config\\config.ini，手机互动没有启动。");
  }
  feed_.SetOptions(options_);  // the first snapshot is there before the first phone asks
  const QHostAddress address(QString::fromLatin1(options_.address.c_str()));
  if (address.isNull()) return QStringLiteral("网络地址无效：%1").arg(QString::fromLatin1(options_.address.c_str()));
  const QString error = server_.Start(address, static_cast<quint16>(options_.port));
  startError_ = error;
  if (!error.isEmpty() && overlay_) overlay_->close();
  emit Changed();
  return error;
}

void PhoneControl::Stop() {
  server_.Stop();
  options_.enabled = false;
  SavePhoneOptions(settings_, options_);
  startError_.clear();
  if (overlay_) overlay_->close();
  emit Changed();
}

QString PhoneControl::Url() const {
  if (!server_.Running()) return {};
  const QHostAddress a = server_.Address();
  const QString host =
      a.protocol() == QAbstractSocket::IPv6Protocol ? QStringLiteral("[%1]").arg(a.toString()) : a.toString();
  return QStringLiteral("http://%1:%2/").arg(host).arg(server_.Port());
}

QString PhoneControl::CountsText() const {
  if (!desk_.Loaded()) return QStringLiteral("签到记录 config\\signin.dat 无法读取，签到已关闭。");
  QString text = startError_.isEmpty() ? QString() : startError_ + QLatin1Char('\n');
  text += QStringLiteral("已签到 %1 人，拒绝重复签到 %2 次").arg(desk_.Count()).arg(desk_.Refused());
  if (server_.Running() && !feed_.CodesSaved()) {
    text += QStringLiteral("\n签到码文件 config\\signin-codes.dat 无法读取或写入：名单中新加的人没有个人签到码。");
  }
  if (loadNotes_.damagedLines > 0) {
    text += QStringLiteral("\n签到记录中有 %1 行无法识别（第 %2 行起），已跳过。")
                .arg(loadNotes_.damagedLines)
                .arg(loadNotes_.firstDamagedLine);
  }
  return text;
}

void PhoneControl::ToggleStageCode() {
  if (overlay_) {
    overlay_->close();
    return;
  }
  if (!server_.Running()) return;
  overlay_ = new StageCodeOverlay(Url(), &stage_.Window());
  overlay_->show();
  overlay_->raise();
}

}  // namespace kavrel
