#include "settings/wide_text.h"

#include <windows.h>

namespace zemlo {

std::wstring widen(std::string_view text, unsigned codePage) {
  const int size = static_cast<int>(text.size());
  const int n = size ? MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0) : 0;
  std::wstring wide(n > 0 ? n : 0, L'\0');
  if (n > 0) MultiByteToWideChar(codePage, 0, text.data(), size, wide.data(), n);
  return wide;
}

std::string narrow(std::wstring_view text, unsigned codePage) {
  const int size = static_cast<int>(text.size());
  const int n =
      size ? WideCharToMultiByte(codePage, 0, text.data(), size, nullptr, 0, nullptr, nullptr) : 0;
  std::string bytes(n > 0 ? n : 0, '\0');
  if (n > 0) WideCharToMultiByte(codePage, 0, text.data(), size, bytes.data(), n, nullptr, nullptr);
  return bytes;
}

}  // namespace zemlo
