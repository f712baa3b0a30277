// What a screen reader learns of the shipped editor: asked from this process,
// through oleacc, about the editor's window in a process of its own.
#include <windows.h>

#include <commctrl.h>
#include <oleacc.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <string>

#include "common/test_support.h"
#include "ui/accessible.h"
#include "ui/layout.h"
#include "win32/running_editor.h"
#include "win32/ui_test_support.h"

namespace zemlo::test {
namespace {

// What a reader should get for a control of a fresh start (no config.cfg).
struct Spoken {
  const wchar_t* control;
  const wchar_t* name;
  LONG role;
  const wchar_t* value;  // nullptr: not asked
  bool checked = false;
};

constexpr LONG kCheck = ROLE_SYSTEM_CHECKBUTTON, kSlider = ROLE_SYSTEM_SLIDER;
const Spoken kSpoken[] = {
    {L"BitBtn1", L"Сохранить", ROLE_SYSTEM_PUSHBUTTON, nullptr},
    {L"BitBtn2", L"Вернуть", ROLE_SYSTEM_PUSHBUTTON, nullptr},
    {L"BitBtn3", L"Выход", ROLE_SYSTEM_PUSHBUTTON, nullptr},
    {L"CheckBox1", L"Вкл. FPS", kCheck, nullptr, false},
    {L"CheckBox2", L"Вкл. вывод статистики", kCheck, nullptr, false},
    {L"CheckBox3", L"Вкл. трилинейную фильтрацию", kCheck, nullptr, true},
    {L"CheckBox4", L"Выкл. эффект ночного шейдера", kCheck, nullptr, false},
    {L"CheckBox5", L"Резкость интерфейса", kCheck, nullptr, true},
    {L"CheckBox16", L"Вкл. скрины клавишей PrntScrn", kCheck, nullptr, true},
    {L"CheckBox6", L"Выводить Debug-файл", kCheck, nullptr, false},
    {L"TrackBar1", L"Осн. текстура mipmap LODbias:", kSlider, L"0.00"},
    {L"TrackBar2", L"Мультитекстура mipmap LODbias:", kSlider, L"0.00"},
    {L"Help1", L"Помощь", ROLE_SYSTEM_TEXT, nullptr},
    {L"CheckBox7", L"Вкл. постпроцессинг", kCheck, nullptr, true},
    {L"CheckBox8", L"Выкл. постпроцессинг для карты", kCheck, nullptr, true},
    {L"CheckBox20", L"Вкл. спец. эффект ПНВ", kCheck, nullptr, true},
    {L"CheckBox21", L"Вкл. полный 32-bit цвет", kCheck, nullptr, false},
    {L"HLs1", L"\"Жесткий\" свет: красный", kSlider, L"0.40"},
    {L"HLs2", L"\"Жесткий\" свет: зеленый", kSlider, L"0.40"},
    {L"HLs3", L"\"Жесткий\" свет: синий", kSlider, L"0.60"},
    {L"CheckBox9", L"\"Жесткий\" свет: Вкл.", kCheck, nullptr, true},
    {L"TrackBar3", L"Обесцвечивание: красный", kSlider, L"0.20"},
    {L"TrackBar4", L"Обесцвечивание: зеленый", kSlider, L"0.20"},
    {L"TrackBar5", L"Обесцвечивание: синий", kSlider, L"0.20"},
    {L"CheckBox10", L"Обесцвечивание: Вкл.", kCheck, nullptr, true},
    {L"TrackBar6", L"Сила:", kSlider, L"0.40"},
    {L"TrackBar7", L"Размер:", kSlider, L"3.00"},
    {L"CheckBox11", L"Эффект пов. яркости: Вкл.", kCheck, nullptr, true},
    {L"CheckBox12", L"Темн. небо", kCheck, nullptr, true},
    {L"CheckBox17", L"Исп. 32-bit", kCheck, nullptr, true},
    {L"CheckBox19", L"Зат. света", kCheck, nullptr, false},
    {L"Help2", L"Помощь", ROLE_SYSTEM_TEXT, nullptr},
    {L"CheckBox13", L"Вкл. отражения", kCheck, nullptr, true},
    {L"CheckBox14", L"Вкл. отражение объектов", kCheck, nullptr, false},
    {L"CheckBox15", L"Вкл. туман на воде", kCheck, nullptr, true},
    {L"CheckBox18", L"Вкл. подсветку отражений", kCheck, nullptr, true},
    {L"TrackBar11", L"Размер текстур:", kSlider, L"512x512"},
    {L"TrackBar8", L"Кол-во объектов:", kSlider, L"512"},
    {L"TrackBar9", L"Дист. до объекта:", kSlider, L"512"},
    {L"TrackBar10", L"Высота до объекта:", kSlider, L"150"},
    {L"TrackBar12", L"Сила Bumpmap-текстуры:", kSlider, L"10"},
    {L"Help3", L"Помощь", ROLE_SYSTEM_TEXT, nullptr},
};
const wchar_t* const kPageTabs[] = {L"Основные", L"Постпроцессинг", L"Отражения", L"О программе"};

const ui::ControlRow& rowNamed(const wchar_t* name) {
  for (const ui::ControlRow& row : ui::controlTable())
    if (std::wstring(row.name) == name) return row;
  throw std::runtime_error("no such control");
}

// One answer of the reader about child `child` of `acc`.
struct Answer {
  std::wstring name, value, description;
  LONG role = 0, state = 0;
};

std::wstring take(BSTR text) {
  std::wstring result = text ? std::wstring(text, SysStringLen(text)) : L"";
  SysFreeString(text);
  return result;
}

Answer ask(IAccessible* acc, LONG child) {
  VARIANT id;
  VariantInit(&id);
  id.vt = VT_I4;
  id.lVal = child;
  Answer a;
  BSTR text = nullptr;
  if (SUCCEEDED(acc->get_accName(id, &text))) a.name = take(text);
  text = nullptr;
  if (SUCCEEDED(acc->get_accValue(id, &text))) a.value = take(text);
  text = nullptr;
  if (SUCCEEDED(acc->get_accDescription(id, &text))) a.description = take(text);
  VARIANT v;
  VariantInit(&v);
  if (SUCCEEDED(acc->get_accRole(id, &v)) && v.vt == VT_I4) a.role = v.lVal;
  VariantClear(&v);
  if (SUCCEEDED(acc->get_accState(id, &v)) && v.vt == VT_I4) a.state = v.lVal;
  VariantClear(&v);
  return a;
}

// The object a reader gets for a control's client area; null for none.
IAccessible* objectOf(HWND control) {
  IAccessible* acc = nullptr;
  AccessibleObjectFromWindow(control, OBJID_CLIENT, IID_IAccessible,
                             reinterpret_cast<void**>(&acc));
  return acc;
}

class ComOnThisThread {
public:
  ComOnThisThread() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
  ~ComOnThisThread() { CoUninitialize(); }
};

TEST(Accessibility, EveryControlHasItsNameRoleValueAndStateOnEveryPage) {
  const ComOnThisThread com;
  const ScratchDir folder;
  const RunningEditor editor(folder.path());
  ASSERT_NE(editor.window(), nullptr);
  const HWND tabs = editor.control(L"PageControl1");
  ASSERT_NE(tabs, nullptr);
  for (int page = 0; page < 3; ++page) {
    SendMessageW(tabs, TCM_SETCURFOCUS, page, 0);
    for (const Spoken& s : kSpoken) {
      const ui::ControlRow& row = rowNamed(s.control);
      if (ui::pageOf(row) != page && ui::pageOf(row) != -1) continue;
      IAccessible* acc = nullptr;
      const HWND hwnd = editor.control(s.control);
      ASSERT_TRUE(hwnd && SUCCEEDED(AccessibleObjectFromWindow(hwnd, OBJID_CLIENT, IID_IAccessible,
                                                               reinterpret_cast<void**>(&acc))))
          << named(s.control);
      const Answer a = ask(acc, CHILDID_SELF);
      acc->Release();
      EXPECT_EQ(a.name, s.name) << named(s.control);
      EXPECT_EQ(a.role, s.role) << named(s.control);
      if (s.value) {
        EXPECT_EQ(a.value, s.value) << named(s.control);
      }
      EXPECT_EQ((a.state & STATE_SYSTEM_CHECKED) != 0, s.checked) << named(s.control);
      EXPECT_EQ(a.state & STATE_SYSTEM_INVISIBLE, 0) << named(s.control);
    }
    IAccessible* list = nullptr;
    ASSERT_TRUE(SUCCEEDED(AccessibleObjectFromWindow(tabs, OBJID_CLIENT, IID_IAccessible,
                                                     reinterpret_cast<void**>(&list))));
    EXPECT_EQ(ask(list, CHILDID_SELF).role, ROLE_SYSTEM_PAGETABLIST);
    long children = 0;
    list->get_accChildCount(&children);
    EXPECT_EQ(children, 8);  // the four page tabs, then the four pages' windows
    for (LONG tab = 1; tab <= 4; ++tab) {
      const Answer a = ask(list, tab);
      EXPECT_EQ(a.name, kPageTabs[tab - 1]) << "page tab " << tab;
      EXPECT_EQ(a.role, ROLE_SYSTEM_PAGETAB) << "page tab " << tab;
      EXPECT_EQ((a.state & STATE_SYSTEM_SELECTED) != 0, tab == page + 1) << "page tab " << tab;
    }
    list->Release();
  }
}

using AccessibilityInWindow = WindowTest;

// Windows itself names a slider by the label just before it in z-order.
TEST_F(AccessibilityInWindow, EachSlidersCaptionLabelStandsJustBeforeIt) {
  open();
  const std::pair<const wchar_t*, const wchar_t*> captions[] = {
      {L"TrackBar1", L"Label1"},  {L"TrackBar2", L"Label2"},   {L"TrackBar6", L"Label4"},
      {L"TrackBar7", L"Label5"},  {L"TrackBar11", L"Label6"},  {L"TrackBar8", L"Label7"},
      {L"TrackBar9", L"Label10"}, {L"TrackBar10", L"Label13"}, {L"TrackBar12", L"Label14"}};
  for (const auto& [slider, label] : captions)
    EXPECT_EQ(GetWindow(control(slider), GW_HWNDPREV), control(label)) << named(slider);
}

std::vector<std::pair<DWORD, HWND>> announced;

void CALLBACK recordEvent(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG object, LONG, DWORD, DWORD) {
  if (object == OBJID_CLIENT) announced.emplace_back(event, hwnd);
}

// A reader hears of a slider's new value, a check box's new state and a new page.
TEST_F(AccessibilityInWindow, ChangesAreAnnounced) {
  open();
  announced.clear();
  const HWINEVENTHOOK hook =
      SetWinEventHook(EVENT_OBJECT_SELECTION, EVENT_OBJECT_VALUECHANGE, nullptr, recordEvent,
                      GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
  ASSERT_NE(hook, nullptr);
  focus(control(L"TrackBar6"));
  key(VK_RIGHT);
  focus(control(L"CheckBox12"));
  key(VK_SPACE);
  form.selectPage(2);
  pump();
  UnhookWinEvent(hook);
  const std::pair<DWORD, HWND> expected[] = {{EVENT_OBJECT_VALUECHANGE, control(L"TrackBar6")},
                                             {EVENT_OBJECT_STATECHANGE, control(L"CheckBox12")},
                                             {EVENT_OBJECT_SELECTION, control(L"PageControl1")}};
  for (const auto& e : expected)
    EXPECT_NE(std::find(announced.begin(), announced.end(), e), announced.end()) << e.first;
}

// A plain control like `like` (its class and style, in a window of its own),
// for what such a control raises by itself.
HWND plainLike(HWND like) {
  wchar_t cls[64] = {};
  GetClassNameW(like, cls, 64);
  HWND owner = CreateWindowExW(0, L"Static", L"", WS_POPUP | WS_VISIBLE, 0, 0, 200, 60, nullptr,
                               nullptr, nullptr, nullptr);
  HWND plain = CreateWindowExW(0, cls, L"x", GetWindowLongW(like, GWL_STYLE), 0, 0, 150, 30, owner,
                               nullptr, nullptr, nullptr);
  SendMessageW(plain, TBM_SETRANGE, FALSE, MAKELPARAM(0, 2000));
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = const_cast<wchar_t*>(L"x");
  for (int tab = 0; tab < 2; ++tab) SendMessageW(plain, TCM_INSERTITEMW, tab, LPARAM(&item));
  return plain;
}

// Once: not again when the move ends, which a reader may say again, nor by the
// editor where the control raises its own (as Windows' and Wine 10's do): as
// often as a plain control of its kind raises it, or once where that raises none.
TEST_F(AccessibilityInWindow, EachChangeIsAnnouncedOnce) {
  open();
  const HWINEVENTHOOK hook =
      SetWinEventHook(EVENT_OBJECT_SELECTION, EVENT_OBJECT_VALUECHANGE, nullptr, recordEvent,
                      GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
  const std::tuple<const wchar_t*, UINT, DWORD> changes[] = {
      {L"TrackBar6", VK_RIGHT, EVENT_OBJECT_VALUECHANGE},
      {L"TrackBar8", VK_NEXT, EVENT_OBJECT_VALUECHANGE},
      {L"CheckBox12", VK_SPACE, EVENT_OBJECT_STATECHANGE},
      {L"PageControl1", VK_RIGHT, EVENT_OBJECT_SELECTION}};
  const auto raisedBy = [&](HWND hwnd, UINT key, DWORD event) {
    focus(hwnd);
    announced.clear();
    this->key(key);
    return std::count(announced.begin(), announced.end(), std::pair{event, hwnd});
  };
  for (const auto& [name, key, event] : changes) {
    const HWND plain = plainLike(control(name));
    const auto own = raisedBy(plain, key, event);
    DestroyWindow(GetParent(plain));
    EXPECT_EQ(raisedBy(control(name), key, event), std::max<decltype(own)>(own, 1)) << named(name);
  }
  UnhookWinEvent(hook);
}

// A mouse move over a window of the other process, handled when this returns;
// over a point of a container's own background, clear of its children.
void moveOver(HWND hwnd, POINT at) { SendMessageW(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y)); }
void moveOverBackground(HWND box) {
  RECT r;
  GetClientRect(box, &r);
  for (int y = r.bottom - 4; y > 0; y -= 3)
    for (int x = 4; x < r.right - 4; x += 3)
      if (ChildWindowFromPointEx(box, POINT{x, y}, CWP_SKIPINVISIBLE) == box)
        return moveOver(box, POINT{x, y});
}
// Labels let the mouse through to their parent, which finds the one under it.
void moveOverLabel(HWND label) {
  RECT r;
  GetWindowRect(label, &r);
  MapWindowPoints(HWND_DESKTOP, GetParent(label), reinterpret_cast<POINT*>(&r), 2);
  moveOver(GetParent(label), POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
}
std::wstring textOf(HWND hwnd) {
  wchar_t text[4096] = {};
  SendMessageW(hwnd, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(text));
  return text;
}

// On each page: no two check boxes or sliders share a name, and each holds
// the caption seen beside its control; each description is what the pane
// shows on hovering over the control, else its caption label, else its group.
// Then Tab walks the page, and on each slider the pane shows its description.
TEST(Accessibility, SettingsAreNamedApartAndExplainedAsHoveringExplainsThem) {
  const ComOnThisThread com;
  const ScratchDir folder;
  const RunningEditor editor(folder.path());
  ASSERT_NE(editor.window(), nullptr);
  const DWORD thread = GetWindowThreadProcessId(editor.window(), nullptr);
  const auto focused = [&] {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
  };
  for (int page = 0; page < 3; ++page) {
    SendMessageW(editor.control(L"PageControl1"), TCM_SETCURFOCUS, page, 0);
    const HWND pane = editor.control((L"Help" + std::to_wstring(page + 1)).c_str());
    std::set<std::wstring> names;
    std::map<HWND, std::wstring> sliders;  // to their descriptions
    for (const ui::ControlRow& row : ui::controlTable()) {
      if (!row.bind || ui::pageOf(row) != page) continue;
      const HWND control = editor.control(row.name), group = GetParent(control);
      const HWND label = row.namedBy ? editor.control(row.namedBy) : nullptr;
      IAccessible* acc = objectOf(control);
      ASSERT_NE(acc, nullptr) << named(row.name);
      const Answer a = ask(acc, CHILDID_SELF);
      acc->Release();
      EXPECT_TRUE(names.insert(a.name).second) << named(a.name.c_str()) << " twice";
      std::wstring caption = textOf(!textOf(control).empty() ? control : label ? label : group);
      std::erase(caption, L'&');
      EXPECT_NE(a.name.find(caption.substr(caption.find_first_not_of(L' '))), std::wstring::npos)
          << named(a.name.c_str());
      moveOverBackground(editor.control(L"GroupBox1"));  // empties every pane
      moveOver(control, POINT{2, 2});
      if (textOf(pane).empty() && label) moveOverLabel(label);
      if (textOf(pane).empty()) moveOverBackground(group);
      EXPECT_FALSE(textOf(pane).empty()) << named(row.name);
      EXPECT_EQ(a.description, textOf(pane)) << named(row.name);
      if (row.kind == ui::Kind::HSlider || row.kind == ui::Kind::VSlider)
        sliders[control] = a.description;
    }
    const HWND start = focused();
    ASSERT_NE(start, nullptr);
    std::size_t visited = 0;
    for (HWND before = start, now = nullptr; now != start && visited <= sliders.size();
         before = now) {
      moveOverBackground(editor.control(L"GroupBox1"));
      PostMessageW(before, WM_KEYDOWN, VK_TAB, 0);
      for (int wait = 0; wait < 200 && focused() == before; ++wait) Sleep(10);
      SendMessageW(editor.window(), WM_NULL, 0, 0);  // returns once the key is handled
      now = focused();
      if (!sliders.contains(now)) continue;
      ++visited;
      EXPECT_EQ(textOf(pane), sliders[now]) << "page " << page;
    }
    EXPECT_EQ(visited, sliders.size()) << "page " << page;
  }
}

// Name, value, description, role and state, as a client that knows only
// IDispatch reads them ("failed" for a call that failed), and directly.
std::vector<std::wstring> dispatched(IAccessible* acc) {
  std::vector<std::wstring> answers;
  for (DISPID member : {DISPID_ACC_NAME, DISPID_ACC_VALUE, DISPID_ACC_DESCRIPTION, DISPID_ACC_ROLE,
                        DISPID_ACC_STATE}) {
    VARIANT self{}, result{};
    self.vt = VT_I4;
    DISPPARAMS params{&self, nullptr, 1, 0};
    const HRESULT hr = acc->Invoke(member, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET,
                                   &params, &result, nullptr, nullptr);
    answers.push_back(FAILED(hr)                               ? L"failed"
                      : result.vt == VT_BSTR && result.bstrVal ? result.bstrVal
                      : result.vt == VT_I4                     ? std::to_wstring(result.lVal)
                                                               : L"");
    VariantClear(&result);
  }
  return answers;
}
std::vector<std::wstring> direct(IAccessible* acc) {
  const Answer a = ask(acc, CHILDID_SELF);
  return {a.name, a.value, a.description, std::to_wstring(a.role), std::to_wstring(a.state)};
}

TEST(Accessibility, InvokeAnswersAsTheDirectCallsDo) {
  const ComOnThisThread com;
  const ScratchDir folder;
  const RunningEditor editor(folder.path());
  ASSERT_NE(editor.window(), nullptr);
  SendMessageW(editor.control(L"PageControl1"), TCM_SETCURFOCUS, 1, 0);
  for (const wchar_t* name : {L"CheckBox9", L"HLs1", L"TrackBar6", L"BitBtn1", L"PageControl1"}) {
    IAccessible* acc = objectOf(editor.control(name));
    ASSERT_NE(acc, nullptr) << named(name);
    EXPECT_EQ(dispatched(acc), direct(acc)) << named(name);
    acc->Release();
  }
}

// The system's object of a check box names its window, enumerates its
// children and says it is only oleacc's proxy; the wrapper hands on all but
// the last, which would send a client past it.
TEST_F(AccessibilityInWindow, TheSystemObjectsInterfacesAreHandedOn) {
  open();
  const auto isProxy = [](IAccessible* object) {
    static const GUID kIsOleaccProxy = {
        0x902697fa, 0x80e4, 0x4560, {0x80, 0x2a, 0xa1, 0x3f, 0x22, 0xa6, 0x47, 0x09}};
    IServiceProvider* services = nullptr;
    IUnknown* proxy = nullptr;
    if (SUCCEEDED(
            object->QueryInterface(IID_IServiceProvider, reinterpret_cast<void**>(&services))))
      services->QueryService(kIsOleaccProxy, IID_IUnknown, reinterpret_cast<void**>(&proxy));
    if (services) services->Release();
    if (proxy) proxy->Release();
    return proxy != nullptr;
  };
  const HWND box = control(L"CheckBox1");
  IAccessible *acc = objectOf(box), *standard = nullptr;
  CreateStdAccessibleObject(box, OBJID_CLIENT, IID_IAccessible,
                            reinterpret_cast<void**>(&standard));
  ASSERT_TRUE(acc && standard && isProxy(standard));
  IOleWindow* window = nullptr;
  IEnumVARIANT* children = nullptr;
  HWND hwnd = nullptr;
  ASSERT_EQ(acc->QueryInterface(IID_IOleWindow, reinterpret_cast<void**>(&window)), S_OK);
  window->GetWindow(&hwnd);
  EXPECT_EQ(hwnd, box);
  EXPECT_EQ(acc->QueryInterface(IID_IEnumVARIANT, reinterpret_cast<void**>(&children)), S_OK);
  EXPECT_FALSE(isProxy(acc));
  for (IUnknown* held : {static_cast<IUnknown*>(window), static_cast<IUnknown*>(children),
                         static_cast<IUnknown*>(standard), static_cast<IUnknown*>(acc)})
    if (held) held->Release();
}

// A reader may hold an object after its control is gone: every call then says
// so, instead of answering from a window that no longer exists.
TEST_F(AccessibilityInWindow, AHeldObjectAnswersDisconnectedOnceTheWindowIsGone) {
  open();
  std::vector<IAccessible*> held;
  for (const wchar_t* name : {L"CheckBox3", L"TrackBar1", L"PageControl1"})
    held.push_back(objectOf(control(name)));
  DestroyWindow(form.handle());
  pump();
  VARIANT self{}, state{};
  self.vt = VT_I4;
  for (IAccessible* acc : held) {
    ASSERT_NE(acc, nullptr);
    BSTR text = nullptr;
    EXPECT_EQ(acc->get_accName(self, &text), CO_E_OBJNOTCONNECTED);
    EXPECT_EQ(acc->get_accValue(self, &text), CO_E_OBJNOTCONNECTED);
    EXPECT_EQ(acc->get_accState(self, &state), CO_E_OBJNOTCONNECTED);
    EXPECT_EQ(dispatched(acc)[0], L"failed");
    acc->Release();
  }
}

// Graphics add-ons drop DLLs of their own into the game's folder, where the
// editor lives. A stand-in oleacc.dll there, which leaves a file when loaded,
// with Wine told to prefer a DLL found by the search path (as Windows does for
// any DLL not one of its known DLLs): a reader asks, the editor answers, and
// the stand-in is never loaded. Wine takes the override only from the
// environment the run starts with, so ctest sets it (wine.planted_dll).
TEST(Accessibility, NoDllIsLoadedFromTheGameFolder) {
  wchar_t overrides[1024] = {};
  GetEnvironmentVariableW(L"WINEDLLOVERRIDES", overrides, 1024);
  if (!wcsstr(overrides, L"oleacc=n")) GTEST_SKIP() << "wine.planted_dll runs this";
  const ComOnThisThread com;
  const ScratchDir scratch;
  const std::filesystem::path folder = scratch.path(),
                              planted = shippedEditor().parent_path() / "tests/win32/planted";
  for (const char* file : {"oleacc.dll", "bare_load.exe"})
    std::filesystem::copy_file(planted / file, folder / file);
  // The trap works: a program here that loads oleacc.dll by bare name loads it.
  _wsystem((L"\"" + (folder / "bare_load.exe").wstring() + L"\"").c_str());
  ASSERT_TRUE(std::filesystem::remove(folder / "oleacc.dll.loaded"));

  const RunningEditor editor(folder);
  ASSERT_NE(editor.window(), nullptr);
  for (const wchar_t* name : {L"CheckBox1", L"TrackBar1", L"PageControl1"}) {
    IAccessible* acc = objectOf(editor.control(name));
    ASSERT_NE(acc, nullptr) << named(name);
    EXPECT_EQ(ask(acc, CHILDID_SELF).name, ui::accessibleName(rowNamed(name)));
    acc->Release();
  }
  EXPECT_FALSE(std::filesystem::exists(folder / "oleacc.dll.loaded"));
}

}  // namespace
}  // namespace zemlo::test
