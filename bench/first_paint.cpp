// Start-up of a GUI program: from CreateProcess until its window is up and its
// message loop idle (painted, waiting for input), and its peak working set.
// Usage: first_paint RUNS EXE [EXE...]; prints one line of figures per exe.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Run {
  double ms;
  SIZE_T peakBytes;
};

BOOL CALLBACK closeWindowsOf(HWND hwnd, LPARAM pid) {
  DWORD owner = 0;
  GetWindowThreadProcessId(hwnd, &owner);
  if (owner == static_cast<DWORD>(pid)) PostMessageW(hwnd, WM_CLOSE, 0, 0);
  return TRUE;
}

bool runOnce(const std::wstring& exe, Run& run) {
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  std::wstring command = L"\"" + exe + L"\"";
  LARGE_INTEGER start, end, frequency;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  if (!CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &si, &pi))
    return false;
  const DWORD idle = WaitForInputIdle(pi.hProcess, 30000);
  QueryPerformanceCounter(&end);
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof(memory);
  GetProcessMemoryInfo(pi.hProcess, &memory, sizeof(memory));
  EnumWindows(closeWindowsOf, static_cast<LPARAM>(pi.dwProcessId));
  if (WaitForSingleObject(pi.hProcess, 5000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 0);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  run.ms = 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
           static_cast<double>(frequency.QuadPart);
  run.peakBytes = memory.PeakWorkingSetSize;
  return idle == 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: first_paint RUNS EXE [EXE...]\n");
    return 2;
  }
  const int runs = std::max(1, _wtoi(argv[1]));
  for (int i = 2; i < argc; ++i) {
    std::vector<double> times;
    SIZE_T peak = 0;
    Run warmup;
    runOnce(argv[i], warmup);  // the first start also loads Wine's DLLs into the cache
    for (int r = 0; r < runs; ++r) {
      Run run;
      if (!runOnce(argv[i], run)) {
        std::fprintf(stderr, "%ls did not start\n", argv[i]);
        return 1;
      }
      times.push_back(run.ms);
      peak = std::max(peak, run.peakBytes);
    }
    std::sort(times.begin(), times.end());
    std::printf("%ls: median %.1f ms (min %.1f, max %.1f, %d runs), peak working set %.1f MiB\n",
                argv[i], times[times.size() / 2], times.front(), times.back(), runs,
                static_cast<double>(peak) / (1 << 20));
  }
  return 0;
}
