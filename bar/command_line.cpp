#include "bar/command_line.h"

#include <cstddef>
#include <iterator>

namespace bar {

namespace {

constexpr char16_t kQuote = u'"';

// The platform hands the command line over as a NUL-terminated string, so a
// NUL ends it here too.
char16_t At(const std::u16string& s, std::size_t i) { return i < s.size() ? s[i] : u'\0'; }

bool IsSeparator(char16_t c) { return c >= 1 && c <= 32; }

// Skips separators and any number of empty "" pairs in front of a token.
std::size_t SkipToToken(const std::u16string& s, std::size_t i) {
  for (;;) {
    while (IsSeparator(At(s, i))) ++i;
    if (At(s, i) != kQuote || At(s, i + 1) != kQuote) return i;
    i += 2;
  }
}

// Reads the token that starts at i into *token; returns where it ended.
std::size_t ReadToken(const std::u16string& s, std::size_t i, std::u16string* token) {
  token->clear();
  while (At(s, i) > 32) {
    if (At(s, i) != kQuote) {
      token->push_back(s[i++]);
      continue;
    }
    ++i;  // the opening quote
    while (At(s, i) != u'\0' && At(s, i) != kQuote) token->push_back(s[i++]);
    if (At(s, i) == kQuote) ++i;  // the closing quote, when there is one
  }
  return i;
}

// ASCII letters only: the switch is ASCII, and a name that merely folds to
// it under another language's rules is a name.
bool IsVerticalSwitch(const std::u16string& token) {
  constexpr char16_t kSwitch[] = u"/vertical";
  if (token.size() != std::size(kSwitch) - 1) return false;
  for (std::size_t i = 0; i < token.size(); ++i) {
    const char16_t c = token[i] >= u'A' && token[i] <= u'Z' ? token[i] + (u'a' - u'A') : token[i];
    if (c != kSwitch[i]) return false;
  }
  return true;
}

// The arguments from i on.
ToggleArguments ReadArgumentsFrom(const std::u16string& s, std::size_t i) {
  ToggleArguments arguments;
  std::u16string token;
  for (;;) {
    i = ReadToken(s, SkipToToken(s, i), &token);
    if (token.empty()) return arguments;
    if (IsVerticalSwitch(token)) {
      arguments.vertical = true;
    } else if (arguments.sub_bar.empty()) {
      arguments.sub_bar = token;
    }
  }
}

}  // namespace

ToggleArguments ReadToggleArguments(const std::u16string& command_line) {
  std::u16string program;
  const std::size_t i = ReadToken(command_line, SkipToToken(command_line, 0), &program);
  if (program.empty()) return ToggleArguments();
  return ReadArgumentsFrom(command_line, i);
}

ToggleArguments ReadArguments(const std::u16string& arguments) {
  return ReadArgumentsFrom(arguments, 0);
}

std::u16string CommandLineToken(const std::u16string& command_line, int index) {
  std::u16string token;
  std::size_t i = 0;
  for (int n = 0;; ++n) {
    i = ReadToken(command_line, SkipToToken(command_line, i), &token);
    if (n >= index || token.empty()) break;
  }
  return index < 0 ? std::u16string() : token;
}

}  // namespace bar
