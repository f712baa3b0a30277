// The window's four fonts, at the resolution the window is built for.
#pragma once

#include "ui/control_kinds.h"
#include "ui/win_handles.h"

namespace zemlo::ui {

struct FontSet {
  FontHandle normal;    // "MS Sans Serif" 11 px, the form's default
  FontHandle small;     // "Small Fonts" 9 px
  FontHandle help;      // "Verdana" 11 px
  FontHandle memo;      // "Verdana" 13 px
  int lineHeight = 13;  // of the default font; 13 at 96 DPI

  HFONT get(Font which) const;
};

// Heights scale by dpi / 96. A face that cannot show Cyrillic on this system is
// asked for again with the Cyrillic character set, then replaced by one that can,
// so the Russian captions never turn into boxes.
FontSet createFonts(int dpi);

}  // namespace zemlo::ui
