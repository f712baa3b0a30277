#include "ui/system_library.h"

#include <cwchar>

namespace zemlo::ui {

HMODULE loadSystemLibrary(const wchar_t* name) {
  // A DLL named without a folder is looked for in the exe's folder first, and
  // only the few "known" DLLs are exempt; oleacc.dll is not one of them.
  wchar_t path[MAX_PATH];
  const UINT folder = GetSystemDirectoryW(path, MAX_PATH);
  const std::size_t length = std::wcslen(name);
  if (folder == 0 || folder + 1 + length >= MAX_PATH) return nullptr;
  path[folder] = L'\\';
  std::wmemcpy(path + folder + 1, name, length + 1);
  return LoadLibraryExW(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace zemlo::ui
