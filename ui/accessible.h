// What a screen reader learns of a control: its name, role, value, state and
// help, answered for the control's client area whenever a reader asks.
#pragma once

#include <windows.h>

#include <string>

#include "ui/control_kinds.h"

namespace zemlo::ui {

struct ControlRow;

// The name a reader speaks: the control's caption, or its caption label's,
// or its group's; '&' marks and outer blanks left out. Where like neighbours
// share a caption, the group's caption, ": " and what tells them apart. Empty:
// none.
std::wstring accessibleName(const ControlRow& row);

// Makes `control` answer WM_GETOBJECT for its client area as its row says.
void answerAccessibility(HWND control, const ControlRow& row);

// Starts watching the WinEvents the window's controls raise (ui/announce.cpp);
// false where that cannot be done.
bool watchChanges();
// Tells a reader of a change to a control of `kind` (child: its element, as a
// page tab) by a WinEvent, raised once the window's queued messages have run
// (raiseWaitingAnnouncements), unless controls of that kind raise it themselves.
void announce(Kind kind, HWND control, DWORD event, LONG child = CHILDID_SELF);
void raiseWaitingAnnouncements();

}  // namespace zemlo::ui
