#pragma once
// One embedded browser inside a parent window: finds the runtime, starts the browser
// with a private user-data folder (waiting in a nested message loop), applies its fixed
// appearance and event handlers, and offers the few operations the player performs on
// it. Every event goes to a callback its owner installs before Initialize.
//
// Owners let go of a host only through WebViewHost::Release: Initialize's wait and the
// printer dialog run the thread's messages while they use the host, and any message
// (the window's destruction, WM_RELEASE_BROWSER) may ask for its release meanwhile.

#include <windows.h>
#include <wrl/client.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "webview/abi/WebView2.h"
#include "webview/early_environment.h"

namespace WebView {

// What a view showed last, to show it again after its browser failed: the host's own
// document from text, or an address. Empty before the host asked for anything.
struct ShownDocument {
  std::optional<std::wstring> html;  // the text given to NavigateToString
  std::wstring address;              // otherwise: the address
};

// One initialisation attempt, shared by Initialize and the two completion handlers, so
// it outlives whichever of them lets go last.
struct AttemptState {
  bool completed = false;
  HRESULT result = E_PENDING;
  std::wstring stage = L"Pending";
};

class WebViewHost {
 public:
  // Asked before every top-level navigation; setting `cancel` stops it.
  std::function<void(const std::wstring& address, bool& cancel)> OnNavigationStarting;
  // Every resource request the filter sees.
  std::function<void(const std::wstring& address, ICoreWebView2WebResourceRequestedEventArgs*)>
      OnWebResourceRequested;
  // Every message a page posts, as text.
  std::function<void(const std::wstring& message)> OnWebMessage;
  // Exactly once at the end of every Initialize, unless the host was released meanwhile:
  // then nobody is left to tell.
  std::function<void(bool success, HRESULT result)> OnInitialized;
  std::function<void(bool success, COREWEBVIEW2_WEB_ERROR_STATUS status)> OnNavigationCompleted;
  // Whether a page of this origin may use the microphone, camera and notifications
  // without the runtime asking the user; when empty, no origin may.
  std::function<bool(const std::wstring& origin)> TrustsOrigin;
  // One of the browser's processes failed. Called from the runtime's event: the owner
  // must not release the host from it (post a message and release it from there).
  std::function<void(COREWEBVIEW2_PROCESS_FAILED_KIND kind)> OnProcessFailed;

  WebViewHost();
  ~WebViewHost();
  WebViewHost(const WebViewHost&) = delete;
  WebViewHost& operator=(const WebViewHost&) = delete;

  // Lets go of `host`: shuts it down (waiting up to 5 s for its browser to end) and
  // destroys it. While work that runs the thread's messages is using the host
  // (Initialize's wait, the printer dialog), the host is only marked releasing(): that
  // work stops and returns, and the release runs from the thread's message loop once the
  // last of it has. Any window procedure may call this; a host is never destroyed under
  // its own feet. A held host stays alive at least until the thread next runs its
  // messages, so the code that Initialize returns to may still ask it. The host's own
  // event callbacks are not such work: to let go of a host from one of them (say, its
  // browser ended), post a message and release it from the window procedure.
  static void Release(std::unique_ptr<WebViewHost> host);
  // Releases every held host whose work has returned. The program's end calls it after
  // its message loop, where no such work is left.
  static void FinishHeldReleases();
  // Release was asked for: whatever is using the host must stop.
  bool releasing() const { return releasing_; }

  // Creates the browser in `parent`, trying up to `attempts` user-data folders. Returns
  // whether the view exists; lastError() and statusMessage() describe the outcome. A
  // release asked for meanwhile ends it at once (stage "ReleasedDuringInitialization").
  // The first attempt takes over `early` when it was started for the same folder and
  // runtime and did not fail; otherwise it is made as always.
  bool Initialize(HWND parent, const std::wstring& userDataFolder, int attempts,
                  std::unique_ptr<EarlyEnvironment> early = nullptr);
  // Closes the browser and waits up to `timeoutMs` for its process to end. Once only.
  void Shutdown(DWORD timeoutMs);

  // Each returns whether the view took the navigation (it has none once shut down, or
  // after its browser process ended).
  bool Navigate(const std::wstring& address);
  bool NavigateToString(const std::wstring& html);
  // Shows `document` (as this host or another one showed it) again; false when it is
  // empty or the view did not take it. A copy: it may be this host's shownDocument().
  bool Show(ShownDocument document);
  void AddDocumentCreatedScript(const std::wstring& script);
  void ApplyBrowserSettings();
  void GoBack();
  void Reload();
  void Resize(int width, int height);
  void SetVisible(bool visible);
  void RefreshView();
  void NotifyParentMoved();
  // Lets the user pick a printer and hands the shown page to it, without the browser's
  // print preview. The page learns the outcome from one "printResult" message, posted
  // later for a job that was started. A request while the printer dialog is open is
  // ignored; a release while it is open closes it, and nothing is printed or told.
  void ShowSystemPrintDialog();

  // The host's last NavigateToString or Navigate, or the page a navigation last reached.
  const ShownDocument& shownDocument() const { return shown_; }
  HRESULT lastError() const { return lastError_; }
  const std::wstring& statusMessage() const { return statusMessage_; }
  ICoreWebView2* webView() const { return webView_.Get(); }
  ICoreWebView2Environment* environment() const { return environment_.Get(); }
  HWND parentWindow() const { return parentWindow_; }

 private:
  // Marks, for its lifetime, work on the stack that runs the thread's messages while it
  // uses this host. A release asked for meanwhile runs `stop` (which makes the work
  // return soon, e.g. by closing its dialog) and waits for the last frame to end.
  class Frame {
   public:
    explicit Frame(WebViewHost& host);
    ~Frame();
    Frame(const Frame&) = delete;
    Frame& operator=(const Frame&) = delete;
    void StopOnRelease(std::function<void()> stop);

   private:
    friend class WebViewHost;
    WebViewHost& host_;
    std::function<void()> stop_;
  };

  // Creates the environment of an attempt and waits for the attempt to complete.
  void StartEnvironment(const Runtime& runtime, const std::wstring& folder,
                        const std::shared_ptr<AttemptState>& attempt);
  // Attempt 0 with the early environment (waited for while still coming): false when
  // there is none to take over, and the attempt is to be made as always.
  bool AdoptEarlyEnvironment(std::unique_ptr<EarlyEnvironment> early, const Runtime& runtime,
                             const std::wstring& folder,
                             const std::shared_ptr<AttemptState>& attempt);
  // `arrivedAt`: when the environment arrived (GetTickCount64); the view is asked for no
  // sooner than 100 ms after that.
  void OnEnvironmentCreated(HRESULT result, ICoreWebView2Environment* environment,
                            const std::shared_ptr<AttemptState>& attempt, ULONGLONG arrivedAt);
  void OnControllerCreated(HRESULT result, ICoreWebView2Controller* controller,
                           const std::shared_ptr<AttemptState>& attempt);
  void EndAttempt(const std::shared_ptr<AttemptState>& attempt, HRESULT result,
                  const wchar_t* stage);
  void RegisterBrowserProcessExitHandler();
  // host_events.cpp
  void SetupEventHandlers();
  // A navigation reached the view's current address: that is what it shows now.
  void RememberShownDocument();
  // Runs the thread's messages until the attempt completes or the host is released.
  void WaitForAttempt(AttemptState& attempt);
  // The address is the document this host last showed from text, in the form the
  // runtime reports it.
  bool IsOwnStringDocument(std::wstring_view address) const;

  HWND parentWindow_ = nullptr;
  Microsoft::WRL::ComPtr<ICoreWebView2Environment> environment_;
  Microsoft::WRL::ComPtr<ICoreWebView2Controller> controller_;
  Microsoft::WRL::ComPtr<ICoreWebView2> webView_;
  HANDLE browserExitedEvent_ = nullptr;
  EventRegistrationToken browserExitedToken_ = {};
  bool browserExitHandlerRegistered_ = false;
  bool closed_ = false;
  std::vector<Frame*> frames_;  // innermost last
  bool releasing_ = false;
  bool printDialogOpen_ = false;
  HRESULT lastError_ = S_OK;
  std::wstring statusMessage_;
  std::optional<std::wstring> stringDocument_;  // the last NavigateToString's text
  ShownDocument shown_;
};

}  // namespace WebView
