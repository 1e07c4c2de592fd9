// The two messages that tell the file manager to reload its bar: sent after
// every completed toggle, only once the files are saved, and never after a
// failure (see error_report_e2e_test.cpp).
#include <optional>
#include <string>
#include <vector>

#include "tests/e2e/bar_bytes.h"
#include "tests/e2e/file_manager_stand_in.h"
#include "tests/e2e/kelvane_test.h"

namespace e2e {
namespace {

class NotificationTest : public KelvaneTest {
 protected:
  void SetUp() override {
    KelvaneTest::SetUp();
    folder_.Write(kDefaultMainBar,
                  CrLfLines({"[Buttonbar]", "Buttoncount=1", "button1=a.exe", "cmd1=a"}));
    folder_.Write(L"Bar\\tools.bar",
                  CrLfLines({"[Buttonbar]", "Buttoncount=1", "button1=zip.ico", "cmd1=zip.exe"}));
  }

  // Exactly two reload commands arrived, and at each one every watched file
  // already held what it holds now that the program has ended.
  void ExpectTwoReloadsAfterSaving(const FileManagerStandIn& file_manager,
                                   const std::vector<std::wstring>& watched,
                                   WPARAM command = 2901) {
    const std::vector<ReceivedMessage> messages = file_manager.UserMessages();
    ASSERT_EQ(messages.size(), 2u) << Describe(messages);
    for (const ReceivedMessage& received : messages) {
      EXPECT_EQ(received.message, 1075u);
      EXPECT_EQ(received.wparam, command);
      EXPECT_EQ(received.lparam, 0);
      for (size_t i = 0; i < watched.size(); ++i) {
        const std::optional<std::string> now = folder_.Read(watched[i]);
        ASSERT_TRUE(received.files[i] && now);
        EXPECT_EQ(received.files[i]->size(), now->size()) << Utf8(watched[i]);
        EXPECT_EQ(*received.files[i], *now) << Utf8(watched[i]) << " was not saved yet";
      }
    }
  }
};

TEST_F(NotificationTest, EachToggleSendsTwoReloadsAfterItsFilesAreSaved) {
  const std::string main_before = *folder_.Read(kDefaultMainBar);
  {
    FileManagerStandIn file_manager({folder_.Path(kDefaultMainBar)});
    ASSERT_TRUE(Toggle(L"tools.bar"));
    ASSERT_NE(*folder_.Read(kDefaultMainBar), main_before);
    ExpectTwoReloadsAfterSaving(file_manager, {kDefaultMainBar});
  }
  {
    // The collapse writes the sub-bar first and the main bar last.
    FileManagerStandIn file_manager(
        {folder_.Path(kDefaultMainBar), folder_.Path(L"Bar\\tools.bar")});
    ASSERT_TRUE(Toggle(L"tools.bar"));
    ExpectTwoReloadsAfterSaving(file_manager, {kDefaultMainBar, L"Bar\\tools.bar"});
  }
}

// The vertical bar unfolds and folds in its own file, which the file
// manager reloads with its own command; the main bar stays as it is.
TEST_F(NotificationTest, VerticalToggleSendsTwoVerticalReloadsAfterSaving) {
  folder_.WriteSettings(L"Bar", kDefaultMainBar, L"Bar\\vertical.bar");
  const std::string vertical_before = *folder_.Read(kDefaultMainBar);
  folder_.Write(L"Bar\\vertical.bar", vertical_before);
  for (const wchar_t* arguments : {L"tools.bar /vertical", L"/VERTICAL tools.bar"}) {
    SCOPED_TRACE(Utf8(arguments));
    FileManagerStandIn file_manager(
        {folder_.Path(L"Bar\\vertical.bar"), folder_.Path(L"Bar\\tools.bar")});
    ASSERT_TRUE(Toggle(arguments));
    ExpectTwoReloadsAfterSaving(file_manager, {L"Bar\\vertical.bar", L"Bar\\tools.bar"}, 2944);
    EXPECT_TRUE(FileHolds(kDefaultMainBar, vertical_before));
  }
  EXPECT_TRUE(FileHolds(L"Bar\\vertical.bar",
                        CrLfLines({"[Buttonbar]", "Buttoncount=1", "cmd1=a", "button1=a.exe"})));
}

TEST_F(NotificationTest, WithoutAFileManagerTheToggleStillCompletes) {
  ASSERT_TRUE(Toggle(L"tools.bar"));
  EXPECT_TRUE(FileHolds(
      kDefaultMainBar,
      CrLfLines({"[Buttonbar]", "Buttoncount=3", "cmd1=a", "button1=a.exe", "button2=tools.barx1",
                 "cmd2=-2", "iconic2=0", "button3=zip.ico", "cmd3=zip.exe"})));
  ASSERT_TRUE(Toggle(L"tools.bar"));
  EXPECT_TRUE(FileHolds(kDefaultMainBar,
                        CrLfLines({"[Buttonbar]", "Buttoncount=1", "cmd1=a", "button1=a.exe"})));
}

}  // namespace
}  // namespace e2e
