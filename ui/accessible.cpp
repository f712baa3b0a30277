// A wrapper around the system's standard accessible object of a control, as
// Microsoft describes wrapping one. It answers what the control table knows:
// the name, the help as the description, a slider's value as its label shows
// it. Role, state and the page tabs it answers only where the system's object
// is the generic "client" one, as Wine's is for buttons, sliders and the tab
// control; Windows has objects of its own for those. Everything else, and the
// other interfaces of the system's object, it hands on; IDispatch reaches the
// wrapper's own answers. Once its control is gone it answers disconnected.
#include "ui/accessible.h"

#include <windows.h>

#include <commctrl.h>
#include <oleacc.h>
#include <servprov.h>

#include <new>
#include <string>
#include <utility>

#include "ui/bindings.h"
#include "ui/help_texts.h"
#include "ui/layout.h"
#include "ui/ole.h"

namespace zemlo::ui {

namespace {

// What a reader still holding a wrapper hears once its control is gone.
constexpr HRESULT kGone = CO_E_OBJNOTCONNECTED;

// The service by which oleacc's own objects say they are only a proxy for a
// control; a client that hears it may skip the wrapper's answers.
constexpr GUID kIsOleaccProxy = {
    0x902697fa, 0x80e4, 0x4560, {0x80, 0x2a, 0xa1, 0x3f, 0x22, 0xa6, 0x47, 0x09}};

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

// The COM methods that answer for themselves build strings: nothing thrown
// may leave them.
template <typename Answer>
HRESULT guarded(Answer answer) noexcept {
  try {
    return answer();
  } catch (...) {
    return E_OUTOFMEMORY;
  }
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

// IAccessible's type information from the accessibility type library that
// Windows registers, by which IDispatch calls the wrapper's own methods; kept
// for the run, null where there is none.
ITypeInfo* accessibleTypeInfo() {
  static ITypeInfo* const info = [] {
    ITypeLib* library = nullptr;
    ITypeInfo* found = nullptr;
    if (SUCCEEDED(ole()->loadTypeLibrary(LIBID_Accessibility, 1, 1, 0, &library))) {
      library->GetTypeInfoOfGuid(IID_IAccessible, &found);
      library->Release();
    }
    return found;
  }();
  return info;
}

class AccessibleControl final : public IAccessible, public IServiceProvider {
public:
  AccessibleControl(HWND hwnd, const ControlRow& row, IAccessible* standard, bool generic)
      : hwnd_(hwnd), row_(row), standard_(standard), generic_(generic), next_(live_) {
    if (live_) live_->previous_ = this;
    live_ = this;
  }
  ~AccessibleControl() {
    if (standard_) standard_->Release();
    (previous_ ? previous_->next_ : live_) = next_;
    if (next_) next_->previous_ = previous_;
  }
  AccessibleControl(const AccessibleControl&) = delete;
  AccessibleControl& operator=(const AccessibleControl&) = delete;

  // The wrappers of `hwnd`, which is being destroyed, answer disconnected from
  // now on, and COM lets go of those that readers still hold.
  static void disconnectAll(HWND hwnd) {
    for (AccessibleControl* wrapper = live_; wrapper;) {
      AccessibleControl* const next = wrapper->next_;  // `wrapper` may go now
      if (wrapper->hwnd_ == hwnd) wrapper->disconnect();
      wrapper = next;
    }
  }

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (id == IID_IUnknown || id == IID_IDispatch || id == IID_IAccessible)
      *out = static_cast<IAccessible*>(this);
    else if (id == IID_IServiceProvider && standard_)
      *out = static_cast<IServiceProvider*>(this);
    else if (standard_ && (id == IID_IOleWindow || (id == IID_IEnumVARIANT && !answersTabs())))
      return standard_->QueryInterface(id, out);  // the system's object's own
    if (!*out) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references_); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return left;
  }

  // IServiceProvider: the system object's services, but for its word that it
  // is only a proxy, which would send a client past this wrapper.
  HRESULT STDMETHODCALLTYPE QueryService(REFGUID service, REFIID id, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!standard_) return kGone;
    if (service == kIsOleaccProxy) return E_NOINTERFACE;
    IServiceProvider* provider = nullptr;
    void** asked = reinterpret_cast<void**>(&provider);
    if (FAILED(standard_->QueryInterface(IID_IServiceProvider, asked))) return E_NOINTERFACE;
    const HRESULT result = provider->QueryService(service, id, out);
    provider->Release();
    return result;
  }

  // IDispatch: through IAccessible's type information onto this wrapper's own
  // methods, so that a client asking by IDispatch hears the same answers.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = accessibleTypeInfo() ? 1 : 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** info) override {
    if (!info) return E_POINTER;
    *info = index == 0 ? accessibleTypeInfo() : nullptr;
    if (!*info) return index == 0 ? E_NOTIMPL : DISP_E_BADINDEX;
    (*info)->AddRef();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                          DISPID* ids) override {
    ITypeInfo* const info = accessibleTypeInfo();
    return info ? info->GetIDsOfNames(names, count, ids) : E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID id, LCID, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* exception, UINT* argument) override {
    if (id != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    ITypeInfo* const info = accessibleTypeInfo();
    return info ? info->Invoke(static_cast<IAccessible*>(this), member, flags, params, result,
                               exception, argument)
                : E_NOTIMPL;
  }

  // IAccessible: what the table knows, and what the generic object lacks.
  HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
    if (!answersTabs()) return standard_ ? standard_->get_accChildCount(count) : kGone;
    if (!count) return E_POINTER;
    *count = tabCount() + childWindowCount();  // the page tabs, then the pages' windows
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
    if (!answersTabs()) return standard_ ? standard_->get_accChild(child, out) : kGone;
    if (!out) return E_POINTER;
    *out = nullptr;
    if (isTab(child)) return S_FALSE;  // a page tab is an element of the list, not an object
    const HWND window = child.vt == VT_I4 ? childWindow(child.lVal - tabCount()) : nullptr;
    if (!window) return E_INVALIDARG;
    return ole()->objectFromWindow(window, OBJID_WINDOW, IID_IDispatch,
                                   reinterpret_cast<void**>(out));
  }
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    return guarded([&] {
      if (!standard_) return kGone;
      if (isTab(child)) return giveText(tabCaption(child.lVal - 1), name);
      const std::wstring own = isSelf(child) ? accessibleName(row_) : std::wstring();
      return own.empty() ? standard_->get_accName(child, name) : giveText(own, name);
    });
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
    return guarded([&] {
      if (!standard_) return kGone;
      if (!isSelf(child) || !isSlider()) return standard_->get_accValue(child, value);
      const int position = static_cast<int>(SendMessageW(hwnd_, TBM_GETPOS, 0, 0));
      const std::string text = row_.bind->valueText(position);
      return giveText(std::wstring(text.begin(), text.end()), value);  // digits, '.', 'x'
    });
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
    return guarded([&] {
      if (!standard_) return kGone;
      const std::wstring help = isSelf(child) ? description(row_) : std::wstring();
      return help.empty() ? standard_->get_accDescription(child, text) : giveText(help, text);
    });
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    if (!standard_) return kGone;
    if (isTab(child)) return giveNumber(ROLE_SYSTEM_PAGETAB, role);
    const LONG own = generic_ && isSelf(child) ? ownRole() : 0;
    return own ? giveNumber(own, role) : standard_->get_accRole(child, role);
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    if (!standard_) return kGone;
    if (isTab(child)) {
      const bool selected = TabCtrl_GetCurSel(hwnd_) == child.lVal - 1;
      return giveNumber(
          STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_FOCUSABLE | (selected ? STATE_SYSTEM_SELECTED : 0),
          state);
    }
    const HRESULT result = standard_->get_accState(child, state);
    if (FAILED(result) || !generic_ || !isSelf(child) || row_.kind != Kind::CheckBox) return result;
    if (state->vt == VT_I4 && SendMessageW(hwnd_, BM_GETCHECK, 0, 0) == BST_CHECKED)
      state->lVal |= STATE_SYSTEM_CHECKED;
    return result;
  }
  HRESULT STDMETHODCALLTYPE accLocation(long* x, long* y, long* w, long* h,
                                        VARIANT child) override {
    if (!isTab(child)) return standard_ ? standard_->accLocation(x, y, w, h, child) : kGone;
    if (!x || !y || !w || !h) return E_POINTER;
    RECT r{};
    TabCtrl_GetItemRect(hwnd_, child.lVal - 1, &r);
    MapWindowPoints(hwnd_, HWND_DESKTOP, reinterpret_cast<POINT*>(&r), 2);
    *x = r.left, *y = r.top, *w = r.right - r.left, *h = r.bottom - r.top;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    if (!isTab(child)) return standard_ ? standard_->accDoDefaultAction(child) : kGone;
    TabCtrl_SetCurFocus(hwnd_, child.lVal - 1);  // selects it, and the window shows the page
    return S_OK;
  }

  // IAccessible: the rest as the system's object answers it.
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    return standard_ ? standard_->get_accParent(parent) : kGone;
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* text) override {
    return standard_ ? standard_->get_accHelp(child, text) : kGone;
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
    return standard_ ? standard_->get_accHelpTopic(file, child, topic) : kGone;
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* text) override {
    return standard_ ? standard_->get_accKeyboardShortcut(child, text) : kGone;
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override {
    return standard_ ? standard_->get_accFocus(child) : kGone;
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override {
    return standard_ ? standard_->get_accSelection(children) : kGone;
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* text) override {
    return standard_ ? standard_->get_accDefaultAction(child, text) : kGone;
  }
  HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
    return standard_ ? standard_->accSelect(flags, child) : kGone;
  }
  HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
    return standard_ ? standard_->accNavigate(direction, start, end) : kGone;
  }
  HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override {
    return standard_ ? standard_->accHitTest(x, y, child) : kGone;
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
    return standard_ ? standard_->put_accName(child, name) : kGone;
  }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
    return standard_ ? standard_->put_accValue(child, value) : kGone;
  }

private:
  void disconnect() {
    AddRef();  // alive to the end of this, whatever COM lets go of
    hwnd_ = nullptr;
    std::exchange(standard_, nullptr)->Release();
    ole()->disconnect(static_cast<IAccessible*>(this), 0);
    Release();
  }

  bool isSlider() const { return row_.kind == Kind::HSlider || row_.kind == Kind::VSlider; }
  // The page tabs are the wrapper's to answer: the system's object knows none.
  bool answersTabs() const { return generic_ && standard_ && row_.kind == Kind::Tabs; }
  int tabCount() const { return TabCtrl_GetItemCount(hwnd_); }
  bool isTab(const VARIANT& child) const {
    return answersTabs() && child.vt == VT_I4 && child.lVal >= 1 && child.lVal <= tabCount();
  }
  long childWindowCount() const {
    long count = 0;
    for (HWND c = GetWindow(hwnd_, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) ++count;
    return count;
  }
  // The control's child window `n` (from 1), in z-order; null for none.
  HWND childWindow(long n) const {
    HWND c = n >= 1 ? GetWindow(hwnd_, GW_CHILD) : nullptr;
    while (c && --n > 0) c = GetWindow(c, GW_HWNDNEXT);
    return c;
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

  // Every wrapper alive, on the window's thread (COM calls come in on it).
  static inline AccessibleControl* live_ = nullptr;

  HWND hwnd_;  // null once the control is gone
  const ControlRow& row_;
  IAccessible* standard_;  // null once the control is gone
  const bool generic_;     // the system's object is the generic client one
  LONG references_ = 1;
  AccessibleControl* next_;
  AccessibleControl* previous_ = nullptr;
};

// The wrapper's answer to WM_GETOBJECT; 0 or an error where there is none.
LRESULT answerReader(HWND hwnd, const ControlRow& row, WPARAM wParam) {
  IAccessible* standard = nullptr;
  if (FAILED(ole()->createStandard(hwnd, OBJID_CLIENT, IID_IAccessible,
                                   reinterpret_cast<void**>(&standard))))
    return 0;
  VARIANT self{}, role{};
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  const bool generic = SUCCEEDED(standard->get_accRole(self, &role)) && role.vt == VT_I4 &&
                       role.lVal == ROLE_SYSTEM_CLIENT;
  auto* wrapper = new (std::nothrow) AccessibleControl(hwnd, row, standard, generic);
  if (!wrapper) {
    standard->Release();
    return 0;
  }
  const LRESULT result = ole()->answer(IID_IAccessible, wParam, static_cast<IAccessible*>(wrapper));
  wrapper->Release();
  return result;
}

LRESULT CALLBACK accessibleSubclass(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                    DWORD_PTR row) {
  try {
    if (message == WM_GETOBJECT && static_cast<LONG>(lParam) == OBJID_CLIENT && ole()) {
      // A positive result is a reference to the wrapper; on any failure the
      // control answers as it would without one.
      const LRESULT result = answerReader(hwnd, *reinterpret_cast<const ControlRow*>(row), wParam);
      if (result > 0) return result;
    } else if (message == WM_NCDESTROY) {
      AccessibleControl::disconnectAll(hwnd);
      RemoveWindowSubclass(hwnd, accessibleSubclass, 0);
    }
  } catch (...) {
    // Nothing here throws; should it, the control still answers as by default.
  }
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

}  // namespace

std::wstring accessibleName(const ControlRow& row) {
  const ControlRow* group = rowOf(row.parent);
  if (row.nameInGroup && group) return spoken(group->caption) + L": " + spoken(row.nameInGroup);
  if (*row.caption) return spoken(row.caption);
  const ControlRow* named = row.namedBy ? rowOf(row.namedBy) : group;
  return named ? spoken(named->caption) : L"";
}

void answerAccessibility(HWND control, const ControlRow& row) {
  SetWindowSubclass(control, accessibleSubclass, 0, reinterpret_cast<DWORD_PTR>(&row));
}

}  // namespace zemlo::ui
