// Slider arithmetic: exact-product rounding, halves to even, clamping, labels.
#include <gtest/gtest.h>

#include <cfloat>

#include "settings/value_text.h"
#include "ui/slider_math.h"

namespace zemlo::ui {
namespace {

TEST(SliderMath, RoundsTheExactProductHalvesToEvenAndClamps) {
  struct Case {
    double value;
    int factor, min, max, position;
  };
  const Case cases[] = {
      {0.15, 10, -10, 10, 1},    // 0.15 x 10 is a little below 1.5
      {0.35, 10, -10, 10, 3},    // likewise below 3.5
      {-0.25, 10, -10, 10, -2},  // exact half: even neighbour
      {0.25, 10, -10, 10, 2},   {2.5, 2, 2, 12, 5},         {3.0, 2, 2, 12, 6},
      {0.4, 20, 0, 20, 8},      {0.43, 20, 0, 20, 9},       {0.425, 20, 0, 20, 8},
      {-1.5, 10, -10, 10, -10}, {1e300, 10, -10, 10, 10},   {-1e300, 10, -10, 10, -10},
      {DBL_MAX, 20, 0, 20, 20}, {-DBL_MIN, 10, -10, 10, 0}, {2.147483648e8, 10, -10, 10, 10},
  };
  for (const Case& c : cases)
    EXPECT_EQ(scaledPosition(c.value, c.factor, c.min, c.max), c.position)
        << c.value << " x " << c.factor;
}

TEST(SliderMath, StrengthSlidersRunFromFullAtTheTop) {
  const std::pair<double, int> cases[] = {{0.4, 6},  {0.6, 4},   {0.2, 8}, {0.45, 5}, {0.25, 8},
                                          {0.75, 2}, {-0.5, 10}, {1.0, 0}, {7.0, 0},  {0.0, 10}};
  for (auto [value, position] : cases) EXPECT_EQ(strengthPosition(value), position) << value;
  // Back again, every position writes as a short decimal.
  const char* const written[] = {"1",   "0.9", "0.8", "0.7", "0.6", "0.5",
                                 "0.4", "0.3", "0.2", "0.1", "0"};
  for (int p = 0; p <= 10; ++p) EXPECT_EQ(formatReal(strengthFromPosition(p)), written[p]) << p;
}

TEST(SliderMath, LabelsShowTwoDecimals) {
  struct Case {
    int position, divisor;
    const char* text;
  };
  const Case cases[] = {{-3, 10, "-0.30"},  {12, 20, "0.60"}, {5, 2, "2.50"},   {0, 10, "0.00"},
                        {-10, 10, "-1.00"}, {20, 20, "1.00"}, {1, 20, "0.05"},  {12, 2, "6.00"},
                        {1, 3, "0.33"},     {2, 3, "0.67"},   {-2, 3, "-0.67"}, {1, 8, "0.13"}};
  for (const Case& c : cases)
    EXPECT_EQ(realLabel(c.position, c.divisor), c.text) << c.position << "/" << c.divisor;
  // What a label shows is what Save stores.
  for (int p = -10; p <= 10; ++p) {
    const auto value = parseReal(realLabel(p, 10));
    ASSERT_TRUE(value);
    EXPECT_EQ(formatReal(*value), formatReal(p / 10.0)) << p;
  }
}

TEST(SliderMath, TextureSizeOnlyForEqualSquares) {
  EXPECT_EQ(textureSizePosition(256, 256, 1), 0);
  EXPECT_EQ(textureSizePosition(512, 512, 0), 1);
  EXPECT_EQ(textureSizePosition(1024, 1024, 0), 2);
  EXPECT_EQ(textureSizePosition(800, 600, 0), 0);
  EXPECT_EQ(textureSizePosition(512, 1024, 2), 2);
  EXPECT_EQ(textureSizeLabel(2), "1024x1024");
  EXPECT_EQ(textureSizeForPosition(0), 256);
}

}  // namespace
}  // namespace zemlo::ui
