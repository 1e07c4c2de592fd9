#include "bar/line_list.h"

#include <gtest/gtest.h>

#include "bar/errors.h"
#include "tests/lines.h"
#include "tests/memory_file_system.h"
#include "tests/scoped_code_page.h"

namespace bar {
namespace {

using testing_support::LinesOf;

using testing_support::MemoryFileSystem;
using testing_support::ScopedCodePage;
using Lines = std::vector<std::u16string>;

const char16_t kInsertMessage[] = u"Unable to insert a line";
const char16_t kBar[] = u"C:\\tc\\bars\\main.bar";

LineList ListOf(const Lines& lines) {
  LineList list;
  for (const std::u16string& line : lines) list.Add(line);
  return list;
}

// The message of the error f throws, or "(no error)".
template <typename ErrorType, typename F>
std::u16string MessageOf(F f) {
  try {
    f();
  } catch (const ErrorType& e) {
    return e.message();
  }
  return u"(no error)";
}

TEST(LineListTest, IndexErrorMessages) {
  const LineList three = ListOf({u"a", u"b", u"c"});
  const LineList empty;
  struct Case {
    const LineList& list;
    int32_t index;
    std::u16string message;
  } cases[] = {
      {three, 5, u"List index out of bounds (5).  TListBoxLines range is 0..2"},
      {three, 3, u"List index out of bounds (3).  TListBoxLines range is 0..2"},
      {three, -1, u"List index out of bounds (-1).  TListBoxLines range is 0..2"},
      {three, -2147483647 - 1,
       u"List index out of bounds (-2147483648).  TListBoxLines range is 0..2"},
      {empty, 1, u"List index out of bounds (1).  TListBoxLines is empty"},
      {empty, 0, u"List index out of bounds (0).  TListBoxLines is empty"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.index);
    EXPECT_EQ(MessageOf<IndexError>([&] { c.list.Get(c.index); }), c.message);
    LineList copy;
    copy.Assign(c.list);
    EXPECT_EQ(MessageOf<IndexError>([&] { copy.Put(c.index, u"x"); }), c.message);
    EXPECT_EQ(LinesOf(copy), LinesOf(c.list));
  }
}

TEST(LineListTest, LinesAreCutAtTheirFirstNul) {
  const std::u16string with_nul(u"ab\0cd", 5);
  LineList control;
  EXPECT_EQ(control.Add(with_nul), 0);
  control.Insert(0, std::u16string(u"\0x", 2));
  control.Add(u"z");
  control.Put(2, with_nul);
  EXPECT_EQ(LinesOf(control), (Lines{u"", u"ab", u"ab"}));
}

TEST(LineListTest, AddInsertPutDelete) {
  LineList list;
  list.Insert(0, u"b");
  EXPECT_EQ(list.Add(u"d"), 1);
  list.Insert(0, u"a");
  list.Insert(2, u"c");
  list.Insert(4, u"e");
  EXPECT_EQ(LinesOf(list), (Lines{u"a", u"b", u"c", u"d", u"e"}));

  list.Put(4, u"E");
  list.Put(1, u"B");
  EXPECT_EQ(LinesOf(list), (Lines{u"a", u"B", u"c", u"d", u"E"}));

  list.Delete(-1);
  list.Delete(5);
  EXPECT_EQ(list.Count(), 5);
  list.Delete(2);
  list.Delete(0);
  EXPECT_EQ(LinesOf(list), (Lines{u"B", u"d", u"E"}));
  list.set_remembered_encoding(Encoding::kUtf16LE);
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.remembered_encoding(), Encoding::kUtf16LE);
}

// Lines are views into the list's own text: a view stays valid while lines
// come and go around it, a copy owns its text, and KeepLines rearranges.
TEST(LineListTest, LinesStayWhereTheyAreThroughEdits) {
  LineList list = ListOf({u"a", u"b"});
  const std::u16string_view first = list.Get(0);
  const std::u16string long_line(40000, u'x');  // more than a block of the store
  for (int k = 0; k < 3; ++k) list.Add(long_line);
  list.Put(1, list.Get(0));
  list.Exchange(0, 2);
  EXPECT_EQ(first, u"a");
  LineList copy;
  copy.Assign(list);
  list = LineList();
  EXPECT_EQ(LinesOf(copy), (Lines{long_line, u"a", u"a", long_line, long_line}));
  copy.KeepLines({4, 1});
  EXPECT_EQ(LinesOf(copy), (Lines{long_line, u"a"}));
  EXPECT_EQ(MessageOf<IndexError>([&] {
              copy.KeepLines({0, 2});
            }),
            u"List index out of bounds (2).  TListBoxLines range is 0..1");
  copy.set_line_limit(1);
  EXPECT_EQ(MessageOf<InsertError>([&] { copy.KeepLines({0, 1}); }), kInsertMessage);
  EXPECT_EQ(LinesOf(copy), (Lines{long_line, u"a"}));
}

TEST(LineListTest, InsertOutsideTheListIsRefused) {
  LineList list = ListOf({u"a", u"b"});
  for (int32_t index : {-1, 3, 2147483647}) {
    SCOPED_TRACE(index);
    EXPECT_EQ(MessageOf<InsertError>([&] { list.Insert(index, u"x"); }), kInsertMessage);
    EXPECT_EQ(LinesOf(list), (Lines{u"a", u"b"}));
  }
}

TEST(LineListTest, FullListRefusesMoreLinesAndStaysAsItWas) {
  LineList list = ListOf({u"a", u"b"});
  list.set_line_limit(2);
  const LineList three = ListOf({u"1", u"2", u"3"});
  MemoryFileSystem files;
  files.files[kBar] =
      "\xEF\xBB\xBF"
      "1\r\n2\r\n3\r\n";

  EXPECT_EQ(MessageOf<InsertError>([&] { list.Add(u"c"); }), kInsertMessage);
  EXPECT_EQ(MessageOf<InsertError>([&] { list.Insert(0, u"c"); }), kInsertMessage);
  EXPECT_EQ(MessageOf<InsertError>([&] { list.Assign(three); }), kInsertMessage);
  EXPECT_EQ(list.remembered_encoding(), std::nullopt);
  EXPECT_EQ(MessageOf<InsertError>([&] { list.LoadFromFile(kBar, files); }), kInsertMessage);
  EXPECT_EQ(LinesOf(list), (Lines{u"a", u"b"}));
  EXPECT_EQ(list.remembered_encoding(), Encoding::kUtf8);

  list.Put(1, u"B");  // a replace needs no room
  EXPECT_EQ(LinesOf(list), (Lines{u"a", u"B"}));
}

TEST(LineListTest, AssignCopiesLinesAndEncoding) {
  LineList source = ListOf({u"x", u"y"});
  LineList target = ListOf({u"old"});
  target.set_remembered_encoding(Encoding::kUtf16BE);

  // A source that was never loaded hands on the legacy code page.
  target.Assign(source);
  EXPECT_EQ(LinesOf(target), (Lines{u"x", u"y"}));
  EXPECT_EQ(target.remembered_encoding(), Encoding::kLegacy);

  target.set_remembered_encoding(Encoding::kUtf8);
  source.Assign(target);
  EXPECT_EQ(source.remembered_encoding(), Encoding::kUtf8);

  source.Assign(source);
  EXPECT_EQ(LinesOf(source), (Lines{u"x", u"y"}));
  EXPECT_EQ(source.remembered_encoding(), Encoding::kUtf8);
}

class LineListFileTest : public ::testing::Test {
 protected:
  // The bytes the list writes after loading bytes.
  std::string RoundTrip(const std::string& bytes) {
    files.files[kBar] = bytes;
    list.LoadFromFile(kBar, files);
    list.SaveToFile(kBar, files);
    return files.files[kBar];
  }

  ScopedCodePage code_page{1252};
  MemoryFileSystem files;
  LineList list;
};

TEST_F(LineListFileTest, RoundTrips) {
  struct Case {
    const char* name;
    std::string bytes;
    Lines lines;
    Encoding encoding;
    std::string saved;
  } cases[] = {
      {"empty file", "", {}, Encoding::kLegacy, ""},
      {"utf-8 mark alone", "\xEF\xBB\xBF", {}, Encoding::kUtf8, "\xEF\xBB\xBF"},
      {"utf-16 le mark alone", "\xFF\xFE", {}, Encoding::kUtf16LE, "\xFF\xFE"},
      {"mixed line ends",
       "a\nb\r\nc\rd",
       {u"a", u"b", u"c", u"d"},
       Encoding::kLegacy,
       "a\r\nb\r\nc\r\nd\r\n"},
      {"utf-8 with mark",
       "\xEF\xBB\xBF\xD0\x94\n",
       {u"\u0414"},
       Encoding::kUtf8,
       "\xEF\xBB\xBF\xD0\x94\r\n"},
      {"utf-8 without mark is the legacy code page",
       "\xD0\x94\n",
       {u"\u00D0\u201D"},
       Encoding::kLegacy,
       "\xD0\x94\r\n"},
      {"utf-16 le",
       std::string("\xFF\xFE"
                   "a\0\n\0",
                   6),
       {u"a"},
       Encoding::kUtf16LE,
       std::string("\xFF\xFE"
                   "a\0\r\0\n\0",
                   8)},
      {"utf-16 be",
       std::string("\xFE\xFF\0a", 4),
       {u"a"},
       Encoding::kUtf16BE,
       std::string("\xFE\xFF\0a\0\r\0\n", 8)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(RoundTrip(c.bytes), c.saved);
    EXPECT_EQ(LinesOf(list), c.lines);
    EXPECT_EQ(list.remembered_encoding(), c.encoding);
  }
}

TEST_F(LineListFileTest, OpenErrorChangesNothing) {
  list.Add(u"kept");
  list.set_remembered_encoding(Encoding::kUtf8);
  EXPECT_EQ(MessageOf<OpenError>([&] { list.LoadFromFile(kBar, files); }),
            u"Cannot open file \"C:\\tc\\bars\\main.bar\". "
            u"The system cannot find the file specified");
  files.files[kBar] = "\xFF\xFE";
  files.Fail(kBar, MemoryFileSystem::Fault::kOpen);
  EXPECT_EQ(MessageOf<OpenError>([&] { list.LoadFromFile(kBar, files); }),
            u"Cannot open file \"C:\\tc\\bars\\main.bar\". The process cannot access the "
            u"file because it is being used by another process");
  EXPECT_EQ(LinesOf(list), (Lines{u"kept"}));
  EXPECT_EQ(list.remembered_encoding(), Encoding::kUtf8);
}

TEST_F(LineListFileTest, DecodingErrorKeepsLinesButRemembersTheEncoding) {
  struct Case {
    const char* name;
    std::string bytes;
    Encoding encoding;
  } cases[] = {
      {"one bad byte after good lines", "\xEF\xBB\xBF[Buttonbar]\r\nbutton1=\xFF\r\n",
       Encoding::kUtf8},
      {"utf-16 le mark and one byte",
       "\xFF\xFE"
       "a",
       Encoding::kUtf16LE},
      {"utf-16 be mark and one byte",
       "\xFE\xFF"
       "a",
       Encoding::kUtf16BE},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    list = ListOf({u"kept"});
    files.files[kBar] = c.bytes;
    EXPECT_EQ(MessageOf<DecodingError>([&] { list.LoadFromFile(kBar, files); }),
              u"No mapping for the Unicode character exists in the target multi-byte code "
              u"page");
    EXPECT_EQ(LinesOf(list), (Lines{u"kept"}));
    EXPECT_EQ(list.remembered_encoding(), c.encoding);
  }
}

TEST_F(LineListFileTest, UnmarkedUtf16IsRefusedRatherThanCut) {
  list.Add(u"kept");
  files.files[kBar] = std::string("[\0B\0\r\0\n\0", 8);
  EXPECT_EQ(MessageOf<BarFormatError>([&] { list.LoadFromFile(kBar, files); }),
            u"File \"C:\\tc\\bars\\main.bar\" holds NUL characters (UTF-16 text without a "
            u"byte-order mark?) and cannot be edited without losing them");
  EXPECT_EQ(LinesOf(list), (Lines{u"kept"}));

  // NULs alone after the cut lose nothing: an editor's padding at the end.
  files.files[kBar] = std::string("[Buttonbar]\r\nButtoncount=0\0\0\r\n\0\0\0", 32);
  list.LoadFromFile(kBar, files);
  EXPECT_EQ(LinesOf(list), (Lines{u"[Buttonbar]", u"Buttoncount=0", u""}));
}

TEST_F(LineListFileTest, TextTheCodePageLacksIsSavedAsUtf16) {
  ScopedCodePage cyrillic(1251);
  files.files[kBar] = "[Buttonbar]\r\nbutton1=\xC4\r\n";
  list.LoadFromFile(kBar, files);
  list.Add(u"menu1=\u4E2D\u6587 \u0414");
  list.SaveToFile(kBar, files);
  EXPECT_EQ(files.files[kBar].substr(0, 4), std::string("\xFF\xFE[\0", 4));

  LineList reloaded;
  reloaded.LoadFromFile(kBar, files);
  EXPECT_EQ(LinesOf(reloaded), LinesOf(list));
  EXPECT_EQ(reloaded.remembered_encoding(), Encoding::kUtf16LE);
}

TEST_F(LineListFileTest, FailedSaveLeavesTheOldFile) {
  files.files[kBar] = "old";
  list.Add(u"new");
  files.Fail(kBar, MemoryFileSystem::Fault::kCreate);
  EXPECT_EQ(MessageOf<CreateError>([&] { list.SaveToFile(kBar, files); }),
            u"Cannot create file \"C:\\tc\\bars\\main.bar\". Access is denied");
  files.Fail(kBar, MemoryFileSystem::Fault::kWrite);
  EXPECT_EQ(MessageOf<WriteError>([&] { list.SaveToFile(kBar, files); }), u"Stream write error");
  EXPECT_EQ(files.files[kBar], "old");
  EXPECT_TRUE(files.events.empty());

  files.Fail(kBar, MemoryFileSystem::Fault::kNone);
  list.SaveToFile(kBar, files);
  EXPECT_EQ(files.files[kBar], "new\r\n");
  EXPECT_EQ(files.events, (Lines{u"replace C:\\tc\\bars\\main.bar"}));
}

}  // namespace
}  // namespace bar
