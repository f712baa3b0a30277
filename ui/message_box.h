// Every message box and context menu of the program goes through here, so
// that tests can answer them instead of a person.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace zemlo::ui {

using MessageBoxFunction = int(WINAPI*)(HWND owner, const wchar_t* text, const wchar_t* caption,
                                        UINT type);

int messageBox(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type);

// Replaces the function behind messageBox; returns the previous one.
MessageBoxFunction setMessageBoxFunction(MessageBoxFunction function);

using PopupMenuFunction = int (*)(HWND owner, POINT at, const std::vector<std::wstring>& items);

// A context menu of `items` at `at` (screen); the index chosen, or -1.
int popupMenu(HWND owner, POINT at, const std::vector<std::wstring>& items);

// Replaces the function behind popupMenu; returns the previous one.
PopupMenuFunction setPopupMenuFunction(PopupMenuFunction function);

}  // namespace zemlo::ui
