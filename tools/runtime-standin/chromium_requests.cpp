// A Chromium-shown view's paused requests: the main frame's document requests are the
// navigations' (the page's own raise NavigationStarting here), and every request a
// filter matches raises WebResourceRequested with its real headers. Afterwards the
// request is fulfilled with the host's response or continued as the host left it.

#include "common/base64.h"
#include "tools/runtime-standin/chromium_mapping.h"
#include "tools/runtime-standin/chromium_page.h"
#include "tools/runtime-standin/webview.h"

namespace standin {
namespace {

HeaderList HeadersOf(const Json& headers) {
  HeaderList list;
  if (!headers.is_object()) return list;
  for (const auto& [name, value] : headers.items()) {
    if (value.is_string()) list.emplace_back(Wide(name), Wide(value.get<std::string>()));
  }
  return list;
}

Json HeaderEntries(const HeaderList& headers) {
  Json entries = Json::array();
  for (const auto& [name, value] : headers) {
    entries.push_back({{"name", Utf8(name)}, {"value", Utf8(value)}});
  }
  return entries;
}

// The body Chromium paused the request with, if any.
std::optional<std::string> BodyOf(const Json& request) {
  auto entries = request.find("postDataEntries");
  if (entries != request.end() && entries->is_array()) {
    std::string body;
    for (const Json& entry : *entries) {
      if (entry.is_object()) body += Base64Decode(entry.value("bytes", std::string()));
    }
    return body;
  }
  auto text = request.find("postData");
  if (text != request.end() && text->is_string()) return text->get<std::string>();
  return std::nullopt;
}

}  // namespace

void ChromiumPage::OnRequestPaused(const Json& params) {
  const std::string request_id = params.value("requestId", std::string());
  const Json& request = params.value("request", Json::object());
  if (request_id.empty() || !request.is_object()) return;
  const std::string type = params.value("resourceType", std::string());
  const std::string network_id = params.value("networkId", std::string());
  COREWEBVIEW2_WEB_RESOURCE_CONTEXT context = ContextOfResourceType(type);
  auto known = network_types_.find(network_id);
  if (type == "XHR" && known == network_types_.end() && !network_id.empty() &&
      !awaiting_type_.contains(network_id)) {
    // Network's news of the request, which tells a fetch() from an XHR, may come after the
    // pause: wait for it a little, then take the request as an XHR.
    awaiting_type_[network_id] = params;
    std::weak_ptr<ChromiumPage> self = weak_from_this();
    view_.dispatcher().PostAfter(kTypeWaitMs, [self, network_id] {
      if (auto alive = self.lock()) alive->ResumeAwaitingType(network_id);
    });
    return;
  }
  awaiting_type_.erase(network_id);
  if (known != network_types_.end()) {
    if (type == "XHR" && known->second == "Fetch")
      context = COREWEBVIEW2_WEB_RESOURCE_CONTEXT_FETCH;
    network_types_.erase(known);
  }
  const bool main_document =
      type == "Document" && params.value("frameId", std::string()) == target_;
  if (!main_document) {
    Intercept(request_id, request, context, nullptr);
    return;
  }
  if (navigation_ && navigation_->awaiting_document) {
    // The document of the host's own navigation: NavigationStarting was raised already.
    navigation_->awaiting_document = false;
    navigation_->network_id = network_id;
    const Navigation host = *navigation_;
    Intercept(request_id, request, context, &host);
    return;
  }
  if (navigation_ && !network_id.empty() && navigation_->network_id == network_id) {
    Intercept(request_id, request, context, nullptr);  // a redirect of the same navigation
    return;
  }
  // A navigation the page started itself (a link, a form, location.href, a stimulus).
  ReplaceNavigation();
  Navigation navigation;
  navigation.id = next_navigation_id_++;
  navigation.uri = Wide(request.value("url", std::string()));
  navigation.user_initiated = true;
  navigation.from_script = script_navigation_;
  script_navigation_ = false;
  navigation.started = true;
  navigation.network_id = network_id;
  navigation.headers = Make<RequestHeaders>(view_.shared_state(),
                                            HeadersOf(request.value("headers", Json::object())));
  const UINT64 id = navigation.id;
  navigation_ = std::move(navigation);
  const bool cancelled = view_.RaiseStarting(navigation_->uri, true, navigation_->headers, id);
  if (OpenView() == nullptr) return;
  if (!navigation_ || navigation_->id != id) {
    // Replaced by a navigation a handler started: this one goes no further.
    Send("Fetch.failRequest", {{"requestId", request_id}, {"errorReason", "Aborted"}});
    return;
  }
  if (cancelled) {
    // Aborted navigations leave the page as it was: Chromium shows no error page for them.
    Send("Fetch.failRequest", {{"requestId", request_id}, {"errorReason", "Aborted"}});
    Complete(false, COREWEBVIEW2_WEB_ERROR_STATUS_OPERATION_CANCELED);
    return;
  }
  const Navigation started = *navigation_;
  Intercept(request_id, request, context, &started);
}

void ChromiumPage::ResumeAwaitingType(const std::string& network_id) {
  auto waiting = awaiting_type_.find(network_id);
  if (waiting == awaiting_type_.end() || closed_) return;
  // Marked as seen, so that it is not put off again: an unknown type is an XHR's.
  Json params = std::move(waiting->second);
  waiting->second = Json();
  OnRequestPaused(params);
}

void ChromiumPage::Intercept(const std::string& request_id, const Json& request,
                             COREWEBVIEW2_WEB_RESOURCE_CONTEXT context, const Navigation* host) {
  const std::wstring url = Wide(request.value("url", std::string()));
  const std::wstring method = Wide(request.value("method", std::string("GET")));
  const HeaderList original_headers = HeadersOf(request.value("headers", Json::object()));
  const std::optional<std::string> original_body = BodyOf(request);

  // What the host's navigation asked for comes on top of what Chromium would send.
  HeaderList headers = original_headers;
  std::wstring wanted_method = method;
  std::optional<std::string> body = original_body;
  if (host != nullptr) {
    for (const auto& [name, value] : host->headers->list()) {
      auto entry = FindHeader(headers, name);
      if (entry != headers.end()) {
        entry->second = value;
      } else {
        headers.emplace_back(name, value);
      }
    }
    if (!host->method.empty()) wanted_method = host->method;
    if (host->body) body = host->body;
  }
  ComPtr<IStream> content = body ? StreamOf(*body) : nullptr;
  auto request_object =
      Make<WebResourceRequest>(view_.shared_state(), url, wanted_method, content,
                               Make<RequestHeaders>(view_.shared_state(), std::move(headers)));
  ComPtr<ICoreWebView2WebResourceResponse> response = view_.RaiseResourceRequested(
      request_object, context, COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS_DOCUMENT);
  if (closed_) return;  // the target is going; its paused requests go with it

  if (response != nullptr) {
    int status = 200;
    response->get_StatusCode(&status);
    LPWSTR reason = nullptr;
    response->get_ReasonPhrase(&reason);
    ComPtr<IStream> response_content;
    response->get_Content(&response_content);
    HeaderList response_headers;
    if (auto own = OwnObject<WebResourceResponse>(response.Get())) {
      response_headers = own->headers();
    }
    Json fulfil = {{"requestId", request_id},
                   {"responseCode", status},
                   {"responseHeaders", HeaderEntries(response_headers)},
                   {"body", Base64Encode(ReadAll(response_content.Get()))}};
    if (reason != nullptr && *reason != L'\0') fulfil["responsePhrase"] = Utf8(reason);
    CoTaskMemFree(reason);
    if (host != nullptr && navigation_ && navigation_->id == host->id) {
      navigation_->http_status = status;
    }
    Send("Fetch.fulfillRequest", std::move(fulfil));
    return;
  }

  // Only what differs from Chromium's own request is overridden.
  Json carry_on = {{"requestId", request_id}};
  if (request_object->uri() != url) carry_on["url"] = Utf8(request_object->uri());
  if (request_object->method() != method) carry_on["method"] = Utf8(request_object->method());
  if (request_object->headers()->list() != original_headers) {
    carry_on["headers"] = HeaderEntries(request_object->headers()->list());
  }
  if (request_object->content() != content || body != original_body) {
    carry_on["postData"] = Base64Encode(ReadAll(request_object->content().Get()));
  }
  Send("Fetch.continueRequest", std::move(carry_on));
}

}  // namespace standin
