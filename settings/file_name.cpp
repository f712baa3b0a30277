#include "settings/file_name.h"

#ifdef _WIN32
#include "settings/wide_text.h"
#endif

namespace zemlo {
constexpr char kHexDigits[] = "0123456789abcdef";

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

FileName copyName(const FileName& name, uint32_t tag, std::string_view extension) {
  FileName copy = name;
  copy += '.';
  for (int shift = 28; shift >= 0; shift -= 4) copy += kHexDigits[(tag >> shift) & 0xF];
  copy += '.';
  return copy.append(extension.begin(), extension.end());
}

bool isStagedCopyOf(const FileName& candidate, const FileName& name) {
  // Exactly what copyName makes of the eight digits after the name and its dot.
  if (candidate.size() != copyName(name, 0, kStagedExtension).size()) return false;
  uint32_t tag = 0;
  for (std::size_t i = name.size() + 1; i < name.size() + 9; ++i)
    tag = tag << 4 | (std::string_view(kHexDigits).find(char(candidate[i])) & 0xF);
  return candidate == copyName(name, tag, kStagedExtension);
}

WriteError::WriteError(const FileName& file, const std::string& more)
    : std::runtime_error("Unable to write to " + pathToUtf8(file) + more) {}

}  // namespace zemlo
