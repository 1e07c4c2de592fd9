// Main bars of every shape, the project's own and real users' (as their
// file managers saved them), through a whole expand and collapse: line
// ends, encodings and every line survive.
#include <ostream>
#include <string>
#include <vector>

#include "tests/e2e/bar_bytes.h"
#include "tests/e2e/build_paths.h"
#include "tests/e2e/kelvane_test.h"
#include "tests/e2e/program_folder.h"

namespace e2e {
namespace {

// The expanded block of the tools sub-bar below, behind `own_count` own
// entries.
std::vector<std::string> ToolsBlock(int own_count) {
  const std::string marker = std::to_string(own_count + 1);
  const std::string zip = std::to_string(own_count + 2);
  const std::string ftp = std::to_string(own_count + 3);
  return {"button" + marker + "=tools.barx1", "cmd" + marker + "=-2",   "iconic" + marker + "=0",
          "button" + zip + "=zip.ico",        "cmd" + zip + "=zip.exe", "iconic" + zip + "=0",
          "button" + ftp + "=ftp.ico",        "cmd" + ftp + "=ftp.exe", "iconic" + ftp + "=1"};
}

struct CorpusCase {
  testing_support::BarSet (*set)();
  const wchar_t* file;
  int button_count;
};

// Names the case in failure messages.
void PrintTo(const CorpusCase& test_case, std::ostream* os) { *os << Utf8(test_case.file); }

class CorpusMainBarTest : public KelvaneTest, public testing::WithParamInterface<CorpusCase> {};

TEST_P(CorpusMainBarTest, ExpandAndCollapseKeepEveryLine) {
  const testing_support::BarSet set = GetParam().set();
  if (!set.absence.empty()) GTEST_SKIP() << set.absence;
  const auto bytes = ReadFileBytes(BarFileIn(set, GetParam().file));
  ASSERT_TRUE(bytes) << "missing bar file " << Utf8(GetParam().file);
  folder_.Write(kDefaultMainBar, *bytes);
  folder_.Write(L"Bar\\tools.bar",
                CrLfLines({"[Buttonbar]", "Buttoncount=2", "button1=zip.ico", "cmd1=zip.exe",
                           "iconic1=0", "button2=ftp.ico", "cmd2=ftp.exe", "iconic2=1"}));

  ExpectRoundTrip(L"tools.bar", ToolsBlock(GetParam().button_count));
}

std::string CaseName(const testing::TestParamInfo<CorpusCase>& info) {
  return testing_support::TestNameFor(Utf8(info.param.file));
}

// Chosen for their variety: LF line ends, keys of one entry scattered,
// UTF-16 with Chinese texts, code page 1252 texts, UTF-8 without a mark
// (read byte by byte in the legacy code page), a count above the highest
// number, a blank line before the header, no final line break, long lines
// and the largest bars.
using testing_support::ExternalBars;
using testing_support::OwnBars;
INSTANTIATE_TEST_SUITE_P(OwnBars, CorpusMainBarTest,
                         testing::Values(CorpusCase{OwnBars, L"plain_crlf.bar", 10},
                                         CorpusCase{OwnBars, L"lf_keys.bar", 7},
                                         CorpusCase{OwnBars, L"scattered_keys.bar", 6},
                                         CorpusCase{OwnBars, L"utf16_crlf.bar", 6},
                                         CorpusCase{OwnBars, L"cp1252_lf.bar", 5},
                                         CorpusCase{OwnBars, L"utf8_no_mark.bar", 4},
                                         CorpusCase{OwnBars, L"count_above.bar", 7},
                                         CorpusCase{OwnBars, L"utf16_leading_blank.bar", 20},
                                         CorpusCase{OwnBars, L"long_lines.bar", 2},
                                         CorpusCase{OwnBars, L"large.bar", 60}),
                         CaseName);
INSTANTIATE_TEST_SUITE_P(
    RealWorld, CorpusMainBarTest,
    testing::Values(CorpusCase{ExternalBars, L"014_binesiyu-shipped-default.bar", 26},
                    CorpusCase{ExternalBars, L"001_sergvcx-default.bar", 36},
                    CorpusCase{ExternalBars, L"016_binesiyu-user-default.bar", 42},
                    CorpusCase{ExternalBars, L"040_steegher-win7-4-eng.bar", 32},
                    CorpusCase{ExternalBars, L"009_kuznecov-ultra-tc-editor.bar", 7},
                    CorpusCase{ExternalBars, L"035_xqute-iconbar.bar", 92}),
    CaseName);

}  // namespace
}  // namespace e2e
