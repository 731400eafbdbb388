#include "lists/workbook/date_text.h"

#include <QDate>
#include <cctype>
#include <cmath>
#include <cstdio>

namespace kavrel::workbook {

namespace {

std::string TwoDigits(long long v) {
  char buffer[24];
  std::snprintf(buffer, sizeof buffer, "%02lld", v);
  return buffer;
}

std::string TimeText(long long secondsOfDay) {
  return TwoDigits(secondsOfDay / 3600) + ":" + TwoDigits(secondsOfDay / 60 % 60);
}

bool ParseDigits(std::string_view text, std::size_t at, std::size_t count, int* out) {
  if (at + count > text.size()) return false;
  int v = 0;
  for (std::size_t i = at; i < at + count; ++i) {
    if (!std::isdigit(static_cast<unsigned char>(text[i]))) return false;
    v = v * 10 + (text[i] - '0');
  }
  *out = v;
  return true;
}

}  // namespace

int ZeroPadDigits(std::string_view code) {
  int zeros = 0;
  for (std::size_t i = 0; i < code.size(); ++i) {
    const char c = code[i];
    if (c == ';') break;
    if (c == '"') {  // a quoted text ("No."0000) is shown around the number, not in it
      const std::size_t end = code.find('"', i + 1);
      if (end == std::string_view::npos) return 0;
      i = end;
    } else if (c == '\\' || c == '_' || c == '*') {
      ++i;
    } else if (c == '[') {  // colours and locales
      const std::size_t end = code.find(']', i + 1);
      if (end == std::string_view::npos) return 0;
      i = end;
    } else if (c == '0') {
      ++zeros;
    } else {
      return 0;  // a decimal point, a thousands separator, "#", "@", a date: not a plain padding
    }
  }
  return zeros >= 2 ? zeros : 0;
}

std::string ZeroPadded(std::string digits, int width) {
  const bool negative = !digits.empty() && digits.front() == '-';
  const std::size_t have = digits.size() - (negative ? 1 : 0);
  if (width <= 0 || have >= static_cast<std::size_t>(width) ||
      digits.find_first_not_of("0123456789", negative ? 1 : 0) != std::string::npos)
    return digits;
  digits.insert(negative ? 1 : 0, static_cast<std::size_t>(width) - have, '0');
  return digits;
}

DateStyle ClassifyFormatCode(std::string_view code) {
  bool date = false;
  bool hours = false;
  bool seconds = false;
  bool month = false;
  for (std::size_t i = 0; i < code.size(); ++i) {
    const char c = code[i];
    if (c == ';') break;  // only the first section (positive numbers) decides
    if (c == '"') {
      const std::size_t end = code.find('"', i + 1);
      if (end == std::string_view::npos) break;
      i = end;
      continue;
    }
    if (c == '\\' || c == '_' || c == '*') {
      ++i;
      continue;
    }
    if (c == '[') {
      const std::size_t end = code.find(']', i + 1);
      if (end == std::string_view::npos) break;
      // [h], [mm], [ss] are elapsed times; [Red], [$-804], [DBNum1] are not.
      const std::string_view inside = code.substr(i + 1, end - i - 1);
      if (!inside.empty() && inside.find_first_not_of("hH") == std::string_view::npos) hours = true;
      if (!inside.empty() && inside.find_first_not_of("sS") == std::string_view::npos) seconds = true;
      i = end;
      continue;
    }
    switch (std::tolower(static_cast<unsigned char>(c))) {
      case 'y':
      case 'd':
        date = true;
        break;
      case 'h':
        hours = true;
        break;
      case 's':
        seconds = true;
        break;
      case 'm':
        month = true;
        break;
      default:
        break;
    }
  }
  const bool time = hours || seconds;
  // "m" is minutes next to hours or seconds and a month otherwise.
  if (month && !time) date = true;
  if (date && time) return DateStyle::DateTime;
  if (date) return DateStyle::Date;
  if (time) return DateStyle::Time;
  return DateStyle::None;
}

DateStyle ClassifyBuiltinFormat(int id) {
  if ((id >= 14 && id <= 17) || (id >= 27 && id <= 31) || id == 36 || (id >= 50 && id <= 54) || id == 57 || id == 58)
    return DateStyle::Date;
  if (id == 22) return DateStyle::DateTime;
  if ((id >= 18 && id <= 21) || (id >= 32 && id <= 35) || (id >= 45 && id <= 47) || id == 55 || id == 56)
    return DateStyle::Time;
  return DateStyle::None;
}

std::optional<std::string> SerialDateText(double serial, DateStyle style, bool date1904) {
  if (style == DateStyle::None || !std::isfinite(serial) || serial < 0 || serial >= 2958466.0) return std::nullopt;
  const long long seconds = std::llround(serial * 86400.0);
  long long days = seconds / 86400;
  const long long secondsOfDay = seconds % 86400;
  if (style == DateStyle::Time) return TimeText(secondsOfDay);
  QDate date;
  if (date1904) {
    date = QDate(1904, 1, 1).addDays(days);
  } else if (days == 60) {
    // Serial 60 is 1900-02-29, a day that never was: early spreadsheets took 1900 for a leap
    // year and every office program kept the mistake for compatibility.
    std::string text = "1900-02-29";
    if (style == DateStyle::DateTime) text += " " + TimeText(secondsOfDay);
    return text;
  } else {
    date = QDate(1899, 12, days < 60 ? 31 : 30).addDays(days);
  }
  if (!date.isValid()) return std::nullopt;
  std::string text = date.toString(QStringLiteral("yyyy-MM-dd")).toStdString();
  if (style == DateStyle::DateTime) text += " " + TimeText(secondsOfDay);
  return text;
}

std::optional<std::string> IsoDateText(std::string_view iso) {
  int y = 0, mo = 0, d = 0;
  if (!ParseDigits(iso, 0, 4, &y) || iso.size() < 10 || iso[4] != '-' || !ParseDigits(iso, 5, 2, &mo) ||
      iso[7] != '-' || !ParseDigits(iso, 8, 2, &d) || !QDate(y, mo, d).isValid())
    return std::nullopt;
  std::string text(iso.substr(0, 10));
  int h = 0, mi = 0;
  if (iso.size() >= 16 && iso[10] == 'T' && ParseDigits(iso, 11, 2, &h) && iso[13] == ':' &&
      ParseDigits(iso, 14, 2, &mi)) {
    int s = 0;
    if (iso.size() >= 19 && iso[16] == ':') ParseDigits(iso, 17, 2, &s);
    if (h != 0 || mi != 0 || s != 0) text += " " + TwoDigits(h) + ":" + TwoDigits(mi);
  }
  return text;
}

std::optional<std::string> IsoTimeText(std::string_view duration) {
  if (duration.size() < 3 || duration.substr(0, 2) != "PT") return std::nullopt;
  long long h = 0, m = 0;
  long long value = 0;
  bool digits = false;
  for (std::size_t i = 2; i < duration.size(); ++i) {
    const char c = duration[i];
    if (std::isdigit(static_cast<unsigned char>(c))) {
      value = value * 10 + (c - '0');
      digits = true;
      if (value > 1'000'000'000) return std::nullopt;
    } else if (c == 'H' || c == 'M') {
      if (!digits) return std::nullopt;
      (c == 'H' ? h : m) = value;
      value = 0;
      digits = false;
    } else {
      break;  // seconds and their fractions are not shown
    }
  }
  return TwoDigits(h) + ":" + TwoDigits(m);
}

}  // namespace kavrel::workbook
