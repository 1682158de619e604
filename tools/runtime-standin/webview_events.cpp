// Registration of the view's event handlers. Every add_ and remove_ is logged with its
// token; the events the stand-in never raises keep their handlers all the same, until
// the view closes, as the runtime does.

#include "tools/runtime-standin/webview.h"

namespace standin {

HRESULT WebView::add_NavigationStarting(ICoreWebView2NavigationStartingEventHandler* handler,
                                        EventRegistrationToken* token) {
  return Add("NavigationStarting", navigation_starting_, handler, token);
}

HRESULT WebView::remove_NavigationStarting(EventRegistrationToken token) {
  return Remove("NavigationStarting", navigation_starting_, token);
}

HRESULT WebView::add_NavigationCompleted(ICoreWebView2NavigationCompletedEventHandler* handler,
                                         EventRegistrationToken* token) {
  return Add("NavigationCompleted", navigation_completed_, handler, token);
}

HRESULT WebView::remove_NavigationCompleted(EventRegistrationToken token) {
  return Remove("NavigationCompleted", navigation_completed_, token);
}

HRESULT WebView::add_PermissionRequested(ICoreWebView2PermissionRequestedEventHandler* handler,
                                         EventRegistrationToken* token) {
  return Add("PermissionRequested", permission_requested_, handler, token);
}

HRESULT WebView::remove_PermissionRequested(EventRegistrationToken token) {
  return Remove("PermissionRequested", permission_requested_, token);
}

HRESULT WebView::add_WebMessageReceived(ICoreWebView2WebMessageReceivedEventHandler* handler,
                                        EventRegistrationToken* token) {
  return Add("WebMessageReceived", web_message_received_, handler, token);
}

HRESULT WebView::remove_WebMessageReceived(EventRegistrationToken token) {
  return Remove("WebMessageReceived", web_message_received_, token);
}

HRESULT WebView::add_NewWindowRequested(ICoreWebView2NewWindowRequestedEventHandler* handler,
                                        EventRegistrationToken* token) {
  return Add("NewWindowRequested", new_window_requested_, handler, token);
}

HRESULT WebView::remove_NewWindowRequested(EventRegistrationToken token) {
  return Remove("NewWindowRequested", new_window_requested_, token);
}

HRESULT WebView::add_WebResourceRequested(ICoreWebView2WebResourceRequestedEventHandler* handler,
                                          EventRegistrationToken* token) {
  return Add("WebResourceRequested", web_resource_requested_, handler, token);
}

HRESULT WebView::remove_WebResourceRequested(EventRegistrationToken token) {
  return Remove("WebResourceRequested", web_resource_requested_, token);
}

HRESULT WebView::add_ContentLoading(ICoreWebView2ContentLoadingEventHandler* handler,
                                    EventRegistrationToken* token) {
  return AddUnraised("ContentLoading", handler, token);
}

HRESULT WebView::remove_ContentLoading(EventRegistrationToken token) {
  return RemoveUnraised("ContentLoading", token);
}

HRESULT WebView::add_SourceChanged(ICoreWebView2SourceChangedEventHandler* handler,
                                   EventRegistrationToken* token) {
  return AddUnraised("SourceChanged", handler, token);
}

HRESULT WebView::remove_SourceChanged(EventRegistrationToken token) {
  return RemoveUnraised("SourceChanged", token);
}

HRESULT WebView::add_HistoryChanged(ICoreWebView2HistoryChangedEventHandler* handler,
                                    EventRegistrationToken* token) {
  return AddUnraised("HistoryChanged", handler, token);
}

HRESULT WebView::remove_HistoryChanged(EventRegistrationToken token) {
  return RemoveUnraised("HistoryChanged", token);
}

HRESULT WebView::add_FrameNavigationStarting(ICoreWebView2NavigationStartingEventHandler* handler,
                                             EventRegistrationToken* token) {
  return AddUnraised("FrameNavigationStarting", handler, token);
}

HRESULT WebView::remove_FrameNavigationStarting(EventRegistrationToken token) {
  return RemoveUnraised("FrameNavigationStarting", token);
}

HRESULT WebView::add_FrameNavigationCompleted(ICoreWebView2NavigationCompletedEventHandler* handler,
                                              EventRegistrationToken* token) {
  return AddUnraised("FrameNavigationCompleted", handler, token);
}

HRESULT WebView::remove_FrameNavigationCompleted(EventRegistrationToken token) {
  return RemoveUnraised("FrameNavigationCompleted", token);
}

HRESULT WebView::add_ScriptDialogOpening(ICoreWebView2ScriptDialogOpeningEventHandler* handler,
                                         EventRegistrationToken* token) {
  return AddUnraised("ScriptDialogOpening", handler, token);
}

HRESULT WebView::remove_ScriptDialogOpening(EventRegistrationToken token) {
  return RemoveUnraised("ScriptDialogOpening", token);
}

HRESULT WebView::add_ProcessFailed(ICoreWebView2ProcessFailedEventHandler* handler,
                                   EventRegistrationToken* token) {
  return Add("ProcessFailed", process_failed_, handler, token);
}

HRESULT WebView::remove_ProcessFailed(EventRegistrationToken token) {
  return Remove("ProcessFailed", process_failed_, token);
}

HRESULT WebView::add_DocumentTitleChanged(ICoreWebView2DocumentTitleChangedEventHandler* handler,
                                          EventRegistrationToken* token) {
  return AddUnraised("DocumentTitleChanged", handler, token);
}

HRESULT WebView::remove_DocumentTitleChanged(EventRegistrationToken token) {
  return RemoveUnraised("DocumentTitleChanged", token);
}

HRESULT WebView::add_ContainsFullScreenElementChanged(
    ICoreWebView2ContainsFullScreenElementChangedEventHandler* handler,
    EventRegistrationToken* token) {
  return AddUnraised("ContainsFullScreenElementChanged", handler, token);
}

HRESULT WebView::remove_ContainsFullScreenElementChanged(EventRegistrationToken token) {
  return RemoveUnraised("ContainsFullScreenElementChanged", token);
}

HRESULT WebView::add_WindowCloseRequested(ICoreWebView2WindowCloseRequestedEventHandler* handler,
                                          EventRegistrationToken* token) {
  return AddUnraised("WindowCloseRequested", handler, token);
}

HRESULT WebView::remove_WindowCloseRequested(EventRegistrationToken token) {
  return RemoveUnraised("WindowCloseRequested", token);
}

HRESULT WebView::add_WebResourceResponseReceived(
    ICoreWebView2WebResourceResponseReceivedEventHandler* handler, EventRegistrationToken* token) {
  return AddUnraised("WebResourceResponseReceived", handler, token);
}

HRESULT WebView::remove_WebResourceResponseReceived(EventRegistrationToken token) {
  return RemoveUnraised("WebResourceResponseReceived", token);
}

HRESULT WebView::add_DOMContentLoaded(ICoreWebView2DOMContentLoadedEventHandler* handler,
                                      EventRegistrationToken* token) {
  return AddUnraised("DOMContentLoaded", handler, token);
}

HRESULT WebView::remove_DOMContentLoaded(EventRegistrationToken token) {
  return RemoveUnraised("DOMContentLoaded", token);
}

HRESULT WebView::add_FrameCreated(ICoreWebView2FrameCreatedEventHandler* handler,
                                  EventRegistrationToken* token) {
  return AddUnraised("FrameCreated", handler, token);
}

HRESULT WebView::remove_FrameCreated(EventRegistrationToken token) {
  return RemoveUnraised("FrameCreated", token);
}

HRESULT WebView::add_DownloadStarting(ICoreWebView2DownloadStartingEventHandler* handler,
                                      EventRegistrationToken* token) {
  return AddUnraised("DownloadStarting", handler, token);
}

HRESULT WebView::remove_DownloadStarting(EventRegistrationToken token) {
  return RemoveUnraised("DownloadStarting", token);
}

HRESULT WebView::add_ClientCertificateRequested(
    ICoreWebView2ClientCertificateRequestedEventHandler* handler, EventRegistrationToken* token) {
  return AddUnraised("ClientCertificateRequested", handler, token);
}

HRESULT WebView::remove_ClientCertificateRequested(EventRegistrationToken token) {
  return RemoveUnraised("ClientCertificateRequested", token);
}

HRESULT WebView::add_IsMutedChanged(ICoreWebView2IsMutedChangedEventHandler* handler,
                                    EventRegistrationToken* token) {
  return AddUnraised("IsMutedChanged", handler, token);
}

HRESULT WebView::remove_IsMutedChanged(EventRegistrationToken token) {
  return RemoveUnraised("IsMutedChanged", token);
}

HRESULT WebView::add_IsDocumentPlayingAudioChanged(
    ICoreWebView2IsDocumentPlayingAudioChangedEventHandler* handler,
    EventRegistrationToken* token) {
  return AddUnraised("IsDocumentPlayingAudioChanged", handler, token);
}

HRESULT WebView::remove_IsDocumentPlayingAudioChanged(EventRegistrationToken token) {
  return RemoveUnraised("IsDocumentPlayingAudioChanged", token);
}

HRESULT WebView::add_IsDefaultDownloadDialogOpenChanged(
    ICoreWebView2IsDefaultDownloadDialogOpenChangedEventHandler* handler,
    EventRegistrationToken* token) {
  return AddUnraised("IsDefaultDownloadDialogOpenChanged", handler, token);
}

HRESULT WebView::remove_IsDefaultDownloadDialogOpenChanged(EventRegistrationToken token) {
  return RemoveUnraised("IsDefaultDownloadDialogOpenChanged", token);
}

HRESULT WebView::add_BasicAuthenticationRequested(
    ICoreWebView2BasicAuthenticationRequestedEventHandler* handler, EventRegistrationToken* token) {
  return AddUnraised("BasicAuthenticationRequested", handler, token);
}

HRESULT WebView::remove_BasicAuthenticationRequested(EventRegistrationToken token) {
  return RemoveUnraised("BasicAuthenticationRequested", token);
}

HRESULT WebView::add_ContextMenuRequested(ICoreWebView2ContextMenuRequestedEventHandler* handler,
                                          EventRegistrationToken* token) {
  return AddUnraised("ContextMenuRequested", handler, token);
}

HRESULT WebView::remove_ContextMenuRequested(EventRegistrationToken token) {
  return RemoveUnraised("ContextMenuRequested", token);
}

HRESULT WebView::add_StatusBarTextChanged(ICoreWebView2StatusBarTextChangedEventHandler* handler,
                                          EventRegistrationToken* token) {
  return AddUnraised("StatusBarTextChanged", handler, token);
}

HRESULT WebView::remove_StatusBarTextChanged(EventRegistrationToken token) {
  return RemoveUnraised("StatusBarTextChanged", token);
}

HRESULT WebView::add_ServerCertificateErrorDetected(
    ICoreWebView2ServerCertificateErrorDetectedEventHandler* handler,
    EventRegistrationToken* token) {
  return AddUnraised("ServerCertificateErrorDetected", handler, token);
}

HRESULT WebView::remove_ServerCertificateErrorDetected(EventRegistrationToken token) {
  return RemoveUnraised("ServerCertificateErrorDetected", token);
}

HRESULT WebView::add_FaviconChanged(ICoreWebView2FaviconChangedEventHandler* handler,
                                    EventRegistrationToken* token) {
  return AddUnraised("FaviconChanged", handler, token);
}

HRESULT WebView::remove_FaviconChanged(EventRegistrationToken token) {
  return RemoveUnraised("FaviconChanged", token);
}

HRESULT WebView::add_LaunchingExternalUriScheme(
    ICoreWebView2LaunchingExternalUriSchemeEventHandler* handler, EventRegistrationToken* token) {
  return AddUnraised("LaunchingExternalUriScheme", handler, token);
}

HRESULT WebView::remove_LaunchingExternalUriScheme(EventRegistrationToken token) {
  return RemoveUnraised("LaunchingExternalUriScheme", token);
}

}  // namespace standin
