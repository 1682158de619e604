// A Chromium-shown view's top-level navigations: the host's (NavigationStarting raised
// before Chromium is asked to navigate, so a cancellation never reaches the browser) and
// the page's own (raised when their document request is paused, see
// chromium_requests.cpp). Each completes once: on the main frame's load, on a failure of
// its document request, or when a newer navigation replaces it.

#include "tools/runtime-standin/chromium_mapping.h"
#include "tools/runtime-standin/chromium_page.h"
#include "tools/runtime-standin/webview.h"

namespace standin {
namespace {

// Only network documents pass through the request interception; the others (data:,
// about:, …) commit without a request.
bool NeedsRequest(const std::string& url) {
  return url.rfind("http://", 0) == 0 || url.rfind("https://", 0) == 0;
}

}  // namespace

void ChromiumPage::Navigate(HostNavigation host) {
  Navigation navigation;
  navigation.uri = host.uri;
  navigation.awaiting_document = NeedsRequest(host.url);
  navigation.headers = Make<RequestHeaders>(view_.shared_state(), std::move(host.headers));
  navigation.method = std::move(host.method);
  navigation.body = std::move(host.body);
  std::weak_ptr<ChromiumPage> self = weak_from_this();
  const std::string url = host.url;
  BeginHostNavigation(std::move(navigation), [self, url] {
    auto alive = self.lock();
    if (alive == nullptr) return;
    const UINT64 id = alive->navigation_->id;
    alive->Send(
        "Page.navigate", {{"url", url}}, [self, id](const Json& result, const std::string&) {
          auto page = self.lock();
          const std::string error = result.value("errorText", std::string());
          if (page == nullptr || error.empty() || page->OpenView() == nullptr) return;
          if (page->navigation_ && page->navigation_->id == id && !page->navigation_->committed) {
            page->Complete(false, StatusOfNetError(error));
          }
        });
  });
}

void ChromiumPage::NavigateToString(const std::wstring& html) {
  Navigation navigation;
  const Config& config = view_.shared_state()->config;
  navigation.uri = config.StringDocumentUri(html);
  navigation.headers = Make<RequestHeaders>(view_.shared_state(), HeaderList{});
  std::weak_ptr<ChromiumPage> self = weak_from_this();
  // The browser loads the text from its data: address, whichever address the host sees.
  const std::string url = StringDocumentDataUrl(html);
  BeginHostNavigation(std::move(navigation), [self, url] {
    if (auto alive = self.lock()) alive->Send("Page.navigate", {{"url", url}});
  });
}

void ChromiumPage::Reload() {
  Navigation navigation;
  navigation.uri = current_uri_;
  navigation.awaiting_document = NeedsRequest(Utf8(current_uri_));
  navigation.headers = Make<RequestHeaders>(view_.shared_state(), HeaderList{});
  std::weak_ptr<ChromiumPage> self = weak_from_this();
  BeginHostNavigation(std::move(navigation), [self] {
    if (auto alive = self.lock()) alive->Send("Page.reload");
  });
}

void ChromiumPage::GoBack() { NavigateInHistory(-1); }

void ChromiumPage::GoForward() { NavigateInHistory(1); }

void ChromiumPage::NavigateInHistory(int step) {
  // The entry's address is needed for NavigationStarting, so the history is asked first.
  std::weak_ptr<ChromiumPage> self = weak_from_this();
  Send("Page.getNavigationHistory", Json::object(),
       [self, step](const Json& history, const std::string& error) {
         auto alive = self.lock();
         if (alive == nullptr || !error.empty() || alive->OpenView() == nullptr) return;
         const Json& entries = history.value("entries", Json::array());
         const int index = history.value("currentIndex", 0) + step;
         if (!entries.is_array() || index < 0 || index >= static_cast<int>(entries.size())) return;
         const std::string url = entries[index].value("url", std::string());
         const int entry = entries[index].value("id", 0);
         Navigation navigation;
         navigation.uri = alive->view_.shared_state()->config.AsHostSees(url);
         navigation.awaiting_document = NeedsRequest(url);
         navigation.headers = Make<RequestHeaders>(alive->view_.shared_state(), HeaderList{});
         alive->BeginHostNavigation(std::move(navigation), [self, entry] {
           if (auto page = self.lock())
             page->Send("Page.navigateToHistoryEntry", {{"entryId", entry}});
         });
       });
}

void ChromiumPage::Stop() { Send("Page.stopLoading"); }

void ChromiumPage::BeginHostNavigation(Navigation navigation, std::function<void()> go) {
  ReplaceNavigation();
  navigation.id = next_navigation_id_++;
  const UINT64 id = navigation.id;
  navigation_ = std::move(navigation);
  // Raised in a turn of its own, as the runtime does: never inside the host's call.
  std::weak_ptr<ChromiumPage> self = weak_from_this();
  view_.dispatcher().Post([self, id, go = std::move(go)] {
    if (auto alive = self.lock()) alive->StartHostNavigation(id, go);
  });
}

void ChromiumPage::StartHostNavigation(UINT64 id, const std::function<void()>& go) {
  ComPtr<WebView> view = OpenView();
  if (view == nullptr || !navigation_ || navigation_->id != id) return;
  navigation_->started = true;
  const bool cancelled = view->RaiseStarting(navigation_->uri, false, navigation_->headers, id);
  // A handler may have started another navigation or closed the view meanwhile.
  if (OpenView() == nullptr || !navigation_ || navigation_->id != id) return;
  if (cancelled) {
    Complete(false, COREWEBVIEW2_WEB_ERROR_STATUS_OPERATION_CANCELED);
    return;
  }
  go();
}

void ChromiumPage::ReplaceNavigation() {
  if (!navigation_) return;
  if (navigation_->started) {
    Complete(false, COREWEBVIEW2_WEB_ERROR_STATUS_OPERATION_CANCELED);
  } else {
    navigation_.reset();
  }
}

void ChromiumPage::Complete(bool success, COREWEBVIEW2_WEB_ERROR_STATUS status) {
  Navigation done = std::move(*navigation_);
  navigation_.reset();
  if (success) {
    current_uri_ = done.uri;
    RefreshHistory();
  }
  if (ComPtr<WebView> view = OpenView()) {
    view->RaiseCompleted(done.uri, success, status, done.id, done.from_script);
  }
}

void ChromiumPage::RefreshHistory() {
  std::weak_ptr<ChromiumPage> self = weak_from_this();
  Send("Page.getNavigationHistory", Json::object(),
       [self](const Json& history, const std::string& error) {
         auto alive = self.lock();
         if (alive == nullptr || !error.empty()) return;
         alive->history_index_ = history.value("currentIndex", 0);
         const Json& entries = history.value("entries", Json::array());
         alive->history_size_ = entries.is_array() ? static_cast<int>(entries.size()) : 0;
       });
}

void ChromiumPage::OnFrameNavigated(const Json& params) {
  const Json& frame = params.value("frame", Json::object());
  if (frame.contains("parentId") || frame.value("id", std::string()) != target_) return;
  page_uri_ = view_.shared_state()->config.AsHostSees(frame.value("url", std::string()));
  if (crashed_) {
    crashed_ = false;
    StartScreencast();
  }
  if (navigation_ && !navigation_->awaiting_document) navigation_->committed = true;
}

void ChromiumPage::OnLoad() {
  if (!navigation_ || !navigation_->committed) return;
  const int status = navigation_->http_status;
  if (status >= 400) {
    Complete(false, StatusOfHttpError(status));
  } else {
    Complete(true, COREWEBVIEW2_WEB_ERROR_STATUS_UNKNOWN);
  }
}

void ChromiumPage::OnDocumentResponse(const Json& params) {
  if (!navigation_ || navigation_->network_id.empty() ||
      params.value("requestId", std::string()) != navigation_->network_id) {
    return;
  }
  navigation_->http_status = params.value("response", Json::object()).value("status", 0);
  navigation_->committed = true;  // the load that follows is this document's
}

void ChromiumPage::OnLoadingFailed(const Json& params) {
  if (!navigation_ || navigation_->network_id.empty() ||
      params.value("requestId", std::string()) != navigation_->network_id) {
    return;
  }
  Complete(false, StatusOfNetError(params.value("errorText", std::string())));
}

}  // namespace standin
