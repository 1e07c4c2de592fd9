#include "bar/command_line.h"

#include <string>

#include "bar/unicode.h"
#include "gtest/gtest.h"

namespace bar {
namespace {

struct TokenCase {
  const char16_t* command_line;
  int index;
  const char16_t* token;
};

TEST(CommandLineTokenTest, SplitsLikeTheProgramAlwaysHas) {
  const TokenCase cases[] = {
      {u"kelvane.exe tools.bar", 0, u"kelvane.exe"},
      {u"kelvane.exe tools.bar", 1, u"tools.bar"},
      {u"kelvane.exe tools.bar", 2, u""},
      {u"kelvane.exe", 1, u""},
      {u"", 0, u""},
      {u"   kelvane.exe   a   b  ", 0, u"kelvane.exe"},
      {u"   kelvane.exe   a   b  ", 2, u"b"},
      {u"   kelvane.exe   a   b  ", 3, u""},
      // Quoted program path with blanks.
      {u"\"C:\\Program Files\\K\\kelvane.exe\" tools.bar", 0, u"C:\\Program Files\\K\\kelvane.exe"},
      {u"\"C:\\Program Files\\K\\kelvane.exe\" tools.bar", 1, u"tools.bar"},
      // An argument quoted for its blanks arrives without quotes.
      {u"k.exe \"my tools.bar\"", 1, u"my tools.bar"},
      // A quote in the middle joins the stretches on both sides.
      {u"k.exe a\"b c\"d e", 1, u"ab cd"},
      {u"k.exe a\"b c\"d e", 2, u"e"},
      // An unclosed quote runs to the end, blanks and all.
      {u"k.exe \"unclosed  tail ", 1, u"unclosed  tail "},
      {u"k.exe \"", 1, u""},
      // Empty pairs before a token are skipped, so "" alone is no argument
      // and "" before a name does not hide it.
      {u"k.exe \"\"", 1, u""},
      {u"k.exe \"\" tools.bar", 1, u"tools.bar"},
      {u"k.exe \"\"\"\"tools.bar", 1, u"tools.bar"},
      {u"\"\"k.exe x", 0, u"k.exe"},
      // An empty pair inside a token is an empty quoted stretch.
      {u"k.exe to\"\"ols.bar", 1, u"tools.bar"},
      // Backslashes mean nothing special.
      {u"k.exe \\\"a b\\\" c", 1, u"\\a b\\"},
      {u"k.exe \\\\srv\\bar\\x.bar", 1, u"\\\\srv\\bar\\x.bar"},
      // Every code from 1 to 32 separates; codes above 32 belong to tokens.
      {u"k.exe\t\x01\x1f tools.bar\r\n", 1, u"tools.bar"},
      {u"k.exe \x7f\x00a0x", 1, u"\x7f\x00a0x"},
      {u"k.exe Панель.bar", 1, u"Панель.bar"},
      // Negative indices have no token.
      {u"k.exe a", -1, u""},
  };
  for (const TokenCase& c : cases) {
    SCOPED_TRACE(ToUtf8(c.command_line) + " #" + std::to_string(c.index));
    EXPECT_EQ(CommandLineToken(c.command_line, c.index), c.token);
  }
}

TEST(CommandLineTokenTest, EndsAtNulAsThePlatformStringDoes) {
  std::u16string line = u"k.exe a";
  line += u'\0';
  line += u" b";
  EXPECT_EQ(CommandLineToken(line, 1), u"a");
  EXPECT_EQ(CommandLineToken(line, 2), u"");

  std::u16string quoted = u"k.exe \"a";
  quoted += u'\0';
  quoted += u"b\"";
  EXPECT_EQ(CommandLineToken(quoted, 1), u"a");
}

TEST(CommandLineTokenTest, EmptyTokenEndsTheScan) {
  // "k.exe a "" then ends: token 2 is empty, and so is every later one.
  const std::u16string line = u"k.exe a \"";
  EXPECT_EQ(CommandLineToken(line, 2), u"");
  EXPECT_EQ(CommandLineToken(line, 3), u"");
  EXPECT_EQ(CommandLineToken(line, 1000), u"");
}

TEST(CommandLineTokenTest, ToggleArgumentsTakeTheSwitchAnywhere) {
  const struct {
    const char16_t* command_line;
    const char16_t* sub_bar;
    bool vertical;
  } cases[] = {
      {u"k.exe tools.bar", u"tools.bar", false},
      {u"k.exe tools.bar /vertical", u"tools.bar", true},
      {u"k.exe /VERTICAL tools.bar", u"tools.bar", true},
      {u"k.exe \"/Vertical\" tools.bar extra", u"tools.bar", true},
      {u"k.exe tools.bar extra /vertical", u"tools.bar", true},
      {u"k.exe /vertical", u"", true},
      {u"k.exe /verticals tools.bar", u"/verticals", false},
      {u"/vertical tools.bar", u"tools.bar", false},  // token 0 is the program
      {u"k.exe \"\" /vertical", u"", true},
      {u"k.exe a \" /vertical", u"a", false},  // the unclosed quote swallows it
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(ToUtf8(c.command_line));
    const ToggleArguments arguments = ReadToggleArguments(c.command_line);
    EXPECT_EQ(arguments.sub_bar, c.sub_bar);
    EXPECT_EQ(arguments.vertical, c.vertical);
  }
}

}  // namespace
}  // namespace bar
