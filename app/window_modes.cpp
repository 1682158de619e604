#include "app/window_modes.h"

namespace {

constexpr int kPlayerWidth = 1280;
constexpr int kPlayerHeight = 720;

struct PlayerWindowState {
  bool fullscreen = false;
  bool pageShown = false;
  HWND window = nullptr;
};

PlayerWindowState& Player() {
  static PlayerWindowState state;
  return state;
}

struct InitScreenState {
  bool fullscreen = false;
  WINDOWPLACEMENT saved = {};
};

InitScreenState& InitScreen() {
  static InitScreenState state = [] {
    InitScreenState initial;
    initial.saved.length = sizeof(WINDOWPLACEMENT);
    return initial;
  }();
  return state;
}

int Width(const RECT& rect) { return rect.right - rect.left; }
int Height(const RECT& rect) { return rect.bottom - rect.top; }

// Back from full screen the player is centred on the monitor it was on.
POINT CentredPlayerPosition(HWND window) {
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof(monitor);
  GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
  const RECT& area = monitor.rcWork;
  return {area.left + (Width(area) - kPlayerWidth) / 2,
          area.top + (Height(area) - kPlayerHeight) / 2};
}

}  // namespace

void RevealWindow(HWND window) {
  ShowWindow(window, SW_SHOW);
  SetForegroundWindow(window);
  SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  UpdateWindow(window);
}

void ResetPlayerWindowState(HWND window) {
  Player().window = window;
  Player().pageShown = false;
}

void TogglePlayerFullscreen() {
  PlayerWindowState& player = Player();
  if (player.window == nullptr) return;
  const bool entering = !player.fullscreen;
  player.fullscreen = entering;
  if (entering) {
    SetWindowLongW(player.window, GWL_STYLE, WS_POPUP | WS_VISIBLE);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(player.window, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& area = monitor.rcMonitor;
    SetWindowPos(player.window, nullptr, area.left, area.top, Width(area), Height(area),
                 SWP_FRAMECHANGED);
  } else {
    SetWindowLongW(player.window, GWL_STYLE, WS_VISIBLE | WS_OVERLAPPEDWINDOW);
    const POINT position = CentredPlayerPosition(player.window);
    SetWindowPos(player.window, nullptr, position.x, position.y, kPlayerWidth, kPlayerHeight,
                 SWP_FRAMECHANGED);
  }
}

void ShowPlayerPageOnce() {
  PlayerWindowState& player = Player();
  if (player.window == nullptr || player.pageShown) return;
  player.pageShown = true;
  ShowWindow(player.window, SW_SHOW);
  UpdateWindow(player.window);
}

void ToggleInitScreenFullscreen(HWND window) {
  InitScreenState& state = InitScreen();
  const LONG style = GetWindowLongW(window, GWL_STYLE);
  if (state.fullscreen) {
    SetWindowLongW(window, GWL_STYLE, style | WS_OVERLAPPEDWINDOW);
    SetWindowPlacement(window, &state.saved);
    SetWindowPos(window, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOOWNERZORDER | SWP_FRAMECHANGED);
    state.fullscreen = false;
    return;
  }
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof(monitor);
  if (!GetWindowPlacement(window, &state.saved) ||
      !GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor)) {
    return;
  }
  SetWindowLongW(window, GWL_STYLE, style & ~WS_OVERLAPPEDWINDOW);
  const RECT& area = monitor.rcMonitor;
  SetWindowPos(window, nullptr, area.left, area.top, Width(area), Height(area),
               SWP_NOOWNERZORDER | SWP_FRAMECHANGED);
  state.fullscreen = true;
}
