#include "settings/file_name.h"

#include <string_view>

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

bool isStagedCopyOf(const FileName& candidate, const FileName& name) {
  static constexpr std::string_view kShape = ".########.tmp";  // '#': a hex digit
  if (candidate.size() != name.size() + kShape.size() || candidate.compare(0, name.size(), name))
    return false;
  for (std::size_t i = 0; i < kShape.size(); ++i) {
    const FileName::value_type c = candidate[name.size() + i];
    const bool hex = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
    if (kShape[i] == '#' ? !hex : c != FileName::value_type(kShape[i])) return false;
  }
  return true;
}

WriteError::WriteError(const FileName& file, const std::string& more)
    : std::runtime_error("Unable to write to " + pathToUtf8(file) + more) {}

}  // namespace zemlo
