// Without CompareStringOrdinal, file names are compared by upper-casing each
// code unit with the simple mappings of the scripts file names are written
// in on the machines this tool serves (Latin, Greek, Cyrillic, full-width
// Latin). Like the Windows comparison it maps code unit by code unit: no
// folding of one character into two, no normalization, surrogates as they
// are.
#include "bar/file_name.h"

#include <cstddef>

namespace bar {

namespace {

// Upper case of a letter whose case pair is (even upper, odd lower) when
// upper_is_even, else (odd upper, even lower).
char16_t PairUpper(char16_t c, bool upper_is_even) {
  bool is_even = c % 2 == 0;
  return is_even == upper_is_even ? c : static_cast<char16_t>(c - 1);
}

char16_t LatinUpper(char16_t c) {
  if (c >= u'a' && c <= u'z') return static_cast<char16_t>(c - 0x20);
  if (c == 0x00B5) return 0x039C;  // micro sign -> capital mu
  if (c >= 0x00E0 && c <= 0x00FE && c != 0x00F7) return static_cast<char16_t>(c - 0x20);
  if (c == 0x00FF) return 0x0178;
  if (c == 0x0131) return u'I';  // dotless i
  if (c == 0x017F) return u'S';  // long s
  if ((c >= 0x0100 && c <= 0x0137 && c != 0x0130) || (c >= 0x014A && c <= 0x0177)) {
    return PairUpper(c, true);
  }
  if ((c >= 0x0139 && c <= 0x0148) || (c >= 0x0179 && c <= 0x017E)) return PairUpper(c, false);
  return c;
}

char16_t GreekUpper(char16_t c) {
  if (c == 0x03AC) return 0x0386;
  if (c >= 0x03AD && c <= 0x03AF) return static_cast<char16_t>(c - 0x25);
  if (c == 0x03C2) return 0x03A3;  // final sigma
  if (c >= 0x03B1 && c <= 0x03CB) return static_cast<char16_t>(c - 0x20);
  if (c == 0x03CC) return 0x038C;
  if (c == 0x03CD || c == 0x03CE) return static_cast<char16_t>(c - 0x3F);
  return c;
}

char16_t CyrillicUpper(char16_t c) {
  if (c >= 0x0430 && c <= 0x044F) return static_cast<char16_t>(c - 0x20);
  if (c >= 0x0450 && c <= 0x045F) return static_cast<char16_t>(c - 0x50);
  if ((c >= 0x0460 && c <= 0x0481) || (c >= 0x048A && c <= 0x04BF) ||
      (c >= 0x04D0 && c <= 0x052F)) {
    return PairUpper(c, true);
  }
  if (c >= 0x04C1 && c <= 0x04CE) return PairUpper(c, false);
  if (c == 0x04CF) return 0x04C0;
  return c;
}

char16_t OrdinalUpper(char16_t c) {
  if (c < 0x0370) return LatinUpper(c);
  if (c < 0x0400) return GreekUpper(c);
  if (c < 0x0530) return CyrillicUpper(c);
  if (c >= 0xFF41 && c <= 0xFF5A) return static_cast<char16_t>(c - 0x20);  // full-width a-z
  return c;
}

}  // namespace

bool SameFileName(const std::u16string& a, const std::u16string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (OrdinalUpper(a[i]) != OrdinalUpper(b[i])) return false;
  }
  return true;
}

}  // namespace bar
