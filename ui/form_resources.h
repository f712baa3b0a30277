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
  explicit FormResources(int dpi);

  FontSet fonts;
  ImageListHandle yesGlyph, retryGlyph, closeGlyph;
  HIMAGELIST glyph(Glyph which) const;
  int dpi;
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
