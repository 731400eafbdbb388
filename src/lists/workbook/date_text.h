#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kavrel::workbook {

// How a number format shows a value: as a plain number, a date, a date with time, or a time.
enum class DateStyle { None, Date, DateTime, Time };

// Classifies a number format code such as "yyyy/m/d", "h:mm" or "0.00": its first section is
// looked at with quoted texts, escapes and [colour]/[$-locale] brackets left out.
DateStyle ClassifyFormatCode(std::string_view code);

// The width a number format pads whole numbers to with zeros ("0000" shows 7 as "0007"), or 0 when
// its first section is anything but zeros (quoted texts, colours and locales aside).
int ZeroPadDigits(std::string_view code);
// A whole number's digits ("7", "-7") padded with zeros to `width`; any other text as it is.
std::string ZeroPadded(std::string digits, int width);

// The built-in number formats that show dates or times (ids 14-22, 27-36, 45-47, 50-58).
DateStyle ClassifyBuiltinFormat(int id);

// An Excel serial day number as the text a user sees: "yyyy-MM-dd", "yyyy-MM-dd HH:mm" or
// "HH:mm". nullopt for a value outside the calendar (negative, past 9999-12-31).
std::optional<std::string> SerialDateText(double serial, DateStyle style, bool date1904);

// An ISO 8601 date or date-time ("2024-01-05", "2024-01-05T09:30:00") as "yyyy-MM-dd", with
// " HH:mm" when the time is not midnight; nullopt when it is not one.
std::optional<std::string> IsoDateText(std::string_view iso);

// An ISO 8601 duration as written for times of day ("PT09H30M00S") as "HH:mm".
std::optional<std::string> IsoTimeText(std::string_view duration);

}  // namespace kavrel::workbook
