// Looks at the diagnostic countdown window from outside, in the same Wine session:
//   diag_window_probe.exe clipboard   prints the clipboard's 8-bit text (exit 1: none)
//   diag_window_probe.exe window      prints the window's title, frame, styles and the
//                                     screen size (exit 1: no such window)
//   diag_window_probe.exe close       asks the window to close, as Alt+F4 does
#include <windows.h>

#include <cstdio>
#include <string_view>

namespace {

constexpr wchar_t kClassName[] = L"DiagnosticCountdown";

int PrintClipboard() {
  // Another program may hold the clipboard for a moment.
  bool opened = false;
  for (int attempt = 0; attempt < 20 && !opened; ++attempt) {
    opened = OpenClipboard(nullptr);
    if (!opened) Sleep(50);
  }
  if (!opened) return 1;
  int result = 1;
  if (HANDLE data = GetClipboardData(CF_TEXT)) {
    if (const auto* text = static_cast<const char*>(GlobalLock(data))) {
      std::fputs(text, stdout);
      result = 0;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return result;
}

int PrintWindow() {
  HWND window = FindWindowW(kClassName, nullptr);
  if (!window) return 1;
  char title[64] = {};
  GetWindowTextA(window, title, sizeof title);
  RECT frame;
  GetWindowRect(window, &frame);
  std::printf("title=%s\nframe=%ld %ld %ld %ld\nstyle=%08lx\nexstyle=%08lx\nscreen=%d %d\n", title,
              frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top,
              static_cast<unsigned long>(GetWindowLongW(window, GWL_STYLE)),
              static_cast<unsigned long>(GetWindowLongW(window, GWL_EXSTYLE)),
              GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  return 0;
}

int CloseWindow() {
  HWND window = FindWindowW(kClassName, nullptr);
  return window && PostMessageW(window, WM_CLOSE, 0, 0) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string_view command = argc > 1 ? argv[1] : "";
  if (command == "clipboard") return PrintClipboard();
  if (command == "window") return PrintWindow();
  if (command == "close") return CloseWindow();
  std::fputs("usage: diag_window_probe clipboard|window|close\n", stderr);
  return 2;
}
