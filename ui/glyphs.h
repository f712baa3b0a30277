// The pictures on the three buttons: a yes mark, a retry mark and a close mark,
// each with a greyed version for the disabled state.
#pragma once

#include "ui/control_kinds.h"
#include "ui/win_handles.h"

namespace zemlo::ui {

// An image list in the layout a button expects: normal, hot, pressed,
// disabled, defaulted, stylus-hot. `size` is the glyph's side in pixels.
ImageListHandle createGlyphList(Glyph glyph, int size);

}  // namespace zemlo::ui
