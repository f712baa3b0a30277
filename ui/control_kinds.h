// The vocabulary of the window's control table: kinds of control, fonts,
// glyphs, bevels and geometry. No window here, so the pieces that build
// controls (fonts, glyphs, containers) need not know the window.
#pragma once

namespace zemlo::ui {

enum class Kind {
  Button,    // push button with a glyph
  Tabs,      // the tab control
  Page,      // one page of the tab control
  GroupBox,  // framed, captioned container
  CheckBox,
  Label,       // sizes itself to its text
  FixedLabel,  // keeps its size, centres its text
  HSlider,
  VSlider,
  HelpPane,  // borderless, editable multi-line text
  Panel,     // container with a bevel
  Bevel,     // a lowered frame drawn by its parent
  Image,     // the About picture
  Memo,      // read-only, centred multi-line text
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

}  // namespace zemlo::ui
