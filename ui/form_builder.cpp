// Builds the window's controls from the control table, one function a kind.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "ui/accessible.h"
#include "ui/container.h"
#include "ui/form_resources.h"
#include "ui/layout.h"
#include "ui/main_window.h"

namespace zemlo::ui {

namespace {

HWND createChild(const wchar_t* cls, DWORD style, HWND parent, const Rect& r, const wchar_t* text) {
  return CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, r.x, r.y, r.w, r.h, parent,
                         nullptr, GetModuleHandleW(nullptr), nullptr);
}

// Children in tab order, parents first: creation order is the order Tab visits them.
std::vector<const ControlRow*> inTabOrder(std::span<const ControlRow> table) {
  std::vector<const ControlRow*> sorted;
  std::vector<const ControlRow*> parents{nullptr};  // null: the form
  for (std::size_t p = 0; p < parents.size(); ++p) {
    std::vector<const ControlRow*> children;
    for (const ControlRow& row : table)
      if (rowOf(row.parent) == parents[p]) children.push_back(&row);
    std::stable_sort(
        children.begin(), children.end(),
        [](const ControlRow* a, const ControlRow* b) { return a->tabOrder < b->tabOrder; });
    for (const ControlRow* child : children) {
      sorted.push_back(child);
      parents.push_back(child);
    }
  }
  return sorted;
}

HWND createButton(const ControlRow& row, HWND parent, const Rect& r, HIMAGELIST glyph, int margin) {
  const DWORD style = (row.field == &FormControls::BitBtn1 ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) |
                      BS_NOTIFY | WS_TABSTOP;
  HWND button = createChild(WC_BUTTONW, style, parent, r, row.caption);
  BUTTON_IMAGELIST images{glyph, {margin, 0, 0, 0}, BUTTON_IMAGELIST_ALIGN_LEFT};
  if (button) SendMessageW(button, BCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(&images));
  return button;
}

// A page fills the tab control's display area and starts hidden.
HWND createPage(const ControlRow& row, HWND tabs) {
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = const_cast<wchar_t*>(row.caption);
  SendMessageW(tabs, TCM_INSERTITEMW, row.tabOrder, reinterpret_cast<LPARAM>(&item));
  RECT area{};
  GetClientRect(tabs, &area);
  TabCtrl_AdjustRect(tabs, FALSE, &area);
  HWND page = createContainer(Kind::Page, BevelStyle::None, tabs,
                              {area.left, area.top, area.right - area.left, area.bottom - area.top},
                              L"", GetModuleHandleW(nullptr));
  if (page) ShowWindow(page, SW_HIDE);
  return page;
}

HWND createSlider(const ControlRow& row, HWND parent, const Rect& r, int thumb) {
  const DWORD orientation =
      row.kind == Kind::HSlider ? (TBS_HORZ | TBS_BOTTOM) : (TBS_VERT | TBS_RIGHT);
  HWND slider =
      createChild(TRACKBAR_CLASSW,
                  orientation | TBS_AUTOTICKS | TBS_FIXEDLENGTH | TBS_ENABLESELRANGE | WS_TABSTOP,
                  parent, r, L"");
  if (!slider) return slider;
  const SliderRange& range = row.slider;
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
  return slider;
}

}  // namespace

HWND TForm1::createControl(const ControlRow& row, HWND parent, const Rect& r, HFONT font) {
  switch (row.kind) {
    case Kind::Button:
      return createButton(row, parent, r, resources_->glyphs[static_cast<int>(row.glyph)].get(),
                          scale(4));
    case Kind::Tabs:
      return createChild(WC_TABCONTROLW, WS_TABSTOP | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, parent, r,
                         L"");
    case Kind::Page: return createPage(row, parent);
    case Kind::GroupBox:
    case Kind::Panel:
    case Kind::Bevel:
    case Kind::Image:
      return createContainer(row.kind, row.bevel, parent, r, row.caption,
                             GetModuleHandleW(nullptr));
    case Kind::CheckBox: {
      HWND box = createChild(WC_BUTTONW, BS_AUTOCHECKBOX | WS_TABSTOP, parent, r, row.caption);
      if (box) reportToForm(box);
      return box;
    }
    case Kind::Label: {
      // Made at its text's size straight away: resizing a window costs more.
      const SIZE size = textSize(font, row.caption);
      return createChild(WC_STATICW, SS_LEFT | SS_NOPREFIX, parent, {r.x, r.y, size.cx, size.cy},
                         row.caption);
    }
    case Kind::FixedLabel:
      return createChild(WC_STATICW, SS_CENTER | SS_NOPREFIX, parent, r, row.caption);
    case Kind::HSlider:
    case Kind::VSlider: {
      HWND slider = createSlider(row, parent, r, scale(row.slider.thumb));
      if (slider) reportToForm(slider);  // its focus shows help
      return slider;
    }
    case Kind::HelpPane:
      return createChild(WC_EDITW, ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_TABSTOP,
                         parent, r, L"");
    case Kind::Memo:
      return createChild(WC_EDITW,
                         ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY | ES_CENTER | WS_TABSTOP,
                         parent, r, L"");
  }
  return nullptr;
}

void TForm1::buildControls() {
  std::vector<std::pair<HWND, HFONT>> fontOf;  // what each control's children inherit
  const auto fontOfParent = [&](HWND parent) {
    for (auto& [hwnd, font] : fontOf)
      if (hwnd == parent) return font;
    return resources_->fonts.normal.get();
  };
  controls_.assign(controlTable().size(), nullptr);
  for (const ControlRow* row : inTabOrder(controlTable())) {
    HWND parent = row->parent ? handleOf(row->parent) : Form1;
    HFONT font =
        row->font == Font::Inherit ? fontOfParent(parent) : resources_->fonts.get(row->font);
    const Rect r{scale(row->rect.x), scale(row->rect.y), scale(row->rect.w), scale(row->rect.h)};
    HWND hwnd = createControl(*row, parent, r, font);
    if (!hwnd) throw std::runtime_error("Cannot create the window's controls");
    controls_[indexOf(*row)] = hwnd;
    if (row->field) this->*(row->field) = hwnd;
    fontOf.emplace_back(hwnd, font);
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  }
  for (const ControlRow& row : controlTable()) {
    const HWND control = handleOf(row);
    if (const HWND label = handleOf(row.namedBy)) {
      // Windows names a control without text by the label just before it in
      // z-order; labels take no focus, so the tab order stays as it is.
      const HWND before = GetWindow(control, GW_HWNDPREV);
      if (before != label)
        SetWindowPos(label, before ? before : HWND_TOP, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    if (row.bind || row.kind == Kind::Button || row.kind == Kind::Tabs ||
        row.kind == Kind::HelpPane)
      answerAccessibility(control, row);
  }
  watchChanges();  // before the first change, so that the controls' own events are seen
  // The picture lies inside the bevel's frame: keep the frame beneath it.
  SetWindowPos(Bevel2, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  setupAboutPage();
}

}  // namespace zemlo::ui
