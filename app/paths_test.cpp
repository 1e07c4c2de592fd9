#include "app/paths.h"

#include <string>

#include "bar/file_name.h"
#include "bar/toggle_context.h"
#include "bar/unicode.h"
#include "gtest/gtest.h"

namespace app {
namespace {

struct PathCase {
  const char16_t* path;
  const char16_t* expected;
};

template <typename Routine>
void ExpectEach(Routine routine, std::initializer_list<PathCase> cases) {
  for (const PathCase& c : cases) {
    SCOPED_TRACE(bar::ToUtf8(c.path));
    EXPECT_EQ(routine(c.path), c.expected);
  }
}

TEST(PathsTest, ExtractFileName) {
  ExpectEach(ExtractFileName, {
                                  {u"C:\\Tools\\K\\kelvane.exe", u"kelvane.exe"},
                                  {u"C:\\Tools\\K\\Bar", u"Bar"},
                                  {u"D:\\", u""},
                                  {u"C:main.bar", u"main.bar"},
                                  {u"main.bar", u"main.bar"},
                                  {u"a/b/c.bar", u"a/b/c.bar"},  // "/" is no delimiter
                                  {u"", u""},
                              });
}

TEST(PathsTest, ExtractFilePath) {
  ExpectEach(ExtractFilePath, {
                                  {u"C:\\Tools\\K\\kelvane.exe", u"C:\\Tools\\K\\"},
                                  {u"C:kelvane.exe", u"C:"},
                                  {u"\\\\srv\\share\\kelvane.exe", u"\\\\srv\\share\\"},
                                  {u"kelvane.exe", u""},
                                  {u"a/b", u""},
                              });
}

TEST(PathsTest, ExtractFileDir) {
  ExpectEach(ExtractFileDir, {
                                 {u"C:\\Tools\\K\\kelvane.exe", u"C:\\Tools\\K"},
                                 {u"C:\\kelvane.exe", u"C:\\"},  // the "\" after ":" stays
                                 {u"C:kelvane.exe", u"C:"},      // a ":" delimiter stays
                                 {u"\\kelvane.exe", u"\\"},      // a first-character "\" stays
                                 {u"\\\\kelvane.exe", u"\\\\"},  // a "\" after "\" stays
                                 {u"C:\\Tools\\", u"C:\\Tools"},
                                 {u"kelvane.exe", u""},
                                 {u"", u""},
                             });
}

TEST(PathsTest, ExtractFileDrive) {
  ExpectEach(ExtractFileDrive, {
                                   {u"C:\\Tools\\K\\", u"C:"},
                                   {u"c:", u"c:"},
                                   {u"C", u""},
                                   {u"\\Tools\\", u""},
                                   {u"\\\\srv\\share\\K\\kelvane.exe", u"\\\\srv\\share"},
                                   {u"\\\\srv\\share\\", u"\\\\srv\\share"},
                                   {u"\\\\srv\\share", u"\\\\srv\\share"},
                                   {u"\\\\srv\\", u"\\\\srv"},
                                   {u"\\\\srv", u"\\\\srv"},
                                   {u"\\\\", u"\\\\"},
                                   {u"\\\\\\x\\y", u"\\\\\\x"},
                                   {u"Tools\\K", u""},
                               });
}

TEST(PathsTest, SameFileNameIgnoresCaseByCodeUnit) {
  EXPECT_TRUE(bar::SameFileName(u"C:", u"c:"));
  EXPECT_TRUE(bar::SameFileName(u"\\\\SRV\\Share", u"\\\\srv\\share"));
  EXPECT_TRUE(bar::SameFileName(u"Панель", u"пАНЕЛЬ"));
  EXPECT_TRUE(bar::SameFileName(u"", u""));
  EXPECT_FALSE(bar::SameFileName(u"C:", u"D:"));
  EXPECT_FALSE(bar::SameFileName(u"Tools", u"Tool"));
  EXPECT_FALSE(bar::SameFileName(u"straße", u"STRASSE"));  // no one-to-two folding
}

// What the two "Find" buttons put into their fields, with the executable at
// C:\Tools\K\kelvane.exe: Button1 the chosen folder, Button2 the chosen file,
// each relative to the program folder.
std::u16string FolderField(const std::u16string& chosen_folder) {
  return ExtractRelativeFolder(ExtractFileDir(u"C:\\Tools\\K\\kelvane.exe") + u"\\", chosen_folder);
}

std::u16string FileField(const std::u16string& exe, const std::u16string& chosen_file) {
  return ExtractRelativePath(ExtractFileDir(exe) + u"\\", chosen_file);
}

TEST(PathsTest, FindButtonFields) {
  const std::u16string exe = u"C:\\Tools\\K\\kelvane.exe";
  ExpectEach(FolderField, {
                              {u"C:\\Tools\\K\\Bar", u"Bar"},
                              {u"c:\\tools\\k\\Bar\\Sub", u"Bar\\Sub"},
                              {u"C:\\totalcmd\\Bars", u"..\\..\\totalcmd\\Bars"},
                              {u"C:\\Tools\\Bars", u"..\\Bars"},
                              {u"C:\\", u"..\\.."},
                              {u"C:\\Tools\\K", u"."},
                              {u"c:\\tools\\k\\", u"."},
                              {u"D:\\", u"D:\\"},
                              {u"D:\\TC\\Bars", u"D:\\TC\\Bars"},
                              {u"\\\\srv\\share\\Bars", u"\\\\srv\\share\\Bars"},
                          });

  const PathCase files[] = {
      {u"C:\\Tools\\K\\Bar\\000_Osnovnaja.bar", u"Bar\\000_Osnovnaja.bar"},
      {u"C:\\Tools\\K\\main.bar", u"main.bar"},
      {u"C:\\Tools\\main.bar", u"..\\main.bar"},
      {u"C:\\Users\\x\\main.bar", u"..\\..\\Users\\x\\main.bar"},
      {u"c:\\tools\\k\\BAR\\x.bar", u"BAR\\x.bar"},
      {u"D:\\Bars\\main.bar", u"D:\\Bars\\main.bar"},
      {u"C:\\Tools\\KK\\main.bar", u"..\\KK\\main.bar"},
      {u"C:\\Tools\\K\\a/b.bar", u"a/b.bar"},
  };
  for (const PathCase& c : files) {
    SCOPED_TRACE(bar::ToUtf8(c.path));
    EXPECT_EQ(FileField(exe, c.path), c.expected);
  }
}

TEST(PathsTest, FindButtonWithProgramInDriveRoot) {
  // ExtractFileDir keeps the root's "\", so the base is "C:\\".
  const std::u16string exe = u"C:\\kelvane.exe";
  EXPECT_EQ(ExtractFileDir(exe) + u"\\", u"C:\\\\");
  EXPECT_EQ(FileField(exe, u"C:\\Bar\\main.bar"), u"..\\Bar\\main.bar");
  EXPECT_EQ(FileField(exe, u"C:\\main.bar"), u"..\\main.bar");
}

TEST(PathsTest, FindButtonOnNetworkPath) {
  const std::u16string exe = u"\\\\srv\\share\\K\\kelvane.exe";
  EXPECT_EQ(FileField(exe, u"\\\\SRV\\Share\\K\\Bar\\x.bar"), u"Bar\\x.bar");
  EXPECT_EQ(FileField(exe, u"\\\\srv\\share\\x.bar"), u"..\\x.bar");
  EXPECT_EQ(FileField(exe, u"\\\\srv\\other\\K\\x.bar"), u"\\\\srv\\other\\K\\x.bar");
  EXPECT_EQ(FileField(exe, u"C:\\Bar\\main.bar"), u"C:\\Bar\\main.bar");
  // The share's root, as the folder dialog gives it, is ".." from K.
  const std::u16string base = ExtractFileDir(exe) + u"\\";
  EXPECT_EQ(ExtractRelativeFolder(base, u"\\\\SRV\\share"), u"..");
  EXPECT_EQ(ExtractRelativeFolder(base, u"\\\\srv\\share\\"), u"..");
  EXPECT_EQ(ExtractRelativeFolder(base, u"\\\\srv\\other"), u"\\\\srv\\other");
}

// The system's long names, for the one short-named folder below.
std::u16string LongName(const std::u16string& path) {
  return path == u"C:\\PROGRA~2\\TOTALC~1" ? u"C:\\Program Files (x86)\\Total Commander" : path;
}

// The program started through a short name or a "\\?\" path still stores
// paths against the long names the dialog gives.
TEST(PathsTest, FindBaseIsTheLongProgramFolder) {
  ExpectEach(
      [](const std::u16string& exe) { return FindBase(exe, LongName); },
      {
          {u"C:\\Tools\\K\\kelvane.exe", u"C:\\Tools\\K\\"},
          {u"C:\\kelvane.exe", u"C:\\\\"},
          {u"C:\\PROGRA~2\\TOTALC~1\\kelvane.exe", u"C:\\Program Files (x86)\\Total Commander\\"},
          {u"\\\\?\\C:\\Tools\\K\\kelvane.exe", u"C:\\Tools\\K\\"},
          {u"\\\\?\\UNC\\srv\\share\\K\\kelvane.exe", u"\\\\srv\\share\\K\\"},
      });
  const std::u16string base = FindBase(u"\\\\?\\C:\\PROGRA~2\\TOTALC~1\\kelvane.exe", LongName);
  EXPECT_EQ(ExtractRelativePath(base, u"C:\\Program Files (x86)\\Total Commander\\Bar\\x.bar"),
            u"Bar\\x.bar");
}

// Each setting names a file or folder: a full path as it stands, anything
// else behind the program folder, as every kelvane.ini has been read.
TEST(PathsTest, SettingsNameTheirPaths) {
  const std::u16string program = u"C:\\Tools\\K\\";
  ExpectEach(
      [](const std::u16string& setting) { return bar::SettingPath(u"C:\\Tools\\K\\", setting); },
      {
          {u"Bar\\000_Osnovnaja.bar", u"C:\\Tools\\K\\Bar\\000_Osnovnaja.bar"},
          {u"..\\..\\totalcmd\\Bars", u"C:\\Tools\\K\\..\\..\\totalcmd\\Bars"},
          {u".", u"C:\\Tools\\K\\."},
          {u"", u"C:\\Tools\\K\\"},
          {u"D:\\TC\\DEFAULT.BAR", u"D:\\TC\\DEFAULT.BAR"},
          {u"d:\\Bars", u"d:\\Bars"},
          {u"\\\\srv\\share\\Bars", u"\\\\srv\\share\\Bars"},
          {u"D:main.bar", u"C:\\Tools\\K\\D:main.bar"},  // drive-relative: not full
          {u"\\Bars", u"C:\\Tools\\K\\\\Bars"},
          {u"1:\\x", u"C:\\Tools\\K\\1:\\x"},
          {u"C:/Bars/main.bar", u"C:/Bars/main.bar"},  // "/" separates as "\\" does
          {u"//server/share/Bars", u"//server/share/Bars"},
          {u"\\\\server/share", u"\\\\server/share"},
          {u"Bars/main.bar", u"C:\\Tools\\K\\Bars/main.bar"},
          {u"/Bars", u"C:\\Tools\\K\\/Bars"},
      });
  bar::LineList lists[2];
  bar::Toggle toggle{lists[0], lists[1], u"tools.bar", program, u"D:\\Bars", u"main.bar", {}};
  EXPECT_EQ(toggle.SubBarFile(), u"D:\\Bars\\tools.bar");
  EXPECT_EQ(toggle.MainBarFile(), u"C:\\Tools\\K\\main.bar");

  // The argument: a full path names the sub-bar itself, written with
  // either separator; "%NAME%" expands where it is set, in the argument and
  // in every setting.
  toggle.bar_folder = u"%BARS%";
  toggle.main_bar_path = u"%COMMANDER_PATH%\\DEFAULT.BAR";
  toggle.environment = [](std::u16string_view name) -> std::optional<std::u16string> {
    if (name == u"COMMANDER_PATH") return u"C:\\totalcmd";
    return std::nullopt;
  };
  EXPECT_EQ(toggle.MainBarFile(), u"C:\\totalcmd\\DEFAULT.BAR");
  ExpectEach([&toggle](const std::u16string& par) { return toggle.SubBarFileOf(par); },
             {
                 {u"tools.bar", u"C:\\Tools\\K\\%BARS%\\tools.bar"},
                 {u"C:\\totalcmd\\Bars\\tools.bar", u"C:\\totalcmd\\Bars\\tools.bar"},
                 {u"C:/totalcmd/Bars/tools.bar", u"C:/totalcmd/Bars/tools.bar"},
                 {u"\\\\srv\\share\\tools.bar", u"\\\\srv\\share\\tools.bar"},
                 {u"//srv/share/tools.bar", u"//srv/share/tools.bar"},
                 {u"%COMMANDER_PATH%\\Bars\\tools.bar", u"C:\\totalcmd\\Bars\\tools.bar"},
             });
}

TEST(PathsTest, ExtractRelativePathSegmentRules) {
  // A target without a leading "\" after its drive has no empty first
  // segment to leave out.
  EXPECT_EQ(ExtractRelativePath(u"C:\\a\\", u"C:b\\x.bar"), u"..\\..\\b\\x.bar");
  // An empty first remaining target segment is left out.
  EXPECT_EQ(ExtractRelativePath(u"C:a\\", u"C:\\x.bar"), u"..\\x.bar");
  // Base and target in the same folder.
  EXPECT_EQ(ExtractRelativePath(u"C:\\a\\", u"C:\\A\\x.bar"), u"x.bar");
  // No drives at all: both "", so they match.
  EXPECT_EQ(ExtractRelativePath(u"a\\b\\", u"a\\c\\x.bar"), u"..\\c\\x.bar");
}

}  // namespace
}  // namespace app
