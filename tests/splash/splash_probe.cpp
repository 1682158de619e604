// Looks at the splash window from outside, in the same Wine session:
//   splash_probe.exe window        prints its title, frame, styles, the screen size and
//                                  the hit-test answer at its centre (exit 1: no splash
//                                  window)
//   splash_probe.exe timer ID         posts the splash a WM_TIMER message of that timer id,
//                                  as if one of its timers had expired
//   splash_probe.exe drag X Y DX DY
//                                  presses the left button at (X, Y), moves it by
//                                  (DX, DY) and releases it, as a user drags
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

constexpr wchar_t kClassName[] = L"LumoraTransparentSplashClass";

int PrintWindow() {
  HWND window = FindWindowW(kClassName, nullptr);
  if (!window) return 1;
  char title[64] = {};
  GetWindowTextA(window, title, sizeof title);
  RECT frame;
  GetWindowRect(window, &frame);
  const POINT centre{(frame.left + frame.right) / 2, (frame.top + frame.bottom) / 2};
  DWORD_PTR hit = 0;
  SendMessageTimeoutW(window, WM_NCHITTEST, 0, MAKELPARAM(centre.x, centre.y), SMTO_BLOCK, 5000,
                      &hit);
  std::printf("title=%s\nframe=%ld %ld %ld %ld\nstyle=%08lx\nexstyle=%08lx\nscreen=%d %d\n", title,
              frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top,
              static_cast<unsigned long>(GetWindowLongW(window, GWL_STYLE)),
              static_cast<unsigned long>(GetWindowLongW(window, GWL_EXSTYLE)),
              GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  std::printf("hittest=%lu\n", static_cast<unsigned long>(hit));
  return 0;
}

int PostTimer(UINT_PTR id) {
  HWND window = FindWindowW(kClassName, nullptr);
  return window && PostMessageW(window, WM_TIMER, id, 0) ? 0 : 1;
}

void SendMouse(DWORD flags) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = flags;
  SendInput(1, &input, sizeof input);
  Sleep(60);
}

int Drag(int x, int y, int dx, int dy) {
  SetCursorPos(x, y);
  Sleep(100);
  SendMouse(MOUSEEVENTF_LEFTDOWN);
  // In steps, the way a hand moves, so the move loop sees intermediate positions.
  constexpr int kSteps = 10;
  for (int step = 1; step <= kSteps; ++step) {
    SetCursorPos(x + dx * step / kSteps, y + dy * step / kSteps);
    SendMouse(MOUSEEVENTF_MOVE);
  }
  SendMouse(MOUSEEVENTF_LEFTUP);
  Sleep(200);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string_view command = argc > 1 ? argv[1] : "";
  if (command == "window") return PrintWindow();
  if (command == "timer" && argc == 3) return PostTimer(std::strtoul(argv[2], nullptr, 10));
  if (command == "drag" && argc == 6) {
    return Drag(std::atoi(argv[2]), std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5]));
  }
  std::fputs("usage: splash_probe window | timer ID | drag X Y DX DY\n", stderr);
  return 2;
}
