// Program entry: the application, its one window and the event loop.
#include <windows.h>

#include "app/event_loop.h"
#include "ui/error_box.h"
#include "ui/main_window.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
  try {
    zemlo::ui::TForm1 form;
    zemlo::ui::FormOptions options;
    options.quitOnDestroy = true;
    form.create(options);
    // Normal, maximised or minimised, as the launcher asked.
    ShowWindow(form.handle(), showCommand);
    UpdateWindow(form.handle());
    return zemlo::app::runEventLoop(form);  // 0, from PostQuitMessage(0)
  } catch (...) {
    zemlo::ui::showUnhandledError();
  }
  return 0;
}
