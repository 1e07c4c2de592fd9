// An edit field of the settings window whose text exists before the field
// does. A toggle run takes its paths from the texts of Edit3 and Edit4, yet a
// toggle that succeeds ends without ever creating the window; until the
// window is created, the text is kept here.
#ifndef KELVANE_APP_EDIT_FIELD_WIN_H_
#define KELVANE_APP_EDIT_FIELD_WIN_H_

#include <windows.h>

#include <string>

namespace app {

class EditField {
 public:
  // The field's text: the control's own (typed or set) once attached, the
  // kept text before.
  std::u16string Text() const;
  void SetText(const std::u16string& text);

  // The field's control now exists: it is given the text kept so far and
  // holds the text from now on. The control belongs to its parent window.
  void Attach(HWND control);

 private:
  HWND control_ = nullptr;
  std::u16string text_;
};

}  // namespace app

#endif  // KELVANE_APP_EDIT_FIELD_WIN_H_
