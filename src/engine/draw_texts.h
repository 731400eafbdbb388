#pragma once

// The draw's own texts, written once as UTF-8 and converted with Gb() where they meet data.
namespace kavrel::texts {

inline constexpr const char* kReadyNumber = "按空格键开始抽取";
inline constexpr const char* kFinishedNumber = "抽奖完毕！";
inline constexpr const char* kStartCaption = "开始";
inline constexpr const char* kPrepareCaption = "准备";

inline constexpr const char* kInfoCaption = "提示信息：";
inline constexpr const char* kOperationCaption = "操作提示：";
inline constexpr const char* kHintCaption = "提示：";
inline constexpr const char* kErrorCaption = "错误提示：";
inline constexpr const char* kQuitCaption = "退出提示：";
inline constexpr const char* kResumeCaption = "开始抽奖前确认信息：";
inline constexpr const char* kShortPoolCaption = "奖名单人数不足提醒：";

inline constexpr const char* kNoData = "无数据，请先导入抽奖名单！";
inline constexpr const char* kNoListFile = "暂无数据，请先导入抽奖名单！";
inline constexpr const char* kNoAwards = "无奖项，请先设定奖项！";
inline constexpr const char* kQuotaTooLarge = "设定中奖名额大于总抽奖人数，请修正！";
inline constexpr const char* kAllDrawn = "全部奖项已经抽取完毕！";
inline constexpr const char* kShortPool = "待抽奖名单人数不足(小于奖项设定人数)，请检查确认！";
inline constexpr const char* kNoPicture = "图片不存在，请先添加图片！";
inline constexpr const char* kBadBatchSize = "本批次的中奖人数小于1，无法抽取，请在奖项设置中修改本奖项的分批详情！";
inline constexpr const char* kBadGroup = "奖项分组的行号超出了待抽奖名单的范围(第1至第%d行)，请重新设置奖项分组！";
inline constexpr const char* kRecordFailed =
    "中奖结果未能保存到 config\\result.dat 和 result.txt，本批不算抽出，名单未作任何改动。请检查程序目录是否可写"
    "（或关闭占用文件的程序、断开多余的手机连接），然后按空格键重新抽取本批。";
// Why a fresh draw could not put the previous one aside, then what follows from it.
inline constexpr const char* kHistoryFailed = "上次的中奖结果未能移入 history 文件夹";
inline constexpr const char* kExitRecordNotRemoved = "断点记录 config\\exit.ini 无法删除，上次的中奖结果仍留在原处";
inline constexpr const char* kFreshDrawBlocked =
    "，新的抽奖不能开始(否则新旧两场的中奖结果会混在一起)。请检查程序目录及其中的 history 文件夹是否可写，然后按空格键"
    "重试。";
inline constexpr const char* kDrawGoesOn =
    "，新的抽奖没有开始(否则新旧两场的中奖结果会混在一起)，当前的抽奖照旧继续。请检查程序目录及其中的 history "
    "文件夹是否可写。";
inline constexpr const char* kExitRecordFailed =
    "断点记录 config\\exit.ini 无法写入，程序意外关闭后将不能继续本次抽奖，请检查程序目录是否可写！";
inline constexpr const char* kViewingPastDraw =
    "当前显示的是从历次抽奖记录中恢复的结果，只供查看、展示和导出，不能在其上继续抽奖或更正。"
    "要开始新的抽奖，请按 F1 重新开始抽奖（恢复的结果会再次移入 history 文件夹保存）。";
inline constexpr const char* kUndoFailed = "中奖结果文件无法改写，撤销未完成，请检查程序目录是否可写！";
inline constexpr const char* kExitRecordStale =
    "断点记录 config\\exit.ini 无法更新也无法删除，其中是较早的进度：程序意外关闭后再启动时请选【否】重新开始，"
    "请检查程序目录是否可写！";
inline constexpr const char* kDamagedRecord = "断点记录 config\\exit.ini 已损坏，不能继续上次的抽奖：";
inline constexpr const char* kDamagedRecordFreshStart =
    "。\n按【确定】重新开始新一轮的抽奖，上次的中奖结果和这份记录将移入 history 文件夹。";
inline constexpr const char* kDashesReplaced =
    "名单中有%d个条目含有“-”，抽奖时显示为全角的“－”，以免中奖结果文件把一个条目读成多个。";
inline constexpr const char* kBreaksReplaced =
    "名单中有%d个条目含有制表符(Tab)或换行符（例如从表格复制粘贴的多列），抽奖时每个都换成一个空格，"
    "一行仍是一个条目，中奖结果文件和公证记录也照此记录。";
inline constexpr const char* kLongEntries =
    "名单中有%d个条目超过128个汉字（256字节），第一个是第%d个：“%s”。这不像一个人的名字，可能是名单文件没有正确分行，"
    "请检查抽奖名单(config\\set.dat)。";
inline constexpr const char* kBadPlanLines =
    "奖项计划 config\\shezhijx.dat 中%s的中奖名额或批次小于1，无法抽取，已略过，请在奖项设置中修改！";
inline constexpr const char* kTrimFailed =
    "中奖结果文件无法先复制到 history 文件夹或无法改写，中断前最后一批未确认的结果没能撤回，不能继续上次的抽奖。\n"
    "将重新开始新一轮的抽奖，上次的中奖结果和断点记录移入 history 文件夹，请检查程序目录是否可写！";

inline constexpr const char* kReceiptFailed =
    "公证记录 config\\receipts.log 无法写入：中奖结果已保存，但本场抽奖事后无法完整核验，请检查程序目录是否可写！";

inline constexpr const char* kResumeQuestion =
    "上次程序退出前还有未抽取完成的奖项，是否要继续上次的抽奖，按【是】继续完成上次未完成的抽奖，按【否】将重新开始新一"
    "轮的抽奖！";
// Added to the resume question when config\set.dat was changed while the draw was suspended.
inline constexpr const char* kListChangedNote =
    "\n\n注意：名单文件 config\\set.dat 在上次中断后有改动（新增%a人，删除%r人）。按【是】继续时仍按中断时的待抽名单"
    "抽取";
inline constexpr const char* kListChangedAdded = "，新增的人不参加本次抽奖";
inline constexpr const char* kListChangedRemovedInPool = "，删除的人中尚未中奖的%p人仍可能被抽中";
inline constexpr const char* kListChangedChoice = "。如要按改动后的名单抽奖，请按【否】重新开始。";
inline constexpr const char* kPrizePictureTooLarge =
    "奖品图片 %s "
    "太大(%w×%h像素)，舞台上不显示这张图片。请把图片缩小(例如缩到4000×3000像素以内)后在奖项设定中重新选择。";
inline constexpr const char* kPrizePictureUnreadable =
    "奖品图片 %s 不存在或不是能读取的图片，舞台上不显示这张图片。请在奖项设定中重新选择。";
inline constexpr const char* kRestartQuestion = "是否要重新开始抽奖(所有奖项和名单都将回到奖池)？";
// A quit keeps the draw's progress for the next start, and the question says so.
inline constexpr const char* kQuitQuestion =
    "奖项还未抽取完毕，确定要退出吗？\n\n已抽出的中奖结果和抽奖进度会保留，下次启动时可以选择继续本次抽奖"
    "（正在滚动的这一批不算抽出）。";
inline constexpr const char* kUndoNotStarted = "还未开始抽奖，无法撤销！";
inline constexpr const char* kUndoNotNow = "请在本轮抽奖开始前进行撤销操作！";
inline constexpr const char* kUndoDone = "上一批的抽奖结果已经撤销，每批只能撤销一次！";
inline constexpr const char* kUndoAbandoned = "上一批的中奖人员中已有人弃奖，不能再撤销这一批的抽奖结果！";

inline constexpr const char* kStartFromPlaceholder = "请选择";
inline constexpr const char* kStartFromNote = "此页面设置需要指定开始的奖项与批次(仅对单次修改有效)";
inline constexpr const char* kStartFromPrompt = "请选择需要指定开始的奖项：";
inline constexpr const char* kStartFromNoChoice = "未选择指定抽奖项，确认退出吗？";

}  // namespace kavrel::texts
