#include "app/splash_geometry.h"

#include <algorithm>

namespace {

constexpr SplashSize kDefaultMaximum{700, 450};

// The screen share is computed in single precision on purpose: 0.7f * 600 gives exactly
// 420, where double arithmetic would give 419.99999 and a box one pixel smaller.
constexpr float kScreenShare = 0.7f;

int BoxSide(int screenSide, int maximum, int defaultMaximum) {
  const int side = maximum > 0 ? maximum : defaultMaximum;
  if (screenSide <= 0) return side;
  const float share = kScreenShare * static_cast<float>(screenSide);
  const int shareSide = static_cast<int>(share);
  return shareSide != 0 && shareSide < side ? shareSide : side;
}

int ScaledSide(int side, float scale) {
  const float scaled = static_cast<float>(side) * scale + 0.5f;
  return std::max(1, static_cast<int>(scaled));
}

}  // namespace

SplashSize SplashBox(SplashSize screen, SplashSize maximum) {
  return {BoxSide(screen.width, maximum.width, kDefaultMaximum.width),
          BoxSide(screen.height, maximum.height, kDefaultMaximum.height)};
}

SplashSize ScaledSplashSize(SplashSize picture, SplashSize box) {
  if (picture.width <= 0 || picture.height <= 0) return picture;
  if (picture.width <= box.width && picture.height <= box.height) return picture;
  const float scale = std::min(static_cast<float>(box.width) / static_cast<float>(picture.width),
                               static_cast<float>(box.height) / static_cast<float>(picture.height));
  return {ScaledSide(picture.width, scale), ScaledSide(picture.height, scale)};
}

SplashPoint CentredSplashPosition(SplashSize screen, SplashSize picture) {
  return {(screen.width - picture.width) / 2, (screen.height - picture.height) / 2};
}

std::uint32_t PremultipliedArgb(std::uint32_t argb) {
  const std::uint32_t alpha = argb >> 24;
  std::uint32_t result = alpha << 24;
  for (int shift = 0; shift < 24; shift += 8) {
    const std::uint32_t colour = (argb >> shift) & 0xFFu;
    result |= (colour * alpha / 255u) << shift;
  }
  return result;
}
