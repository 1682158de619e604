#include "webview/webview_host.h"

#include "common/device_identity.h"
#include "common/step_log.h"
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

constexpr DWORD kShutdownWaitMs = 5000;
// The runtime is given this long between its environment's arrival and the request for
// a view; an environment that arrived earlier (started early) has had it already.
constexpr ULONGLONG kControllerDelayMs = 100;

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

bool WebViewHost::Initialize(HWND parent, const std::wstring& userDataFolder, int attempts,
                             std::unique_ptr<EarlyEnvironment> early) {
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
  ClearRuntimeVariables();

  const Runtime runtime = ChooseRuntime();
  const bool fixed = runtime.fixed();
  const std::u16string baseFolder = BaseUserDataFolder(FromWide(userDataFolder), fixed);
  const std::u16string unique = UniqueAttemptText(GetCurrentProcessId(), GetTickCount64());
  InitFailures failures;

  for (int i = 0; i < std::max(attempts, 1) && !releasing_; ++i) {
    const std::wstring folder = ToWide(AttemptFolder(baseFolder, unique, i));
    auto attempt = std::make_shared<AttemptState>();
    if (i == 0 && AdoptEarlyEnvironment(std::move(early), runtime, folder, attempt)) {
      WaitForAttempt(*attempt);
    } else {
      const wchar_t* stage = L"";
      const HRESULT prepared = PrepareAttempt(runtime, folder, stage);
      if (FAILED(prepared)) {
        // The folder itself failed: nothing was started, so nothing to shut down.
        failures.Record(prepared, FromWide(stage), FromWide(folder));
        continue;
      }
      StartEnvironment(runtime, folder, attempt);
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

void WebViewHost::StartEnvironment(const Runtime& runtime, const std::wstring& folder,
                                   const std::shared_ptr<AttemptState>& attempt) {
  auto handler = MakeCallback<ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler>(
      [this, attempt](HRESULT reported, ICoreWebView2Environment* environment) {
        // An attempt given up (quit, release) leaves the host alone: it may be gone.
        if (!attempt->completed) {
          OnEnvironmentCreated(reported, environment, attempt, GetTickCount64());
        }
        return S_OK;
      });
  StepLog("Step 11: Browser environment requested");
  const HRESULT result = CreateCoreWebView2EnvironmentWithOptions(
      runtime.fixed() ? runtime.browserFolder.c_str() : nullptr, folder.c_str(), nullptr,
      handler.Get());
  if (FAILED(result)) {
    attempt->result = result;
    attempt->stage = L"CreateEnvironmentCall";
  } else {
    WaitForAttempt(*attempt);
  }
}

bool WebViewHost::AdoptEarlyEnvironment(std::unique_ptr<EarlyEnvironment> early,
                                        const Runtime& runtime, const std::wstring& folder,
                                        const std::shared_ptr<AttemptState>& attempt) {
  if (!early || early->folder() != folder ||
      early->runtime().browserFolder != runtime.browserFolder) {
    return false;
  }
  // Still coming: waited for as the attempt's own environment would be.
  WaitForAttempt(early->attempt());
  const AttemptState& outcome = early->attempt();
  if (releasing_ || outcome.stage == L"ApplicationQuitDuringInitialization" ||
      outcome.stage == L"InitializationMessagePump") {
    // The wait itself ended the attempt; the early start proved nothing either way.
    attempt->result = outcome.result;
    attempt->stage = outcome.stage;
    attempt->completed = true;
    return true;
  }
  const ComPtr<ICoreWebView2Environment> environment = early->TakeEnvironment();
  if (!environment) return false;  // its start failed: the attempt is made as always
  OnEnvironmentCreated(S_OK, environment.Get(), attempt, early->arrivedAt());
  return true;
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
                                       const std::shared_ptr<AttemptState>& attempt,
                                       ULONGLONG arrivedAt) {
  if (FAILED(result) || environment == nullptr) {
    EndAttempt(attempt, AsFailure(result), L"CreateEnvironmentCallback");
    return;
  }
  StepLog("Step 11: Browser environment created");
  environment_ = environment;
  RegisterBrowserProcessExitHandler();
  const ULONGLONG waited = GetTickCount64() - arrivedAt;
  if (waited < kControllerDelayMs) Sleep(static_cast<DWORD>(kControllerDelayMs - waited));
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
  StepLog("Step 11: Browser controller created");
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
