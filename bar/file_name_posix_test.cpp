#include "bar/file_name.h"

#include <gtest/gtest.h>

namespace bar {
namespace {

// The stand-in must agree with the Windows comparison on the letters bar
// folders are named in.
TEST(FileNamePosixTest, UpperCasesTheCommonScripts) {
  EXPECT_TRUE(SameFileName(u"abcxyz", u"ABCXYZ"));
  EXPECT_TRUE(SameFileName(u"àéîõüÿ", u"ÀÉÎÕÜŸ"));
  EXPECT_TRUE(SameFileName(u"ąčęłńőšž", u"ĄČĘŁŃŐŠŽ"));
  EXPECT_TRUE(SameFileName(u"αβγδσςάώ", u"ΑΒΓΔΣΣΆΏ"));
  EXPECT_TRUE(SameFileName(u"абвгдеёжзийяіїєґў", u"АБВГДЕЁЖЗИЙЯІЇЄҐЎ"));
  EXPECT_TRUE(SameFileName(u"ａｚ", u"ＡＺ"));
  EXPECT_FALSE(SameFileName(u"÷", u"×"));  // not a case pair
  EXPECT_FALSE(SameFileName(u"a", u"b"));
  EXPECT_FALSE(SameFileName(u"[", u"{"));  // not letters
}

}  // namespace
}  // namespace bar
