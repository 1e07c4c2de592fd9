// Where the build put what the tests use, as Windows paths.
#ifndef KELVANE_TESTS_E2E_BUILD_PATHS_H_
#define KELVANE_TESTS_E2E_BUILD_PATHS_H_

#include <string>

#include "tests/test_support.h"

namespace e2e {

// The kelvane.exe under test: the one built with the tests, or the one the
// environment variable KELVANE_E2E_EXE names (a release build, a build
// from another tree).
std::wstring KelvaneExe();
// A bar file of one of the sets of tests/test_support.h.
std::wstring BarFileIn(const testing_support::BarSet& set, const std::wstring& name);
// A file of the source tree, by its path there ("app/icons/kelvane.ico").
std::wstring SourceFile(const std::wstring& relative);

}  // namespace e2e

#endif  // KELVANE_TESTS_E2E_BUILD_PATHS_H_
