// The window described as data: every control with its kind, parent, place,
// size, caption and options, in the same shape as the window's layout tables.
#pragma once

#include <span>

#include "ui/main_window.h"

namespace zemlo::ui {

enum class Kind {
  Button,      // push button with a glyph
  Tabs,        // the tab control
  Page,        // one page of the tab control
  GroupBox,    // framed, captioned container
  CheckBox,
  Label,       // sizes itself to its text
  FixedLabel,  // keeps its size, centres its text
  HSlider,
  VSlider,
  HelpPane,    // borderless, editable multi-line text
  Panel,       // container with a bevel
  Bevel,       // a lowered frame drawn by its parent
  Image,       // the About picture
  Memo,        // read-only, centred multi-line text
};

enum class Font { Inherit, Default, Small, Help, Memo };
enum class Glyph { None, Yes, Retry, Close };
enum class BevelStyle { None, Lowered, Raised };

struct Rect {
  int x, y, w, h;
};

struct SliderRange {
  int min, max, page, tickStep, thumb, initial;
};



struct ControlSpec {
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
std::span<const ControlSpec> controlTable();

inline constexpr wchar_t kFormCaption[] = L"ZEMLO Конфигуратор";
inline constexpr int kClientWidth = 512, kClientHeight = 405;
inline constexpr int kFormLeft = 189, kFormTop = 102;

}  // namespace zemlo::ui
