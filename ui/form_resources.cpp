#include "ui/form_resources.h"

namespace zemlo::ui {

FormResources::FormResources(int dpi_) : fonts(createFonts(dpi_)), dpi(dpi_) {
  const int side = MulDiv(16, fonts.lineHeight, 13);
  yesGlyph = createGlyphList(Glyph::Yes, side);
  retryGlyph = createGlyphList(Glyph::Retry, side);
  closeGlyph = createGlyphList(Glyph::Close, side);
}

HIMAGELIST FormResources::glyph(Glyph which) const {
  switch (which) {
    case Glyph::Yes:
      return yesGlyph.get();
    case Glyph::Retry:
      return retryGlyph.get();
    case Glyph::Close:
      return closeGlyph.get();
    case Glyph::None:
      break;
  }
  return nullptr;
}

}  // namespace zemlo::ui
