#pragma once
// The view: ICoreWebView2 and its versions _2 to _22, each deriving from the one
// before. An older runtime lacks the newer versions, so code asks for the one it needs
// with QueryInterface and copes with E_NOINTERFACE.
//
// Part of webview/abi/WebView2.h, which says why the order of the methods must never
// change. Include that header rather than this one.

#include "webview/abi/webview2_types.h"

struct DECLSPEC_UUID("76eceacb-0462-4d94-ac83-423a6793775e") ICoreWebView2 : public IUnknown {
 public:
  virtual HRESULT STDMETHODCALLTYPE get_Settings(ICoreWebView2Settings** settings) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Source(LPWSTR* uri) = 0;
  virtual HRESULT STDMETHODCALLTYPE Navigate(LPCWSTR uri) = 0;
  virtual HRESULT STDMETHODCALLTYPE NavigateToString(LPCWSTR htmlContent) = 0;
  virtual HRESULT STDMETHODCALLTYPE add_NavigationStarting(
      ICoreWebView2NavigationStartingEventHandler* eventHandler, EventRegistrationToken* token) = 0;
  virtual HRESULT STDMETHODCALLTYPE remove_NavigationStarting(EventRegistrationToken token) = 0;
  virtual HRESULT STDMETHODCALLTYPE add_ContentLoading(
      ICoreWebView2ContentLoadingEventHandler* eventHandler, EventRegistrationToken* token) = 0;
  virtual HRESULT STDMETHODCALLTYPE remove_ContentLoading(EventRegistrationToken token) = 0;
  virtual HRESULT STDMETHODCALLTYPE add_SourceChanged(
      ICoreWebView2SourceChangedEventHandler* eventHandler, EventRegistrationToken* token) = 0;
  virtual HRESULT STDMETHODCALLTYPE remove_SourceChanged(EventRegistrationToken token) = 0;
  virtual HRESULT STDMETHODCALLTYPE add_HistoryChanged(
      ICoreWebView2HistoryChangedEventHandler* eventHandler, EventRegistrationToken* token) = 0;
  virtual HRESULT STDMETHODCALLTYPE remove_HistoryChanged(EventRegistrationToken token) = 0;
  virtual HRESULT STDMETHODCALLTYPE
  add_NavigationCompleted(ICoreWebView2NavigationCompletedEventHandler* eventHandler,
                          EventRegistrationToken* token) = 0;
  virtual HRESULT STDMETHODCALLTYPE remove_NavigationCompleted(EventRegistrationToken token) = 0;
  virtual HRESULT STDMETHODCALLTYPE add_FrameNavigationStarting(
      ICoreWebView2NavigationStartingEventHandler* eventHandler, EventRegistrationToken* token) = 0;
  virtual HRESULT STDMETHODCALLTYPE
  remove_FrameNavigationStarting(EventRegistrationToken token) = 0;
  virtual HRESULT STDMETHODCALLTYPE
  add_FrameNavigationCompleted(ICoreWebView2NavigationCompletedEventHandler* eventHandler,
                               EventRegistrationToken* token) = 0;
  virtual HRESULT STDMETHODCALLTYPE
  remove_FrameNavigationCompleted(EventRegistrationToken token) = 0;
  virtual HRESULT STDMETHODCALLTYPE
  add_ScriptDialogOpening(ICoreWebView2ScriptDialogOpeningEventHandler* eventHandler,
                          EventRegistrationToken* token) = 0;
  virtual HRESULT STDMETHODCALLTYPE remove_ScriptDialogOpening(EventRegistrationToken token) = 0;
  virtual HRESULT STDMETHODCALLTYPE
  add_PermissionRequested(ICoreWebView2PermissionRequestedEventHandler* eventHandler,
                          EventRegistrationToken* token) = 0;
  virtual HRESULT STDMETHODCALLTYPE remove_PermissionRequested(EventRegistrationToken token) = 0;
  virtual HRESULT STDMETHODCALLTYPE add_ProcessFailed(
      ICoreWebView2ProcessFailedEventHandler* eventHandler, EventRegistrationToken* token) = 0;
  virtual HRESULT STDMETHODCALLTYPE remove_ProcessFailed(EventRegistrationToken token) = 0;
  virtual HRESULT STDMETHODCALLTYPE AddScriptToExecuteOnDocumentCreated(
      LPCWSTR javaScript,
      ICoreWebView2AddScriptToExecuteOnDocumentCreatedCompletedHandler* handler) = 0;
  virtual HRESULT STDMETHODCALLTYPE RemoveScriptToExecuteOnDocumentCreated(LPCWSTR id) = 0;
  virtual HRESULT STDMETHODCALLTYPE
  ExecuteScript(LPCWSTR javaScript, ICoreWebView2ExecuteScriptCompletedHandler* handler) = 0;
  virtual HRESULT STDMETHODCALLTYPE
  CapturePreview(COREWEBVIEW2_CAPTURE_PREVIEW_IMAGE_FORMAT imageFormat, IStream* imageStream,
                 ICoreWebView2CapturePreviewCompletedHandler* handler) = 0;
  virtual HRESULT STDMETHODCALLTYPE Reload() = 0;
  virtual HRESULT STDMETHODCALLTYPE PostWebMessageAsJson(LPCWSTR webMessageAsJson) = 0;
  virtual HRESULT STDMETHODCALLTYPE PostWebMessageAsString(LPCWSTR webMessageAsString) = 0;
  virtual HRESULT STDMETHODCALLTYPE add_WebMessageReceived(
      ICoreWebView2WebMessageReceivedEventHandler* handler, EventRegistrationToken* token) = 0;
  virtual HRESULT STDMETHODCALLTYPE remove_WebMessageReceived(EventRegistrationToken token) = 0;
  virtual HRESULT STDMETHODCALLTYPE
  CallDevToolsProtocolMethod(LPCWSTR methodName, LPCWSTR parametersAsJson,
                             ICoreWebView2CallDevToolsProtocolMethodCompletedHandler* handler) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_BrowserProcessId(UINT32* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_CanGoBack(BOOL* canGoBack) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_CanGoForward(BOOL* canGoForward) = 0;
  virtual HRESULT STDMETHODCALLTYPE GoBack() = 0;
  virtual HRESULT STDMETHODCALLTYPE GoForward() = 0;
  virtual HRESULT STDMETHODCALLTYPE GetDevToolsProtocolEventReceiver(
      LPCWSTR eventName, ICoreWebView2DevToolsProtocolEventReceiver** receiver) = 0;
  virtual HRESULT STDMETHODCALLTYPE Stop() = 0;
  virtual HRESULT STDMETHODCALLTYPE add_NewWindowRequested(
      ICoreWebView2NewWindowRequestedEventHandler* eventHandler, EventRegistrationToken* token) = 0;
  virtual HRESULT STDMETHODCALLTYPE remove_NewWindowRequested(EventRegistrationToken token) = 0;
  virtual HRESULT STDMETHODCALLTYPE
  add_DocumentTitleChanged(ICoreWebView2DocumentTitleChangedEventHandler* eventHandler,
                           EventRegistrationToken* token) = 0;
  virtual HRESULT STDMETHODCALLTYPE remove_DocumentTitleChanged(EventRegistrationToken token) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_DocumentTitle(LPWSTR* title) = 0;
  virtual HRESULT STDMETHODCALLTYPE AddHostObjectToScript(LPCWSTR name, VARIANT* object) = 0;
  virtual HRESULT STDMETHODCALLTYPE RemoveHostObjectFromScript(LPCWSTR name) = 0;
  virtual HRESULT STDMETHODCALLTYPE OpenDevToolsWindow() = 0;
  virtual HRESULT STDMETHODCALLTYPE add_ContainsFullScreenElementChanged(
      ICoreWebView2ContainsFullScreenElementChangedEventHandler* eventHandler,
      EventRegistrationToken* token) = 0;
  virtual HRESULT STDMETHODCALLTYPE
  remove_ContainsFullScreenElementChanged(EventRegistrationToken token) = 0;
  virtual HRESULT STDMETHODCALLTYPE
  get_ContainsFullScreenElement(BOOL* containsFullScreenElement) = 0;
  virtual HRESULT STDMETHODCALLTYPE
  add_WebResourceRequested(ICoreWebView2WebResourceRequestedEventHandler* eventHandler,
                           EventRegistrationToken* token) = 0;
  virtual HRESULT STDMETHODCALLTYPE remove_WebResourceRequested(EventRegistrationToken token) = 0;
  virtual HRESULT STDMETHODCALLTYPE AddWebResourceRequestedFilter(
      const LPCWSTR uri, const COREWEBVIEW2_WEB_RESOURCE_CONTEXT resourceContext) = 0;
  virtual HRESULT STDMETHODCALLTYPE RemoveWebResourceRequestedFilter(
      const LPCWSTR uri, const COREWEBVIEW2_WEB_RESOURCE_CONTEXT resourceContext) = 0;
  virtual HRESULT STDMETHODCALLTYPE
  add_WindowCloseRequested(ICoreWebView2WindowCloseRequestedEventHandler* eventHandler,
                           EventRegistrationToken* token) = 0;
  virtual HRESULT STDMETHODCALLTYPE remove_WindowCloseRequested(EventRegistrationToken token) = 0;
};
__CRT_UUID_DECL(ICoreWebView2, 0x76eceacb, 0x0462, 0x4d94, 0xac, 0x83, 0x42, 0x3a, 0x67, 0x93, 0x77,
                0x5e)

struct DECLSPEC_UUID("9e8f0cf8-e670-4b5e-b2bc-73e061e3184c") ICoreWebView2_2
    : public ICoreWebView2 {
 public:
  virtual HRESULT STDMETHODCALLTYPE add_WebResourceResponseReceived(
      ICoreWebView2WebResourceResponseReceivedEventHandler* eventHandler,
      EventRegistrationToken* token) = 0;
  virtual HRESULT STDMETHODCALLTYPE
  remove_WebResourceResponseReceived(EventRegistrationToken token) = 0;
  virtual HRESULT STDMETHODCALLTYPE
  NavigateWithWebResourceRequest(ICoreWebView2WebResourceRequest* request) = 0;
  virtual HRESULT STDMETHODCALLTYPE add_DOMContentLoaded(
      ICoreWebView2DOMContentLoadedEventHandler* eventHandler, EventRegistrationToken* token) = 0;
  virtual HRESULT STDMETHODCALLTYPE remove_DOMContentLoaded(EventRegistrationToken token) = 0;
  virtual HRESULT STDMETHODCALLTYPE
  get_CookieManager(ICoreWebView2CookieManager** cookieManager) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Environment(ICoreWebView2Environment** environment) = 0;
};
__CRT_UUID_DECL(ICoreWebView2_2, 0x9e8f0cf8, 0xe670, 0x4b5e, 0xb2, 0xbc, 0x73, 0xe0, 0x61, 0xe3,
                0x18, 0x4c)

struct DECLSPEC_UUID("a0d6df20-3b92-416d-aa0c-437a9c727857") ICoreWebView2_3
    : public ICoreWebView2_2 {
 public:
  virtual HRESULT STDMETHODCALLTYPE
  TrySuspend(ICoreWebView2TrySuspendCompletedHandler* handler) = 0;
  virtual HRESULT STDMETHODCALLTYPE Resume() = 0;
  virtual HRESULT STDMETHODCALLTYPE get_IsSuspended(BOOL* isSuspended) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetVirtualHostNameToFolderMapping(
      LPCWSTR hostName, LPCWSTR folderPath, COREWEBVIEW2_HOST_RESOURCE_ACCESS_KIND accessKind) = 0;
  virtual HRESULT STDMETHODCALLTYPE ClearVirtualHostNameToFolderMapping(LPCWSTR hostName) = 0;
};
__CRT_UUID_DECL(ICoreWebView2_3, 0xa0d6df20, 0x3b92, 0x416d, 0xaa, 0x0c, 0x43, 0x7a, 0x9c, 0x72,
                0x78, 0x57)

struct DECLSPEC_UUID("20d02d59-6df2-42dc-bd06-f98a694b1302") ICoreWebView2_4
    : public ICoreWebView2_3 {
 public:
  virtual HRESULT STDMETHODCALLTYPE add_FrameCreated(
      ICoreWebView2FrameCreatedEventHandler* eventHandler, EventRegistrationToken* token) = 0;
  virtual HRESULT STDMETHODCALLTYPE remove_FrameCreated(EventRegistrationToken token) = 0;
  virtual HRESULT STDMETHODCALLTYPE add_DownloadStarting(
      ICoreWebView2DownloadStartingEventHandler* eventHandler, EventRegistrationToken* token) = 0;
  virtual HRESULT STDMETHODCALLTYPE remove_DownloadStarting(EventRegistrationToken token) = 0;
};
__CRT_UUID_DECL(ICoreWebView2_4, 0x20d02d59, 0x6df2, 0x42dc, 0xbd, 0x06, 0xf9, 0x8a, 0x69, 0x4b,
                0x13, 0x02)

struct DECLSPEC_UUID("bedb11b8-d63c-11eb-b8bc-0242ac130003") ICoreWebView2_5
    : public ICoreWebView2_4 {
 public:
  virtual HRESULT STDMETHODCALLTYPE
  add_ClientCertificateRequested(ICoreWebView2ClientCertificateRequestedEventHandler* eventHandler,
                                 EventRegistrationToken* token) = 0;
  virtual HRESULT STDMETHODCALLTYPE
  remove_ClientCertificateRequested(EventRegistrationToken token) = 0;
};
__CRT_UUID_DECL(ICoreWebView2_5, 0xbedb11b8, 0xd63c, 0x11eb, 0xb8, 0xbc, 0x02, 0x42, 0xac, 0x13,
                0x00, 0x03)

struct DECLSPEC_UUID("499aadac-d92c-4589-8a75-111bfc167795") ICoreWebView2_6
    : public ICoreWebView2_5 {
 public:
  virtual HRESULT STDMETHODCALLTYPE OpenTaskManagerWindow() = 0;
};
__CRT_UUID_DECL(ICoreWebView2_6, 0x499aadac, 0xd92c, 0x4589, 0x8a, 0x75, 0x11, 0x1b, 0xfc, 0x16,
                0x77, 0x95)

struct DECLSPEC_UUID("79c24d83-09a3-45ae-9418-487f32a58740") ICoreWebView2_7
    : public ICoreWebView2_6 {
 public:
  virtual HRESULT STDMETHODCALLTYPE
  PrintToPdf(LPCWSTR ResultFilePath, ICoreWebView2PrintSettings* printSettings,
             ICoreWebView2PrintToPdfCompletedHandler* handler) = 0;
};
__CRT_UUID_DECL(ICoreWebView2_7, 0x79c24d83, 0x09a3, 0x45ae, 0x94, 0x18, 0x48, 0x7f, 0x32, 0xa5,
                0x87, 0x40)

struct DECLSPEC_UUID("e9632730-6e1e-43ab-b7b8-7b2c9e62e094") ICoreWebView2_8
    : public ICoreWebView2_7 {
 public:
  virtual HRESULT STDMETHODCALLTYPE add_IsMutedChanged(
      ICoreWebView2IsMutedChangedEventHandler* eventHandler, EventRegistrationToken* token) = 0;
  virtual HRESULT STDMETHODCALLTYPE remove_IsMutedChanged(EventRegistrationToken token) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_IsMuted(BOOL* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_IsMuted(BOOL value) = 0;
  virtual HRESULT STDMETHODCALLTYPE add_IsDocumentPlayingAudioChanged(
      ICoreWebView2IsDocumentPlayingAudioChangedEventHandler* eventHandler,
      EventRegistrationToken* token) = 0;
  virtual HRESULT STDMETHODCALLTYPE
  remove_IsDocumentPlayingAudioChanged(EventRegistrationToken token) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_IsDocumentPlayingAudio(BOOL* value) = 0;
};
__CRT_UUID_DECL(ICoreWebView2_8, 0xe9632730, 0x6e1e, 0x43ab, 0xb7, 0xb8, 0x7b, 0x2c, 0x9e, 0x62,
                0xe0, 0x94)

struct DECLSPEC_UUID("4d7b2eab-9fdc-468d-b998-a9260b5ed651") ICoreWebView2_9
    : public ICoreWebView2_8 {
 public:
  virtual HRESULT STDMETHODCALLTYPE add_IsDefaultDownloadDialogOpenChanged(
      ICoreWebView2IsDefaultDownloadDialogOpenChangedEventHandler* handler,
      EventRegistrationToken* token) = 0;
  virtual HRESULT STDMETHODCALLTYPE
  remove_IsDefaultDownloadDialogOpenChanged(EventRegistrationToken token) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_IsDefaultDownloadDialogOpen(BOOL* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE OpenDefaultDownloadDialog() = 0;
  virtual HRESULT STDMETHODCALLTYPE CloseDefaultDownloadDialog() = 0;
  virtual HRESULT STDMETHODCALLTYPE get_DefaultDownloadDialogCornerAlignment(
      COREWEBVIEW2_DEFAULT_DOWNLOAD_DIALOG_CORNER_ALIGNMENT* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_DefaultDownloadDialogCornerAlignment(
      COREWEBVIEW2_DEFAULT_DOWNLOAD_DIALOG_CORNER_ALIGNMENT value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_DefaultDownloadDialogMargin(POINT* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_DefaultDownloadDialogMargin(POINT value) = 0;
};
__CRT_UUID_DECL(ICoreWebView2_9, 0x4d7b2eab, 0x9fdc, 0x468d, 0xb9, 0x98, 0xa9, 0x26, 0x0b, 0x5e,
                0xd6, 0x51)

struct DECLSPEC_UUID("b1690564-6f5a-4983-8e48-31d1143fecdb") ICoreWebView2_10
    : public ICoreWebView2_9 {
 public:
  virtual HRESULT STDMETHODCALLTYPE add_BasicAuthenticationRequested(
      ICoreWebView2BasicAuthenticationRequestedEventHandler* eventHandler,
      EventRegistrationToken* token) = 0;
  virtual HRESULT STDMETHODCALLTYPE
  remove_BasicAuthenticationRequested(EventRegistrationToken token) = 0;
};
__CRT_UUID_DECL(ICoreWebView2_10, 0xb1690564, 0x6f5a, 0x4983, 0x8e, 0x48, 0x31, 0xd1, 0x14, 0x3f,
                0xec, 0xdb)

struct DECLSPEC_UUID("0be78e56-c193-4051-b943-23b460c08bdb") ICoreWebView2_11
    : public ICoreWebView2_10 {
 public:
  virtual HRESULT STDMETHODCALLTYPE CallDevToolsProtocolMethodForSession(
      LPCWSTR sessionId, LPCWSTR methodName, LPCWSTR parametersAsJson,
      ICoreWebView2CallDevToolsProtocolMethodCompletedHandler* handler) = 0;
  virtual HRESULT STDMETHODCALLTYPE
  add_ContextMenuRequested(ICoreWebView2ContextMenuRequestedEventHandler* eventHandler,
                           EventRegistrationToken* token) = 0;
  virtual HRESULT STDMETHODCALLTYPE remove_ContextMenuRequested(EventRegistrationToken token) = 0;
};
__CRT_UUID_DECL(ICoreWebView2_11, 0x0be78e56, 0xc193, 0x4051, 0xb9, 0x43, 0x23, 0xb4, 0x60, 0xc0,
                0x8b, 0xdb)

struct DECLSPEC_UUID("35d69927-bcfa-4566-9349-6b3e0d154cac") ICoreWebView2_12
    : public ICoreWebView2_11 {
 public:
  virtual HRESULT STDMETHODCALLTYPE
  add_StatusBarTextChanged(ICoreWebView2StatusBarTextChangedEventHandler* eventHandler,
                           EventRegistrationToken* token) = 0;
  virtual HRESULT STDMETHODCALLTYPE remove_StatusBarTextChanged(EventRegistrationToken token) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_StatusBarText(LPWSTR* value) = 0;
};
__CRT_UUID_DECL(ICoreWebView2_12, 0x35d69927, 0xbcfa, 0x4566, 0x93, 0x49, 0x6b, 0x3e, 0x0d, 0x15,
                0x4c, 0xac)

struct DECLSPEC_UUID("f75f09a8-667e-4983-88d6-c8773f315e84") ICoreWebView2_13
    : public ICoreWebView2_12 {
 public:
  virtual HRESULT STDMETHODCALLTYPE get_Profile(ICoreWebView2Profile** value) = 0;
};
__CRT_UUID_DECL(ICoreWebView2_13, 0xf75f09a8, 0x667e, 0x4983, 0x88, 0xd6, 0xc8, 0x77, 0x3f, 0x31,
                0x5e, 0x84)

struct DECLSPEC_UUID("6daa4f10-4a90-4753-8898-77c5df534165") ICoreWebView2_14
    : public ICoreWebView2_13 {
 public:
  virtual HRESULT STDMETHODCALLTYPE add_ServerCertificateErrorDetected(
      ICoreWebView2ServerCertificateErrorDetectedEventHandler* eventHandler,
      EventRegistrationToken* token) = 0;
  virtual HRESULT STDMETHODCALLTYPE
  remove_ServerCertificateErrorDetected(EventRegistrationToken token) = 0;
  virtual HRESULT STDMETHODCALLTYPE ClearServerCertificateErrorActions(
      ICoreWebView2ClearServerCertificateErrorActionsCompletedHandler* handler) = 0;
};
__CRT_UUID_DECL(ICoreWebView2_14, 0x6daa4f10, 0x4a90, 0x4753, 0x88, 0x98, 0x77, 0xc5, 0xdf, 0x53,
                0x41, 0x65)

struct DECLSPEC_UUID("517b2d1d-7dae-4a66-a4f4-10352ffb9518") ICoreWebView2_15
    : public ICoreWebView2_14 {
 public:
  virtual HRESULT STDMETHODCALLTYPE add_FaviconChanged(
      ICoreWebView2FaviconChangedEventHandler* eventHandler, EventRegistrationToken* token) = 0;
  virtual HRESULT STDMETHODCALLTYPE remove_FaviconChanged(EventRegistrationToken token) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_FaviconUri(LPWSTR* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE
  GetFavicon(COREWEBVIEW2_FAVICON_IMAGE_FORMAT format,
             ICoreWebView2GetFaviconCompletedHandler* completedHandler) = 0;
};
__CRT_UUID_DECL(ICoreWebView2_15, 0x517b2d1d, 0x7dae, 0x4a66, 0xa4, 0xf4, 0x10, 0x35, 0x2f, 0xfb,
                0x95, 0x18)

struct DECLSPEC_UUID("0eb34dc9-9f91-41e1-8639-95cd5943906b") ICoreWebView2_16
    : public ICoreWebView2_15 {
 public:
  virtual HRESULT STDMETHODCALLTYPE Print(ICoreWebView2PrintSettings* printSettings,
                                          ICoreWebView2PrintCompletedHandler* handler) = 0;
  virtual HRESULT STDMETHODCALLTYPE ShowPrintUI(COREWEBVIEW2_PRINT_DIALOG_KIND printDialogKind) = 0;
  virtual HRESULT STDMETHODCALLTYPE
  PrintToPdfStream(ICoreWebView2PrintSettings* printSettings,
                   ICoreWebView2PrintToPdfStreamCompletedHandler* handler) = 0;
};
__CRT_UUID_DECL(ICoreWebView2_16, 0x0eb34dc9, 0x9f91, 0x41e1, 0x86, 0x39, 0x95, 0xcd, 0x59, 0x43,
                0x90, 0x6b)

struct DECLSPEC_UUID("702e75d4-fd44-434d-9d70-1a68a6b1192a") ICoreWebView2_17
    : public ICoreWebView2_16 {
 public:
  virtual HRESULT STDMETHODCALLTYPE PostSharedBufferToScript(
      ICoreWebView2SharedBuffer* sharedBuffer, COREWEBVIEW2_SHARED_BUFFER_ACCESS access,
      LPCWSTR additionalDataAsJson) = 0;
};
__CRT_UUID_DECL(ICoreWebView2_17, 0x702e75d4, 0xfd44, 0x434d, 0x9d, 0x70, 0x1a, 0x68, 0xa6, 0xb1,
                0x19, 0x2a)

struct DECLSPEC_UUID("7a626017-28be-49b2-b865-3ba2b3522d90") ICoreWebView2_18
    : public ICoreWebView2_17 {
 public:
  virtual HRESULT STDMETHODCALLTYPE
  add_LaunchingExternalUriScheme(ICoreWebView2LaunchingExternalUriSchemeEventHandler* eventHandler,
                                 EventRegistrationToken* token) = 0;
  virtual HRESULT STDMETHODCALLTYPE
  remove_LaunchingExternalUriScheme(EventRegistrationToken token) = 0;
};
__CRT_UUID_DECL(ICoreWebView2_18, 0x7a626017, 0x28be, 0x49b2, 0xb8, 0x65, 0x3b, 0xa2, 0xb3, 0x52,
                0x2d, 0x90)

struct DECLSPEC_UUID("6921f954-79b0-437f-a997-c85811897c68") ICoreWebView2_19
    : public ICoreWebView2_18 {
 public:
  virtual HRESULT STDMETHODCALLTYPE
  get_MemoryUsageTargetLevel(COREWEBVIEW2_MEMORY_USAGE_TARGET_LEVEL* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE
  put_MemoryUsageTargetLevel(COREWEBVIEW2_MEMORY_USAGE_TARGET_LEVEL value) = 0;
};
__CRT_UUID_DECL(ICoreWebView2_19, 0x6921f954, 0x79b0, 0x437f, 0xa9, 0x97, 0xc8, 0x58, 0x11, 0x89,
                0x7c, 0x68)

struct DECLSPEC_UUID("b4bc1926-7305-11ee-b962-0242ac120002") ICoreWebView2_20
    : public ICoreWebView2_19 {
 public:
  virtual HRESULT STDMETHODCALLTYPE get_FrameId(UINT32* value) = 0;
};
__CRT_UUID_DECL(ICoreWebView2_20, 0xb4bc1926, 0x7305, 0x11ee, 0xb9, 0x62, 0x02, 0x42, 0xac, 0x12,
                0x00, 0x02)

struct DECLSPEC_UUID("c4980dea-587b-43b9-8143-3ef3bf552d95") ICoreWebView2_21
    : public ICoreWebView2_20 {
 public:
  virtual HRESULT STDMETHODCALLTYPE ExecuteScriptWithResult(
      LPCWSTR javaScript, ICoreWebView2ExecuteScriptWithResultCompletedHandler* handler) = 0;
};
__CRT_UUID_DECL(ICoreWebView2_21, 0xc4980dea, 0x587b, 0x43b9, 0x81, 0x43, 0x3e, 0xf3, 0xbf, 0x55,
                0x2d, 0x95)

struct DECLSPEC_UUID("db75dfc7-a857-4632-a398-6969dde26c0a") ICoreWebView2_22
    : public ICoreWebView2_21 {
 public:
  virtual HRESULT STDMETHODCALLTYPE AddWebResourceRequestedFilterWithRequestSourceKinds(
      LPCWSTR uri, COREWEBVIEW2_WEB_RESOURCE_CONTEXT ResourceContext,
      COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS requestSourceKinds) = 0;
  virtual HRESULT STDMETHODCALLTYPE RemoveWebResourceRequestedFilterWithRequestSourceKinds(
      LPCWSTR uri, COREWEBVIEW2_WEB_RESOURCE_CONTEXT ResourceContext,
      COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS requestSourceKinds) = 0;
};
__CRT_UUID_DECL(ICoreWebView2_22, 0xdb75dfc7, 0xa857, 0x4632, 0xa3, 0x98, 0x69, 0x69, 0xdd, 0xe2,
                0x6c, 0x0a)
