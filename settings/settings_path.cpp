#include "settings/settings.h"

#include <string_view>

#ifdef _WIN32
#include <windows.h>

#include <vector>
#else
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
  const std::string_view name = "config.cfg";
  return folderOf(executablePath()).append(name.begin(), name.end());
}

}  // namespace zemlo
