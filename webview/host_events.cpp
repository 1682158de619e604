// The view's events: each handler reads what the runtime reports and hands it to the
// owner's callback, or answers it by the host's own rules (permissions, new windows).
// Registered once the view exists, in a fixed order, for the life of the view.
#include "common/text.h"
#include "common/web_address.h"
#include "common/wide_text.h"
#include "webview/com_helpers.h"
#include "webview/resource_filter.h"
#include "webview/webview_host.h"

namespace WebView {

using Microsoft::WRL::ComPtr;

void WebViewHost::SetupEventHandlers() {
  EventRegistrationToken token = {};  // the handlers stay for the life of the view

  webView_->add_NavigationStarting(
      MakeCallback<ICoreWebView2NavigationStartingEventHandler>(
          [this](ICoreWebView2*, ICoreWebView2NavigationStartingEventArgs* args) {
            if (!OnNavigationStarting) return S_OK;
            CoTaskString address;
            args->get_Uri(address.Receive());
            if (address.Get() == nullptr) return S_OK;
            // The host's own document passes whatever form the runtime gives its address.
            if (IsOwnStringDocument(address.View())) return S_OK;
            bool cancel = false;
            OnNavigationStarting(std::wstring(address.View()), cancel);
            if (cancel) args->put_Cancel(TRUE);
            return S_OK;
          })
          .Get(),
      &token);

  webView_->add_WebMessageReceived(
      MakeCallback<ICoreWebView2WebMessageReceivedEventHandler>(
          [this](ICoreWebView2*, ICoreWebView2WebMessageReceivedEventArgs* args) {
            if (!OnWebMessage) return S_OK;
            CoTaskString message;
            if (FAILED(args->TryGetWebMessageAsString(message.Receive())) ||
                message.Get() == nullptr) {
              args->get_WebMessageAsJson(message.Receive());
            }
            OnWebMessage(std::wstring(message.View()));
            return S_OK;
          })
          .Get(),
      &token);

  webView_->add_NavigationCompleted(
      MakeCallback<ICoreWebView2NavigationCompletedEventHandler>(
          [this](ICoreWebView2*, ICoreWebView2NavigationCompletedEventArgs* args) {
            BOOL success = FALSE;
            args->get_IsSuccess(&success);
            if (success) RememberShownDocument();
            if (!OnNavigationCompleted) return S_OK;
            COREWEBVIEW2_WEB_ERROR_STATUS status = COREWEBVIEW2_WEB_ERROR_STATUS_UNKNOWN;
            if (!success) args->get_WebErrorStatus(&status);
            OnNavigationCompleted(success != FALSE, status);
            return S_OK;
          })
          .Get(),
      &token);

  // Lessons may use the microphone and camera (live classes) and notifications, but only
  // on origins the owner trusts; elsewhere, and for every other permission (location
  // included), the runtime gives its default answer: it asks the user.
  webView_->add_PermissionRequested(
      MakeCallback<ICoreWebView2PermissionRequestedEventHandler>(
          [this](ICoreWebView2*, ICoreWebView2PermissionRequestedEventArgs* args) {
            COREWEBVIEW2_PERMISSION_KIND kind = COREWEBVIEW2_PERMISSION_KIND_UNKNOWN_PERMISSION;
            args->get_PermissionKind(&kind);
            bool allowed = false;
            if (kind == COREWEBVIEW2_PERMISSION_KIND_MICROPHONE ||
                kind == COREWEBVIEW2_PERMISSION_KIND_CAMERA ||
                kind == COREWEBVIEW2_PERMISSION_KIND_NOTIFICATIONS) {
              CoTaskString origin;
              args->get_Uri(origin.Receive());
              allowed = origin.Get() != nullptr && TrustsOrigin &&
                        TrustsOrigin(std::wstring(origin.View()));
            }
            args->put_State(allowed ? COREWEBVIEW2_PERMISSION_STATE_ALLOW
                                    : COREWEBVIEW2_PERMISSION_STATE_DEFAULT);
            return S_OK;
          })
          .Get(),
      &token);

  // No second window: a web address opens in this view and meets the navigation check;
  // any other (a file share, a script, another program's scheme) is dropped.
  webView_->add_NewWindowRequested(
      MakeCallback<ICoreWebView2NewWindowRequestedEventHandler>(
          [](ICoreWebView2* sender, ICoreWebView2NewWindowRequestedEventArgs* args) {
            args->put_Handled(TRUE);
            CoTaskString address;
            args->get_Uri(address.Receive());
            if (address.Get() != nullptr && sender != nullptr &&
                ReadWebAddress(FromWide(address.View()))) {
              sender->Navigate(address.Get());
            }
            return S_OK;
          })
          .Get(),
      &token);

  ComPtr<ICoreWebView2_22> view22;
  if (SUCCEEDED(webView_.As(&view22))) {
    view22->AddWebResourceRequestedFilterWithRequestSourceKinds(
        L"*", COREWEBVIEW2_WEB_RESOURCE_CONTEXT_ALL,
        static_cast<COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS>(0xFFFFFFFFu));
  } else {
    webView_->AddWebResourceRequestedFilter(L"*", COREWEBVIEW2_WEB_RESOURCE_CONTEXT_ALL);
  }

  webView_->add_WebResourceRequested(
      MakeCallback<ICoreWebView2WebResourceRequestedEventHandler>(
          [this](ICoreWebView2*, ICoreWebView2WebResourceRequestedEventArgs* args) {
            FilterWebResourceRequest(args, environment_.Get(), OnWebResourceRequested);
            return S_OK;
          })
          .Get(),
      &token);

  // Last, after the handlers above: a renderer that ended or hangs, or the browser process
  // that ended, leaves the window blank or frozen unless the owner acts.
  webView_->add_ProcessFailed(
      MakeCallback<ICoreWebView2ProcessFailedEventHandler>(
          [this](ICoreWebView2*, ICoreWebView2ProcessFailedEventArgs* args) {
            COREWEBVIEW2_PROCESS_FAILED_KIND kind =
                COREWEBVIEW2_PROCESS_FAILED_KIND_UNKNOWN_PROCESS_EXITED;
            if (args == nullptr || FAILED(args->get_ProcessFailedKind(&kind))) return S_OK;
            if (OnProcessFailed) OnProcessFailed(kind);
            return S_OK;
          })
          .Get(),
      &token);
}

void WebViewHost::RememberShownDocument() {
  CoTaskString address;
  if (!webView_ || FAILED(webView_->get_Source(address.Receive())) || address.Get() == nullptr) {
    return;
  }
  // Runtimes report the host's own document as about:blank or by its data: address.
  if (IsOwnStringDocument(address.View()) ||
      (stringDocument_ && address.View() == std::wstring_view(L"about:blank"))) {
    shown_ = {stringDocument_, L""};
  } else {
    shown_ = {std::nullopt, std::wstring(address.View())};
  }
}

}  // namespace WebView
