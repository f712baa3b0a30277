#include "ui/slider_math.h"

#include <cmath>
#include <cstdlib>

#include "settings/value_text.h"

namespace zemlo::ui {

namespace {

// A double times a small integer is exact in the 64-bit mantissa of long
// double, so rounding the product there rounds the true value. nearbyintl in
// the default rounding mode sends exact halves to the even neighbour.
long double roundProduct(double value, int factor) {
  return std::nearbyintl(static_cast<long double>(value) * factor);
}

int clampTo(long double position, int min, int max) {
  if (!(position >= min)) return min;  // also catches NaN
  if (position > max) return max;
  return static_cast<int>(position);
}

constexpr int32_t kTextureSizes[] = {256, 512, 1024};

}  // namespace

int scaledPosition(double value, int factor, int min, int max) {
  return clampTo(roundProduct(value, factor), min, max);
}

int strengthPosition(double value) { return clampTo(10.0L - roundProduct(value, 10), 0, 10); }

double strengthFromPosition(int position) {
  return static_cast<double>(1.0L - static_cast<long double>(position) / 10.0L);
}

std::string realLabel(int position, int divisor) {
  // position / divisor in hundredths, rounded half away from zero, in integers.
  const long long scaled = static_cast<long long>(position) * 100;
  const long long quotient = scaled / divisor;
  const long long remainder = scaled % divisor;
  long long hundredths = quotient;
  if (2 * std::llabs(remainder) >= std::llabs(static_cast<long long>(divisor)))
    hundredths += (scaled < 0) != (divisor < 0) ? -1 : 1;
  return formatHundredths(hundredths);
}

int textureSizePosition(int32_t sizeX, int32_t sizeY, int current) {
  for (int i = 0; i < 3; ++i)
    if (sizeX == kTextureSizes[i] && sizeY == kTextureSizes[i]) return i;
  return current;
}

int32_t textureSizeForPosition(int position) {
  return kTextureSizes[position < 0 ? 0 : position > 2 ? 2 : position];
}

std::string textureSizeLabel(int position) {
  const std::string side = std::to_string(textureSizeForPosition(position));
  return side + "x" + side;
}

}  // namespace zemlo::ui
