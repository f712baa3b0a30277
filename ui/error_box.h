// The error box: how the program shows an error that no handler caught.
#pragma once

#include <string>

namespace zemlo::ui {

// The text shown for an error message: UTF-8 in, with a full stop appended
// when the last character sorts after it (letters, digits).
std::wstring errorBoxText(const std::string& message);

// Shows the current exception in an error box modal to the application and
// returns, so the event loop goes on. Call only from inside a catch block.
void showUnhandledError() noexcept;

}  // namespace zemlo::ui
