#include "bar/code_page.h"

#include <gtest/gtest.h>

#include "bar/unicode.h"
#include "tests/test_support.h"

namespace bar {
namespace {

// A save in the code page keeps every character of the text.
bool CodePageHolds(int code_page, std::u16string_view text) {
  return EncodeCodePageExactly(code_page, text).has_value();
}

class CodePageTest : public ::testing::Test {
 protected:
  void SetUp() override { saved_ = LegacyCodePage(); }
  void TearDown() override { SetLegacyCodePage(saved_); }

 private:
  int saved_ = 0;
};

struct Sample {
  int code_page;
  std::string bytes;
  std::u16string text;
};

// Bytes and text that stand for each other in both directions.
const Sample kSamples[] = {
    {1252, "caf\xE9 \x80 100", u"café € 100"},
    {1251, "\xCF\xF0\xE8\xE2\xE5\xF2, \xEC\xE8\xF0 \xB9 5", u"Привет, мир № 5"},
    {936, "\xC4\xE3\xBA\xC3 abc \x80", u"你好 abc €"},
    {65001, "\xD0\x9F\xD1\x80\xD0\xB8 \xE4\xBD\xA0 \xF0\x9F\x98\x80", u"При 你 😀"},
    {1252, "", u""},
    {936, "", u""},
};

TEST_F(CodePageTest, DecodesAndEncodesSamples) {
  for (const Sample& sample : kSamples) {
    SCOPED_TRACE(ToUtf8(sample.text) + " in " + std::to_string(sample.code_page));
    EXPECT_EQ(DecodeCodePage(sample.code_page, sample.bytes), sample.text);
    EXPECT_EQ(EncodeCodePage(sample.code_page, sample.text), sample.bytes);
    EXPECT_EQ(DecodeCodePageExactly(sample.code_page, sample.bytes), sample.text);
    EXPECT_EQ(EncodeCodePageExactly(sample.code_page, sample.text), sample.bytes);
  }
}

TEST_F(CodePageTest, UndefinedSingleBytesBecomeTheSameControlCharacters) {
  EXPECT_EQ(DecodeCodePage(1252,
                           "a\x81\x8D\x8F\x90\x9D"
                           "b"),
            u"a\u0081\u008D\u008F\u0090\u009Db");
  EXPECT_EQ(DecodeCodePage(1251, "\x97\x98\x99"), u"\u2014\u0098\u2122");
  EXPECT_EQ(EncodeCodePage(1251, u"\u0098"), "\x98");
}

// Whatever bytes a bar file without a mark holds, a load and a save give
// them back.
TEST_F(CodePageTest, EverySingleByteRoundTrips) {
  std::string all_bytes;
  for (int byte = 0; byte < 256; ++byte) all_bytes.push_back(static_cast<char>(byte));
  for (int code_page : {1250, 1251, 1252, 1253, 1254, 1257, 866}) {
    SCOPED_TRACE(code_page);
    std::u16string text = DecodeCodePage(code_page, all_bytes);
    EXPECT_EQ(text.size(), 256u);
    EXPECT_EQ(EncodeCodePage(code_page, text), all_bytes);
    EXPECT_EQ(EncodeCodePageExactly(code_page, text), all_bytes);
  }
}

TEST_F(CodePageTest, Utf8DecodesInvalidBytesLeniently) {
  EXPECT_EQ(DecodeCodePage(kCodePageUtf8,
                           "a\xFF"
                           "b"),
            u"a\uFFFDb");
  EXPECT_EQ(DecodeCodePage(kCodePageUtf8, "\xC0"), u"\uFFFD");
  EXPECT_EQ(EncodeCodePage(kCodePageUtf8, u"x\xD800y"), "x\xEF\xBF\xBDy");
}

TEST_F(CodePageTest, MissingCharactersBecomeQuestionMarks) {
  EXPECT_EQ(EncodeCodePage(1251, u"a日b"), "a?b");
  EXPECT_EQ(EncodeCodePage(1252, u"Жx"), "?x");
  EXPECT_EQ(EncodeCodePage(936, u"\u0E01!"), "?!");
  EXPECT_EQ(EncodeCodePage(1252, u"a😀b"), "a??b");
  EXPECT_EQ(EncodeCodePage(936, u"a😀b\xD800"), "a??b?");
}

TEST_F(CodePageTest, HoldsOnlyTextThatComesBackUnchanged) {
  struct Case {
    int code_page;
    std::u16string text;
    bool holds;
  };
  const Case cases[] = {
      {1251, u"Привет, мир №", true},
      {1251, u"Привет 你好", false},
      {1252, u"café €", true},
      {1252, u"Привет", false},
      {1252, u"\u0100", false},  // a best fit would give "A"
      {1252, u"\u0081", true},
      {936, u"你好 Привет", true},
      {936, u"😀", false},
      {kCodePageUtf8, u"你好 Привет 😀", true},
      {kCodePageUtf8, u"a\xDC00", false},
      {1251, u"", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(ToUtf8(c.text) + " in " + std::to_string(c.code_page));
    EXPECT_EQ(CodePageHolds(c.code_page, c.text), c.holds);
    EXPECT_EQ(EncodeCodePageExactly(c.code_page, c.text).has_value(), c.holds);
  }
}

// The exact conversions decide in one pass what the round trip decides:
// text comes back when the page gives it back, and then as EncodeCodePage's
// bytes; bytes load when their text comes back, as DecodeCodePage's text.
// Long texts, so that ASCII runs go many units a step and end anywhere.
TEST_F(CodePageTest, ExactConversionsAgreeWithTheRoundTrip) {
  std::u16string units;
  for (char16_t unit = 1; unit < 0x0600; ++unit) units += unit;
  for (char16_t unit = 0x2000; unit < 0x2200; ++unit) units += unit;
  units += u"\uF8F0\uFFFD\uFF21\xD800 abc\r\nButtoncount=1\r\n";
  for (int code_page : {1250, 1251, 1252, 1253, 1257, 866, 874, 936, kCodePageUtf8}) {
    SCOPED_TRACE(code_page);
    for (std::size_t at = 0; at < units.size(); at += 7) {
      const std::u16string text = u"button12=%PATH%\\tools " + units.substr(at, 7) + u" x";
      const std::string plain = EncodeCodePage(code_page, text);
      const bool holds = DecodeCodePage(code_page, plain) == text;
      ASSERT_EQ(EncodeCodePageExactly(code_page, text),
                holds ? std::optional<std::string>(plain) : std::nullopt)
          << ToUtf8(text);
      const std::optional<std::u16string> loaded = DecodeCodePageExactly(code_page, plain);
      if (loaded) {
        EXPECT_EQ(*loaded, DecodeCodePage(code_page, plain));
      }
      if (holds) {
        EXPECT_EQ(loaded, text);
      }
    }
  }
}

TEST_F(CodePageTest, LegacyCodePageCanBeSet) {
  SetLegacyCodePage(936);
  EXPECT_EQ(LegacyCodePage(), 936);
  SetLegacyCodePage(kCodePageUtf8);
  EXPECT_EQ(LegacyCodePage(), kCodePageUtf8);
}

// Bars in legacy code pages, Cyrillic and Chinese ones among them, must
// decode to proper characters and encode back to the very same bytes.
class CorpusCodePageTest : public ::testing::TestWithParam<testing_support::BarSet> {};

TEST_P(CorpusCodePageTest, FilesInLegacyCodePagesRoundTrip) {
  if (!GetParam().absence.empty()) GTEST_SKIP() << GetParam().absence;
  int checked = 0;
  for (const testing_support::BarFile& file : testing_support::ManifestOf(GetParam())) {
    if (file.encoding == "utf8" || file.encoding == "utf16le-bom") continue;
    SCOPED_TRACE(file.path.string());
    const int code_page = testing_support::CodePageFor(file.encoding);
    std::string bytes = testing_support::ReadBytes(file.path);
    std::u16string text = DecodeCodePage(code_page, bytes);
    EXPECT_EQ(text.find(u'\uFFFD'), std::u16string::npos);
    EXPECT_TRUE(CodePageHolds(code_page, text));
    EXPECT_EQ(EncodeCodePage(code_page, text), bytes);
    ++checked;
  }
  EXPECT_GE(checked, 10);
}

INSTANTIATE_TEST_SUITE_P(Bars, CorpusCodePageTest, ::testing::ValuesIn(testing_support::BarSets()),
                         testing_support::NameOf<testing_support::BarSet>);

}  // namespace
}  // namespace bar
