// The About page: the picture and the credits.
#include "ui/main_window.h"

namespace zemlo::ui {

void TForm1::setupAboutPage() {}

void TForm1::paintPicture(HDC, HWND) {}

}  // namespace zemlo::ui
