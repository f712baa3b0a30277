// Builds the window's controls from the layout table.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "ui/container.h"
#include "ui/form_resources.h"
#include "ui/layout.h"
#include "ui/main_window.h"

namespace zemlo::ui {

FormResources::FormResources(int dpi_) : fonts(createFonts(dpi_)), dpi(dpi_) {
  const int side = MulDiv(16, fonts.lineHeight, 13);
  yesGlyph = createGlyphList(Glyph::Yes, side);
  retryGlyph = createGlyphList(Glyph::Retry, side);
  closeGlyph = createGlyphList(Glyph::Close, side);
}

namespace {

HWND createChild(const wchar_t* cls, DWORD style, HWND parent, const Rect& r, const wchar_t* text) {
  return CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, r.x, r.y, r.w, r.h, parent,
                         nullptr, GetModuleHandleW(nullptr), nullptr);
}

void setupSlider(HWND slider, const SliderRange& range, int thumb) {
  SendMessageW(slider, TBM_SETRANGEMIN, FALSE, range.min);
  SendMessageW(slider, TBM_SETRANGEMAX, FALSE, range.max);
  SendMessageW(slider, TBM_SETTICFREQ, range.tickStep, 0);
  SendMessageW(slider, TBM_SETLINESIZE, 0, 1);
  SendMessageW(slider, TBM_SETPAGESIZE, 0, range.page);
  SendMessageW(slider, TBM_SETTHUMBLENGTH, thumb, 0);
  // An empty selection at the range minimum: a selection below the minimum
  // is clamped at its start only, and would show a marker (2..0 on 2..12).
  SendMessageW(slider, TBM_SETSELSTART, FALSE, range.min);
  SendMessageW(slider, TBM_SETSELEND, FALSE, range.min);
  SendMessageW(slider, TBM_SETPOS, TRUE, range.initial);
}

}  // namespace

void TForm1::buildControls() {
  const auto scaled = [this](const Rect& r) {
    return Rect{scale(r.x), scale(r.y), scale(r.w), scale(r.h)};
  };
  const auto table = controlTable();

  // Children in tab order, parents first: creation order is the order Tab visits them.
  std::vector<const ControlSpec*> sorted;
  std::vector<ControlField> parents{nullptr};
  for (std::size_t p = 0; p < parents.size(); ++p) {
    std::vector<const ControlSpec*> children;
    for (const ControlSpec& row : table)
      if (row.parent == parents[p]) children.push_back(&row);
    std::stable_sort(children.begin(), children.end(),
                     [](const ControlSpec* a, const ControlSpec* b) { return a->tabOrder < b->tabOrder; });
    for (const ControlSpec* child : children) {
      sorted.push_back(child);
      parents.push_back(child->field);
    }
  }

  std::vector<std::pair<HWND, HFONT>> fontOf;  // inherited fonts
  const auto fontOfParent = [&](HWND parent) {
    for (auto& [hwnd, font] : fontOf)
      if (hwnd == parent) return font;
    return resources_->fonts.normal.get();
  };

  RECT pageArea{};
  for (const ControlSpec* row : sorted) {
    HWND parent = row->parent ? this->*(row->parent) : Form1;
    HFONT font = row->font == Font::Inherit ? fontOfParent(parent) : resources_->fonts.get(row->font);
    Rect r = scaled(row->rect);
    HWND hwnd = nullptr;
    switch (row->kind) {
      case Kind::Button: {
        DWORD style = BS_PUSHBUTTON | BS_NOTIFY | WS_TABSTOP;
        if (row->field == &TForm1::BitBtn1) style = BS_DEFPUSHBUTTON | BS_NOTIFY | WS_TABSTOP;
        hwnd = createChild(WC_BUTTONW, style, parent, r, row->caption);
        const ImageListHandle& glyph = row->glyph == Glyph::Yes     ? resources_->yesGlyph
                                       : row->glyph == Glyph::Retry ? resources_->retryGlyph
                                                                     : resources_->closeGlyph;
        BUTTON_IMAGELIST images{glyph.get(), {scale(4), 0, 0, 0}, BUTTON_IMAGELIST_ALIGN_LEFT};
        SendMessageW(hwnd, BCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(&images));
        break;
      }
      case Kind::Tabs:
        hwnd = createChild(WC_TABCONTROLW, WS_TABSTOP | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, parent, r, L"");
        break;
      case Kind::Page: {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(row->caption);
        SendMessageW(parent, TCM_INSERTITEMW, row->tabOrder, reinterpret_cast<LPARAM>(&item));
        GetClientRect(parent, &pageArea);
        TabCtrl_AdjustRect(parent, FALSE, &pageArea);
        const Rect area{pageArea.left, pageArea.top, pageArea.right - pageArea.left,
                        pageArea.bottom - pageArea.top};
        hwnd = createContainer(Kind::Page, BevelStyle::None, parent, area, L"", GetModuleHandleW(nullptr));
        ShowWindow(hwnd, SW_HIDE);
        break;
      }
      case Kind::GroupBox:
      case Kind::Panel:
      case Kind::Bevel:
      case Kind::Image:
        hwnd = createContainer(row->kind, row->bevel, parent, r, row->caption, GetModuleHandleW(nullptr));
        break;
      case Kind::CheckBox:
        hwnd = createChild(WC_BUTTONW, BS_AUTOCHECKBOX | WS_TABSTOP, parent, r, row->caption);
        reportMouseMoves(hwnd);
        break;
      case Kind::Label: {
        // Made at its text's size straight away: resizing a window costs more.
        const SIZE size = textSize(font, row->caption);
        r.w = size.cx;
        r.h = size.cy;
        hwnd = createChild(WC_STATICW, SS_LEFT | SS_NOPREFIX, parent, r, row->caption);
        break;
      }
      case Kind::FixedLabel:
        hwnd = createChild(WC_STATICW, SS_CENTER | SS_NOPREFIX, parent, r, row->caption);
        break;
      case Kind::HSlider:
      case Kind::VSlider: {
        const DWORD orientation = row->kind == Kind::HSlider ? (TBS_HORZ | TBS_BOTTOM) : (TBS_VERT | TBS_RIGHT);
        hwnd = createChild(TRACKBAR_CLASSW,
                           orientation | TBS_AUTOTICKS | TBS_FIXEDLENGTH | TBS_ENABLESELRANGE | WS_TABSTOP,
                           parent, r, L"");
        setupSlider(hwnd, row->slider, scale(row->slider.thumb));
        break;
      }
      case Kind::HelpPane:
        hwnd = createChild(WC_EDITW, ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_TABSTOP, parent, r, L"");
        break;
      case Kind::Memo:
        hwnd = createChild(WC_EDITW,
                           ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY | ES_CENTER | WS_TABSTOP, parent, r,
                           L"");
        break;
    }
    if (!hwnd) throw std::runtime_error("Cannot create the window's controls");
    this->*(row->field) = hwnd;

    fontOf.emplace_back(hwnd, font);
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  }
  // The picture lies inside the bevel's frame: keep the frame beneath it.
  SetWindowPos(Bevel2, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  setupAboutPage();
}

SIZE TForm1::textSize(HFONT font, const std::wstring& text) const {
  // The window's memory DC measures as well as a label's own and costs less.
  HDC dc = resources_->measuring.get();
  SIZE extent{};
  TEXTMETRICW tm{};
  Selected useFont(dc, font);
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
  GetTextMetricsW(dc, &tm);
  return SIZE{extent.cx, tm.tmHeight};
}

void TForm1::setLabelText(HWND label, const std::wstring& text) {
  std::wstring current(static_cast<std::size_t>(GetWindowTextLengthW(label)) + 1, L'\0');
  current.resize(static_cast<std::size_t>(GetWindowTextW(label, current.data(), static_cast<int>(current.size()))));
  if (current == text) return;  // nothing to redraw or resize
  SetWindowTextW(label, text.c_str());
  if (label == LOD1 || label == LOD2) return;  // fixed size, centred
  // Other labels fit their text, as wide as it and one line high.
  const SIZE size = textSize(reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)), text);
  SetWindowPos(label, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace zemlo::ui
