#include "tests/e2e/kelvane_test.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "tests/e2e/bar_bytes.h"
#include "tests/e2e/kelvane_process.h"
#include "tests/e2e/message_box.h"

namespace e2e {

namespace {

std::string Escaped(const std::string& bytes) {
  std::string shown;
  for (unsigned char c : bytes) {
    if (c == '\r') {
      shown += "\\r";
    } else if (c == '\n') {
      shown += "\\n\n    ";
    } else if (c < 32) {
      char hex[8];
      snprintf(hex, sizeof hex, "\\x%02X", c);
      shown += hex;
    } else {
      shown.push_back(static_cast<char>(c));
    }
  }
  return shown;
}

using Lines = std::vector<std::string>;

Lines NonEmptyLines(const std::string& bytes, UINT code_page) {
  Lines lines;
  for (std::string& line : SplitLines(DecodedText(bytes, code_page))) {
    if (!line.empty()) lines.push_back(std::move(line));
  }
  return lines;
}

Lines Sorted(Lines lines) {
  std::sort(lines.begin(), lines.end());
  return lines;
}

// The value of a count line; the bars given to a round trip are valid.
int CountOf(const Lines& lines) {
  return lines.size() < 2 ? -1 : std::atoi(lines[1].substr(lines[1].find('=') + 1).c_str());
}

size_t FirstDifference(const std::string& a, const std::string& b) {
  size_t i = 0;
  while (i < a.size() && i < b.size() && a[i] == b[i]) ++i;
  return i;
}

}  // namespace

std::string SystemErrorText(DWORD error) {
  wchar_t* text = nullptr;
  FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                     FORMAT_MESSAGE_IGNORE_INSERTS,
                 nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring description = text ? text : L"";
  LocalFree(text);
  while (!description.empty() && (description.back() <= L' ' || description.back() == L'.')) {
    description.pop_back();
  }
  return Utf8(description);
}

std::string MarkOf(const std::string& bytes) {
  for (const char* mark : {"\xEF\xBB\xBF", "\xFF\xFE", "\xFE\xFF"}) {
    if (bytes.rfind(mark, 0) == 0) return mark;
  }
  return "";
}

std::string DecodedText(const std::string& bytes, UINT legacy_code_page) {
  std::wstring text;
  const std::string mark = MarkOf(bytes);
  if (mark == "\xEF\xBB\xBF") {
    text = Wide(bytes.substr(3));
  } else if (mark == "\xFF\xFE") {
    for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
      text.push_back(static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]) |
                                          static_cast<unsigned char>(bytes[i + 1]) << 8));
    }
  } else if (!bytes.empty()) {
    const int size = static_cast<int>(bytes.size());
    text.resize(static_cast<size_t>(
        MultiByteToWideChar(legacy_code_page, 0, bytes.data(), size, nullptr, 0)));
    MultiByteToWideChar(legacy_code_page, 0, bytes.data(), size, text.data(),
                        static_cast<int>(text.size()));
  }
  return Utf8(text);
}

void KelvaneTest::SetUp() {
  if (GetACP() == code_page_) return;
  const char* pinned = std::getenv("KELVANE_E2E_CODE_PAGE");
  if (pinned && std::strtoul(pinned, nullptr, 10) == code_page_) {
    FAIL() << "the runner set the locale for code page " << code_page_
           << ", but this process has code page " << GetACP()
           << " (is the locale built? see tests/e2e/CMakeLists.txt)";
  }
  GTEST_SKIP() << "written for the legacy code page " << code_page_ << "; this process has "
               << GetACP() << " (run it through ctest)";
}

testing::AssertionResult KelvaneTest::Toggle(const std::wstring& arguments) {
  KelvaneProcess run(folder_.exe(), arguments);
  if (run.WaitForExit()) return testing::AssertionSuccess();
  auto failure = testing::AssertionFailure()
                 << "kelvane " << Utf8(arguments) << " has not ended after "
                 << kExitTimeoutMs / 1000 << " s";
  if (auto box = FindMessageBox(run.id())) failure << "; it shows " << Describe(*box);
  return failure;
}

testing::AssertionResult KelvaneTest::FileHolds(const std::wstring& relative,
                                                const std::string& expected) {
  const auto actual = folder_.Read(relative);
  if (!actual) return testing::AssertionFailure() << Utf8(relative) << " cannot be read";
  if (*actual == expected) return testing::AssertionSuccess();
  return testing::AssertionFailure()
         << Utf8(relative) << " differs from byte " << FirstDifference(*actual, expected)
         << " on.\n  expected (" << expected.size() << " bytes):\n    " << Escaped(expected)
         << "\n  actual (" << actual->size() << " bytes):\n    " << Escaped(*actual);
}

void KelvaneTest::ExpectRoundTrip(const std::wstring& par, const Lines& expanded_block) {
  const std::wstring sub_bar = L"Bar\\" + par;
  const std::string main_before = folder_.Read(kDefaultMainBar).value_or("");
  const std::string sub_before = folder_.Read(sub_bar).value_or("");
  const Lines own = NonEmptyLines(main_before, code_page_);
  const Lines sub = NonEmptyLines(sub_before, code_page_);
  ASSERT_GE(own.size(), 2u);
  ASSERT_GE(sub.size(), 2u);

  ASSERT_TRUE(Toggle(par));
  const std::string expanded = folder_.Read(kDefaultMainBar).value_or("");
  EXPECT_EQ(MarkOf(expanded), MarkOf(main_before));
  const std::string expanded_text = DecodedText(expanded, code_page_);
  EXPECT_EQ(expanded_text, CrLfLines(SplitLines(expanded_text))) << "every line ends in CR LF";
  const Lines lines = SplitLines(expanded_text);
  ASSERT_GE(lines.size(), 2 + expanded_block.size());
  EXPECT_EQ(lines[0], "[Buttonbar]");
  EXPECT_EQ(lines[1], "Buttoncount=" + std::to_string(CountOf(own) + CountOf(sub) + 1));
  const auto block_start = lines.end() - static_cast<std::ptrdiff_t>(expanded_block.size());
  EXPECT_EQ(Lines(block_start, lines.end()), expanded_block);
  EXPECT_EQ(Sorted(Lines(lines.begin() + 2, block_start)), Sorted(Lines(own.begin() + 2, own.end())));
  EXPECT_TRUE(FileHolds(sub_bar, sub_before)) << "the expand only reads the sub-bar";

  ASSERT_TRUE(Toggle(par));
  const std::string collapsed = folder_.Read(kDefaultMainBar).value_or("");
  EXPECT_EQ(MarkOf(collapsed), MarkOf(main_before));
  const Lines own_after = NonEmptyLines(collapsed, code_page_);
  ASSERT_GE(own_after.size(), 2u);
  EXPECT_EQ(Lines(own_after.begin(), own_after.begin() + 2), Lines(own.begin(), own.begin() + 2));
  EXPECT_EQ(Sorted(own_after), Sorted(own));

  const std::string sub_after = folder_.Read(sub_bar).value_or("");
  EXPECT_EQ(MarkOf(sub_after), "") << "the legacy code page has no byte-order mark";
  const Lines sub_lines_after = NonEmptyLines(sub_after, code_page_);
  ASSERT_GE(sub_lines_after.size(), 2u);
  EXPECT_EQ(Lines(sub_lines_after.begin(), sub_lines_after.begin() + 2),
            Lines(sub.begin(), sub.begin() + 2));
  EXPECT_EQ(Sorted(sub_lines_after), Sorted(sub));
}

}  // namespace e2e
