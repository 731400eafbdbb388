#pragma once

// The texts of the draw's receipts and committed randomness, written once as UTF-8 (see draw_texts.h).
namespace kavrel::texts {

// Asked when a fresh draw's list holds repeated entries; %d is the number of extra copies, %m the
// entries concerned, %s the first of them, %l the lines of kDuplicateShare. Both meanings of a
// repeated entry are said, since the most common names are shared by many people.
inline constexpr const char* kDuplicatesQuestion =
    "名单中有%d个重复条目（%m个条目出现不止一次，例如“%s”），比较时不计首尾和多余的空格。按抽奖机会计：\n%l\n"
    "重复的条目可能是同一个人被列了多次，也可能是同名同姓的不同的人：\n"
    "选【是】删除多余的副本，每个条目只保留一次中奖机会（同名的不同的人将只剩一个）；\n"
    "选【否】全部保留，每一行各是一次中奖机会（同一个人列了几次就有几次机会）。\n\n"
    "您的选择和重复条目数将记入本场抽奖的公证封印。";
// One line of the question per repeated entry: %s the entry, %d its copies, %p its share of the list.
inline constexpr const char* kDuplicateShare = "　　名单中 %s 占 %d 张（%p %）\n";
// 公证信息's line on the sealed repeated entries, %d the extra copies; the share lines follow when kept.
inline constexpr const char* kSealedDuplicatesKept = "名单中有%d个重复条目，按选择保留为额外的抽奖机会：\n";
inline constexpr const char* kSealedDuplicatesRemoved =
    "名单中有%d个重复条目，按选择删除了多余的副本，每个条目一次机会。";
inline constexpr const char* kMoreDuplicates = "　　……另有%d个重复的条目\n";

// Told when a resumed draw's receipts cannot go on; %d and %n are numbers as each text says.
inline constexpr const char* kReceiptsMissingAtResume =
    "抽奖凭证 config\\receipts.log 不见了：本场已抽出的%d批无法再用 kavrel-verify 核验，"
    "继续抽奖也不再记录凭证。重新开始抽奖后将生成新的公证封印。";
inline constexpr const char* kReceiptsDamagedAtResume =
    "抽奖凭证 config\\receipts.log 从第%d行起已损坏：此前各行记录的批次仍可核验（kavrel-verify 会指出损坏处），"
    "继续抽奖不再记录凭证。";
inline constexpr const char* kReceiptsCutAtResume =
    "抽奖凭证 config\\receipts.log 只记录了%d批，中奖结果中却有%n批（凭证被截短）：凭证中的这%d批仍可核验，"
    "其余批次和继续抽出的批次无法核验。";
inline constexpr const char* kReceiptsKeyLostAtResume =
    "抽奖密钥 config\\receipts-key.dat 缺失或与公证封印不符：已抽出的%d批无法核验抽取过程，"
    "继续抽奖也不再记录凭证。";
inline constexpr const char* kReceiptsForeignAtResume =
    "config\\receipts.log 是另一场抽奖的凭证（公证封印 %s），不是本场的：本场已抽出的%d批无法核验，"
    "继续抽奖也不再记录凭证，那份凭证原样保留。";
inline constexpr const char* kSealedListDamagedAtResume =
    "公证名单 config\\receipts-list.dat 缺失、损坏或被改动，与公证封印不符：抽奖继续并照常记录凭证，"
    "但核验本场抽奖时需要封印时的名单（例如 history 中的副本）。";
inline constexpr const char* kReceiptsOlderAtResume =
    "本场抽奖的凭证由旧版程序记录：已抽出的%d批仍可核验，继续抽奖不再记录凭证。";

}  // namespace kavrel::texts
