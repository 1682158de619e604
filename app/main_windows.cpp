#include "app/main_windows.h"

#include <shlobj.h>

#include <utility>

#include "app/app_state.h"
#include "app/browser_stopped.h"
#include "app/page_setup.h"
#include "app/splash.h"
#include "app/startup.h"
#include "app/window_modes.h"
#include "common/platform_values.h"
#include "common/text.h"
#include "common/web_address.h"
#include "common/wide_text.h"
#include "link/video_url.h"
#include "webview/com_helpers.h"
#include "webview/message_bridge.h"
#include "webview/navigation_policy.h"
#include "webview/resource_filter.h"

namespace {

using WebView::ShownDocument;
using WebView::WebViewHost;
using HostSlot = std::unique_ptr<WebViewHost> ShellState::*;
// Installs a window's callbacks on its new host; `resume` is what a failed predecessor
// showed, for the new one to show instead of the first page.
using CallbackInstaller = void (*)(WebViewHost&, HWND, const ShownDocument* resume);

static_assert(process_failed_kind::kBrowserProcessExited ==
                  COREWEBVIEW2_PROCESS_FAILED_KIND_BROWSER_PROCESS_EXITED &&
              process_failed_kind::kRenderProcessExited ==
                  COREWEBVIEW2_PROCESS_FAILED_KIND_RENDER_PROCESS_EXITED &&
              process_failed_kind::kRenderProcessUnresponsive ==
                  COREWEBVIEW2_PROCESS_FAILED_KIND_RENDER_PROCESS_UNRESPONSIVE &&
              process_failed_kind::kFrameRenderProcessExited ==
                  COREWEBVIEW2_PROCESS_FAILED_KIND_FRAME_RENDER_PROCESS_EXITED);

constexpr wchar_t kInitScreenClass[] = L"LumoraInitWindow";
constexpr int kIconResource = 101;

std::wstring PlayerClassName() { return App().identity.displayName + L"Window"; }

// Local application data\<display name>\WebView2Data; the parent folder is made here,
// the last one by the browser runtime.
std::wstring UserDataFolder() {
  wchar_t localData[MAX_PATH] = {};
  SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, 0, localData);
  const std::wstring parent = std::wstring(localData) + L"\\" + App().identity.displayName;
  CreateDirectoryW(parent.c_str(), nullptr);
  return parent + L"\\WebView2Data";
}

LRESULT HandleWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, HostSlot slot);
void RecoverBrowser(HWND window, HostSlot slot, int kind, LPARAM start);

LRESULT CALLBACK InitScreenProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return HandleWindowMessage(window, message, wParam, lParam, &ShellState::initScreenHost);
}

LRESULT CALLBACK PlayerProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return HandleWindowMessage(window, message, wParam, lParam, &ShellState::playerHost);
}

void RegisterMainClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure) {
  WNDCLASSEXW windowClass = {};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(kIconResource));
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  windowClass.lpszClassName = name;
  RegisterClassExW(&windowClass);  // a second registration fails harmlessly
}

HWND CreateMainWindow(HINSTANCE instance, const wchar_t* className, int width, int height) {
  return CreateWindowExW(WS_EX_APPWINDOW, className, MainWindowTitle().c_str(),
                         WS_VISIBLE | WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, width,
                         height, nullptr, nullptr, instance, nullptr);
}

// The "Loading" text the black client area shows until the browser covers it.
void PaintLoadingText(HWND window) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  RECT client;
  GetClientRect(window, &client);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(200, 200, 200));
  HFONT font = CreateFontW(24, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0,
                           CLEARTYPE_QUALITY, 0, L"Segoe UI");
  HGDIOBJ previous = SelectObject(dc, font);
  DrawTextW(dc, L"جاري التحميل... Loading...", -1, &client, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
  SelectObject(dc, previous);
  DeleteObject(font);
  EndPaint(window, &paint);
}

LRESULT HandleWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                            HostSlot slot) {
  WebViewHost* host = (ShellRecord().*slot).get();
  switch (message) {
    case WM_DESTROY:
      ReleaseBrowserHosts();
      if (ShellRecord().mainWindow == window) ShellRecord().mainWindow = nullptr;
      PostQuitMessage(0);
      return 0;
    case WM_MOVE:
    case WM_MOVING:
      if (host != nullptr) host->NotifyParentMoved();
      break;
    case WM_SIZE:
      if (host != nullptr) {
        if (wParam == SIZE_MINIMIZED) {
          host->SetVisible(false);
        } else {
          host->Resize(LOWORD(lParam), HIWORD(lParam));
          host->RefreshView();
        }
      }
      return 0;
    case WM_PAINT:
      PaintLoadingText(window);
      return 0;
    case WM_ACTIVATEAPP:
      if (wParam != 0 && host != nullptr && !IsIconic(window)) host->RefreshView();
      break;
    case WM_POWERBROADCAST:
      if (wParam == PBT_APMSUSPEND) {
        if (host != nullptr) host->SetVisible(false);
        return TRUE;
      }
      if ((wParam == PBT_APMRESUMESUSPEND || wParam == PBT_APMRESUMEAUTOMATIC) && host != nullptr &&
          !IsIconic(window)) {
        host->RefreshView();
        return TRUE;
      }
      break;
    case WM_RELEASE_BROWSER:
      ReleaseBrowserHosts();
      return 0;
    case WM_BROWSER_PROCESS_FAILED:
      RecoverBrowser(window, slot, static_cast<int>(wParam), lParam);
      return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

std::optional<ShownDocument> Optional(const ShownDocument* document) {
  return document != nullptr ? std::optional<ShownDocument>(*document) : std::nullopt;
}

void ShowBrowserFailure(HWND window, const std::wstring& status) {
  CloseSplash();
  const std::wstring text = L"Failed to initialize WebView2.\n\n" + status;
  MessageBoxW(window, text.c_str(), L"WebView2 Error",
              MB_ICONERROR | MB_TOPMOST | MB_SETFOREGROUND);
}

// Puts a new host into `slot` and starts its browser in `window`. The start runs the
// thread's messages, so the window may be closed meanwhile: its host is then released
// (held until the loop runs again, so it can still be asked here), and closing is a
// normal end. A start that fails shows its box only when `reportFailure`.
WindowStart StartBrowser(HWND window, HostSlot slot, CallbackInstaller installCallbacks,
                         const ShownDocument* resume = nullptr, bool reportFailure = true) {
  const std::wstring userData = UserDataFolder();
  ShellRecord().*slot = std::make_unique<WebViewHost>();
  WebViewHost& host = *(ShellRecord().*slot);
  installCallbacks(host, window, resume);
  const LPARAM start = ++ShellRecord().browserStarts;
  host.OnProcessFailed = [window, start](COREWEBVIEW2_PROCESS_FAILED_KIND kind) {
    PostMessageW(window, WM_BROWSER_PROCESS_FAILED, static_cast<WPARAM>(kind), start);
  };
  // The first start takes over the environment started early; a restart has none.
  const bool started =
      host.Initialize(window, userData, 1, std::move(ShellRecord().earlyEnvironment));
  if (host.releasing()) {
    CloseSplash();
    return WindowStart::kClosed;
  }
  if (!started) {
    // The box runs messages too: the host may be released while it shows.
    if (reportFailure) ShowBrowserFailure(window, host.statusMessage());
    return WindowStart::kBrowserFailed;
  }
  return WindowStart::kRunning;
}

void InstallInitScreenCallbacks(WebViewHost& host, HWND window, const ShownDocument* resume) {
  host.OnWebMessage = [window](const std::wstring& message) {
    WebViewHost* initHost = ShellRecord().initScreenHost.get();
    switch (InitScreenCommandFor(FromWide(message), initHost != nullptr)) {
      case InitScreenCommand::kPrint:
        if (initHost != nullptr) initHost->ShowSystemPrintDialog();
        break;
      case InitScreenCommand::kHome:
        initHost->Navigate(ToWide(AsciiToUtf16(WebAppHomeAddress())));
        break;
      case InitScreenCommand::kBack:
        initHost->GoBack();
        break;
      case InitScreenCommand::kReload:
        initHost->Reload();
        break;
      case InitScreenCommand::kToggleFullscreen:
        ToggleInitScreenFullscreen(window);
        break;
      case InitScreenCommand::kNone:
        break;
    }
  };
  host.OnNavigationStarting = [](const std::wstring& address, bool&) {
    const std::optional<std::u16string> origin = ObservedPlatformOrigin(FromWide(address));
    if (origin && *origin != App().content.domain) App().content.domain = *origin;
  };
  host.OnNavigationCompleted = [window](bool, COREWEBVIEW2_WEB_ERROR_STATUS) {
    CloseSplash();
    RevealWindow(window);
  };
  host.OnWebResourceRequested = [](const std::wstring&,
                                   ICoreWebView2WebResourceRequestedEventArgs* args) {
    for (const auto& [name, value] : InitScreenHeaders()) {
      SetRequestHeader(args, ToWide(AsciiToUtf16(name)), ToWide(AsciiToUtf16(value)));
    }
  };
  host.TrustsOrigin = [](const std::wstring& origin) {
    return InitScreenTrustsOrigin(FromWide(origin));
  };
  host.OnInitialized = [&host, resume = Optional(resume)](bool success, HRESULT) {
    SetUpInitScreenPage(host, success, resume ? &*resume : nullptr);
  };
}

void InstallPlayerCallbacks(WebViewHost& host, HWND window, const ShownDocument* resume) {
  host.OnWebMessage = [window](const std::wstring& message) {
    switch (PlayerCommandFor(FromWide(message))) {
      case PlayerCommand::kPrint:
        if (WebViewHost* player = ShellRecord().playerHost.get()) player->ShowSystemPrintDialog();
        break;
      case PlayerCommand::kToggleFullscreen:
        TogglePlayerFullscreen();
        break;
      case PlayerCommand::kPageLoaded:
        ShowPlayerPageOnce();
        break;
      case PlayerCommand::kNone:
        break;
    }
  };
  // YouTube sees the embedded player's requests as coming from the platform.
  host.OnWebResourceRequested = [](const std::wstring& address,
                                   ICoreWebView2WebResourceRequestedEventArgs* args) {
    const std::optional<WebAddress> reading = ReadWebAddress(FromWide(address));
    if (!reading || !IsYouTubeHost(reading->host)) return;
    std::wstring referrer = ToWide(App().content.domain);
    if (!referrer.empty() && referrer.back() == L'/') referrer.pop_back();
    if (!referrer.empty()) SetRequestHeader(args, L"Referer", referrer);
  };
  host.OnNavigationStarting = [](const std::wstring& address, bool& cancel) {
    if (!PlayerMayNavigate(FromWide(address), App().content)) cancel = true;
  };
  host.TrustsOrigin = [](const std::wstring& origin) {
    return PlayerTrustsOrigin(FromWide(origin), App().content);
  };
  host.OnInitialized = [&host, window, resume = Optional(resume)](bool success, HRESULT) {
    SetUpPlayerPage(host, window, success, resume ? &*resume : nullptr);
  };
}

// A window's browser reported a failed process (WM_BROWSER_PROCESS_FAILED): it shows its
// page again, gets a new browser that shows the same content, or the player ends. News
// from a browser let go of since then is stale and dropped.
void RecoverBrowser(HWND window, HostSlot slot, int kind, LPARAM start) {
  WebViewHost* host = (ShellRecord().*slot).get();
  if (host == nullptr || host->releasing() || start != ShellRecord().browserStarts) return;
  const bool linkMode = slot == &ShellState::playerHost;
  BrowserRecoveryBudget& budget = ShellRecord().browserRecovery;
  BrowserRecovery action = budget.Decide(kind, GetTickCount64());
  StepLog("Browser process failed: kind=" + std::to_string(kind));
  // A view that will not take its page again is gone: it needs a new browser.
  if (action == BrowserRecovery::kShowAgain && !host->Show(host->shownDocument())) {
    action = budget.RestartAfter(kind);
  }
  if (action == BrowserRecovery::kRestart) {
    const ShownDocument shown = host->shownDocument();
    // Held while a frame of its own (the printer dialog) runs below us; the new host starts
    // meanwhile, and the old one is shut down once that frame has returned.
    WebViewHost::Release(std::move(ShellRecord().*slot));
    const WindowStart restarted =
        StartBrowser(window, slot, linkMode ? InstallPlayerCallbacks : InstallInitScreenCallbacks,
                     &shown, false);
    if (restarted != WindowStart::kBrowserFailed) return;
    const WebViewHost* failed = (ShellRecord().*slot).get();
    budget.RestartFailed(
        static_cast<std::uint32_t>(failed != nullptr ? failed->lastError() : E_FAIL));
    action = BrowserRecovery::kGiveUp;
  }
  if (action == BrowserRecovery::kGiveUp) {
    EndAfterBrowserFailure(window, linkMode, budget.giveUpReason());
  }
}

}  // namespace

void StartBrowserEnvironmentEarly() {
  ShellRecord().earlyEnvironment = WebView::EarlyEnvironment::Start(UserDataFolder());
}

WindowStart CreateInitScreen(HINSTANCE instance) {
  RegisterMainClass(instance, kInitScreenClass, InitScreenProcedure);
  const HWND window = CreateMainWindow(instance, kInitScreenClass, 1024, 768);
  if (window == nullptr) return WindowStart::kNoWindow;
  ShellRecord().mainWindow = window;
  RECT client = {};
  GetClientRect(window, &client);
  const WindowStart start =
      StartBrowser(window, &ShellState::initScreenHost, InstallInitScreenCallbacks);
  if (start == WindowStart::kRunning) {
    ShellRecord().initScreenHost->Resize(client.right - client.left, client.bottom - client.top);
  }
  return start;
}

HWND CreatePlayerMainWindow(HINSTANCE instance) {
  const std::wstring className = PlayerClassName();
  RegisterMainClass(instance, className.c_str(), PlayerProcedure);
  return CreateMainWindow(instance, className.c_str(), 1280, 720);
}

WindowStart CreatePlayerWindow(HINSTANCE, HWND window) {
  if (window == nullptr) return WindowStart::kNoWindow;
  if (!IsWindow(window)) return WindowStart::kClosed;
  ShellRecord().mainWindow = window;
  ResetPlayerWindowState(window);
  return StartBrowser(window, &ShellState::playerHost, InstallPlayerCallbacks);
}
