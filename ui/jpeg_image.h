// Decoding the About picture with libjpeg. Pure: no window code.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace zemlo::ui {

struct JpegInfo {
  int width = 0;
  int height = 0;
  int components = 0;
  bool rgb = false;  // colour space: YCbCr/RGB decodes to RGB
};

struct RgbImage {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> pixels;  // rows top to bottom, R G B per pixel
};

// The header alone (size, components, colour space); nullopt if not a JPEG.
std::optional<JpegInfo> readJpegHeader(std::span<const uint8_t> data);

// The whole picture as RGB: create, read header, start, read the scan lines,
// finish, destroy. nullopt for corrupt or truncated data, never a crash.
std::optional<RgbImage> decodeJpeg(std::span<const uint8_t> data);

}  // namespace zemlo::ui
