// Who tells a reader of a change: the control itself where it does (Windows'
// common controls; Wine's, from version 10, for check boxes and tabs), else
// the editor. A hook on the window's thread sees every event its controls
// raise; the editor's own waits until the messages queued with the change have
// run, and is raised only while no control of that kind has raised one itself.
#include <windows.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "ui/accessible.h"
#include "ui/container.h"

namespace zemlo::ui {

namespace {

struct Change {
  HWND control;
  DWORD event;
  LONG child;
  Kind kind;
};

bool raisesItself[static_cast<int>(Kind::Memo) + 1] = {};
std::vector<Change> waiting;                     // to be raised by the editor
std::vector<std::pair<HWND, DWORD>> raisedByUs;  // raised, not yet seen by the hook

// The kind of a control by its class, as the hook knows it.
Kind kindOf(HWND control) {
  wchar_t cls[32] = {};
  GetClassNameW(control, cls, 32);
  if (lstrcmpiW(cls, L"msctls_trackbar32") == 0) return Kind::HSlider;
  if (lstrcmpiW(cls, L"SysTabControl32") == 0) return Kind::Tabs;
  if (lstrcmpiW(cls, L"Button") == 0 &&
      (GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK) == BS_AUTOCHECKBOX)
    return Kind::CheckBox;
  return Kind::Memo;  // none that the editor announces
}

int slot(Kind kind) { return static_cast<int>(kind == Kind::VSlider ? Kind::HSlider : kind); }

void CALLBACK seen(HWINEVENTHOOK, DWORD event, HWND control, LONG object, LONG, DWORD, DWORD) {
  if (object != OBJID_CLIENT || !control) return;
  const auto ours = std::find(raisedByUs.begin(), raisedByUs.end(), std::pair{control, event});
  if (ours != raisedByUs.end())
    raisedByUs.erase(ours);
  else
    raisesItself[slot(kindOf(control))] = true;
}

}  // namespace

bool watchChanges() {
  // For the run, from this process (whose one thread is the window's): its
  // events arrive with the window's messages.
  static const bool watching =
      SetWinEventHook(EVENT_OBJECT_SELECTION, EVENT_OBJECT_VALUECHANGE, nullptr, seen,
                      GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
  return watching;
}

void announce(Kind kind, HWND control, DWORD event, LONG child) {
  if (raisesItself[slot(kind)]) return;
  if (!watchChanges()) return (void)NotifyWinEvent(event, control, OBJID_CLIENT, child);
  waiting.push_back({control, event, child, kind});
  PostMessageW(GetAncestor(control, GA_ROOT), kMsgAnnounce, 0, 0);
}

void raiseWaitingAnnouncements() {
  for (const Change& change : std::exchange(waiting, {}))
    if (!raisesItself[slot(change.kind)] && IsWindow(change.control)) {
      if (raisedByUs.size() >= 64) raisedByUs.erase(raisedByUs.begin());  // never seen
      raisedByUs.emplace_back(change.control, change.event);
      NotifyWinEvent(change.event, change.control, OBJID_CLIENT, change.child);
    }
}

}  // namespace zemlo::ui
