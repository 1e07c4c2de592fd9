#include "app/command_line.h"

#include <cstddef>

namespace app {

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

}  // namespace

std::u16string CommandLineToken(const std::u16string& command_line, int index) {
  std::u16string token;
  std::size_t i = 0;
  for (int n = 0;; ++n) {
    i = ReadToken(command_line, SkipToToken(command_line, i), &token);
    if (n >= index || token.empty()) break;
  }
  return index < 0 ? std::u16string() : token;
}

}  // namespace app
