#include "app/edit_field_win.h"

#include "app/control_text_win.h"

namespace app {

std::u16string EditField::Text() const {
  return control_ != nullptr ? ControlText(control_) : text_;
}

void EditField::SetText(const std::u16string& text) {
  if (control_ != nullptr) {
    SetControlText(control_, text);
    return;
  }
  text_ = text;
}

// Once the control holds the text, a copy here could only go stale.
void EditField::Attach(HWND control) {
  control_ = control;
  SetControlText(control_, text_);
  text_.clear();
}

}  // namespace app
