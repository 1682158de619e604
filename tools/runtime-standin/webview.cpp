#include "tools/runtime-standin/webview.h"

#include <cwctype>
#include <utility>

#include "tools/runtime-standin/environment.h"

namespace standin {
namespace {

// An absolute address: a scheme of letters, digits, '+', '-' or '.', then a colon.
bool IsAbsoluteUri(std::wstring_view uri) {
  const std::size_t colon = uri.find(L':');
  if (colon == 0 || colon == std::wstring_view::npos || !iswalpha(uri[0])) return false;
  for (wchar_t c : uri.substr(0, colon)) {
    if (!(iswalnum(c) || c == L'+' || c == L'-' || c == L'.')) return false;
  }
  return true;
}

}  // namespace

WebView::WebView(std::shared_ptr<Runtime> runtime, std::shared_ptr<Dispatcher> dispatcher,
                 ComPtr<Environment> environment, const EngineTarget* engine)
    : ComObject(runtime),
      dispatcher_(std::move(dispatcher)),
      environment_(std::move(environment)),
      settings_(Make<Settings>(runtime)),
      player_(*this) {
  environment_->ViewOpened(this);
  if (engine != nullptr) {
    engine_ = std::make_shared<ChromiumPage>(*this, engine->browser, engine->target,
                                             engine->session, engine->parent, engine->bounds);
    engine_->Start();
  }
}

WebView::~WebView() { Close(); }

void WebView::Close() {
  if (closed_) return;
  closed_ = true;
  environment_->ViewClosed(this);
  player_.Stop();
  navigation_.reset();
  if (engine_ != nullptr) engine_->Close();
  // The host's handlers often hold the host's own references to the view: letting go of
  // them here is what breaks those cycles.
  navigation_starting_.Clear();
  navigation_completed_.Clear();
  web_message_received_.Clear();
  permission_requested_.Clear();
  new_window_requested_.Clear();
  web_resource_requested_.Clear();
  process_failed_.Clear();
  unraised_.Clear();
  filters_.Clear();
}

HRESULT WebView::Usable() const {
  if (!dispatcher_->OnOwnThread()) return RPC_E_WRONG_THREAD;
  if (closed_) return HRESULT_FROM_WIN32(ERROR_INVALID_STATE);
  return S_OK;
}

HRESULT WebView::get_Settings(ICoreWebView2Settings** settings) {
  if (HRESULT usable = Usable(); FAILED(usable)) return usable;
  return HandOut(settings_, settings);
}

HRESULT WebView::get_Source(LPWSTR* uri) {
  if (HRESULT usable = Usable(); FAILED(usable)) return usable;
  return CopyOut(CurrentUri(), uri);
}

HRESULT WebView::Navigate(LPCWSTR uri) {
  if (HRESULT usable = Usable(); FAILED(usable)) return usable;
  Json call = {{"uri", TextOrNull(uri)}};
  if (uri == nullptr || !IsAbsoluteUri(uri)) {
    call["hr"] = HexCode(E_INVALIDARG);
    runtime().log.Call("Navigate", call);
    return E_INVALIDARG;
  }
  runtime().log.Call("Navigate", call);
  if (engine_ != nullptr) {
    engine_->Navigate({uri, Utf8(uri), L"", {}, std::nullopt});
    return S_OK;
  }
  Navigation navigation;
  navigation.target.uri = uri;
  navigation.headers = Make<RequestHeaders>(shared_runtime(), HeaderList{});
  BeginNavigation(std::move(navigation));
  return S_OK;
}

HRESULT WebView::NavigateToString(LPCWSTR html) {
  if (HRESULT usable = Usable(); FAILED(usable)) return usable;
  if (html == nullptr) return E_INVALIDARG;
  runtime().log.Call("NavigateToString", {{"html", Utf8(html)}});
  if (engine_ != nullptr) {
    engine_->NavigateToString(html);
    return S_OK;
  }
  Navigation navigation;
  navigation.target = {runtime().config.StringDocumentUri(html), true};
  navigation.headers = Make<RequestHeaders>(shared_runtime(), HeaderList{});
  BeginNavigation(std::move(navigation));
  return S_OK;
}

HRESULT WebView::NavigateWithWebResourceRequest(ICoreWebView2WebResourceRequest* request) {
  if (HRESULT usable = Usable(); FAILED(usable)) return usable;
  // Only a request made by this runtime's environment is accepted, as with the runtime.
  ComPtr<WebResourceRequest> own = OwnObject<WebResourceRequest>(request);
  if (own == nullptr) return E_INVALIDARG;
  runtime().log.Call("NavigateWithWebResourceRequest",
                     {{"uri", Utf8(own->uri())},
                      {"method", Utf8(own->method())},
                      {"headers", HeadersJson(own->headers()->list())}});
  if (!IsAbsoluteUri(own->uri())) return E_INVALIDARG;
  if (engine_ != nullptr) {
    std::optional<std::string> body;
    if (own->content() != nullptr) body = ReadAll(own->content().Get());
    engine_->Navigate(
        {own->uri(), Utf8(own->uri()), own->method(), own->headers()->list(), std::move(body)});
    return S_OK;
  }
  Navigation navigation;
  navigation.target.uri = own->uri();
  navigation.method = own->method();
  navigation.content = own->content();
  // A copy: the host may reuse or change its request after handing it over.
  navigation.headers = Make<RequestHeaders>(shared_runtime(), own->headers()->list());
  BeginNavigation(std::move(navigation));
  return S_OK;
}

HRESULT WebView::AddScriptToExecuteOnDocumentCreated(
    LPCWSTR script, ICoreWebView2AddScriptToExecuteOnDocumentCreatedCompletedHandler* handler) {
  if (HRESULT usable = Usable(); FAILED(usable)) return usable;
  if (script == nullptr) return E_INVALIDARG;
  const std::wstring id = std::to_wstring(next_script_id_++);
  document_scripts_.emplace(id, script);
  runtime().log.Call("AddScriptToExecuteOnDocumentCreated",
                     {{"script", Utf8(script)}, {"id", Utf8(id)}});
  if (engine_ != nullptr) {
    // Completed once the browser has the script, so a navigation the host starts from the
    // completion runs it.
    ComPtr<ICoreWebView2AddScriptToExecuteOnDocumentCreatedCompletedHandler> completed(handler);
    ComPtr<WebView> self(this);
    engine_->AddScript(id, script, [self, completed, id](HRESULT code) {
      if (completed != nullptr && !self->closed_) {
        completed->Invoke(code, SUCCEEDED(code) ? id.c_str() : nullptr);
      }
    });
    return S_OK;
  }
  if (handler != nullptr) {
    dispatcher_->Post(
        [handler =
             ComPtr<ICoreWebView2AddScriptToExecuteOnDocumentCreatedCompletedHandler>(handler),
         id] { handler->Invoke(S_OK, id.c_str()); });
  }
  return S_OK;
}

HRESULT WebView::RemoveScriptToExecuteOnDocumentCreated(LPCWSTR id) {
  if (HRESULT usable = Usable(); FAILED(usable)) return usable;
  if (id == nullptr) return E_INVALIDARG;
  runtime().log.Call("RemoveScriptToExecuteOnDocumentCreated", {{"id", Utf8(id)}});
  document_scripts_.erase(id);
  if (engine_ != nullptr) engine_->RemoveScript(id);
  return S_OK;
}

// Script results need completion handlers the ABI headers only forward-declare.
HRESULT WebView::ExecuteScript(LPCWSTR, ICoreWebView2ExecuteScriptCompletedHandler*) {
  return E_NOTIMPL;
}

HRESULT WebView::CapturePreview(COREWEBVIEW2_CAPTURE_PREVIEW_IMAGE_FORMAT, IStream*,
                                ICoreWebView2CapturePreviewCompletedHandler*) {
  return E_NOTIMPL;
}

HRESULT WebView::Reload() {
  if (HRESULT usable = Usable(); FAILED(usable)) return usable;
  runtime().log.Call("Reload");
  if (engine_ != nullptr) {
    engine_->Reload();
    return S_OK;
  }
  Navigation navigation;
  if (const HistoryEntry* current = Current()) {
    navigation.target = *current;
    navigation.history_index = current_;
  } else {
    navigation.target = {L"about:blank", true};
  }
  navigation.headers = Make<RequestHeaders>(shared_runtime(), HeaderList{});
  BeginNavigation(std::move(navigation));
  return S_OK;
}

HRESULT WebView::PostWebMessageAsJson(LPCWSTR json) {
  if (HRESULT usable = Usable(); FAILED(usable)) return usable;
  if (json == nullptr) return E_INVALIDARG;
  const std::string text = Utf8(json);
  Json call = {{"json", text}};
  // The runtime refuses a message that is not JSON.
  if (!Json::accept(text)) {
    call["hr"] = HexCode(E_INVALIDARG);
    runtime().log.Call("PostWebMessageAsJson", call);
    return E_INVALIDARG;
  }
  runtime().log.Call("PostWebMessageAsJson", call);
  if (engine_ != nullptr) engine_->PostToPage(text);
  return S_OK;
}

HRESULT WebView::PostWebMessageAsString(LPCWSTR text) {
  if (HRESULT usable = Usable(); FAILED(usable)) return usable;
  if (text == nullptr) return E_INVALIDARG;
  runtime().log.Call("PostWebMessageAsString", {{"text", Utf8(text)}});
  if (engine_ != nullptr) {
    engine_->PostToPage(Json(Utf8(text)).dump(-1, ' ', true, Json::error_handler_t::replace));
  }
  return S_OK;
}

HRESULT WebView::CallDevToolsProtocolMethod(
    LPCWSTR, LPCWSTR, ICoreWebView2CallDevToolsProtocolMethodCompletedHandler*) {
  return E_NOTIMPL;
}

// In the recording mode no browser process runs; 0 tells the host there is none to wait
// for. The host learns of the end of the (pretended) browser process through
// BrowserProcessExited instead. With Chromium: its Unix pid, which no Windows API knows.
HRESULT WebView::get_BrowserProcessId(UINT32* id) {
  if (HRESULT usable = Usable(); FAILED(usable)) return usable;
  return GetValue(id, engine_ != nullptr ? engine_->browser_process_id() : 0);
}

HRESULT WebView::get_CanGoBack(BOOL* can_go_back) {
  if (HRESULT usable = Usable(); FAILED(usable)) return usable;
  if (engine_ != nullptr) return GetValue(can_go_back, engine_->CanGoBack());
  return GetValue(can_go_back, !history_.empty() && current_ > 0);
}

HRESULT WebView::get_CanGoForward(BOOL* can_go_forward) {
  if (HRESULT usable = Usable(); FAILED(usable)) return usable;
  if (engine_ != nullptr) return GetValue(can_go_forward, engine_->CanGoForward());
  return GetValue(can_go_forward, current_ + 1 < history_.size());
}

HRESULT WebView::GoBack() {
  if (HRESULT usable = Usable(); FAILED(usable)) return usable;
  runtime().log.Call("GoBack");
  if (engine_ != nullptr) {
    engine_->GoBack();
    return S_OK;
  }
  if (history_.empty() || current_ == 0) return S_OK;  // nothing to go back to
  Navigation navigation;
  navigation.history_index = current_ - 1;
  navigation.target = history_[current_ - 1];
  navigation.headers = Make<RequestHeaders>(shared_runtime(), HeaderList{});
  BeginNavigation(std::move(navigation));
  return S_OK;
}

HRESULT WebView::GoForward() {
  if (HRESULT usable = Usable(); FAILED(usable)) return usable;
  runtime().log.Call("GoForward");
  if (engine_ != nullptr) {
    engine_->GoForward();
    return S_OK;
  }
  if (current_ + 1 >= history_.size()) return S_OK;
  Navigation navigation;
  navigation.history_index = current_ + 1;
  navigation.target = history_[current_ + 1];
  navigation.headers = Make<RequestHeaders>(shared_runtime(), HeaderList{});
  BeginNavigation(std::move(navigation));
  return S_OK;
}

HRESULT WebView::GetDevToolsProtocolEventReceiver(LPCWSTR,
                                                  ICoreWebView2DevToolsProtocolEventReceiver**) {
  return E_NOTIMPL;
}

HRESULT WebView::Stop() {
  if (HRESULT usable = Usable(); FAILED(usable)) return usable;
  runtime().log.Call("Stop");
  if (engine_ != nullptr) engine_->Stop();
  return S_OK;
}

HRESULT WebView::get_DocumentTitle(LPWSTR* title) {
  if (HRESULT usable = Usable(); FAILED(usable)) return usable;
  return CopyOut(CurrentUri(), title);
}

HRESULT WebView::AddHostObjectToScript(LPCWSTR, VARIANT*) { return E_NOTIMPL; }

HRESULT WebView::RemoveHostObjectFromScript(LPCWSTR) { return E_NOTIMPL; }

HRESULT WebView::OpenDevToolsWindow() {
  if (HRESULT usable = Usable(); FAILED(usable)) return usable;
  runtime().log.Call("OpenDevToolsWindow");
  return S_OK;
}

HRESULT WebView::get_ContainsFullScreenElement(BOOL* contains) {
  if (HRESULT usable = Usable(); FAILED(usable)) return usable;
  return GetValue(contains, false);
}

HRESULT WebView::get_Environment(ICoreWebView2Environment** environment) {
  if (HRESULT usable = Usable(); FAILED(usable)) return usable;
  return HandOut(environment_, environment);
}

}  // namespace standin
