#include "bar/unit_scan.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace bar {
namespace {

// Random runs of units around the boundaries that matter: the controls
// below 14, and units whose low byte looks like one of them (0x0A0D) or
// whose top bit is set (0x800D, 0xFFFF), at every offset and length,
// against a plain loop.
TEST(UnitScanTest, AgreesWithAPlainLoop) {
  const char16_t units[] = {u'a',    u'\r',     u'\n',     u'\0',     u'\x0D',  u'\x0E',
                            u'\x7F', u'\u0A0D', u'\u800D', u'\uFFFF', u'\u0416'};
  std::mt19937 random(11);
  for (int round = 0; round < 3000; ++round) {
    std::u16string text(random() % 40, u'a');
    for (char16_t& unit : text) unit = units[random() % (round % 2 ? 11 : 3)];
    const std::size_t from = text.empty() ? 0 : random() % (text.size() + 1);
    SCOPED_TRACE(round);
    std::size_t control = from;
    while (control < text.size() && text[control] >= 14) ++control;
    EXPECT_EQ(FindControlUnit(text.data(), text.size(), from), control);
  }
}

}  // namespace
}  // namespace bar
