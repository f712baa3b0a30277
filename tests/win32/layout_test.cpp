// The window's geometry against the layout tables, at 96 and 144 DPI.
#include <windows.h>

#include <commctrl.h>

#include "win32/ui_test_support.h"

namespace zemlo::test {
namespace {

using LayoutTest = WindowTest;

struct Placed {
  const wchar_t* name;
  RECT rect;  // left, top, right, bottom in the parent's client area
};

RECT box(int x, int y, int w, int h) { return RECT{x, y, x + w, y + h}; }

const Placed kPlaced[] = {
    {L"BitBtn1", box(32, 368, 105, 25)},     {L"BitBtn2", box(152, 368, 105, 25)},
    {L"BitBtn3", box(376, 368, 105, 25)},    {L"PageControl1", box(8, 8, 497, 345)},
    {L"GroupBox1", box(8, 12, 225, 281)},    {L"CheckBox16", box(16, 104, 193, 17)},
    {L"TrackBar1", box(16, 168, 185, 25)},   {L"LOD2", box(24, 248, 169, 13)},
    {L"Help1", box(16, 24, 193, 241)},       {L"GroupBox5", box(8, 88, 89, 97)},
    {L"HLs3", box(56, 16, 25, 57)},          {L"CheckBox10", box(17, 72, 64, 17)},
    {L"TrackBar7", box(8, 56, 105, 25)},     {L"CheckBox19", box(121, 64, 64, 17)},
    {L"Help2", box(16, 24, 193, 257)},       {L"TrackBar9", box(24, 184, 161, 18)},
    {L"GroupBox12", box(248, 12, 225, 293)}, {L"Panel2", box(136, 8, 329, 281)},
    {L"Image1", box(9, 9, 119, 279)},        {L"Memo1", box(8, 16, 313, 249)},
};

RECT scaled(RECT r, int num, int den) {
  return RECT{MulDiv(r.left, num, den), MulDiv(r.top, num, den),
              MulDiv(r.left, num, den) + MulDiv(r.right - r.left, num, den),
              MulDiv(r.top, num, den) + MulDiv(r.bottom - r.top, num, den)};
}

void expectPlacement(const WindowTest& t, const wchar_t* name, RECT expected, RECT actual) {
  EXPECT_EQ(actual.left, expected.left) << named(name);
  EXPECT_EQ(actual.top, expected.top) << named(name);
  EXPECT_EQ(actual.right - actual.left, expected.right - expected.left) << named(name);
  EXPECT_EQ(actual.bottom - actual.top, expected.bottom - expected.top) << named(name);
  (void)t;
}

TEST_F(LayoutTest, ControlsStandWhereTheTablesPutThem) {
  open(atDpi(96));
  for (const Placed& p : kPlaced)
    expectPlacement(*this, p.name, p.rect, placement(control(p.name)));
}

TEST_F(LayoutTest, FixedSizeWindowWithMinimiseOnly) {
  open(atDpi(96));
  RECT client;
  GetClientRect(form.handle(), &client);
  EXPECT_EQ(client.right, 512);
  EXPECT_EQ(client.bottom, 405);
  RECT frame;
  GetWindowRect(form.handle(), &frame);
  EXPECT_EQ(frame.left, 189);
  EXPECT_EQ(frame.top, 102);
  const LONG style = GetWindowLongW(form.handle(), GWL_STYLE);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME);
  EXPECT_EQ(text(form.handle()), L"ZEMLO Конфигуратор");
  wchar_t cls[32];
  GetClassNameW(form.handle(), cls, 32);
  EXPECT_STREQ(cls, L"TForm1");
}

TEST_F(LayoutTest, CaptionsAndSliderSettingsFollowTheTables) {
  open(atDpi(96));
  EXPECT_EQ(text(control(L"BitBtn2")), L"&Вернуть");
  EXPECT_EQ(text(control(L"CheckBox9")), L" Вкл.");
  EXPECT_EQ(text(control(L"GroupBox5")), L"\"Жесткий\" свет");
  struct Range {
    const wchar_t* name;
    int min, max, page;
  };
  const Range ranges[] = {
      {L"TrackBar1", -10, 10, 1}, {L"HLs2", 0, 10, 1},         {L"TrackBar6", 0, 20, 1},
      {L"TrackBar7", 2, 12, 1},   {L"TrackBar8", 0, 2000, 50}, {L"TrackBar9", 0, 3000, 50},
      {L"TrackBar10", 0, 150, 5}, {L"TrackBar11", 0, 2, 1},    {L"TrackBar12", 0, 10, 1}};
  for (const Range& r : ranges) {
    HWND s = control(r.name);
    EXPECT_EQ(SendMessageW(s, TBM_GETRANGEMIN, 0, 0), r.min) << named(r.name);
    EXPECT_EQ(SendMessageW(s, TBM_GETRANGEMAX, 0, 0), r.max) << named(r.name);
    EXPECT_EQ(SendMessageW(s, TBM_GETPAGESIZE, 0, 0), r.page) << named(r.name);
    EXPECT_EQ(SendMessageW(s, TBM_GETLINESIZE, 0, 0), 1);
    // No selection marker on any slider, whatever its range.
    EXPECT_EQ(SendMessageW(s, TBM_GETSELSTART, 0, 0), SendMessageW(s, TBM_GETSELEND, 0, 0))
        << named(r.name);
  }
  EXPECT_TRUE(GetWindowLongW(control(L"HLs1"), GWL_STYLE) & TBS_VERT);
  EXPECT_EQ(SendMessageW(control(L"TrackBar1"), TBM_GETTHUMBLENGTH, 0, 0), 14);
  EXPECT_EQ(SendMessageW(control(L"TrackBar6"), TBM_GETTHUMBLENGTH, 0, 0), 13);
  // Help panes are editable; the About text is not.
  EXPECT_FALSE(GetWindowLongW(control(L"Help3"), GWL_STYLE) & ES_READONLY);
  EXPECT_TRUE(GetWindowLongW(control(L"Memo1"), GWL_STYLE) & ES_READONLY);
  EXPECT_EQ(TabCtrl_GetItemCount(control(L"PageControl1")), 4);
}

TEST_F(LayoutTest, At144DpiFontsAndGeometryScale) {
  open(atDpi(144));
  // Font heights scale by 144 / 96; geometry by the default font's new line height / 13.
  LOGFONTW lf{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control(L"CheckBox1"), WM_GETFONT, 0, 0)),
             sizeof(lf), &lf);
  EXPECT_EQ(lf.lfHeight, -17);  // 11 x 1.5, rounded
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control(L"Help2"), WM_GETFONT, 0, 0)), sizeof(lf),
             &lf);
  EXPECT_EQ(lf.lfHeight, -17);

  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(
      dc, reinterpret_cast<HFONT>(SendMessageW(control(L"BitBtn1"), WM_GETFONT, 0, 0)));
  TEXTMETRICW tm{};
  GetTextMetricsW(dc, &tm);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  const int lineHeight = tm.tmHeight;
  ASSERT_GT(lineHeight, 13);

  RECT client;
  GetClientRect(form.handle(), &client);
  EXPECT_EQ(client.right, MulDiv(512, lineHeight, 13));
  EXPECT_EQ(client.bottom, MulDiv(405, lineHeight, 13));
  for (const Placed& p : kPlaced) {
    if (std::wstring(p.name) == L"LOD2" || std::wstring(p.name) == L"Image1") continue;
    expectPlacement(*this, p.name, scaled(p.rect, lineHeight, 13), placement(control(p.name)));
  }
}

// Each button's glyph: six state images on a transparent ground, coloured
// but for the disabled one, which is grey.
struct GlyphColours {
  int coloured = 0, grey = 0, other = 0;
};

GlyphColours drawnColours(HIMAGELIST list, int image, int side) {
  const WhiteCanvas canvas(side, side);
  ImageList_Draw(list, image, canvas.dc(), 0, 0, ILD_TRANSPARENT);
  GlyphColours seen;
  for (const COLORREF c : canvas.pixels()) {
    if (c == RGB(255, 255, 255)) continue;
    if (c == RGB(128, 128, 128))
      ++seen.grey;
    else if (GetRValue(c) != GetGValue(c) || GetGValue(c) != GetBValue(c))
      ++seen.coloured;
    else
      ++seen.other;
  }
  return seen;
}

TEST_F(LayoutTest, ButtonGlyphsHaveSixStatesOnATransparentGround) {
  open();
  for (const wchar_t* name : {L"BitBtn1", L"BitBtn2", L"BitBtn3"}) {
    BUTTON_IMAGELIST images{};
    ASSERT_TRUE(SendMessageW(control(name), BCM_GETIMAGELIST, 0, reinterpret_cast<LPARAM>(&images)))
        << name;
    ASSERT_EQ(ImageList_GetImageCount(images.himl), 6) << name;
    int side = 0, height = 0;
    ImageList_GetIconSize(images.himl, &side, &height);
    EXPECT_EQ(side, 16);
    for (int state = 0; state < 6; ++state) {
      const GlyphColours seen = drawnColours(images.himl, state, side);
      SCOPED_TRACE(testing::Message() << named(name) << " state " << state);
      EXPECT_EQ(seen.other, 0) << "only the strokes may cover the ground";
      if (state == 3) {
        EXPECT_EQ(seen.coloured, 0);
        EXPECT_GT(seen.grey, 10);
      } else {
        EXPECT_GT(seen.coloured, 10);
        EXPECT_EQ(seen.grey, 0);
      }
    }
  }
}

// A label is as wide as its text and one line of its font high, from the
// start and again whenever its slider gives it a new text.
SIZE fittedSize(HWND label) {
  wchar_t text[256];
  const int length = GetWindowTextW(label, text, 256);
  HDC dc = GetDC(label);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
  SIZE extent{};
  GetTextExtentPoint32W(dc, text, length, &extent);
  TEXTMETRICW tm{};
  GetTextMetricsW(dc, &tm);
  SelectObject(dc, old);
  ReleaseDC(label, dc);
  return SIZE{extent.cx, tm.tmHeight};
}

void expectFitted(const wchar_t* name, HWND label) {
  RECT r;
  GetClientRect(label, &r);
  const SIZE want = fittedSize(label);
  EXPECT_EQ(r.right, want.cx) << named(name);
  EXPECT_EQ(r.bottom, want.cy) << named(name);
}

TEST_F(LayoutTest, LabelsFitTheirText) {
  writeConfig("[Reflections]\r\nmaxCount=7\r\n");
  open();
  const wchar_t* const labels[] = {L"Label1", L"Label2", L"Label4", L"gst",    L"Label5",
                                   L"gsi",    L"Label6", L"Label8", L"Label9", L"Label15"};
  for (const wchar_t* name : labels) {
    EXPECT_GT(GetWindowTextLengthW(control(name)), 0) << named(name);
    expectFitted(name, control(name));
  }
  // One digit to three: the label widens with its text.
  HWND slider = control(L"TrackBar8");
  const int before = placement(control(L"Label9")).right - placement(control(L"Label9")).left;
  SendMessageW(slider, TBM_SETPOS, TRUE, 300);
  SendMessageW(GetParent(slider), WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, 300),
               reinterpret_cast<LPARAM>(slider));
  EXPECT_EQ(text(control(L"Label9")), L"300");
  expectFitted(L"Label9", control(L"Label9"));
  EXPECT_GT(placement(control(L"Label9")).right - placement(control(L"Label9")).left, before);
}

}  // namespace
}  // namespace zemlo::test
