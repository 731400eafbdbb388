#include "storage/membership_proof.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "storage/codec.h"

namespace kavrel {

std::string MembershipProofJson(const std::string& sealLine, const std::string& entry, const MerkleProof& proof,
                                bool masked) {
  QJsonObject o;
  o[QStringLiteral("kavrel_proof")] = 1;
  o[QStringLiteral("entry")] = ToQt(entry);
  if (masked) o[QStringLiteral("masked")] = true;
  o[QStringLiteral("index")] = static_cast<qint64>(proof.index);
  o[QStringLiteral("size")] = static_cast<qint64>(proof.size);
  QJsonArray path;
  for (const auto& h : proof.path) path.append(QString::fromLatin1(h.data(), static_cast<qsizetype>(h.size())));
  o[QStringLiteral("path")] = path;
  o[QStringLiteral("seal_line")] = QString::fromUtf8(sealLine.data(), static_cast<qsizetype>(sealLine.size()));
  return QJsonDocument(o).toJson(QJsonDocument::Indented).toStdString();
}

}  // namespace kavrel
