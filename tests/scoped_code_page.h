// Runs a test under another legacy code page and restores the previous one
// afterwards, since the code page is a process-wide setting.
#ifndef KELVANE_TESTS_SCOPED_CODE_PAGE_H_
#define KELVANE_TESTS_SCOPED_CODE_PAGE_H_

#include "bar/code_page.h"

namespace testing_support {

class ScopedCodePage {
 public:
  explicit ScopedCodePage(int code_page) : previous_(bar::LegacyCodePage()) {
    bar::SetLegacyCodePage(code_page);
  }
  ~ScopedCodePage() { bar::SetLegacyCodePage(previous_); }
  ScopedCodePage(const ScopedCodePage&) = delete;
  ScopedCodePage& operator=(const ScopedCodePage&) = delete;

 private:
  int previous_;
};

}  // namespace testing_support

#endif  // KELVANE_TESTS_SCOPED_CODE_PAGE_H_
