// Shows a page surface in a window of its own, for the surface test:
//   surface_demo.exe OUT_FOLDER
// Frames are pictures made here with GDI+ (a JPEG and a PNG with a transparent half).
// At each stage to photograph the program writes OUT_FOLDER/STAGE.ready and waits for
// OUT_FOLDER/STAGE.go (the test script takes its screenshot in between). It checks from
// the inside what the screen cannot show: pixels as the window's own DC has them, the
// input commands, visibility, focus and the window's end. It prints one line per
// failed check and ends with exit code 0 only when all passed.
#include <objidl.h>
#include <windows.h>
// GDI+ after objidl.h: it needs the COM types (IStream, PROPID) that WIN32_LEAN_AND_MEAN
// leaves out of windows.h.
#include <gdiplus.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "tools/runtime-standin/surface.h"

namespace {

// Where things are, in client pixels of the top-level window, which sits at kWindowOrigin
// on the screen; the test script uses the same numbers.
constexpr POINT kWindowOrigin = {100, 100};
constexpr SIZE kWindowSize = {400, 300};
constexpr RECT kFirstBounds = {20, 30, 320, 230};
constexpr RECT kMovedBounds = {60, 50, 360, 250};
constexpr SIZE kJpegSize = {200, 100};
constexpr SIZE kPngSize = {120, 60};
constexpr COLORREF kParentColour = RGB(64, 64, 64);
constexpr COREWEBVIEW2_COLOR kBackground = {255, 0, 128, 128};
// The JPEG's quadrants: top left, top right, bottom left, bottom right.
const Gdiplus::Color kQuadrants[] = {
    Gdiplus::Color(255, 220, 30, 30), Gdiplus::Color(255, 30, 200, 30),
    Gdiplus::Color(255, 30, 30, 220), Gdiplus::Color(255, 240, 220, 30)};
constexpr COLORREF kPngOpaque = RGB(200, 0, 200);
constexpr int kJpegTolerance = 40;  // per channel, for JPEG's losses

int failures = 0;

void Check(bool condition, const std::string& what) {
  if (condition) return;
  ++failures;
  std::printf("FAIL: %s\n", what.c_str());
  std::fflush(stdout);
}

void Pump(DWORD milliseconds) {
  const ULONGLONG end = GetTickCount64() + milliseconds;
  for (ULONGLONG now = GetTickCount64(); now < end; now = GetTickCount64()) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
}

// Lets the script photograph this stage; gives up after a minute.
void Stage(const std::string& folder, const std::string& name) {
  Pump(300);
  const std::string ready = folder + "/" + name + ".ready";
  if (FILE* file = std::fopen(ready.c_str(), "w")) std::fclose(file);
  const std::string go = folder + "/" + name + ".go";
  for (int waited = 0; waited < 600; ++waited) {
    if (GetFileAttributesA(go.c_str()) != INVALID_FILE_ATTRIBUTES) return;
    Pump(100);
  }
  Check(false, "no screenshot of stage " + name);
}

CLSID EncoderFor(const wchar_t* mime_type) {
  UINT count = 0;
  UINT bytes = 0;
  Gdiplus::GetImageEncodersSize(&count, &bytes);
  std::vector<char> buffer(bytes);
  auto* encoders = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
  Gdiplus::GetImageEncoders(count, bytes, encoders);
  for (UINT i = 0; i < count; ++i) {
    if (std::wstring(encoders[i].MimeType) == mime_type) return encoders[i].Clsid;
  }
  return CLSID_NULL;
}

std::string Encoded(Gdiplus::Bitmap& picture, const wchar_t* mime_type) {
  IStream* stream = nullptr;
  if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, &stream))) return {};
  const CLSID encoder = EncoderFor(mime_type);
  std::string bytes;
  if (picture.Save(stream, &encoder, nullptr) == Gdiplus::Ok) {
    HGLOBAL memory = nullptr;
    STATSTG status = {};
    if (SUCCEEDED(GetHGlobalFromStream(stream, &memory)) &&
        SUCCEEDED(stream->Stat(&status, STATFLAG_NONAME))) {
      const void* data = GlobalLock(memory);
      bytes.assign(static_cast<const char*>(data), status.cbSize.LowPart);
      GlobalUnlock(memory);
    }
  }
  stream->Release();
  return bytes;
}

// Four coloured quadrants, at 72 dpi so that drawing it at its resolution (not its pixel
// size) would show.
std::string QuadrantJpeg() {
  Gdiplus::Bitmap picture(kJpegSize.cx, kJpegSize.cy, PixelFormat24bppRGB);
  picture.SetResolution(72, 72);
  Gdiplus::Graphics graphics(&picture);
  const int half_x = kJpegSize.cx / 2;
  const int half_y = kJpegSize.cy / 2;
  for (int i = 0; i < 4; ++i) {
    Gdiplus::SolidBrush brush(kQuadrants[i]);
    graphics.FillRectangle(&brush, (i % 2) * half_x, (i / 2) * half_y, half_x, half_y);
  }
  return Encoded(picture, L"image/jpeg");
}

// Opaque on the left, fully transparent on the right.
std::string HalfTransparentPng() {
  Gdiplus::Bitmap picture(kPngSize.cx, kPngSize.cy, PixelFormat32bppARGB);
  Gdiplus::Graphics graphics(&picture);
  graphics.Clear(Gdiplus::Color(0, 0, 0, 0));
  Gdiplus::SolidBrush brush(
      Gdiplus::Color(255, GetRValue(kPngOpaque), GetGValue(kPngOpaque), GetBValue(kPngOpaque)));
  graphics.FillRectangle(&brush, 0, 0, kPngSize.cx / 2, kPngSize.cy);
  return Encoded(picture, L"image/png");
}

bool Near(COLORREF seen, COLORREF wanted, int tolerance) {
  return std::abs(GetRValue(seen) - GetRValue(wanted)) <= tolerance &&
         std::abs(GetGValue(seen) - GetGValue(wanted)) <= tolerance &&
         std::abs(GetBValue(seen) - GetBValue(wanted)) <= tolerance;
}

std::string Hex(COLORREF colour) {
  char text[16];
  std::snprintf(text, sizeof text, "#%02X%02X%02X", GetRValue(colour), GetGValue(colour),
                GetBValue(colour));
  return text;
}

// A pixel of the surface as its own window DC has it, freshly painted: what the window
// shows now, not what an earlier paint left.
void CheckPixel(HWND window, int x, int y, COLORREF wanted, int tolerance,
                const std::string& what) {
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  HDC dc = GetDC(window);
  const COLORREF seen = GetPixel(dc, x, y);
  ReleaseDC(window, dc);
  Check(Near(seen, wanted, tolerance), what + ": (" + std::to_string(x) + "," + std::to_string(y) +
                                           ") is " + Hex(seen) + ", expected about " + Hex(wanted));
}

COLORREF Colour(const Gdiplus::Color& colour) {
  return RGB(colour.GetR(), colour.GetG(), colour.GetB());
}

void CheckQuadrants(HWND window, const std::string& when) {
  const int x[] = {kJpegSize.cx / 4, kJpegSize.cx * 3 / 4};
  const int y[] = {kJpegSize.cy / 4, kJpegSize.cy * 3 / 4};
  for (int i = 0; i < 4; ++i) {
    CheckPixel(window, x[i % 2], y[i / 2], Colour(kQuadrants[i]), kJpegTolerance,
               when + ", quadrant " + std::to_string(i));
  }
}

struct Received {
  std::string method;
  nlohmann::json params;
};

HWND CreateParent() {
  WNDCLASSEXW window_class = {};
  window_class.cbSize = sizeof window_class;
  window_class.lpfnWndProc = DefWindowProcW;
  window_class.hInstance = GetModuleHandleW(nullptr);
  window_class.hbrBackground = CreateSolidBrush(kParentColour);
  window_class.lpszClassName = L"SurfaceTestParent";
  RegisterClassExW(&window_class);
  return CreateWindowExW(0, window_class.lpszClassName, L"surface test",
                         WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, kWindowOrigin.x, kWindowOrigin.y,
                         kWindowSize.cx, kWindowSize.cy, nullptr, nullptr, window_class.hInstance,
                         nullptr);
}

void CheckInput(standin::Surface& surface, std::vector<Received>& received) {
  HWND window = surface.window();
  received.clear();
  PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 20));
  PostMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(10, 20));
  Pump(200);
  Check(received.size() == 2, "a click gave " + std::to_string(received.size()) + " commands");
  if (received.size() == 2) {
    const nlohmann::json pressed = {{"type", "mousePressed"}, {"x", 10},      {"y", 20},
                                    {"button", "left"},       {"buttons", 1}, {"clickCount", 1},
                                    {"modifiers", 0}};
    nlohmann::json released = pressed;
    released["type"] = "mouseReleased";
    released["buttons"] = 0;
    Check(received[0].method == "Input.dispatchMouseEvent" && received[0].params == pressed,
          "press: " + received[0].method + " " + received[0].params.dump());
    Check(received[1].method == "Input.dispatchMouseEvent" && received[1].params == released,
          "release: " + received[1].method + " " + received[1].params.dump());
  }
  Check(GetFocus() == window, "the click did not give the surface the focus");
  Check(GetCapture() == nullptr, "the mouse is still captured after the release");

  // The wheel reports screen coordinates; the page gets client ones.
  received.clear();
  POINT screen = {30, 40};
  ClientToScreen(window, &screen);
  PostMessageW(window, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(screen.x, screen.y));
  // A character beyond the BMP arrives in two halves.
  PostMessageW(window, WM_CHAR, 0xD83D, 1);
  PostMessageW(window, WM_CHAR, 0xDE00, 1);
  Pump(200);
  Check(received.size() == 2, "wheel and char gave " + std::to_string(received.size()));
  if (received.size() == 2) {
    const nlohmann::json& wheel = received[0].params;
    Check(wheel["type"] == "mouseWheel" && wheel["x"] == 30 && wheel["y"] == 40 &&
              wheel["deltaY"] == -WHEEL_DELTA,
          "wheel: " + wheel.dump());
    Check(received[1].params["text"] == "\xF0\x9F\x98\x80", "char: " + received[1].params.dump());
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::printf("usage: surface_demo.exe OUT_FOLDER\n");
    return 2;
  }
  const std::string out = argv[1];
  Gdiplus::GdiplusStartupInput startup;
  ULONG_PTR gdiplus = 0;
  if (Gdiplus::GdiplusStartup(&gdiplus, &startup, nullptr) != Gdiplus::Ok) return 2;
  const std::string jpeg = QuadrantJpeg();
  const std::string png = HalfTransparentPng();
  Check(!jpeg.empty() && !png.empty(), "no test pictures");

  HWND parent = CreateParent();
  std::vector<Received> received;
  {
    std::optional<standin::Surface> owner;
    owner.emplace(parent, [&](const std::string& method, const nlohmann::json& params) {
      received.push_back({method, params});
    });
    standin::Surface& surface = *owner;
    HWND window = surface.window();
    Check(window != nullptr && GetParent(window) == parent, "no child window");
    Check(!IsWindowVisible(window), "visible before SetVisible(true)");
    surface.SetBackground(kBackground);
    surface.SetBounds(kFirstBounds);
    surface.SetVisible(true);
    Check(IsWindowVisible(window) != FALSE, "hidden after SetVisible(true)");
    const COLORREF background = RGB(kBackground.R, kBackground.G, kBackground.B);
    CheckPixel(window, 5, 5, background, 0, "background before the first frame");
    Stage(out, "background");

    surface.ShowFrame(jpeg);
    CheckQuadrants(window, "JPEG frame");
    CheckPixel(window, kJpegSize.cx + 5, 5, background, 0, "right of the frame");
    CheckPixel(window, 5, kJpegSize.cy + 5, background, 0, "below the frame");
    Stage(out, "frame");

    surface.SetBounds(kMovedBounds);
    RECT placed;
    GetWindowRect(window, &placed);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&placed), 2);
    Check(EqualRect(&placed, &kMovedBounds) != FALSE, "SetBounds did not move the window");
    Stage(out, "moved");

    // Bytes that are no picture, and a JPEG cut short, leave the frame shown.
    surface.ShowFrame("not a picture at all");
    surface.ShowFrame(jpeg.substr(0, 64));
    surface.ShowFrame("");
    CheckQuadrants(window, "after undecodable frames");

    surface.ShowFrame(png);
    CheckPixel(window, kPngSize.cx / 4, kPngSize.cy / 2, kPngOpaque, 0, "PNG, opaque half");
    CheckPixel(window, kPngSize.cx * 3 / 4, kPngSize.cy / 2, background, 0,
               "PNG, transparent half");
    CheckPixel(window, kJpegSize.cx * 3 / 4, kJpegSize.cy / 4, background, 0,
               "where the larger JPEG was");
    Stage(out, "png");

    CheckInput(surface, received);

    surface.SetVisible(false);
    Check(!IsWindowVisible(window), "visible after SetVisible(false)");
    Stage(out, "hidden");

    owner.reset();
    Check(!IsWindow(window), "a destroyed surface left its window behind");
  }

  // The class goes with the last surface and comes back with the next; a surface whose
  // parent went first lets go of its window.
  {
    standin::Surface surface(parent, nullptr);
    Check(surface.window() != nullptr, "no window for a surface made after the last went");
    DestroyWindow(parent);
    Check(surface.window() == nullptr, "the surface kept a window destroyed with its parent");
    surface.SetBounds(kFirstBounds);
    surface.SetVisible(true);
    surface.ShowFrame(jpeg);
  }
  bool refused = false;
  try {
    standin::Surface orphan(nullptr, nullptr);
  } catch (const std::system_error&) {
    refused = true;
  }
  Check(refused, "a surface without a parent window did not refuse");

  Gdiplus::GdiplusShutdown(gdiplus);
  std::printf("%s\n", failures == 0 ? "surface_demo: all checks passed" : "surface_demo: FAILED");
  return failures == 0 ? 0 : 1;
}
