// The About picture as a function of the pixel: a dusk sky over water with the
// add-on's name. The generator encodes it; the tests compare against it.
#pragma once

#include <cmath>
#include <cstdint>

namespace zemlo::tools {

inline constexpr int kPictureWidth = 119;
inline constexpr int kPictureHeight = 279;
inline constexpr int kHorizon = 168;

struct Rgb {
  uint8_t r, g, b;
};

// "ZEMLO" in a 5 x 7 font, each cell drawn 3 x 3.
inline bool inTitle(int x, int y) {
  static const char* const kGlyphs[5][7] = {
      {"11111", "00001", "00010", "00100", "01000", "10000", "11111"},  // Z
      {"11111", "10000", "10000", "11110", "10000", "10000", "11111"},  // E
      {"10001", "11011", "10101", "10101", "10001", "10001", "10001"},  // M
      {"10000", "10000", "10000", "10000", "10000", "10000", "11111"},  // L
      {"01110", "10001", "10001", "10001", "10001", "10001", "01110"},  // O
  };
  constexpr int kLeft = 16, kTop = 24, kCell = 3, kAdvance = 18;
  if (y < kTop || y >= kTop + 7 * kCell || x < kLeft) return false;
  const int letter = (x - kLeft) / kAdvance;
  const int column = (x - kLeft) % kAdvance / kCell;
  if (letter >= 5 || column >= 5) return false;
  return kGlyphs[letter][(y - kTop) / kCell][column] == '1';
}

inline uint8_t mix(int a, int b, double t) {
  return static_cast<uint8_t>(std::lround(a + (b - a) * t));
}

inline Rgb aboutPicturePixel(int x, int y) {
  constexpr int kSunX = 60, kSunY = 140, kSunR = 20;
  if (inTitle(x, y)) return {250, 250, 245};
  if (y < kHorizon) {
    const double ridge = kHorizon - 18 - 9 * std::sin(x / 9.0) - 6 * std::sin(x / 4.3 + 1.0);
    if (y >= ridge) return {36, 32, 64};  // hills
    const int dx = x - kSunX, dy = y - kSunY;
    if (dx * dx + dy * dy <= kSunR * kSunR) return {255, 214, 110};
    const double t = static_cast<double>(y) / kHorizon;  // night blue to dusk orange
    return {mix(18, 242, t * t), mix(28, 140, t * t), mix(92, 72, t)};
  }
  const double depth = static_cast<double>(y - kHorizon) / (kPictureHeight - kHorizon);
  const int half = static_cast<int>(kSunR * (1.0 - 0.6 * depth));
  if (((y - kHorizon) / 3) % 2 == 0 && std::abs(x - kSunX) <= half)
    return {236, 168, 92};  // glitter
  return {mix(24, 6, depth), mix(64, 24, depth), mix(112, 56, depth)};
}

}  // namespace zemlo::tools
