#include "tools/runtime-standin/chromium_page.h"

#include <utility>

#include "common/base64.h"
#include "tools/runtime-standin/chromium_shim.h"
#include "tools/runtime-standin/external_uri.h"
#include "tools/runtime-standin/surface.h"
#include "tools/runtime-standin/webview.h"

namespace standin {
namespace {

// A JSON text as a JavaScript expression: JSON is valid JavaScript, and with every
// non-ASCII character escaped nothing in it can end the surrounding script.
std::string AsScript(const Json& value) {
  return value.dump(-1, ' ', true, Json::error_handler_t::replace);
}

}  // namespace

ChromiumPage::ChromiumPage(WebView& view, std::shared_ptr<ChromiumBrowser> browser,
                           std::string target, std::string session, HWND parent, RECT bounds)
    : view_(view),
      browser_(std::move(browser)),
      target_(std::move(target)),
      session_(std::move(session)),
      bounds_(bounds) {
  try {
    // The surface is the page's own: it never calls after the page is gone.
    surface_ = std::make_unique<Surface>(
        parent, [this](const std::string& method, const nlohmann::json& params) {
          if (!closed_) Send(method, Json::parse(params.dump()));
        });
    surface_->SetBounds(bounds_);
    surface_->SetVisible(visible_);  // a controller starts visible
  } catch (const std::exception&) {
    surface_.reset();  // a parent that cannot hold a window: the page runs unseen
  }
}

ChromiumPage::~ChromiumPage() { Close(); }

void ChromiumPage::Start() {
  std::weak_ptr<ChromiumPage> self = weak_from_this();
  browser_->devtools().Listen(session_, [self](const std::string& method, const Json& params) {
    if (auto alive = self.lock()) alive->OnEvent(method, params);
  });
  // Replies come in no particular order: the set-up is done when all have come.
  const auto setup = [this, self](const std::string& method, Json params) {
    ++setup_pending_;
    Send(method, std::move(params), [self](const Json&, const std::string&) {
      auto alive = self.lock();
      if (alive == nullptr || --alive->setup_pending_ > 0) return;
      auto waiting = std::move(alive->when_ready_);
      alive->when_ready_.clear();
      for (auto& ready : waiting) ready();
    });
  };
  setup("Page.enable", Json::object());
  setup("Inspector.enable", Json::object());  // Inspector.targetCrashed
  setup("Runtime.enable", Json::object());
  setup("Network.enable", Json::object());
  setup("Fetch.enable",
        {{"patterns", Json::array({{{"urlPattern", "*"}, {"requestStage", "Request"}}})}});
  setup("Runtime.addBinding", {{"name", kPostMessageBinding}});
  setup("Runtime.addBinding", {{"name", kLaunchBinding}});
  setup("Page.addScriptToEvaluateOnNewDocument", {{"source", kWebViewShim}});
  SetBounds(bounds_);
}

void ChromiumPage::WhenReady(std::function<void()> ready) {
  if (setup_pending_ == 0) {
    ready();
  } else {
    when_ready_.push_back(std::move(ready));
  }
}

void ChromiumPage::Close() {
  if (closed_) return;
  closed_ = true;
  navigation_.reset();
  browser_->devtools().Forget(session_);
  browser_->ClosePage(target_);
  surface_.reset();  // its child window goes with the view
}

ComPtr<WebView> ChromiumPage::OpenView() const {
  if (closed_ || view_.closed()) return nullptr;
  return ComPtr<WebView>(&view_);
}

void ChromiumPage::Send(const std::string& method, Json params, DevTools::Reply reply) {
  browser_->devtools().Send(method, std::move(params), session_, std::move(reply));
}

void ChromiumPage::OnEvent(const std::string& method, const Json& params) {
  ComPtr<WebView> view = OpenView();  // held while the host's handlers run
  if (view == nullptr) return;
  if (method == "Fetch.requestPaused") {
    OnRequestPaused(params);
  } else if (method == "Page.frameNavigated") {
    OnFrameNavigated(params);
  } else if (method == "Page.navigatedWithinDocument") {
    if (params.value("frameId", std::string()) == target_ && navigation_ &&
        navigation_->network_id.empty()) {
      Complete(true, COREWEBVIEW2_WEB_ERROR_STATUS_UNKNOWN);
    }
  } else if (method == "Page.loadEventFired") {
    OnLoad();
  } else if (method == "Network.requestWillBeSent") {
    // Kept small: requests that never pause (data:, cache) leave entries behind.
    if (network_types_.size() > 256) network_types_.clear();
    const std::string id = params.value("requestId", std::string());
    network_types_[id] = params.value("type", std::string());
    ResumeAwaitingType(id);
  } else if (method == "Network.responseReceived") {
    OnDocumentResponse(params);
  } else if (method == "Network.loadingFailed") {
    OnLoadingFailed(params);
  } else if (method == "Runtime.bindingCalled") {
    OnBindingCalled(params);
  } else if (method == "Page.windowOpen") {
    OnWindowOpen(params);
  } else if (method == "Page.screencastFrame") {
    OnScreencastFrame(params);
  } else if (method == "Inspector.targetCrashed") {
    OnTargetCrashed();
  } else if (method == "Page.javascriptDialogOpening") {
    // Nobody could answer a dialog of a headless page; it would stop the page for good.
    Send("Page.handleJavaScriptDialog", {{"accept", true}});
  }
}

void ChromiumPage::AddScript(const std::wstring& id, const std::wstring& script,
                             std::function<void(HRESULT)> done) {
  std::weak_ptr<ChromiumPage> self = weak_from_this();
  scripts_[id];  // known from now on, so a removal before the browser answers is seen
  Send("Page.addScriptToEvaluateOnNewDocument", {{"source", Utf8(script)}},
       [self, id, done](const Json& result, const std::string& error) {
         auto alive = self.lock();
         const std::string identifier = result.value("identifier", std::string());
         if (alive != nullptr && !identifier.empty()) {
           auto entry = alive->scripts_.find(id);
           if (entry == alive->scripts_.end()) {
             alive->Send("Page.removeScriptToEvaluateOnNewDocument", {{"identifier", identifier}});
           } else {
             entry->second = identifier;
           }
         }
         done(error.empty() && !identifier.empty() ? S_OK : E_FAIL);
       });
}

void ChromiumPage::RemoveScript(const std::wstring& id) {
  auto entry = scripts_.find(id);
  if (entry == scripts_.end()) return;
  if (!entry->second.empty()) {
    Send("Page.removeScriptToEvaluateOnNewDocument", {{"identifier", entry->second}});
  }
  scripts_.erase(entry);
}

void ChromiumPage::PostToPage(const std::string& value) {
  Send("Runtime.evaluate",
       {{"expression", std::string("window.") + kDeliverFunction + " && window." +
                           kDeliverFunction + "(" + value + ")"}});
}

void ChromiumPage::Evaluate(const std::string& script) {
  Send("Runtime.evaluate", {{"expression", script}, {"userGesture", true}});
}

void ChromiumPage::PageNavigate(const std::wstring& uri) {
  script_navigation_ = true;
  Evaluate("location.href = " + AsScript(Utf8(uri)));
}

void ChromiumPage::PagePostMessage(const std::string& value) {
  Evaluate("chrome.webview.postMessage(" + value + ")");
}

void ChromiumPage::PageFetch(const Stimulus& stimulus) {
  Json init = {{"method", Utf8(stimulus.method)}, {"headers", HeadersJson(stimulus.headers)}};
  Evaluate("fetch(" + AsScript(Utf8(stimulus.uri)) + ", " + AsScript(init) + ").catch(() => {})");
}

void ChromiumPage::PageOpenWindow(const std::wstring& uri) {
  Evaluate("window.open(" + AsScript(Utf8(uri)) + ")");
}

void ChromiumPage::OnBindingCalled(const Json& params) {
  if (params.value("name", std::string()) == kLaunchBinding) {
    const std::wstring uri = Wide(params.value("payload", std::string()));
    view_.RaiseExternalUri(uri, LaunchExternalUri(uri));
    return;
  }
  if (params.value("name", std::string()) != kPostMessageBinding) return;
  const std::string payload = params.value("payload", std::string());
  const Json value = Json::parse(payload, nullptr, false);
  if (value.is_discarded()) return;  // the shim sends JSON; anything else is not ours
  std::optional<std::wstring> text;
  if (value.is_string()) text = Wide(value.get<std::string>());
  view_.RaiseMessage(page_uri_, Wide(payload), text);
}

void ChromiumPage::OnWindowOpen(const Json& params) {
  const std::wstring uri = Wide(params.value("url", std::string()));
  bool handled = false;
  ComPtr<ICoreWebView2> new_window =
      view_.RaiseNewWindow(uri, params.value("userGesture", false), &handled);
  // Chromium's own window for it is closed by the browser (ChromiumBrowser); a view the
  // host gave for it shows the address instead.
  if (new_window != nullptr) new_window->Navigate(uri.c_str());
}

void ChromiumPage::OnTargetCrashed() {
  crashed_ = true;
  // A navigation on its way dies with the renderer.
  if (navigation_) Complete(false, COREWEBVIEW2_WEB_ERROR_STATUS_UNEXPECTED_ERROR);
  if (ComPtr<WebView> view = OpenView()) {
    view->RaiseProcessFailed(COREWEBVIEW2_PROCESS_FAILED_KIND_RENDER_PROCESS_EXITED);
  }
}

void ChromiumPage::SetBounds(const RECT& bounds) {
  bounds_ = bounds;
  if (surface_ != nullptr) surface_->SetBounds(bounds);
  const long width = bounds.right - bounds.left;
  const long height = bounds.bottom - bounds.top;
  if (width <= 0 || height <= 0) return;  // a view without area keeps the browser's size
  Send("Emulation.setDeviceMetricsOverride",
       {{"width", width}, {"height", height}, {"deviceScaleFactor", 1}, {"mobile", false}});
  StartScreencast();
}

void ChromiumPage::SetVisible(bool visible) {
  visible_ = visible;
  if (surface_ != nullptr) surface_->SetVisible(visible);
}

void ChromiumPage::SetBackground(COREWEBVIEW2_COLOR color) {
  if (surface_ != nullptr) surface_->SetBackground(color);
  Send("Emulation.setDefaultBackgroundColorOverride",
       {{"color", {{"r", color.R}, {"g", color.G}, {"b", color.B}, {"a", color.A / 255.0}}}});
}

void ChromiumPage::StartScreencast() {
  if (surface_ == nullptr) return;  // nothing shows frames
  const long width = bounds_.right - bounds_.left;
  const long height = bounds_.bottom - bounds_.top;
  // Restarted for a new size: the frames follow the view's.
  Send("Page.stopScreencast");
  Send("Page.startScreencast", {{"format", "jpeg"},
                                {"quality", 80},
                                {"maxWidth", width},
                                {"maxHeight", height},
                                {"everyNthFrame", 1}});
}

void ChromiumPage::OnScreencastFrame(const Json& params) {
  Send("Page.screencastFrameAck", {{"sessionId", params.value("sessionId", 0)}});
  ShowEncodedFrame(params.value("data", std::string()));
  // Headless Chromium may leave out the frame that ends an animation (a fading overlay
  // stays half faded on screen): once the frames stop, the page is captured once more.
  // A frame that the capture itself caused does not ask for another.
  if (GetTickCount64() - last_settle_capture_ < kSettleMs) return;
  if (settle_timer_ != 0) view_.dispatcher().Cancel(settle_timer_);
  std::weak_ptr<ChromiumPage> self = weak_from_this();
  settle_timer_ = view_.dispatcher().PostAfter(kSettleMs, [self] {
    if (auto alive = self.lock()) alive->CaptureSettledFrame();
  });
}

void ChromiumPage::CaptureSettledFrame() {
  settle_timer_ = 0;
  if (closed_ || surface_ == nullptr) return;
  last_settle_capture_ = GetTickCount64();
  std::weak_ptr<ChromiumPage> self = weak_from_this();
  Send("Page.captureScreenshot", {{"format", "jpeg"}, {"quality", 80}},
       [self](const Json& result, const std::string& error) {
         auto alive = self.lock();
         if (alive != nullptr && error.empty()) {
           alive->ShowEncodedFrame(result.value("data", std::string()));
         }
       });
}

void ChromiumPage::ShowEncodedFrame(const std::string& base64) {
  if (surface_ == nullptr) return;
  if (auto image = Base64DecodeStrict(base64)) surface_->ShowFrame(*image);
}

}  // namespace standin
