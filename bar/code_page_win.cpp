// The legacy code page through the Windows conversions, called without
// flags so that a bar file comes out as every other ANSI program writes it.
// The exact conversions ask the same conversions, with flags that report a
// loss.

#include "bar/code_page.h"

#include <windows.h>

#include "bar/code_page_platform.h"

namespace bar {
namespace {

constexpr int kNotYetAsked = 0;

int legacy_code_page = kNotYetAsked;

const wchar_t* Units(std::u16string_view text) {
  return reinterpret_cast<const wchar_t*>(text.data());
}

// The most bytes one UTF-16 code unit takes in the page (a character beyond
// the BMP takes two units and at most four bytes).
int MaxBytesPerUnit(int code_page) {
  CPINFO info;
  if (!GetCPInfo(static_cast<UINT>(code_page), &info)) return 4;
  return static_cast<int>(info.MaxCharSize);
}

// WideCharToMultiByte told to use the default character wherever it would
// otherwise give a best fit, and to say whether it used it: no use means
// every character came out as itself, so the bytes are those of the call
// without flags and give the text back. False when the page does not take
// the flags (UTF-7, the ISO-2022 family and a few others); *held tells the
// answer otherwise.
bool EncodeReportingLoss(int code_page, std::u16string_view text, std::string* bytes, bool* held) {
  const int size = static_cast<int>(text.size());
  bytes->resize(text.size() * static_cast<std::size_t>(MaxBytesPerUnit(code_page)));
  BOOL used_default = FALSE;
  const int length =
      size == 0
          ? 0
          : WideCharToMultiByte(code_page, WC_NO_BEST_FIT_CHARS, Units(text), size, bytes->data(),
                                static_cast<int>(bytes->size()), nullptr, &used_default);
  if (length <= 0 && size > 0) return false;
  bytes->resize(static_cast<std::size_t>(length));
  *held = !used_default;
  return true;
}

// MultiByteToWideChar with MB_ERR_INVALID_CHARS, which fails where the
// plain conversion would put a replacement; nullopt then. A page that does
// not take the flag (the ISO-2022 family) is decoded as it comes. A byte
// string decodes to no more code units than it has bytes.
std::optional<std::u16string> DecodeReportingInvalid(int code_page, std::string_view bytes) {
  const int size = static_cast<int>(bytes.size());
  if (size == 0) return std::u16string();
  std::u16string text(bytes.size(), u'\0');
  const int units = MultiByteToWideChar(code_page, MB_ERR_INVALID_CHARS, bytes.data(), size,
                                        reinterpret_cast<wchar_t*>(text.data()), size);
  if (units > 0) {
    text.resize(static_cast<std::size_t>(units));
    return text;
  }
  if (GetLastError() == ERROR_INVALID_FLAGS) return DecodeCodePage(code_page, bytes);
  return std::nullopt;
}

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
  auto units = Units(text);
  int size = static_cast<int>(text.size());
  int length = WideCharToMultiByte(code_page, 0, units, size, nullptr, 0, nullptr, nullptr);
  if (length <= 0) return std::string();
  std::string bytes(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(code_page, 0, units, size, &bytes[0], length, nullptr, nullptr);
  return bytes;
}

std::optional<std::string> EncodePageExactly(int code_page, std::u16string_view text) {
  std::string bytes;
  bool held = false;
  if (EncodeReportingLoss(code_page, text, &bytes, &held)) {
    if (!held) return std::nullopt;
    return bytes;
  }
  // A page without the flags: the round trip itself.
  bytes = EncodeCodePage(code_page, text);
  if (DecodeCodePage(code_page, bytes) != text) return std::nullopt;
  return bytes;
}

std::optional<std::u16string> DecodePageExactly(int code_page, std::string_view bytes) {
  std::optional<std::u16string> text = DecodeReportingInvalid(code_page, bytes);
  if (!text || !EncodePageExactly(code_page, *text)) return std::nullopt;
  return text;
}

}  // namespace bar
