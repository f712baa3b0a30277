// Arithmetic between settings and slider positions. Pure: no window code, so
// it is tested natively too.
#pragma once

#include <cstdint>
#include <string>

namespace zemlo::ui {

// Round(value x factor) on the exact product, halves to the even neighbour,
// then clamped to [min, max]; values beyond any position land on an end.
int scaledPosition(double value, int factor, int min, int max);

// The vertical strength sliders: 10 - Round(value x 10), clamped to 0..10.
int strengthPosition(double value);
// Back from a strength slider: 1 - position / 10 in extended precision.
double strengthFromPosition(int position);

// Two-decimal text of position / divisor, half away from zero: "-0.30".
std::string realLabel(int position, int divisor);

// The reflection texture size slider: 0, 1, 2 for 256, 512, 1024 squared.
// Returns `current` when the pair is not one of those squares.
int textureSizePosition(int32_t sizeX, int32_t sizeY, int current);
int32_t textureSizeForPosition(int position);
std::string textureSizeLabel(int position);

}  // namespace zemlo::ui
