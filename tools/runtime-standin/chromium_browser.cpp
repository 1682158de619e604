#include "tools/runtime-standin/chromium_browser.h"

#include <thread>
#include <utility>

#include "tools/runtime-standin/chromium_launch.h"

namespace standin {
namespace {

// How long Browser.close may take before the watchdog is told to end Chromium.
constexpr UINT kCloseGraceMs = 5000;

}  // namespace

void ChromiumBrowser::Launch(const Config& config, std::shared_ptr<Dispatcher> dispatcher,
                             Started done) {
  ChromiumLaunch launch;
  launch.executable = config.chromium_path;
  launch.extra_args = SplitWords(config.chromium_args);
  // Starting and connecting block for up to seconds; the host's thread keeps pumping
  // meanwhile, and the outcome comes back to it as a posted task.
  std::thread([launch, dispatcher, done = std::move(done)]() mutable {
    LaunchedChromium launched;
    std::string error;
    HRESULT code = S_OK;
    std::shared_ptr<WebSocket> socket;
    if (!LaunchChromium(launch, launched, error)) {
      code = HRESULT_FROM_WIN32(ERROR_SERVICE_NOT_ACTIVE);
    } else if ((socket = WebSocket::Connect("127.0.0.1", launched.port, launched.browser_path,
                                            error)) == nullptr) {
      StopChromium(launched.profile_folder);
      code = HRESULT_FROM_WIN32(ERROR_CONNECTION_REFUSED);
    }
    dispatcher->Post([dispatcher, done = std::move(done), code, error, socket, launched] {
      if (FAILED(code)) {
        done(nullptr, code, error);
        return;
      }
      auto browser = std::make_shared<ChromiumBrowser>(dispatcher, socket, launched.profile_folder,
                                                       launched.process_id);
      browser->Connected([browser, done](HRESULT connected, const std::string& why) {
        done(SUCCEEDED(connected) ? browser : nullptr, connected, why);
      });
    });
  }).detach();
}

ChromiumBrowser::ChromiumBrowser(std::shared_ptr<Dispatcher> dispatcher,
                                 std::shared_ptr<WebSocket> socket, std::string profile_folder,
                                 unsigned long process_id)
    : dispatcher_(std::move(dispatcher)),
      devtools_(std::make_shared<DevTools>(std::move(socket))),
      profile_folder_(std::move(profile_folder)),
      process_id_(process_id) {}

ChromiumBrowser::~ChromiumBrowser() {
  exited_ = nullptr;
  if (devtools_->connected()) {
    devtools_->Send("Browser.close");
    StopChromium(profile_folder_);
  }
  devtools_->Disconnect();
}

void ChromiumBrowser::Connected(std::function<void(HRESULT, const std::string&)> done) {
  std::weak_ptr<ChromiumBrowser> self = weak_from_this();
  devtools_->Start(dispatcher_, [self](const std::string&) {
    if (auto alive = self.lock()) alive->Disconnected();
  });
  devtools_->Listen("", [self](const std::string& method, const Json& params) {
    if (auto alive = self.lock()) alive->OnBrowserEvent(method, params);
  });
  // Target discovery shows the windows pages open (targetCreated with an opener).
  devtools_->Send("Target.setDiscoverTargets", {{"discover", true}});
  devtools_->Send("Browser.getVersion", Json::object(), "",
                  [self, done](const Json& result, const std::string& error) {
                    auto alive = self.lock();
                    if (alive == nullptr) return;
                    if (!error.empty()) {
                      done(HRESULT_FROM_WIN32(ERROR_CONNECTION_ABORTED),
                           "Browser.getVersion failed: " + error);
                      return;
                    }
                    alive->version_ = result.value("product", std::string());
                    done(S_OK, "");
                  });
}

void ChromiumBrowser::OpenPage(PageOpened done) {
  std::weak_ptr<ChromiumBrowser> self = weak_from_this();
  // A window of its own per view: a background tab would be hidden, its animation frames
  // and screencast held back.
  devtools_->Send("Target.createTarget", {{"url", "about:blank"}, {"newWindow", true}}, "",
                  [self, done](const Json& created, const std::string& error) {
                    auto alive = self.lock();
                    const std::string target = created.value("targetId", std::string());
                    if (alive == nullptr || !error.empty() || target.empty()) {
                      done(E_FAIL, "", "");
                      return;
                    }
                    alive->devtools_->Send(
                        "Target.attachToTarget", {{"targetId", target}, {"flatten", true}}, "",
                        [done, target](const Json& attached, const std::string& attach_error) {
                          const std::string session = attached.value("sessionId", std::string());
                          if (!attach_error.empty() || session.empty()) {
                            done(E_FAIL, "", "");
                            return;
                          }
                          done(S_OK, target, session);
                        });
                  });
}

void ChromiumBrowser::ClosePage(const std::string& target) {
  if (devtools_->connected()) devtools_->Send("Target.closeTarget", {{"targetId", target}});
}

void ChromiumBrowser::OnBrowserEvent(const std::string& method, const Json& params) {
  // A window a page opened: the view raised NewWindowRequested for it (Page.windowOpen);
  // Chromium's own window for it is never shown, so it goes at once.
  if (method != "Target.targetCreated") return;
  const Json& info = params.value("targetInfo", Json::object());
  if (info.value("type", std::string()) == "page" &&
      !info.value("openerId", std::string()).empty()) {
    ClosePage(info.value("targetId", std::string()));
  }
}

void ChromiumBrowser::Close() {
  if (closing_) return;
  closing_ = true;
  if (!devtools_->connected()) return;
  devtools_->Send("Browser.close");
  std::weak_ptr<ChromiumBrowser> self = weak_from_this();
  dispatcher_->PostAfter(kCloseGraceMs, [self] {
    auto alive = self.lock();
    if (alive == nullptr || !alive->devtools_->connected()) return;
    StopChromium(alive->profile_folder_);
    alive->devtools_->Disconnect();
  });
}

void ChromiumBrowser::Crash() {
  if (devtools_->connected()) devtools_->Send("Browser.crash");
}

void ChromiumBrowser::Disconnected() {
  // Whatever ended the connection, the browser must not stay behind without one.
  StopChromium(profile_folder_);
  if (auto exited = std::move(exited_)) {
    exited_ = nullptr;
    exited(closing_);
  }
}

}  // namespace standin
