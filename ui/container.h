// The window class behind pages, group boxes, panels, the bevel and the
// picture: real parents whose children's notifications reach the form, and
// whose mouse moves reach the form's help handlers.
#pragma once

#include <windows.h>

#include "ui/control_kinds.h"

namespace zemlo::ui {

inline constexpr wchar_t kContainerClass[] = L"ZemloContainer";

// Sent to the form: a mouse move over a control. wParam: the control's HWND;
// lParam: MAKELPARAM(x, y) in the control's client area.
inline constexpr UINT kMsgControlMouseMove = WM_APP + 1;
// Sent to the form to paint the picture control. wParam: HDC; lParam: its HWND.
inline constexpr UINT kMsgPaintPicture = WM_APP + 2;
// Sent to the form: a control got the keyboard focus. wParam: the control's HWND.
inline constexpr UINT kMsgControlFocus = WM_APP + 3;
// Posted to the form by a change a reader is to hear of (ui/announce.cpp).
inline constexpr UINT kMsgAnnounce = WM_APP + 4;

void registerContainerClass(HINSTANCE instance);
HWND createContainer(Kind kind, BevelStyle bevel, HWND parent, const Rect& r,
                     const wchar_t* caption, HINSTANCE instance);

// Makes a control report its mouse moves and its focus to the form.
void reportToForm(HWND control);

}  // namespace zemlo::ui
