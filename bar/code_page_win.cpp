// The legacy code page through the Windows conversions, called without
// flags so that a bar file comes out as every other ANSI program writes it.
// The checks ask the same conversions, with flags that report a loss, so
// that a check costs one conversion instead of a round trip.

#include "bar/code_page.h"

#include <windows.h>

#include <algorithm>
#include <map>
#include <mutex>

namespace bar {
namespace {

constexpr int kNotYetAsked = 0;

int legacy_code_page = kNotYetAsked;

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// The only text that 65001 does not give back: the conversion writes a lone
// surrogate as U+FFFD.
bool HasLoneSurrogate(std::u16string_view text) {
  for (std::size_t at = 0; at < text.size(); ++at) {
    if (IsHighSurrogate(text[at]) && at + 1 < text.size() && IsLowSurrogate(text[at + 1])) {
      ++at;
    } else if (IsHighSurrogate(text[at]) || IsLowSurrogate(text[at])) {
      return true;
    }
  }
  return false;
}

const wchar_t* Units(std::u16string_view text) {
  return reinterpret_cast<const wchar_t*>(text.data());
}

// The most bytes one UTF-16 code unit takes in the page (a character beyond
// the BMP takes two units and at most four bytes).
int MaxBytesPerUnit(int code_page) {
  if (code_page == kCodePageUtf8) return 3;
  CPINFO info;
  if (!GetCPInfo(static_cast<UINT>(code_page), &info)) return 4;
  return static_cast<int>(info.MaxCharSize);
}

// WideCharToMultiByte told to use the default character wherever it would
// otherwise give a best fit, and to say whether it used it: no use means
// every character came out as itself, so the bytes are those of the call
// without flags and give the text back. False when the page does not take
// the flags (UTF-7, UTF-8, the ISO-2022 family and a few others); *held
// tells the answer otherwise.
bool EncodeReportingLoss(int code_page, std::u16string_view text, std::string* bytes,
                         bool* held) {
  const int size = static_cast<int>(text.size());
  bytes->resize(text.size() * static_cast<std::size_t>(MaxBytesPerUnit(code_page)));
  BOOL used_default = FALSE;
  const int length =
      size == 0 ? 0
                : WideCharToMultiByte(code_page, WC_NO_BEST_FIT_CHARS, Units(text), size,
                                      bytes->data(), static_cast<int>(bytes->size()), nullptr,
                                      &used_default);
  if (length <= 0 && size > 0) return false;
  bytes->resize(static_cast<std::size_t>(length));
  *held = !used_default;
  return true;
}

// Whether every byte of a single-byte page decodes to a character that
// comes back from it, so that any text decoded from the page does: asked
// once per page, on the 256 bytes.
bool EverySingleByteComesBack(int code_page) {
  static std::mutex mutex;
  static std::map<int, bool> answers;
  std::lock_guard<std::mutex> lock(mutex);
  const auto known = answers.find(code_page);
  if (known != answers.end()) return known->second;
  bool answer = false;
  CPINFO info;
  if (GetCPInfo(static_cast<UINT>(code_page), &info) && info.MaxCharSize == 1) {
    std::string every_byte(256, '\0');
    for (int byte = 0; byte < 256; ++byte) every_byte[byte] = static_cast<char>(byte);
    const std::u16string text = DecodeCodePage(code_page, every_byte);
    answer = text.size() == every_byte.size() && CodePageHolds(code_page, text);
  }
  answers[code_page] = answer;
  return answer;
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

bool CodePageHolds(int code_page, std::u16string_view text) {
  std::string bytes;
  return EncodeCodePageExactly(code_page, text, &bytes);
}

std::optional<std::string> EncodeCodePageExactly(int code_page, std::u16string_view text) {
  std::string bytes;
  if (!EncodeCodePageExactly(code_page, text, &bytes)) return std::nullopt;
  return bytes;
}

bool EncodeCodePageExactly(int code_page, std::u16string_view text, std::string* bytes) {
  if (code_page == kCodePageUtf8) {
    if (HasLoneSurrogate(text)) return false;
    *bytes = EncodeCodePage(code_page, text);
    return true;
  }
  bool held = false;
  if (EncodeReportingLoss(code_page, text, bytes, &held)) return held;
  // A page without the flags: the round trip itself.
  *bytes = EncodeCodePage(code_page, text);
  return DecodeCodePage(code_page, *bytes) == text;
}

std::optional<std::u16string> DecodeCodePageExactly(int code_page, std::string_view bytes) {
  std::u16string text;
  if (!DecodeCodePageExactly(code_page, bytes, &text)) return std::nullopt;
  return text;
}

// MB_ERR_INVALID_CHARS makes the conversion fail where it would otherwise
// put a replacement; a few pages (the ISO-2022 family) do not take the flag
// and are decoded as they come. A byte string decodes to no more code units
// than it has bytes, so one call into a buffer of that size does; the size
// is asked first only should that ever fall short.
bool DecodeCodePageExactly(int code_page, std::string_view bytes, std::u16string* text) {
  const int size = static_cast<int>(bytes.size());
  text->resize(bytes.size());
  if (size > 0) {
    int units = MultiByteToWideChar(code_page, MB_ERR_INVALID_CHARS, bytes.data(), size,
                                    reinterpret_cast<wchar_t*>(text->data()), size);
    if (units <= 0 && GetLastError() == ERROR_INSUFFICIENT_BUFFER) {
      units = MultiByteToWideChar(code_page, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
      text->resize(static_cast<std::size_t>(std::max(units, 0)));
      if (units > 0) {
        MultiByteToWideChar(code_page, MB_ERR_INVALID_CHARS, bytes.data(), size,
                            reinterpret_cast<wchar_t*>(text->data()), units);
      }
    }
    if (units > 0) {
      text->resize(static_cast<std::size_t>(units));
    } else if (GetLastError() == ERROR_INVALID_FLAGS) {
      *text = DecodeCodePage(code_page, bytes);
    } else {
      return false;
    }
  }
  if (code_page == kCodePageUtf8) return !HasLoneSurrogate(*text);
  if (EverySingleByteComesBack(code_page)) return true;
  std::string encoded;
  bool held = false;
  if (EncodeReportingLoss(code_page, *text, &encoded, &held)) return held;
  return CodePageHolds(code_page, *text);
}

}  // namespace bar
