// The About page: credits, and the picture as it is drawn.
#include <windows.h>

#include <cstdlib>
#include <vector>

#include "tools/about_picture.h"
#include "ui/container.h"
#include "win32/ui_test_support.h"

namespace zemlo::test {
namespace {

using AboutTest = WindowTest;

// Draws the picture control into a memory bitmap through the window's own handler.
std::vector<COLORREF> drawPicture(ui::TForm1& form, int w, int h) {
  const WhiteCanvas canvas(w, h);
  SendMessageW(form.handle(), ui::kMsgPaintPicture, reinterpret_cast<WPARAM>(canvas.dc()),
               reinterpret_cast<LPARAM>(form.controlByName(L"Image1")));
  return canvas.pixels();
}

TEST_F(AboutTest, MemoHasTwelveCenteredLines) {
  open();
  HWND memo = control(L"Memo1");
  const std::wstring all = text(memo);
  std::size_t lines = 1;
  for (std::size_t at = all.find(L"\r\n"); at != std::wstring::npos; at = all.find(L"\r\n", at + 2))
    ++lines;
  EXPECT_EQ(lines, 12u);
  EXPECT_EQ(all.rfind(L"ZEMLO Configurator v1.0", 0), 0u);
  EXPECT_NE(all.find(L"\r\n\r\nZEMLO includes code from the zlib library,\r\n"),
            std::wstring::npos);
  EXPECT_NE(all.find(L"\r\n\r\nPartial translation into Russian - "), std::wstring::npos);
  EXPECT_TRUE(GetWindowLongW(memo, GWL_STYLE) & ES_CENTER);
}

TEST_F(AboutTest, PictureIsDecodedAndDrawnAtItsOwnSize) {
  open(atDpi(144));  // not scaled with the window
  const int w = tools::kPictureWidth + 10, h = tools::kPictureHeight + 10;
  const std::vector<COLORREF> pixels = drawPicture(form, w, h);
  const POINT samples[] = {{60, 140}, {5, 160}, {100, 60}, {10, 260}, {60, 8}};
  for (POINT p : samples) {
    const tools::Rgb want = tools::aboutPicturePixel(p.x, p.y);
    const COLORREF got = pixels[p.y * w + p.x];
    EXPECT_NEAR(GetRValue(got), want.r, 24) << p.x << "," << p.y;
    EXPECT_NEAR(GetGValue(got), want.g, 24) << p.x << "," << p.y;
    EXPECT_NEAR(GetBValue(got), want.b, 24) << p.x << "," << p.y;
  }
  // Nothing beyond the picture's own size.
  EXPECT_EQ(pixels[(h - 1) * w + (w - 1)], RGB(255, 255, 255));
}

TEST_F(AboutTest, CorruptOrMissingPictureLeavesAnEmptyFrame) {
  static const uint8_t kGarbage[] = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10,
                                     'J',  'F',  'I',  'F',  0x00, 0x01};
  for (std::span<const uint8_t> bytes :
       {std::span<const uint8_t>(kGarbage), std::span<const uint8_t>()}) {
    open(withPicture(bytes));
    form.selectPage(3);
    UpdateWindow(form.handle());
    pump();
    const std::vector<COLORREF> pixels = drawPicture(form, 20, 20);
    for (COLORREF c : pixels) ASSERT_EQ(c, RGB(255, 255, 255));
    DestroyWindow(form.handle());
  }
}

}  // namespace
}  // namespace zemlo::test
