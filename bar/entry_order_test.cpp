#include "bar/entry_order.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "bar/bar_file.h"
#include "bar/errors.h"
#include "bar/range_sort.h"
#include "bar/strings.h"
#include "bar/unicode.h"
#include "tests/lines.h"
#include "tests/test_support.h"

namespace bar {
namespace {

using testing_support::LinesOf;

using Lines = std::vector<std::u16string>;

LineList MakeList(const Lines& lines) {
  LineList list;
  for (const std::u16string& line : lines) list.Add(line);
  return list;
}

// The message the list's own Get gives for an index, or "" when it has
// that line.
std::u16string GetError(const LineList& list, int32_t index) {
  try {
    list.Get(index);
  } catch (const IndexError& e) {
    return e.message();
  }
  return u"";
}

// What the sort raises, or "" when it succeeds.
std::u16string SortError(LineList& list) {
  try {
    LB1Sort(list);
  } catch (const Error& e) {
    return e.message();
  }
  return u"";
}

// The plain comparison, which reads both lines afresh at every call.
int32_t ReferenceCompareSTR(const Lines& list, int32_t index1, int32_t index2) {
  const int32_t cs1i = SortNumber(list[static_cast<size_t>(index1)]);
  const int32_t cs2i = SortNumber(list[static_cast<size_t>(index2)]);
  return cs1i < cs2i ? -1 : (cs1i > cs2i ? 1 : 0);
}

// The range sort over lines with the plain comparison: the reference for
// the sort's order and for which line fails first. Returns where each
// sorted line was before.
std::vector<int32_t> RangeSortByCompareSTR(Lines& list) {
  std::vector<int32_t> origin(list.size());
  for (size_t k = 0; k < origin.size(); ++k) origin[k] = static_cast<int32_t>(k);
  RangeSort(
      static_cast<int32_t>(list.size()),
      [&](int32_t a, int32_t b) { return ReferenceCompareSTR(list, a, b); },
      [&](int32_t a, int32_t b) {
        std::swap(list[static_cast<size_t>(a)], list[static_cast<size_t>(b)]);
        std::swap(origin[static_cast<size_t>(a)], origin[static_cast<size_t>(b)]);
      });
  return origin;
}

TEST(SortNumberTest, KeyDigitsOrZero) {
  struct Case {
    std::u16string line;
    int32_t want;
  } cases[] = {
      {u"[Buttonbar]", 0},
      {u"Buttoncount=3", 0},
      {u"", 0},
      {u"   ", 0},
      {u"Tools", 0},
      {u"button4=Buttoncount.exe", 0},  // "Buttoncount" anywhere counts
      {u"menu6=BBBBBBBBBBBBBBBBBBBBButtoncount", 0},
      {u"menu7=BBBBBBBBBBBBBBBBBBBBButtoncoun", 7},
      {u"button1=a.exe", 1},
      {u"cmd2=run5.exe", 2},
      {u"button007=x", 7},
      {u"b1t2=z", 12},
      {u"button0=x", 0},
      {u"button2147483647=x", 2147483647},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(ToUtf8(c.line));
    EXPECT_EQ(SortNumber(c.line), c.want);
  }
}

TEST(SortNumberTest, KeysThatCannotBeNumbered) {
  struct Case {
    std::u16string line, digits;
  } cases[] = {
      {u"label=z", u""},
      {u"=abc", u""},
      {u"buttoncount=3", u""},  // the count test is case-sensitive
      {u"button2147483648=z", u"2147483648"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(ToUtf8(c.line));
    try {
      SortNumber(c.line);
      ADD_FAILURE() << "numbered";
    } catch (const ConversionError& e) {
      EXPECT_EQ(e.message(), u"'" + c.digits + u"' is not a valid integer value");
    }
  }
}

// The sequence of comparisons and exchanges is the sort's whole behaviour:
// it decides the order of lines that compare equal.
TEST(RangeSortTest, FollowsThePivotLineThroughExchanges) {
  std::vector<int32_t> keys = {0, 0, 1, 1, 1};  // the five-line trace
  std::vector<std::string> log;
  RangeSort(
      static_cast<int32_t>(keys.size()),
      [&](int32_t a, int32_t b) {
        log.push_back("C" + std::to_string(a) + std::to_string(b));
        return keys[a] < keys[b] ? -1 : (keys[a] > keys[b] ? 1 : 0);
      },
      [&](int32_t a, int32_t b) {
        log.push_back("X" + std::to_string(a) + std::to_string(b));
        std::swap(keys[a], keys[b]);
      });
  std::vector<std::string> want = {"C02", "C12", "C42", "X24", "C34",
                                   "C34", "C01", "C21", "X01", "C12"};
  EXPECT_EQ(log, want);
}

TEST(RangeSortTest, SortsAndLeavesShortRangesAlone) {
  std::mt19937 random(20240601);
  for (int32_t count : {0, 1, 2, 3, 7, 64, 1000}) {
    SCOPED_TRACE(count);
    std::vector<int32_t> keys(static_cast<size_t>(count));
    for (int32_t& k : keys) k = static_cast<int32_t>(random() % 10);
    std::vector<int32_t> want = keys;
    std::sort(want.begin(), want.end());
    int compares = 0;
    RangeSort(
        count,
        [&](int32_t a, int32_t b) {
          EXPECT_TRUE(a >= 0 && a < count && b >= 0 && b < count);
          ++compares;
          return keys[a] < keys[b] ? -1 : (keys[a] > keys[b] ? 1 : 0);
        },
        [&](int32_t a, int32_t b) { std::swap(keys[a], keys[b]); });
    EXPECT_EQ(keys, want);
    if (count < 2) {
      EXPECT_EQ(compares, 0);
    }
  }
}

TEST(LB1SortTest, SpecifiedOrders) {
  struct Case {
    const char* name;
    Lines before, after;
  } cases[] = {
      {"trace",
       {u"[Buttonbar]", u"Buttoncount=1", u"button1=a.exe", u"cmd1=a", u"iconic1=0"},
       {u"[Buttonbar]", u"Buttoncount=1", u"iconic1=0", u"cmd1=a", u"button1=a.exe"}},
      {"plain file order",
       {u"[Buttonbar]", u"Buttoncount=3", u"button1=a.exe", u"cmd1=a", u"iconic1=0",
        u"button2=b.exe", u"cmd2=b", u"iconic2=0", u"button3=c.exe", u"cmd3=c", u"iconic3=1"},
       {u"[Buttonbar]", u"Buttoncount=3", u"iconic1=0", u"cmd1=a", u"button1=a.exe", u"iconic2=0",
        u"cmd2=b", u"button2=b.exe", u"iconic3=1", u"cmd3=c", u"button3=c.exe"}},
      {"mixed order",
       {u"[Buttonbar]", u"Buttoncount=3", u"cmd2=b", u"button3=c.exe", u"iconic1=0",
        u"button1=a.exe", u"iconic3=1", u"cmd1=a", u"button2=b.exe", u"cmd3=c", u"iconic2=0"},
       {u"[Buttonbar]", u"Buttoncount=3", u"button1=a.exe", u"cmd1=a", u"iconic1=0", u"iconic2=0",
        u"button2=b.exe", u"cmd2=b", u"button3=c.exe", u"cmd3=c", u"iconic3=1"}},
      {"four lines per button",
       {u"[Buttonbar]", u"Buttoncount=2", u"button1=a", u"cmd1=a", u"extra1=a", u"iconic1=0",
        u"button2=b", u"cmd2=b", u"extra2=b", u"iconic2=0"},
       {u"[Buttonbar]", u"Buttoncount=2", u"extra1=a", u"iconic1=0", u"button1=a", u"cmd1=a",
        u"extra2=b", u"iconic2=0", u"cmd2=b", u"button2=b"}},
      {"two lines per button",
       {u"[Buttonbar]", u"Buttoncount=2", u"button1=a", u"cmd1=a", u"button2=b", u"cmd2=b"},
       {u"[Buttonbar]", u"Buttoncount=2", u"cmd1=a", u"button1=a", u"cmd2=b", u"button2=b"}},
      {"header lines only", {u"[Buttonbar]", u"Buttoncount=0"}, {u"[Buttonbar]", u"Buttoncount=0"}},
      {"values and key forms",
       {u"[Buttonbar]", u"Buttoncount=12", u"b1t2=z", u"cmd2=run5.exe", u"button007=x"},
       {u"[Buttonbar]", u"Buttoncount=12", u"cmd2=run5.exe", u"button007=x", u"b1t2=z"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    LineList list = MakeList(c.before);
    LB1Sort(list);
    EXPECT_EQ(LinesOf(list), c.after);
  }
}

TEST(LB1SortTest, SecondSortOfPlainFileOrderRestoresIt) {
  Lines file_order = {u"[Buttonbar]",   u"Buttoncount=3", u"button1=a.exe", u"cmd1=a",
                      u"iconic1=0",     u"button2=b.exe", u"cmd2=b",        u"iconic2=0",
                      u"button3=c.exe", u"cmd3=c",        u"iconic3=1"};
  LineList list = MakeList(file_order);
  LB1Sort(list);
  ASSERT_NE(LinesOf(list), file_order);
  LB1Sort(list);
  EXPECT_EQ(LinesOf(list), file_order);
}

TEST(LB1SortTest, FewerThanTwoLinesFailLikeGet) {
  for (const Lines& lines : {Lines{}, Lines{u"[Buttonbar]"}}) {
    SCOPED_TRACE(lines.size());
    LineList list = MakeList(lines);
    std::u16string want = GetError(list, static_cast<int32_t>(lines.size()));
    ASSERT_NE(want, u"");
    EXPECT_EQ(SortError(list), want);
    EXPECT_EQ(LinesOf(list), lines);
  }
}

TEST(LB1SortTest, LineWithoutNumberFailsAndChangesNothing) {
  struct Case {
    Lines lines;
    std::u16string message;
  } cases[] = {
      {{u"[Buttonbar]", u"buttoncount=3", u"button1=a", u"cmd1=a"},
       u"'' is not a valid integer value"},
      {{u"[Buttonbar]", u"Buttoncount=2", u"button1=a", u"label=x", u"button2=b"},
       u"'' is not a valid integer value"},
      {{u"[Buttonbar]", u"Buttoncount=1", u"=abc"}, u"'' is not a valid integer value"},
      {{u"[Buttonbar]", u"button2147483648=z"}, u"'2147483648' is not a valid integer value"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(ToUtf8(c.message));
    LineList list = MakeList(c.lines);
    list.set_remembered_encoding(Encoding::kUtf8);
    EXPECT_EQ(SortError(list), c.message);
    EXPECT_EQ(LinesOf(list), c.lines);
    EXPECT_EQ(list.remembered_encoding(), Encoding::kUtf8);
  }
}

TEST(LB1SortTest, KeepsRememberedEncoding) {
  for (auto encoding : {std::optional<Encoding>(), std::optional(Encoding::kUtf16LE),
                        std::optional(Encoding::kLegacy)}) {
    LineList list = MakeList({u"[Buttonbar]", u"Buttoncount=1", u"button1=a"});
    list.set_remembered_encoding(encoding);
    LB1Sort(list);
    EXPECT_EQ(list.remembered_encoding(), encoding);
  }
}

// Lines numbered 0 besides the header lines must neither vanish nor push a
// header line down: each of these bars has one.
TEST(LB1SortTest, FurtherLinesNumberedZeroStayOnceBehindTheHeaderLines) {
  struct Case {
    const char* name;
    Lines before, after;
  } cases[] = {
      {"blank line",
       {u"[Buttonbar]", u"Buttoncount=2", u"button1=a", u"", u"button2=b"},
       {u"[Buttonbar]", u"Buttoncount=2", u"", u"button1=a", u"button2=b"}},
      {"heading without =",
       {u"[Buttonbar]", u"Buttoncount=2", u"button2=b", u"Tools", u"button1=a"},
       {u"[Buttonbar]", u"Buttoncount=2", u"Tools", u"button1=a", u"button2=b"}},
      {"entry numbered 0",
       {u"[Buttonbar]", u"Buttoncount=1", u"button0=z", u"button1=a"},
       {u"[Buttonbar]", u"Buttoncount=1", u"button0=z", u"button1=a"}},
      {"Buttoncount in a value",
       {u"[Buttonbar]", u"Buttoncount=2", u"button2=b", u"cmd1=Buttoncount.exe", u"button1=a"},
       {u"[Buttonbar]", u"Buttoncount=2", u"cmd1=Buttoncount.exe", u"button1=a", u"button2=b"}},
      {"blank line first",
       {u"", u"[Buttonbar]", u"Buttoncount=1", u"button1=a"},
       {u"", u"[Buttonbar]", u"Buttoncount=1", u"button1=a"}},
      {"no count line",
       {u"[Buttonbar]", u"button2=b", u"Tools", u"button1=a", u""},
       {u"[Buttonbar]", u"button2=b", u"", u"Tools", u"button1=a"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    LineList list = MakeList(c.before);
    LB1Sort(list);
    EXPECT_EQ(LinesOf(list), c.after);
  }
}

// Random bars against the range sort with the plain comparison: the same
// order, the same first failure, and with extra zero-numbered lines every
// line exactly once, the two first lines in front.
TEST(LB1SortTest, MatchesPlainComparisonOnRandomBars) {
  std::mt19937 random(77);
  const std::u16string keys[] = {u"button", u"cmd", u"iconic", u"menu", u"param"};
  for (int round = 0; round < 400; ++round) {
    SCOPED_TRACE(round);
    Lines lines = {u"[Buttonbar]", u"Buttoncount=9"};
    bool extra_zero = round % 2 == 1;
    bool bad = round % 5 == 4;
    int n = 1 + static_cast<int>(random() % 40);
    for (int k = 0; k < n; ++k) {
      std::u16string line = keys[random() % 5] + IntToStr(1 + random() % 9) + u"=v" + IntToStr(k);
      if (extra_zero && random() % 6 == 0) line = random() % 2 ? u"" : u"Tools";
      if (bad && random() % 8 == 0) line = random() % 2 ? u"x=1" : u"y99999999999=" + IntToStr(k);
      lines.push_back(line);
    }
    if (extra_zero) std::shuffle(lines.begin(), lines.end(), random);

    Lines reference = lines;
    std::vector<int32_t> origin;
    std::u16string reference_error;
    try {
      origin = RangeSortByCompareSTR(reference);
    } catch (const ConversionError& e) {
      reference_error = e.message();
    }
    LineList list = MakeList(lines);
    EXPECT_EQ(SortError(list), reference_error);
    if (!reference_error.empty()) {
      EXPECT_EQ(LinesOf(list), lines);
      continue;
    }
    if (!extra_zero) {
      // Header lines the only lines numbered 0: they are written back over
      // whatever the sort left at index 0 and 1.
      Lines written_back = reference;
      written_back[0] = lines[0];
      written_back[1] = lines[1];
      EXPECT_EQ(LinesOf(list), written_back);
    }
    // The reference order with the two first lines taken out and put in front.
    Lines want = {lines[0], lines[1]};
    for (int32_t from : origin) {
      if (from > 1) want.push_back(lines[static_cast<size_t>(from)]);
    }
    EXPECT_EQ(LinesOf(list), want);
  }
}

class LB1SortCorpusTest : public ::testing::TestWithParam<testing_support::BarSet> {};

TEST_P(LB1SortCorpusTest, BarsKeepEveryLineOrFailUnchanged) {
  if (!GetParam().absence.empty()) GTEST_SKIP() << GetParam().absence;
  for (const testing_support::BarFile& file : testing_support::ManifestOf(GetParam())) {
    SCOPED_TRACE(file.path.string());
    LineList list;
    list.LoadFromFile(file.path.u16string());
    if (list.Count() < 2) continue;
    Lines before = LinesOf(list);
    std::u16string error = SortError(list);
    if (!error.empty()) {
      EXPECT_EQ(LinesOf(list), before) << ToUtf8(error);
      continue;
    }
    EXPECT_EQ(list.Get(0), before[0]);
    EXPECT_EQ(list.Get(1), before[1]);
    Lines after = LinesOf(list);
    std::sort(before.begin(), before.end());
    std::sort(after.begin(), after.end());
    EXPECT_EQ(after, before);
  }
}

INSTANTIATE_TEST_SUITE_P(Bars, LB1SortCorpusTest, ::testing::ValuesIn(testing_support::BarSets()),
                         testing_support::NameOf<testing_support::BarSet>);

TEST(BlankLineRemovalTest, RemovesEmptyLinesOnly) {
  struct Case {
    Lines before, after;
  } cases[] = {
      {{}, {}},
      {{u""}, {}},
      {{u"", u"", u""}, {}},
      {{u"", u"a", u"", u"", u"b", u""}, {u"a", u"b"}},
      {{u"a", u" ", u"", u"\t", u"b"}, {u"a", u" ", u"\t", u"b"}},
      {{u"a", u"b"}, {u"a", u"b"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.before.size());
    LineList main_bar = MakeList(c.before);
    main_bar.set_remembered_encoding(Encoding::kUtf16BE);
    LB1Space(main_bar);
    EXPECT_EQ(LinesOf(main_bar), c.after);
    EXPECT_EQ(main_bar.remembered_encoding(), Encoding::kUtf16BE);
    LineList sub_bar = MakeList(c.before);
    LB2Space(sub_bar);
    EXPECT_EQ(LinesOf(sub_bar), c.after);
  }
}

}  // namespace
}  // namespace bar
