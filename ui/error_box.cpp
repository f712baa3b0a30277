#include "ui/error_box.h"

#include <stdexcept>

#include "settings/wide_text.h"
#include "ui/message_box.h"
#include "ui/titles.h"

namespace zemlo::ui {

std::wstring errorBoxText(const std::string& message) {
  std::wstring text = widen(message);
  if (!text.empty() && text.back() > L'.') text += L'.';
  return text;
}

void showUnhandledError() noexcept {
  try {
    std::string message = "Unknown error";
    try {
      throw;
    } catch (const std::exception& e) {
      message = e.what();
    } catch (...) {
    }
    const std::wstring text = errorBoxText(message);
    messageBox(nullptr, text.c_str(), kApplicationTitle, MB_OK | MB_ICONSTOP | MB_TASKMODAL);
  } catch (...) {
    // Out of memory while reporting: nothing sensible is left to do.
  }
}

}  // namespace zemlo::ui
