#pragma once
// The process-wide state of the shell: who the program is, what link it shows, and
// the main window with its browser hosts. Everything here lives on the user-interface
// thread, except that another thread may ask for the hosts to be released.

#include <windows.h>

#include <memory>
#include <string>

#include "app/browser_recovery.h"
#include "common/product_name.h"
#include "common/wide_text.h"
#include "link/content_request.h"
#include "webview/webview_host.h"

struct AppIdentity {
  std::wstring displayName = ToWide(kProductDisplayName);
  std::wstring shortName = L"quorvel";  // the URL scheme
  std::wstring version = L"4.11.0";
  std::wstring maker = L"Lumora";
};

// The identity followed by the link being shown.
struct AppRecord {
  AppIdentity identity;
  ContentRequest content;
};

AppRecord& App();

// Both window procedures answer it by releasing the browser hosts, so that another
// thread can have them released on the user-interface thread.
inline constexpr UINT WM_RELEASE_BROWSER = WM_APP + 101;

// Posted by a host's ProcessFailed callback to its window: wParam the failure's kind,
// lParam the browser start it belongs to (ShellState::browserStarts then). The window
// procedure recovers, where letting go of the host is safe.
inline constexpr UINT WM_BROWSER_PROCESS_FAILED = WM_APP + 102;

struct ShellState {
  DWORD mainThreadId = 0;
  std::unique_ptr<WebView::WebViewHost> initScreenHost;
  std::unique_ptr<WebView::WebViewHost> playerHost;
  // The browser environment started right after the runtime check, until the main
  // window's host takes it over.
  std::unique_ptr<WebView::EarlyEnvironment> earlyEnvironment;
  HWND mainWindow = nullptr;
  // Browsers started so far: news of a failure from an earlier one is stale.
  LPARAM browserStarts = 0;
  BrowserRecoveryBudget browserRecovery;
};

ShellState& ShellRecord();

// Lets go of an early environment no host took over, then of the player's host, then
// the init screen's (WebViewHost::Release: at once, or once the work using a host has
// returned), then finishes the releases held so far whose work has returned. Each
// pointer is emptied before use, so a second call does nothing.
void ReleaseBrowserHosts();

// The hook run before the diagnostic window: releases the hosts on the user-interface
// thread, directly or through WM_RELEASE_BROWSER with a time-out.
void OnBeforeExit();

// "Quorvel V 4.11.0"
std::wstring MainWindowTitle();
