// The names the program shows. Three on purpose: the window's caption is
// Russian like its other captions; the application's title, in the task bar
// and on error boxes, is English; the two message boxes carry the short name.
#pragma once

namespace zemlo::ui {

inline constexpr wchar_t kFormCaption[] = L"ZEMLO Конфигуратор";
inline constexpr wchar_t kApplicationTitle[] = L"ZEMLO Configurator";
inline constexpr wchar_t kMessageTitle[] = L"ZEMLO";

}  // namespace zemlo::ui
