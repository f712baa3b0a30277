#include "win32/ui_test_support.h"

#include <windows.h>

#include <commctrl.h>

#include "common/test_support.h"
#include "settings/settings.h"

namespace fs = std::filesystem;

namespace zemlo::test {

namespace {

int WINAPI recordMessageBox(HWND, const wchar_t* text, const wchar_t* caption, UINT type) {
  WindowTest::boxes.push_back({text ? text : L"", caption ? caption : L"", type});
  return WindowTest::answer;
}

void removeConfig(const fs::path& path) {
  std::error_code ignored;
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);  // a test may have left it read-only
  fs::remove_all(path, ignored);
}

}  // namespace

bool isClass(HWND hwnd, const wchar_t* name) {
  wchar_t cls[64] = {};
  GetClassNameW(hwnd, cls, 64);
  return lstrcmpiW(cls, name) == 0;
}

WhiteCanvas::WhiteCanvas(int w, int h) : w_(w), h_(h) {
  HDC screen = GetDC(nullptr);
  dc_ = CreateCompatibleDC(screen);
  bitmap_ = CreateCompatibleBitmap(screen, w, h);
  ReleaseDC(nullptr, screen);
  old_ = SelectObject(dc_, bitmap_);
  const RECT all{0, 0, w, h};
  FillRect(dc_, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
}

WhiteCanvas::~WhiteCanvas() {
  SelectObject(dc_, old_);
  DeleteObject(bitmap_);
  DeleteDC(dc_);
}

std::vector<COLORREF> WhiteCanvas::pixels() const {
  std::vector<COLORREF> all;
  for (int y = 0; y < h_; ++y)
    for (int x = 0; x < w_; ++x) all.push_back(GetPixel(dc_, x, y));
  return all;
}

void WindowTest::SetUp() {
  boxes.clear();
  answer = IDOK;
  previous_ = ui::setMessageBoxFunction(&recordMessageBox);
  removeConfig(configPath());
  settings = Settings{};
}

void WindowTest::TearDown() {
  if (form.handle()) DestroyWindow(form.handle());
  pump();
  ui::setMessageBoxFunction(previous_);
  removeConfig(configPath());
}

fs::path WindowTest::configPath() const { return settingsFilePath(); }
void WindowTest::writeConfig(const std::string& bytes) { writeBytes(configPath(), bytes); }
std::string WindowTest::readConfig() const { return readBytes(configPath()); }

void WindowTest::open(const ui::FormOptions& options) {
  form.create(options);
  ShowWindow(form.handle(), SW_SHOWNORMAL);
  SetForegroundWindow(form.handle());
  SetFocus(control(L"BitBtn1"));
  pump();
}

void WindowTest::pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) continue;
    if (form.handle() && form.preTranslateMessage(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

void WindowTest::key(UINT vk, bool ctrl, bool shift, bool system) {
  BYTE saved[256];
  GetKeyboardState(saved);
  BYTE state[256];
  memcpy(state, saved, sizeof(state));
  state[VK_CONTROL] = ctrl ? 0x80 : 0;
  state[VK_SHIFT] = shift ? 0x80 : 0;
  SetKeyboardState(state);
  HWND target = GetFocus() ? GetFocus() : form.handle();
  PostMessageW(target, system ? WM_SYSKEYDOWN : WM_KEYDOWN, vk, 1);
  pump();
  PostMessageW(GetFocus() ? GetFocus() : form.handle(), system ? WM_SYSKEYUP : WM_KEYUP, vk,
               0xC0000001);
  pump();
  SetKeyboardState(saved);
}

void WindowTest::typeChar(wchar_t c, bool alt) {
  HWND target = GetFocus() ? GetFocus() : form.handle();
  PostMessageW(target, alt ? WM_SYSCHAR : WM_CHAR, c, alt ? 0x20000001 : 1);
  pump();
}

void WindowTest::click(HWND button) {
  SendMessageW(button, BM_CLICK, 0, 0);
  pump();
}

void WindowTest::focus(HWND control) {
  SetFocus(control);
  pump();
}

HWND WindowTest::control(const wchar_t* name) const {
  HWND hwnd = form.controlByName(name);
  EXPECT_NE(hwnd, nullptr) << "no control named " << named(name);
  return hwnd;
}

std::wstring WindowTest::text(HWND hwnd) const {
  const int length = GetWindowTextLengthW(hwnd);
  std::wstring result(static_cast<std::size_t>(length) + 1, L'\0');
  GetWindowTextW(hwnd, result.data(), length + 1);
  result.resize(static_cast<std::size_t>(length));
  return result;
}

int WindowTest::position(HWND slider) const {
  return static_cast<int>(SendMessageW(slider, TBM_GETPOS, 0, 0));
}

bool WindowTest::checked(HWND box) const {
  return SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void WindowTest::setChecked(HWND box, bool on) {
  SendMessageW(box, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

RECT WindowTest::placement(HWND hwnd) const {
  RECT r;
  GetWindowRect(hwnd, &r);
  MapWindowPoints(HWND_DESKTOP, GetParent(hwnd), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

}  // namespace zemlo::test
