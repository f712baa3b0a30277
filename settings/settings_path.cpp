#include "settings/settings.h"

#ifdef _WIN32
#include <windows.h>

#include <vector>
#else
#include <unistd.h>

#include <filesystem>
#endif

namespace zemlo {

namespace {

// Full path of the running executable, without any length limit.
FileName executablePath() {
#ifdef _WIN32
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return {};
    if (n < buffer.size()) return FileName(buffer.data(), n);
    buffer.resize(buffer.size() * 2);
  }
#else
  std::error_code ec;
  return std::filesystem::read_symlink("/proc/self/exe", ec).native();
#endif
}

}  // namespace

FileName settingsFilePath() {
  // Beside the executable, never in the working directory.
#ifdef _WIN32
  return folderOf(executablePath()) + L"config.cfg";
#else
  return folderOf(executablePath()) + "config.cfg";
#endif
}

}  // namespace zemlo
