#include "app/settings_win.h"

#include <windows.h>

#include <filesystem>
#include <string>

#include "app/app_errors.h"
#include "gtest/gtest.h"
#include "tests/test_support.h"

namespace app {
namespace {

namespace fs = std::filesystem;
using testing_support::ReadBytes;
using testing_support::TempDir;
using testing_support::WriteBytes;

std::u16string FolderOf(const TempDir& dir) { return dir.path().u16string() + u"\\"; }

TEST(SettingsTest, MissingFileHoldsNoKeyAndStaysMissing) {
  TempDir dir;
  std::u16string path = SettingsFilePath(FolderOf(dir));
  {
    IniFile ini(path);
    StoredSettings settings = ReadStoredSettings(ini);
    EXPECT_FALSE(settings.path_bar);
    EXPECT_FALSE(settings.path_main_panel);
    EXPECT_FALSE(settings.path_vertical_panel);
  }
  EXPECT_FALSE(fs::exists(dir.path() / "kelvane.ini"));
}

TEST(SettingsTest, ReadsStoredValuesAndTellsAMissingKeyFromAnEmptyOne) {
  TempDir dir;
  WriteBytes(dir.path() / "kelvane.ini", "[Main]\r\npathBar=Bars\\Mine\r\npathVerticalPanel=\r\n");
  IniFile ini(SettingsFilePath(FolderOf(dir)));
  StoredSettings settings = ReadStoredSettings(ini);
  EXPECT_EQ(settings.path_bar, u"Bars\\Mine");
  EXPECT_FALSE(settings.path_main_panel);
  EXPECT_EQ(settings.path_vertical_panel, u"");
}

TEST(SettingsTest, LongValueIsCutTo2047Characters) {
  TempDir dir;
  std::string value(3000, 'x');
  WriteBytes(dir.path() / "kelvane.ini", "[Main]\r\npathBar=" + value + "\r\n");
  IniFile ini(SettingsFilePath(FolderOf(dir)));
  EXPECT_EQ(ReadStoredSettings(ini).path_bar, std::u16string(2047, u'x'));
}

TEST(SettingsTest, WritesBothKeysIntoANewUtf16File) {
  TempDir dir;
  std::u16string path = SettingsFilePath(FolderOf(dir));
  {
    IniFile ini(path);
    WritePathSettings(ini, PathSettings{u"Панели", u"", u""});
  }
  std::string bytes = ReadBytes(dir.path() / "kelvane.ini");
  ASSERT_GE(bytes.size(), 2u);
  EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");

  IniFile ini(path);
  StoredSettings settings = ReadStoredSettings(ini);
  EXPECT_EQ(settings.path_bar, u"Панели");
  EXPECT_EQ(settings.path_main_panel, u"");  // an empty value is written, not the default
}

TEST(SettingsTest, RewritesAnExistingFileInItsOwnEncoding) {
  TempDir dir;
  WriteBytes(dir.path() / "kelvane.ini", "[Main]\r\npathBar=Old\r\n");
  {
    IniFile ini(SettingsFilePath(FolderOf(dir)));
    WritePathSettings(ini, PathSettings{u"New", u"New\\main.bar", u"New\\vertical.bar"});
  }
  std::string bytes = ReadBytes(dir.path() / "kelvane.ini");
  EXPECT_NE(bytes.find("pathBar=New"), std::string::npos) << bytes;
  EXPECT_NE(bytes.find("pathMainPanel=New\\main.bar"), std::string::npos) << bytes;
  EXPECT_NE(bytes.find("pathVerticalPanel=New\\vertical.bar"), std::string::npos) << bytes;
  EXPECT_EQ(bytes.find("Old"), std::string::npos) << bytes;
}

// The platform refuses the write; a folder in the file's place makes it
// refuse for any user (a read-only file does not stop an administrator).
TEST(SettingsTest, RefusedWriteFailsWithTheFilesFullPath) {
  TempDir dir;
  fs::create_directory(dir.path() / "kelvane.ini");
  std::u16string path = SettingsFilePath(FolderOf(dir));
  try {
    IniFile ini(path);
    WritePathSettings(ini, PathSettings{u"New", u"New\\main.bar", u""});
    ADD_FAILURE() << "the write succeeded";
  } catch (const EIniFileException& e) {
    EXPECT_EQ(e.message(), u"Unable to write to " + path);
  }
  EXPECT_TRUE(fs::is_directory(dir.path() / "kelvane.ini"));
}

TEST(SettingsTest, FailedWriteLeavesNoFileBehind) {
  TempDir dir;
  std::u16string folder = FolderOf(dir) + u"missing\\";
  std::u16string path = SettingsFilePath(folder);
  IniFile ini(path);
  EXPECT_THROW(ini.WriteString(u"Main", u"pathBar", u"x"), EIniFileException);
  EXPECT_FALSE(fs::exists(dir.path() / "missing"));
}

}  // namespace
}  // namespace app
