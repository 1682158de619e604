#include "app/main_windows.h"

#include <shlobj.h>

#include <utility>

#include "app/app_state.h"
#include "app/page_setup.h"
#include "app/splash.h"
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

using WebView::WebViewHost;
using HostSlot = std::unique_ptr<WebViewHost> ShellState::*;

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
  }
  return DefWindowProcW(window, message, wParam, lParam);
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
// normal end.
WindowStart StartBrowser(HWND window, HostSlot slot, void (*installCallbacks)(WebViewHost&, HWND)) {
  const std::wstring userData = UserDataFolder();
  ShellRecord().*slot = std::make_unique<WebViewHost>();
  WebViewHost& host = *(ShellRecord().*slot);
  installCallbacks(host, window);
  const bool started =
      host.Initialize(window, userData, 1, std::move(ShellRecord().earlyEnvironment));
  if (host.releasing()) {
    CloseSplash();
    return WindowStart::kClosed;
  }
  if (!started) {
    // The box runs messages too: the host may be released while it shows.
    ShowBrowserFailure(window, host.statusMessage());
    return WindowStart::kBrowserFailed;
  }
  return WindowStart::kRunning;
}

void InstallInitScreenCallbacks(WebViewHost& host, HWND window) {
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
  host.OnInitialized = [&host](bool success, HRESULT) { SetUpInitScreenPage(host, success); };
}

void InstallPlayerCallbacks(WebViewHost& host, HWND window) {
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
  host.OnInitialized = [&host, window](bool success, HRESULT) {
    SetUpPlayerPage(host, window, success);
  };
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
