// The editor's window with nothing of the editor: the same controls from the
// same layout table, created plainly, with no fonts, glyphs, settings or help.
// It shows what the controls alone cost at start-up, next to the empty window.
#include <windows.h>

#include <commctrl.h>

#include <utility>
#include <vector>

#include "ui/layout.h"
#include "ui/titles.h"

namespace {

using zemlo::ui::Kind;

LRESULT CALLBACK proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

const wchar_t* classFor(Kind kind) {
  switch (kind) {
    case Kind::Button:
    case Kind::CheckBox: return WC_BUTTONW;
    case Kind::Tabs: return WC_TABCONTROLW;
    case Kind::Label:
    case Kind::FixedLabel: return WC_STATICW;
    case Kind::HSlider:
    case Kind::VSlider: return TRACKBAR_CLASSW;
    case Kind::HelpPane:
    case Kind::Memo: return WC_EDITW;
    default: return L"BareContainer";
  }
}

DWORD styleFor(Kind kind) {
  switch (kind) {
    case Kind::CheckBox: return BS_AUTOCHECKBOX | WS_TABSTOP;
    case Kind::Button: return BS_PUSHBUTTON | WS_TABSTOP;
    case Kind::HSlider: return TBS_HORZ | TBS_AUTOTICKS | WS_TABSTOP;
    case Kind::VSlider: return TBS_VERT | TBS_AUTOTICKS | WS_TABSTOP;
    case Kind::HelpPane:
    case Kind::Memo: return ES_MULTILINE | WS_TABSTOP;
    default: return WS_CLIPCHILDREN;
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  const INITCOMMONCONTROLSEX icc{sizeof(icc),
                                 ICC_BAR_CLASSES | ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  WNDCLASSW wc{};
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = L"BareWindow";
  RegisterClassW(&wc);
  wc.lpszClassName = L"BareContainer";
  RegisterClassW(&wc);

  RECT frame{0, 0, zemlo::ui::kClientWidth, zemlo::ui::kClientHeight};
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
  AdjustWindowRectEx(&frame, style, FALSE, 0);
  HWND window = CreateWindowW(L"BareWindow", zemlo::ui::kFormCaption, style, zemlo::ui::kFormLeft,
                              zemlo::ui::kFormTop, frame.right - frame.left,
                              frame.bottom - frame.top, nullptr, nullptr, instance, nullptr);
  std::vector<HWND> made;  // by the rows of the table, parents before children
  const auto madeFor = [&](const wchar_t* name) {
    const zemlo::ui::ControlRow* row = zemlo::ui::rowOf(name);
    return row ? made[zemlo::ui::indexOf(*row)] : window;
  };
  bool firstPage = true;
  for (const auto& row : zemlo::ui::controlTable()) {
    HWND parent = row.parent ? madeFor(row.parent) : window;
    DWORD visible = WS_VISIBLE;
    if (row.kind == Kind::Page) {
      TCITEMW item{};
      item.mask = TCIF_TEXT;
      item.pszText = const_cast<wchar_t*>(row.caption);
      SendMessageW(parent, TCM_INSERTITEMW, 99, reinterpret_cast<LPARAM>(&item));
      visible = firstPage ? WS_VISIBLE : 0;
      firstPage = false;
    }
    RECT r{row.rect.x, row.rect.y, row.rect.x + row.rect.w, row.rect.y + row.rect.h};
    if (row.kind == Kind::Page) {  // pages fill the tab control's display area
      GetClientRect(parent, &r);
      TabCtrl_AdjustRect(parent, FALSE, &r);
    }
    made.push_back(CreateWindowExW(
        0, classFor(row.kind), row.caption, WS_CHILD | visible | styleFor(row.kind), r.left, r.top,
        r.right - r.left, r.bottom - r.top, parent, nullptr, instance, nullptr));
  }
  ShowWindow(window, show);
  UpdateWindow(window);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
