// The legacy code page through iconv, shaped to give what the Windows
// conversions give: decoding and encoding never fail, and every byte string
// of a single-byte code page survives a decode and an encode unchanged.

#include "bar/code_page.h"

#include <iconv.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "bar/code_page_platform.h"
#include "bar/unicode.h"

namespace bar {
namespace {

constexpr char16_t kReplacement = u'\uFFFD';
// As on Windows, one "?" per code unit the page lacks: a character beyond
// the BMP comes out as "??".
constexpr char kUnmappable = '?';

int legacy_code_page = 1252;

// Windows numbers its code pages; iconv names them. Most Windows pages are
// known to glibc as "CP<number>".
std::string IconvName(int code_page) {
  if (code_page == 20866) return "KOI8-R";
  if (code_page == 21866) return "KOI8-U";
  if (code_page == 20127) return "ASCII";
  if (code_page >= 28591 && code_page <= 28599) {
    return "ISO-8859-" + std::to_string(code_page - 28590);
  }
  if (code_page == 28603) return "ISO-8859-13";
  if (code_page == 28605) return "ISO-8859-15";
  return "CP" + std::to_string(code_page);
}

class Converter {
 public:
  virtual ~Converter() = default;
  virtual std::u16string Decode(std::string_view bytes) = 0;
  virtual std::string Encode(std::u16string_view text) = 0;
  // DecodePageExactly and EncodePageExactly for this page.
  virtual std::optional<std::u16string> DecodeExactly(std::string_view bytes) = 0;
  virtual std::optional<std::string> EncodeExactly(std::u16string_view text) = 0;
};

// iconv refuses the bytes a single-byte page leaves undefined; Windows gives
// each a character of its own (U+0081 for the byte 81 in 1252) and takes it
// back. Doing the same with the character of the byte's number keeps a file
// that holds such bytes intact through a load and a save: every byte is a
// character here, and each character comes back from the first byte that
// stands for it.
class SingleByteConverter : public Converter {
 public:
  explicit SingleByteConverter(const std::array<char16_t, 256>& to_unicode)
      : to_unicode_(to_unicode), from_unicode_(0x10000, kNoByte) {
    for (int byte = 255; byte >= 0; --byte) {
      from_unicode_[to_unicode[byte]] = static_cast<std::uint16_t>(byte);
    }
  }

  std::u16string Decode(std::string_view bytes) override {
    std::u16string text(bytes.size(), u'\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) {
      text[i] = to_unicode_[static_cast<unsigned char>(bytes[i])];
    }
    return text;
  }
  std::string Encode(std::u16string_view text) override {
    std::string bytes(text.size(), kUnmappable);
    for (std::size_t i = 0; i < text.size(); ++i) {
      const std::uint16_t byte = from_unicode_[text[i]];
      if (byte != kNoByte) bytes[i] = static_cast<char>(byte);
    }
    return bytes;
  }
  std::optional<std::u16string> DecodeExactly(std::string_view bytes) override {
    return Decode(bytes);
  }
  std::optional<std::string> EncodeExactly(std::u16string_view text) override {
    std::string bytes(text.size(), '\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
      const std::uint16_t byte = from_unicode_[text[i]];
      if (byte == kNoByte) return std::nullopt;
      bytes[i] = static_cast<char>(byte);
    }
    return bytes;
  }

 private:
  static constexpr std::uint16_t kNoByte = 0x100;

  std::array<char16_t, 256> to_unicode_;
  std::vector<std::uint16_t> from_unicode_;  // each code unit's byte, or kNoByte
};

// Owns an iconv descriptor.
class IconvHandle {
 public:
  IconvHandle(const std::string& to, const std::string& from)
      : handle_(iconv_open(to.c_str(), from.c_str())) {}
  ~IconvHandle() {
    if (ok()) iconv_close(handle_);
  }
  IconvHandle(const IconvHandle&) = delete;
  IconvHandle& operator=(const IconvHandle&) = delete;

  bool ok() const { return handle_ != reinterpret_cast<iconv_t>(-1); }
  void Reset() { iconv(handle_, nullptr, nullptr, nullptr, nullptr); }

  // Writes what returns the converter to its initial shift state.
  void Flush(char* out, std::size_t* out_left) {
    char* out_pointer = out;
    iconv(handle_, nullptr, nullptr, &out_pointer, out_left);
  }

  // Converts as much of *in as it can into the buffer; returns false with
  // errno set when it stopped early.
  bool Convert(std::string_view* in, char* out, std::size_t* out_left) {
    char* in_pointer = const_cast<char*>(in->data());
    std::size_t in_left = in->size();
    char* out_pointer = out;
    std::size_t result = iconv(handle_, &in_pointer, &in_left, &out_pointer, out_left);
    *in = std::string_view(in_pointer, in_left);
    return result != static_cast<std::size_t>(-1);
  }

  // Converts all of `in` from the initial state, handing each converted
  // piece to append(data, size). Where the input cannot be converted,
  // skip(&in) drops its front and stands in for it, and the converter
  // starts afresh.
  template <typename Append, typename Skip>
  void ConvertAll(std::string_view in, Append append, Skip skip) {
    Reset();
    char buffer[8192];
    while (!in.empty()) {
      std::size_t out_left = sizeof buffer;
      const bool done = Convert(&in, buffer, &out_left);
      append(buffer, sizeof buffer - out_left);
      if (done || errno == E2BIG) continue;
      skip(&in);
      Reset();
    }
  }

 private:
  iconv_t handle_;
};

void AppendUtf16Le(std::u16string* text, const char* bytes, std::size_t size) {
  for (std::size_t i = 0; i + 1 < size; i += 2) {
    text->push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                          static_cast<unsigned char>(bytes[i + 1]) << 8));
  }
}

std::string Utf16LeBytes(std::u16string_view text) {
  std::string bytes;
  bytes.reserve(text.size() * 2);
  for (char16_t unit : text) {
    bytes.push_back(static_cast<char>(unit & 0xFF));
    bytes.push_back(static_cast<char>(unit >> 8));
  }
  return bytes;
}

// Double-byte pages (932, 936, 949, 950) and anything else iconv knows.
class IconvConverter : public Converter {
 public:
  explicit IconvConverter(const std::string& name)
      : decoder_("UTF-16LE", name), encoder_(name, "UTF-16LE") {}
  bool ok() const { return decoder_.ok() && encoder_.ok(); }

  std::u16string Decode(std::string_view bytes) override { return DecodeMarking(bytes, nullptr); }

  // Bytes that encode back to themselves decode to the same text again, so
  // only other byte forms of a character need the decode that compares.
  std::optional<std::u16string> DecodeExactly(std::string_view bytes) override {
    bool replaced = false;
    std::u16string text = DecodeMarking(bytes, &replaced);
    if (replaced) return std::nullopt;
    const std::string encoded = Encode(text);
    if (encoded != bytes && Decode(encoded) != text) return std::nullopt;
    return text;
  }

  std::optional<std::string> EncodeExactly(std::u16string_view text) override {
    std::string bytes = Encode(text);
    if (Decode(bytes) != text) return std::nullopt;
    return bytes;
  }

  // A byte that starts no valid sequence becomes U+FFFD and decoding goes
  // on with the next byte, so a broken lead byte cannot swallow a line end.
  // *replaced, when given, tells whether that happened.
  std::u16string DecodeMarking(std::string_view bytes, bool* replaced) {
    std::u16string text;
    text.reserve(bytes.size());
    decoder_.ConvertAll(
        bytes, [&](const char* data, std::size_t size) { AppendUtf16Le(&text, data, size); },
        [&](std::string_view* in) {
          if (replaced) *replaced = true;
          text.push_back(kReplacement);
          in->remove_prefix(1);
        });
    return text;
  }

  std::string Encode(std::u16string_view text) override {
    const std::string units = Utf16LeBytes(text);
    std::string bytes;
    bytes.reserve(text.size());
    encoder_.ConvertAll(
        units, [&](const char* data, std::size_t size) { bytes.append(data, size); },
        [&](std::string_view* in) {
          bytes.push_back(kUnmappable);
          in->remove_prefix(std::min<std::size_t>(in->size(), 2));
        });
    // Stateful encodings (the ISO-2022 family) end in their initial state.
    char buffer[8192];
    std::size_t out_left = sizeof buffer;
    encoder_.Flush(buffer, &out_left);
    bytes.append(buffer, sizeof buffer - out_left);
    return bytes;
  }

 private:
  IconvHandle decoder_;
  IconvHandle encoder_;
};

// A page that iconv cannot name is read as ISO-8859-1: wrong letters,
// perhaps, but no byte lost.
std::unique_ptr<Converter> Latin1Converter() {
  std::array<char16_t, 256> identity;
  for (int byte = 0; byte < 256; ++byte) identity[byte] = static_cast<char16_t>(byte);
  return std::make_unique<SingleByteConverter>(identity);
}

// Decodes each byte on its own. A page is single-byte when no byte is the
// start of a longer sequence; a byte the page leaves undefined stands for
// the character of its own number.
bool BuildSingleByteTable(const std::string& name, std::array<char16_t, 256>* table) {
  IconvHandle decoder("UTF-16LE", name);
  if (!decoder.ok()) return false;
  for (int byte = 0; byte < 256; ++byte) {
    char in = static_cast<char>(byte);
    std::string_view input(&in, 1);
    char out[8];
    std::size_t out_left = sizeof out;
    decoder.Reset();
    bool done = decoder.Convert(&input, out, &out_left);
    if (!done && errno == EINVAL) return false;  // a lead byte: multi-byte page
    bool one_unit = done && sizeof out - out_left == 2;
    (*table)[byte] = one_unit ? static_cast<char16_t>(static_cast<unsigned char>(out[0]) |
                                                      static_cast<unsigned char>(out[1]) << 8)
                              : static_cast<char16_t>(byte);
  }
  return true;
}

std::unique_ptr<Converter> MakeConverter(int code_page) {
  std::string name = IconvName(code_page);
  std::array<char16_t, 256> table;
  if (BuildSingleByteTable(name, &table)) return std::make_unique<SingleByteConverter>(table);
  auto converter = std::make_unique<IconvConverter>(name);
  if (converter->ok()) return converter;
  return Latin1Converter();
}

// One converter per code page for the life of the process. iconv
// descriptors carry state, so the lock is held through each conversion.
std::mutex converters_mutex;

Converter& ConverterFor(int code_page) {
  static std::map<int, std::unique_ptr<Converter>> converters;
  std::unique_ptr<Converter>& converter = converters[code_page];
  if (!converter) converter = MakeConverter(code_page);
  return *converter;
}

}  // namespace

int LegacyCodePage() { return legacy_code_page; }

void SetLegacyCodePage(int code_page) { legacy_code_page = code_page; }

std::u16string DecodeCodePage(int code_page, std::string_view bytes) {
  if (code_page == kCodePageUtf8) return FromUtf8(bytes);
  std::lock_guard<std::mutex> lock(converters_mutex);
  return ConverterFor(code_page).Decode(bytes);
}

std::string EncodeCodePage(int code_page, std::u16string_view text) {
  if (code_page == kCodePageUtf8) return EncodeUtf8(text);
  std::lock_guard<std::mutex> lock(converters_mutex);
  return ConverterFor(code_page).Encode(text);
}

std::optional<std::string> EncodePageExactly(int code_page, std::u16string_view text) {
  std::lock_guard<std::mutex> lock(converters_mutex);
  return ConverterFor(code_page).EncodeExactly(text);
}

std::optional<std::u16string> DecodePageExactly(int code_page, std::string_view bytes) {
  std::lock_guard<std::mutex> lock(converters_mutex);
  return ConverterFor(code_page).DecodeExactly(bytes);
}

}  // namespace bar
