// The committed About picture through the project's decoder.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

#include "common/test_support.h"
#include "tools/about_picture.h"
#include "ui/jpeg_image.h"

namespace zemlo::ui {
namespace {

std::vector<uint8_t> committedPicture() {
  const std::string bytes =
      test::readBytes(std::filesystem::path(ZEMLO_SOURCE_DIR) / "ui/resources/about.jpg");
  return {bytes.begin(), bytes.end()};
}

TEST(AboutPicture, HeaderSaysColourBaseline119By279) {
  const auto data = committedPicture();
  ASSERT_GT(data.size(), 1000u);
  const auto info = readJpegHeader(data);
  ASSERT_TRUE(info);
  EXPECT_EQ(info->width, tools::kPictureWidth);
  EXPECT_EQ(info->height, tools::kPictureHeight);
  EXPECT_EQ(info->components, 3);
  EXPECT_TRUE(info->rgb);
  // Baseline (SOF0) and no chroma subsampling: every component samples 1 x 1.
  for (std::size_t i = 0; i + 18 < data.size(); ++i) {
    if (data[i] != 0xFF || data[i + 1] != 0xC0) continue;
    for (int c = 0; c < 3; ++c) EXPECT_EQ(data[i + 11 + 3 * c], 0x11) << "component " << c;
    return;
  }
  ADD_FAILURE() << "no baseline frame header";
}

TEST(AboutPicture, DecodesToTheGeneratorsColours) {
  const auto image = decodeJpeg(committedPicture());
  ASSERT_TRUE(image);
  ASSERT_EQ(image->width, tools::kPictureWidth);
  ASSERT_EQ(image->height, tools::kPictureHeight);
  ASSERT_EQ(image->pixels.size(), std::size_t(119 * 279 * 3));
  // Points inside flat areas: sun, hills, sky, water, night sky.
  const std::pair<int, int> samples[] = {{60, 140}, {5, 160}, {100, 60},
                                         {10, 260}, {60, 8},  {110, 230}};
  for (auto [x, y] : samples) {
    const tools::Rgb want = tools::aboutPicturePixel(x, y);
    const uint8_t* got = &image->pixels[(static_cast<std::size_t>(y) * image->width + x) * 3];
    EXPECT_NEAR(got[0], want.r, 16) << x << "," << y;
    EXPECT_NEAR(got[1], want.g, 16) << x << "," << y;
    EXPECT_NEAR(got[2], want.b, 16) << x << "," << y;
  }
}

TEST(AboutPicture, DamagedDataIsRejectedCleanly) {
  const auto good = committedPicture();
  std::mt19937 random(7);
  std::vector<uint8_t> noise(4000);
  for (auto& b : noise) b = static_cast<uint8_t>(random());
  const std::vector<std::vector<uint8_t>> cases = {
      {},
      {good.begin(), good.begin() + 2},
      {good.begin(), good.begin() + 200},
      {good.begin(), good.begin() + good.size() / 2},
      {good.begin(), good.end() - 2},
      noise,
  };
  for (std::size_t i = 0; i < cases.size(); ++i) EXPECT_FALSE(decodeJpeg(cases[i])) << "case " << i;
  EXPECT_FALSE(readJpegHeader(noise));
  EXPECT_FALSE(readJpegHeader({}));
  // The header alone is enough to read the header.
  EXPECT_TRUE(readJpegHeader(cases[3]));
}

}  // namespace
}  // namespace zemlo::ui
