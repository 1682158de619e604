#pragma once
// The arithmetic behind the splash picture, free of window code so both builds test it:
// the box the picture has to fit, its size and place on the screen, and the
// premultiplied pixels a per-pixel transparent window takes.

#include <cstdint>

struct SplashSize {
  int width = 0;
  int height = 0;
  bool operator==(const SplashSize&) const = default;
};

struct SplashPoint {
  int x = 0;
  int y = 0;
  bool operator==(const SplashPoint&) const = default;
};

// The largest the picture may be: the given maximum (700 x 450 where it is 0 or less),
// or 70 % of the screen where that is smaller and not 0. A screen side of 0 or less
// (not reported) leaves the maximum alone.
SplashSize SplashBox(SplashSize screen, SplashSize maximum);

// The picture's size on screen: its own when it fits the box, else shrunk by one factor
// for both sides so its proportions hold, each side at least 1. Never enlarged.
SplashSize ScaledSplashSize(SplashSize picture, SplashSize box);

// The top left corner that centres the picture on the screen; negative when the picture
// is larger than the screen.
SplashPoint CentredSplashPosition(SplashSize screen, SplashSize picture);

// A 0xAARRGGBB pixel with each colour multiplied by its alpha (colour * alpha / 255,
// rounded down), the form layered windows blend with.
std::uint32_t PremultipliedArgb(std::uint32_t argb);
