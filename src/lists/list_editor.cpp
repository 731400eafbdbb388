#include "lists/list_editor.h"

#include <algorithm>

#include "engine/draw_texts.h"
#include "engine/ports/prompter.h"
#include "lists/table_snapshot.h"
#include "lists/text_decode.h"
#include "lists/workbook/workbook_import.h"
#include "storage/codec.h"
#include "storage/list_columns.h"
#include "storage/participant_store.h"
#include "storage/program_dir.h"
#include "storage/split_text.h"
#include "storage/text_file.h"

namespace kavrel {

namespace {

// The same entries as the workbook import's dialog, text first: a workbook picked here is
// refused with a pointer to "导入Excel".
constexpr const char* kFileFilter =
    "文本文件(*.txt);;Excel文件(*.xlsx *.xls *.xlsm);;OpenDocument(*.ods);;CSV(*.csv);;所有文件(*)";
constexpr const char* kPositiveHint = "请输入大于0的整数";
constexpr const char* kFullWidthDash = "\xA3\xAD";  // "－"

std::string Num(long long v) {
  return std::to_string(v);
}

}  // namespace

ListEditor::ListEditor(ListEditorContext context, WorkRunner& runner)
    : ctx_(context), runner_(runner), random_(context.clock) {}

void ListEditor::Message(const char* text, const char* caption, Icon icon) const {
  ctx_.prompter.Message(Gb(text), Gb(caption), Buttons::Ok, icon);
}

bool ListEditor::ShowDrawList() {
  PoolLoadNotes notes;
  std::optional<std::vector<std::string>> entries = LoadPool(ctx_.dir, &notes);
  if (!entries || entries->empty()) return false;
  runner_.Run([&] { FillFromLines(table_, std::move(*entries)); });
  showsDrawList_ = true;
  // The table shows the list as the draw reads it; a save writes it so. Said once, as it is shown.
  std::string changes;
  if (notes.dashesReplaced > 0)
    changes += Num(notes.dashesReplaced) + Gb("个条目中的“-”显示为全角的“－”（中奖结果文件用“-”分隔字段）；");
  if (notes.breaksReplaced > 0)
    changes += Num(notes.breaksReplaced) + Gb("个条目中的制表符或换行符显示为空格（一行是一个条目）；");
  if (!changes.empty()) {
    changes.resize(changes.size() - Gb("；").size());
    ctx_.prompter.Message(
        Gb("抽奖名单(config\\set.dat)中有") + changes + Gb("。抽奖时也是这样读的，保存时按表格中显示的样子保存。"),
        Gb("提示信息："), Buttons::Ok, Icon::Information);
  }
  return true;
}

void ListEditor::Open() {
  const auto path = ctx_.dir.Path(ProgramDir::kImDataDat);
  // A list prepared by hand in config\set.dat (or a table that was lost) shows the list the draw
  // uses: a save then keeps it instead of writing an empty list over it.
  if (!FileExists(path)) {
    ShowDrawList();
    return;
  }
  const std::optional<std::string> bytes = TryReadTextFile(path);
  SnapshotProblem problem = SnapshotProblem::Damaged;
  std::optional<ListTable> loaded;
  std::string link;
  if (bytes) runner_.Run([&] { loaded = DecodeSnapshot(*bytes, &problem, &link); });
  if (loaded) {
    table_ = std::move(*loaded);
    CheckLinkToDrawList(link);
    return;
  }
  table_ = ListTable();
  const bool shown = ShowDrawList();
  std::string text = Gb(problem == SnapshotProblem::NewerVersion
                            ? "保存的名单表格(config\\imdata.dat)由较新版本的程序写入，本版本无法读取，"
                            : "保存的名单表格(config\\imdata.dat)已损坏或无法读取，");
  text += Gb(shown ? "现显示抽奖使用的名单(config\\set.dat)。"
                   : "现显示空白表格。抽奖使用的名单(config\\set.dat)不受影响。");
  ctx_.prompter.Message(text, Gb("提示信息："), Buttons::Ok, Icon::Warning);
}

void ListEditor::CheckLinkToDrawList(const std::string& link) {
  // Tables saved before the link existed have none: nothing to compare.
  if (link.empty()) return;
  const std::optional<std::string> current = CurrentSetDatLink(ctx_.dir);
  if (!current || *current == link) return;
  const std::optional<std::vector<std::string>> entries = LoadPool(ctx_.dir);
  const long long people = entries ? static_cast<long long>(entries->size()) : 0;
  const std::string text =
      Gb("保存的名单表格(config\\imdata.dat，共") + Num(table_.DataRowCount()) +
      Gb("行)与抽奖使用的名单(config\\set.dat，共") + Num(people) +
      Gb("个)不一致：上次保存可能在写完两个文件之前被中断了，或者名单文件被别的程序改过。\n\n"
         "按【是】显示抽奖使用的名单(set.dat)，按【否】显示保存的表格(imdata.dat)。保存以后两者就一致了。");
  if (ctx_.prompter.MessageWithFocus(text, Gb("名单不一致提示："), Buttons::YesNo, Icon::Warning, Answer::Yes) ==
      Answer::Yes) {
    table_ = ListTable();
    ShowDrawList();
  }
  // Either way the two files still disagree until a save: closing asks for it.
  MarkChanged();
}

void ListEditor::ClearAllAsked() {
  if (ctx_.prompter.Message(Gb("确定要清除全部名单吗？清除后保存才会写入文件。"), Gb("操作提示："), Buttons::OkCancel,
                            Icon::Question) != Answer::Ok)
    return;
  table_.ClearAll();
  MarkChanged();
}

bool ListEditor::ImportText() {
  const std::optional<std::string> path = ctx_.prompter.PickOpenFile(Gb("导入TXT"), Gb(kFileFilter));
  return path && ImportTextFile(*path);
}

bool ListEditor::ImportTextFile(const std::string& gbPath) {
  const std::optional<std::string> bytes = TryReadTextFile(NativePath(gbPath));
  if (!bytes) {
    ctx_.prompter.Message(Gb("无法读取文件：") + gbPath + Gb("\n名单没有改变。"), Gb("错误提示："), Buttons::Ok,
                          Icon::Error);
    return false;
  }
  bool isText = true;
  bool anyEntry = false;
  int madeSingleLine = 0;
  std::size_t lineCount = 0;
  runner_.Run([&] {
    std::optional<std::string> text = DecodeImportedText(*bytes);
    if (!text) {
      isText = false;
      return;
    }
    std::vector<std::string> lines = SplitLines(*text);
    anyEntry = std::any_of(lines.begin(), lines.end(), [](const std::string& l) { return !IsBlankEntry(l); });
    if (!anyEntry) return;
    // A TAB, or a CR inside a line of a CR LF file, would split the entry later: a space instead.
    for (std::string& line : lines) madeSingleLine += MakeSingleLine(line) ? 1 : 0;
    lineCount = lines.size();
    FillFromLines(table_, std::move(lines));
  });
  if (!isText) {
    ctx_.prompter.Message(
        Gb("这个文件不是文本文件，无法按TXT导入：") + gbPath + Gb("\n名单没有改变。Excel等表格文件请用“导入Excel”。"),
        Gb("错误提示："), Buttons::Ok, Icon::Error);
    return false;
  }
  if (!anyEntry) {
    ctx_.prompter.Message(Gb("文件中没有名单（空文件，或只有空行）：") + gbPath + Gb("\n名单没有改变。"),
                          Gb("导入提醒："), Buttons::Ok, Icon::Information);
    return false;
  }
  MarkChanged();
  if (madeSingleLine > 0)
    ctx_.prompter.Message(Gb("导入完成：共") + Num(static_cast<long long>(lineCount)) + Gb("行。其中") +
                              Num(madeSingleLine) +
                              Gb("行里有制表符或换行符，已换成空格：表格的一行就是一个抽奖名单。"),
                          Gb("导入提醒："), Buttons::Ok, Icon::Information);
  return true;
}

bool ListEditor::ImportWorkbook(const workbook::ProgressFn& progress, const std::atomic<bool>* cancel) {
  WorkbookImport import(ctx_.prompter);
  if (!import.ConfirmStart()) return false;
  const std::optional<std::string> path =
      ctx_.prompter.PickOpenFile(WorkbookImport::FileDialogTitle(), WorkbookImport::FileFilter());
  if (!path) return false;
  const std::optional<int> sheet = import.ChooseSheet(*path);
  if (!sheet) return false;
  // The sheet is read into a result of its own: the table is touched only once all of it is in.
  ImportedSheet result;
  runner_.Run([&] { result = WorkbookImport::ReadSheet(*path, *sheet, progress, cancel); });
  if (result.ok) {
    import.AskAboutSheet(result);
    ImportSheet(std::move(result.header), std::move(result.rows));
  }
  import.ReportOutcome(result);
  return result.ok;
}

void ListEditor::ImportSheet(std::vector<std::string> header, std::vector<std::vector<std::string>> rows) {
  runner_.Run([&] { FillFromSheet(table_, std::move(header), std::move(rows)); });
  MarkChanged();
}

bool ListEditor::Generate(const GeneratorInput& input) {
  const bool anyDigit =
      std::any_of(input.excludedLastDigits.begin(), input.excludedLastDigits.end(), [](bool b) { return b; });
  if (anyDigit && !input.suffix.empty() &&
      ctx_.prompter.Message(Gb("已设定生成后缀，勾选排除指定尾数将失效，点击【取消】进行修改！"), Gb("操作提示："),
                            Buttons::OkCancel, Icon::Question) != Answer::Ok)
    return false;
  if (GeneratorSpan(input) > kMaxGeneratedRows) {
    Message("号码范围太大，一次最多生成10000000个号码，请缩小开始和结束的范围！", "错误提示：", Icon::Error);
    return false;
  }
  runner_.Run([&] { GenerateNumbers(table_, input, input.suffix.empty()); });
  MarkChanged();
  return true;
}

void ListEditor::PadEqualLength() {
  const auto start = ctx_.prompter.InputInteger(
      Gb("操作提示："),
      Gb("请输入名单转等长补空格的起始位置("
         "英文、数字每位占一个位置长度，中文每位占两个位置长度，空格在此请忽略不计算占位长度)"),
      Gb(kPositiveHint));
  if (!start) return;
  if (*start <= 0) {
    ctx_.prompter.Message(Gb("你输入的整数为：") + Num(*start) + Gb("，请输入大于0的整数"), Gb("错误提示："),
                          Buttons::Ok, Icon::Error);
    return;
  }
  const auto spaces = ctx_.prompter.InputInteger(Gb("操作提示："), Gb("请输入补入空格长度"), Gb(kPositiveHint));
  if (!spaces) return;
  if (*spaces <= 0) {
    ctx_.prompter.Message(Gb("你输入的整数为：") + Num(*spaces) + Gb("，请输入大于0的整数"), Gb("错误提示："),
                          Buttons::Ok, Icon::Error);
    return;
  }
  // Bounds that keep the texts sane; a larger answer is a typing slip, not a wish for megabytes of blanks.
  const int s = static_cast<int>(std::min<long long>(*start, 1 << 20));
  const int p = static_cast<int>(std::min<long long>(*spaces, 1000));
  runner_.Run([&] { kavrel::PadEqualLength(table_, s, p); });
  if (table_.DataRowCount() > 0) MarkChanged();
  ctx_.prompter.Message(Gb("转换完成！"), Gb("完成提示："), Buttons::Ok, Icon::None);
}

void ListEditor::PadTwoCharNames() {
  const auto column = ctx_.prompter.InputInteger(
      Gb("操作提示："), Gb("请输入姓名2转3补空格【姓名】所在列数，行号为第1列，往右以此类推"), Gb("请输入大于1的整数"));
  if (!column) return;
  if (*column <= 1) {
    ctx_.prompter.Message(Gb("你输入的整数为：") + Num(*column) + Gb("，请输入大于1的整数"), Gb("错误提示："),
                          Buttons::Ok, Icon::Error);
    return;
  }
  bool changed = false;
  const int c = static_cast<int>(std::min<long long>(*column - 1, 1 << 20));
  runner_.Run([&] { changed = kavrel::PadTwoCharNames(table_, c); });
  if (changed) MarkChanged();
  ctx_.prompter.Message(Gb("转换完成！"), Gb("完成提示："), Buttons::Ok, Icon::None);
}

void ListEditor::Shuffle() {
  if (table_.LastColumn() != 1) {
    Message(
        "打乱仅对由数字、字母或组合成的单列抽奖名单(如抽奖号码、电话号码、身份证号码)有效，"
        "对多列抽奖名单(如工号 + 姓名组合成的抽奖名单)无效！",
        "打乱提示：", Icon::Information);
    return;
  }
  random_.SeedFromClock();
  runner_.Run([&] { ShuffleColumn(table_, random_); });
  if (table_.DataRowCount() > 1) MarkChanged();
  Message("打乱完成！", "操作成功提示：", Icon::None);
}

void ListEditor::DeleteBlankRows() {
  if (listChanged_) {
    Message("抽奖名单已改变，请先保存再进行删除，按‘确认’保存！", "操作提示：", Icon::Information);
    Save();
  }
  int removed = 0;
  runner_.Run([&] { removed = kavrel::DeleteBlankRows(table_); });
  if (removed > 0) {
    MarkChanged();
    ctx_.prompter.Message(Gb("已删除：") + Num(removed) + Gb("个空白行"), Gb("删除提示："), Buttons::Ok, Icon::None);
  }
}

int ListEditor::RemoveDuplicatesReported() {
  const int before = table_.DataRowCount();
  int removed = 0;
  runner_.Run([&] { removed = kavrel::DeleteDuplicateRows(table_); });
  if (removed > 0) {
    MarkChanged();
    ctx_.prompter.Message(
        Gb("共找到：") + Num(removed) + Gb("个重复行，删除重复后剩余：") + Num(before - removed) + Gb("个有效名单！"),
        Gb("删除提示："), Buttons::Ok, Icon::None);
  }
  return removed;
}

void ListEditor::DeleteDuplicateRows() {
  RemoveDuplicatesReported();
}

std::optional<int> ListEditor::Find() {
  FindState& find = ctx_.find;
  if (find.text.empty()) {
    find.lastRow = 0;
    if (auto text = ctx_.prompter.InputText(Gb("操作提示："), Gb("请输入要查找的内容"), "")) {
      if (text->empty()) {
        Message("你未输入任何内容", "错误提示：", Icon::Error);
        return std::nullopt;
      }
      find.text = *text;
      if (auto column = ctx_.prompter.InputInteger(
              Gb("操作提示："), Gb("请输入要查找内容所在列数，行号为第1列，往右以此类推"), Gb(kPositiveHint))) {
        // The column must be one the table has; a search in a column that does not exist finds nothing.
        const long long last = table_.LastColumn() + 1;
        if (*column < 1 || *column > last) {
          ctx_.prompter.Message(
              Gb("你输入的整数为：") + Num(*column) + Gb("，请输入1到") + Num(last) + Gb("之间的整数"),
              Gb("错误提示："), Buttons::Ok, Icon::Error);
          return std::nullopt;
        }
        find.column = static_cast<int>(*column - 1);
      }
    }
  }
  if (const std::optional<int> row = FindNextRow(table_, find)) return row;
  ctx_.prompter.Message(Gb("未查找到【") + find.text + Gb("】"), Gb("查找结果："), Buttons::Ok, Icon::None);
  find.text.clear();
  return std::nullopt;
}

std::string ListEditor::ColumnGuide() const {
  // The workbook import puts the sheet's column A after the row numbers: name the columns so the
  // operator types the numbers meant, not the sheet's letters counted from A.
  constexpr int kNamed = 8;
  std::string guide = Gb("\n\n本表各列：第1列 行号");
  for (int c = 1; c <= table_.LastColumn() && c <= kNamed; ++c) {
    std::string title = table_.Cell(0, c);
    MakeSingleLine(title);
    if (title.size() > 24) title.resize(SnapToCharStart(title, 24));
    guide += Gb("，第") + Num(c + 1) + Gb("列 ") + (title.empty() ? Gb("(无标题)") : title);
  }
  if (table_.LastColumn() > kNamed) guide += Gb("……");
  guide += Gb("。\n导入Excel时，Excel的A列在第2列，B列在第3列，以此类推。");
  return guide;
}

std::optional<std::vector<int>> ListEditor::AskDisplayColumns() {
  if (table_.LastColumn() <= 1) return std::vector<int>{1};
  std::string prompt = DisplayColumnsPrompt() + ColumnGuide();
  for (;;) {
    const std::optional<std::string> answer = ctx_.prompter.InputText(DisplayColumnsTitle(), prompt, "");
    std::vector<int> columns = DisplayColumns(answer.value_or(kDisplayColumnsDefault), table_.LastColumn());
    if (!columns.empty()) return columns;
    // An answer naming no column would save a list of blank entries: ask again, saying what is valid.
    prompt = DisplayColumnsPrompt() + Gb("\n\n输入的列不存在，请输入1到") + Num(table_.LastColumn() + 1) +
             Gb("之间的列数(行号为第1列)。") + ColumnGuide();
  }
}

bool ListEditor::OfferDuplicateRemoval() {
  std::vector<DuplicateRow> duplicates;
  runner_.Run([&] { duplicates = FindDuplicateRows(table_); });
  if (duplicates.empty()) return true;
  // Two people may share a name: nothing is removed before the operator has seen which rows.
  const auto rowText = [this](int row) {
    std::string text;
    for (int c = 1; c <= table_.LastColumn(); ++c)
      if (!table_.Cell(row, c).empty()) text += (text.empty() ? "" : "  ") + table_.Cell(row, c);
    MakeSingleLine(text);
    if (text.size() > 40) text = text.substr(0, SnapToCharStart(text, 40)) + Gb("…");
    return text;
  };
  const long long count = static_cast<long long>(duplicates.size());
  std::string text = Gb("表格中有") + Num(count) + Gb("个重复行（每一列都与前面某一行相同，不计首尾和多余的空格）：\n");
  constexpr std::size_t kListed = 5;
  for (std::size_t i = 0; i < duplicates.size() && i < kListed; ++i)
    text += Gb("第") + Num(duplicates[i].row) + Gb("行：") + rowText(duplicates[i].row) + Gb("（同第") +
            Num(duplicates[i].first) + Gb("行）\n");
  if (duplicates.size() > kListed) text += Gb("……\n");
  text += Gb("\n同名同姓的可能是不同的人。按【是】删除这些重复行后保存（剩余") + Num(table_.DataRowCount() - count) +
          Gb("个），按【否】保留全部") + Num(table_.DataRowCount()) + Gb("行保存，按【取消】不保存。");
  switch (ctx_.prompter.MessageWithFocus(text, Gb("删除提示："), Buttons::YesNoCancel, Icon::Question, Answer::No)) {
    case Answer::Yes: {
      int removed = 0;
      runner_.Run([&] { removed = kavrel::DeleteDuplicateRows(table_); });
      if (removed > 0) MarkChanged();
      return true;
    }
    case Answer::No:
      return true;
    default:
      return false;
  }
}

bool ListEditor::ReplaceDashes(const std::vector<int>& columns) {
  // The result files separate their fields with "-": an entry carrying one would come back from
  // them as several winners.
  std::vector<int> rows;
  for (int r = 1; r <= table_.DataRowCount(); ++r)
    for (const int c : columns)
      if (table_.Cell(r, c).find('-') != std::string::npos) {
        rows.push_back(r);
        break;
      }
  if (rows.empty()) return true;
  std::string text = Gb("以下名单含有“-”，抽奖结果文件用“-”分隔字段，保存时需要把它换成全角的“－”：\n");
  constexpr std::size_t kListed = 10;
  for (std::size_t i = 0; i < rows.size() && i < kListed; ++i) {
    text += Gb("第") + Num(rows[i]) + Gb("行：");
    for (const int c : columns) text += table_.Cell(rows[i], c) + " ";
    text += "\n";
  }
  if (rows.size() > kListed) text += Gb("……共") + Num(static_cast<long long>(rows.size())) + Gb("行\n");
  text += Gb("\n按【确定】替换后保存，按【取消】不保存。");
  if (ctx_.prompter.Message(text, Gb("保存提示："), Buttons::OkCancel, Icon::Question) != Answer::Ok) return false;
  for (const int r : rows)
    for (const int c : columns) {
      std::string cell = table_.Cell(r, c);
      for (std::size_t pos = cell.find('-'); pos != std::string::npos; pos = cell.find('-', pos + 2))
        cell.replace(pos, 1, kFullWidthDash);
      table_.SetCell(r, c, std::move(cell));
    }
  MarkChanged();
  return true;
}

bool ListEditor::Save() {
  // Once a save has gone through after the restart was agreed to, the draw starts over anyway.
  if (ctx_.drawUnderWay && !restartRequested_ &&
      ctx_.prompter.Message(Gb(texts::kRestartQuestion), Gb(texts::kInfoCaption), Buttons::OkCancel, Icon::Question) !=
          Answer::Ok)
    return false;
  if (autoDedupe_ && !OfferDuplicateRemoval()) return false;
  const std::optional<std::vector<int>> columns = AskDisplayColumns();
  if (!columns || !ReplaceDashes(*columns)) return false;

  std::string setDat;
  bool anyEntry = false;
  runner_.Run([&] {
    setDat = BuildListText(table_, *columns);
    anyEntry = ListHasEntries(setDat);
  });
  if (!anyEntry && !ConfirmEmptyList()) return false;

  std::string snapshot;
  runner_.Run([&] { snapshot = EncodeSnapshot(table_, SetDatLink(setDat)); });
  EditorListSave saved = EditorListSave::Ok;
  runner_.Run([&] { saved = SaveEditorList(ctx_.dir, snapshot, setDat, ctx_.clock.Now()); });
  if (saved == EditorListSave::HistoryFailed) {
    if (ctx_.prompter.Message(Gb("无法把原来的抽奖名单(config\\set.dat)备份到history文件夹，保存后原名单将无法找回。"
                                 "请检查程序文件夹是否可写、磁盘是否已满。\n\n仍要保存吗？"),
                              Gb("保存提示："), Buttons::OkCancel, Icon::Warning) != Answer::Ok)
      return false;
    runner_.Run([&] { saved = SaveEditorList(ctx_.dir, snapshot, setDat, ctx_.clock.Now(), false); });
  }
  if (saved != EditorListSave::Ok) {
    // Each file is replaced whole or not at all; a failure keeps the old file and says so.
    const char* failed = saved == EditorListSave::TableFailed ? "config\\imdata.dat" : "config\\set.dat";
    ctx_.prompter.Message(Gb("保存失败：无法写入") + Gb(failed) +
                              Gb("，原有文件保持不变。请检查程序文件夹是否可写、磁盘是否已满，然后重新保存。"),
                          Gb("错误提示："), Buttons::Ok, Icon::Error);
    return false;
  }
  // The header cells of the shown columns head the exports' columns; a list without them keeps
  // the exports' own headings, so a failed write here loses nothing.
  std::vector<std::string> names;
  if (table_.LastColumn() < 2)
    names.push_back(table_.Cell(0, 1));
  else
    for (const int c : *columns) names.push_back(table_.Cell(0, c));
  SaveListColumnNames(ctx_.dir, names);
  listChanged_ = false;
  restartRequested_ = ctx_.drawUnderWay;
  return true;
}

bool ListEditor::ConfirmEmptyList() {
  const std::optional<std::vector<std::string>> current = LoadPool(ctx_.dir);
  if (!current || current->empty()) return true;
  return ctx_.prompter.Message(Gb("表格中没有任何名单，保存后抽奖使用的名单(现有") +
                                   Num(static_cast<long long>(current->size())) +
                                   Gb("个)将被清空（原名单会备份到history文件夹）。\n\n确定要保存空名单吗？"),
                               Gb("保存提示："), Buttons::OkCancel, Icon::Warning) == Answer::Ok;
}

bool ListEditor::CloseRequested() {
  if (!listChanged_) return true;
  switch (ctx_.prompter.Message(Gb("抽奖名单已改变，是否需要保存？"), Gb("更改提示："), Buttons::YesNoCancel,
                                Icon::Question)) {
    case Answer::Yes:
      // A save that did not happen (cancelled, or a file could not be written) keeps the window open.
      return Save();
    case Answer::No:
      listChanged_ = false;
      return true;
    default:
      return false;
  }
}

bool ListEditor::BeginCellEdit(int row, int column) {
  if (row < 1 || column < 1 || row > table_.DataRowCount() || column > table_.LastColumn()) return false;
  if (listChanged_) {
    Message("抽奖名单已改变，请先保存再进行编辑，按‘确认’保存！", "操作提示：", Icon::Information);
    Save();
  }
  edit_ = {row, column, table_.Cell(row, column)};
  return true;
}

void ListEditor::EndCellEdit(int row, int column) {
  if (row != edit_.row || column != edit_.column) return;
  const EditMemory memory = std::move(edit_);
  edit_ = {};
  if (table_.Cell(row, column) == memory.text) return;
  if (ctx_.prompter.Message(Gb("抽奖名单已改变，请先保存，按‘是’保存，按‘否’退出本次操作！"), Gb("操作提示："),
                            Buttons::YesNo, Icon::Information) == Answer::Yes) {
    MarkChanged();
    Save();
  } else {
    table_.SetCell(row, column, memory.text);
  }
}

std::string ListEditor::Copy(int row0, int col0, int row1, int col1) const {
  return CopyCells(table_, row0, col0, row1, col1);
}

void ListEditor::Cut(int row0, int col0, int row1, int col1) {
  for (int r = std::max(row0, 1); r <= row1; ++r)
    for (int c = std::max(col0, 1); c <= col1; ++c) table_.SetCell(r, c, {});
  MarkChanged();
}

void ListEditor::Paste(int row, int column, const std::string& gbText) {
  if (row < 1 || column < 1) return;
  if (PasteCells(table_, row, column, gbText)) MarkChanged();
}

bool ListEditor::DeleteRowAsked(int row) {
  if (row < 1 || row > table_.DataRowCount()) return false;
  if (ctx_.prompter.Message(Gb("确定要删除当前行的内容吗？"), Gb("删除提示："), Buttons::OkCancel, Icon::Question) !=
      Answer::Ok)
    return false;
  std::vector<bool> remove(static_cast<std::size_t>(table_.RowCount()), false);
  remove[static_cast<std::size_t>(row)] = true;
  table_.RemoveRows(remove);
  table_.RenumberRows();
  MarkChanged();
  return true;
}

}  // namespace kavrel
