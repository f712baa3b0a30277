// Keyboard handling of the whole window: Tab order, the default button,
// the buttons' accelerators, page switching with Ctrl+Tab and the context
// menu key (or Shift+F10).
// Done here rather than by IsDialogMessage: the window's keys are not a dialog's
// (Esc does nothing, Ctrl+Tab turns pages), and Wine's dialog manager misses Alt+В.
#include <windows.h>

#include <commctrl.h>

#include "ui/container.h"
#include "ui/layout.h"
#include "ui/main_window.h"

namespace zemlo::ui {

namespace {

bool isClass(HWND hwnd, const wchar_t* name) {
  wchar_t cls[64] = {};
  GetClassNameW(hwnd, cls, 64);
  return lstrcmpiW(cls, name) == 0;
}

bool takesText(HWND hwnd) { return hwnd && isClass(hwnd, WC_EDITW); }

wchar_t upper(wchar_t c) {
  CharUpperBuffW(&c, 1);
  return c;
}

wchar_t mnemonicOf(HWND button) {
  wchar_t caption[64] = {};
  GetWindowTextW(button, caption, 64);
  for (const wchar_t* c = caption; c[0] && c[1]; ++c) {
    if (c[0] == L'&' && c[1] != L'&') return c[1];
    if (c[0] == L'&') ++c;
  }
  return 0;
}

void collectTabStops(HWND parent, std::vector<HWND>& out) {
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!IsWindowVisible(child) || !IsWindowEnabled(child)) continue;
    if (GetWindowLongW(child, GWL_STYLE) & WS_TABSTOP) out.push_back(child);
    if (GetWindow(child, GW_CHILD) &&
        (isClass(child, kContainerClass) || isClass(child, WC_TABCONTROLW)))
      collectTabStops(child, out);
  }
}

}  // namespace

std::vector<HWND> TForm1::tabStops(HWND root) const {
  std::vector<HWND> stops;
  collectTabStops(root, stops);
  return stops;
}

void TForm1::moveFocus(bool backwards) {
  const std::vector<HWND> stops = tabStops(Form1);
  if (stops.empty()) return;
  HWND focus = GetFocus();
  std::size_t index = stops.size();
  for (std::size_t i = 0; i < stops.size(); ++i)
    if (stops[i] == focus) index = i;
  std::size_t next;
  if (index == stops.size())
    next = backwards ? stops.size() - 1 : 0;
  else
    next = backwards ? (index + stops.size() - 1) % stops.size() : (index + 1) % stops.size();
  SetFocus(stops[next]);
  // A text box entered by Tab has its whole text selected, as in a dialog.
  if (takesText(stops[next])) SendMessageW(stops[next], EM_SETSEL, 0, -1);
}

void TForm1::syncDefaultButton() {
  // The focused button is the default one; elsewhere Save is.
  const ControlRow* focused = rowOf(GetFocus());
  HWND chosen = focused && focused->kind == Kind::Button ? GetFocus() : BitBtn1;
  for (const ControlRow& row : controlTable())
    if (row.kind == Kind::Button)
      SendMessageW(handleOf(row), BM_SETSTYLE,
                   handleOf(row) == chosen ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

bool TForm1::pressMnemonic(wchar_t letter) {
  // The buttons in tab order; the first that carries the letter takes it.
  for (const ControlRow& row : controlTable()) {
    const wchar_t mnemonic = row.kind == Kind::Button ? mnemonicOf(handleOf(row)) : 0;
    if (mnemonic && upper(mnemonic) == upper(letter)) return pressButton(handleOf(row));
  }
  return false;
}

bool TForm1::preTranslateMessage(MSG& msg) {
  if (!Form1 || (msg.hwnd != Form1 && !IsChild(Form1, msg.hwnd))) return false;
  HWND focus = GetFocus();
  const bool ctrl = GetKeyState(VK_CONTROL) < 0;
  const bool shift = GetKeyState(VK_SHIFT) < 0;
  switch (msg.message) {
    case WM_KEYDOWN:
      switch (msg.wParam) {
        case VK_TAB:
          if (ctrl) {
            // Page switching works from the tab row or inside a page only.
            if (focus == PageControl1 || IsChild(PageControl1, focus))
              selectPage((activePage() + (shift ? kPageCount - 1 : 1)) % kPageCount);
          } else {
            moveFocus(shift);
          }
          return true;
        case VK_RETURN: {
          // The focused button, or else the default one; a help pane takes a new line.
          const ControlRow* row = rowOf(focus);
          const Kind kind = row ? row->kind : Kind::Tabs;
          if (kind == Kind::HelpPane) return false;
          if (kind != Kind::Memo) pressButton(kind == Kind::Button ? focus : BitBtn1);
          return true;
        }
        case VK_ESCAPE: return true;  // there is no cancel button
        default: break;
      }
      [[fallthrough]];
    case WM_SYSKEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYUP: {
      // The context-menu key and Shift+F10 on a setting's control bring its menu
      // with the key down, and none again with the key up; elsewhere, as before.
      if (msg.wParam != VK_APPS && !(msg.wParam == VK_F10 && shift)) return false;
      const ControlRow* row = rowOf(focus);
      if (!row || !row->bind) return false;
      if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) contextMenu(focus, -1);
      return true;
    }
    case WM_SYSCHAR: return pressMnemonic(static_cast<wchar_t>(msg.wParam));
    case WM_CHAR:
      // Where typing means nothing, a letter alone works as with Alt.
      if (!takesText(focus) && msg.wParam >= L' ')
        return pressMnemonic(static_cast<wchar_t>(msg.wParam));
      return false;
    default: return false;
  }
}

}  // namespace zemlo::ui
