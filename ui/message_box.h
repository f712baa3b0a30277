// Every message box of the program goes through here, so that tests can
// answer them instead of a person.
#pragma once

#include <windows.h>

namespace zemlo::ui {

using MessageBoxFunction = int(WINAPI*)(HWND owner, const wchar_t* text, const wchar_t* caption,
                                        UINT type);

int messageBox(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type);

// Replaces the function behind messageBox; returns the previous one.
MessageBoxFunction setMessageBoxFunction(MessageBoxFunction function);

}  // namespace zemlo::ui
