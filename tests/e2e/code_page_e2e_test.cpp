// Toggles in the legacy code pages of Russian (1251), Chinese (936) and
// Japanese (932) systems. Under Wine a process takes its code page from its Linux locale,
// so these tests run in processes of their own (tests/e2e/CMakeLists.txt).
#include <string>
#include <vector>

#include "tests/e2e/bar_bytes.h"
#include "tests/e2e/build_paths.h"
#include "tests/e2e/kelvane_test.h"
#include "tests/e2e/program_folder.h"

namespace e2e {
namespace {

using Lines = std::vector<std::string>;

class CodePage1251Test : public KelvaneTest {
 protected:
  CodePage1251Test() : KelvaneTest(1251) {}
  std::string Cp1251(const Lines& lines) { return InCodePage(CrLfLines(lines), 1251); }
  void ExpectCyrillicRoundTrip(const testing_support::BarSet& set, const std::wstring& main_file,
                               const std::wstring& sub_file, int main_count);
};

TEST_F(CodePage1251Test, CyrillicBarsAndArgumentStayInTheCodePage) {
  folder_.Write(
      kDefaultMainBar,
      Cp1251({"[Buttonbar]", "Buttoncount=2", "button1=wcmicons.dll,3", "cmd1=cm_Edit",
              "menu1=Правка файла", "button2=notepad.exe", "cmd2=notepad.exe", "menu2=Блокнот"}));
  folder_.Write(
      L"Bar\\Инструменты.bar",
      Cp1251({"[Buttonbar]", "Buttoncount=2", "button1=7zFM.exe", "cmd1=7zFM.exe",
              "menu1=Архиватор", "button2=calc.exe", "cmd2=calc.exe", "menu2=Калькулятор"}));

  ASSERT_TRUE(Toggle(L"Инструменты.bar"));
  const std::string expanded = Cp1251(
      {"[Buttonbar]", "Buttoncount=5", "menu1=Правка файла", "cmd1=cm_Edit",
       "button1=wcmicons.dll,3", "menu2=Блокнот", "cmd2=notepad.exe", "button2=notepad.exe",
       "button3=Инструменты.barx1", "cmd3=-2", "iconic3=0", "button4=7zFM.exe", "cmd4=7zFM.exe",
       "menu4=Архиватор", "button5=calc.exe", "cmd5=calc.exe", "menu5=Калькулятор"});
  // The marker line, spelled out in bytes: the argument in code page 1251.
  ASSERT_NE(expanded.find("button3=\xC8\xED\xF1\xF2\xF0\xF3\xEC\xE5\xED\xF2\xFB.barx1\r\n"),
            std::string::npos);
  ASSERT_TRUE(FileHolds(kDefaultMainBar, expanded));

  ASSERT_TRUE(Toggle(L"Инструменты.bar"));
  EXPECT_TRUE(FileHolds(
      L"Bar\\Инструменты.bar",
      Cp1251({"[Buttonbar]", "Buttoncount=2", "menu1=Архиватор", "cmd1=7zFM.exe",
              "button1=7zFM.exe", "menu2=Калькулятор", "cmd2=calc.exe", "button2=calc.exe"})));
  EXPECT_TRUE(
      FileHolds(kDefaultMainBar, Cp1251({"[Buttonbar]", "Buttoncount=2", "menu1=Правка файла",
                                         "cmd1=cm_Edit", "button1=wcmicons.dll,3", "menu2=Блокнот",
                                         "cmd2=notepad.exe", "button2=notepad.exe"})));
}

// A file is written in its encoding only when that keeps every character;
// otherwise in UTF-16 with its mark, so that no toggle loses a character.
TEST_F(CodePage1251Test, FilesTheCodePageCannotHoldAreWrittenInUtf16) {
  struct Case {
    const char* menu;
    // The encoding of every file the two toggles write.
    std::string (*written)(const std::string& utf8);
  };
  const Case cases[] = {
      {"menu1=Калькулятор", [](const std::string& text) { return InCodePage(text, 1251); }},
      // 1251 has no Chinese: the main bar turns UTF-16 when the expand puts
      // it there, and stays so. The sub-bar comes back in its own UTF-8.
      {"menu1=计算器 Калькулятор", &Utf16LeWithBom},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.menu);
    const std::string menu = c.menu;
    folder_.Write(kDefaultMainBar, Cp1251({"[Buttonbar]", "Buttoncount=0"}));
    folder_.Write(
        L"Bar\\calc.bar",
        Utf8WithBom(CrLfLines({"[Buttonbar]", "Buttoncount=1", "button1=calc.exe", menu})));
    ASSERT_TRUE(Toggle(L"calc.bar"));
    EXPECT_TRUE(FileHolds(
        kDefaultMainBar,
        c.written(CrLfLines({"[Buttonbar]", "Buttoncount=2", "button1=calc.barx1", "cmd1=-2",
                             "iconic1=0", "button2=calc.exe", "menu2" + menu.substr(5)}))));
    ASSERT_TRUE(Toggle(L"calc.bar"));
    EXPECT_TRUE(FileHolds(L"Bar\\calc.bar", Utf8WithBom(CrLfLines({"[Buttonbar]", "Buttoncount=1",
                                                                   menu, "button1=calc.exe"}))));
    EXPECT_TRUE(FileHolds(kDefaultMainBar, c.written(CrLfLines({"[Buttonbar]", "Buttoncount=0"}))));
  }
}

// A Cyrillic main bar counting `main_count` and a Cyrillic sub-bar whose
// keys are letters and one digit (entries 1 to 3), both of `set`.
void CodePage1251Test::ExpectCyrillicRoundTrip(const testing_support::BarSet& set,
                                               const std::wstring& main_file,
                                               const std::wstring& sub_file, int main_count) {
  const auto main_bar = ReadFileBytes(BarFileIn(set, main_file));
  const auto sub_bar = ReadFileBytes(BarFileIn(set, sub_file));
  ASSERT_TRUE(main_bar && sub_bar);
  folder_.Write(kDefaultMainBar, *main_bar);
  folder_.Write(L"Bar\\misk.bar", *sub_bar);

  const int marker = main_count + 1;
  std::vector<std::string> block = {"button" + std::to_string(marker) + "=misk.barx1",
                                    "cmd" + std::to_string(marker) + "=-2",
                                    "iconic" + std::to_string(marker) + "=0"};
  for (const std::string& line : SplitLines(DecodedText(*sub_bar, 1251))) {
    if (line.empty() || line[0] == '[' || line.rfind("Buttoncount=", 0) == 0) continue;
    const size_t digit = line.find_first_of("123");
    block.push_back(line.substr(0, digit) + std::to_string(line[digit] - '0' + marker) +
                    line.substr(digit + 1));
  }
  ExpectRoundTrip(L"misk.bar", block);
}

TEST_F(CodePage1251Test, OwnBarsRoundTrip) {
  ExpectCyrillicRoundTrip(testing_support::OwnBars(), L"cp1251_lf.bar", L"cp1251_sub.bar", 8);
}

TEST_F(CodePage1251Test, RealWorldBarsRoundTrip) {
  const testing_support::BarSet set = testing_support::ExternalBars();
  if (!set.absence.empty()) GTEST_SKIP() << set.absence;
  ExpectCyrillicRoundTrip(set, L"007_kuznecov-default.bar", L"008_kuznecov-misk.bar", 60);
}

class CodePage936Test : public KelvaneTest {
 protected:
  CodePage936Test() : KelvaneTest(936) {}
  std::string Gbk(const Lines& lines) { return InCodePage(CrLfLines(lines), 936); }
  void ExpectChineseRoundTrip(const testing_support::BarSet& set, const std::wstring& main_file,
                              int main_count);
};

TEST_F(CodePage936Test, ChineseBarsAndArgumentStayInTheCodePage) {
  folder_.Write(kDefaultMainBar, Gbk({"[Buttonbar]", "Buttoncount=1", "button1=notepad.exe",
                                      "cmd1=notepad.exe", "menu1=记事本"}));
  folder_.Write(L"Bar\\工具.bar", Gbk({"[Buttonbar]", "Buttoncount=1", "button1=calc.exe",
                                       "cmd1=calc.exe", "menu1=计算器"}));

  ASSERT_TRUE(Toggle(L"工具.bar"));
  ASSERT_TRUE(FileHolds(kDefaultMainBar,
                        Gbk({"[Buttonbar]", "Buttoncount=3", "menu1=记事本", "cmd1=notepad.exe",
                             "button1=notepad.exe", "button2=工具.barx1", "cmd2=-2", "iconic2=0",
                             "button3=calc.exe", "cmd3=calc.exe", "menu3=计算器"})));
  // 工具 in GBK.
  ASSERT_NE(folder_.Read(kDefaultMainBar)->find("button2=\xB9\xA4\xBE\xDF.barx1"),
            std::string::npos);

  ASSERT_TRUE(Toggle(L"工具.bar"));
  EXPECT_TRUE(FileHolds(L"Bar\\工具.bar", Gbk({"[Buttonbar]", "Buttoncount=1", "menu1=计算器",
                                               "cmd1=calc.exe", "button1=calc.exe"})));
  EXPECT_TRUE(FileHolds(kDefaultMainBar, Gbk({"[Buttonbar]", "Buttoncount=1", "menu1=记事本",
                                              "cmd1=notepad.exe", "button1=notepad.exe"})));
}

// A Chinese main bar counting `main_count`, of `set`.
void CodePage936Test::ExpectChineseRoundTrip(const testing_support::BarSet& set,
                                             const std::wstring& main_file, int main_count) {
  const auto main_bar = ReadFileBytes(BarFileIn(set, main_file));
  ASSERT_TRUE(main_bar);
  folder_.Write(kDefaultMainBar, *main_bar);
  folder_.Write(L"Bar\\工具.bar", Gbk({"[Buttonbar]", "Buttoncount=1", "button1=calc.exe",
                                       "cmd1=calc.exe", "menu1=计算器"}));
  const std::string marker = std::to_string(main_count + 1);
  const std::string calc = std::to_string(main_count + 2);
  ExpectRoundTrip(L"工具.bar", {"button" + marker + "=工具.barx1", "cmd" + marker + "=-2",
                                "iconic" + marker + "=0", "button" + calc + "=calc.exe",
                                "cmd" + calc + "=calc.exe", "menu" + calc + "=计算器"});
}

TEST_F(CodePage936Test, OwnMainBarRoundTrips) {
  ExpectChineseRoundTrip(testing_support::OwnBars(), L"cp936_crlf.bar", 6);
}

TEST_F(CodePage936Test, RealWorldMainBarRoundTrips) {
  const testing_support::BarSet set = testing_support::ExternalBars();
  if (!set.absence.empty()) GTEST_SKIP() << set.absence;
  ExpectChineseRoundTrip(set, L"002_chchoiw-default-gbk.bar", 42);
}

class CodePage932Test : public KelvaneTest {
 protected:
  CodePage932Test() : KelvaneTest(932) {}
  std::string Sjis(const Lines& lines) { return InCodePage(CrLfLines(lines), 932); }
};

// Ⅰ has two byte forms in code page 932, both common in Japanese text; the
// one the file had loads, and the save writes the usual one.
TEST_F(CodePage932Test, ACharacterWithTwoByteFormsToggles) {
  const std::string usual = Sjis({"menu1=Ⅰ メモ帳"});
  ASSERT_EQ(usual.substr(6, 2), "\x87\x54");
  std::string other = usual;
  other.replace(6, 2, "\xFA\x4A");
  folder_.Write(kDefaultMainBar, "[Buttonbar]\r\nButtoncount=1\r\n" + other);
  folder_.Write(L"Bar\\ツール.bar",
                Sjis({"[Buttonbar]", "Buttoncount=1", "button1=calc.exe", "menu1=電卓"}));

  ASSERT_TRUE(Toggle(L"ツール.bar"));
  ASSERT_TRUE(Toggle(L"ツール.bar"));
  EXPECT_TRUE(FileHolds(kDefaultMainBar, "[Buttonbar]\r\nButtoncount=1\r\n" + usual));
  EXPECT_TRUE(FileHolds(L"Bar\\ツール.bar",
                        Sjis({"[Buttonbar]", "Buttoncount=1", "menu1=電卓", "button1=calc.exe"})));
}

}  // namespace
}  // namespace e2e
