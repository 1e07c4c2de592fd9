// The legacy code page through the Windows conversions, called without
// flags so that a bar file comes out as every other ANSI program writes it.

#include "bar/code_page.h"

#include <windows.h>

namespace bar {
namespace {

constexpr int kNotYetAsked = 0;

int legacy_code_page = kNotYetAsked;

}  // namespace

int LegacyCodePage() {
  if (legacy_code_page == kNotYetAsked) legacy_code_page = static_cast<int>(GetACP());
  return legacy_code_page;
}

void SetLegacyCodePage(int code_page) { legacy_code_page = code_page; }

// The conversions count in int: a bar file is far below 2 GiB, and the line
// lists could not hold such a text anyway.
std::u16string DecodeCodePage(int code_page, std::string_view bytes) {
  int size = static_cast<int>(bytes.size());
  int units = MultiByteToWideChar(code_page, 0, bytes.data(), size, nullptr, 0);
  if (units <= 0) return std::u16string();
  std::u16string text(static_cast<std::size_t>(units), u'\0');
  MultiByteToWideChar(code_page, 0, bytes.data(), size, reinterpret_cast<wchar_t*>(&text[0]),
                      units);
  return text;
}

std::string EncodeCodePage(int code_page, std::u16string_view text) {
  auto units = reinterpret_cast<const wchar_t*>(text.data());
  int size = static_cast<int>(text.size());
  int length = WideCharToMultiByte(code_page, 0, units, size, nullptr, 0, nullptr, nullptr);
  if (length <= 0) return std::string();
  std::string bytes(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(code_page, 0, units, size, &bytes[0], length, nullptr, nullptr);
  return bytes;
}

bool CodePageHolds(int code_page, std::u16string_view text) {
  return DecodeCodePage(code_page, EncodeCodePage(code_page, text)) == text;
}

// MB_ERR_INVALID_CHARS makes the conversion fail where it would otherwise
// put a replacement; a few pages (the ISO-2022 family) do not take the flag
// and are decoded as they come.
std::optional<std::u16string> DecodeCodePageExactly(int code_page, std::string_view bytes) {
  const int size = static_cast<int>(bytes.size());
  std::u16string text;
  if (size > 0) {
    const int units =
        MultiByteToWideChar(code_page, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
    if (units <= 0) {
      if (GetLastError() != ERROR_INVALID_FLAGS) return std::nullopt;
      text = DecodeCodePage(code_page, bytes);
    } else {
      text.resize(static_cast<std::size_t>(units));
      MultiByteToWideChar(code_page, MB_ERR_INVALID_CHARS, bytes.data(), size,
                          reinterpret_cast<wchar_t*>(&text[0]), units);
    }
  }
  if (!CodePageHolds(code_page, text)) return std::nullopt;
  return text;
}

}  // namespace bar
