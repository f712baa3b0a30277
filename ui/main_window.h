// The editor's one window, Form1 of class TForm1: its controls as named
// members and its behaviour as handlers named after control and event.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace zemlo::ui {

struct FormResources;  // fonts, glyph image lists, the About picture
struct ControlRow;     // a row of the control table (ui/layout.h)
struct Rect;

// How the window is built. Tests build it at other resolutions.
struct FormOptions {
  int dpi = 0;                 // 0: the screen's own
  bool quitOnDestroy = false;  // the application's main window ends the loop
  // The About picture's bytes instead of the exe's resource (tests).
  std::optional<std::span<const uint8_t>> picture;
};

class TForm1 {
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

  // Slider change handlers: rewrite the value labels.
  void TrackBar1Change();
  void TrackBar2Change();
  void TrackBar6Change();
  void TrackBar7Change();
  void TrackBar8Change();
  void TrackBar9Change();
  void TrackBar10Change();
  void TrackBar11Change();
  void TrackBar12Change();

  // Record <-> config.cfg (the window plays no part in them).
  static void readINI();
  static void writeINI();

  // Mouse moves over a control (help texts); `x`, `y` in the control's client area.
  void mouseMove(HWND control, int x, int y);

  // Shows page `index` (0..3) as a click on its tab would.
  void selectPage(int index);
  int activePage() const;

  // Controls, non-owning: the window owns them.
  HWND Form1 = nullptr;
  HWND BitBtn1 = nullptr, BitBtn2 = nullptr, BitBtn3 = nullptr;
  HWND PageControl1 = nullptr;
  HWND TabSheet1 = nullptr, TabSheet2 = nullptr, TabSheet3 = nullptr, TabSheet4 = nullptr;
  HWND GroupBox1 = nullptr, GroupBox2 = nullptr, GroupBox3 = nullptr, GroupBox4 = nullptr,
       GroupBox5 = nullptr, GroupBox6 = nullptr, GroupBox7 = nullptr, GroupBox8 = nullptr,
       GroupBox12 = nullptr;
  HWND CheckBox1 = nullptr, CheckBox2 = nullptr, CheckBox3 = nullptr, CheckBox4 = nullptr,
       CheckBox5 = nullptr, CheckBox6 = nullptr, CheckBox7 = nullptr, CheckBox8 = nullptr,
       CheckBox9 = nullptr, CheckBox10 = nullptr, CheckBox11 = nullptr, CheckBox12 = nullptr,
       CheckBox13 = nullptr, CheckBox14 = nullptr, CheckBox15 = nullptr, CheckBox16 = nullptr,
       CheckBox17 = nullptr, CheckBox18 = nullptr, CheckBox19 = nullptr, CheckBox20 = nullptr,
       CheckBox21 = nullptr;
  HWND TrackBar1 = nullptr, TrackBar2 = nullptr, TrackBar3 = nullptr, TrackBar4 = nullptr,
       TrackBar5 = nullptr, TrackBar6 = nullptr, TrackBar7 = nullptr, TrackBar8 = nullptr,
       TrackBar9 = nullptr, TrackBar10 = nullptr, TrackBar11 = nullptr, TrackBar12 = nullptr;
  HWND HLs1 = nullptr, HLs2 = nullptr, HLs3 = nullptr;
  HWND Label1 = nullptr, Label2 = nullptr, Label4 = nullptr, Label5 = nullptr, Label6 = nullptr,
       Label7 = nullptr, Label8 = nullptr, Label9 = nullptr, Label10 = nullptr, Label11 = nullptr,
       Label12 = nullptr, Label13 = nullptr, Label14 = nullptr, Label15 = nullptr;
  HWND LOD1 = nullptr, LOD2 = nullptr, gst = nullptr, gsi = nullptr;
  HWND Help1 = nullptr, Help2 = nullptr, Help3 = nullptr;
  HWND Panel1 = nullptr, Panel2 = nullptr, Bevel2 = nullptr, Image1 = nullptr, Memo1 = nullptr;

  // Looks a control up by its name ("CheckBox7"); null when there is none.
  HWND controlByName(const std::wstring& name) const;

private:
  friend LRESULT CALLBACK formWindowProc(HWND, UINT, WPARAM, LPARAM);
  LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void onCommand(HWND control, int code);
  void onScroll(HWND slider);
  // Runs the change handler of a slider that moved, if it has one.
  void sliderMoved(HWND slider);
  // Writes a slider's value label from its position.
  void showSliderValue(HWND TForm1::*slider);
  void buildControls();
  HWND createControl(const ControlRow& row, HWND parent, const Rect& r, HFONT font);
  int scale(int value) const;
  void setupAboutPage();
  void paintPicture(HDC dc, HWND picture);
  // Sets a label's text; labels other than LOD1 and LOD2 then fit it.
  void setLabelText(HWND label, const std::wstring& text);
  // Width and line height of `text` in `font`.
  SIZE textSize(HFONT font, const std::wstring& text) const;
  void setSliderPosition(HWND slider, int position);
  // Focusable controls under `root` in tab order, as Tab visits them.
  std::vector<HWND> tabStops(HWND root) const;
  void showPage(int index);
  void moveFocus(bool backwards);
  void syncDefaultButton();
  bool pressMnemonic(wchar_t letter);

  FormOptions options_;
  std::unique_ptr<FormResources> resources_;
  HWND lastFocus_ = nullptr;
};

// A control of the window, as a member of TForm1.
using ControlField = HWND TForm1::*;

}  // namespace zemlo::ui
