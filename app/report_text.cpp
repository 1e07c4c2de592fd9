#include "app/report_text.h"

namespace app {

std::u16string ReportText(const std::u16string& message) {
  if (message.empty() || message.back() <= u'.') return message;
  return message + u'.';
}

}  // namespace app
