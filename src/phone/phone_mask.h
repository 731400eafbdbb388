#pragma once

#include <QString>
#include <string>

#include "phone/phone_snapshot.h"

namespace kavrel {

// A winner as the phones show it: the stage's byte-range mask first (the same bytes the projector
// hides), then, by choice, names as 张*三 and mobile numbers as 138****5678.
QString MaskForPhone(const std::string& entryGb, const StageMask& stage, bool maskNames, bool maskPhones);

// 张三 -> 张*, 张小三 -> 张*三, 欧阳小三 -> 欧**三: a field of two to four Chinese characters.
QString MaskChineseName(const QString& field);
// Every run of exactly eleven digits beginning with 1: 13812345678 -> 138****5678.
QString MaskMobileNumbers(const QString& text);

}  // namespace kavrel
