#include "tests/e2e/bar_bytes.h"

#include <stdexcept>

namespace e2e {

std::wstring Wide(const std::string& utf8) {
  if (utf8.empty()) return {};
  const int size = static_cast<int>(utf8.size());
  const int length =
      MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, nullptr, 0);
  if (length == 0) throw std::invalid_argument("test text is not UTF-8: " + utf8);
  std::wstring text(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, text.data(), length);
  return text;
}

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int length =
      WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), size, bytes.data(), length, nullptr, nullptr);
  return bytes;
}

std::string CrLfLines(const std::vector<std::string>& utf8_lines) {
  std::string text;
  for (const std::string& line : utf8_lines) text += line + "\r\n";
  return text;
}

std::string InCodePage(const std::string& utf8, UINT code_page) {
  const std::wstring text = Wide(utf8);
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  BOOL lossy = FALSE;
  const int length =
      WideCharToMultiByte(code_page, 0, text.data(), size, nullptr, 0, nullptr, &lossy);
  if (length == 0 || lossy) {
    throw std::invalid_argument("test text does not fit code page " + std::to_string(code_page));
  }
  std::string bytes(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(code_page, 0, text.data(), size, bytes.data(), length, nullptr, nullptr);
  return bytes;
}

std::string Utf16LeWithBom(const std::string& utf8) {
  std::string bytes = "\xFF\xFE";
  for (wchar_t unit : Wide(utf8)) {
    bytes.push_back(static_cast<char>(unit & 0xFF));
    bytes.push_back(static_cast<char>((unit >> 8) & 0xFF));
  }
  return bytes;
}

std::string Utf8WithBom(const std::string& utf8) { return "\xEF\xBB\xBF" + utf8; }

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::string line;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c != '\r' && c != '\n') {
      line.push_back(c);
      continue;
    }
    if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    lines.push_back(line);
    line.clear();
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

}  // namespace e2e
