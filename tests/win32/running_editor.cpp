#include "win32/running_editor.h"

#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "ui/layout.h"
#include "win32/ui_test_support.h"

namespace fs = std::filesystem;

namespace zemlo::test {

namespace {

struct TopLevel {
  DWORD pid;
  const wchar_t* className;
  HWND hwnd = nullptr;
};

// A named function: 32-bit code needs enumeration callbacks stdcall.
BOOL CALLBACK takeTopLevel(HWND hwnd, LPARAM p) {
  auto& want = *reinterpret_cast<TopLevel*>(p);
  DWORD owner = 0;
  GetWindowThreadProcessId(hwnd, &owner);
  if (owner != want.pid || !IsWindowVisible(hwnd) || !isClass(hwnd, want.className)) return TRUE;
  want.hwnd = hwnd;
  return FALSE;
}

// A visible top-level window of the process, waited for up to ten seconds.
HWND topLevel(DWORD pid, const wchar_t* className) {
  TopLevel want{pid, className};
  for (int i = 0; i < 200 && !want.hwnd; ++i) {
    EnumWindows(takeTopLevel, reinterpret_cast<LPARAM>(&want));
    if (!want.hwnd) Sleep(50);
  }
  return want.hwnd;
}

const wchar_t* classOf(ui::Kind kind) {
  switch (kind) {
    case ui::Kind::Button:
    case ui::Kind::CheckBox: return L"Button";
    case ui::Kind::HSlider:
    case ui::Kind::VSlider: return TRACKBAR_CLASSW;
    case ui::Kind::HelpPane: return L"Edit";
    case ui::Kind::Tabs: return WC_TABCONTROLW;
    case ui::Kind::Label: return L"Static";
    default: return L"ZemloContainer";
  }
}

HWND locate(HWND form, const ui::ControlRow& row) {
  const HWND parent = row.parent ? locate(form, *ui::rowOf(row.parent)) : form;
  RECT client;
  GetClientRect(form, &client);
  const double scale = client.right / double(ui::kClientWidth);
  HWND best = nullptr;
  double bestDistance = 1e9;
  for (HWND c = parent ? GetWindow(parent, GW_CHILD) : nullptr; c; c = GetWindow(c, GW_HWNDNEXT)) {
    if (!isClass(c, classOf(row.kind))) continue;
    if (row.kind == ui::Kind::Page && IsWindowVisible(c)) return c;
    RECT r;
    GetWindowRect(c, &r);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 1);
    const double d = std::hypot(r.left - row.rect.x * scale, r.top - row.rect.y * scale);
    if (row.kind != ui::Kind::Page && d < bestDistance) best = c, bestDistance = d;
  }
  return best;
}

}  // namespace

fs::path shippedEditor() {
  wchar_t self[MAX_PATH];
  const DWORD n = GetModuleFileNameW(nullptr, self, MAX_PATH);
  return (fs::path(std::wstring(self, n)).parent_path() / ZEMLO_EDITOR_FROM_TESTS)
      .lexically_normal();
}

RunningEditor::RunningEditor(const fs::path& folder) {
  const fs::path exe = folder / "zemlo-config.exe";
  // Not copy_options::skip_existing: MinGW's copy_file takes any two files of
  // one drive for the same file, and refuses.
  if (!fs::exists(exe)) fs::copy_file(shippedEditor(), exe);
  std::wstring command = L"\"" + exe.wstring() + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  if (!CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.parent_path().c_str(), &si, &process_))
    return;
  WaitForInputIdle(process_.hProcess, 10000);
  window_ = topLevel(process_.dwProcessId, L"TForm1");
}

RunningEditor::~RunningEditor() {
  if (process_.hProcess) kill();
}

bool RunningEditor::running() const {
  return WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

void RunningEditor::kill() {
  TerminateProcess(process_.hProcess, 1);
  WaitForSingleObject(process_.hProcess, 10000);
  CloseHandle(process_.hProcess);
  CloseHandle(process_.hThread);
  process_ = {};
  window_ = nullptr;
}

DWORD RunningEditor::close() {
  PostMessageW(window_, WM_CLOSE, 0, 0);
  DWORD code = 0xDEAD;
  if (WaitForSingleObject(process_.hProcess, 10000) == WAIT_OBJECT_0)
    GetExitCodeProcess(process_.hProcess, &code);
  return code;
}

HWND RunningEditor::control(const wchar_t* name) const {
  const ui::ControlRow* row = ui::rowOf(name);
  HWND hwnd = row && window_ ? locate(window_, *row) : nullptr;
  EXPECT_NE(hwnd, nullptr) << "no control named " << named(name);
  return hwnd;
}

HWND RunningEditor::messageBox() const { return topLevel(process_.dwProcessId, L"#32770"); }

}  // namespace zemlo::test
