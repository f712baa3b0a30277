// A real editor window in the test process, answered message boxes, and the
// settings file beside the test executable, which is where the editor looks.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "ui/main_window.h"
#include "ui/message_box.h"

namespace zemlo::test {

struct ShownMessageBox {
  std::wstring text;
  std::wstring caption;
  UINT type;
};

// A control's name as a test's failure message shows it.
inline std::string named(const wchar_t* name) { return testing::PrintToString(std::wstring(name)); }

// True when `hwnd` is of the window class `name`, in any case.
bool isClass(HWND hwnd, const wchar_t* name);

// A white bitmap of w x h pixels in a memory DC, to draw into and read back.
class WhiteCanvas {
public:
  WhiteCanvas(int w, int h);
  ~WhiteCanvas();
  WhiteCanvas(const WhiteCanvas&) = delete;
  WhiteCanvas& operator=(const WhiteCanvas&) = delete;
  HDC dc() const { return dc_; }
  // Every pixel, row by row.
  std::vector<COLORREF> pixels() const;

private:
  int w_, h_;
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ old_;
};

inline ui::FormOptions atDpi(int dpi) {
  ui::FormOptions options;
  options.dpi = dpi;
  return options;
}
inline ui::FormOptions withPicture(std::span<const uint8_t> bytes) {
  ui::FormOptions options;
  options.picture = bytes;
  return options;
}

class WindowTest : public ::testing::Test {
public:
  // Every message box shown, in order, and the button the next ones answer with.
  static inline std::vector<ShownMessageBox> boxes;
  static inline int answer = IDOK;

protected:
  void SetUp() override;
  void TearDown() override;

  // Builds and shows the window (FormCreate loads config.cfg first).
  void open(const ui::FormOptions& options = {});
  void writeConfig(const std::string& bytes);
  std::string readConfig() const;
  std::filesystem::path configPath() const;

  // Runs the window's queued messages through the application's own loop steps.
  void pump();
  // A key press as the loop sees it, with the given modifiers held; `system`:
  // as WM_SYSKEYDOWN and WM_SYSKEYUP (F10).
  void key(UINT vk, bool ctrl = false, bool shift = false, bool system = false);
  // A typed character, with Alt (WM_SYSCHAR) or without (WM_CHAR).
  void typeChar(wchar_t c, bool alt);
  void click(HWND button);
  void focus(HWND control);

  HWND control(const wchar_t* name) const;
  std::wstring text(HWND hwnd) const;
  int position(HWND slider) const;
  bool checked(HWND box) const;
  void setChecked(HWND box, bool on);

  // Rectangle of a control in its parent's client area.
  RECT placement(HWND hwnd) const;

  ui::TForm1 form;

private:
  ui::MessageBoxFunction previous_ = nullptr;
};

}  // namespace zemlo::test
