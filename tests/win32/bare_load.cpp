// Loads oleacc.dll by that name alone, as the editor must never do.
#include <windows.h>

int main() { return LoadLibraryW(L"oleacc.dll") ? 0 : 1; }
