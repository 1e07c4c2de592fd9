#include "bar/unit_scan.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace bar {
namespace {

// Random runs of units around the boundaries that matter: the controls
// below 14, ASCII, and units whose low byte looks like one of them
// (0x0A0D, 0x4142) or whose top bit is set (0x800D, 0xFFFF), at every
// offset and length, against plain loops.
TEST(UnitScanTest, AgreesWithPlainLoops) {
  const char16_t units[] = {u'a',      u'\r',     u'\n',   u'\0',     u'\x0D',
                            u'\x0E',   u'\x7F',   u'\x80', u'\u0A0D', u'\u4142',
                            u'\u800D', u'\uFFFF', u'B',    u'\u0416'};
  std::mt19937 random(11);
  for (int round = 0; round < 3000; ++round) {
    std::u16string text(random() % 40, u'a');
    for (char16_t& unit : text) unit = units[random() % (round % 2 ? 14 : 3)];
    const std::size_t from = text.empty() ? 0 : random() % (text.size() + 1);
    SCOPED_TRACE(round);

    std::size_t control = from;
    while (control < text.size() && text[control] >= 14) ++control;
    EXPECT_EQ(FindControlUnit(text.data(), text.size(), from), control);
    std::size_t b = from;
    while (b < text.size() && text[b] != u'B') ++b;
    EXPECT_EQ(FindUnit(text.data(), text.size(), from, u'B'), b);

    std::size_t ascii = 0;
    while (ascii < text.size() && text[ascii] < 0x80) ++ascii;
    std::string narrow(text.size(), '\0');
    ASSERT_EQ(NarrowAscii(text.data(), text.size(), narrow.data()), ascii);
    EXPECT_EQ(narrow.substr(0, ascii), std::string(text.begin(), text.begin() + ascii));

    std::string bytes(text.size(), '\0');
    for (std::size_t k = 0; k < text.size(); ++k) bytes[k] = static_cast<char>(text[k]);
    std::size_t ascii_bytes = 0;
    while (ascii_bytes < bytes.size() && static_cast<unsigned char>(bytes[ascii_bytes]) < 0x80) {
      ++ascii_bytes;
    }
    std::u16string wide(bytes.size(), u'\0');
    ASSERT_EQ(WidenAscii(bytes.data(), bytes.size(), wide.data()), ascii_bytes);
    EXPECT_EQ(wide.substr(0, ascii_bytes),
              std::u16string(bytes.begin(), bytes.begin() + ascii_bytes));
  }
}

}  // namespace
}  // namespace bar
