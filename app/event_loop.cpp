#include "app/event_loop.h"

#include <windows.h>

#include "ui/error_box.h"
#include "ui/main_window.h"

namespace zemlo::app {

int runEventLoop(ui::TForm1& form) {
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    try {
      if (form.preTranslateMessage(msg)) continue;
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    } catch (...) {
      ui::showUnhandledError();
    }
  }
  return static_cast<int>(msg.wParam);
}

}  // namespace zemlo::app
