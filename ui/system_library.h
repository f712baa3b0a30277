// Windows' own DLLs, loaded from the system folder alone.
#pragma once

#include <windows.h>

namespace zemlo::ui {

// Loads `name` ("oleacc.dll") from the system folder, and its own imports from
// beside it; null when it is not there. Never from the exe's folder: that is
// the game's, where graphics add-ons put DLLs of their own.
HMODULE loadSystemLibrary(const wchar_t* name);

}  // namespace zemlo::ui
