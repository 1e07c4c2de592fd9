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

TEST(EntryKeyTest, LinesTakenApart) {
  struct Case {
    std::u16string line, key, digits;
    std::optional<int32_t> number;  // nullopt: conversion error on the digits
    std::u16string prefix, suffix, tail;
    bool together;
  } cases[] = {
      {u"button12=c:\\tools\\a.exe", u"button12", u"12", 12, u"button", u"", u"=c:\\tools\\a.exe",
       true},
      {u"cmd3=", u"cmd3", u"3", 3, u"cmd", u"", u"=", true},
      {u"iconic1=0", u"iconic1", u"1", 1, u"iconic", u"", u"=0", true},
      {u"button007=x", u"button007", u"007", 7, u"button", u"", u"=x", true},
      {u"button2x=z", u"button2x", u"2", 2, u"button", u"x", u"=z", true},
      {u"b1t2=z", u"b1t2", u"12", 12, u"", u"", u"=z", false},
      {u"7=z", u"7", u"7", 7, u"", u"", u"=z", true},
      {u"x1y=2=3", u"x1y", u"1", 1, u"x", u"y", u"=2=3", true},
      {u"cmd2=run5.exe", u"cmd2", u"2", 2, u"cmd", u"", u"=run5.exe", true},
      {u"label=z", u"label", u"", std::nullopt, u"", u"", u"=z", false},
      {u"=abc", u"", u"", std::nullopt, u"", u"", u"=abc", false},
      {u"button2147483648=z", u"button2147483648", u"2147483648", std::nullopt, u"button", u"",
       u"=z", true},
      {u"button1     = x", u"button1     ", u"1", 1, u"button", u"     ", u"= x", true},
      {u"  menu10 =Tools", u"  menu10 ", u"10", 10, u"  menu", u" ", u"=Tools", true},
      {u"12ab12=z", u"12ab12", u"1212", 1212, u"", u"", u"=z", false},
      {u"ab12cd3=z", u"ab12cd3", u"123", 123, u"", u"", u"=z", false},
      {u"12=3=4", u"12", u"12", 12, u"", u"", u"=3=4", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(ToUtf8(c.line));
    EXPECT_TRUE(HasKey(c.line));
    EXPECT_EQ(Key(c.line), c.key);
    EXPECT_EQ(KeyDigits(c.line), c.digits);
    EXPECT_EQ(KeyPrefix(c.line), c.prefix);
    EXPECT_EQ(KeySuffix(c.line), c.suffix);
    EXPECT_EQ(LineTail(c.line), c.tail);
    EXPECT_EQ(DigitsStandTogether(c.line), c.together);
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

TEST(EntryKeyTest, LinesWithoutEqualsSignHaveNoKey) {
  for (const std::u16string line : {u"[Buttonbar]", u"", u"   ", u"Buttoncount"}) {
    SCOPED_TRACE(ToUtf8(line));
    EXPECT_FALSE(HasKey(line));
  }
  EXPECT_TRUE(HasKey(u"="));
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
    ASSERT_TRUE(DigitsStandTogether(line));
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
    } else if (HasKey(c.line)) {
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
