// The About page: the picture and the credits.
#include <windows.h>

#include "ui/form_resources.h"
#include "ui/main_window.h"
#include "ui/resources/resource_ids.h"
#include "ui/resources/version.h"

namespace zemlo::ui {

namespace {

#define ZEMLO_WIDEN(text) L##text
#define ZEMLO_WIDE(text) ZEMLO_WIDEN(text)

constexpr const wchar_t* kCredits[] = {
    L"ZEMLO Configurator v" ZEMLO_WIDE(ZEMLO_VERSION_SHORT) L" by the ZEMLO Configurator team",
    L"configurator@zemlo.example.org",
    L"",
    L"ZEMLO by the ZEMLO add-on authors,",
    L"zemlo@zemlo.example.org &",
    L"the ZEMLO add-on co-authors",
    L"team@zemlo.example.org",
    L"",
    L"ZEMLO includes code from the zlib library,",
    L"Copyright (C) 1995-2024 Jean-loup Gailly and Mark Adler",
    L"",
    L"Partial translation into Russian - the ZEMLO community translators",
};

std::span<const uint8_t> pictureResource() {
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC found =
      FindResourceW(module, MAKEINTRESOURCEW(IDR_ABOUT_JPEG), MAKEINTRESOURCEW(10) /* RT_RCDATA */);
  if (!found) return {};
  HGLOBAL loaded = LoadResource(module, found);
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  if (!bytes) return {};
  return {static_cast<const uint8_t*>(bytes), SizeofResource(module, found)};
}

// A top-down 24-bit DIB section holding the decoded picture.
BitmapHandle toBitmap(const RgbImage& image) {
  void* bits = nullptr;
  BitmapHandle bitmap = createDib24(image.width, image.height, &bits);
  if (!bitmap) return bitmap;
  const int stride = (image.width * 3 + 3) & ~3;
  auto* out = static_cast<uint8_t*>(bits);
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x) {
      const uint8_t* p = &image.pixels[(static_cast<std::size_t>(y) * image.width + x) * 3];
      uint8_t* q = out + y * stride + x * 3;
      q[0] = p[2];  // DIBs are B, G, R
      q[1] = p[1];
      q[2] = p[0];
    }
  GdiFlush();
  return bitmap;
}

}  // namespace

void TForm1::setupAboutPage() {
  std::wstring text;
  for (std::size_t i = 0; i < std::size(kCredits); ++i) {
    if (i > 0) text += L"\r\n";
    text += kCredits[i];
  }
  SetWindowTextW(Memo1, text.c_str());
  resources_->pictureData = options_.picture ? *options_.picture : pictureResource();
  resources_->pictureInfo = readJpegHeader(resources_->pictureData);
}

void TForm1::paintPicture(HDC dc, HWND) {
  FormResources& r = *resources_;
  if (!r.pictureInfo) return;  // missing or corrupt: the empty frame
  if (!r.pictureDecoded) {
    r.pictureDecoded = true;
    if (const auto image = decodeJpeg(r.pictureData)) r.picture = toBitmap(*image);
  }
  if (!r.picture) return;
  const MemoryDC memory(CreateCompatibleDC(dc));
  const Selected use(memory.get(), r.picture.get());
  // Drawn at its own size, whatever the resolution.
  BitBlt(dc, 0, 0, r.pictureInfo->width, r.pictureInfo->height, memory.get(), 0, 0, SRCCOPY);
}

}  // namespace zemlo::ui
