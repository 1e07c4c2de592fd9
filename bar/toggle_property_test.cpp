// Random bars, random toggles: whenever no sub-bar is expanded, every file
// holds the entries, numbers and counts it started with, and every line
// outside its button entries in its place.
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <random>
#include <set>

#include "tests/toggle_rig.h"

namespace bar {
namespace {

using testing_support::BarContent;
using testing_support::ContentOf;
using testing_support::Describe;
using testing_support::Lines;
using testing_support::ToggleRig;

// How entries are numbered in a generated bar.
enum class Numbering {
  kConsecutive,  // 1..count, as the file manager writes them
  kGaps,         // some numbers missing, the count at the highest
  kCountAbove,   // gaps, and a count above the highest number
};

class BarMaker {
 public:
  explicit BarMaker(uint32_t seed) : rng_(seed) {}

  uint32_t Below(uint32_t n) { return static_cast<uint32_t>(rng_() % n); }
  bool OneIn(uint32_t n) { return Below(n) == 0; }

  // own_lines: a stray count line, which only a main bar may hold (in a
  // sub-bar it is an entry line without a number).
  Lines Make(Numbering numbering, int32_t max_entries, bool own_lines) {
    const int32_t highest = static_cast<int32_t>(Below(static_cast<uint32_t>(max_entries) + 1));
    int32_t count = highest;
    if (numbering == Numbering::kCountAbove) count += 1 + static_cast<int32_t>(Below(4));
    Lines body;
    for (int32_t n = 1; n <= highest; ++n) {
      if (numbering != Numbering::kConsecutive && n != highest && OneIn(3)) continue;
      AddEntry(n, &body);
    }
    if (own_lines && OneIn(4)) body.push_back(u"Buttoncount=77");
    Scatter(&body);
    static const char16_t* const kUnowned[] = {
        u"", u"   ", u";heading 7", u"; button3=old", u"Tools", u"\"%X%P\" \"%T\""};
    for (uint32_t k = Below(4); k > 0; --k) {
      body.insert(body.begin() + Below(static_cast<uint32_t>(body.size()) + 1), kUnowned[Below(6)]);
    }
    static const char16_t* const kHeaders[] = {u"[Buttonbar]", u"[ButtonBar]", u" [buttonbar] "};
    Lines bar;
    if (OneIn(3)) bar = {u"; settings", u"[options]", u"redirect=0", u""};
    bar.push_back(kHeaders[Below(3)]);
    bar.push_back(u"Buttoncount=" + IntToStr(count));
    bar.insert(bar.end(), body.begin(), body.end());
    if (OneIn(3)) bar.insert(bar.end(), {u"", u"[Later]", u"button1=not an entry"});
    return bar;
  }

 private:
  void AddEntry(int32_t n, Lines* lines) {
    const std::u16string k = IntToStr(n);
    if (OneIn(6)) {  // a line break of the file manager
      lines->push_back(u"button" + k + u"=");
      lines->push_back(u"cmd" + k + u"=-2");
      return;
    }
    static const char16_t* const kWords[] = {u"button", u"cmd",   u"iconic",
                                             u"menu",   u"param", u"path"};
    const uint32_t first = Below(6);
    const uint32_t how_many = 1 + Below(4);
    for (uint32_t w = 0; w < how_many; ++w) {
      const std::u16string key = kWords[(first + w) % 6] + k + (OneIn(8) ? u"  " : u"");
      lines->push_back(key + u"=" + Value());
    }
  }

  // Values with digits, blanks, "=" and letters of the legacy code page;
  // none ends in "x1", so no generated line is a marker entry.
  std::u16string Value() {
    static const char16_t* const kParts[] = {u"tool", u"7",  u"=", u" ",    u"é", u"x",
                                             u"%P",   u"\\", u"1", u".exe", u"Ü"};
    std::u16string value;
    const uint32_t parts = Below(5);
    for (uint32_t p = 0; p < parts; ++p) value += kParts[Below(11)];
    return value + u";";
  }

  // Entries of hand-edited bars are not always together.
  void Scatter(Lines* lines) {
    if (lines->size() < 2) return;
    const uint32_t swaps = Below(3);
    for (uint32_t s = 0; s < swaps; ++s) {
      std::swap((*lines)[Below(static_cast<uint32_t>(lines->size()))],
                (*lines)[Below(static_cast<uint32_t>(lines->size()))]);
    }
  }

  std::mt19937 rng_;
};

const std::u16string kNames[] = {u"a.bar", u"tools.bar", u"x.txt"};

void ExpectAllAsBefore(const ToggleRig& rig, const std::map<std::u16string, Lines>& original) {
  for (const auto& [path, lines] : original) {
    SCOPED_TRACE(ToUtf8(path));
    const BarContent now = ContentOf(rig.LinesOf(path));
    const BarContent before = ContentOf(lines);
    EXPECT_TRUE(now == before) << "now:\n" << Describe(now) << "before:\n" << Describe(before);
  }
}

void RunSequence(uint32_t seed, Numbering numbering) {
  BarMaker maker(seed);
  ToggleRig rig;
  std::map<std::u16string, Lines> original;
  original[ToggleRig::MainPath()] = maker.Make(numbering, 6, true);
  rig.SetMain(original[ToggleRig::MainPath()]);
  for (const std::u16string& name : kNames) {
    original[ToggleRig::SubPath(name)] = maker.Make(numbering, 5, false);
    rig.SetSub(name, original[ToggleRig::SubPath(name)]);
  }

  std::set<std::u16string> expanded;
  auto toggle = [&](const std::u16string& name) {
    const ToggleAction want =
        expanded.count(name) ? ToggleAction::kCollapse : ToggleAction::kExpand;
    ASSERT_EQ(rig.Run(name), want) << ToUtf8(name);
    if (want == ToggleAction::kExpand) {
      expanded.insert(name);
    } else {
      expanded.erase(name);
    }
    if (expanded.empty()) ExpectAllAsBefore(rig, original);
  };

  const uint32_t steps = 4 + maker.Below(12);
  for (uint32_t s = 0; s < steps && !::testing::Test::HasFatalFailure(); ++s) {
    toggle(kNames[maker.Below(3)]);
  }
  while (!expanded.empty() && !::testing::Test::HasFatalFailure()) {
    auto next = expanded.begin();
    std::advance(next, maker.Below(static_cast<uint32_t>(expanded.size())));
    toggle(*next);
  }
}

struct PropertyCase {
  const char* name;
  Numbering numbering;
};

void PrintTo(const PropertyCase& c, std::ostream* os) { *os << c.name; }

class TogglePropertyTest : public ::testing::TestWithParam<PropertyCase> {};

TEST_P(TogglePropertyTest, EveryFileComesBackWhenNothingIsExpanded) {
  for (uint32_t seed = 1; seed <= 150; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    RunSequence(seed, GetParam().numbering);
    if (HasFailure()) return;
  }
}

INSTANTIATE_TEST_SUITE_P(Bars, TogglePropertyTest,
                         ::testing::Values(PropertyCase{"Consecutive", Numbering::kConsecutive},
                                           PropertyCase{"Gaps", Numbering::kGaps},
                                           PropertyCase{"CountAbove", Numbering::kCountAbove}),
                         [](const ::testing::TestParamInfo<PropertyCase>& info) {
                           return info.param.name;
                         });

}  // namespace
}  // namespace bar
