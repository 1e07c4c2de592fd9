#include "bar/strings.h"

#include <gtest/gtest.h>

#include "bar/errors.h"
#include "bar/unicode.h"

namespace bar {
namespace {

TEST(PosTest, FindsFirstOccurrenceOneBasedOrZero) {
  struct Case {
    std::u16string sub, s;
    int32_t want;
  } cases[] = {
      {u"=", u"button1=a=b", 8},
      {u"=", u"[Buttonbar]", 0},
      {u"", u"abc", 0},
      {u"a", u"", 0},
      {u"", u"", 0},
      {u"abcd", u"abc", 0},
      {u"abc", u"abc", 1},
      {u"c", u"abc", 3},
      {u"Buttoncount", u"buttoncount=3", 0},  // case matters
      {u"aab", u"aaab", 2},
      {u"12", u"b1t2", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(ToUtf8(c.sub) + " in " + ToUtf8(c.s));
    EXPECT_EQ(Pos(c.sub, c.s), c.want);
  }
}

TEST(CopyTest, ClipsStartAndCount) {
  struct Case {
    std::u16string s;
    int32_t start, count;
    std::u16string want;
  } cases[] = {
      {u"abc", 1, 2, u"ab"},
      {u"abc", 0, 2, u"ab"},  // a start below 1 does not shorten the count
      {u"abc", -5, 2, u"ab"},
      {u"abc", 2, kMaxInt, u"bc"},
      {u"abc", 3, 1, u"c"},
      {u"abc", 4, kMaxInt, u""},
      {u"abc", kMaxInt, kMaxInt, u""},
      {u"abc", 1, 0, u""},
      {u"abc", 1, -1, u""},
      {u"abc", -2147483647 - 1, kMaxInt, u"abc"},
      {u"", 1, kMaxInt, u""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(ToUtf8(c.s) + " from " + std::to_string(c.start) + " count " +
                 std::to_string(c.count));
    EXPECT_EQ(Copy(c.s, c.start, c.count), c.want);
  }
}

TEST(GetDigitsTest, KeepsOnlyAsciiDigitsInOrder) {
  struct Case {
    std::u16string s, want;
  } cases[] = {
      {u"", u""},
      {u"label", u""},
      {u"cmd-3", u"3"},
      {u"1 2", u"12"},
      {u"b1t2", u"12"},
      {u"button007", u"007"},
      {u"x\u0661\uFF12"
       u"9",
       u"9"},  // Arabic-Indic and full-width digits go
      {u"+-.,/:", u""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(ToUtf8(c.s));
    EXPECT_EQ(get_digits(c.s), c.want);
  }
}

TEST(StrToIntTest, AcceptedTexts) {
  struct Case {
    std::u16string text;
    int32_t want;
  } cases[] = {
      {u"12", 12},
      {u"0", 0},
      {u"007", 7},
      {u"-0", 0},
      {u"+3", 3},
      {u"-3", -3},
      {u" 5", 5},
      {u"   -5", -5},
      {u"2147483647", 2147483647},
      {u"-2147483648", -2147483647 - 1},
      {u"0000000000002147483647", 2147483647},
      {u"$10", 16},
      {u"x10", 16},
      {u"X10", 16},
      {u"0x10", 16},
      {u"0X1f", 31},
      {u"$aBcD", 0xABCD},
      {u"-$10", -16},
      {u"+x10", 16},
      {u"$7FFFFFFF", 2147483647},
      {u"$80000000", -2147483647 - 1},
      {u"$FFFFFFFF", -1},
      {u"-$FFFFFFFF", 1},
      {u"-$80000000", -2147483647 - 1},  // negating the bits wraps
      {u"$00000000FFFFFFFF", -1},        // leading zeros are free
      {u"0x0", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(ToUtf8(c.text));
    EXPECT_EQ(StrToInt(c.text), c.want);
  }
}

TEST(StrToIntTest, RejectedTextsNameTheWholeTextUnchanged) {
  const std::u16string cases[] = {
      u"",
      u" ",
      u"   ",
      u"-",
      u"+",
      u"$",
      u"x",
      u"0x",
      u"-$",
      u"- 5",
      u"5 ",
      u"5-",
      u"--5",
      u"+-5",
      u"1.0",
      u"1=2",
      u"\t5",
      u"2147483648",
      u"-2147483649",
      u"+2147483648",
      u"99999999999",
      u"$100000000",
      u"$FFFFFFFFF",
      u"$G",
      u"0x1g",
      u"00x1",
      u"x0x1",
      u"12a",
      u"a12",
      u"\uFF11",  // full-width 1
      u"Buttoncount",
  };
  for (const std::u16string& text : cases) {
    SCOPED_TRACE(ToUtf8(text));
    try {
      StrToInt(text);
      ADD_FAILURE() << "accepted";
    } catch (const ConversionError& e) {
      EXPECT_EQ(e.message(), u"'" + text + u"' is not a valid integer value");
    }
  }
}

TEST(IntToStrTest, DecimalWithoutPadding) {
  EXPECT_EQ(IntToStr(0), u"0");
  EXPECT_EQ(IntToStr(7), u"7");
  EXPECT_EQ(IntToStr(1000000), u"1000000");
  EXPECT_EQ(IntToStr(-3), u"-3");
  EXPECT_EQ(IntToStr(2147483647), u"2147483647");
  EXPECT_EQ(IntToStr(-2147483647 - 1), u"-2147483648");
}

TEST(IntToStrTest, RoundTripsThroughStrToInt) {
  for (int32_t n : {-2147483647 - 1, -100, -1, 0, 1, 9, 10, 99, 2147483647}) {
    EXPECT_EQ(StrToInt(IntToStr(n)), n);
  }
}

}  // namespace
}  // namespace bar
