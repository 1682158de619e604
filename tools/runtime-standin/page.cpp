// The page's side of the view: what the script's stimuli make the page do. Each runs in
// a turn of the message loop of its own (the script player posts it) and raises its
// event there.

#include "tools/runtime-standin/environment.h"
#include "tools/runtime-standin/event_args.h"
#include "tools/runtime-standin/webview.h"

namespace standin {

// Raised in a turn of its own, as a page's message arrives: the script goes on meanwhile,
// so a stimulus can come while the host's handler still runs (a dialog it opened).
void WebView::PagePostMessage(const std::wstring& json, const std::optional<std::wstring>& text) {
  if (engine_ != nullptr) return engine_->PagePostMessage(Utf8(json));
  ComPtr<WebView> self(this);
  dispatcher_->Post([self, source = CurrentUri(), json, text] {
    if (!self->closed_) self->RaiseMessage(source, json, text);
  });
}

void WebView::RaiseMessage(const std::wstring& source, const std::wstring& json,
                           const std::optional<std::wstring>& text) {
  auto args = Make<WebMessageReceivedArgs>(shared_runtime(), source, json, text);
  for (const auto& handler : web_message_received_.Handlers()) handler->Invoke(this, args.Get());
  Json members = {{"source", Utf8(source)}, {"json", Utf8(json)}};
  if (text) members["text"] = Utf8(*text);
  runtime().log.Event("WebMessageReceived", members);
}

void WebView::RaiseExternalUri(const std::wstring& uri, bool launched) {
  runtime().log.Event("LaunchingExternalUriScheme", {{"uri", Utf8(uri)}, {"launched", launched}});
}

void WebView::PageRequestResource(const Stimulus& stimulus) {
  if (engine_ != nullptr) return engine_->PageFetch(stimulus);
  auto headers = Make<RequestHeaders>(shared_runtime(), stimulus.headers);
  auto request =
      Make<WebResourceRequest>(shared_runtime(), stimulus.uri, stimulus.method, nullptr, headers);
  RaiseResourceRequested(
      request, static_cast<COREWEBVIEW2_WEB_RESOURCE_CONTEXT>(stimulus.context),
      static_cast<COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS>(stimulus.source_kind));
}

// The recording stand-in opens no windows: a request nobody handled is only logged as such.
void WebView::PageOpenWindow(const std::wstring& uri) {
  if (engine_ != nullptr) return engine_->PageOpenWindow(uri);
  bool handled = false;
  RaiseNewWindow(uri, true, &handled);
}

ComPtr<ICoreWebView2> WebView::RaiseNewWindow(const std::wstring& uri, bool user_initiated,
                                              bool* handled) {
  auto args = Make<NewWindowRequestedArgs>(shared_runtime(), uri, user_initiated);
  for (const auto& handler : new_window_requested_.Handlers()) handler->Invoke(this, args.Get());
  runtime().log.Event(
      "NewWindowRequested",
      {{"uri", Utf8(uri)}, {"handled", args->handled()}, {"newWindow", args->has_new_window()}});
  *handled = args->handled();
  return args->new_window();
}

// The browser process's end is the environment's: every view of it fails, then closes. A
// renderer that Chromium runs is crashed for real, and the view learns of it as of any
// crash (chromium_page.cpp); the other kinds, which headless Chromium cannot be made to
// show, are only reported.
void WebView::PageProcessFails(COREWEBVIEW2_PROCESS_FAILED_KIND kind) {
  if (kind == COREWEBVIEW2_PROCESS_FAILED_KIND_BROWSER_PROCESS_EXITED) {
    environment_->BrowserProcessExits(COREWEBVIEW2_BROWSER_PROCESS_EXIT_KIND_FAILED);
  } else if (engine_ != nullptr && kind == COREWEBVIEW2_PROCESS_FAILED_KIND_RENDER_PROCESS_EXITED) {
    engine_->CrashRenderer();
  } else {
    RaiseProcessFailed(kind);
  }
}

void WebView::RaiseProcessFailed(COREWEBVIEW2_PROCESS_FAILED_KIND kind) {
  if (closed_) return;
  auto args = Make<ProcessFailedArgs>(shared_runtime(), kind);
  for (const auto& handler : process_failed_.Handlers()) handler->Invoke(this, args.Get());
  runtime().log.Event("ProcessFailed", {{"kind", static_cast<int>(kind)}});
}

void WebView::PageEvaluate(const std::string& script) {
  if (engine_ != nullptr) return engine_->Evaluate(script);
  runtime().log.Error("the evaluate stimulus needs a browser engine (QUORVEL_RUNTIME_ENGINE)");
}

void WebView::PageRequestPermission(const std::wstring& uri, COREWEBVIEW2_PERMISSION_KIND kind) {
  auto args = Make<PermissionRequestedArgs>(shared_runtime(), uri, kind, true);
  for (const auto& handler : permission_requested_.Handlers()) handler->Invoke(this, args.Get());
  runtime().log.Event("PermissionRequested", {{"uri", Utf8(uri)},
                                              {"kind", static_cast<int>(kind)},
                                              {"state", static_cast<int>(args->state())}});
}

}  // namespace standin
