#include "ui/glyphs.h"

#include <vector>

namespace zemlo::ui {

namespace {

constexpr COLORREF kTransparent = RGB(255, 0, 255);

struct Stroke {
  COLORREF colour;
  std::vector<POINT> points;  // on a 16 x 16 grid
};

std::vector<Stroke> strokesFor(Glyph glyph) {
  switch (glyph) {
    case Glyph::Yes: return {{RGB(0, 128, 0), {{3, 8}, {6, 11}, {12, 4}}}};
    case Glyph::Retry:
      // A circular arrow: an arc as a polyline, then its head.
      return {{RGB(0, 64, 160),
               {{12, 5}, {10, 3}, {7, 3}, {4, 5}, {3, 8}, {4, 11}, {7, 13}, {10, 13}, {12, 11}}},
              {RGB(0, 64, 160), {{9, 6}, {13, 6}, {13, 2}}}};
    case Glyph::Close:
      return {{RGB(192, 0, 0), {{4, 4}, {12, 12}}}, {RGB(192, 0, 0), {{12, 4}, {4, 12}}}};
    case Glyph::None: break;
  }
  return {};
}

// The six button states side by side (normal, hot, pressed, disabled,
// defaulted, stylus-hot) on the transparent colour; only the disabled one grey.
constexpr int kStates = 6;
constexpr int kDisabledState = 3;

BitmapHandle drawGlyphStrip(Glyph glyph, int size) {
  void* bits = nullptr;
  BitmapHandle bitmap = createDib24(size * kStates, size, &bits);
  const MemoryDC dc(CreateCompatibleDC(nullptr));
  if (!bitmap || !dc) return BitmapHandle();
  const Selected useBitmap(dc.get(), bitmap.get());
  const BrushHandle background(CreateSolidBrush(kTransparent));
  const RECT all{0, 0, size * kStates, size};
  FillRect(dc.get(), &all, background.get());
  const int width = size >= 24 ? 3 : 2;
  for (int state = 0; state < kStates; ++state) {
    for (const Stroke& stroke : strokesFor(glyph)) {
      const PenHandle pen(
          CreatePen(PS_SOLID, width, state == kDisabledState ? RGB(128, 128, 128) : stroke.colour));
      const Selected usePen(dc.get(), pen.get());
      std::vector<POINT> scaled;
      for (POINT p : stroke.points)
        scaled.push_back({state * size + MulDiv(p.x, size, 16), MulDiv(p.y, size, 16)});
      Polyline(dc.get(), scaled.data(), static_cast<int>(scaled.size()));
    }
  }
  return bitmap;
}

}  // namespace

ImageListHandle createGlyphList(Glyph glyph, int size) {
  ImageListHandle list(ImageList_Create(size, size, ILC_COLOR24 | ILC_MASK, kStates, 0));
  if (!list) return list;
  // One strip makes all six images; adding it masked blackens its transparent
  // pixels, which is why it is not kept.
  const BitmapHandle strip = drawGlyphStrip(glyph, size);
  ImageList_AddMasked(list.get(), strip.get(), kTransparent);
  return list;
}

}  // namespace zemlo::ui
