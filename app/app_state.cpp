#include "app/app_state.h"

namespace {

constexpr DWORD kBrowserShutdownMs = 5000;
constexpr UINT kReleaseTimeoutMs = 7000;

void Release(std::unique_ptr<WebView::WebViewHost>& slot) {
  std::unique_ptr<WebView::WebViewHost> host = std::move(slot);
  if (host) host->Shutdown(kBrowserShutdownMs);
}

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
  Release(ShellRecord().playerHost);
  Release(ShellRecord().initScreenHost);
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
