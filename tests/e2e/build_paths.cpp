#include "tests/e2e/build_paths.h"

#include <cstdlib>

#include "tests/e2e/bar_bytes.h"

namespace e2e {

namespace {

// The build hands over paths as the host spells them; under Wine they are
// Linux paths, which drive Z: maps.
std::wstring WindowsPath(std::wstring path) {
  if (!path.empty() && path[0] == L'/') path = L"Z:" + path;
  for (wchar_t& c : path) {
    if (c == L'/') c = L'\\';
  }
  return path;
}

}  // namespace

std::wstring PathFromEnvironment(const wchar_t* variable) {
  const wchar_t* path = _wgetenv(variable);
  return path ? WindowsPath(path) : L"";
}

std::wstring KelvaneExe() {
  const std::wstring chosen = PathFromEnvironment(L"KELVANE_E2E_EXE");
  return chosen.empty() ? WindowsPath(Wide(KELVANE_EXE)) : chosen;
}

std::wstring BarFileIn(const testing_support::BarSet& set, const std::wstring& name) {
  return WindowsPath((set.dir / name).wstring());
}

std::wstring SourceFile(const std::wstring& relative) {
  return WindowsPath(Wide(KELVANE_SOURCE_DIR) + L"/" + relative);
}

}  // namespace e2e
