// Starts the splash the way the player does, for the splash test:
//   splash_demo.exe [backdrop]
// With "backdrop" a full-screen window of one colour (#2E8B57) lies under the splash, so
// screenshots show what the picture's transparent parts let through and that nothing is
// left once the splash is gone; it stays two seconds longer than the splash for that.
// The program ends after the splash has closed itself, printing when its timer fired and
// when the window was gone, in milliseconds after CreateSplash returned.
// Exit codes: 0 closed by itself, 1 no splash, 2 a second CreateSplash made another
// window, 3 the handle outlived the window, 4 the window class is not as intended.
#include <ole2.h>
#include <windows.h>
// GDI+ after ole2.h: it needs the COM types (IStream, PROPID) that WIN32_LEAN_AND_MEAN
// leaves out of windows.h.
#include <gdiplus.h>

#include <cstdio>
#include <string_view>

#include "app/splash.h"

namespace {

constexpr COLORREF kBackdropColour = RGB(0x2E, 0x8B, 0x57);
constexpr UINT_PTR kSplashTimerId = 9999;

HWND CreateBackdrop(HINSTANCE instance) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = DefWindowProcW;
  windowClass.hInstance = instance;
  windowClass.hbrBackground = CreateSolidBrush(kBackdropColour);
  windowClass.lpszClassName = L"SplashTestBackdrop";
  RegisterClassExW(&windowClass);
  HWND backdrop =
      CreateWindowExW(0, windowClass.lpszClassName, L"backdrop", WS_POPUP | WS_VISIBLE, 0, 0,
                      GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr,
                      nullptr, instance, nullptr);
  UpdateWindow(backdrop);
  return backdrop;
}

// The class as the splash registers it: its own cursor, no icon, no background brush
// (the layered window has no background to erase), no class styles.
bool ClassAsIntended(HWND splash) {
  return reinterpret_cast<HCURSOR>(GetClassLongPtrW(splash, GCLP_HCURSOR)) ==
             LoadCursorW(nullptr, IDC_APPSTARTING) &&
         GetClassLongPtrW(splash, GCLP_HICON) == 0 &&
         GetClassLongPtrW(splash, GCLP_HBRBACKGROUND) == 0 && GetClassLongW(splash, GCL_STYLE) == 0;
}

void PumpMessagesFor(DWORD milliseconds) {
  const ULONGLONG end = GetTickCount64() + milliseconds;
  for (ULONGLONG now = GetTickCount64(); now < end; now = GetTickCount64()) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  }
}

}  // namespace

int main(int argc, char** argv) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  Gdiplus::GdiplusStartupInput input;
  ULONG_PTR gdiplus = 0;
  if (Gdiplus::GdiplusStartup(&gdiplus, &input, nullptr) != Gdiplus::Ok) return 1;

  HWND backdrop = nullptr;
  if (argc > 1 && std::string_view(argv[1]) == "backdrop") backdrop = CreateBackdrop(instance);

  // Closing before anything exists does nothing.
  CloseSplash();

  HWND splash = CreateSplash(instance, 700, 450);
  const ULONGLONG shown = GetTickCount64();
  if (splash == nullptr) return 1;
  std::printf("splash shown\n");
  std::fflush(stdout);
  if (CreateSplash(nullptr, 0, 0) != splash) return 2;
  if (!ClassAsIntended(splash)) return 4;

  ULONGLONG timerFired = 0;
  MSG message;
  while (SplashWindow() != nullptr && GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (message.hwnd == splash && message.message == WM_TIMER && message.wParam == kSplashTimerId) {
      timerFired = GetTickCount64();
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  const ULONGLONG closed = GetTickCount64();
  if (IsWindow(splash)) return 3;
  CloseSplash();
  CloseSplash();

  std::printf("splash timer after %llu ms\nsplash closed after %llu ms\n",
              timerFired != 0 ? timerFired - shown : 0, closed - shown);
  std::fflush(stdout);
  if (backdrop != nullptr) {
    PumpMessagesFor(2000);
    DestroyWindow(backdrop);
  }
  Gdiplus::GdiplusShutdown(gdiplus);
  return 0;
}
