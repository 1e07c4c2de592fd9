#include "bar/unicode.h"

#include <gtest/gtest.h>

#include "tests/lines.h"

namespace bar {
namespace {

using testing_support::EncodeUtf16;

struct Utf8Case {
  const char* name;
  std::string bytes;
  std::optional<std::u16string> text;  // nullopt: the strict decode fails
};

TEST(Utf8Test, StrictDecodeAcceptsExactlyTheWellFormedSequences) {
  const Utf8Case cases[] = {
      {"nothing", "", u""},
      {"ascii", "Buttoncount=3", u"Buttoncount=3"},
      {"nul byte", std::string("a\0b", 3), std::u16string(u"a\0b", 3)},
      {"two bytes", "\xC3\xA9", u"\u00E9"},
      {"lowest two-byte", "\xC2\x80", u"\u0080"},
      {"three bytes", "\xE2\x82\xAC", u"\u20AC"},
      {"lowest three-byte", "\xE0\xA0\x80", u"\u0800"},
      {"below the surrogates", "\xED\x9F\xBF", u"\uD7FF"},
      {"above the surrogates", "\xEE\x80\x80", u"\uE000"},
      {"noncharacter", "\xEF\xBF\xBF", u"\uFFFF"},
      {"four bytes", "\xF0\x9F\x98\x80", u"\xD83D\xDE00"},
      {"lowest four-byte", "\xF0\x90\x80\x80", u"\xD800\xDC00"},
      {"highest code point", "\xF4\x8F\xBF\xBF", u"\xDBFF\xDFFF"},
      {"overlong nul", "\xC0\x80", std::nullopt},
      {"overlong two-byte", "\xC1\xBF", std::nullopt},
      {"overlong three-byte", "\xE0\x9F\xBF", std::nullopt},
      {"overlong four-byte", "\xF0\x8F\xBF\xBF", std::nullopt},
      {"encoded high surrogate", "\xED\xA0\x80", std::nullopt},
      {"encoded low surrogate", "\xED\xBF\xBF", std::nullopt},
      {"encoded surrogate pair", "\xED\xA0\xBD\xED\xB8\x80", std::nullopt},
      {"above U+10FFFF", "\xF4\x90\x80\x80", std::nullopt},
      {"lead F5", "\xF5\x80\x80\x80", std::nullopt},
      {"byte FE", "\xFE", std::nullopt},
      {"byte FF", "\xFF", std::nullopt},
      {"stray continuation", "a\x80", std::nullopt},
      {"lead then ascii",
       "\xC3"
       "A",
       std::nullopt},
      {"truncated two-byte at the end", "abc\xC3", std::nullopt},
      {"truncated three-byte", "\xE2\x82", std::nullopt},
      {"truncated four-byte", "\xF0\x9F\x98", std::nullopt},
      {"one bad byte after good lines", "[Buttonbar]\r\nbutton1=\xE9\r\n", std::nullopt},
  };
  for (const Utf8Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(DecodeUtf8Strict(c.bytes), c.text);
  }
}

TEST(Utf8Test, EveryCodePointSurvivesEncodeAndStrictDecode) {
  std::u16string all;
  for (char32_t c = 0; c <= 0x10FFFF; ++c) {
    if (c >= 0xD800 && c <= 0xDFFF) continue;
    if (c < 0x10000) {
      all.push_back(static_cast<char16_t>(c));
    } else {
      all.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
      all.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
    }
  }
  bool lossless = false;
  const std::string bytes = EncodeUtf8(all, &lossless);
  EXPECT_TRUE(lossless);
  // 128 one-byte, 1,920 two-byte, 61,440 three-byte, 1,048,576 four-byte.
  EXPECT_EQ(bytes.size(), 128u + 1920u * 2 + 61440u * 3 + 1048576u * 4);
  EXPECT_EQ(DecodeUtf8Strict(bytes), all);
}

TEST(Utf8Test, LoneSurrogatesEncodeAsReplacementCharacter) {
  struct Case {
    const char* name;
    std::u16string text;
    std::string bytes;
    bool lossless;
  } cases[] = {
      {"pair", u"\xD83D\xDE00", "\xF0\x9F\x98\x80", true},
      {"lone high at the end", u"a\xD800", "a\xEF\xBF\xBD", false},
      {"lone high before a letter", u"\xD800z", "\xEF\xBF\xBDz", false},
      {"lone low", u"\xDC00", "\xEF\xBF\xBD", false},
      {"low before high", u"\xDC00\xD800", "\xEF\xBF\xBD\xEF\xBF\xBD", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    bool lossless = !c.lossless;
    EXPECT_EQ(EncodeUtf8(c.text, &lossless), c.bytes);
    EXPECT_EQ(lossless, c.lossless);
    EXPECT_EQ(ToUtf8(c.text), c.bytes);
  }
}

TEST(Utf8Test, LenientDecodeReplacesEachIllFormedPart) {
  EXPECT_EQ(FromUtf8("a\xFF"
                     "b"),
            u"a\uFFFDb");
  // A truncated sequence is one part; a lead byte the next byte does not
  // continue is a part of its own.
  EXPECT_EQ(FromUtf8("\xE2\x82"
                     "!"),
            u"\uFFFD!");
  EXPECT_EQ(FromUtf8("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD");
  EXPECT_EQ(FromUtf8("\xF0\x9F\x98\x80"), u"\xD83D\xDE00");
}

TEST(Utf16Test, BytesInBothOrders) {
  const std::u16string text = u"A\u0416\xD83D\xDE00";
  EXPECT_EQ(EncodeUtf16(text, false), std::string("A\0\x16\x04\x3D\xD8\x00\xDE", 8));
  EXPECT_EQ(EncodeUtf16(text, true), std::string("\0A\x04\x16\xD8\x3D\xDE\x00", 8));
  EXPECT_EQ(DecodeUtf16(EncodeUtf16(text, false), false), text);
  EXPECT_EQ(DecodeUtf16(EncodeUtf16(text, true), true), text);
}

TEST(Utf16Test, OddLastByteIsDropped) {
  EXPECT_EQ(DecodeUtf16(std::string("A\0B\0C", 5), false), u"AB");
  EXPECT_EQ(DecodeUtf16(std::string("\0A\0", 3), true), u"A");
  EXPECT_EQ(DecodeUtf16("x", false), u"");
}

}  // namespace
}  // namespace bar
