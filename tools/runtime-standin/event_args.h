#pragma once
// The arguments the stand-in passes with its events. Each records what the host's
// handlers answered (cancel, response, state, handled) for the stand-in to act on.

#include <optional>
#include <string>

#include "tools/runtime-standin/com_object.h"
#include "tools/runtime-standin/requests.h"

namespace standin {

class NavigationStartingArgs final
    : public ComObject<NavigationStartingArgs, ICoreWebView2NavigationStartingEventArgs> {
 public:
  NavigationStartingArgs(std::shared_ptr<Runtime> runtime, std::wstring uri, bool user_initiated,
                         ComPtr<RequestHeaders> headers, UINT64 navigation_id);

  bool cancelled() const { return cancel_; }

  HRESULT STDMETHODCALLTYPE get_Uri(LPWSTR* uri) override;
  HRESULT STDMETHODCALLTYPE get_IsUserInitiated(BOOL* user_initiated) override;
  HRESULT STDMETHODCALLTYPE get_IsRedirected(BOOL* redirected) override;
  HRESULT STDMETHODCALLTYPE get_RequestHeaders(ICoreWebView2HttpRequestHeaders** headers) override;
  HRESULT STDMETHODCALLTYPE get_Cancel(BOOL* cancel) override;
  HRESULT STDMETHODCALLTYPE put_Cancel(BOOL cancel) override;
  HRESULT STDMETHODCALLTYPE get_NavigationId(UINT64* navigation_id) override;

 private:
  const std::wstring uri_;
  const bool user_initiated_;
  const ComPtr<RequestHeaders> headers_;
  const UINT64 navigation_id_;
  bool cancel_ = false;
};

class NavigationCompletedArgs final
    : public ComObject<NavigationCompletedArgs, ICoreWebView2NavigationCompletedEventArgs> {
 public:
  NavigationCompletedArgs(std::shared_ptr<Runtime> runtime, bool success,
                          COREWEBVIEW2_WEB_ERROR_STATUS status, UINT64 navigation_id);

  HRESULT STDMETHODCALLTYPE get_IsSuccess(BOOL* success) override;
  HRESULT STDMETHODCALLTYPE get_WebErrorStatus(COREWEBVIEW2_WEB_ERROR_STATUS* status) override;
  HRESULT STDMETHODCALLTYPE get_NavigationId(UINT64* navigation_id) override;

 private:
  const bool success_;
  const COREWEBVIEW2_WEB_ERROR_STATUS status_;
  const UINT64 navigation_id_;
};

class WebResourceRequestedArgs final
    : public ComObject<WebResourceRequestedArgs, ICoreWebView2WebResourceRequestedEventArgs> {
 public:
  WebResourceRequestedArgs(std::shared_ptr<Runtime> runtime, ComPtr<WebResourceRequest> request,
                           COREWEBVIEW2_WEB_RESOURCE_CONTEXT context);

  const ComPtr<ICoreWebView2WebResourceResponse>& response() const { return response_; }

  HRESULT STDMETHODCALLTYPE get_Request(ICoreWebView2WebResourceRequest** request) override;
  HRESULT STDMETHODCALLTYPE get_Response(ICoreWebView2WebResourceResponse** response) override;
  HRESULT STDMETHODCALLTYPE put_Response(ICoreWebView2WebResourceResponse* response) override;
  HRESULT STDMETHODCALLTYPE GetDeferral(ICoreWebView2Deferral** deferral) override;
  HRESULT STDMETHODCALLTYPE
  get_ResourceContext(COREWEBVIEW2_WEB_RESOURCE_CONTEXT* context) override;

 private:
  const ComPtr<WebResourceRequest> request_;
  const COREWEBVIEW2_WEB_RESOURCE_CONTEXT context_;
  ComPtr<ICoreWebView2WebResourceResponse> response_;
};

class WebMessageReceivedArgs final
    : public ComObject<WebMessageReceivedArgs, ICoreWebView2WebMessageReceivedEventArgs> {
 public:
  // `text` is the message when the page posted a string; `json` is its JSON text always.
  WebMessageReceivedArgs(std::shared_ptr<Runtime> runtime, std::wstring source, std::wstring json,
                         std::optional<std::wstring> text);

  HRESULT STDMETHODCALLTYPE get_Source(LPWSTR* source) override;
  HRESULT STDMETHODCALLTYPE get_WebMessageAsJson(LPWSTR* json) override;
  HRESULT STDMETHODCALLTYPE TryGetWebMessageAsString(LPWSTR* text) override;

 private:
  const std::wstring source_;
  const std::wstring json_;
  const std::optional<std::wstring> text_;
};

class NewWindowRequestedArgs final
    : public ComObject<NewWindowRequestedArgs, ICoreWebView2NewWindowRequestedEventArgs> {
 public:
  NewWindowRequestedArgs(std::shared_ptr<Runtime> runtime, std::wstring uri, bool user_initiated);

  bool handled() const { return handled_; }
  bool has_new_window() const { return new_window_ != nullptr; }
  const ComPtr<ICoreWebView2>& new_window() const { return new_window_; }

  HRESULT STDMETHODCALLTYPE get_Uri(LPWSTR* uri) override;
  HRESULT STDMETHODCALLTYPE put_NewWindow(ICoreWebView2* new_window) override;
  HRESULT STDMETHODCALLTYPE get_NewWindow(ICoreWebView2** new_window) override;
  HRESULT STDMETHODCALLTYPE put_Handled(BOOL handled) override;
  HRESULT STDMETHODCALLTYPE get_Handled(BOOL* handled) override;
  HRESULT STDMETHODCALLTYPE get_IsUserInitiated(BOOL* user_initiated) override;
  HRESULT STDMETHODCALLTYPE GetDeferral(ICoreWebView2Deferral** deferral) override;
  HRESULT STDMETHODCALLTYPE get_WindowFeatures(ICoreWebView2WindowFeatures** features) override;

 private:
  const std::wstring uri_;
  const bool user_initiated_;
  ComPtr<ICoreWebView2> new_window_;
  bool handled_ = false;
};

class PermissionRequestedArgs final
    : public ComObject<PermissionRequestedArgs, ICoreWebView2PermissionRequestedEventArgs> {
 public:
  PermissionRequestedArgs(std::shared_ptr<Runtime> runtime, std::wstring uri,
                          COREWEBVIEW2_PERMISSION_KIND kind, bool user_initiated);

  COREWEBVIEW2_PERMISSION_STATE state() const { return state_; }

  HRESULT STDMETHODCALLTYPE get_Uri(LPWSTR* uri) override;
  HRESULT STDMETHODCALLTYPE get_PermissionKind(COREWEBVIEW2_PERMISSION_KIND* kind) override;
  HRESULT STDMETHODCALLTYPE get_IsUserInitiated(BOOL* user_initiated) override;
  HRESULT STDMETHODCALLTYPE get_State(COREWEBVIEW2_PERMISSION_STATE* state) override;
  HRESULT STDMETHODCALLTYPE put_State(COREWEBVIEW2_PERMISSION_STATE state) override;
  HRESULT STDMETHODCALLTYPE GetDeferral(ICoreWebView2Deferral** deferral) override;

 private:
  const std::wstring uri_;
  const COREWEBVIEW2_PERMISSION_KIND kind_;
  const bool user_initiated_;
  COREWEBVIEW2_PERMISSION_STATE state_ = COREWEBVIEW2_PERMISSION_STATE_DEFAULT;
};

class BrowserProcessExitedArgs final
    : public ComObject<BrowserProcessExitedArgs, ICoreWebView2BrowserProcessExitedEventArgs> {
 public:
  BrowserProcessExitedArgs(std::shared_ptr<Runtime> runtime,
                           COREWEBVIEW2_BROWSER_PROCESS_EXIT_KIND kind);

  HRESULT STDMETHODCALLTYPE
  get_BrowserProcessExitKind(COREWEBVIEW2_BROWSER_PROCESS_EXIT_KIND* kind) override;
  HRESULT STDMETHODCALLTYPE get_BrowserProcessId(UINT32* id) override;

 private:
  const COREWEBVIEW2_BROWSER_PROCESS_EXIT_KIND kind_;
};

class ProcessFailedArgs final
    : public ComObject<ProcessFailedArgs, ICoreWebView2ProcessFailedEventArgs> {
 public:
  ProcessFailedArgs(std::shared_ptr<Runtime> runtime, COREWEBVIEW2_PROCESS_FAILED_KIND kind);

  HRESULT STDMETHODCALLTYPE get_ProcessFailedKind(COREWEBVIEW2_PROCESS_FAILED_KIND* kind) override;

 private:
  const COREWEBVIEW2_PROCESS_FAILED_KIND kind_;
};

}  // namespace standin
