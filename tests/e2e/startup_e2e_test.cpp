// The program as it is started: the version and the icons its file carries,
// and the settings window after a toggle that did not go through, which
// comes up only then, minimized, and still holds the paths the toggle used,
// so the user can restore it, correct them and save them with OK.
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

#include "app/version.h"
#include "tests/e2e/bar_bytes.h"
#include "tests/e2e/build_paths.h"
#include "tests/e2e/kelvane_process.h"
#include "tests/e2e/kelvane_test.h"
#include "tests/e2e/message_box.h"
#include "tests/e2e/window_probe.h"

namespace e2e {
namespace {

// The version information and the manifest follow project() in
// CMakeLists.txt, as the caption does (kWindowCaption, from the same header).
TEST(ExecutableTest, CarriesTheProjectVersion) {
  const std::wstring exe = KelvaneExe();
  DWORD ignored = 0;
  std::vector<char> info(GetFileVersionInfoSizeW(exe.c_str(), &ignored));
  ASSERT_FALSE(info.empty()) << "no version information";
  ASSERT_TRUE(GetFileVersionInfoW(exe.c_str(), 0, static_cast<DWORD>(info.size()), info.data()));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT size = 0;
  ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &size));
  EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(KELVANE_VERSION_MINOR, KELVANE_VERSION_MAJOR));
  EXPECT_EQ(fixed->dwFileVersionLS, MAKELONG(0, KELVANE_VERSION_PATCH));
  for (const auto& [name, expected] : {std::pair{L"FileVersion", KELVANE_FILE_VERSION_TEXT},
                                       std::pair{L"ProductVersion", KELVANE_VERSION_TEXT}}) {
    wchar_t* text = nullptr;
    const std::wstring key = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
    ASSERT_TRUE(VerQueryValueW(info.data(), key.c_str(), reinterpret_cast<void**>(&text), &size));
    EXPECT_EQ(Utf8(text), expected) << Utf8(name);
  }
  HMODULE module = LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(1), RT_MANIFEST);
  ASSERT_TRUE(found) << "no manifest";
  const std::string manifest(static_cast<const char*>(LockResource(LoadResource(module, found))),
                             SizeofResource(module, found));
  FreeLibrary(module);
  EXPECT_NE(manifest.find("name=\"Kelvane\" version=\"" KELVANE_FILE_VERSION_TEXT "\""),
            std::string::npos)
      << manifest;
}

#pragma pack(push, 2)
// An entry of an icon group resource (GRPICONDIR): one image of the icon.
struct IconGroupEntry {
  BYTE width, height, colour_count, reserved;
  WORD planes, bit_count;
  DWORD bytes;
  WORD id;  // its RT_ICON resource
};
#pragma pack(pop)

// The file manager's button dialog offers a file's icons by index, in the
// order of their resource IDs: kelvane.exe,0 the program's, ,1 unfold, ,2
// fold. Each has every size a button bar or Explorer asks for, in 32 bits,
// with the images of its file in app/icons/.
TEST(ExecutableTest, CarriesItsIconsInIndexOrder) {
  HMODULE module = LoadLibraryExW(KelvaneExe().c_str(), nullptr,
                                  LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_TRUE(module);
  std::vector<ULONG_PTR> ids;
  EnumResourceNamesW(
      module, RT_GROUP_ICON,
      [](HMODULE, LPCWSTR, LPWSTR name, LONG_PTR found) {
        reinterpret_cast<std::vector<ULONG_PTR>*>(found)->push_back(
            reinterpret_cast<ULONG_PTR>(name));
        return TRUE;
      },
      reinterpret_cast<LONG_PTR>(&ids));
  EXPECT_EQ(ids, (std::vector<ULONG_PTR>{1, 2, 3}));
  auto resource = [&](const wchar_t* type, WORD id) {
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), type);
    if (!found) return std::string();
    return std::string(static_cast<const char*>(LockResource(LoadResource(module, found))),
                       SizeofResource(module, found));
  };
  const wchar_t* const kFiles[] = {L"kelvane.ico", L"unfold.ico", L"fold.ico"};
  for (size_t index = 0; index < std::size(kFiles); ++index) {
    SCOPED_TRACE(Utf8(kFiles[index]));
    const std::string file =
        testing_support::ReadBytes(SourceFile(std::wstring(L"app/icons/") + kFiles[index]));
    const std::string group = resource(RT_GROUP_ICON, static_cast<WORD>(index + 1));
    const auto* entries = reinterpret_cast<const IconGroupEntry*>(group.data() + 6);
    std::vector<int> sizes;
    for (size_t i = 0; group.size() >= 6 + (i + 1) * sizeof *entries; ++i) {
      sizes.push_back(entries[i].width == 0 ? 256 : entries[i].width);
      EXPECT_EQ(entries[i].bit_count, 32) << sizes.back() << " pixels";
      const std::string image = resource(RT_ICON, entries[i].id);
      EXPECT_TRUE(!image.empty() && file.find(image) != std::string::npos)
          << sizes.back() << " pixels: not the file's image";
    }
    EXPECT_EQ(sizes, (std::vector<int>{16, 20, 24, 32, 40, 48, 64, 256}));
  }
  FreeLibrary(module);
}

struct StartCase {
  const char* name;
  bool main_bar_exists;  // empty when it does; without it the toggle fails
};

// Names the case in failure messages.
void PrintTo(const StartCase& test_case, std::ostream* os) { *os << test_case.name; }

class WindowAfterToggleTest : public KelvaneTest, public testing::WithParamInterface<StartCase> {};

// The window's edit fields, Edit3 and Edit4, in creation order.
std::vector<HWND> EditFields(HWND window) {
  std::vector<HWND> fields;
  for (HWND child : Children(window)) {
    if (ClassName(child) == L"Edit") fields.push_back(child);
  }
  return fields;
}

HWND OkButton(HWND window) {
  for (HWND child : Children(window)) {
    if (ClassName(child) == L"Button" && WindowText(child) == L"OK") return child;
  }
  return nullptr;
}

TEST_P(WindowAfterToggleTest, HoldsTheStoredPathsAndSavesCorrections) {
  folder_.WriteSettings(L"My Bars", L"My Bars\\main.bar");
  if (GetParam().main_bar_exists) folder_.Write(L"My Bars\\main.bar", "");

  KelvaneProcess run(folder_.exe(), L"tools.bar");
  if (!GetParam().main_bar_exists) {
    const auto box = WaitForMessageBox(run.id(), kStartTimeoutMs);
    ASSERT_TRUE(box) << "no error report";
    ASSERT_TRUE(DismissWithOk(*box, kExitTimeoutMs));
  }
  HWND window =
      PollFor([&] { return FindTopLevel(run.id(), L"", kWindowCaption); }, kStartTimeoutMs);
  ASSERT_TRUE(window) << "no window \"" << Utf8(kWindowCaption) << "\"";
  EXPECT_TRUE(IsIconic(window));
  std::vector<HWND> fields = EditFields(window);
  ASSERT_EQ(fields.size(), 3u);
  EXPECT_EQ(Utf8(WindowText(fields[0])), "My Bars");
  EXPECT_EQ(Utf8(WindowText(fields[1])), "My Bars\\main.bar");
  EXPECT_EQ(Utf8(WindowText(fields[2])), "");

  // As the task bar restores it.
  PostMessageW(window, WM_SYSCOMMAND, SC_RESTORE, 0);
  EXPECT_TRUE(PollFor([&] { return !IsIconic(window) && !IsZoomed(window); }, kStartTimeoutMs))
      << "restoring did not give the window at its normal size";
  SetText(fields[1], L"Bars\\000_Osnovnaja.bar");
  Click(OkButton(window));
  ASSERT_TRUE(run.WaitForExit()) << "OK did not end the program";

  std::vector<std::string> lines;
  const std::string ini = folder_.Read(L"kelvane.ini").value_or("");
  for (const std::string& line : SplitLines(DecodedText(ini, code_page()))) {
    if (!line.empty()) lines.push_back(line);
  }
  EXPECT_EQ(lines, (std::vector<std::string>{"[Main]", "pathBar=My Bars",
                                             "pathMainPanel=Bars\\000_Osnovnaja.bar",
                                             "pathVerticalPanel="}));
}

INSTANTIATE_TEST_SUITE_P(Runs, WindowAfterToggleTest,
                         testing::Values(StartCase{"FailedToggle", false},
                                         StartCase{"EmptyMainBar", true}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace e2e
