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

std::wstring KelvaneExe() {
  if (const wchar_t* chosen = _wgetenv(L"KELVANE_E2E_EXE"); chosen && *chosen) {
    return WindowsPath(chosen);
  }
  return WindowsPath(Wide(KELVANE_EXE));
}

std::wstring BarFileIn(const testing_support::BarSet& set, const std::wstring& name) {
  return WindowsPath((set.dir / name).wstring());
}

std::wstring SourceFile(const std::wstring& relative) {
  return WindowsPath(Wide(KELVANE_SOURCE_DIR) + L"/" + relative);
}

}  // namespace e2e
