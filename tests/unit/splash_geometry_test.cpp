#include "app/splash_geometry.h"

#include <gtest/gtest.h>

namespace {

constexpr SplashSize kPicture{439, 450};
constexpr SplashSize kStartUpMaximum{700, 450};

TEST(SplashGeometry, FullHdScreenShowsThePictureUnscaledInTheMiddle) {
  const SplashSize box = SplashBox({1920, 1080}, kStartUpMaximum);
  EXPECT_EQ(box, (SplashSize{700, 450}));
  // 450 high in a 450-high box fits: equal is not larger.
  EXPECT_EQ(ScaledSplashSize(kPicture, box), kPicture);
  EXPECT_EQ(CentredSplashPosition({1920, 1080}, kPicture), (SplashPoint{740, 315}));
  EXPECT_EQ(CentredSplashPosition({1280, 1024}, kPicture), (SplashPoint{420, 287}));
}

TEST(SplashGeometry, SmallScreenShrinksThePictureToSeventyPercentOfItsHeight) {
  // 0.7f * 600 is exactly 420 in single precision (419.99999 in double).
  const SplashSize box = SplashBox({1024, 600}, kStartUpMaximum);
  EXPECT_EQ(box, (SplashSize{700, 420}));
  const SplashSize scaled = ScaledSplashSize(kPicture, box);
  EXPECT_EQ(scaled, (SplashSize{410, 420}));
  EXPECT_EQ(CentredSplashPosition({1024, 600}, scaled), (SplashPoint{307, 90}));

  EXPECT_EQ(SplashBox({800, 500}, kStartUpMaximum), (SplashSize{560, 350}));
  EXPECT_EQ(ScaledSplashSize(kPicture, {560, 350}), (SplashSize{341, 350}));
}

TEST(SplashGeometry, BoxFallsBackToTheDefaultMaximumAndIgnoresUnknownScreens) {
  EXPECT_EQ(SplashBox({1920, 1080}, {0, 0}), (SplashSize{700, 450}));
  EXPECT_EQ(SplashBox({1920, 1080}, {-5, 300}), (SplashSize{700, 300}));
  EXPECT_EQ(SplashBox({0, -1}, {320, 240}), (SplashSize{320, 240}));
  // 70 % of one pixel truncates to 0, which does not count as a limit.
  EXPECT_EQ(SplashBox({1, 1}, kStartUpMaximum), (SplashSize{700, 450}));
  EXPECT_EQ(SplashBox({2, 2}, kStartUpMaximum), (SplashSize{1, 1}));
}

TEST(SplashGeometry, PictureIsNeverEnlargedAndKeepsAtLeastOnePixelASide) {
  EXPECT_EQ(ScaledSplashSize({100, 60}, {700, 450}), (SplashSize{100, 60}));
  EXPECT_EQ(ScaledSplashSize({1400, 900}, {700, 450}), (SplashSize{700, 450}));
  EXPECT_EQ(ScaledSplashSize({5000, 10}, {700, 450}), (SplashSize{700, 1}));
  EXPECT_EQ(ScaledSplashSize({100000, 1}, {700, 450}), (SplashSize{700, 1}));
  // A picture larger than the screen hangs over its edges equally.
  EXPECT_EQ(CentredSplashPosition({300, 200}, kPicture), (SplashPoint{-69, -125}));
}

TEST(SplashGeometry, PremultipliedPixelsScaleEachColourByAlphaRoundingDown) {
  EXPECT_EQ(PremultipliedArgb(0xFF1C3156u), 0xFF1C3156u);
  EXPECT_EQ(PremultipliedArgb(0x00FFFFFFu), 0x00000000u);
  EXPECT_EQ(PremultipliedArgb(0x80FF8040u), 0x80804020u);
  // 200 * 100 / 255 = 78.4 and 255 * 1 / 255 = 1.
  EXPECT_EQ(PremultipliedArgb(0x64C8C8C8u), 0x644E4E4Eu);
  EXPECT_EQ(PremultipliedArgb(0x01FFFFFFu), 0x01010101u);
}

}  // namespace
