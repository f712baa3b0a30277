// The controls the window's code names: its buttons, the tab control, the help
// panes and the About page. The window holds them privately, and the control
// table points into them without knowing the window; every other control it
// finds by its row.
#pragma once

#include <windows.h>

namespace zemlo::ui {

struct FormControls {
  HWND Form1 = nullptr;
  HWND BitBtn1 = nullptr, BitBtn2 = nullptr, BitBtn3 = nullptr;
  HWND PageControl1 = nullptr;
  HWND Help1 = nullptr, Help2 = nullptr, Help3 = nullptr;
  HWND Panel1 = nullptr, Panel2 = nullptr, Bevel2 = nullptr, Image1 = nullptr, Memo1 = nullptr;
};

// A control of the window, as a member.
using ControlField = HWND FormControls::*;

}  // namespace zemlo::ui
