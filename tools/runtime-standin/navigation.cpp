// The view's top-level navigations and its resource requests.
//
// A navigation runs as posted steps, each in its own turn of the message loop, as with
// the runtime: NavigationStarting; then, unless cancelled and unless the document is a
// string, WebResourceRequested for the document (when a filter matches it); then
// NavigationCompleted. A new navigation replaces one still on its way; the replaced one
// completes with OPERATION_CANCELED if its NavigationStarting was already raised. A
// navigation cancelled in NavigationStarting also completes, unsuccessfully with
// OPERATION_CANCELED, and leaves the current address as it was.

#include "tools/runtime-standin/chromium_mapping.h"
#include "tools/runtime-standin/event_args.h"
#include "tools/runtime-standin/webview.h"

namespace standin {

const WebView::HistoryEntry* WebView::Current() const {
  return history_.empty() ? nullptr : &history_[current_];
}

std::wstring WebView::CurrentUri() const {
  if (engine_ != nullptr) return engine_->CurrentUri();
  const HistoryEntry* current = Current();
  return current != nullptr ? current->uri : L"about:blank";
}

void WebView::BeginNavigation(Navigation navigation) {
  if (navigation_ && navigation_->started) {
    Navigation replaced = std::move(*navigation_);
    replaced.success = false;
    replaced.status = COREWEBVIEW2_WEB_ERROR_STATUS_OPERATION_CANCELED;
    ComPtr<WebView> self(this);
    dispatcher_->Post([self, replaced = std::move(replaced)]() mutable {
      if (!self->closed_) self->RaiseNavigationCompleted(std::move(replaced));
    });
  } else if (navigation_ && navigation_->from_script) {
    player_.NavigationFinished();
  }
  navigation.id = next_navigation_id_++;
  navigation_ = std::move(navigation);
  PostNavigationStep(navigation_->id, &WebView::RaiseNavigationStarting);
}

void WebView::PostNavigationStep(UINT64 id, void (WebView::*step)()) {
  ComPtr<WebView> self(this);
  dispatcher_->Post([self, id, step] {
    // A step of a navigation that was replaced, or of a view that closed, is dropped.
    if (!self->closed_ && self->navigation_ && self->navigation_->id == id) {
      (self.Get()->*step)();
    }
  });
}

void WebView::RaiseNavigationStarting() {
  Navigation& navigation = *navigation_;
  const UINT64 id = navigation.id;
  navigation.started = true;
  const bool cancelled =
      RaiseStarting(navigation.target.uri, navigation.user_initiated, navigation.headers, id);
  // A handler may have started another navigation or closed the view meanwhile.
  if (closed_ || !navigation_ || navigation_->id != id) return;
  if (cancelled) {
    navigation_->success = false;
    navigation_->status = COREWEBVIEW2_WEB_ERROR_STATUS_OPERATION_CANCELED;
    PostNavigationStep(id, &WebView::CompleteNavigation);
  } else if (navigation_->target.from_string) {
    PostNavigationStep(id, &WebView::CompleteNavigation);
  } else {
    PostNavigationStep(id, &WebView::RequestDocument);
  }
}

bool WebView::RaiseStarting(const std::wstring& uri, bool user_initiated,
                            const ComPtr<RequestHeaders>& headers, UINT64 id) {
  auto args = Make<NavigationStartingArgs>(shared_runtime(), uri, user_initiated, headers, id);
  for (const auto& handler : navigation_starting_.Handlers()) handler->Invoke(this, args.Get());
  runtime().log.Event("NavigationStarting", {{"uri", Utf8(uri)}, {"cancelled", args->cancelled()}});
  return args->cancelled();
}

void WebView::RequestDocument() {
  const UINT64 id = navigation_->id;
  auto request =
      Make<WebResourceRequest>(shared_runtime(), navigation_->target.uri, navigation_->method,
                               navigation_->content, navigation_->headers);
  ComPtr<ICoreWebView2WebResourceResponse> response =
      RaiseResourceRequested(request, COREWEBVIEW2_WEB_RESOURCE_CONTEXT_DOCUMENT,
                             COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS_DOCUMENT);
  if (closed_ || !navigation_ || navigation_->id != id) return;
  int status = 200;
  if (response != nullptr && SUCCEEDED(response->get_StatusCode(&status)) && status >= 400) {
    navigation_->success = false;
    navigation_->status = StatusOfHttpError(status);
  }
  PostNavigationStep(id, &WebView::CompleteNavigation);
}

void WebView::CompleteNavigation() {
  Navigation navigation = std::move(*navigation_);
  navigation_.reset();
  if (navigation.success) {
    if (navigation.history_index && *navigation.history_index < history_.size()) {
      current_ = *navigation.history_index;
    } else {
      // A new address drops whatever lay ahead of the current one.
      if (!history_.empty()) history_.resize(current_ + 1);
      history_.push_back(navigation.target);
      current_ = history_.size() - 1;
    }
  }
  RaiseNavigationCompleted(std::move(navigation));
}

void WebView::RaiseNavigationCompleted(Navigation navigation) {
  RaiseCompleted(navigation.target.uri, navigation.success, navigation.status, navigation.id,
                 navigation.from_script);
}

void WebView::RaiseCompleted(const std::wstring& uri, bool success,
                             COREWEBVIEW2_WEB_ERROR_STATUS status, UINT64 id, bool from_script) {
  auto args = Make<NavigationCompletedArgs>(
      shared_runtime(), success, success ? COREWEBVIEW2_WEB_ERROR_STATUS_UNKNOWN : status, id);
  for (const auto& handler : navigation_completed_.Handlers()) handler->Invoke(this, args.Get());
  runtime().log.Event("NavigationCompleted", {{"uri", Utf8(uri)}, {"success", success}});
  if (closed_) return;
  if (from_script) player_.NavigationFinished();
  if (success) player_.Start();
}

ComPtr<ICoreWebView2WebResourceResponse> WebView::RaiseResourceRequested(
    const ComPtr<WebResourceRequest>& request, COREWEBVIEW2_WEB_RESOURCE_CONTEXT context,
    COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS source) {
  if (!filters_.Match(request->uri(), context, source)) return nullptr;
  auto args = Make<WebResourceRequestedArgs>(shared_runtime(), request, context);
  for (const auto& handler : web_resource_requested_.Handlers()) {
    handler->Invoke(this, args.Get());
  }
  // What the request became in the host's hands: its address and headers may have changed.
  runtime().log.Event("WebResourceRequested", {{"uri", Utf8(request->uri())},
                                               {"method", Utf8(request->method())},
                                               {"context", static_cast<int>(context)},
                                               {"headers", HeadersJson(request->headers()->list())},
                                               {"response", ResponseJson(args->response().Get())}});
  return args->response();
}

void WebView::PageNavigate(const std::wstring& uri) {
  if (engine_ != nullptr) return engine_->PageNavigate(uri);
  Navigation navigation;
  navigation.target.uri = uri;
  navigation.headers = Make<RequestHeaders>(shared_runtime(), HeaderList{});
  navigation.user_initiated = true;
  navigation.from_script = true;
  BeginNavigation(std::move(navigation));
}

HRESULT WebView::AddFilter(LPCWSTR uri, COREWEBVIEW2_WEB_RESOURCE_CONTEXT context,
                           COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS sources, const char* call,
                           bool with_sources) {
  if (HRESULT usable = Usable(); FAILED(usable)) return usable;
  if (uri == nullptr || context < COREWEBVIEW2_WEB_RESOURCE_CONTEXT_ALL ||
      context > COREWEBVIEW2_WEB_RESOURCE_CONTEXT_OTHER) {
    return E_INVALIDARG;
  }
  Json arguments = {{"uri", Utf8(uri)}, {"context", static_cast<int>(context)}};
  if (with_sources) arguments["sourceKinds"] = static_cast<UINT32>(sources);
  runtime().log.Call(call, arguments);
  filters_.Add({uri, context, sources});
  return S_OK;
}

HRESULT WebView::RemoveFilter(LPCWSTR uri, COREWEBVIEW2_WEB_RESOURCE_CONTEXT context,
                              COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS sources,
                              const char* call, bool with_sources) {
  if (HRESULT usable = Usable(); FAILED(usable)) return usable;
  if (uri == nullptr) return E_INVALIDARG;
  Json arguments = {{"uri", Utf8(uri)}, {"context", static_cast<int>(context)}};
  if (with_sources) arguments["sourceKinds"] = static_cast<UINT32>(sources);
  runtime().log.Call(call, arguments);
  return filters_.Remove({uri, context, sources}) ? S_OK : E_INVALIDARG;
}

// The filter without source kinds sees only what documents request, as with the runtime;
// workers' requests need the variant with source kinds.
HRESULT WebView::AddWebResourceRequestedFilter(const LPCWSTR uri,
                                               const COREWEBVIEW2_WEB_RESOURCE_CONTEXT context) {
  return AddFilter(uri, context, COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS_DOCUMENT,
                   "AddWebResourceRequestedFilter", false);
}

HRESULT WebView::RemoveWebResourceRequestedFilter(const LPCWSTR uri,
                                                  const COREWEBVIEW2_WEB_RESOURCE_CONTEXT context) {
  return RemoveFilter(uri, context, COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS_DOCUMENT,
                      "RemoveWebResourceRequestedFilter", false);
}

HRESULT WebView::AddWebResourceRequestedFilterWithRequestSourceKinds(
    LPCWSTR uri, COREWEBVIEW2_WEB_RESOURCE_CONTEXT context,
    COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS sources) {
  return AddFilter(uri, context, sources, "AddWebResourceRequestedFilterWithRequestSourceKinds",
                   true);
}

HRESULT WebView::RemoveWebResourceRequestedFilterWithRequestSourceKinds(
    LPCWSTR uri, COREWEBVIEW2_WEB_RESOURCE_CONTEXT context,
    COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS sources) {
  return RemoveFilter(uri, context, sources,
                      "RemoveWebResourceRequestedFilterWithRequestSourceKinds", true);
}

}  // namespace standin
