// Context help: moving the mouse over a control explains it.
#include "ui/main_window.h"

namespace zemlo::ui {

void TForm1::mouseMove(HWND, int, int) {}

}  // namespace zemlo::ui
