#include "tools/runtime-standin/event_args.h"

#include <utility>

namespace standin {

NavigationStartingArgs::NavigationStartingArgs(std::shared_ptr<Runtime> runtime, std::wstring uri,
                                               bool user_initiated, ComPtr<RequestHeaders> headers,
                                               UINT64 navigation_id)
    : ComObject(std::move(runtime)),
      uri_(std::move(uri)),
      user_initiated_(user_initiated),
      headers_(std::move(headers)),
      navigation_id_(navigation_id) {}

HRESULT NavigationStartingArgs::get_Uri(LPWSTR* uri) { return CopyOut(uri_, uri); }

HRESULT NavigationStartingArgs::get_IsUserInitiated(BOOL* user_initiated) {
  return GetValue(user_initiated, user_initiated_);
}

HRESULT NavigationStartingArgs::get_IsRedirected(BOOL* redirected) {
  return GetValue(redirected, false);
}

HRESULT NavigationStartingArgs::get_RequestHeaders(ICoreWebView2HttpRequestHeaders** headers) {
  return HandOut(headers_, headers);
}

HRESULT NavigationStartingArgs::get_Cancel(BOOL* cancel) { return GetValue(cancel, cancel_); }

HRESULT NavigationStartingArgs::put_Cancel(BOOL cancel) {
  cancel_ = cancel != FALSE;
  return S_OK;
}

HRESULT NavigationStartingArgs::get_NavigationId(UINT64* navigation_id) {
  return GetValue(navigation_id, navigation_id_);
}

NavigationCompletedArgs::NavigationCompletedArgs(std::shared_ptr<Runtime> runtime, bool success,
                                                 COREWEBVIEW2_WEB_ERROR_STATUS status,
                                                 UINT64 navigation_id)
    : ComObject(std::move(runtime)),
      success_(success),
      status_(status),
      navigation_id_(navigation_id) {}

HRESULT NavigationCompletedArgs::get_IsSuccess(BOOL* success) {
  return GetValue(success, success_);
}

HRESULT NavigationCompletedArgs::get_WebErrorStatus(COREWEBVIEW2_WEB_ERROR_STATUS* status) {
  return GetValue(status, status_);
}

HRESULT NavigationCompletedArgs::get_NavigationId(UINT64* navigation_id) {
  return GetValue(navigation_id, navigation_id_);
}

WebResourceRequestedArgs::WebResourceRequestedArgs(std::shared_ptr<Runtime> runtime,
                                                   ComPtr<WebResourceRequest> request,
                                                   COREWEBVIEW2_WEB_RESOURCE_CONTEXT context)
    : ComObject(std::move(runtime)), request_(std::move(request)), context_(context) {}

HRESULT WebResourceRequestedArgs::get_Request(ICoreWebView2WebResourceRequest** request) {
  return HandOut(request_, request);
}

HRESULT WebResourceRequestedArgs::get_Response(ICoreWebView2WebResourceResponse** response) {
  return HandOut(response_, response);
}

HRESULT WebResourceRequestedArgs::put_Response(ICoreWebView2WebResourceResponse* response) {
  response_ = response;
  return S_OK;
}

// Deferrals are an interface the ABI headers only forward-declare; the host answers
// requests while its handler runs.
HRESULT WebResourceRequestedArgs::GetDeferral(ICoreWebView2Deferral**) { return E_NOTIMPL; }

HRESULT WebResourceRequestedArgs::get_ResourceContext(COREWEBVIEW2_WEB_RESOURCE_CONTEXT* context) {
  return GetValue(context, context_);
}

WebMessageReceivedArgs::WebMessageReceivedArgs(std::shared_ptr<Runtime> runtime,
                                               std::wstring source, std::wstring json,
                                               std::optional<std::wstring> text)
    : ComObject(std::move(runtime)),
      source_(std::move(source)),
      json_(std::move(json)),
      text_(std::move(text)) {}

HRESULT WebMessageReceivedArgs::get_Source(LPWSTR* source) { return CopyOut(source_, source); }

HRESULT WebMessageReceivedArgs::get_WebMessageAsJson(LPWSTR* json) { return CopyOut(json_, json); }

// As the runtime: a message that is not a string fails with E_INVALIDARG.
HRESULT WebMessageReceivedArgs::TryGetWebMessageAsString(LPWSTR* text) {
  if (text == nullptr) return E_POINTER;
  *text = nullptr;
  return text_ ? CopyOut(*text_, text) : E_INVALIDARG;
}

NewWindowRequestedArgs::NewWindowRequestedArgs(std::shared_ptr<Runtime> runtime, std::wstring uri,
                                               bool user_initiated)
    : ComObject(std::move(runtime)), uri_(std::move(uri)), user_initiated_(user_initiated) {}

HRESULT NewWindowRequestedArgs::get_Uri(LPWSTR* uri) { return CopyOut(uri_, uri); }

HRESULT NewWindowRequestedArgs::put_NewWindow(ICoreWebView2* new_window) {
  new_window_ = new_window;
  return S_OK;
}

HRESULT NewWindowRequestedArgs::get_NewWindow(ICoreWebView2** new_window) {
  return HandOut(new_window_, new_window);
}

HRESULT NewWindowRequestedArgs::put_Handled(BOOL handled) {
  handled_ = handled != FALSE;
  return S_OK;
}

HRESULT NewWindowRequestedArgs::get_Handled(BOOL* handled) { return GetValue(handled, handled_); }

HRESULT NewWindowRequestedArgs::get_IsUserInitiated(BOOL* user_initiated) {
  return GetValue(user_initiated, user_initiated_);
}

HRESULT NewWindowRequestedArgs::GetDeferral(ICoreWebView2Deferral**) { return E_NOTIMPL; }

HRESULT NewWindowRequestedArgs::get_WindowFeatures(ICoreWebView2WindowFeatures**) {
  return E_NOTIMPL;
}

PermissionRequestedArgs::PermissionRequestedArgs(std::shared_ptr<Runtime> runtime, std::wstring uri,
                                                 COREWEBVIEW2_PERMISSION_KIND kind,
                                                 bool user_initiated)
    : ComObject(std::move(runtime)),
      uri_(std::move(uri)),
      kind_(kind),
      user_initiated_(user_initiated) {}

HRESULT PermissionRequestedArgs::get_Uri(LPWSTR* uri) { return CopyOut(uri_, uri); }

HRESULT PermissionRequestedArgs::get_PermissionKind(COREWEBVIEW2_PERMISSION_KIND* kind) {
  return GetValue(kind, kind_);
}

HRESULT PermissionRequestedArgs::get_IsUserInitiated(BOOL* user_initiated) {
  return GetValue(user_initiated, user_initiated_);
}

HRESULT PermissionRequestedArgs::get_State(COREWEBVIEW2_PERMISSION_STATE* state) {
  return GetValue(state, state_);
}

HRESULT PermissionRequestedArgs::put_State(COREWEBVIEW2_PERMISSION_STATE state) {
  if (state < COREWEBVIEW2_PERMISSION_STATE_DEFAULT || state > COREWEBVIEW2_PERMISSION_STATE_DENY) {
    return E_INVALIDARG;
  }
  state_ = state;
  return S_OK;
}

HRESULT PermissionRequestedArgs::GetDeferral(ICoreWebView2Deferral**) { return E_NOTIMPL; }

BrowserProcessExitedArgs::BrowserProcessExitedArgs(std::shared_ptr<Runtime> runtime,
                                                   COREWEBVIEW2_BROWSER_PROCESS_EXIT_KIND kind)
    : ComObject(std::move(runtime)), kind_(kind) {}

HRESULT BrowserProcessExitedArgs::get_BrowserProcessExitKind(
    COREWEBVIEW2_BROWSER_PROCESS_EXIT_KIND* kind) {
  return GetValue(kind, kind_);
}

// The stand-in runs no browser process; see WebView::get_BrowserProcessId.
HRESULT BrowserProcessExitedArgs::get_BrowserProcessId(UINT32* id) { return GetValue(id, 0); }

ProcessFailedArgs::ProcessFailedArgs(std::shared_ptr<Runtime> runtime,
                                     COREWEBVIEW2_PROCESS_FAILED_KIND kind)
    : ComObject(std::move(runtime)), kind_(kind) {}

HRESULT ProcessFailedArgs::get_ProcessFailedKind(COREWEBVIEW2_PROCESS_FAILED_KIND* kind) {
  return GetValue(kind, kind_);
}

}  // namespace standin
