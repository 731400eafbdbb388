#include <gtest/gtest.h>

#include "storage/codec.h"
#include "storage/number_text.h"
#include "storage/split_text.h"
#include "storage_fixture.h"

namespace kavrel {
namespace {

using Items = std::vector<std::string>;

TEST(CodecTest, GbkBytesAndCharactersBeyondGbkSurvive) {
  SKIP_WITHOUT_FULL_GB18030();
  EXPECT_EQ(Gb("中奖"), "\xD6\xD0\xBD\xB1");
  EXPECT_EQ(Gb("：-abc"), "\xA3\xBA-abc");
  // U+2A6A5 is not in GBK; GB18030 encodes it in four bytes and gives it back unchanged.
  const std::string rare = Gb("李𪚥");
  EXPECT_EQ(rare.size(), 6u);
  EXPECT_EQ(ToQt(rare), QString::fromUtf8("李𪚥"));
  EXPECT_EQ(FromQt(ToQt(rare)), rare);
  EXPECT_EQ(FromQt(QString()), "");
}

// UTF-16 is recognised without a byte-order mark by where its NUL bytes stand; a character with a
// zero byte ("一" is U+4E00) does not confuse it, and no GBK text, picture or workbook passes for it.
TEST(CodecTest, Utf16WithoutAMark) {
  SKIP_WITHOUT_FULL_GB18030();
  const std::u16string text = u"1001 一丁\r\n1002 王五\r\n";
  std::string le, be;
  for (const char16_t c : text) {
    le += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
    be += {static_cast<char>(c >> 8), static_cast<char>(c & 0xFF)};
  }
  EXPECT_EQ(Utf16WithoutMark(le), true);
  EXPECT_EQ(Utf16WithoutMark(be), false);
  EXPECT_EQ(DecodeExternalText(le), Gb("1001 一丁\r\n1002 王五\r\n"));
  EXPECT_EQ(DecodeExternalText(be), DecodeExternalText(le));
  EXPECT_EQ(Utf16WithoutMark(Gb("王五\r\n")), std::nullopt);
  EXPECT_EQ(Utf16WithoutMark(le.substr(1)), std::nullopt);                              // odd length
  EXPECT_EQ(Utf16WithoutMark(std::string("\x89PNG\0\0\0\x0DIHDR", 12)), std::nullopt);  // whole NUL characters
  EXPECT_EQ(Utf16WithoutMark(std::string("a\0\0b", 4)), std::nullopt);                  // as many on each side
}

TEST(SplitTextTest, RuleOfEveryFormat) {
  EXPECT_EQ(SplitText("", "\r\n"), Items{});
  EXPECT_EQ(SplitText("x\r\n\r\ny\r\n", "\r\n"), (Items{"x", "", "y"}));
  EXPECT_EQ(SplitText("a,b,", ","), (Items{"a", "b"}));
  EXPECT_EQ(SplitText("a,,b", ","), (Items{"a", "", "b"}));
  EXPECT_EQ(SplitText(",", ","), Items{""});
  EXPECT_EQ(SplitText("abc", ","), Items{"abc"});
  EXPECT_EQ(SplitText("a----b--", "--"), (Items{"a", "", "b"}));
  EXPECT_EQ(SplitText("a---b", "--"), (Items{"a", "-b"}));
}

TEST(SplitTextTest, DelimiterNeverMatchesInsideACharacter) {
  // 0x7C '|' is a valid trail byte: "\x81\x7C" is one character.
  EXPECT_EQ(SplitText("\x81\x7C|x", "|"), (Items{"\x81\x7C", "x"}));
  // The full-width colon A3 BA spans two characters here (B0A3 then BAC3) and must not split.
  const std::string text = "\xB0\xA3\xBA\xC3" + Gb("：") + "z";
  EXPECT_EQ(SplitText(text, Gb("：")), (Items{"\xB0\xA3\xBA\xC3", "z"}));
  // Four-byte characters are skipped two bytes at a time, and still whole.
  const std::string rare = Gb("𪚥");
  EXPECT_EQ(SplitText(rare + "-" + rare + "-", "-"), (Items{rare, rare}));
  // A lone lead byte at the end is kept, not read past.
  EXPECT_EQ(SplitText("a-\x81", "-"), (Items{"a", "\x81"}));
}

TEST(NumberTextTest, LeadingDecimalNumber) {
  EXPECT_EQ(LeadingInt("  42abc"), 42);
  EXPECT_EQ(LeadingInt("-7"), -7);
  EXPECT_EQ(LeadingInt("+3"), 3);
  EXPECT_EQ(LeadingInt("abc"), 0);
  EXPECT_EQ(LeadingInt(""), 0);
  EXPECT_EQ(LeadingInt("99999999999999999999"), 2147483647);
  EXPECT_EQ(FormatNumber(1234567890123456.0), "1.234567890123e+15");
  EXPECT_EQ(FormatNumber(10), "10");
}

}  // namespace
}  // namespace kavrel
