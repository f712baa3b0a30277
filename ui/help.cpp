// Context help: moving the mouse over a control, or the keyboard focus on it,
// explains it in its page's pane.
#include <string>

#include "ui/help_texts.h"
#include "ui/layout.h"
#include "ui/main_window.h"
#include "ui/win_handles.h"

namespace zemlo::ui {

namespace {

// Replaces the pane's text unless it already shows exactly that, so caret,
// selection and scroll position stay put while the mouse keeps moving.
void showInPane(HWND pane, const std::wstring& text) {
  if (windowText(pane) != text) SetWindowTextW(pane, text.c_str());
}

// The label under a point of its container: labels let the mouse through to
// their parent, so the parent finds which one it is over.
HWND labelAt(HWND container, POINT pt) {
  for (HWND child = GetWindow(container, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t cls[16] = {};
    GetClassNameW(child, cls, 16);
    if (lstrcmpiW(cls, L"Static") != 0 || !(GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE))
      continue;
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(HWND_DESKTOP, container, reinterpret_cast<POINT*>(&r), 2);
    if (PtInRect(&r, pt)) return child;
  }
  return nullptr;
}

}  // namespace

std::wstring paneText(const char* text) {
  std::wstring out;
  for (const char* c = text; *c; ++c) {
    if (*c == '\r' || *c == '\n') {
      if (*c == '\r' && c[1] == '\n') ++c;
      out += L"\r\n";
    } else {
      out += static_cast<unsigned char>(*c);
    }
  }
  return out;
}

void TForm1::mouseMove(HWND control, int x, int y) {
  if (HWND label = labelAt(control, POINT{x, y})) control = label;
  if (const ControlRow* row = rowOf(control)) showHelp(*row);
}

void TForm1::showFocusHelp(const ControlRow& row) {
  // Hovering over a slider shows nothing; focused, it shows what hovering over
  // its caption label or group shows, where either has help.
  const bool slider = row.kind == Kind::HSlider || row.kind == Kind::VSlider;
  if (const ControlRow* shown = slider ? helpSource(row) : &row) showHelp(*shown);
}

void TForm1::showHelp(const ControlRow& row) {
  // The help panes, one a page, last page first: the order a clearing empties them.
  for (auto pane = controlTable().rbegin(); pane != controlTable().rend(); ++pane) {
    if (pane->kind != Kind::HelpPane) continue;
    const bool own = pageOf(*pane) == pageOf(row);
    if (row.help && own)
      showInPane(handleOf(*pane), paneText(row.help));
    else if (row.clears == Clears::AllPanes || (row.clears == Clears::OwnPane && own))
      showInPane(handleOf(*pane), L"");
  }
}

}  // namespace zemlo::ui
