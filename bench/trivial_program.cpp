// The benchmark's floor: the least a Windows program with a window costs under Wine. It
// traces its start like the player does (the benchmark reads Wine's timestamp on each
// line), shows one window, keeps it for the milliseconds given on its command line (so
// its memory can be read) and ends.
#include <windows.h>

#include <cwchar>

namespace {

constexpr wchar_t kClassName[] = L"QuorvelBenchTrivial";

void Trace(const char* text) {
  OutputDebugStringA(text);
  OutputDebugStringA("\n");
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
  Trace("Step 1: Process started");
  const long holdMs = commandLine != nullptr ? std::wcstol(commandLine, nullptr, 10) : 0;

  WNDCLASSEXW windowClass = {};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = DefWindowProcW;
  windowClass.hInstance = instance;
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  windowClass.lpszClassName = kClassName;
  RegisterClassExW(&windowClass);
  const HWND window =
      CreateWindowExW(0, kClassName, L"Trivial", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CW_USEDEFAULT,
                      CW_USEDEFAULT, 640, 480, nullptr, nullptr, instance, nullptr);
  if (window == nullptr) return 1;
  UpdateWindow(window);
  Trace("Trivial: window shown");

  // Runs the window's messages until the time is up.
  const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(holdMs > 0 ? holdMs : 0);
  for (ULONGLONG now = GetTickCount64(); now < end; now = GetTickCount64()) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  }
  Trace("Trivial: ending");
  // Ended at once: taking the window down properly waits two seconds for a window
  // manager under Wine on a bare virtual screen, which says nothing about start-up.
  TerminateProcess(GetCurrentProcess(), 0);
  return 0;
}
