// What the window owns besides its child windows.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "ui/fonts.h"
#include "ui/glyphs.h"
#include "ui/jpeg_image.h"

namespace zemlo::ui {

struct FormResources {
  explicit FormResources(int dpi) : fonts(createFonts(dpi)) {
    const int side = MulDiv(16, fonts.lineHeight, 13);
    for (Glyph glyph : {Glyph::Yes, Glyph::Retry, Glyph::Close})
      glyphs[static_cast<int>(glyph)] = createGlyphList(glyph, side);
  }

  FontSet fonts;
  ImageListHandle glyphs[4];  // by Glyph; none for Glyph::None
  // Measures label texts: one memory DC for them all.
  MemoryDC measuring{CreateCompatibleDC(nullptr)};

  // The About picture: its bytes in the exe's resources, the header read when
  // the window is built, the bitmap decoded the first time it is drawn.
  std::span<const uint8_t> pictureData;
  std::optional<JpegInfo> pictureInfo;
  BitmapHandle picture;
  bool pictureDecoded = false;
};

}  // namespace zemlo::ui
