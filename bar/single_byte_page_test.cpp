#include "bar/single_byte_page.h"

#include <gtest/gtest.h>

#include <string>

namespace bar {
namespace {

// A page unlike ASCII at one byte (41 stands for U+0391), with a byte that
// loads nothing (FF) and a character that a save cannot give back (FE's):
// no fast ASCII path may skip the tables.
SingleBytePage OddPage() {
  std::array<char16_t, 256> to_unicode;
  std::array<bool, 256> exact;
  std::vector<std::uint16_t> from_unicode(0x10000, SingleBytePage::kNoByte);
  for (int byte = 0; byte < 256; ++byte) {
    to_unicode[byte] = static_cast<char16_t>(byte < 0x80 ? byte : 0x0400 + byte - 0x80);
    exact[byte] = byte != 0xFF;
  }
  to_unicode[0x41] = u'\u0391';
  for (int byte = 0; byte < 256; ++byte) {
    if (byte != 0xFE) from_unicode[to_unicode[byte]] = static_cast<std::uint16_t>(byte);
  }
  return SingleBytePage(to_unicode, exact, std::move(from_unicode));
}

TEST(SingleBytePageTest, TablesDecideEveryByteAndUnit) {
  const SingleBytePage page = OddPage();
  const std::string ascii(20, 'x');
  const std::string bytes = ascii + "A\x80" + ascii + "A";
  const std::u16string text =
      std::u16string(20, u'x') + u"\u0391\u0400" + std::u16string(20, u'x') + u"\u0391";
  std::u16string decoded;
  ASSERT_TRUE(page.DecodeExactly(bytes, &decoded));
  EXPECT_EQ(decoded, text);
  EXPECT_FALSE(page.DecodeExactly(bytes + "\xFF", &decoded));
  page.Decode(bytes + "\xFF", &decoded);
  EXPECT_EQ(decoded, text + u"\u047F");

  std::string encoded;
  ASSERT_TRUE(page.EncodeExactly(text, &encoded));
  EXPECT_EQ(encoded, bytes);
  EXPECT_FALSE(page.EncodeExactly(text + u"A", &encoded));  // U+0041 has no byte
  EXPECT_FALSE(page.EncodeExactly(std::u16string(40, u'x') + u"\u047E", &encoded));
  page.Encode(u"x\u047Ey", &encoded);
  EXPECT_EQ(encoded, "x?y");

  ASSERT_TRUE(page.EncodeLinesExactly({u"ab", u"", text}, u"\r\n", &encoded));
  EXPECT_EQ(encoded, "ab\r\n\r\n" + bytes + "\r\n");
  EXPECT_FALSE(page.EncodeLinesExactly({u"ab", u"A"}, u"\r\n", &encoded));
}

}  // namespace
}  // namespace bar
