#include "settings/profile_store.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace zemlo {

WriteError::WriteError(const FileName& file)
    : std::runtime_error("Unable to write to " + pathToUtf8(file)) {}

std::string pathToUtf8(const FileName& file) {
#ifdef _WIN32
  // Not through the ANSI code page, which would lose characters.
  const std::wstring& wide = file;
  if (wide.empty()) return {};
  const int size = static_cast<int>(wide.size());
  const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
  std::string utf8(n > 0 ? n : 0, '\0');
  if (n > 0) WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, utf8.data(), n, nullptr, nullptr);
  return utf8;
#else
  return file;
#endif
}

std::unique_ptr<ProfileStore> openProfile(FileName file) {
#ifdef _WIN32
  return openWin32Profile(std::move(file));
#else
  return openPortableProfile(std::move(file));
#endif
}

}  // namespace zemlo
