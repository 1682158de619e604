// The view's later interface versions: what the host never uses answers E_NOTIMPL (or a
// plain value), so that their slots exist and a call through them is harmless.

#include "tools/runtime-standin/webview.h"

namespace standin {

HRESULT WebView::get_CookieManager(ICoreWebView2CookieManager**) { return E_NOTIMPL; }

HRESULT WebView::TrySuspend(ICoreWebView2TrySuspendCompletedHandler*) { return E_NOTIMPL; }

HRESULT WebView::Resume() {
  if (HRESULT usable = Usable(); FAILED(usable)) return usable;
  runtime().log.Call("Resume");
  return S_OK;
}

HRESULT WebView::get_IsSuspended(BOOL* suspended) {
  if (HRESULT usable = Usable(); FAILED(usable)) return usable;
  return GetValue(suspended, false);
}

HRESULT WebView::SetVirtualHostNameToFolderMapping(LPCWSTR host, LPCWSTR folder,
                                                   COREWEBVIEW2_HOST_RESOURCE_ACCESS_KIND access) {
  if (HRESULT usable = Usable(); FAILED(usable)) return usable;
  runtime().log.Call("SetVirtualHostNameToFolderMapping", {{"host", TextOrNull(host)},
                                                           {"folder", TextOrNull(folder)},
                                                           {"access", static_cast<int>(access)}});
  return S_OK;
}

HRESULT WebView::ClearVirtualHostNameToFolderMapping(LPCWSTR host) {
  if (HRESULT usable = Usable(); FAILED(usable)) return usable;
  runtime().log.Call("ClearVirtualHostNameToFolderMapping", {{"host", TextOrNull(host)}});
  return S_OK;
}

HRESULT WebView::OpenTaskManagerWindow() {
  if (HRESULT usable = Usable(); FAILED(usable)) return usable;
  runtime().log.Call("OpenTaskManagerWindow");
  return S_OK;
}

HRESULT WebView::get_IsMuted(BOOL* muted) {
  if (HRESULT usable = Usable(); FAILED(usable)) return usable;
  return GetValue(muted, muted_);
}

HRESULT WebView::put_IsMuted(BOOL muted) {
  if (HRESULT usable = Usable(); FAILED(usable)) return usable;
  muted_ = muted != FALSE;
  runtime().log.Call("put_IsMuted", {{"value", muted_}});
  return S_OK;
}

HRESULT WebView::get_IsDocumentPlayingAudio(BOOL* playing) {
  if (HRESULT usable = Usable(); FAILED(usable)) return usable;
  return GetValue(playing, false);
}

HRESULT WebView::get_IsDefaultDownloadDialogOpen(BOOL* open) {
  if (HRESULT usable = Usable(); FAILED(usable)) return usable;
  return GetValue(open, false);
}

HRESULT WebView::OpenDefaultDownloadDialog() {
  if (HRESULT usable = Usable(); FAILED(usable)) return usable;
  runtime().log.Call("OpenDefaultDownloadDialog");
  return S_OK;
}

HRESULT WebView::CloseDefaultDownloadDialog() {
  if (HRESULT usable = Usable(); FAILED(usable)) return usable;
  runtime().log.Call("CloseDefaultDownloadDialog");
  return S_OK;
}

HRESULT WebView::get_DefaultDownloadDialogCornerAlignment(
    COREWEBVIEW2_DEFAULT_DOWNLOAD_DIALOG_CORNER_ALIGNMENT* alignment) {
  if (HRESULT usable = Usable(); FAILED(usable)) return usable;
  return GetValue(alignment, download_dialog_alignment_);
}

HRESULT WebView::put_DefaultDownloadDialogCornerAlignment(
    COREWEBVIEW2_DEFAULT_DOWNLOAD_DIALOG_CORNER_ALIGNMENT alignment) {
  if (HRESULT usable = Usable(); FAILED(usable)) return usable;
  download_dialog_alignment_ = alignment;
  runtime().log.Call("put_DefaultDownloadDialogCornerAlignment",
                     {{"value", static_cast<int>(alignment)}});
  return S_OK;
}

HRESULT WebView::get_DefaultDownloadDialogMargin(POINT* margin) {
  if (HRESULT usable = Usable(); FAILED(usable)) return usable;
  return GetValue(margin, download_dialog_margin_);
}

HRESULT WebView::put_DefaultDownloadDialogMargin(POINT margin) {
  if (HRESULT usable = Usable(); FAILED(usable)) return usable;
  download_dialog_margin_ = margin;
  runtime().log.Call("put_DefaultDownloadDialogMargin", {{"x", margin.x}, {"y", margin.y}});
  return S_OK;
}

HRESULT WebView::CallDevToolsProtocolMethodForSession(
    LPCWSTR, LPCWSTR, LPCWSTR, ICoreWebView2CallDevToolsProtocolMethodCompletedHandler*) {
  return E_NOTIMPL;
}

HRESULT WebView::get_StatusBarText(LPWSTR* text) {
  if (HRESULT usable = Usable(); FAILED(usable)) return usable;
  return CopyOut(L"", text);
}

HRESULT WebView::get_Profile(ICoreWebView2Profile**) { return E_NOTIMPL; }

HRESULT WebView::ClearServerCertificateErrorActions(
    ICoreWebView2ClearServerCertificateErrorActionsCompletedHandler*) {
  return E_NOTIMPL;
}

HRESULT WebView::get_FaviconUri(LPWSTR* uri) {
  if (HRESULT usable = Usable(); FAILED(usable)) return usable;
  return CopyOut(L"", uri);
}

HRESULT WebView::GetFavicon(COREWEBVIEW2_FAVICON_IMAGE_FORMAT,
                            ICoreWebView2GetFaviconCompletedHandler*) {
  return E_NOTIMPL;
}

HRESULT WebView::PostSharedBufferToScript(ICoreWebView2SharedBuffer*,
                                          COREWEBVIEW2_SHARED_BUFFER_ACCESS, LPCWSTR) {
  return E_NOTIMPL;
}

HRESULT WebView::get_MemoryUsageTargetLevel(COREWEBVIEW2_MEMORY_USAGE_TARGET_LEVEL* level) {
  if (HRESULT usable = Usable(); FAILED(usable)) return usable;
  return GetValue(level, memory_level_);
}

HRESULT WebView::put_MemoryUsageTargetLevel(COREWEBVIEW2_MEMORY_USAGE_TARGET_LEVEL level) {
  if (HRESULT usable = Usable(); FAILED(usable)) return usable;
  memory_level_ = level;
  runtime().log.Call("put_MemoryUsageTargetLevel", {{"value", static_cast<int>(level)}});
  return S_OK;
}

// The main frame's id.
HRESULT WebView::get_FrameId(UINT32* id) {
  if (HRESULT usable = Usable(); FAILED(usable)) return usable;
  return GetValue(id, 0);
}

HRESULT WebView::ExecuteScriptWithResult(LPCWSTR,
                                         ICoreWebView2ExecuteScriptWithResultCompletedHandler*) {
  return E_NOTIMPL;
}

}  // namespace standin
