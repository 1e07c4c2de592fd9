// The fixture of the end-to-end tests: a fresh program folder per test, the
// legacy code page the expectations are spelled for, and the checks the
// test files share.
#ifndef KELVANE_TESTS_E2E_KELVANE_TEST_H_
#define KELVANE_TESTS_E2E_KELVANE_TEST_H_

#include <windows.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/version.h"
#include "tests/e2e/program_folder.h"

namespace e2e {

// The caption of the program's only window, "Kelvane v.<major>.<minor>".
constexpr wchar_t kWindowCaption[] = KELVANE_WINDOW_CAPTION;

// Where the program looks for its main bar when kelvane.ini is absent.
constexpr wchar_t kDefaultMainBar[] = L"Bar\\000_Osnovnaja.bar";

// The operating system's description of `error`, as the program's messages
// quote it: without trailing blanks, line breaks and full stops. Wine's texts
// differ from Windows', so tests take them from the system they run on.
std::string SystemErrorText(DWORD error);

// A file's text after its byte-order mark, decoded by that mark, or in
// `legacy_code_page` when it has none; as UTF-8.
std::string DecodedText(const std::string& bytes, UINT legacy_code_page);
// Its byte-order mark, "" when it has none.
std::string MarkOf(const std::string& bytes);

// An environment variable of the test process, and so of every run it
// starts, set for the object's life and then unset.
class ScopedVariable {
 public:
  ScopedVariable(const wchar_t* name, const std::wstring& value) : name_(name) {
    SetEnvironmentVariableW(name, value.c_str());
  }
  ~ScopedVariable() { SetEnvironmentVariableW(name_, nullptr); }
  ScopedVariable(const ScopedVariable&) = delete;
  ScopedVariable& operator=(const ScopedVariable&) = delete;

 private:
  const wchar_t* name_;
};

class KelvaneTest : public testing::Test {
 protected:
  // The expectations are spelled for the legacy code page `code_page`.
  // Programs inherit it from the process that starts them, and under Wine
  // that comes from the Linux locale, which only the runner can set
  // (tests/e2e/CMakeLists.txt): a test run in another code page is skipped,
  // or fails when KELVANE_E2E_CODE_PAGE says the runner meant to give it this
  // one. The program folder's copy of the program is named `exe_name`.
  explicit KelvaneTest(UINT code_page = 1252, const std::wstring& exe_name = L"kelvane.exe")
      : folder_(exe_name), code_page_(code_page) {}
  void SetUp() override;

  // Runs a toggle and waits for the program to end by itself, as it must
  // after every toggle that does not fail. On failure, names the message
  // box the program shows instead, if any.
  testing::AssertionResult Toggle(const std::wstring& arguments);

  // The file's bytes are exactly `expected`; a mismatch shows both as lines.
  testing::AssertionResult FileHolds(const std::wstring& relative, const std::string& expected);

  // Expands the sub-bar Bar\<par> into the main bar and collapses it again,
  // for bars whose exact line order is not worth spelling out (real-world
  // files): checks what every such round trip must give. After the expand
  // the main bar ends in `expanded_block`, holds the lines it had before in
  // some order and has the new count; afterwards both files hold the lines
  // and counts they had before. Every file keeps its encoding.
  void ExpectRoundTrip(const std::wstring& par, const std::vector<std::string>& expanded_block);

  UINT code_page() const { return code_page_; }

  ProgramFolder folder_;

 private:
  struct BarFile {
    std::string bytes;
    std::vector<std::string> lines;  // decoded, without empty lines
  };
  BarFile ReadBar(const std::wstring& relative) const;
  void ExpectExpanded(const BarFile& main_bar, const BarFile& sub_bar,
                      const std::vector<std::string>& expanded_block);

  UINT code_page_;
};

}  // namespace e2e

#endif  // KELVANE_TESTS_E2E_KELVANE_TEST_H_
