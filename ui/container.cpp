#include "ui/container.h"
#include "ui/win_handles.h"

#include <windows.h>
#include <commctrl.h>

namespace zemlo::ui {

namespace {

enum Extra { kKindSlot = 0, kBevelSlot = 1, kFontSlot = 2, kSlotCount = 3 };

LONG_PTR slot(HWND hwnd, int index) {
  return GetWindowLongPtrW(hwnd, index * static_cast<int>(sizeof(LONG_PTR)));
}
void setSlot(HWND hwnd, int index, LONG_PTR value) {
  SetWindowLongPtrW(hwnd, index * static_cast<int>(sizeof(LONG_PTR)), value);
}

HWND form(HWND hwnd) { return GetAncestor(hwnd, GA_ROOT); }

void paintGroupBox(HWND hwnd, HDC dc) {
  RECT client;
  GetClientRect(hwnd, &client);
  wchar_t caption[256];
  const int length = GetWindowTextW(hwnd, caption, 256);
  Selected useFont(dc, reinterpret_cast<HFONT>(slot(hwnd, kFontSlot)));
  TEXTMETRICW tm{};
  GetTextMetricsW(dc, &tm);
  // The frame runs through the middle of the caption line.
  RECT frame = client;
  frame.top = tm.tmHeight / 2;
  DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
  if (length > 0) {
    SIZE extent{};
    GetTextExtentPoint32W(dc, caption, length, &extent);
    RECT text{8, 0, 8 + extent.cx + 2, tm.tmHeight};
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    SetBkMode(dc, OPAQUE);
    ExtTextOutW(dc, text.left + 1, 0, ETO_OPAQUE, &text, caption, length, nullptr);
  }
}

void paint(HWND hwnd) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  RECT client;
  GetClientRect(hwnd, &client);
  switch (static_cast<Kind>(slot(hwnd, kKindSlot))) {
    case Kind::GroupBox: paintGroupBox(hwnd, dc); break;
    case Kind::Panel:
      DrawEdge(dc, &client,
               static_cast<BevelStyle>(slot(hwnd, kBevelSlot)) == BevelStyle::Raised
                   ? BDR_RAISEDOUTER
                   : BDR_SUNKENOUTER,
               BF_RECT);
      break;
    case Kind::Bevel: DrawEdge(dc, &client, BDR_SUNKENOUTER, BF_RECT); break;
    case Kind::Image:
      SendMessageW(form(hwnd), kMsgPaintPicture, reinterpret_cast<WPARAM>(dc),
                   reinterpret_cast<LPARAM>(hwnd));
      break;
    default: break;
  }
  EndPaint(hwnd, &ps);
}

// No try/catch here or in the subclass below: they only paint and pass
// messages on, and nothing they call throws; the form's procedure, which the
// passed messages reach, catches for its handlers.
LRESULT CALLBACK containerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND: {
      RECT client;
      GetClientRect(hwnd, &client);
      FillRect(reinterpret_cast<HDC>(wParam), &client, GetSysColorBrush(COLOR_BTNFACE));
      return 1;
    }
    case WM_PAINT: paint(hwnd); return 0;
    case WM_NCHITTEST:
      // The bevel is only a frame: the pointer passes through it.
      if (static_cast<Kind>(slot(hwnd, kKindSlot)) == Kind::Bevel) return HTTRANSPARENT;
      break;
    case WM_SETFONT:
      setSlot(hwnd, kFontSlot, static_cast<LONG_PTR>(wParam));
      if (LOWORD(lParam)) InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_GETFONT: return slot(hwnd, kFontSlot);
    case WM_SETTEXT: {
      const LRESULT result = DefWindowProcW(hwnd, message, wParam, lParam);
      InvalidateRect(hwnd, nullptr, TRUE);
      return result;
    }
    case WM_MOUSEMOVE:
      SendMessageW(form(hwnd), kMsgControlMouseMove, reinterpret_cast<WPARAM>(hwnd), lParam);
      return 0;
    // Children talk to their parent; the form is the one that listens. A context
    // menu goes straight there: on its way up, Wine names each parent in wParam.
    case WM_CONTEXTMENU:
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_DRAWITEM: return SendMessageW(form(hwnd), message, wParam, lParam);
    default: break;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK reportSubclass(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                DWORD_PTR) {
  if (message == WM_MOUSEMOVE)
    SendMessageW(form(hwnd), kMsgControlMouseMove, reinterpret_cast<WPARAM>(hwnd), lParam);
  else if (message == WM_SETFOCUS)
    SendMessageW(form(hwnd), kMsgControlFocus, reinterpret_cast<WPARAM>(hwnd), 0);
  else if (message == WM_NCDESTROY)
    RemoveWindowSubclass(hwnd, reportSubclass, 0);
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

}  // namespace

void registerContainerClass(HINSTANCE instance) {
  WNDCLASSEXW wc{};
  if (GetClassInfoExW(instance, kContainerClass, &wc)) return;
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = containerProc;
  wc.cbWndExtra = kSlotCount * sizeof(LONG_PTR);
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = kContainerClass;
  RegisterClassExW(&wc);
}

HWND createContainer(Kind kind, BevelStyle bevel, HWND parent, const Rect& r,
                     const wchar_t* caption, HINSTANCE instance) {
  const DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
  // Containers hold focusable children, so keyboard navigation descends into them.
  HWND hwnd = CreateWindowExW(WS_EX_CONTROLPARENT, kContainerClass, caption, style, r.x, r.y, r.w,
                              r.h, parent, nullptr, instance, nullptr);
  if (hwnd) {
    setSlot(hwnd, kKindSlot, static_cast<LONG_PTR>(kind));
    setSlot(hwnd, kBevelSlot, static_cast<LONG_PTR>(bevel));
  }
  return hwnd;
}

void reportToForm(HWND control) { SetWindowSubclass(control, reportSubclass, 0, 0); }

}  // namespace zemlo::ui
