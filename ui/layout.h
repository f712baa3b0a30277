// The window described as data: every control with its kind, parent, place,
// size, caption and options, in the same shape as the window's layout tables.
#pragma once

#include <span>

#include "ui/control_kinds.h"
#include "ui/main_window.h"

namespace zemlo::ui {

// One row of the control table.
struct ControlRow {
  ControlField field;
  const wchar_t* name;
  Kind kind;
  ControlField parent;  // nullptr: the form itself
  int tabOrder;         // within the parent; -1 for controls that take no focus
  Rect rect;            // 96-DPI pixels in the parent's client area
  const wchar_t* caption = L"";
  Font font = Font::Inherit;
  SliderRange slider = {};
  Glyph glyph = Glyph::None;
  BevelStyle bevel = BevelStyle::None;
};

// Every control of the window, pages in page order, parents before children.
std::span<const ControlRow> controlTable();

inline constexpr wchar_t kFormCaption[] = L"ZEMLO Конфигуратор";
inline constexpr int kClientWidth = 512, kClientHeight = 405;
inline constexpr int kFormLeft = 189, kFormTop = 102;

}  // namespace zemlo::ui
