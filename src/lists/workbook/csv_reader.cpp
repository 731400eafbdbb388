#include "lists/workbook/csv_reader.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <cstdint>
#include <cstring>

#include "lists/workbook/sheet_builder.h"
#include "storage/codec.h"

namespace kavrel::workbook {

namespace {

bool IsValidUtf8(std::string_view s) {
  const auto* p = reinterpret_cast<const unsigned char*>(s.data());
  const std::size_t n = s.size();
  std::size_t i = 0;
  while (i < n) {
    // Eight ASCII bytes at a time: most list files are mostly digits and Latin letters.
    while (i + 8 <= n) {
      std::uint64_t word;
      std::memcpy(&word, p + i, 8);
      if (word & 0x8080808080808080ull) break;
      i += 8;
    }
    if (i >= n) break;
    const unsigned char c = p[i];
    if (c < 0x80) {
      ++i;
      continue;
    }
    std::size_t extra = 0;
    if (c >= 0xC2 && c <= 0xDF)
      extra = 1;
    else if (c >= 0xE0 && c <= 0xEF)
      extra = 2;
    else if (c >= 0xF0 && c <= 0xF4)
      extra = 3;
    else
      return false;
    if (i + extra >= n) return false;
    for (std::size_t k = 1; k <= extra; ++k)
      if ((p[i + k] & 0xC0) != 0x80) return false;
    // Overlong three-byte forms and UTF-16 surrogates are not UTF-8.
    if (c == 0xE0 && p[i + 1] < 0xA0) return false;
    if (c == 0xED && p[i + 1] >= 0xA0) return false;
    if (c == 0xF0 && p[i + 1] < 0x90) return false;
    if (c == 0xF4 && p[i + 1] >= 0x90) return false;
    i += extra + 1;
  }
  return true;
}

std::string Decode(std::string_view bytes, QStringConverter::Encoding encoding) {
  QStringDecoder decoder(encoding);
  const QString text = decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
  const QByteArray utf8 = text.toUtf8();
  return std::string(utf8.constData(), static_cast<std::size_t>(utf8.size()));
}

char GuessDelimiter(std::string_view text) {
  int commas = 0, tabs = 0, semicolons = 0;
  bool quoted = false;
  for (const char c : text) {
    if (c == '"') quoted = !quoted;
    if (quoted) continue;
    if (c == '\n' || c == '\r') break;
    commas += c == ',';
    tabs += c == '\t';
    semicolons += c == ';';
  }
  if (commas > 0) return ',';
  if (tabs > 0) return '\t';
  if (semicolons > 0) return ';';
  return ',';
}

}  // namespace

std::string DecodeToUtf8(std::string_view bytes) {
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") return std::string(bytes.substr(3));
  if (bytes.substr(0, 2) == "\xFF\xFE") return Decode(bytes.substr(2), QStringConverter::Utf16LE);
  if (bytes.substr(0, 2) == "\xFE\xFF") return Decode(bytes.substr(2), QStringConverter::Utf16BE);
  if (IsValidUtf8(bytes)) return std::string(bytes);
  const QByteArray utf8 = ToQt(bytes).toUtf8();
  return std::string(utf8.constData(), static_cast<std::size_t>(utf8.size()));
}

void ParseCsv(std::string_view text, char delimiter, SheetBuilder& builder, ReadContext& context) {
  context.SetProgressTotal(static_cast<std::int64_t>(text.size()));
  const std::size_t n = text.size();
  std::size_t i = 0;
  int row = 0;
  int column = 0;
  std::string field;
  std::size_t lastReport = 0;
  while (i < n) {
    field.clear();
    if (text[i] == '"') {
      ++i;
      while (i < n) {
        const std::size_t quote = text.find('"', i);
        if (quote == std::string_view::npos) {
          field.append(text.substr(i));  // an unclosed quote runs to the end, as office programs read it
          i = n;
          break;
        }
        field.append(text.substr(i, quote - i));
        i = quote + 1;
        if (i < n && text[i] == '"') {
          field += '"';
          ++i;
          continue;
        }
        break;
      }
      // Anything between the closing quote and the delimiter belongs to the field too.
      while (i < n && text[i] != delimiter && text[i] != '\n' && text[i] != '\r') field += text[i++];
    } else {
      const std::size_t start = i;
      while (i < n && text[i] != delimiter && text[i] != '\n' && text[i] != '\r') ++i;
      field.assign(text.substr(start, i - start));
    }
    if (!builder.Set(row, column, field)) {
      context.Fail(ErrorKind::TooLarge, builder.Failure());
      return;
    }
    if (i < n && text[i] == delimiter) {
      ++i;
      ++column;
      if (i == n) break;
      continue;
    }
    if (i < n && text[i] == '\r') ++i;
    if (i < n && text[i] == '\n') ++i;
    ++row;
    column = 0;
    if (i - lastReport > (1 << 20)) {
      if (context.Cancelled()) {
        context.Fail(ErrorKind::Cancelled, texts::kCancelled);
        return;
      }
      context.Advance(static_cast<std::int64_t>(i - lastReport));
      lastReport = i;
    }
  }
  context.ReportDone();
}

void ReadCsv(const QString& path, ReadContext& context, Workbook& out) {
  out.format = Format::Csv;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    context.Fail(ErrorKind::Unreadable, "文件不存在或无法读取。");
    return;
  }
  if (file.size() > context.options().unpackCap) {
    context.Fail(ErrorKind::TooLarge, "文件超过1GB，无法导入。");
    return;
  }
  const int index = context.options().sheetIndex;
  if (index < 0) {
    out.sheets.push_back(NamedSheet(QFileInfo(path).completeBaseName().toStdString()));
    return;
  }
  if (index > 0) {
    context.Fail(ErrorKind::NoSuchSheet, texts::kNoSuchSheet);
    return;
  }
  const QByteArray bytes = file.readAll();
  if (bytes.size() != file.size()) {
    context.Fail(ErrorKind::Unreadable, "文件读取出错。");
    return;
  }
  const std::string text = DecodeToUtf8(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
  SheetBuilder builder;
  ParseCsv(text, GuessDelimiter(text), builder, context);
  if (context.failed()) return;
  out.sheets.push_back(builder.Finish(QFileInfo(path).completeBaseName().toStdString()));
}

}  // namespace kavrel::workbook
