#pragma once
// One view's page in the real browser: a page target with its DevTools session. The view
// logs the host's calls and hands them here; this turns them into DevTools commands and
// turns the page's events (paused requests, loads, messages, window requests, frames)
// into the view's events, so the host sees the same events, in the same log format, as
// in the recording mode.
//
// Top-level navigations: every request is paused (Fetch, request stage). The main
// frame's document request raises NavigationStarting when the page started the
// navigation itself (the host's own navigations raise it before Chromium is asked to
// navigate); a cancelled one is failed as aborted, so the page stays where it was. Any
// paused request a filter matches raises WebResourceRequested and is then fulfilled with
// the host's response or continued with the request as the host left it.

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tools/runtime-standin/chromium_browser.h"
#include "tools/runtime-standin/com_object.h"
#include "tools/runtime-standin/headers.h"
#include "tools/runtime-standin/requests.h"
#include "tools/runtime-standin/script.h"

namespace standin {

class WebView;
class Surface;

class ChromiumPage : public std::enable_shared_from_this<ChromiumPage> {
 public:
  // A navigation the host asked for.
  struct HostNavigation {
    std::wstring uri;     // as the host sees it ("about:blank" for a string)
    std::string url;      // what Chromium loads
    std::wstring method;  // empty: Chromium's own
    HeaderList headers;   // added to the document request
    std::optional<std::string> body;
  };

  ChromiumPage(WebView& view, std::shared_ptr<ChromiumBrowser> browser, std::string target,
               std::string session, HWND parent, RECT bounds);
  ~ChromiumPage();
  // Sets the session up: the view's bridge, interception, events. Before any host call.
  void Start();
  // Runs `ready` once the browser has confirmed the set-up (Page.enable, for one, answers
  // late, and a navigation before it would go unseen); at once when it has.
  void WhenReady(std::function<void()> ready);
  // The view closed: the target and the surface go, nothing more is raised.
  void Close();

  // The host's calls, logged and checked by the view.
  void Navigate(HostNavigation navigation);
  void NavigateToString(const std::wstring& html);
  void GoBack();
  void GoForward();
  void Reload();
  void Stop();
  void AddScript(const std::wstring& id, const std::wstring& script,
                 std::function<void(HRESULT)> done);
  void RemoveScript(const std::wstring& id);
  // Delivers a message to the page's chrome.webview listeners; `value` is JSON text.
  void PostToPage(const std::string& value);
  // Page.printToPDF with `options`; `done` gets the code and the PDF file written.
  void PrintToPdf(const Json& options, std::function<void(HRESULT, const std::wstring&)> done);

  std::wstring CurrentUri() const { return current_uri_; }
  bool CanGoBack() const { return history_index_ > 0; }
  bool CanGoForward() const { return history_index_ + 1 < history_size_; }
  unsigned long browser_process_id() const { return browser_->process_id(); }

  // What the script's stimuli make the page do, for real.
  void PageNavigate(const std::wstring& uri);
  void PagePostMessage(const std::string& value);
  void PageFetch(const Stimulus& stimulus);
  void PageOpenWindow(const std::wstring& uri);
  void Evaluate(const std::string& script);
  void CrashBrowser() { browser_->Crash(); }
  // Page.crash: the page's renderer ends, as chrome://crash ends it; Chromium then reports
  // the crash (Inspector.targetCrashed), and so does the view (ProcessFailed).
  void CrashRenderer() { Send("Page.crash"); }
  void CloseBrowser() { browser_->Close(); }

  // The controller's placement of the view.
  void SetBounds(const RECT& bounds);
  void SetVisible(bool visible);
  void SetBackground(COREWEBVIEW2_COLOR color);

 private:
  struct Navigation {
    UINT64 id = 0;
    std::wstring uri;
    bool user_initiated = false;
    bool from_script = false;
    bool started = false;            // NavigationStarting was raised
    bool awaiting_document = false;  // the host's document request has not come yet
    bool committed = false;
    std::string network_id;  // the document request's
    int http_status = 0;
    ComPtr<RequestHeaders> headers;  // the collection NavigationStarting handed out
    std::wstring method;
    std::optional<std::string> body;
  };

  // The view while it is open, held for the length of an event; null once closed.
  ComPtr<WebView> OpenView() const;
  void Send(const std::string& method, Json params = Json::object(), DevTools::Reply reply = {});
  void OnEvent(const std::string& method, const Json& params);

  // Navigation (chromium_navigation.cpp).
  void BeginHostNavigation(Navigation navigation, std::function<void()> go);
  void StartHostNavigation(UINT64 id, const std::function<void()>& go);
  void ReplaceNavigation();
  void Complete(bool success, COREWEBVIEW2_WEB_ERROR_STATUS status);
  void RefreshHistory();
  void NavigateInHistory(int step);
  void OnFrameNavigated(const Json& params);
  void OnLoad();
  void OnDocumentResponse(const Json& params);
  void OnLoadingFailed(const Json& params);

  // Paused requests (chromium_requests.cpp).
  void OnRequestPaused(const Json& params);
  // A paused request put off until Network told its type, or until that wait is over.
  void ResumeAwaitingType(const std::string& network_id);
  // Raises WebResourceRequested when a filter matches, then fulfils or continues.
  void Intercept(const std::string& request_id, const Json& request,
                 COREWEBVIEW2_WEB_RESOURCE_CONTEXT context, const Navigation* host);

  // The page's side (chromium_page.cpp).
  void OnBindingCalled(const Json& params);
  void OnWindowOpen(const Json& params);
  void OnScreencastFrame(const Json& params);
  void CaptureSettledFrame();
  void ShowEncodedFrame(const std::string& base64);
  void StartScreencast();
  void OnTargetCrashed();

  WebView& view_;
  const std::shared_ptr<ChromiumBrowser> browser_;
  const std::string target_;
  const std::string session_;
  bool closed_ = false;
  int setup_pending_ = 0;
  std::vector<std::function<void()>> when_ready_;
  std::wstring page_uri_ = L"about:blank";  // the committed document's, for message sources
  RECT bounds_;
  bool visible_ = true;
  std::unique_ptr<Surface> surface_;
  // The renderer crashed: the screencast went with it and starts again with the next
  // document.
  bool crashed_ = false;

  std::optional<Navigation> navigation_;
  UINT64 next_navigation_id_ = 1;
  bool script_navigation_ = false;  // the page's next navigation is a navigate stimulus's
  std::wstring current_uri_ = L"about:blank";
  int history_index_ = 0;
  int history_size_ = 0;
  std::map<std::wstring, std::string> scripts_;  // host id → Chromium's identifier
  // Network's types of requests not yet paused: Fetch calls a fetch() an XHR, Network
  // does not.
  std::map<std::string, std::string> network_types_;
  // Paused XHR-typed requests waiting for that news, by network id.
  std::map<std::string, Json> awaiting_type_;
  static constexpr UINT kTypeWaitMs = 200;
  // Quiet time after the last screencast frame before the page is captured once more.
  static constexpr UINT kSettleMs = 300;
  UINT_PTR settle_timer_ = 0;
  ULONGLONG last_settle_capture_ = 0;
  int prints_ = 0;
};

}  // namespace standin
