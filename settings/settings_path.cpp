#include "settings/settings.h"

#ifdef _WIN32
#include <windows.h>

#include <vector>
#else
#include <unistd.h>

#include <climits>
#endif

namespace zemlo {

namespace {

// Full path of the running executable, without any length limit.
std::filesystem::path executablePath() {
#ifdef _WIN32
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return {};
    if (n < buffer.size()) return std::filesystem::path(std::wstring(buffer.data(), n));
    buffer.resize(buffer.size() * 2);
  }
#else
  std::error_code ec;
  return std::filesystem::read_symlink("/proc/self/exe", ec);
#endif
}

}  // namespace

std::filesystem::path settingsFilePath() {
  // Up to and including the last separator (or drive colon); never the working directory.
#ifdef _WIN32
  // A wide name: a narrow one would drag the C++ locale machinery into the exe.
  return executablePath().parent_path() / L"config.cfg";
#else
  return executablePath().parent_path() / "config.cfg";
#endif
}

}  // namespace zemlo
