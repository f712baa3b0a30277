// The application's event loop.
#pragma once

namespace zemlo::ui {
class TForm1;
}

namespace zemlo::app {

// Runs until the main window is closed; returns the quit code.
int runEventLoop(ui::TForm1& form);

}  // namespace zemlo::app
