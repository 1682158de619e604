#include "app/splash.h"

#include <ole2.h>
// GDI+ after ole2.h: it needs the COM types (IStream, PROPID) that WIN32_LEAN_AND_MEAN
// leaves out of windows.h.
#include <gdiplus.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>

#include "app/splash_geometry.h"

namespace {

constexpr int kPictureResourceId = 102;
constexpr UINT_PTR kCloseTimerId = 9999;
constexpr UINT kCloseAfterMs = 15000;
constexpr wchar_t kClassName[] = L"LumoraTransparentSplashClass";
constexpr wchar_t kTitle[] = L"Lumora Splash";

bool classRegistered = false;

struct StreamRelease {
  void operator()(IStream* stream) const { stream->Release(); }
};
using StreamPtr = std::unique_ptr<IStream, StreamRelease>;

LRESULT CALLBACK SplashProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_DESTROY:
      if (SplashWindow() == window) SplashWindow() = nullptr;
      return 0;
    case WM_NCHITTEST:
      // The whole picture acts as a title bar, so it can be dragged from anywhere.
      return HTCAPTION;
    case WM_TIMER:
      if (wParam == kCloseTimerId) {
        CloseSplash();
        return 0;
      }
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

// A stream over a private copy of the PNG resource. GDI+ may read the stream until the
// bitmap made from it is gone, so the copy belongs to the stream and goes with it.
StreamPtr OpenPictureStream(HINSTANCE instance) {
  HRSRC resource = FindResourceW(instance, MAKEINTRESOURCEW(kPictureResourceId), RT_RCDATA);
  if (resource == nullptr) return nullptr;
  const DWORD size = SizeofResource(instance, resource);
  if (size == 0) return nullptr;
  HGLOBAL loaded = LoadResource(instance, resource);
  const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
  if (bytes == nullptr) return nullptr;

  HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, size);
  if (copy == nullptr) return nullptr;
  void* target = GlobalLock(copy);
  if (target == nullptr) {
    GlobalFree(copy);
    return nullptr;
  }
  std::memcpy(target, bytes, size);
  GlobalUnlock(copy);

  IStream* stream = nullptr;
  if (FAILED(CreateStreamOnHGlobal(copy, TRUE, &stream))) {
    GlobalFree(copy);
    return nullptr;
  }
  return StreamPtr(stream);
}

// Draws the picture over the whole of `target` with the best filtering GDI+ offers;
// clamped edges keep border pixels from blending with a wrapped-around opposite side.
bool DrawResized(Gdiplus::Bitmap& picture, Gdiplus::Bitmap& target) {
  if (target.GetLastStatus() != Gdiplus::Ok) return false;
  Gdiplus::Graphics graphics(&target);
  graphics.SetCompositingMode(Gdiplus::CompositingModeSourceCopy);
  graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
  graphics.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
  graphics.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHighQuality);
  Gdiplus::ImageAttributes attributes;
  attributes.SetWrapMode(Gdiplus::WrapModeClamp, Gdiplus::Color(255, 0, 0, 0));
  const Gdiplus::Rect whole(0, 0, static_cast<INT>(target.GetWidth()),
                            static_cast<INT>(target.GetHeight()));
  return graphics.DrawImage(&picture, whole, 0, 0, static_cast<INT>(picture.GetWidth()),
                            static_cast<INT>(picture.GetHeight()), Gdiplus::UnitPixel,
                            &attributes) == Gdiplus::Ok;
}

bool RegisterSplashClass(HINSTANCE instance) {
  if (classRegistered) return true;
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = SplashProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_APPSTARTING);
  windowClass.lpszClassName = kClassName;
  if (RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS) {
    classRegistered = true;
  }
  return classRegistered;
}

// A top-down 32-bit DIB holding the picture's pixels with premultiplied alpha, the form
// UpdateLayeredWindow blends with. Null on failure.
HBITMAP PremultipliedDib(Gdiplus::Bitmap& picture, SplashSize size) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = size.width;
  info.bmiHeader.biHeight = -size.height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (dib == nullptr || bits == nullptr) {
    if (dib != nullptr) DeleteObject(dib);
    return nullptr;
  }

  Gdiplus::Rect whole(0, 0, size.width, size.height);
  Gdiplus::BitmapData locked{};
  if (picture.LockBits(&whole, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB, &locked) !=
      Gdiplus::Ok) {
    DeleteObject(dib);
    return nullptr;
  }
  auto* target = static_cast<std::uint32_t*>(bits);
  const auto* sourceRows = static_cast<const std::uint8_t*>(locked.Scan0);
  for (int y = 0; y < size.height; ++y) {
    const auto* source = reinterpret_cast<const std::uint32_t*>(
        sourceRows + static_cast<std::ptrdiff_t>(y) * locked.Stride);
    for (int x = 0; x < size.width; ++x) *target++ = PremultipliedArgb(source[x]);
  }
  picture.UnlockBits(&locked);
  return dib;
}

bool ShowLayered(HWND window, HBITMAP dib, SplashPoint position, SplashSize size) {
  HDC screen = GetDC(nullptr);
  if (screen == nullptr) return false;
  bool shown = false;
  if (HDC memory = CreateCompatibleDC(screen)) {
    HGDIOBJ previous = SelectObject(memory, dib);
    POINT destination{position.x, position.y};
    SIZE extent{size.width, size.height};
    POINT source{0, 0};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    shown = UpdateLayeredWindow(window, screen, &destination, &extent, memory, &source, 0, &blend,
                                ULW_ALPHA) != FALSE;
    SelectObject(memory, previous);
    DeleteDC(memory);
  }
  ReleaseDC(nullptr, screen);
  return shown;
}

HWND CreateSplashWindow(HINSTANCE instance, Gdiplus::Bitmap& picture, SplashSize screen) {
  const SplashSize size{static_cast<int>(picture.GetWidth()),
                        static_cast<int>(picture.GetHeight())};
  const SplashPoint position = CentredSplashPosition(screen, size);

  HWND window = CreateWindowExW(WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kClassName,
                                kTitle, WS_POPUP | WS_VISIBLE, position.x, position.y, size.width,
                                size.height, nullptr, nullptr, instance, nullptr);
  if (window == nullptr) return nullptr;
  SplashWindow() = window;

  HBITMAP dib = PremultipliedDib(picture, size);
  const bool shown = dib != nullptr && ShowLayered(window, dib, position, size);
  if (dib != nullptr) DeleteObject(dib);
  if (!shown) {
    CloseSplash();
    return nullptr;
  }
  SetTimer(window, kCloseTimerId, kCloseAfterMs, nullptr);
  return window;
}

}  // namespace

HWND& SplashWindow() {
  static HWND window = nullptr;
  return window;
}

HWND CreateSplash(HINSTANCE instance, int maxWidth, int maxHeight) {
  if (SplashWindow() != nullptr) return SplashWindow();
  if (instance == nullptr) instance = GetModuleHandleW(nullptr);

  StreamPtr stream = OpenPictureStream(instance);
  if (!stream) return nullptr;
  try {
    Gdiplus::Bitmap picture(stream.get());
    if (picture.GetLastStatus() != Gdiplus::Ok) return nullptr;
    const SplashSize original{static_cast<int>(picture.GetWidth()),
                              static_cast<int>(picture.GetHeight())};
    if (original.width <= 0 || original.height <= 0) return nullptr;

    const SplashSize screen{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    const SplashSize scaled = ScaledSplashSize(original, SplashBox(screen, {maxWidth, maxHeight}));
    // In place rather than on the heap: GDI+'s operator new reports failure with null.
    std::optional<Gdiplus::Bitmap> resized;
    if (scaled != original) {
      resized.emplace(scaled.width, scaled.height, PixelFormat32bppARGB);
      if (!DrawResized(picture, *resized)) return nullptr;
    }

    if (!RegisterSplashClass(instance)) return nullptr;
    return CreateSplashWindow(instance, resized ? *resized : picture, screen);
  } catch (...) {
    // Start-up goes on without a splash; a half-made window must not stay behind.
    CloseSplash();
    return nullptr;
  }
}

void CloseSplash() {
  HWND& window = SplashWindow();
  if (window == nullptr) return;
  KillTimer(window, kCloseTimerId);
  if (IsWindow(window)) DestroyWindow(window);
  window = nullptr;
}
