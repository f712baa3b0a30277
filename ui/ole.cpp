#include "ui/ole.h"

#include "ui/system_library.h"

namespace zemlo::ui {

namespace {

template <typename Function>
Function load(const wchar_t* library, const char* name) {
  const HMODULE module = loadSystemLibrary(library);  // kept for the rest of the run
  return reinterpret_cast<Function>(
      reinterpret_cast<void (*)()>(module ? GetProcAddress(module, name) : nullptr));
}

bool complete(const Ole& o) {
  return o.createStandard && o.answer && o.objectFromWindow && o.allocString && o.loadTypeLibrary &&
         o.disconnect;
}

}  // namespace

const Ole* ole() {
  static const Ole loaded{
      load<decltype(&CreateStdAccessibleObject)>(L"oleacc.dll", "CreateStdAccessibleObject"),
      load<decltype(&LresultFromObject)>(L"oleacc.dll", "LresultFromObject"),
      load<decltype(&AccessibleObjectFromWindow)>(L"oleacc.dll", "AccessibleObjectFromWindow"),
      load<decltype(&SysAllocStringLen)>(L"oleaut32.dll", "SysAllocStringLen"),
      load<decltype(&LoadRegTypeLib)>(L"oleaut32.dll", "LoadRegTypeLib"),
      load<decltype(&CoDisconnectObject)>(L"ole32.dll", "CoDisconnectObject")};
  static const bool joined = [] {
    const auto join = load<decltype(&CoInitializeEx)>(L"ole32.dll", "CoInitializeEx");
    return join && SUCCEEDED(join(nullptr, COINIT_APARTMENTTHREADED));
  }();
  return joined && complete(loaded) ? &loaded : nullptr;
}

}  // namespace zemlo::ui
