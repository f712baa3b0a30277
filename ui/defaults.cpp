// The way back to the defaults: a check box's or slider's context menu offers
// its setting's default, a page's background all of that page's. Only the
// controls change, as by hand; the file waits for Save.
#include <windows.h>

#include <string>
#include <vector>

#include "settings/settings.h"
#include "ui/bindings.h"
#include "ui/layout.h"
#include "ui/main_window.h"
#include "ui/message_box.h"

namespace zemlo::ui {

namespace {

// A value as its control shows it: a slider's as its value label, a check box's as on or off.
std::wstring shown(const ControlRow& row, int value) {
  if (row.kind == Kind::CheckBox) return value ? L"вкл." : L"выкл.";
  const std::string text = row.bind->valueText(value);
  return std::wstring(text.begin(), text.end());  // digits, '.', 'x'
}

}  // namespace

void TForm1::contextMenu(HWND control, LPARAM where) {
  const ControlRow* row = rowOf(control);
  if (!row) return;
  POINT at{static_cast<short>(LOWORD(where)), static_cast<short>(HIWORD(where))};
  if (where == -1) {  // from the keyboard: below the control
    RECT r;
    GetWindowRect(control, &r);
    at = {r.left, r.bottom};
  }
  if (row->bind) {
    const int value = valueFor(*row, defaultSettings());
    if (popupMenu(Form1, at, {L"По умолчанию: " + shown(*row, value)}) == 0) showValue(*row, value);
    return;
  }
  if (row->kind != Kind::Page && row->kind != Kind::GroupBox) return;
  const int page = pageOf(*row);
  std::vector<const ControlRow*> onPage;
  for (const ControlRow& r : controlTable())
    if (r.bind && pageOf(r) == page) onPage.push_back(&r);
  if (!onPage.empty() && popupMenu(Form1, at, {L"Все настройки страницы по умолчанию"}) == 0)
    for (const ControlRow* r : onPage) showValue(*r, valueFor(*r, defaultSettings()));
}

}  // namespace zemlo::ui
