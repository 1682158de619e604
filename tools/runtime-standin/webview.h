#pragma once
// The view: navigation with its events, the resource filters, document scripts, web
// messages both ways, printing, and the page side that the script's stimuli drive.
//
// Every call of the host that changes something is logged; every event is raised from
// a task posted to the thread's message loop and logged after the host's handlers ran,
// with what they answered.

#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tools/runtime-standin/chromium_page.h"
#include "tools/runtime-standin/com_object.h"
#include "tools/runtime-standin/dispatch.h"
#include "tools/runtime-standin/event_source.h"
#include "tools/runtime-standin/filters.h"
#include "tools/runtime-standin/requests.h"
#include "tools/runtime-standin/script.h"
#include "tools/runtime-standin/settings.h"

namespace standin {

class Environment;

// Where a view's page lives when a real browser shows it.
struct EngineTarget {
  std::shared_ptr<ChromiumBrowser> browser;
  std::string target;
  std::string session;
  HWND parent = nullptr;
  RECT bounds = {};
};

class WebView final
    : public ComObject<WebView, ICoreWebView2_22, ICoreWebView2, ICoreWebView2_2, ICoreWebView2_3,
                       ICoreWebView2_4, ICoreWebView2_5, ICoreWebView2_6, ICoreWebView2_7,
                       ICoreWebView2_8, ICoreWebView2_9, ICoreWebView2_10, ICoreWebView2_11,
                       ICoreWebView2_12, ICoreWebView2_13, ICoreWebView2_14, ICoreWebView2_15,
                       ICoreWebView2_16, ICoreWebView2_17, ICoreWebView2_18, ICoreWebView2_19,
                       ICoreWebView2_20, ICoreWebView2_21> {
 public:
  // With `engine`, a real browser's page shows and runs what the host asks for.
  WebView(std::shared_ptr<Runtime> runtime, std::shared_ptr<Dispatcher> dispatcher,
          ComPtr<Environment> environment, const EngineTarget* engine = nullptr);
  ~WebView() override;

  // The controller closed or went away: the view raises nothing more, lets go of the
  // host's handlers and fails every later call.
  void Close();

  Dispatcher& dispatcher() const { return *dispatcher_; }
  Environment& environment() const { return *environment_.Get(); }
  const std::vector<Stimulus>& script() const { return runtime().script; }
  ScriptPlayer& player() { return player_; }
  std::wstring CurrentUri() const;

  // The page's side, driven by the script's stimuli.
  void PageNavigate(const std::wstring& uri);
  void PagePostMessage(const std::wstring& json, const std::optional<std::wstring>& text);
  void PageRequestResource(const Stimulus& stimulus);
  void PageOpenWindow(const std::wstring& uri);
  void PageRequestPermission(const std::wstring& uri, COREWEBVIEW2_PERMISSION_KIND kind);
  void QueuePrintOutcome(HRESULT code, COREWEBVIEW2_PRINT_STATUS status);
  // The page runs `script` (an evaluate stimulus); without an engine only an error is logged.
  void PageEvaluate(const std::string& script);
  // One of the page's processes fails (a processFailed stimulus).
  void PageProcessFails(COREWEBVIEW2_PROCESS_FAILED_KIND kind);

  // The real browser's page, null in the recording mode.
  ChromiumPage* engine() const { return engine_.get(); }
  std::shared_ptr<Runtime> shared_state() const { return shared_runtime(); }
  bool closed() const { return closed_; }

  // Events as the engine raises them, each logged after the host's handlers ran as in the
  // recording mode; each returns what the handlers answered.
  bool RaiseStarting(const std::wstring& uri, bool user_initiated,
                     const ComPtr<RequestHeaders>& headers, UINT64 id);  // true: cancelled
  void RaiseCompleted(const std::wstring& uri, bool success, COREWEBVIEW2_WEB_ERROR_STATUS status,
                      UINT64 id, bool from_script);
  // Raises WebResourceRequested when a filter matches; the response the host set, if any.
  ComPtr<ICoreWebView2WebResourceResponse> RaiseResourceRequested(
      const ComPtr<WebResourceRequest>& request, COREWEBVIEW2_WEB_RESOURCE_CONTEXT context,
      COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS source);
  void RaiseMessage(const std::wstring& source, const std::wstring& json,
                    const std::optional<std::wstring>& text);
  // One of the browser's processes failed: ProcessFailed with `kind`. The browser
  // process's own end (kind 0) comes from the environment, which closes the view after.
  void RaiseProcessFailed(COREWEBVIEW2_PROCESS_FAILED_KIND kind);
  // A link of another scheme was handed to the system (chromium_page.cpp); logged only.
  void RaiseExternalUri(const std::wstring& uri, bool launched);
  // The view the host gave for the new window, if any; `handled` what it said.
  ComPtr<ICoreWebView2> RaiseNewWindow(const std::wstring& uri, bool user_initiated, bool* handled);

  // ICoreWebView2
  HRESULT STDMETHODCALLTYPE get_Settings(ICoreWebView2Settings** settings) override;
  HRESULT STDMETHODCALLTYPE get_Source(LPWSTR* uri) override;
  HRESULT STDMETHODCALLTYPE Navigate(LPCWSTR uri) override;
  HRESULT STDMETHODCALLTYPE NavigateToString(LPCWSTR html) override;
  HRESULT STDMETHODCALLTYPE add_NavigationStarting(
      ICoreWebView2NavigationStartingEventHandler* handler, EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_NavigationStarting(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE add_ContentLoading(ICoreWebView2ContentLoadingEventHandler* handler,
                                               EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_ContentLoading(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE add_SourceChanged(ICoreWebView2SourceChangedEventHandler* handler,
                                              EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_SourceChanged(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE add_HistoryChanged(ICoreWebView2HistoryChangedEventHandler* handler,
                                               EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_HistoryChanged(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE
  add_NavigationCompleted(ICoreWebView2NavigationCompletedEventHandler* handler,
                          EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_NavigationCompleted(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE add_FrameNavigationStarting(
      ICoreWebView2NavigationStartingEventHandler* handler, EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_FrameNavigationStarting(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE
  add_FrameNavigationCompleted(ICoreWebView2NavigationCompletedEventHandler* handler,
                               EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_FrameNavigationCompleted(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE
  add_ScriptDialogOpening(ICoreWebView2ScriptDialogOpeningEventHandler* handler,
                          EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_ScriptDialogOpening(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE
  add_PermissionRequested(ICoreWebView2PermissionRequestedEventHandler* handler,
                          EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_PermissionRequested(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE add_ProcessFailed(ICoreWebView2ProcessFailedEventHandler* handler,
                                              EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_ProcessFailed(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE AddScriptToExecuteOnDocumentCreated(
      LPCWSTR script,
      ICoreWebView2AddScriptToExecuteOnDocumentCreatedCompletedHandler* handler) override;
  HRESULT STDMETHODCALLTYPE RemoveScriptToExecuteOnDocumentCreated(LPCWSTR id) override;
  HRESULT STDMETHODCALLTYPE
  ExecuteScript(LPCWSTR script, ICoreWebView2ExecuteScriptCompletedHandler* handler) override;
  HRESULT STDMETHODCALLTYPE
  CapturePreview(COREWEBVIEW2_CAPTURE_PREVIEW_IMAGE_FORMAT format, IStream* stream,
                 ICoreWebView2CapturePreviewCompletedHandler* handler) override;
  HRESULT STDMETHODCALLTYPE Reload() override;
  HRESULT STDMETHODCALLTYPE PostWebMessageAsJson(LPCWSTR json) override;
  HRESULT STDMETHODCALLTYPE PostWebMessageAsString(LPCWSTR text) override;
  HRESULT STDMETHODCALLTYPE add_WebMessageReceived(
      ICoreWebView2WebMessageReceivedEventHandler* handler, EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_WebMessageReceived(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE CallDevToolsProtocolMethod(
      LPCWSTR method, LPCWSTR parameters,
      ICoreWebView2CallDevToolsProtocolMethodCompletedHandler* handler) override;
  HRESULT STDMETHODCALLTYPE get_BrowserProcessId(UINT32* id) override;
  HRESULT STDMETHODCALLTYPE get_CanGoBack(BOOL* can_go_back) override;
  HRESULT STDMETHODCALLTYPE get_CanGoForward(BOOL* can_go_forward) override;
  HRESULT STDMETHODCALLTYPE GoBack() override;
  HRESULT STDMETHODCALLTYPE GoForward() override;
  HRESULT STDMETHODCALLTYPE GetDevToolsProtocolEventReceiver(
      LPCWSTR event, ICoreWebView2DevToolsProtocolEventReceiver** receiver) override;
  HRESULT STDMETHODCALLTYPE Stop() override;
  HRESULT STDMETHODCALLTYPE add_NewWindowRequested(
      ICoreWebView2NewWindowRequestedEventHandler* handler, EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_NewWindowRequested(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE
  add_DocumentTitleChanged(ICoreWebView2DocumentTitleChangedEventHandler* handler,
                           EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_DocumentTitleChanged(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE get_DocumentTitle(LPWSTR* title) override;
  HRESULT STDMETHODCALLTYPE AddHostObjectToScript(LPCWSTR name, VARIANT* object) override;
  HRESULT STDMETHODCALLTYPE RemoveHostObjectFromScript(LPCWSTR name) override;
  HRESULT STDMETHODCALLTYPE OpenDevToolsWindow() override;
  HRESULT STDMETHODCALLTYPE add_ContainsFullScreenElementChanged(
      ICoreWebView2ContainsFullScreenElementChangedEventHandler* handler,
      EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE
  remove_ContainsFullScreenElementChanged(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE get_ContainsFullScreenElement(BOOL* contains) override;
  HRESULT STDMETHODCALLTYPE
  add_WebResourceRequested(ICoreWebView2WebResourceRequestedEventHandler* handler,
                           EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_WebResourceRequested(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE AddWebResourceRequestedFilter(
      const LPCWSTR uri, const COREWEBVIEW2_WEB_RESOURCE_CONTEXT context) override;
  HRESULT STDMETHODCALLTYPE RemoveWebResourceRequestedFilter(
      const LPCWSTR uri, const COREWEBVIEW2_WEB_RESOURCE_CONTEXT context) override;
  HRESULT STDMETHODCALLTYPE
  add_WindowCloseRequested(ICoreWebView2WindowCloseRequestedEventHandler* handler,
                           EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_WindowCloseRequested(EventRegistrationToken token) override;

  // ICoreWebView2_2
  HRESULT STDMETHODCALLTYPE
  add_WebResourceResponseReceived(ICoreWebView2WebResourceResponseReceivedEventHandler* handler,
                                  EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE
  remove_WebResourceResponseReceived(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE
  NavigateWithWebResourceRequest(ICoreWebView2WebResourceRequest* request) override;
  HRESULT STDMETHODCALLTYPE add_DOMContentLoaded(ICoreWebView2DOMContentLoadedEventHandler* handler,
                                                 EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_DOMContentLoaded(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE get_CookieManager(ICoreWebView2CookieManager** manager) override;
  HRESULT STDMETHODCALLTYPE get_Environment(ICoreWebView2Environment** environment) override;

  // ICoreWebView2_3
  HRESULT STDMETHODCALLTYPE TrySuspend(ICoreWebView2TrySuspendCompletedHandler* handler) override;
  HRESULT STDMETHODCALLTYPE Resume() override;
  HRESULT STDMETHODCALLTYPE get_IsSuspended(BOOL* suspended) override;
  HRESULT STDMETHODCALLTYPE SetVirtualHostNameToFolderMapping(
      LPCWSTR host, LPCWSTR folder, COREWEBVIEW2_HOST_RESOURCE_ACCESS_KIND access) override;
  HRESULT STDMETHODCALLTYPE ClearVirtualHostNameToFolderMapping(LPCWSTR host) override;

  // ICoreWebView2_4
  HRESULT STDMETHODCALLTYPE add_FrameCreated(ICoreWebView2FrameCreatedEventHandler* handler,
                                             EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_FrameCreated(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE add_DownloadStarting(ICoreWebView2DownloadStartingEventHandler* handler,
                                                 EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_DownloadStarting(EventRegistrationToken token) override;

  // ICoreWebView2_5
  HRESULT STDMETHODCALLTYPE
  add_ClientCertificateRequested(ICoreWebView2ClientCertificateRequestedEventHandler* handler,
                                 EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE
  remove_ClientCertificateRequested(EventRegistrationToken token) override;

  // ICoreWebView2_6
  HRESULT STDMETHODCALLTYPE OpenTaskManagerWindow() override;

  // ICoreWebView2_7
  HRESULT STDMETHODCALLTYPE PrintToPdf(LPCWSTR path, ICoreWebView2PrintSettings* settings,
                                       ICoreWebView2PrintToPdfCompletedHandler* handler) override;

  // ICoreWebView2_8
  HRESULT STDMETHODCALLTYPE add_IsMutedChanged(ICoreWebView2IsMutedChangedEventHandler* handler,
                                               EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_IsMutedChanged(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE get_IsMuted(BOOL* muted) override;
  HRESULT STDMETHODCALLTYPE put_IsMuted(BOOL muted) override;
  HRESULT STDMETHODCALLTYPE
  add_IsDocumentPlayingAudioChanged(ICoreWebView2IsDocumentPlayingAudioChangedEventHandler* handler,
                                    EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE
  remove_IsDocumentPlayingAudioChanged(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE get_IsDocumentPlayingAudio(BOOL* playing) override;

  // ICoreWebView2_9
  HRESULT STDMETHODCALLTYPE add_IsDefaultDownloadDialogOpenChanged(
      ICoreWebView2IsDefaultDownloadDialogOpenChangedEventHandler* handler,
      EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE
  remove_IsDefaultDownloadDialogOpenChanged(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE get_IsDefaultDownloadDialogOpen(BOOL* open) override;
  HRESULT STDMETHODCALLTYPE OpenDefaultDownloadDialog() override;
  HRESULT STDMETHODCALLTYPE CloseDefaultDownloadDialog() override;
  HRESULT STDMETHODCALLTYPE get_DefaultDownloadDialogCornerAlignment(
      COREWEBVIEW2_DEFAULT_DOWNLOAD_DIALOG_CORNER_ALIGNMENT* alignment) override;
  HRESULT STDMETHODCALLTYPE put_DefaultDownloadDialogCornerAlignment(
      COREWEBVIEW2_DEFAULT_DOWNLOAD_DIALOG_CORNER_ALIGNMENT alignment) override;
  HRESULT STDMETHODCALLTYPE get_DefaultDownloadDialogMargin(POINT* margin) override;
  HRESULT STDMETHODCALLTYPE put_DefaultDownloadDialogMargin(POINT margin) override;

  // ICoreWebView2_10
  HRESULT STDMETHODCALLTYPE
  add_BasicAuthenticationRequested(ICoreWebView2BasicAuthenticationRequestedEventHandler* handler,
                                   EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE
  remove_BasicAuthenticationRequested(EventRegistrationToken token) override;

  // ICoreWebView2_11
  HRESULT STDMETHODCALLTYPE CallDevToolsProtocolMethodForSession(
      LPCWSTR session, LPCWSTR method, LPCWSTR parameters,
      ICoreWebView2CallDevToolsProtocolMethodCompletedHandler* handler) override;
  HRESULT STDMETHODCALLTYPE
  add_ContextMenuRequested(ICoreWebView2ContextMenuRequestedEventHandler* handler,
                           EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_ContextMenuRequested(EventRegistrationToken token) override;

  // ICoreWebView2_12
  HRESULT STDMETHODCALLTYPE
  add_StatusBarTextChanged(ICoreWebView2StatusBarTextChangedEventHandler* handler,
                           EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_StatusBarTextChanged(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE get_StatusBarText(LPWSTR* text) override;

  // ICoreWebView2_13
  HRESULT STDMETHODCALLTYPE get_Profile(ICoreWebView2Profile** profile) override;

  // ICoreWebView2_14
  HRESULT STDMETHODCALLTYPE add_ServerCertificateErrorDetected(
      ICoreWebView2ServerCertificateErrorDetectedEventHandler* handler,
      EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE
  remove_ServerCertificateErrorDetected(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE ClearServerCertificateErrorActions(
      ICoreWebView2ClearServerCertificateErrorActionsCompletedHandler* handler) override;

  // ICoreWebView2_15
  HRESULT STDMETHODCALLTYPE add_FaviconChanged(ICoreWebView2FaviconChangedEventHandler* handler,
                                               EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_FaviconChanged(EventRegistrationToken token) override;
  HRESULT STDMETHODCALLTYPE get_FaviconUri(LPWSTR* uri) override;
  HRESULT STDMETHODCALLTYPE GetFavicon(COREWEBVIEW2_FAVICON_IMAGE_FORMAT format,
                                       ICoreWebView2GetFaviconCompletedHandler* handler) override;

  // ICoreWebView2_16
  HRESULT STDMETHODCALLTYPE Print(ICoreWebView2PrintSettings* settings,
                                  ICoreWebView2PrintCompletedHandler* handler) override;
  HRESULT STDMETHODCALLTYPE ShowPrintUI(COREWEBVIEW2_PRINT_DIALOG_KIND kind) override;
  HRESULT STDMETHODCALLTYPE
  PrintToPdfStream(ICoreWebView2PrintSettings* settings,
                   ICoreWebView2PrintToPdfStreamCompletedHandler* handler) override;

  // ICoreWebView2_17
  HRESULT STDMETHODCALLTYPE PostSharedBufferToScript(ICoreWebView2SharedBuffer* buffer,
                                                     COREWEBVIEW2_SHARED_BUFFER_ACCESS access,
                                                     LPCWSTR additional_data) override;

  // ICoreWebView2_18
  HRESULT STDMETHODCALLTYPE
  add_LaunchingExternalUriScheme(ICoreWebView2LaunchingExternalUriSchemeEventHandler* handler,
                                 EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE
  remove_LaunchingExternalUriScheme(EventRegistrationToken token) override;

  // ICoreWebView2_19
  HRESULT STDMETHODCALLTYPE
  get_MemoryUsageTargetLevel(COREWEBVIEW2_MEMORY_USAGE_TARGET_LEVEL* level) override;
  HRESULT STDMETHODCALLTYPE
  put_MemoryUsageTargetLevel(COREWEBVIEW2_MEMORY_USAGE_TARGET_LEVEL level) override;

  // ICoreWebView2_20
  HRESULT STDMETHODCALLTYPE get_FrameId(UINT32* id) override;

  // ICoreWebView2_21
  HRESULT STDMETHODCALLTYPE ExecuteScriptWithResult(
      LPCWSTR script, ICoreWebView2ExecuteScriptWithResultCompletedHandler* handler) override;

  // ICoreWebView2_22
  HRESULT STDMETHODCALLTYPE AddWebResourceRequestedFilterWithRequestSourceKinds(
      LPCWSTR uri, COREWEBVIEW2_WEB_RESOURCE_CONTEXT context,
      COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS sources) override;
  HRESULT STDMETHODCALLTYPE RemoveWebResourceRequestedFilterWithRequestSourceKinds(
      LPCWSTR uri, COREWEBVIEW2_WEB_RESOURCE_CONTEXT context,
      COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS sources) override;

 private:
  struct HistoryEntry {
    std::wstring uri;
    bool from_string = false;  // NavigateToString: no request to make again
  };

  // One top-level navigation on its way: NavigationStarting, the document's
  // WebResourceRequested (unless the document is a string), NavigationCompleted.
  struct Navigation {
    UINT64 id = 0;
    HistoryEntry target;
    std::wstring method = L"GET";
    ComPtr<IStream> content;
    ComPtr<RequestHeaders> headers;
    bool user_initiated = false;
    bool from_script = false;
    std::optional<std::size_t> history_index;  // back, forward and reload move in history
    bool started = false;                      // NavigationStarting was raised
    bool success = true;
    COREWEBVIEW2_WEB_ERROR_STATUS status = COREWEBVIEW2_WEB_ERROR_STATUS_UNKNOWN;
  };

  struct PrintOutcome {
    HRESULT code = S_OK;
    COREWEBVIEW2_PRINT_STATUS status = COREWEBVIEW2_PRINT_STATUS_SUCCEEDED;
  };

  // S_OK while the host may call the view: on its thread and before Close.
  HRESULT Usable() const;

  // Navigation (navigation.cpp).
  void BeginNavigation(Navigation navigation);
  void PostNavigationStep(UINT64 id, void (WebView::*step)());
  void RaiseNavigationStarting();
  void RequestDocument();
  void CompleteNavigation();
  void RaiseNavigationCompleted(Navigation navigation);
  const HistoryEntry* Current() const;

  HRESULT AddFilter(LPCWSTR uri, COREWEBVIEW2_WEB_RESOURCE_CONTEXT context,
                    COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS sources, const char* call,
                    bool with_sources);
  HRESULT RemoveFilter(LPCWSTR uri, COREWEBVIEW2_WEB_RESOURCE_CONTEXT context,
                       COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS sources, const char* call,
                       bool with_sources);

  // Registration of handlers for events the stand-in never raises.
  template <class Handler>
  HRESULT AddUnraised(std::string_view event, Handler* handler, EventRegistrationToken* token) {
    if (HRESULT usable = Usable(); FAILED(usable)) return usable;
    return unraised_.Add(runtime().log, event, handler, token);
  }
  HRESULT RemoveUnraised(std::string_view event, EventRegistrationToken token) {
    if (HRESULT usable = Usable(); FAILED(usable)) return usable;
    return unraised_.Remove(runtime().log, event, token);
  }
  template <class Handler>
  HRESULT Add(std::string_view event, EventSource<Handler>& source, Handler* handler,
              EventRegistrationToken* token) {
    if (HRESULT usable = Usable(); FAILED(usable)) return usable;
    return AddHandler(runtime().log, event, source, handler, token);
  }
  template <class Handler>
  HRESULT Remove(std::string_view event, EventSource<Handler>& source,
                 EventRegistrationToken token) {
    if (HRESULT usable = Usable(); FAILED(usable)) return usable;
    return RemoveHandler(runtime().log, event, source, token);
  }

  const std::shared_ptr<Dispatcher> dispatcher_;
  ComPtr<Environment> environment_;
  ComPtr<Settings> settings_;
  bool closed_ = false;

  EventSource<ICoreWebView2NavigationStartingEventHandler> navigation_starting_;
  EventSource<ICoreWebView2NavigationCompletedEventHandler> navigation_completed_;
  EventSource<ICoreWebView2WebMessageReceivedEventHandler> web_message_received_;
  EventSource<ICoreWebView2PermissionRequestedEventHandler> permission_requested_;
  EventSource<ICoreWebView2NewWindowRequestedEventHandler> new_window_requested_;
  EventSource<ICoreWebView2WebResourceRequestedEventHandler> web_resource_requested_;
  EventSource<ICoreWebView2ProcessFailedEventHandler> process_failed_;
  UnraisedEvents unraised_;
  ResourceFilters filters_;

  std::vector<HistoryEntry> history_;
  std::size_t current_ = 0;
  std::optional<Navigation> navigation_;
  UINT64 next_navigation_id_ = 1;

  std::map<std::wstring, std::wstring> document_scripts_;  // by id
  UINT64 next_script_id_ = 1;
  std::deque<PrintOutcome> print_outcomes_;
  bool muted_ = false;
  COREWEBVIEW2_MEMORY_USAGE_TARGET_LEVEL memory_level_{};
  COREWEBVIEW2_DEFAULT_DOWNLOAD_DIALOG_CORNER_ALIGNMENT download_dialog_alignment_{};
  POINT download_dialog_margin_ = {};

  ScriptPlayer player_;
  std::shared_ptr<ChromiumPage> engine_;
};

}  // namespace standin
