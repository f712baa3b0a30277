// Labels that fit their text.
#include <windows.h>

#include <string>

#include "ui/form_resources.h"
#include "ui/layout.h"
#include "ui/main_window.h"

namespace zemlo::ui {

SIZE TForm1::textSize(HFONT font, const std::wstring& text) const {
  // The window's memory DC measures as well as a label's own and costs less.
  HDC dc = resources_->measuring.get();
  SIZE extent{};
  TEXTMETRICW tm{};
  Selected useFont(dc, font);
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
  GetTextMetricsW(dc, &tm);
  return SIZE{extent.cx, tm.tmHeight};
}

void TForm1::setLabelText(const ControlRow& row, const std::wstring& text) {
  const HWND label = handleOf(row);
  if (windowText(label) == text) return;  // nothing to redraw or resize
  SetWindowTextW(label, text.c_str());
  if (row.kind == Kind::FixedLabel) return;  // fixed size, centred
  // Other labels fit their text, as wide as it and one line high.
  const SIZE size = textSize(reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)), text);
  SetWindowPos(label, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace zemlo::ui
