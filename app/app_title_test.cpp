#include "app/app_title.h"

#include "bar/unicode.h"
#include "gtest/gtest.h"

namespace app {
namespace {

// Stands in for the platform's lower-casing; marks that it was applied.
void AsciiLower(std::u16string& text) {
  for (char16_t& c : text) {
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
  }
}

TEST(ApplicationTitleTest, NameBeforeFirstDotWithFirstCharacterKept) {
  struct Case {
    const char16_t* exe_path;
    const char16_t* title;
  } const cases[] = {
      {u"C:\\Tools\\K\\kelvane.exe", u"kelvane"},
      {u"C:\\Tools\\K\\TOOL.EXE", u"Tool"},
      {u"C:\\Tools\\K\\tool.old.exe", u"tool"},
      {u"C:\\Tools\\K\\KelVane.EXE", u"Kelvane"},
      {u"C:\\My.Tools\\kelvane", u"kelvane"},  // dots of folders do not count
      {u"\\\\?\\C:\\K\\Kelvane.exe", u"Kelvane"},
      {u"C:\\K\\.hidden.exe", u""},
      {u"kelvane.exe", u"kelvane"},  // no folder at all
      {u"C:K.exe", u"C:k"},          // only "\" ends a folder here
      {u"", u""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(bar::ToUtf8(c.exe_path));
    EXPECT_EQ(ApplicationTitle(c.exe_path, AsciiLower), c.title);
  }
}

}  // namespace
}  // namespace app
