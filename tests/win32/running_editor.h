// The shipped editor as a player runs it: a process of its own, found and
// driven through its windows from the test's process.
#pragma once

#include <windows.h>

#include <filesystem>

namespace zemlo::test {

// The exe that ships, as the build put it beside the tests.
std::filesystem::path shippedEditor();

// The editor in a game folder, started when made and ended, if it still runs,
// with the object. It is started from the folder above, so that what it finds
// beside itself it cannot have found as the working folder.
class RunningEditor {
public:
  // Copies the shipped exe into `folder`, unless one is there already.
  explicit RunningEditor(const std::filesystem::path& folder);
  ~RunningEditor();
  RunningEditor(const RunningEditor&) = delete;
  RunningEditor& operator=(const RunningEditor&) = delete;

  // Its main window once it is up and idle; null when none came within ten seconds.
  HWND window() const { return window_; }
  HANDLE process() const { return process_.hProcess; }
  bool running() const;
  // Ends it as a crash or the task manager would, wherever it is.
  void kill();
  // Closes it by its close box; its exit code, 0xDEAD when it did not end.
  DWORD close();

  // The control of its window named `name` in the control table, found as a
  // person finds it: the child of its parent of the right class nearest to
  // where the layout puts it; of the pages, the one shown.
  HWND control(const wchar_t* name) const;
  // The message box it shows, waited for up to ten seconds; null when none came.
  HWND messageBox() const;

private:
  PROCESS_INFORMATION process_{};
  HWND window_ = nullptr;
};

}  // namespace zemlo::test
