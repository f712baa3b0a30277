#include "ui/main_window.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "ui/accessible.h"
#include "ui/container.h"
#include "ui/error_box.h"
#include "ui/form_resources.h"
#include "ui/layout.h"
#include "ui/titles.h"

namespace zemlo::ui {

namespace {

constexpr wchar_t kFormClass[] = L"TForm1";
constexpr DWORD kFormStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

HINSTANCE moduleInstance() { return GetModuleHandleW(nullptr); }

}  // namespace

LRESULT CALLBACK formWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* form = static_cast<TForm1*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    form->Form1 = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
  }
  auto* form = reinterpret_cast<TForm1*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!form) return DefWindowProcW(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    form->Form1 = nullptr;
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
  // No exception may cross back into the system: show it and carry on.
  try {
    return form->handleMessage(message, wParam, lParam);
  } catch (...) {
    showUnhandledError();
    return 0;
  }
}

TForm1::TForm1() = default;

TForm1::~TForm1() {
  if (Form1) DestroyWindow(Form1);
}

void TForm1::create(const FormOptions& options) {
  options_ = options;
  const INITCOMMONCONTROLSEX icc{sizeof(icc),
                                 ICC_BAR_CLASSES | ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  const HINSTANCE instance = moduleInstance();
  registerContainerClass(instance);

  WNDCLASSEXW wc{};
  if (!GetClassInfoExW(instance, kFormClass, &wc)) {
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = formWindowProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
    wc.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON),
                                               GetSystemMetrics(SM_CYSMICON), 0));
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kFormClass;
    if (!RegisterClassExW(&wc)) throw std::runtime_error("Cannot register the window class");
  }

  int dpi = options.dpi;
  if (dpi <= 0) {
    ScreenDC screen;
    dpi = GetDeviceCaps(screen.get(), LOGPIXELSY);
  }
  resources_ = std::make_unique<FormResources>(dpi);

  RECT frame{0, 0, scale(kClientWidth), scale(kClientHeight)};
  AdjustWindowRectEx(&frame, kFormStyle, FALSE, 0);
  CreateWindowExW(0, kFormClass, kFormCaption, kFormStyle, kFormLeft, kFormTop,
                  frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, instance,
                  this);
  if (!Form1) throw std::runtime_error("Cannot create the main window");
  SendMessageW(Form1, WM_SETFONT, reinterpret_cast<WPARAM>(resources_->fonts.normal.get()), FALSE);
  buildControls();
  showPage(0);
  FormCreate();
}

int TForm1::scale(int value) const {
  return resources_ ? MulDiv(value, resources_->fonts.lineHeight, 13) : value;
}

HWND TForm1::controlByName(const std::wstring& name) const {
  return name == L"Form1" ? Form1 : handleOf(name.c_str());
}

HWND TForm1::handleOf(const ControlRow& row) const {
  return indexOf(row) < controls_.size() ? controls_[indexOf(row)] : nullptr;
}

HWND TForm1::handleOf(const wchar_t* name) const {
  const ControlRow* row = ui::rowOf(name);
  return row ? handleOf(*row) : nullptr;
}

const ControlRow* TForm1::rowOf(HWND control) const {
  for (const ControlRow& row : controlTable())
    if (control && handleOf(row) == control) return &row;
  return nullptr;
}

LRESULT TForm1::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (lParam) onCommand(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
      return 0;
    case WM_HSCROLL:
    case WM_VSCROLL:
      if (lParam)
        onScroll(reinterpret_cast<HWND>(lParam),
                 LOWORD(wParam) != TB_ENDTRACK && LOWORD(wParam) != TB_THUMBPOSITION);
      return 0;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->hwndFrom == PageControl1 && header->code == TCN_SELCHANGE)
        showPage(TabCtrl_GetCurSel(PageControl1));
      return 0;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
      SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    case kMsgControlMouseMove:
      mouseMove(reinterpret_cast<HWND>(wParam), static_cast<short>(LOWORD(lParam)),
                static_cast<short>(HIWORD(lParam)));
      return 0;
    case kMsgAnnounce: raiseWaitingAnnouncements(); return 0;
    case kMsgControlFocus:
      if (const ControlRow* row = rowOf(reinterpret_cast<HWND>(wParam))) showFocusHelp(*row);
      return 0;
    case WM_CONTEXTMENU: contextMenu(reinterpret_cast<HWND>(wParam), lParam); return 0;
    case kMsgPaintPicture:
      paintPicture(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
      return 0;
    case WM_ACTIVATE:
      // Give the focus back to the control that had it, as a dialog does.
      if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(Form1, focus)) lastFocus_ = focus;
      } else {
        SetFocus(lastFocus_ && IsWindow(lastFocus_) ? lastFocus_ : BitBtn1);
      }
      return 0;
    case WM_SETFOCUS: SetFocus(lastFocus_ && IsWindow(lastFocus_) ? lastFocus_ : BitBtn1); return 0;
    case WM_CLOSE: DestroyWindow(Form1); return 0;
    case WM_DESTROY:
      if (options_.quitOnDestroy) PostQuitMessage(0);
      return 0;
    default: return DefWindowProcW(Form1, message, wParam, lParam);
  }
}

void TForm1::onCommand(HWND control, int code) {
  if (code == BN_CLICKED) {
    if (!pressButton(control))  // a check box: its state changed
      announce(Kind::CheckBox, control, EVENT_OBJECT_STATECHANGE);
  } else if (code == BN_SETFOCUS || code == BN_KILLFOCUS)
    syncDefaultButton();
}

int TForm1::activePage() const { return PageControl1 ? TabCtrl_GetCurSel(PageControl1) : -1; }

void TForm1::selectPage(int index) {
  TabCtrl_SetCurSel(PageControl1, index);
  showPage(index);
}

void TForm1::showPage(int index) {
  if (index < 0 || index >= kPageCount) return;
  HWND focus = GetFocus();
  const bool focusOnOldPage = focus && focus != PageControl1 && IsChild(PageControl1, focus);
  HWND shown = nullptr;
  for (const ControlRow& row : controlTable())
    if (row.kind == Kind::Page && row.tabOrder == index) shown = handleOf(row);
  SetWindowPos(shown, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
  for (const ControlRow& row : controlTable())
    if (row.kind == Kind::Page && row.tabOrder != index) ShowWindow(handleOf(row), SW_HIDE);
  announce(Kind::Tabs, PageControl1, EVENT_OBJECT_SELECTION, index + 1);
  if (focusOnOldPage) {
    // The focus was on a page that is now hidden: take it to the new page.
    const std::vector<HWND> stops = tabStops(shown);
    SetFocus(stops.empty() ? PageControl1 : stops.front());
  }
}

}  // namespace zemlo::ui
