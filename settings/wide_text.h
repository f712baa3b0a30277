// Between Windows' UTF-16 text and 8-bit text: UTF-8 unless another code page
// (the ANSI one, CP_ACP) is named. Windows only.
#pragma once

#include <string>
#include <string_view>

namespace zemlo {

std::wstring widen(std::string_view text, unsigned codePage = 65001 /* CP_UTF8 */);
std::string narrow(std::wstring_view text, unsigned codePage = 65001);

}  // namespace zemlo
