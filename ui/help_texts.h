// The context help: which control explains itself in which help pane, and
// which group box backgrounds clear the panes.
#pragma once

#include <span>

#include "ui/main_window.h"

namespace zemlo::ui {

struct HelpEntry {
  const char* handler;  // the mouse-move handler's name
  ControlField control;
  ControlField pane;
  const char* text;  // "\r" breaks lines; two end a paragraph
};

struct ClearEntry {
  const char* handler;
  ControlField control;
  ControlField panes[3];  // emptied in this order; unused slots are null
};

std::span<const HelpEntry> helpTable();
std::span<const ClearEntry> clearTable();

// The text as the pane holds it: every CR, LF or CR LF becomes CR LF.
std::wstring paneText(const char* text);

}  // namespace zemlo::ui
