#pragma once
// The environment: one (pretended) browser process with its user-data folder. It makes
// controllers, requests, responses and print settings, and reports the end of the
// browser process: when the script says so ({"do":"browserExit"}, or processFailed of
// kind 0), and when its last controller closed or a controller could not be made, since
// the runtime's browser process then ends on its own. A browser process that fails takes
// its views with it: each raises ProcessFailed (browser process exited) and closes.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tools/runtime-standin/chromium_browser.h"
#include "tools/runtime-standin/com_object.h"
#include "tools/runtime-standin/dispatch.h"
#include "tools/runtime-standin/event_source.h"

namespace standin {

class WebView;

class Environment final
    : public ComObject<Environment, ICoreWebView2Environment6, ICoreWebView2Environment,
                       ICoreWebView2Environment2, ICoreWebView2Environment3,
                       ICoreWebView2Environment4, ICoreWebView2Environment5> {
 public:
  // With `browser`, a real Chromium shows the pages (QUORVEL_RUNTIME_ENGINE=chromium).
  Environment(std::shared_ptr<Runtime> runtime, std::shared_ptr<Dispatcher> dispatcher,
              std::shared_ptr<ChromiumBrowser> browser = nullptr);
  ~Environment() override;

  // A controller of this environment closed or went away.
  void ControllerClosed();
  // The browser process ends now (the script's browserExit).
  void BrowserProcessExits(COREWEBVIEW2_BROWSER_PROCESS_EXIT_KIND kind);
  // The views of this environment's browser process, while they are open.
  void ViewOpened(WebView* view);
  void ViewClosed(WebView* view);

  // ICoreWebView2Environment
  HRESULT STDMETHODCALLTYPE CreateCoreWebView2Controller(
      HWND parent, ICoreWebView2CreateCoreWebView2ControllerCompletedHandler* handler) override;
  HRESULT STDMETHODCALLTYPE
  CreateWebResourceResponse(IStream* content, int status, LPCWSTR reason, LPCWSTR headers,
                            ICoreWebView2WebResourceResponse** response) override;
  HRESULT STDMETHODCALLTYPE get_BrowserVersionString(LPWSTR* version) override;
  HRESULT STDMETHODCALLTYPE
  add_NewBrowserVersionAvailable(ICoreWebView2NewBrowserVersionAvailableEventHandler* handler,
                                 EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE
  remove_NewBrowserVersionAvailable(EventRegistrationToken token) override;

  // ICoreWebView2Environment2
  HRESULT STDMETHODCALLTYPE
  CreateWebResourceRequest(LPCWSTR uri, LPCWSTR method, IStream* content, LPCWSTR headers,
                           ICoreWebView2WebResourceRequest** request) override;

  // ICoreWebView2Environment3
  HRESULT STDMETHODCALLTYPE CreateCoreWebView2CompositionController(
      HWND parent,
      ICoreWebView2CreateCoreWebView2CompositionControllerCompletedHandler* handler) override;
  HRESULT STDMETHODCALLTYPE CreateCoreWebView2PointerInfo(ICoreWebView2PointerInfo** info) override;

  // ICoreWebView2Environment4
  HRESULT STDMETHODCALLTYPE GetAutomationProviderForWindow(HWND window,
                                                           IUnknown** provider) override;

  // ICoreWebView2Environment5
  HRESULT STDMETHODCALLTYPE
  add_BrowserProcessExited(ICoreWebView2BrowserProcessExitedEventHandler* handler,
                           EventRegistrationToken* token) override;
  HRESULT STDMETHODCALLTYPE remove_BrowserProcessExited(EventRegistrationToken token) override;

  // ICoreWebView2Environment6
  HRESULT STDMETHODCALLTYPE CreatePrintSettings(ICoreWebView2PrintSettings** settings) override;

 private:
  void CompleteController(
      HWND parent, ComPtr<ICoreWebView2CreateCoreWebView2ControllerCompletedHandler> handler);
  // With no controller left, the browser process ends, as the runtime's does; the news
  // arrives from "another process", so it also reaches a host that waits for it.
  void ExitWhenIdle();
  void RaiseBrowserProcessExited(COREWEBVIEW2_BROWSER_PROCESS_EXIT_KIND kind);
  // The browser process ended: kind FAILED fails and closes every open view first.
  void BrowserProcessEnded(COREWEBVIEW2_BROWSER_PROCESS_EXIT_KIND kind);
  // Chromium: the controller's page target, in a browser that runs (started again when
  // an earlier one has ended).
  void OpenEnginePage(HWND parent,
                      ComPtr<ICoreWebView2CreateCoreWebView2ControllerCompletedHandler> handler,
                      bool without_view, HRESULT no_view);
  void WithBrowser(std::function<void(HRESULT)> ready);
  void AdoptBrowser(std::shared_ptr<ChromiumBrowser> browser);
  void BrowserEnded(bool expected);

  const std::shared_ptr<Dispatcher> dispatcher_;
  int open_controllers_ = 0;
  bool exited_ = false;
  EventSource<ICoreWebView2BrowserProcessExitedEventHandler> browser_process_exited_;
  std::vector<WebView*> views_;  // each view removes itself when it closes
  UnraisedEvents unraised_;
  const bool engine_;
  std::shared_ptr<ChromiumBrowser> browser_;
  bool launching_ = false;
  std::vector<std::function<void(HRESULT)>> waiting_for_browser_;
};

}  // namespace standin
