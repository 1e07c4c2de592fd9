// The legacy code page through the Windows conversions, called without
// flags so that a bar file comes out as every other ANSI program writes it.
// The checks ask the same conversions, with flags that report a loss, so
// that a check costs one conversion instead of a round trip; a single-byte
// page goes through tables made from the same conversions.

#include "bar/code_page.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "bar/single_byte_page.h"

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

// A single-byte page as tables, from the system's own conversions of its
// 256 bytes and of their characters, or nullptr for any other page. Such a
// page converts byte by byte and character by character, so the tables
// give what the system gives for any text: a byte is exact when
// MB_ERR_INVALID_CHARS takes it, to the character the plain conversion
// gives, and that character comes back; a code unit comes back when the
// plain conversion writes a byte that decodes to it again.
std::unique_ptr<SingleBytePage> MakeSingleBytePage(int code_page) {
  CPINFO info;
  if (!GetCPInfo(static_cast<UINT>(code_page), &info) || info.MaxCharSize != 1) return nullptr;
  std::array<char16_t, 256> to_unicode;
  std::array<bool, 256> strict;
  for (int byte = 0; byte < 256; ++byte) {
    const char in = static_cast<char>(byte);
    wchar_t plain = 0;
    wchar_t checked = 0;
    if (MultiByteToWideChar(code_page, 0, &in, 1, &plain, 1) != 1) return nullptr;
    strict[byte] = MultiByteToWideChar(code_page, MB_ERR_INVALID_CHARS, &in, 1, &checked, 1) == 1;
    // A page that refuses the flag is decoded as it comes, without tables
    // (DecodeCodePageExactly).
    if (!strict[byte] && GetLastError() == ERROR_INVALID_FLAGS) return nullptr;
    if (strict[byte] && checked != plain) return nullptr;
    to_unicode[byte] = static_cast<char16_t>(plain);
  }
  std::vector<std::uint16_t> from_unicode(0x10000, SingleBytePage::kNoByte);
  for (int byte = 0; byte < 256; ++byte) {
    const wchar_t unit = static_cast<wchar_t>(to_unicode[byte]);
    char out[4];
    if (WideCharToMultiByte(code_page, 0, &unit, 1, out, sizeof out, nullptr, nullptr) != 1) {
      continue;
    }
    const auto written = static_cast<unsigned char>(out[0]);
    if (to_unicode[written] == to_unicode[byte]) from_unicode[to_unicode[byte]] = written;
  }
  std::array<bool, 256> exact;
  for (int byte = 0; byte < 256; ++byte) {
    exact[byte] = strict[byte] && from_unicode[to_unicode[byte]] != SingleBytePage::kNoByte;
  }
  return std::make_unique<SingleBytePage>(to_unicode, exact, std::move(from_unicode));
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

const SingleBytePage* SingleBytePageFor(int code_page) {
  static std::mutex mutex;
  static std::map<int, std::unique_ptr<SingleBytePage>>* const pages =
      new std::map<int, std::unique_ptr<SingleBytePage>>();
  std::lock_guard<std::mutex> lock(mutex);
  const auto known = pages->find(code_page);
  if (known != pages->end()) return known->second.get();
  return ((*pages)[code_page] = MakeSingleBytePage(code_page)).get();
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
  if (const SingleBytePage* page = SingleBytePageFor(code_page)) {
    return page->EncodeExactly(text, bytes);
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
  if (const SingleBytePage* page = SingleBytePageFor(code_page)) {
    return page->DecodeExactly(bytes, text);
  }
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
  std::string encoded;
  bool held = false;
  if (EncodeReportingLoss(code_page, *text, &encoded, &held)) return held;
  return CodePageHolds(code_page, *text);
}

}  // namespace bar
