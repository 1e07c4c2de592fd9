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

// The two header lines, or what there is of them.
Lines Header(const Lines& lines) {
  return Lines(lines.begin(),
               lines.begin() + static_cast<std::ptrdiff_t>(std::min<size_t>(2, lines.size())));
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
  FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
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

KelvaneTest::BarFile KelvaneTest::ReadBar(const std::wstring& relative) const {
  BarFile bar;
  bar.bytes = folder_.Read(relative).value_or("");
  for (std::string& line : SplitLines(DecodedText(bar.bytes, code_page_))) {
    if (!line.empty()) bar.lines.push_back(std::move(line));
  }
  return bar;
}

void KelvaneTest::ExpectRoundTrip(const std::wstring& par, const Lines& expanded_block) {
  const std::wstring sub_bar_path = L"Bar\\" + par;
  const BarFile main_bar = ReadBar(kDefaultMainBar);
  const BarFile sub_bar = ReadBar(sub_bar_path);
  ASSERT_GE(main_bar.lines.size(), 2u);
  ASSERT_GE(sub_bar.lines.size(), 2u);

  ASSERT_TRUE(Toggle(par));
  ExpectExpanded(main_bar, sub_bar, expanded_block);
  EXPECT_TRUE(FileHolds(sub_bar_path, sub_bar.bytes)) << "the expand only reads the sub-bar";

  ASSERT_TRUE(Toggle(par));
  const BarFile main_after = ReadBar(kDefaultMainBar);
  EXPECT_EQ(MarkOf(main_after.bytes), MarkOf(main_bar.bytes));
  EXPECT_EQ(Header(main_after.lines), Header(main_bar.lines));
  EXPECT_EQ(Sorted(main_after.lines), Sorted(main_bar.lines));
  const BarFile sub_after = ReadBar(sub_bar_path);
  EXPECT_EQ(MarkOf(sub_after.bytes), MarkOf(sub_bar.bytes));
  EXPECT_EQ(Header(sub_after.lines), Header(sub_bar.lines));
  EXPECT_EQ(Sorted(sub_after.lines), Sorted(sub_bar.lines));
}

void KelvaneTest::ExpectExpanded(const BarFile& main_bar, const BarFile& sub_bar,
                                 const Lines& expanded_block) {
  const std::string bytes = folder_.Read(kDefaultMainBar).value_or("");
  EXPECT_EQ(MarkOf(bytes), MarkOf(main_bar.bytes));
  const std::string text = DecodedText(bytes, code_page_);
  EXPECT_EQ(text, CrLfLines(SplitLines(text))) << "every line ends in CR LF";
  // Empty lines keep their places; the header and the entries are read
  // without them, as main_bar's lines are.
  Lines lines;
  for (std::string& line : SplitLines(text)) {
    if (!line.empty()) lines.push_back(std::move(line));
  }
  ASSERT_GE(lines.size(), 2 + expanded_block.size());
  const int count = CountOf(main_bar.lines) + CountOf(sub_bar.lines) + 1;
  EXPECT_EQ(Header(lines), Lines({"[Buttonbar]", "Buttoncount=" + std::to_string(count)}));
  const auto block = lines.end() - static_cast<std::ptrdiff_t>(expanded_block.size());
  EXPECT_EQ(Lines(block, lines.end()), expanded_block);
  EXPECT_EQ(Sorted(Lines(lines.begin() + 2, block)),
            Sorted(Lines(main_bar.lines.begin() + 2, main_bar.lines.end())));
}

}  // namespace e2e
