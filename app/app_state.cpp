#include "app/app_state.h"

#include <utility>

namespace {

constexpr UINT kReleaseTimeoutMs = 7000;

}  // namespace

AppRecord& App() {
  static AppRecord record;
  return record;
}

ShellState& ShellRecord() {
  static ShellState state;
  return state;
}

void ReleaseBrowserHosts() {
  ShellRecord().earlyEnvironment.reset();
  // Each slot is emptied before its host is let go of, so that the window procedures
  // running meanwhile find no host.
  WebView::WebViewHost::Release(std::move(ShellRecord().playerHost));
  WebView::WebViewHost::Release(std::move(ShellRecord().initScreenHost));
  WebView::WebViewHost::FinishHeldReleases();
}

void OnBeforeExit() {
  if (GetCurrentThreadId() == ShellRecord().mainThreadId) {
    ReleaseBrowserHosts();
    return;
  }
  const HWND window = ShellRecord().mainWindow;
  if (window != nullptr && IsWindow(window)) {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(window, WM_RELEASE_BROWSER, 0, 0, SMTO_BLOCK | SMTO_ABORTIFHUNG,
                        kReleaseTimeoutMs, &ignored);
  }
}

std::wstring MainWindowTitle() {
  return App().identity.displayName + L" V " + App().identity.version;
}
