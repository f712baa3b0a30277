// Moves values between the settings record and the controls, and keeps every
// value label in step with its slider, by the rows of the control table.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "settings/wide_text.h"
#include "ui/accessible.h"
#include "ui/bindings.h"
#include "ui/layout.h"
#include "ui/main_window.h"
#include "ui/win_handles.h"

namespace zemlo::ui {

namespace {

int position(HWND slider) { return static_cast<int>(SendMessageW(slider, TBM_GETPOS, 0, 0)); }
int rangeMin(HWND slider) { return static_cast<int>(SendMessageW(slider, TBM_GETRANGEMIN, 0, 0)); }
int rangeMax(HWND slider) { return static_cast<int>(SendMessageW(slider, TBM_GETRANGEMAX, 0, 0)); }

bool isSlider(const ControlRow& row) {
  return row.kind == Kind::HSlider || row.kind == Kind::VSlider;
}

// The control's value as its binding reads it: a position, or 1 for checked.
int valueOf(const ControlRow& row, HWND control) {
  if (isSlider(row)) return position(control);
  return SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
}

std::string textOf(HWND label) { return narrow(windowText(label)); }

}  // namespace

void TForm1::showSliderValue(const ControlRow& slider) {
  if (const ControlRow* label = ui::rowOf(slider.valueLabel))
    setLabelText(*label, widen(slider.bind->valueText(position(handleOf(slider)))));
}

void TForm1::setSliderPosition(HWND slider, int newPosition) {
  newPosition = std::clamp(newPosition, rangeMin(slider), rangeMax(slider));
  if (newPosition == position(slider)) return;
  // Setting the position sends no notification: run the change handler here.
  SendMessageW(slider, TBM_SETPOS, TRUE, newPosition);
  onScroll(slider);
}

void TForm1::onScroll(HWND slider, bool moved) {
  // Every scroll notification runs the handler, even one that ends where it began;
  // a reader hears of the move once.
  const ControlRow* row = rowOf(slider);
  if (!row) return;
  showSliderValue(*row);
  if (moved) announce(row->kind, slider, EVENT_OBJECT_VALUECHANGE);
}

int TForm1::valueFor(const ControlRow& row, const Settings& record) const {
  const HWND control = handleOf(row);
  return isSlider(row)
             ? row.bind->value(record, rangeMin(control), rangeMax(control), position(control))
             : row.bind->value(record, 0, 1, 0);
}

void TForm1::showValue(const ControlRow& row, int value) {
  const HWND control = handleOf(row);
  if (isSlider(row)) return setSliderPosition(control, value);
  SendMessageW(control, BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
  announce(row.kind, control, EVENT_OBJECT_STATECHANGE);
}

void TForm1::updateGUI() {
  // Page by page, as the table lists them.
  for (const ControlRow& row : controlTable())
    if (row.bind) showValue(row, valueFor(row, settings));
  // Every label again, also where its slider did not move.
  for (const ControlRow& row : controlTable()) showSliderValue(row);
}

void TForm1::updateSettings() {
  // A labelled slider's setting is read back from its label, not its position:
  // the label shows the value rounded to the slider's step, and that decimal
  // is what is saved (a GlareStrength of 0.43 shows as 0.45 and saves as 0.45).
  for (const ControlRow& row : controlTable())
    if (row.bind)
      row.bind->store(settings, valueOf(row, handleOf(row)),
                      row.valueLabel ? textOf(handleOf(row.valueLabel)) : std::string());
}

}  // namespace zemlo::ui
