#include "settings/file_name.h"

#ifdef _WIN32
#include "settings/wide_text.h"
#endif

namespace zemlo {

FileName folderOf(const FileName& file) {
#ifdef _WIN32
  const std::size_t cut = file.find_last_of(L"\\/:");
#else
  const std::size_t cut = file.find_last_of('/');
#endif
  return cut == FileName::npos ? FileName() : file.substr(0, cut + 1);
}

std::string pathToUtf8(const FileName& file) {
#ifdef _WIN32
  return narrow(file);  // UTF-8: the ANSI code page would lose characters
#else
  return file;
#endif
}

WriteError::WriteError(const FileName& file)
    : std::runtime_error("Unable to write to " + pathToUtf8(file)) {}

}  // namespace zemlo
