#include "tools/runtime-standin/environment.h"

#include <cstdint>
#include <utility>

#include "tools/runtime-standin/controller.h"
#include "tools/runtime-standin/event_args.h"
#include "tools/runtime-standin/print.h"
#include "tools/runtime-standin/requests.h"
#include "tools/runtime-standin/version.h"
#include "tools/runtime-standin/webview.h"

namespace standin {

Environment::Environment(std::shared_ptr<Runtime> runtime, std::shared_ptr<Dispatcher> dispatcher,
                         std::shared_ptr<ChromiumBrowser> browser)
    : ComObject(std::move(runtime)),
      dispatcher_(std::move(dispatcher)),
      engine_(browser != nullptr) {
  if (browser != nullptr) AdoptBrowser(std::move(browser));
}

// A host that lets go of the environment without a controller still ends its browser.
Environment::~Environment() {
  if (browser_ != nullptr) {
    browser_->OnExit(nullptr);
    browser_->Close();
  }
}

void Environment::AdoptBrowser(std::shared_ptr<ChromiumBrowser> browser) {
  browser_ = std::move(browser);
  // A plain pointer: the browser's news must not keep the environment alive, and the
  // environment's end removes the handler before it goes.
  Environment* self = this;
  browser_->OnExit([self](bool expected) { self->BrowserEnded(expected); });
}

void Environment::BrowserEnded(bool expected) {
  browser_.reset();
  exited_ = true;
  // After Close the end is a normal one; a crash or a killed browser is a failure.
  const auto kind = expected ? COREWEBVIEW2_BROWSER_PROCESS_EXIT_KIND_NORMAL
                             : COREWEBVIEW2_BROWSER_PROCESS_EXIT_KIND_FAILED;
  ComPtr<Environment> self(this);
  dispatcher_->PostFromBrowserProcess([self, kind] { self->BrowserProcessEnded(kind); });
  // Controllers asked for meanwhile get a browser of their own.
  if (!waiting_for_browser_.empty()) WithBrowser(nullptr);
}

void Environment::WithBrowser(std::function<void(HRESULT)> ready) {
  if (ready) waiting_for_browser_.push_back(std::move(ready));
  if (browser_ != nullptr && browser_->running()) {
    auto waiting = std::move(waiting_for_browser_);
    waiting_for_browser_.clear();
    for (auto& waiter : waiting) waiter(S_OK);
    return;
  }
  // A closing browser is waited for (BrowserEnded calls again); none at all is started.
  if (browser_ != nullptr || launching_) return;
  launching_ = true;
  ComPtr<Environment> self(this);
  ChromiumBrowser::Launch(
      runtime().config, dispatcher_,
      [self](std::shared_ptr<ChromiumBrowser> browser, HRESULT code, const std::string& error) {
        self->launching_ = false;
        if (browser != nullptr) {
          self->runtime().log.Engine("chromium", browser->version(), browser->process_id());
          self->AdoptBrowser(std::move(browser));
        } else {
          self->runtime().log.Error("Chromium did not start: " + error);
        }
        auto waiting = std::move(self->waiting_for_browser_);
        self->waiting_for_browser_.clear();
        for (auto& waiter : waiting) waiter(code);
      });
}

HRESULT Environment::CreateCoreWebView2Controller(
    HWND parent, ICoreWebView2CreateCoreWebView2ControllerCompletedHandler* handler) {
  Json call = {{"parentWindow", reinterpret_cast<std::uintptr_t>(parent)}};
  HRESULT told = S_OK;
  if (runtime().config.Fails(stage::kCreateControllerCall, &told)) {
    call["hr"] = HexCode(told);
    runtime().log.Call("CreateCoreWebView2Controller", call);
    // A refusal leaves the browser process with nothing to show, so it ends; a call that
    // claims success but never completes keeps it waiting.
    if (FAILED(told)) ExitWhenIdle();
    return told;
  }
  std::shared_ptr<Dispatcher> dispatcher;
  HRESULT refused = S_OK;
  if (handler == nullptr || !IsWindow(parent)) {
    refused = E_INVALIDARG;
  } else if ((dispatcher = Dispatcher::ForCurrentThread()) == nullptr) {
    refused = LastErrorCode();
  }
  if (FAILED(refused)) call["hr"] = HexCode(refused);
  runtime().log.Call("CreateCoreWebView2Controller", call);
  if (FAILED(refused)) return refused;

  exited_ = false;      // a new controller brings the browser process back
  ++open_controllers_;  // from now on, so the process does not end while it is being made
  ComPtr<Environment> self(this);
  ComPtr<ICoreWebView2CreateCoreWebView2ControllerCompletedHandler> completed(handler);
  dispatcher->Post([self, parent, completed] { self->CompleteController(parent, completed); });
  return S_OK;
}

void Environment::CompleteController(
    HWND parent, ComPtr<ICoreWebView2CreateCoreWebView2ControllerCompletedHandler> handler) {
  HRESULT failure = S_OK;
  if (runtime().config.Fails(stage::kCreateControllerCallback, &failure)) {
    --open_controllers_;
    handler->Invoke(failure, nullptr);
    runtime().log.Event("CreateCoreWebView2ControllerCompleted", {{"hr", HexCode(failure)}});
    ExitWhenIdle();
    return;
  }
  HRESULT no_view = S_OK;
  const bool without_view = runtime().config.Fails(stage::kGetCoreWebView2, &no_view);
  if (engine_) {
    OpenEnginePage(parent, std::move(handler), without_view, no_view);
    return;
  }
  auto controller =
      Make<Controller>(shared_runtime(), Dispatcher::ForCurrentThread(), ComPtr<Environment>(this),
                       parent, without_view ? no_view : S_OK);
  handler->Invoke(S_OK, controller.Get());
  runtime().log.Event("CreateCoreWebView2ControllerCompleted", {{"hr", HexCode(S_OK)}});
}

void Environment::OpenEnginePage(
    HWND parent, ComPtr<ICoreWebView2CreateCoreWebView2ControllerCompletedHandler> handler,
    bool without_view, HRESULT no_view) {
  ComPtr<Environment> self(this);
  const auto fail = [self, handler](HRESULT code) {
    --self->open_controllers_;
    handler->Invoke(code, nullptr);
    self->runtime().log.Event("CreateCoreWebView2ControllerCompleted", {{"hr", HexCode(code)}});
    self->ExitWhenIdle();
  };
  WithBrowser([self, parent, handler, without_view, no_view, fail](HRESULT ready) {
    if (FAILED(ready)) return fail(ready);
    std::shared_ptr<ChromiumBrowser> browser = self->browser_;
    browser->OpenPage([self, parent, handler, without_view, no_view, fail, browser](
                          HRESULT opened, const std::string& target, const std::string& session) {
      if (FAILED(opened)) return fail(opened);
      if (!IsWindow(parent)) {
        browser->ClosePage(target);
        return fail(E_INVALIDARG);
      }
      EngineTarget engine{browser, target, session, parent, {}};
      GetClientRect(parent, &engine.bounds);
      auto controller = Make<Controller>(self->shared_runtime(), Dispatcher::ForCurrentThread(),
                                         self, parent, without_view ? no_view : S_OK, &engine);
      if (without_view) browser->ClosePage(target);
      const auto complete = [self, handler, controller] {
        handler->Invoke(S_OK, controller.Get());
        self->runtime().log.Event("CreateCoreWebView2ControllerCompleted", {{"hr", HexCode(S_OK)}});
      };
      if (ChromiumPage* page = controller->Engine()) {
        page->WhenReady(complete);
      } else {
        complete();
      }
    });
  });
}

void Environment::ControllerClosed() {
  if (open_controllers_ > 0) --open_controllers_;
  ExitWhenIdle();
}

void Environment::ExitWhenIdle() {
  if (open_controllers_ > 0 || exited_) return;
  if (engine_) {
    // The browser really closes; its end is reported when the connection has gone.
    if (browser_ != nullptr) {
      browser_->Close();
    } else if (!launching_) {
      exited_ = true;
      ComPtr<Environment> self(this);
      dispatcher_->PostFromBrowserProcess([self] {
        self->RaiseBrowserProcessExited(COREWEBVIEW2_BROWSER_PROCESS_EXIT_KIND_NORMAL);
      });
    }
    return;
  }
  exited_ = true;
  ComPtr<Environment> self(this);
  dispatcher_->PostFromBrowserProcess(
      [self] { self->RaiseBrowserProcessExited(COREWEBVIEW2_BROWSER_PROCESS_EXIT_KIND_NORMAL); });
}

void Environment::BrowserProcessExits(COREWEBVIEW2_BROWSER_PROCESS_EXIT_KIND kind) {
  if (engine_) {
    // A real end: a crash for a failure, a close otherwise; reported when it happened.
    if (browser_ == nullptr) return;
    if (kind == COREWEBVIEW2_BROWSER_PROCESS_EXIT_KIND_NORMAL) {
      browser_->Close();
    } else {
      browser_->Crash();
    }
    return;
  }
  if (exited_) return;
  exited_ = true;
  BrowserProcessEnded(kind);
}

void Environment::ViewOpened(WebView* view) { views_.push_back(view); }

void Environment::ViewClosed(WebView* view) { std::erase(views_, view); }

void Environment::BrowserProcessEnded(COREWEBVIEW2_BROWSER_PROCESS_EXIT_KIND kind) {
  if (kind == COREWEBVIEW2_BROWSER_PROCESS_EXIT_KIND_FAILED) {
    // Each view is told, then closed, as the runtime closes a view whose browser is gone;
    // held meanwhile, since a host's handler may let go of it.
    std::vector<ComPtr<WebView>> failed(views_.begin(), views_.end());
    for (const ComPtr<WebView>& view : failed) {
      view->RaiseProcessFailed(COREWEBVIEW2_PROCESS_FAILED_KIND_BROWSER_PROCESS_EXITED);
      view->Close();
    }
  }
  RaiseBrowserProcessExited(kind);
}

void Environment::RaiseBrowserProcessExited(COREWEBVIEW2_BROWSER_PROCESS_EXIT_KIND kind) {
  auto args = Make<BrowserProcessExitedArgs>(shared_runtime(), kind);
  for (const auto& handler : browser_process_exited_.Handlers()) {
    handler->Invoke(this, args.Get());
  }
  runtime().log.Event("BrowserProcessExited", {{"kind", static_cast<int>(kind)}});
}

HRESULT Environment::CreateWebResourceResponse(IStream* content, int status, LPCWSTR reason,
                                               LPCWSTR headers,
                                               ICoreWebView2WebResourceResponse** response) {
  if (response == nullptr) return E_POINTER;
  return HandOut(Make<WebResourceResponse>(shared_runtime(), content, status, Copy(reason),
                                           ParseHeaderText(headers)),
                 response);
}

HRESULT Environment::get_BrowserVersionString(LPWSTR* version) {
  return CopyOut(STANDIN_VERSION_WIDE, version);
}

HRESULT Environment::add_NewBrowserVersionAvailable(
    ICoreWebView2NewBrowserVersionAvailableEventHandler* handler, EventRegistrationToken* token) {
  return unraised_.Add(runtime().log, "NewBrowserVersionAvailable", handler, token);
}

HRESULT Environment::remove_NewBrowserVersionAvailable(EventRegistrationToken token) {
  return unraised_.Remove(runtime().log, "NewBrowserVersionAvailable", token);
}

HRESULT Environment::CreateWebResourceRequest(LPCWSTR uri, LPCWSTR method, IStream* content,
                                              LPCWSTR headers,
                                              ICoreWebView2WebResourceRequest** request) {
  if (request == nullptr) return E_POINTER;
  if (uri == nullptr || method == nullptr) return E_INVALIDARG;
  auto header_collection = Make<RequestHeaders>(shared_runtime(), ParseHeaderText(headers));
  return HandOut(
      Make<WebResourceRequest>(shared_runtime(), uri, method, content, header_collection), request);
}

HRESULT Environment::CreateCoreWebView2CompositionController(
    HWND, ICoreWebView2CreateCoreWebView2CompositionControllerCompletedHandler*) {
  return E_NOTIMPL;
}

HRESULT Environment::CreateCoreWebView2PointerInfo(ICoreWebView2PointerInfo**) { return E_NOTIMPL; }

HRESULT Environment::GetAutomationProviderForWindow(HWND, IUnknown**) { return E_NOTIMPL; }

HRESULT Environment::add_BrowserProcessExited(
    ICoreWebView2BrowserProcessExitedEventHandler* handler, EventRegistrationToken* token) {
  return AddHandler(runtime().log, "BrowserProcessExited", browser_process_exited_, handler, token);
}

HRESULT Environment::remove_BrowserProcessExited(EventRegistrationToken token) {
  return RemoveHandler(runtime().log, "BrowserProcessExited", browser_process_exited_, token);
}

HRESULT Environment::CreatePrintSettings(ICoreWebView2PrintSettings** settings) {
  if (settings == nullptr) return E_POINTER;
  HRESULT refused = S_OK;
  if (runtime().config.Fails(stage::kCreatePrintSettings, &refused)) {
    *settings = nullptr;
    runtime().log.Call("CreatePrintSettings", {{"hr", HexCode(refused)}});
    return FAILED(refused) ? refused : E_FAIL;
  }
  runtime().log.Call("CreatePrintSettings");
  return HandOut(Make<PrintSettings>(shared_runtime()), settings);
}

}  // namespace standin
