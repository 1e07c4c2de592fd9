// A single-byte code page as tables, built once per page from the platform's
// own conversions (code_page_posix.cpp, code_page_win.cpp) and then used
// instead of them for the exact conversions: one pass over the bytes or the
// text decides and converts, ASCII many units a step.
#ifndef KELVANE_BAR_SINGLE_BYTE_PAGE_H_
#define KELVANE_BAR_SINGLE_BYTE_PAGE_H_

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace bar {

class SingleBytePage {
 public:
  static constexpr std::uint16_t kNoByte = 0x100;

  // to_unicode: the character of each byte. exact: whether the byte stands
  // for a character of the page that a save gives back, as
  // DecodeCodePageExactly asks. from_unicode: for each code unit the byte
  // a save writes for it when that byte gives it back, else kNoByte
  // (0x10000 entries).
  SingleBytePage(const std::array<char16_t, 256>& to_unicode, const std::array<bool, 256>& exact,
                 std::vector<std::uint16_t> from_unicode);

  // Every byte's character.
  void Decode(std::string_view bytes, std::u16string* text) const;
  // Decode, false when a byte is not exact.
  bool DecodeExactly(std::string_view bytes, std::u16string* text) const;
  // Each unit's byte, "?" for a unit without one.
  void Encode(std::u16string_view text, std::string* bytes) const;
  // Encode, false when a unit has no byte.
  bool EncodeExactly(std::u16string_view text, std::string* bytes) const;
  // EncodeExactly of the lines, each followed by line_end, as one text:
  // written from the lines as they stand, with no joined text between.
  bool EncodeLinesExactly(const std::vector<std::u16string_view>& lines,
                          std::u16string_view line_end, std::string* bytes) const;

 private:
  // The bytes of the text at out; false when a unit has no byte.
  bool EncodeInto(std::u16string_view text, char* out) const;

  std::array<char16_t, 256> to_unicode_;
  std::array<bool, 256> exact_;
  bool every_byte_exact_;
  std::vector<std::uint16_t> from_unicode_;
};

}  // namespace bar

#endif  // KELVANE_BAR_SINGLE_BYTE_PAGE_H_
