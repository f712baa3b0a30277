// Owners for the GDI, common-control and menu handles the window creates. Child
// windows are not here: their parent destroys them.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <utility>

namespace zemlo::ui {

template <typename Handle, auto Release>
class Owned {
public:
  Owned() = default;
  explicit Owned(Handle h) : h_(h) {}
  ~Owned() { reset(); }
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;
  Owned(Owned&& other) noexcept : h_(std::exchange(other.h_, nullptr)) {}
  Owned& operator=(Owned&& other) noexcept {
    if (this != &other) {
      reset();
      h_ = std::exchange(other.h_, nullptr);
    }
    return *this;
  }
  void reset(Handle h = nullptr) {
    if (h_) Release(h_);
    h_ = h;
  }
  Handle get() const { return h_; }
  explicit operator bool() const { return h_ != nullptr; }

private:
  Handle h_ = nullptr;
};

inline void deleteGdiObject(HGDIOBJ h) { DeleteObject(h); }
inline void destroyImageList(HIMAGELIST h) { ImageList_Destroy(h); }
inline void deleteDC(HDC h) { DeleteDC(h); }
inline void destroyMenu(HMENU h) { DestroyMenu(h); }

using FontHandle = Owned<HFONT, deleteGdiObject>;
using BitmapHandle = Owned<HBITMAP, deleteGdiObject>;
using BrushHandle = Owned<HBRUSH, deleteGdiObject>;
using PenHandle = Owned<HPEN, deleteGdiObject>;
using ImageListHandle = Owned<HIMAGELIST, destroyImageList>;
using MemoryDC = Owned<HDC, deleteDC>;
using MenuHandle = Owned<HMENU, destroyMenu>;

// The whole text of a window.
inline std::wstring windowText(HWND hwnd) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
  text.resize(
      static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
  return text;
}

// A top-down 24-bit DIB section of width x height; `bits` receives its pixels
// (rows of B, G, R, each padded to four bytes).
inline BitmapHandle createDib24(int width, int height, void** bits) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  return BitmapHandle(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0));
}

// A window DC for measuring, released on scope exit.
class ScreenDC {
public:
  explicit ScreenDC(HWND hwnd = nullptr) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
  ~ScreenDC() { ReleaseDC(hwnd_, dc_); }
  ScreenDC(const ScreenDC&) = delete;
  ScreenDC& operator=(const ScreenDC&) = delete;
  HDC get() const { return dc_; }

private:
  HWND hwnd_;
  HDC dc_;
};

// Selects a GDI object into a DC for one scope.
class Selected {
public:
  Selected(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
  ~Selected() { SelectObject(dc_, old_); }
  Selected(const Selected&) = delete;
  Selected& operator=(const Selected&) = delete;

private:
  HDC dc_;
  HGDIOBJ old_;
};

}  // namespace zemlo::ui
