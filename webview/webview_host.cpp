#include "webview/webview_host.h"

#include "common/device_identity.h"
#include "common/text.h"
#include "common/wide_text.h"
#include "common/windows_paths.h"
#include "webview/browser_identity.h"
#include "webview/com_helpers.h"
#include "webview/init_report.h"
#include "webview/runtime_loader.h"
#include "webview/string_document.h"

namespace WebView {

using Microsoft::WRL::ComPtr;

namespace {

// Left over from an earlier start or set by the user: they would steer the runtime
// away from the folders chosen here.
constexpr const wchar_t* kRuntimeVariables[] = {
    L"WEBVIEW2_BROWSER_EXECUTABLE_FOLDER",    L"WEBVIEW2_USER_DATA_FOLDER",
    L"WEBVIEW2_ADDITIONAL_BROWSER_ARGUMENTS", L"WEBVIEW2_RELEASE_CHANNEL_PREFERENCE",
    L"WEBVIEW2_CHANNEL_SEARCH_KIND",          L"WEBVIEW2_RELEASE_CHANNELS",
};

constexpr DWORD kShutdownWaitMs = 5000;

// The runtime's version text for `folder` (the installed runtime for null).
bool QueryVersion(const wchar_t* folder, std::wstring& version) {
  CoTaskString text;
  if (FAILED(GetAvailableCoreWebView2BrowserVersionString(folder, text.Receive()))) return false;
  version = text.View();
  return true;
}

struct Runtime {
  std::wstring kind = L"Evergreen";
  std::wstring browserFolder;  // empty: the installed runtime
  std::wstring version;
};

// A private copy beside the executable wins over the installed runtime.
Runtime ChooseRuntime() {
  Runtime runtime;
  const std::wstring executableFolder = ExecutableFolder();
  if (!executableFolder.empty()) {
    const std::wstring folder = executableFolder + L"\\WebView2Runtime";
    std::wstring version;
    if (IsExistingDirectory(folder) && IsExistingFile(folder + L"\\msedgewebview2.exe") &&
        QueryVersion(folder.c_str(), version) && !version.empty()) {
      return {L"Fixed", folder, version};
    }
  }
  QueryVersion(nullptr, runtime.version);
  return runtime;
}

HRESULT LastSystemError() { return FromSystemError(GetLastError()); }

// The folder exists and accepts files; the probe file vanishes with its handle.
HRESULT PrepareFolder(const std::wstring& folder, const wchar_t*& stage) {
  if (!CreateDirectoryW(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
    stage = L"CreateUserDataFolder";
    return LastSystemError();
  }
  const HANDLE probe =
      CreateFileW((folder + L"\\.lumora_write_test").c_str(), GENERIC_WRITE,
                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, CREATE_ALWAYS,
                  FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (probe == INVALID_HANDLE_VALUE) {
    stage = L"UserDataFolderWriteTest";
    return LastSystemError();
  }
  CloseHandle(probe);
  return S_OK;
}

void WakeUp(HWND parent) {
  if (IsWindow(parent)) PostMessageW(parent, WM_NULL, 0, 0);
}

}  // namespace

WebViewHost::WebViewHost() : browserExitedEvent_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

WebViewHost::~WebViewHost() {
  Shutdown(kShutdownWaitMs);
  if (browserExitedEvent_ != nullptr) CloseHandle(browserExitedEvent_);
  statusMessage_.clear();
  webView_.Reset();
  controller_.Reset();
  environment_.Reset();
}

bool WebViewHost::Initialize(HWND parent, const std::wstring& userDataFolder, int attempts) {
  // The wait runs the thread's messages; so do the shutdowns between attempts.
  Frame frame(*this);
  frame.StopOnRelease([] { PostThreadMessageW(GetCurrentThreadId(), WM_NULL, 0, 0); });
  closed_ = false;
  parentWindow_ = parent;
  lastError_ = S_OK;
  statusMessage_.clear();
  if (!IsWindow(parent) || userDataFolder.empty()) {
    lastError_ = E_INVALIDARG;
    statusMessage_ = L"Invalid parent window or user-data folder.";
    if (OnInitialized) OnInitialized(false, lastError_);
    return false;
  }
  for (const wchar_t* name : kRuntimeVariables) {
    if (GetEnvironmentVariableW(name, nullptr, 0) > 0) SetEnvironmentVariableW(name, nullptr);
  }

  const Runtime runtime = ChooseRuntime();
  const bool fixed = !runtime.browserFolder.empty();
  const std::u16string baseFolder = BaseUserDataFolder(FromWide(userDataFolder), fixed);
  const std::u16string unique = UniqueAttemptText(GetCurrentProcessId(), GetTickCount64());
  InitFailures failures;

  for (int i = 0; i < std::max(attempts, 1) && !releasing_; ++i) {
    const std::wstring folder = ToWide(AttemptFolder(baseFolder, unique, i));
    const wchar_t* stage = L"";
    HRESULT result = PrepareFolder(folder, stage);
    if (SUCCEEDED(result) &&
        !SetEnvironmentVariableW(L"WEBVIEW2_USER_DATA_FOLDER", folder.c_str())) {
      stage = L"SetUserDataFolderOverride";
      result = LastSystemError();
    }
    if (SUCCEEDED(result) && fixed &&
        !SetEnvironmentVariableW(L"WEBVIEW2_BROWSER_EXECUTABLE_FOLDER",
                                 runtime.browserFolder.c_str())) {
      stage = L"SetBrowserFolderOverride";
      result = LastSystemError();
    }
    if (FAILED(result)) {
      // The folder itself failed: nothing was started, so nothing to shut down.
      failures.Record(result, FromWide(stage), FromWide(folder));
      continue;
    }

    auto attempt = std::make_shared<AttemptState>();
    auto handler = MakeCallback<ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler>(
        [this, attempt](HRESULT reported, ICoreWebView2Environment* environment) {
          // An attempt given up (quit, release) leaves the host alone: it may be gone.
          if (!attempt->completed) OnEnvironmentCreated(reported, environment, attempt);
          return S_OK;
        });
    result = CreateCoreWebView2EnvironmentWithOptions(
        fixed ? runtime.browserFolder.c_str() : nullptr, folder.c_str(), nullptr, handler.Get());
    if (FAILED(result)) {
      attempt->result = result;
      attempt->stage = L"CreateEnvironmentCall";
    } else {
      WaitForAttempt(*attempt);
    }
    if (releasing_) {
      // Given up: late completions must find the attempt over. The owner let go, so
      // nobody is told; the release shuts down what this attempt started.
      attempt->completed = true;
      failures.Record(E_ABORT, u"ReleasedDuringInitialization", FromWide(folder));
      break;
    }
    if (attempt->result >= 0 && webView_) {
      lastError_ = S_OK;
      statusMessage_ = ToWide(
          SuccessStatusText(FromWide(runtime.kind), FromWide(runtime.version), FromWide(folder)));
      if (OnInitialized) OnInitialized(true, S_OK);
      return true;
    }
    failures.Record(attempt->result, FromWide(attempt->stage), FromWide(folder));
    Shutdown(kShutdownWaitMs);
    if (i + 1 < attempts) closed_ = false;
  }

  lastError_ = failures.reported();
  statusMessage_ = ToWide(failures.StatusText(FromWide(runtime.kind), FromWide(runtime.version)));
  if (OnInitialized && !releasing_) OnInitialized(false, lastError_);
  return false;
}

void WebViewHost::WaitForAttempt(AttemptState& attempt) {
  MSG message;
  while (!attempt.completed && !releasing_) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == -1) {
      attempt.result = LastSystemError();
      attempt.stage = L"InitializationMessagePump";
      attempt.completed = true;
    } else if (got == 0) {
      // The application is closing: give up, and hand the quit on to the main loop.
      attempt.result = E_ABORT;
      attempt.stage = L"ApplicationQuitDuringInitialization";
      attempt.completed = true;
      PostQuitMessage(static_cast<int>(message.wParam));
    } else {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
}

void WebViewHost::EndAttempt(const std::shared_ptr<AttemptState>& attempt, HRESULT result,
                             const wchar_t* stage) {
  attempt->result = result;
  attempt->stage = stage;
  attempt->completed = true;
  WakeUp(parentWindow_);
}

void WebViewHost::OnEnvironmentCreated(HRESULT result, ICoreWebView2Environment* environment,
                                       const std::shared_ptr<AttemptState>& attempt) {
  if (FAILED(result) || environment == nullptr) {
    EndAttempt(attempt, AsFailure(result), L"CreateEnvironmentCallback");
    return;
  }
  environment_ = environment;
  RegisterBrowserProcessExitHandler();
  Sleep(100);
  auto handler = MakeCallback<ICoreWebView2CreateCoreWebView2ControllerCompletedHandler>(
      [this, attempt](HRESULT reported, ICoreWebView2Controller* controller) {
        if (!attempt->completed) {
          OnControllerCreated(reported, controller, attempt);
        } else if (SUCCEEDED(reported) && controller != nullptr) {
          controller->Close();  // too late for an attempt given up: no browser left behind
        }
        return S_OK;
      });
  const HRESULT call = environment->CreateCoreWebView2Controller(parentWindow_, handler.Get());
  if (FAILED(call) && !attempt->completed) EndAttempt(attempt, call, L"CreateControllerCall");
}

void WebViewHost::RegisterBrowserProcessExitHandler() {
  browserExitHandlerRegistered_ = false;
  ResetEvent(browserExitedEvent_);
  ComPtr<ICoreWebView2Environment5> environment5;
  if (FAILED(environment_.As(&environment5))) return;
  const HANDLE event = browserExitedEvent_;
  auto handler = MakeCallback<ICoreWebView2BrowserProcessExitedEventHandler>(
      [event](ICoreWebView2Environment*, ICoreWebView2BrowserProcessExitedEventArgs*) {
        SetEvent(event);
        return S_OK;
      });
  browserExitHandlerRegistered_ =
      SUCCEEDED(environment5->add_BrowserProcessExited(handler.Get(), &browserExitedToken_));
}

void WebViewHost::OnControllerCreated(HRESULT result, ICoreWebView2Controller* controller,
                                      const std::shared_ptr<AttemptState>& attempt) {
  if (FAILED(result) || controller == nullptr) {
    EndAttempt(attempt, AsFailure(result), L"CreateControllerCallback");
    return;
  }
  ComPtr<ICoreWebView2> view;
  const HRESULT got = controller->get_CoreWebView2(&view);
  if (FAILED(got) || !view) {
    controller->Close();
    EndAttempt(attempt, AsFailure(got), L"GetCoreWebView2");
    return;
  }
  controller_ = controller;
  webView_ = view;

  ComPtr<ICoreWebView2Controller2> controller2;
  if (SUCCEEDED(controller_.As(&controller2))) {
    controller2->put_DefaultBackgroundColor(COREWEBVIEW2_COLOR{0xFF, 0x12, 0x12, 0x12});
  }
  ComPtr<ICoreWebView2Controller4> controller4;
  if (SUCCEEDED(controller_.As(&controller4))) controller4->put_AllowExternalDrop(FALSE);
  RECT bounds = {};
  GetClientRect(parentWindow_, &bounds);
  controller_->put_Bounds(bounds);
  SetupEventHandlers();
  EndAttempt(attempt, S_OK, L"Complete");
}

void WebViewHost::ApplyBrowserSettings() {
  if (!webView_) return;
  ComPtr<ICoreWebView2Settings> settings;
  if (FAILED(webView_->get_Settings(&settings)) || !settings) return;
  settings->put_AreDevToolsEnabled(FALSE);
  settings->put_AreDefaultContextMenusEnabled(FALSE);
  settings->put_IsStatusBarEnabled(FALSE);
  settings->put_IsZoomControlEnabled(FALSE);
  ComPtr<ICoreWebView2Settings3> settings3;
  if (SUCCEEDED(settings.As(&settings3))) settings3->put_AreBrowserAcceleratorKeysEnabled(FALSE);
  ComPtr<ICoreWebView2Settings7> settings7;
  if (SUCCEEDED(settings.As(&settings7))) {
    settings7->put_HiddenPdfToolbarItems(COREWEBVIEW2_PDF_TOOLBAR_ITEMS_NONE);
  }
}

bool WebViewHost::Navigate(const std::wstring& address) {
  if (!webView_) return false;
  shown_ = {std::nullopt, address};
  ComPtr<ICoreWebView2Environment2> environment2;
  ComPtr<ICoreWebView2_2> view2;
  ComPtr<ICoreWebView2WebResourceRequest> request;
  if (WantsIdentityHeaders(FromWide(address)) && SUCCEEDED(environment_.As(&environment2)) &&
      SUCCEEDED(webView_.As(&view2)) &&
      SUCCEEDED(environment2->CreateWebResourceRequest(address.c_str(), L"GET", nullptr, L"",
                                                       &request)) &&
      request) {
    ComPtr<ICoreWebView2HttpRequestHeaders> headers;
    if (SUCCEEDED(request->get_Headers(&headers)) && headers) {
      for (const HeaderField& header :
           BrowserIdentityHeaders(DeviceIdentifier(), SecondDeviceIdentifier())) {
        headers->SetHeader(ToWide(header.name).c_str(), ToWide(header.value).c_str());
      }
    }
    return SUCCEEDED(view2->NavigateWithWebResourceRequest(request.Get()));
  }
  return SUCCEEDED(webView_->Navigate(address.c_str()));
}

bool WebViewHost::NavigateToString(const std::wstring& html) {
  if (!webView_) return false;
  stringDocument_ = html;
  shown_ = {html, L""};
  return SUCCEEDED(webView_->NavigateToString(html.c_str()));
}

// Navigated afresh rather than reloaded: a platform page gets its identifier headers
// again, which a reload of the runtime would not send, and the host's own document is
// given as text again, whatever address the runtime reports for it.
bool WebViewHost::Show(ShownDocument document) {
  if (document.html) return NavigateToString(*document.html);
  return !document.address.empty() && Navigate(document.address);
}

bool WebViewHost::IsOwnStringDocument(std::wstring_view address) const {
  return stringDocument_ && IsStringDocumentAddress(FromWide(address), FromWide(*stringDocument_));
}

void WebViewHost::AddDocumentCreatedScript(const std::wstring& script) {
  if (webView_) webView_->AddScriptToExecuteOnDocumentCreated(script.c_str(), nullptr);
}

void WebViewHost::GoBack() {
  BOOL canGoBack = FALSE;
  if (webView_ && SUCCEEDED(webView_->get_CanGoBack(&canGoBack)) && canGoBack) webView_->GoBack();
}

void WebViewHost::Reload() {
  if (webView_) webView_->Reload();
}

void WebViewHost::Resize(int width, int height) {
  if (controller_ && width > 0 && height > 0) controller_->put_Bounds(RECT{0, 0, width, height});
}

void WebViewHost::SetVisible(bool visible) {
  if (controller_) controller_->put_IsVisible(visible ? TRUE : FALSE);
}

// After a restore or resume the runtime may have dropped its surface; setting the same
// bounds and visibility again brings it back.
void WebViewHost::RefreshView() {
  if (!controller_ || parentWindow_ == nullptr || IsIconic(parentWindow_)) return;
  RECT bounds = {};
  if (SUCCEEDED(controller_->get_Bounds(&bounds)) && bounds.left < bounds.right &&
      bounds.top < bounds.bottom) {
    controller_->put_Bounds(bounds);
  }
  controller_->put_IsVisible(TRUE);
  controller_->NotifyParentWindowPositionChanged();
}

void WebViewHost::NotifyParentMoved() {
  if (controller_) controller_->NotifyParentWindowPositionChanged();
}

void WebViewHost::Shutdown(DWORD timeoutMs) {
  if (closed_) return;
  closed_ = true;

  HANDLE browserProcess = nullptr;
  UINT32 processId = 0;
  if (webView_ && SUCCEEDED(webView_->get_BrowserProcessId(&processId)) && processId != 0) {
    browserProcess = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
  }
  if (controller_) controller_->Close();
  ComPtr<ICoreWebView2Environment5> environment5;
  if (environment_) environment_.As(&environment5);
  webView_.Reset();
  controller_.Reset();
  environment_.Reset();

  HANDLE waitList[2];
  DWORD count = 0;
  if (browserProcess != nullptr) waitList[count++] = browserProcess;
  if (browserExitHandlerRegistered_) waitList[count++] = browserExitedEvent_;
  if (count > 0 && timeoutMs != 0) {
    DWORD signalled = 0;
    CoWaitForMultipleHandles(COWAIT_DISPATCH_CALLS, timeoutMs, count, waitList, &signalled);
  }
  if (browserExitHandlerRegistered_ && environment5) {
    environment5->remove_BrowserProcessExited(browserExitedToken_);
  }
  browserExitHandlerRegistered_ = false;
  environment5.Reset();
  if (browserProcess != nullptr) CloseHandle(browserProcess);
}

}  // namespace WebView
