// What the window owns besides its child windows.
#pragma once

#include "ui/fonts.h"
#include "ui/glyphs.h"

namespace zemlo::ui {

struct FormResources {
  explicit FormResources(int dpi);

  FontSet fonts;
  ImageListHandle yesGlyph, retryGlyph, closeGlyph;
  int dpi;
};

}  // namespace zemlo::ui
