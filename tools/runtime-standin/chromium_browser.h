#pragma once
// One real Chromium for one environment: launched and connected on a worker thread, then
// driven from the environment's thread over DevTools. It opens a page target per
// controller, closes the windows pages open themselves (the host decides about those,
// through NewWindowRequested), and reports the end of the browser, expected (Close) or
// not (a crash, a killed process).

#include <functional>
#include <memory>
#include <string>

#include "tools/runtime-standin/config.h"
#include "tools/runtime-standin/devtools.h"
#include "tools/runtime-standin/dispatch.h"

namespace standin {

class ChromiumBrowser : public std::enable_shared_from_this<ChromiumBrowser> {
 public:
  // `browser` is null on failure; `error` then says why.
  using Started = std::function<void(std::shared_ptr<ChromiumBrowser> browser, HRESULT code,
                                     const std::string& error)>;
  using PageOpened =
      std::function<void(HRESULT code, const std::string& target, const std::string& session)>;

  // Starts Chromium as `config` says; `done` runs later on `dispatcher`'s thread.
  static void Launch(const Config& config, std::shared_ptr<Dispatcher> dispatcher, Started done);

  ChromiumBrowser(std::shared_ptr<Dispatcher> dispatcher, std::shared_ptr<WebSocket> socket,
                  std::string profile_folder, unsigned long process_id);
  ~ChromiumBrowser();

  // Runs once when the connection to the browser ended: `expected` after Close.
  void OnExit(std::function<void(bool expected)> exited) { exited_ = std::move(exited); }

  DevTools& devtools() { return *devtools_; }
  const std::string& version() const { return version_; }
  unsigned long process_id() const { return process_id_; }
  // Connected, and not asked to close.
  bool running() const { return devtools_->connected() && !closing_; }

  // A new blank page target and a flattened session attached to it.
  void OpenPage(PageOpened done);
  void ClosePage(const std::string& target);

  // Browser.close; if the browser does not go within a few seconds, the watchdog ends it.
  void Close();
  // Browser.crash: a real, unexpected end of the browser.
  void Crash();

 private:
  void Connected(std::function<void(HRESULT, const std::string&)> done);
  void OnBrowserEvent(const std::string& method, const Json& params);
  void Disconnected();

  const std::shared_ptr<Dispatcher> dispatcher_;
  std::shared_ptr<DevTools> devtools_;
  const std::string profile_folder_;
  const unsigned long process_id_;
  std::string version_;
  bool closing_ = false;
  std::function<void(bool)> exited_;
};

}  // namespace standin
