#include "bar/bar_file.h"

#include <gtest/gtest.h>

#include <random>

#include "bar/code_page.h"
#include "bar/errors.h"
#include "bar/unicode.h"
#include "tests/lines.h"
#include "tests/scoped_code_page.h"

namespace bar {
namespace {

using testing_support::EncodeBarFile;
using testing_support::EncodeUtf16;
using testing_support::SplitLines;
using testing_support::WrittenEncoding;

using testing_support::ScopedCodePage;

const char16_t kDecodingMessage[] =
    u"No mapping for the Unicode character exists in the target multi-byte code page";

std::u16string DecodingFailure(std::string_view bytes, Encoding encoding) {
  try {
    DecodeBarText(bytes, encoding);
  } catch (const DecodingError& e) {
    return e.message();
  }
  return u"(decoded)";
}

TEST(BarFileTest, DetectEncodingByMark) {
  struct Case {
    const char* name;
    std::string bytes;
    Encoding encoding;
    std::size_t mark_length;
  } cases[] = {
      {"empty", "", Encoding::kLegacy, 0},
      {"no mark", "[Buttonbar]", Encoding::kLegacy, 0},
      {"utf-8 mark alone", "\xEF\xBB\xBF", Encoding::kUtf8, 3},
      {"utf-8 mark and text", "\xEF\xBB\xBF[B", Encoding::kUtf8, 3},
      {"half a utf-8 mark", "\xEF\xBB", Encoding::kLegacy, 0},
      {"utf-8 mark with a wrong byte", "\xEF\xBB\xBE", Encoding::kLegacy, 0},
      {"utf-16 le mark", "\xFF\xFE", Encoding::kUtf16LE, 2},
      {"ff fe 00 00 is utf-16 le", std::string("\xFF\xFE\0\0", 4), Encoding::kUtf16LE, 2},
      {"utf-16 be mark", "\xFE\xFF\0[", Encoding::kUtf16BE, 2},
      {"one byte of a utf-16 mark", "\xFF", Encoding::kLegacy, 0},
      {"fe fe", "\xFE\xFE", Encoding::kLegacy, 0},
      {"mark not at the start", "a\xEF\xBB\xBF", Encoding::kLegacy, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::size_t mark_length = 99;
    EXPECT_EQ(DetectEncoding(c.bytes, &mark_length), c.encoding);
    EXPECT_EQ(mark_length, c.mark_length);
  }
}

TEST(BarFileTest, SplitLines) {
  using Lines = std::vector<std::u16string>;
  struct Case {
    std::u16string text;
    Lines lines;
  } cases[] = {
      {u"a\r\nb", {u"a", u"b"}},
      {u"a\r\nb\r\n", {u"a", u"b"}},
      {u"a\n\nb", {u"a", u"", u"b"}},
      {u"a\r\r\nb", {u"a", u"", u"b"}},
      {u"a\n\rb", {u"a", u"", u"b"}},
      {u"\r\n", {u""}},
      {u"a\nb\r\nc\rd", {u"a", u"b", u"c", u"d"}},
      {u"", {}},
      {u"a\r", {u"a"}},
      {u"\r\r", {u"", u""}},
      {u"a\n\n", {u"a", u""}},
      {u"\n\r\n", {u"", u""}},
      {std::u16string(u"a\0b\nc", 5), {std::u16string(u"a\0b", 3), u"c"}},
      {u" key = value \t", {u" key = value \t"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(ToUtf8(c.text));
    EXPECT_EQ(SplitLines(c.text), c.lines);
  }
}

// The splitting scans many units a step: random texts of control
// characters and letters, line ends at every offset, against a plain
// reading unit by unit.
TEST(BarFileTest, SplitLineViewsFindsEveryBreak) {
  const char16_t alphabet[] = {u'a', u'\u0416', u'\r', u'\n', u'\0', u'\x0B', u'\x0E', u'a'};
  std::mt19937 random(5);
  for (int round = 0; round < 2000; ++round) {
    std::u16string text(random() % 70, u'a');
    for (char16_t& unit : text) unit = alphabet[random() % 8];
    std::vector<std::u16string> want;
    std::u16string line;
    for (std::size_t at = 0; at < text.size(); ++at) {
      if (text[at] != u'\r' && text[at] != u'\n') {
        line += text[at];
        continue;
      }
      want.push_back(line);
      line.clear();
      if (text[at] == u'\r' && at + 1 < text.size() && text[at + 1] == u'\n') ++at;
    }
    if (!line.empty()) want.push_back(line);
    bool nul = false;
    const std::vector<std::u16string_view> views = SplitLineViews(text, &nul);
    ASSERT_EQ(std::vector<std::u16string>(views.begin(), views.end()), want) << ToUtf8(text);
    EXPECT_EQ(nul, text.find(u'\0') != std::u16string::npos);
  }
}

TEST(BarFileTest, NoBytesDecodeToNoText) {
  for (Encoding encoding :
       {Encoding::kLegacy, Encoding::kUtf8, Encoding::kUtf16LE, Encoding::kUtf16BE}) {
    EXPECT_EQ(DecodeBarText("", encoding), u"");
  }
}

TEST(BarFileTest, DecodingErrors) {
  EXPECT_EQ(DecodingFailure("button1=ok\r\n\xC0\x80", Encoding::kUtf8), kDecodingMessage);
  EXPECT_EQ(DecodingFailure("\xED\xA0\x80", Encoding::kUtf8), kDecodingMessage);
  EXPECT_EQ(DecodingFailure("a", Encoding::kUtf16LE), kDecodingMessage);
  EXPECT_EQ(DecodingFailure("a", Encoding::kUtf16BE), kDecodingMessage);
  EXPECT_EQ(DecodeBarText(std::string_view("a\0b", 3), Encoding::kUtf16LE), u"a");
  EXPECT_EQ(DecodeBarText("\xD0\xB4", Encoding::kUtf8), u"\u0434");
}

TEST(BarFileTest, LegacyBytesThatWouldNotBeWrittenBackFailToDecode) {
  {
    ScopedCodePage utf8(kCodePageUtf8);
    EXPECT_EQ(DecodeBarText("\xD0\xB4", Encoding::kLegacy), u"\u0434");
    // A cp1251 bar on a system whose code page is UTF-8.
    EXPECT_EQ(DecodingFailure("button1=\xE4\xE0\r\n", Encoding::kLegacy), kDecodingMessage);
  }
  {
    ScopedCodePage gbk(936);
    EXPECT_EQ(DecodeBarText("\xD6\xD0", Encoding::kLegacy), u"\u4E2D");
    EXPECT_EQ(DecodingFailure("a\xD6", Encoding::kLegacy), kDecodingMessage);
  }
  {
    // Two byte forms of one character each load; a save writes the usual one.
    ScopedCodePage japanese(932);
    EXPECT_EQ(DecodeBarText("\xFA\x4A \x87\x90", Encoding::kLegacy), u"\u2160 \u2252");
    EXPECT_EQ(EncodeBarFile({u"\u2160\u2252"}, std::nullopt), "\x87\x54\x81\xE0\r\n");
    EXPECT_EQ(DecodingFailure("a\x82", Encoding::kLegacy), kDecodingMessage);
  }
  {
    // Every byte of a single-byte page comes back, defined or not.
    ScopedCodePage cyrillic(1251);
    std::string every_byte;
    for (int b = 1; b < 256; ++b) every_byte.push_back(static_cast<char>(b));
    EXPECT_EQ(DecodeBarText(every_byte, Encoding::kLegacy).size(), 255u);
  }
}

struct EncodeCase {
  const char* name;
  int code_page;
  std::optional<Encoding> remembered;
  std::vector<std::u16string> lines;
  std::string bytes;
  Encoding written;
};

TEST(BarFileTest, EncodeBarFile) {
  const std::vector<std::u16string> ab = {u"a", u"b"};
  const std::u16string long_ascii = u"menu12=" + std::u16string(40, u'x');
  const EncodeCase cases[] = {
      {"never loaded", 1252, std::nullopt, ab, "a\r\nb\r\n", Encoding::kLegacy},
      {"legacy", 1252, Encoding::kLegacy, ab, "a\r\nb\r\n", Encoding::kLegacy},
      {"legacy 65001 has the utf-8 mark",
       kCodePageUtf8,
       std::nullopt,
       {u"\u0434"},
       "\xEF\xBB\xBF\xD0\xB4\r\n",
       Encoding::kLegacy},
      {"utf-8", 1252, Encoding::kUtf8, ab,
       "\xEF\xBB\xBF"
       "a\r\nb\r\n",
       Encoding::kUtf8},
      {"utf-16 le", 1252, Encoding::kUtf16LE, ab,
       std::string("\xFF\xFE"
                   "a\0\r\0\n\0b\0\r\0\n\0",
                   14),
       Encoding::kUtf16LE},
      {"utf-16 be", 1252, Encoding::kUtf16BE, ab, std::string("\xFE\xFF\0a\0\r\0\n\0b\0\r\0\n", 14),
       Encoding::kUtf16BE},
      {"no lines, legacy", 1252, std::nullopt, {}, "", Encoding::kLegacy},
      {"no lines, utf-8", 1252, Encoding::kUtf8, {}, "\xEF\xBB\xBF", Encoding::kUtf8},
      {"no lines, utf-16 le", 1252, Encoding::kUtf16LE, {}, "\xFF\xFE", Encoding::kUtf16LE},
      {"an empty line", 1252, std::nullopt, {u""}, "\r\n", Encoding::kLegacy},
      {"cyrillic in 1251",
       1251,
       std::nullopt,
       {u"button1=\u0414\u0430"},
       "button1=\xC4\xE0\r\n",
       Encoding::kLegacy},
      {"cyrillic and chinese in 1251",
       1251,
       Encoding::kLegacy,
       {u"\u0414\u4E2D"},
       std::string("\xFF\xFE\x14\x04\x2D\x4E\r\0\n\0", 10),
       Encoding::kUtf16LE},
      {"cyrillic in 1252",
       1252,
       std::nullopt,
       {u"\u0414"},
       std::string("\xFF\xFE\x14\x04\r\0\n\0", 8),
       Encoding::kUtf16LE},
      {"lone surrogate in utf-8",
       1252,
       Encoding::kUtf8,
       {u"a\xD800"},
       std::string("\xFF\xFE"
                   "a\0\x00\xD8\r\0\n\0",
                   10),
       Encoding::kUtf16LE},
      {"lone surrogate in legacy 65001",
       kCodePageUtf8,
       std::nullopt,
       {u"\xDC00"},
       std::string("\xFF\xFE\x00\xDC\r\0\n\0", 8),
       Encoding::kUtf16LE},
      {"lone surrogate stays in utf-16 be",
       1252,
       Encoding::kUtf16BE,
       {u"\xD800"},
       std::string("\xFE\xFF\xD8\x00\0\r\0\n", 8),
       Encoding::kUtf16BE},
      {"long lines in 1251",
       1251,
       std::nullopt,
       {long_ascii + u"\u0414" + long_ascii, u"", long_ascii},
       "menu12=" + std::string(40, 'x') + "\xC4" + "menu12=" + std::string(40, 'x') +
           "\r\n\r\nmenu12=" + std::string(40, 'x') + "\r\n",
       Encoding::kLegacy},
      {"chinese after a long run in 1251",
       1251,
       Encoding::kLegacy,
       {long_ascii + u"\u4E2D"},
       "\xFF\xFE" + EncodeUtf16(long_ascii + u"\u4E2D\r\n", false),
       Encoding::kUtf16LE},
  };
  for (const EncodeCase& c : cases) {
    SCOPED_TRACE(c.name);
    ScopedCodePage code_page(c.code_page);
    EXPECT_EQ(EncodeBarFile(c.lines, c.remembered), c.bytes);
    EXPECT_EQ(WrittenEncoding(c.lines, c.remembered), c.written);
  }
}

}  // namespace
}  // namespace bar
