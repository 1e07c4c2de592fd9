// Real-world main bars, as users' file managers saved them, through a whole
// expand and collapse: line ends, encodings and every line survive.
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
  const wchar_t* file;
  int button_count;
};

// Names the case in failure messages.
void PrintTo(const CorpusCase& test_case, std::ostream* os) { *os << Utf8(test_case.file); }

class CorpusMainBarTest : public KelvaneTest, public testing::WithParamInterface<CorpusCase> {};

TEST_P(CorpusMainBarTest, ExpandAndCollapseKeepEveryLine) {
  const auto bytes = ReadFileBytes(CorpusFile(GetParam().file));
  ASSERT_TRUE(bytes) << "missing corpus file " << Utf8(GetParam().file);
  folder_.Write(kDefaultMainBar, *bytes);
  folder_.Write(L"Bar\\tools.bar",
                CrLfLines({"[Buttonbar]", "Buttoncount=2", "button1=zip.ico", "cmd1=zip.exe",
                           "iconic1=0", "button2=ftp.ico", "cmd2=ftp.exe", "iconic2=1"}));

  ExpectRoundTrip(L"tools.bar", ToolsBlock(GetParam().button_count));
}

// Chosen for their variety: LF line ends, keys of one entry scattered,
// UTF-16 with Chinese texts, code page 1252 texts, UTF-8 without a mark
// (read byte by byte in the legacy code page), and the largest bars.
INSTANTIATE_TEST_SUITE_P(RealWorld, CorpusMainBarTest,
                         testing::Values(CorpusCase{L"014_binesiyu-shipped-default.bar", 26},
                                         CorpusCase{L"001_sergvcx-default.bar", 36},
                                         CorpusCase{L"016_binesiyu-user-default.bar", 42},
                                         CorpusCase{L"040_steegher-win7-4-eng.bar", 32},
                                         CorpusCase{L"009_kuznecov-ultra-tc-editor.bar", 7},
                                         CorpusCase{L"035_xqute-iconbar.bar", 92}),
                         [](const auto& info) {
                           const std::wstring file = info.param.file;
                           return "File" + Utf8(file.substr(0, 3));
                         });

}  // namespace
}  // namespace e2e
