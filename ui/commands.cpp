// The window's commands: load at start, Save, Revert, Exit.
#include "settings/settings.h"
#include "ui/main_window.h"
#include "ui/message_box.h"
#include "ui/titles.h"

namespace zemlo::ui {

namespace {

// What each button does, however it is pressed: click, Enter or its letter.
struct ButtonRow {
  ControlField button;
  void (TForm1::*press)();
};
constexpr ButtonRow kButtons[] = {{&FormControls::BitBtn1, &TForm1::BitBtn1Click},
                                  {&FormControls::BitBtn2, &TForm1::BitBtn2Click},
                                  {&FormControls::BitBtn3, &TForm1::BitBtn3Click}};

}  // namespace

bool TForm1::pressButton(HWND button) {
  for (const ButtonRow& row : kButtons)
    if (this->*row.button == button) {
      (this->*row.press)();
      return true;
    }
  return false;
}

void TForm1::FormCreate() {
  readINI();
  updateGUI();
}

void TForm1::BitBtn1Click() {
  updateSettings();
  writeINI();  // a failed write throws: no confirmation then
  messageBox(Form1, L"Settings saved.", kMessageTitle, MB_OK | MB_ICONINFORMATION);
}

void TForm1::BitBtn2Click() {
  if (messageBox(Form1, L"Revert settings?", kMessageTitle,
                 MB_OKCANCEL | MB_ICONQUESTION | MB_DEFBUTTON1) != IDOK)
    return;
  readINI();
  updateGUI();
}

void TForm1::BitBtn3Click() { PostMessageW(Form1, WM_CLOSE, 0, 0); }

}  // namespace zemlo::ui
