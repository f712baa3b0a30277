// The COM and accessibility functions of Windows that the wrappers of
// ui/accessible.cpp use, loaded when a reader first asks: the editor starts
// without them and imports nothing beyond the system's core.
#pragma once

#include <windows.h>

#include <oleacc.h>

namespace zemlo::ui {

struct Ole {
  decltype(&CreateStdAccessibleObject) createStandard;
  decltype(&LresultFromObject) answer;
  decltype(&AccessibleObjectFromWindow) objectFromWindow;
  decltype(&SysAllocStringLen) allocString;
  decltype(&LoadRegTypeLib) loadTypeLibrary;
  decltype(&CoDisconnectObject) disconnect;
};

// All of them, from the system folder, with COM joined on the calling (the
// window's) thread for the rest of the run; null when any is missing.
const Ole* ole();

}  // namespace zemlo::ui
