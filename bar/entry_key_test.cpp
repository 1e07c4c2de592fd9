#include "bar/entry_key.h"

#include <gtest/gtest.h>

#include <optional>

#include "bar/errors.h"
#include "bar/unicode.h"

namespace bar {
namespace {

// The conversion error's text for a number read from s.
std::u16string NotAnInteger(const std::u16string& s) {
  return u"'" + s + u"' is not a valid integer value";
}

// Each line's key digits, entry number, tail, the line renumbered to 5 (key
// prefix, number, the key text after its digits, tail), and whether
// renumbering it there and back gives it back.
TEST(EntryKeyTest, LinesTakenApart) {
  struct Case {
    std::u16string line, digits;
    std::optional<int32_t> number;  // nullopt: conversion error on the digits
    std::u16string tail, as_5;
    bool lossless;
  } cases[] = {
      {u"button12=c:\\tools\\a.exe", u"12", 12, u"=c:\\tools\\a.exe", u"button5=c:\\tools\\a.exe",
       true},
      {u"cmd3=", u"3", 3, u"=", u"cmd5=", true},
      {u"iconic1=0", u"1", 1, u"=0", u"iconic5=0", true},
      {u"button007=x", u"007", 7, u"=x", u"button5=x", false},
      {u"button2x=z", u"2", 2, u"=z", u"button5x=z", true},
      {u"b1t2=z", u"12", 12, u"=z", u"5=z", false},
      {u"7=z", u"7", 7, u"=z", u"5=z", true},
      {u"x1y=2=3", u"1", 1, u"=2=3", u"x5y=2=3", true},
      {u"cmd2=run5.exe", u"2", 2, u"=run5.exe", u"cmd5=run5.exe", true},
      {u"label=z", u"", std::nullopt, u"=z", u"5=z", false},
      {u"=abc", u"", std::nullopt, u"=abc", u"5=abc", false},
      {u"button2147483648=z", u"2147483648", std::nullopt, u"=z", u"button5=z", true},
      {u"button1     = x", u"1", 1, u"= x", u"button5     = x", true},
      {u"  menu10 =Tools", u"10", 10, u"=Tools", u"  menu5 =Tools", true},
      {u"12ab12=z", u"1212", 1212, u"=z", u"5=z", false},
      {u"ab12cd3=z", u"123", 123, u"=z", u"5=z", false},
      {u"12=3=4", u"12", 12, u"=3=4", u"5=3=4", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(ToUtf8(c.line));
    EXPECT_EQ(KeyDigits(c.line), c.digits);
    EXPECT_EQ(LineTail(c.line), c.tail);
    EXPECT_EQ(RenumberedLine(c.line, 5), c.as_5);
    if (!c.digits.empty()) {
      EXPECT_EQ(RenumberingLoss(c.line).empty(), c.lossless);
    }
    if (c.number) {
      EXPECT_EQ(EntryNumber(c.line), *c.number);
      continue;
    }
    try {
      EntryNumber(c.line);
      ADD_FAILURE() << "numbered";
    } catch (const ConversionError& e) {
      EXPECT_EQ(e.message(), NotAnInteger(c.digits));
    }
  }
}

TEST(EntryKeyTest, RenumberingExamples) {
  struct Case {
    std::u16string line;
    int32_t n;
    std::u16string want;
  } cases[] = {
      {u"button12=c:\\tools\\a.exe", 4, u"button4=c:\\tools\\a.exe"},
      {u"b1t2=z", 15, u"15=z"},
      {u"12ab12=z", 5, u"5=z"},
      {u"button007=x", 8, u"button8=x"},
      // Text between the digits and "=" stays with the key.
      {u"button2x=z", 5, u"button5x=z"},
      {u"button1     = x", 5, u"button5     = x"},
      {u"x1y=2=3", 100, u"x100y=2=3"},
      {u"cmd3=", 0, u"cmd0="},
      {u"cmd3=", -1, u"cmd-1="},
      {u"iconic9=1", 2147483647, u"iconic2147483647=1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(ToUtf8(c.line) + " to " + std::to_string(c.n));
    EXPECT_EQ(RenumberedLine(c.line, c.n), c.want);
  }
}

TEST(EntryKeyTest, RenumberingBackRestoresTheLine) {
  for (const std::u16string line : {u"button1     = x", u"  menu10 =Tools", u"button2x=z",
                                    u"cmd12=a=b", u"param3=", u"x1y=2=3"}) {
    SCOPED_TRACE(ToUtf8(line));
    ASSERT_EQ(RenumberingLoss(line), u"");
    std::u16string moved = RenumberedLine(line, 4711);
    EXPECT_EQ(EntryNumber(moved), 4711);
    EXPECT_EQ(RenumberedLine(moved, EntryNumber(line)), line);
  }
}

TEST(EntryKeyTest, CountValues) {
  struct Case {
    std::u16string line;
    std::optional<int32_t> value;  // nullopt: conversion error on `text`
    std::u16string text;
  } cases[] = {
      {u"Buttoncount=12", 12, u""},
      {u"Buttoncount=0", 0, u""},
      {u"Buttoncount= 5", 5, u""},
      {u"Buttoncount=5 ", std::nullopt, u"5 "},
      {u"Buttoncount=", std::nullopt, u""},
      {u"Buttoncount=$10", 16, u""},
      {u"Buttoncount=x10", 16, u""},
      {u"Buttoncount=-3", -3, u""},
      {u"Buttoncount=+3", 3, u""},
      {u"Buttoncount=2147483648", std::nullopt, u"2147483648"},
      {u"Buttoncount=1=2", std::nullopt, u"1=2"},
      {u"Buttoncount", std::nullopt, u"Buttoncount"},
      {u"42", 42, u""},  // no "=": the whole line is the number
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(ToUtf8(c.line));
    if (c.value) {
      EXPECT_EQ(CountValue(c.line), *c.value);
      continue;
    }
    try {
      CountValue(c.line);
      ADD_FAILURE() << "read a count";
    } catch (const ConversionError& e) {
      EXPECT_EQ(e.message(), NotAnInteger(c.text));
    }
  }
}

TEST(EntryKeyTest, NumberOfAgreesWithEntryNumberWhereThatSucceeds) {
  struct Case {
    const char16_t* line;
    std::optional<int32_t> number;
  } cases[] = {
      {u"button12=c:\\tools\\a.exe", 12},
      {u"button007=x", 7},
      {u"b1t2=z", 12},
      {u"7=z", 7},
      {u"x1y=2=3", 1},
      {u"cmd2=run5.exe", 2},
      {u"button2147483647=z", 2147483647},
      {u"button00000000002147483647=z", 2147483647},
      {u"button2147483648=z", std::nullopt},
      {u"button99999999999999999999=z", std::nullopt},
      {u"label=z", std::nullopt},
      {u"=abc", std::nullopt},
      {u"Buttoncount=3", std::nullopt},
      {u";note 5", std::nullopt},
      {u"", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(ToUtf8(c.line));
    EXPECT_EQ(NumberOf(c.line), c.number);
    if (c.number) {
      EXPECT_EQ(EntryNumber(c.line), *c.number);
    } else if (std::u16string_view(c.line).find(u'=') != std::u16string_view::npos) {
      EXPECT_THROW(EntryNumber(c.line), ConversionError);
    }
  }
}

// The word and the digits make the key; a line is told apart by its first
// units before its "=" is looked for, and that must not change an answer.
TEST(EntryKeyTest, KeyedLines) {
  struct Case {
    std::u16string line;
    KeyMatch match;
    std::optional<int32_t> number;
    std::u16string value;
  } cases[] = {
      {u"button12=a.barx1", KeyMatch::kExact, 12, u"a.barx1"},
      {u"Button12=a.barx1", KeyMatch::kExact, std::nullopt, u""},
      {u"Button12=a.barx1", KeyMatch::kLoose, 12, u"a.barx1"},
      {u"  button12 =  a.barx1 ", KeyMatch::kLoose, 12, u"a.barx1"},
      {u"  button12 =  a.barx1 ", KeyMatch::kExact, std::nullopt, u""},
      {u"\tBUTTON3\t=x", KeyMatch::kLoose, 3, u"x"},
      {u"button=x", KeyMatch::kLoose, std::nullopt, u""},
      {u"button", KeyMatch::kLoose, std::nullopt, u""},
      {u"butto", KeyMatch::kExact, std::nullopt, u""},
      {u"", KeyMatch::kLoose, std::nullopt, u""},
      {u"   ", KeyMatch::kLoose, std::nullopt, u""},
      {u"buttonx1=y", KeyMatch::kExact, std::nullopt, u""},
      {u"button1 2=y", KeyMatch::kLoose, std::nullopt, u""},
      {u"button2147483648=y", KeyMatch::kExact, std::nullopt, u""},
      {u"cmd5=-2", KeyMatch::kExact, std::nullopt, u""},
      {u"=button1", KeyMatch::kLoose, std::nullopt, u""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(ToUtf8(c.line) + (c.match == KeyMatch::kExact ? " exact" : " loose"));
    const std::optional<KeyedLine> keyed = ReadKeyedLine(c.line, u"button", c.match);
    ASSERT_EQ(keyed.has_value(), c.number.has_value());
    if (!keyed) continue;
    EXPECT_EQ(keyed->number, *c.number);
    EXPECT_EQ(keyed->value, c.value);
  }
}

}  // namespace
}  // namespace bar
