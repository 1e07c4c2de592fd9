#include "bar/code_page.h"

#include <gtest/gtest.h>

namespace bar {
namespace {

// A broken double-byte sequence costs one character per bad byte and never
// the byte after it: a lead byte before a line break keeps the break.
TEST(PosixCodePageTest, BrokenDoubleByteSequencesLoseOnlyTheirBadBytes) {
  EXPECT_EQ(DecodeCodePage(936, "\xC4\xE3\x81\n\xBA\xC3"), u"你\uFFFD\n好");
  EXPECT_EQ(DecodeCodePage(936,
                           "a\xFF"
                           "b"),
            u"a\uFFFDb");
  EXPECT_EQ(DecodeCodePage(936, "ab\xC4"), u"ab\uFFFD");
  EXPECT_EQ(DecodeCodePage(932, "\x82\xA0\x82"), u"あ\uFFFD");
}

TEST(PosixCodePageTest, UnknownCodePageKeepsEveryByte) {
  std::string bytes = "a\x80\xFF";
  EXPECT_EQ(DecodeCodePage(12345, bytes), u"a\u0080\u00FF");
  EXPECT_EQ(EncodeCodePage(12345, u"a\u0080\u00FF\u0100"), "a\x80\xFF?");
}

}  // namespace
}  // namespace bar
