#include "phone/phone_snapshot.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "phone/phone_mask.h"
#include "storage/codec.h"

namespace kavrel {

std::shared_ptr<const PhoneSnapshot> BuildPhoneSnapshot(const PhoneSnapshotInputs& in, int revision) {
  auto snap = std::make_shared<PhoneSnapshot>();
  snap->revision = revision;
  snap->options = in.options;
  snap->sealed = in.sealed;
  snap->entries = in.entries;
  snap->signinEntries = in.signinEntries;
  snap->sealLine = in.sealLine;
  snap->stageMask = in.stageMask;
  snap->codes = in.codes;

  QJsonArray awards;
  for (const PhoneAward& award : in.awards) {
    QJsonArray winners;
    QString won = ToQt(award.awardName);
    if (!award.prizeName.empty()) won += QStringLiteral("（") + ToQt(award.prizeName) + QStringLiteral("）");
    for (const std::string& w : award.winners) {
      winners.append(MaskForPhone(w, in.stageMask, in.options.maskNames, in.options.maskPhones));
      snap->wins[w].push_back(won);
    }
    QJsonObject o;
    o[QStringLiteral("award")] = ToQt(award.awardName);
    o[QStringLiteral("prize")] = ToQt(award.prizeName);
    o[QStringLiteral("winners")] = winners;
    awards.append(o);
  }
  QJsonObject root;
  root[QStringLiteral("title")] = in.title;
  root[QStringLiteral("awards")] = awards;
  root[QStringLiteral("typed")] = in.options.typedSignin;  // the pages ask for a number or name too
  if (!in.notary.seal.empty()) {
    QJsonObject notary;
    notary[QStringLiteral("seal")] = QString::fromStdString(in.notary.seal);
    notary[QStringLiteral("audience")] = QString::fromStdString(in.notary.audience);
    notary[QStringLiteral("last")] = QString::fromStdString(in.notary.lastHash);
    notary[QStringLiteral("closed")] = in.notary.closed;
    root[QStringLiteral("notary")] = notary;
  }
  snap->resultsJson = QJsonDocument(root).toJson(QJsonDocument::Compact);
  return snap;
}

}  // namespace kavrel
