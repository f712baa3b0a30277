// The editor's one window, Form1 of class TForm1: its controls by the rows of
// the control table (those its code names also as members), and its behaviour
// as handlers named after control and event.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "ui/form_controls.h"

namespace zemlo::ui {

struct FormResources;  // fonts, glyph image lists, the About picture
struct ControlRow;     // a row of the control table (ui/layout.h)
struct Rect;
}  // namespace zemlo::ui
namespace zemlo {
struct Settings;
}
namespace zemlo::ui {

// How the window is built. Tests build it at other resolutions.
struct FormOptions {
  int dpi = 0;                 // 0: the screen's own
  bool quitOnDestroy = false;  // the application's main window ends the loop
  // The About picture's bytes instead of the exe's resource (tests).
  std::optional<std::span<const uint8_t>> picture;
};

// The controls are private members: the window alone works them.
class TForm1 : private FormControls {
public:
  TForm1();
  ~TForm1();
  TForm1(const TForm1&) = delete;
  TForm1& operator=(const TForm1&) = delete;

  // Creates the window and all its controls, runs FormCreate; not yet shown.
  void create(const FormOptions& options = {});
  HWND handle() const { return Form1; }

  // Keyboard handling of the whole window, ahead of TranslateMessage. True when
  // the message was consumed.
  bool preTranslateMessage(MSG& msg);

  // Commands.
  void FormCreate();
  void BitBtn1Click();  // Save
  void BitBtn2Click();  // Revert
  void BitBtn3Click();  // Exit

  // Record <-> controls.
  void updateGUI();
  void updateSettings();

  // Mouse moves over a control (help texts); `x`, `y` in the control's client area.
  void mouseMove(HWND control, int x, int y);
  // The context menu of a control, at a point of the screen or, for -1, below the control.
  void contextMenu(HWND control, LPARAM where);

  // Shows page `index` (0..3) as a click on its tab would.
  void selectPage(int index);
  int activePage() const;

  // Looks a control up by its name ("CheckBox7"); null when there is none.
  HWND controlByName(const std::wstring& name) const;

private:
  friend LRESULT CALLBACK formWindowProc(HWND, UINT, WPARAM, LPARAM);
  LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void onCommand(HWND control, int code);
  // `moved`: false for the notifications that end a move, after those that made it.
  void onScroll(HWND slider, bool moved = true);
  // The row of a control of this window; null for none.
  const ControlRow* rowOf(HWND control) const;
  // The control of a row, or of the row named `name` (null for none).
  HWND handleOf(const ControlRow& row) const;
  HWND handleOf(const wchar_t* name) const;
  // Writes a slider's value label from its position.
  void showSliderValue(const ControlRow& slider);
  // A check box's or slider's value for the settings in `record`, and setting it.
  int valueFor(const ControlRow& row, const Settings& record) const;
  void showValue(const ControlRow& row, int value);
  // What hovering over a control does to the help panes.
  void showHelp(const ControlRow& row);
  // What the keyboard focus on a control does to them.
  void showFocusHelp(const ControlRow& row);
  void buildControls();
  HWND createControl(const ControlRow& row, HWND parent, const Rect& r, HFONT font);
  int scale(int value) const;
  void setupAboutPage();
  void paintPicture(HDC dc, HWND picture);
  // Sets a label's text; labels other than fixed ones then fit it.
  void setLabelText(const ControlRow& label, const std::wstring& text);
  // Width and line height of `text` in `font`.
  SIZE textSize(HFONT font, const std::wstring& text) const;
  void setSliderPosition(HWND slider, int position);
  // Focusable controls under `root` in tab order, as Tab visits them.
  std::vector<HWND> tabStops(HWND root) const;
  void showPage(int index);
  void moveFocus(bool backwards);
  void syncDefaultButton();
  bool pressMnemonic(wchar_t letter);
  // Runs the command of a button; false when `button` is none of them.
  bool pressButton(HWND button);

  FormOptions options_;
  std::unique_ptr<FormResources> resources_;
  std::vector<HWND> controls_;  // by the rows of the control table
  HWND lastFocus_ = nullptr;
};

}  // namespace zemlo::ui
