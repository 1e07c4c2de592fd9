#include "app/edit_field_win.h"

#include <windows.h>

#include <string>

#include "gtest/gtest.h"

namespace app {
namespace {

// A real, hidden edit control of its own, destroyed with the test. It starts
// with a text of its own, which attaching must replace.
class EditControl {
 public:
  EditControl()
      : control_(CreateWindowExW(0, L"Edit", L"from the control", WS_POPUP | ES_AUTOHSCROLL, 0, 0,
                                 100, 20, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr)) {}
  ~EditControl() {
    if (control_ != nullptr) DestroyWindow(control_);
  }
  EditControl(const EditControl&) = delete;
  EditControl& operator=(const EditControl&) = delete;

  HWND get() const { return control_; }

  // What the control itself holds, as the user sees it.
  std::u16string Shown() const {
    wchar_t text[256] = {};
    int length = GetWindowTextW(control_, text, 256);
    return std::u16string(text, text + length);
  }

 private:
  HWND control_;
};

TEST(EditFieldTest, KeptTextGoesIntoTheControlExactly) {
  const struct {
    const char* name;
    std::u16string text;
  } cases[] = {
      {"default bar folder", u"Bar"},
      {"empty", u""},
      {"default main bar", u"Bar\\000_Osnovnaja.bar"},
      {"Cyrillic and a surrogate pair", u"Панели\\осн 𝄞.bar"},
  };
  for (const auto& [name, text] : cases) {
    SCOPED_TRACE(name);
    EditControl control;
    ASSERT_NE(control.get(), nullptr);
    EditField field;
    field.SetText(text);
    EXPECT_EQ(field.Text(), text);

    field.Attach(control.get());
    EXPECT_EQ(control.Shown(), text);
    EXPECT_EQ(field.Text(), text);
  }
}

TEST(EditFieldTest, AttachedFieldIsTheControlsText) {
  EditControl control;
  ASSERT_NE(control.get(), nullptr);
  EditField field;
  field.SetText(u"Bar");
  field.Attach(control.get());

  SetWindowTextW(control.get(), L"Typed Bars");  // as the user leaves it
  EXPECT_EQ(field.Text(), u"Typed Bars");

  field.SetText(u"Chosen");  // as a "Find" button sets it
  EXPECT_EQ(control.Shown(), u"Chosen");
  EXPECT_EQ(field.Text(), u"Chosen");
}

}  // namespace
}  // namespace app
