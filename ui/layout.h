// The window described as data: every control with its kind, parent, place,
// size and caption, and for those that have them the setting it shows and
// its help, in the same shape as the window's layout tables.
#pragma once

#include <span>

#include "ui/control_kinds.h"
#include "ui/form_controls.h"

namespace zemlo::ui {

struct Binding;  // ui/bindings.h

// What the background of a group box does to the help panes.
enum class Clears { Nothing, OwnPane, AllPanes };

// One row of the control table: one control, all it is.
// Rows name other rows by their controls' names ("GroupBox4").
struct ControlRow {
  ControlField field;  // the window's member for the controls its code names; else null
  const wchar_t* name;
  Kind kind;
  const wchar_t* parent;  // nullptr: the form itself
  int tabOrder;           // within the parent; -1 for controls that take no focus
  Rect rect;              // 96-DPI pixels in the parent's client area
  const wchar_t* caption = L"";
  Font font = Font::Inherit;
  SliderRange slider = {};
  Glyph glyph = Glyph::None;
  BevelStyle bevel = BevelStyle::None;
  const Binding* bind = nullptr;        // check boxes and sliders: the setting(s) shown
  const wchar_t* valueLabel = nullptr;  // a slider's value label, where it has one
  const wchar_t* namedBy = nullptr;     // a slider's caption label; none: its group's caption
  const char* help = nullptr;           // shown in its page's help pane (ui/help_texts.h)
  Clears clears = Clears::Nothing;      // group boxes whose background empties panes
  // Where like neighbours share a caption, a reader names each by its group's
  // caption and this: a slider's colour channel, or the control's own caption.
  const wchar_t* nameInGroup = nullptr;
};

// Every control of the window, pages in page order, parents before children.
std::span<const ControlRow> controlTable();
// The row of the control named `name`; null for none.
const ControlRow* rowOf(const wchar_t* name);
// A row's place in the table, by which the window keeps its control.
inline std::size_t indexOf(const ControlRow& row) { return &row - controlTable().data(); }

inline constexpr int kPageCount = 4;
// The page (0 .. kPageCount - 1) a control lies on; -1 for those outside the pages.
int pageOf(const ControlRow& row);

// The row whose help explains a control, as a sighted player finds it by
// hovering: the control's own, else its caption label's, else its group's.
// Null where none of them has help.
const ControlRow* helpSource(const ControlRow& row);

inline constexpr int kClientWidth = 512, kClientHeight = 405;
inline constexpr int kFormLeft = 189, kFormTop = 102;

}  // namespace zemlo::ui
