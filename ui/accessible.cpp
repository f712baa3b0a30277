// A wrapper around the system's standard accessible object of a control: it
// answers name, description (its help), role, value and state from the control
// table and the control, and the tab control's page tabs as children;
// everything else it passes on.
#include "ui/accessible.h"

#include <windows.h>

#include <commctrl.h>
#include <oleacc.h>

#include <string>

#include "ui/bindings.h"
#include "ui/help_texts.h"
#include "ui/layout.h"
#include "ui/ole.h"

namespace zemlo::ui {

namespace {

bool isSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

HRESULT giveText(const std::wstring& text, BSTR* out) {
  if (!out) return E_POINTER;
  *out = text.empty() ? nullptr : ole()->allocString(text.data(), static_cast<UINT>(text.size()));
  return *out ? S_OK : S_FALSE;
}

HRESULT giveNumber(LONG value, VARIANT* out) {
  if (!out) return E_POINTER;
  out->vt = VT_I4;
  out->lVal = value;
  return S_OK;
}

// A caption as a reader speaks it: '&' marks and outer blanks left out.
std::wstring spoken(const wchar_t* caption) {
  std::wstring text;
  for (const wchar_t* c = caption; *c; ++c) {
    if (*c == L'&' && *++c == 0) break;  // '&' marks the next letter; "&&" is one '&'
    text += *c;
  }
  const auto first = text.find_first_not_of(L' ');
  return first == std::wstring::npos ? L""
                                     : text.substr(first, text.find_last_not_of(L' ') + 1 - first);
}

// A check box's or slider's help, as the pane shows it.
std::wstring description(const ControlRow& row) {
  const ControlRow* source = row.bind ? helpSource(row) : nullptr;
  return source ? paneText(source->help) : std::wstring();
}

class AccessibleControl final : public IAccessible {
public:
  AccessibleControl(HWND hwnd, const ControlRow& row, IAccessible* standard)
      : hwnd_(hwnd), row_(row), standard_(standard) {}
  ~AccessibleControl() { standard_->Release(); }
  AccessibleControl(const AccessibleControl&) = delete;
  AccessibleControl& operator=(const AccessibleControl&) = delete;

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (id != IID_IUnknown && id != IID_IDispatch && id != IID_IAccessible) return E_NOINTERFACE;
    *out = static_cast<IAccessible*>(this);
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references_); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return left;
  }

  // IDispatch, as the standard object has it.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override {
    return standard_->GetTypeInfoCount(n);
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT i, LCID lcid, ITypeInfo** info) override {
    return standard_->GetTypeInfo(i, lcid, info);
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID id, LPOLESTR* names, UINT n, LCID lcid,
                                          DISPID* ids) override {
    return standard_->GetIDsOfNames(id, names, n, lcid, ids);
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID id, LCID lcid, WORD flags,
                                   DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                   UINT* argument) override {
    return standard_->Invoke(member, id, lcid, flags, params, result, exception, argument);
  }

  // IAccessible: what the table knows.
  HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
    if (!isTabs()) return standard_->get_accChildCount(count);
    if (!count) return E_POINTER;
    *count = TabCtrl_GetItemCount(hwnd_);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
    if (!isTab(child)) return standard_->get_accChild(child, out);
    if (!out) return E_POINTER;
    *out = nullptr;
    return S_FALSE;  // a page tab is an element of the list, not an object of its own
  }
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    try {
      if (isTab(child)) return giveText(tabCaption(child.lVal - 1), name);
      const std::wstring own = isSelf(child) ? accessibleName(row_) : std::wstring();
      return own.empty() ? standard_->get_accName(child, name) : giveText(own, name);
    } catch (...) {
      return E_OUTOFMEMORY;
    }
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
    try {
      if (!isSelf(child) || !isSlider()) return standard_->get_accValue(child, value);
      const int position = static_cast<int>(SendMessageW(hwnd_, TBM_GETPOS, 0, 0));
      const std::string text = row_.bind->valueText(position);
      return giveText(std::wstring(text.begin(), text.end()), value);  // digits, '.', 'x'
    } catch (...) {
      return E_OUTOFMEMORY;
    }
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
    try {
      const std::wstring help = isSelf(child) ? description(row_) : std::wstring();
      return help.empty() ? standard_->get_accDescription(child, text) : giveText(help, text);
    } catch (...) {
      return E_OUTOFMEMORY;
    }
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    if (isTab(child)) return giveNumber(ROLE_SYSTEM_PAGETAB, role);
    const LONG own = isSelf(child) ? ownRole() : 0;
    return own ? giveNumber(own, role) : standard_->get_accRole(child, role);
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    if (isTab(child)) {
      const bool selected = TabCtrl_GetCurSel(hwnd_) == child.lVal - 1;
      return giveNumber(
          STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_FOCUSABLE | (selected ? STATE_SYSTEM_SELECTED : 0),
          state);
    }
    const HRESULT result = standard_->get_accState(child, state);
    if (FAILED(result) || !isSelf(child) || row_.kind != Kind::CheckBox) return result;
    if (state->vt == VT_I4 && SendMessageW(hwnd_, BM_GETCHECK, 0, 0) == BST_CHECKED)
      state->lVal |= STATE_SYSTEM_CHECKED;
    return result;
  }
  HRESULT STDMETHODCALLTYPE accLocation(long* x, long* y, long* w, long* h,
                                        VARIANT child) override {
    if (!isTab(child)) return standard_->accLocation(x, y, w, h, child);
    if (!x || !y || !w || !h) return E_POINTER;
    RECT r{};
    TabCtrl_GetItemRect(hwnd_, child.lVal - 1, &r);
    MapWindowPoints(hwnd_, HWND_DESKTOP, reinterpret_cast<POINT*>(&r), 2);
    *x = r.left, *y = r.top, *w = r.right - r.left, *h = r.bottom - r.top;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    if (!isTab(child)) return standard_->accDoDefaultAction(child);
    TabCtrl_SetCurFocus(hwnd_, child.lVal - 1);  // selects it, and the window shows the page
    return S_OK;
  }

  // IAccessible: the rest as the standard object answers it.
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    return standard_->get_accParent(parent);
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* text) override {
    return standard_->get_accHelp(child, text);
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
    return standard_->get_accHelpTopic(file, child, topic);
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* text) override {
    return standard_->get_accKeyboardShortcut(child, text);
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override {
    return standard_->get_accFocus(child);
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override {
    return standard_->get_accSelection(children);
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* text) override {
    return standard_->get_accDefaultAction(child, text);
  }
  HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
    return standard_->accSelect(flags, child);
  }
  HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
    return standard_->accNavigate(direction, start, end);
  }
  HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override {
    return standard_->accHitTest(x, y, child);
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
    return standard_->put_accName(child, name);
  }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
    return standard_->put_accValue(child, value);
  }

private:
  bool isTabs() const { return row_.kind == Kind::Tabs; }
  bool isSlider() const { return row_.kind == Kind::HSlider || row_.kind == Kind::VSlider; }
  bool isTab(const VARIANT& child) const {
    return isTabs() && child.vt == VT_I4 && child.lVal >= 1 &&
           child.lVal <= TabCtrl_GetItemCount(hwnd_);
  }
  std::wstring tabCaption(int index) const {
    wchar_t text[64] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = 64;
    TabCtrl_GetItem(hwnd_, index, &item);
    return text;
  }
  LONG ownRole() const {
    switch (row_.kind) {
      case Kind::CheckBox: return ROLE_SYSTEM_CHECKBUTTON;
      case Kind::HSlider:
      case Kind::VSlider: return ROLE_SYSTEM_SLIDER;
      case Kind::Button: return ROLE_SYSTEM_PUSHBUTTON;
      case Kind::Tabs: return ROLE_SYSTEM_PAGETABLIST;
      case Kind::HelpPane: return ROLE_SYSTEM_TEXT;
      default: return 0;
    }
  }

  HWND hwnd_;
  const ControlRow& row_;
  IAccessible* standard_;
  LONG references_ = 1;
};

// No exception leaves here: the wrapper's strings are built inside its own catches.
LRESULT CALLBACK accessibleSubclass(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                    DWORD_PTR row) {
  if (message == WM_GETOBJECT && static_cast<LONG>(lParam) == OBJID_CLIENT && ole()) {
    IAccessible* standard = nullptr;
    if (SUCCEEDED(ole()->createStandard(hwnd, OBJID_CLIENT, IID_IAccessible,
                                        reinterpret_cast<void**>(&standard)))) {
      auto* wrapper = new (std::nothrow)
          AccessibleControl(hwnd, *reinterpret_cast<const ControlRow*>(row), standard);
      if (!wrapper) {
        standard->Release();
        return 0;
      }
      const LRESULT result = ole()->answer(IID_IAccessible, wParam, wrapper);
      wrapper->Release();
      return result;
    }
  } else if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(hwnd, accessibleSubclass, 0);
  }
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

}  // namespace

std::wstring accessibleName(const ControlRow& row) {
  const ControlRow* group = row.parent ? rowOf(row.parent) : nullptr;
  if (row.nameInGroup && group) return spoken(group->caption) + L": " + spoken(row.nameInGroup);
  if (*row.caption) return spoken(row.caption);
  const ControlRow* named = row.namedBy ? rowOf(row.namedBy) : group;
  return named ? spoken(named->caption) : L"";
}

void answerAccessibility(HWND control, const ControlRow& row) {
  SetWindowSubclass(control, accessibleSubclass, 0, reinterpret_cast<DWORD_PTR>(&row));
}

}  // namespace zemlo::ui
