#include "ui/fonts.h"

#include <string>
#include <vector>

namespace zemlo::ui {

namespace {

HFONT makeFont(const wchar_t* face, int height, BYTE charset) {
  return CreateFontW(-height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, charset, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face);
}

bool coversCyrillic(HFONT font) {
  ScreenDC dc;
  Selected use(dc.get(), font);
  const DWORD size = GetFontUnicodeRanges(dc.get(), nullptr);
  if (size == 0) return true;  // no answer: trust the font mapper
  std::vector<BYTE> buffer(size);
  auto* set = reinterpret_cast<GLYPHSET*>(buffer.data());
  if (!GetFontUnicodeRanges(dc.get(), set)) return true;
  constexpr WCHAR kZhe = 0x0416;  // 'Ж'
  for (DWORD i = 0; i < set->cRanges; ++i) {
    const WCRANGE& r = set->ranges[i];
    if (kZhe >= r.wcLow && kZhe < r.wcLow + r.cGlyphs) return true;
  }
  return false;
}

std::wstring realisedFace(HFONT font) {
  ScreenDC dc;
  Selected use(dc.get(), font);
  wchar_t face[LF_FACESIZE] = {};
  GetTextFaceW(dc.get(), LF_FACESIZE, face);
  return face;
}

// The face asked for when it can show Cyrillic here; else the same face in its
// Cyrillic version; else the closest sans serif faces that exist.
FontHandle makeCaptionFont(const wchar_t* face, int height, BYTE charset) {
  struct Candidate {
    const wchar_t* face;
    BYTE charset;
  };
  const Candidate candidates[] = {{face, charset},
                                  {face, RUSSIAN_CHARSET},
                                  {L"Microsoft Sans Serif", DEFAULT_CHARSET},
                                  {L"Tahoma", DEFAULT_CHARSET}};
  for (const Candidate& c : candidates) {
    FontHandle font(makeFont(c.face, height, c.charset));
    if (lstrcmpiW(realisedFace(font.get()).c_str(), c.face) == 0 && coversCyrillic(font.get()))
      return font;
  }
  // Nothing better: whatever the font mapper offers for the face asked for.
  return FontHandle(makeFont(face, height, DEFAULT_CHARSET));
}

}  // namespace

HFONT FontSet::get(Font which) const {
  switch (which) {
    case Font::Small: return small.get();
    case Font::Help: return help.get();
    case Font::Memo: return memo.get();
    default: return normal.get();
  }
}

FontSet createFonts(int dpi) {
  FontSet set;
  const auto scaled = [dpi](int px) { return MulDiv(px, dpi, 96); };
  set.normal = makeCaptionFont(L"MS Sans Serif", scaled(11), DEFAULT_CHARSET);
  set.small = makeCaptionFont(L"Small Fonts", scaled(9), ANSI_CHARSET);
  // The help and About texts are English: the ANSI set is all they need.
  set.help = FontHandle(makeFont(L"Verdana", scaled(11), ANSI_CHARSET));
  set.memo = FontHandle(makeFont(L"Verdana", scaled(13), ANSI_CHARSET));
  if (dpi != 96) {
    ScreenDC dc;
    Selected use(dc.get(), set.normal.get());
    TEXTMETRICW tm{};
    if (GetTextMetricsW(dc.get(), &tm)) set.lineHeight = tm.tmHeight;
  }
  return set;
}

}  // namespace zemlo::ui
