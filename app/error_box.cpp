#include "app/error_box.h"

#include <windows.h>

#include <stdexcept>

#include "ui/message_box.h"

namespace zemlo::app {

namespace {

std::wstring widen(const std::string& utf8) {
  if (utf8.empty()) return {};
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
  return wide;
}

}  // namespace

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
    ui::messageBox(nullptr, text.c_str(), kApplicationTitle, MB_OK | MB_ICONSTOP | MB_TASKMODAL);
  } catch (...) {
    // Out of memory while reporting: nothing sensible is left to do.
  }
}

}  // namespace zemlo::app
