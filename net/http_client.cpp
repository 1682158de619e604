#include "net/http_client.h"

#include <stdexcept>

#include "common/device_identity.h"
#include "common/platform_values.h"
#include "common/text.h"
#include "common/web_address.h"
#include "net/pin_gate.h"
#include "net/response_body.h"
#include "net/server_pin.h"
#include "net/winhttp_request.h"

namespace {

constexpr int kResolveTimeoutMs = 10000;
constexpr int kConnectTimeoutMs = 10000;
constexpr int kSendTimeoutMs = 30000;
constexpr int kReceiveTimeoutMs = 30000;

struct SplitUrl {
  std::u16string host;  // lower case, as the browser reads it
  std::u16string path;
  INTERNET_PORT port = 0;
  bool secure = false;
};

std::u16string WithoutBrackets(std::u16string host) {
  if (host.size() >= 2 && host.front() == u'[' && host.back() == u']') {
    host = host.substr(1, host.size() - 2);
  }
  return host;
}

// Where a request goes is read once, by the reader every rule asks; WinHTTP's own
// reading of the address must agree with it on scheme, host and port, or the request
// is not made (pins and identity headers would be decided for another host than the
// one contacted).
bool Split(std::u16string_view url, SplitUrl& split) {
  wchar_t host[256] = {};
  wchar_t path[2048] = {};
  URL_COMPONENTS parts = {};
  parts.dwStructSize = sizeof(parts);
  parts.lpszHostName = host;
  parts.dwHostNameLength = static_cast<DWORD>(std::size(host));
  parts.lpszUrlPath = path;
  parts.dwUrlPathLength = static_cast<DWORD>(std::size(path));
  const std::u16string text(url);
  if (!WinHttpCrackUrl(WidePointer(text), static_cast<DWORD>(text.size()), 0, &parts)) return false;
  const std::optional<WebAddress> address = ReadWebAddress(url);
  split.secure = parts.nScheme == INTERNET_SCHEME_HTTPS;
  if (!address || (address->scheme == u"https") != split.secure || address->port != parts.nPort ||
      WithoutBrackets(address->host) != WithoutBrackets(AsciiLower(FromWide(host)))) {
    return false;
  }
  split.host = WithoutBrackets(address->host);
  split.path = FromWide(path);
  split.port = parts.nPort;
  return true;
}

std::string SystemErrorText(const char* step) {
  return std::string(step) + std::to_string(GetLastError());
}

// The platform's own hosts, and hosts under them, get the machine's identity.
bool IsIdentityHost(const std::u16string& host) {
  for (const std::string& platformHost : IdentityHosts()) {
    if (HostIsOrIsUnder(host, AsciiToUtf16(platformHost))) return true;
  }
  return false;
}

void AddHeader(HINTERNET request, const std::u16string& line) {
  WinHttpAddRequestHeaders(request, WidePointer(line), static_cast<DWORD>(line.size()),
                           WINHTTP_ADDREQ_FLAG_ADD | WINHTTP_ADDREQ_FLAG_REPLACE);
}

bool CarriesBody(std::u16string_view method, DWORD status) {
  return method != u"HEAD" && status >= 200 && status != 204 && status != 304;
}

std::string PinFailure(const std::u16string& host) {
  return "SSL Pin validation FAILED for " + Utf16ToUtf8(host);
}

}  // namespace

HttpClient::HttpClient() {
  const std::u16string userAgent = AsciiToUtf16(UserAgent());
  internetHandle_ = WinHttpOpen(WidePointer(userAgent), WINHTTP_ACCESS_TYPE_NO_PROXY,
                                WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0);
  if (internetHandle_ == nullptr) throw std::runtime_error("WinHttpOpen failed");
  WinHttpSetTimeouts(internetHandle_, kResolveTimeoutMs, kConnectTimeoutMs, kSendTimeoutMs,
                     kReceiveTimeoutMs);
}

HttpClient::~HttpClient() {
  if (internetHandle_ != nullptr) WinHttpCloseHandle(internetHandle_);
}

HttpClient& HttpClient::Shared() {
  static HttpClient* const shared = [] {
    auto* client = new HttpClient();  // kept until the process ends
    WINHTTP_PROXY_INFO noProxy = {};
    noProxy.dwAccessType = WINHTTP_ACCESS_TYPE_NO_PROXY;
    WinHttpSetOption(client->internetHandle_, WINHTTP_OPTION_PROXY, &noProxy, sizeof(noProxy));
    return client;
  }();
  return *shared;
}

void HttpClient::SetHeader(std::u16string_view name, std::u16string_view value) {
  std::lock_guard guard(mutex_);
  defaultHeaders_[std::u16string(name)] = value;
}

void HttpClient::DisablePinCheck() { pinCheckDisabled_ = true; }

HttpResponse HttpClient::Get(std::u16string_view url,
                             const std::vector<HeaderField>& requestHeaders) {
  return Send(u"GET", url, {}, {}, requestHeaders);
}

HttpResponse HttpClient::Post(std::u16string_view url, std::string_view body,
                              std::u16string_view contentType) {
  return Send(u"POST", url, body, contentType);
}

HttpResponse HttpClient::Put(std::u16string_view url, std::string_view body,
                             std::u16string_view contentType) {
  return Send(u"PUT", url, body, contentType);
}

HttpClient::Preflight HttpClient::PreflightHost(const std::u16string& host, unsigned short port) {
  {
    std::lock_guard guard(mutex_);
    if (preflightedHosts_.contains(host)) return Preflight::kPassed;
  }
  WinHttpHandle connection(WinHttpConnect(internetHandle_, WidePointer(host), port, 0));
  if (!connection) return Preflight::kNotRun;
  WinHttpHandle request(WinHttpOpenRequest(connection.get(), L"HEAD", L"/", nullptr,
                                           WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES,
                                           WINHTTP_FLAG_SECURE));
  if (!request) return Preflight::kNotRun;
  ConfigureRequest(request.get(), HostIsPinned(host));
  PinGate gate(request.get(), host);
  if (!gate.armed()) return Preflight::kFailed;
  const bool sent = WinHttpSendRequest(request.get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0,
                                       WINHTTP_NO_REQUEST_DATA, 0, 0, gate.context());
  if (gate.refused()) {
    request.release();  // closed by the gate
    if (gate.refusal() == PinVerdict::kMismatched) ReportServerPinFailure(host);
    return Preflight::kFailed;
  }
  const bool received = sent && WinHttpReceiveResponse(request.get(), nullptr);
  if (!VerifyServerPin(request.get(), host)) return Preflight::kFailed;
  if (received) {
    // Read to its end (an answer to HEAD has no body, so this reads nothing): only a
    // finished exchange leaves its connection to WinHTTP for the next request to the
    // host; an unfinished one is closed with its handle.
    char end = 0;
    DWORD read = 0;
    WinHttpReadData(request.get(), &end, sizeof(end), &read);
  }
  std::lock_guard guard(mutex_);
  preflightedHosts_.insert(host);
  return Preflight::kPassed;
}

std::map<std::u16string, std::u16string> HttpClient::HeadersFor(
    const std::u16string& host, const std::vector<HeaderField>& requestHeaders) const {
  std::map<std::u16string, std::u16string> headers;
  {
    std::lock_guard guard(mutex_);
    headers = defaultHeaders_;
  }
  for (const HeaderField& header : requestHeaders) headers[header.name] = header.value;
  if (IsIdentityHost(host)) {
    const std::u16string deviceId = DeviceIdentifier();
    const std::u16string secondId = SecondDeviceIdentifier();
    if (!deviceId.empty()) headers.emplace(AsciiToUtf16(IdentityHeaderName()), deviceId);
    if (!secondId.empty()) headers.emplace(AsciiToUtf16(IdentitySecondHeaderName()), secondId);
  }
  return headers;
}

HttpResponse HttpClient::Send(std::u16string_view method, std::u16string_view url,
                              std::string_view body, std::u16string_view contentType,
                              const std::vector<HeaderField>& requestHeaders) {
  HttpResponse response;
  SplitUrl target;
  if (!Split(url, target)) {
    response.error = "Failed to parse URL";
    return response;
  }
  const bool checkPins = target.secure && !pinCheckDisabled_;
  if (checkPins && PreflightHost(target.host, target.port) == Preflight::kFailed) {
    response.error = "Pre-flight SSL Pin validation FAILED for " + Utf16ToUtf8(target.host) +
                     ". MITM Attack Prevented!";
    return response;
  }

  WinHttpHandle connection(
      WinHttpConnect(internetHandle_, WidePointer(target.host), target.port, 0));
  if (!connection) {
    response.error = "WinHttpConnect failed";
    return response;
  }
  const std::u16string verb(method);
  WinHttpHandle request(WinHttpOpenRequest(
      connection.get(), WidePointer(verb), WidePointer(target.path), nullptr, WINHTTP_NO_REFERER,
      WINHTTP_DEFAULT_ACCEPT_TYPES, target.secure ? WINHTTP_FLAG_SECURE : 0));
  if (!request) {
    response.error = "WinHttpOpenRequest failed";
    return response;
  }
  ConfigureRequest(request.get(), checkPins && HostIsPinned(target.host));

  if (target.secure) {
    for (const auto& [name, value] : HeadersFor(target.host, requestHeaders)) {
      AddHeader(request.get(), name + u": " + value);
    }
  }
  if (!contentType.empty())
    AddHeader(request.get(), u"Content-Type: " + std::u16string(contentType));

  // A check that cannot run is no pass: without its gate the request is not sent, and
  // one that went out unchecked is not believed.
  std::optional<PinGate> gate;
  if (checkPins) gate.emplace(request.get(), target.host);
  if (gate && !gate->armed()) {
    response.error = PinFailure(target.host);
    return response;
  }
  const auto length = static_cast<DWORD>(body.size());
  void* data = body.empty() ? WINHTTP_NO_REQUEST_DATA : const_cast<char*>(body.data());
  const bool sent = WinHttpSendRequest(request.get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0, data,
                                       length, length, gate ? gate->context() : 0);
  if (gate && gate->refused()) {
    request.release();  // closed by the gate
    response.error = PinFailure(target.host);
    if (gate->refusal() == PinVerdict::kMismatched) ReportServerPinFailure(target.host);
    return response;
  }
  if (sent && gate && !gate->checked()) {
    response.error = PinFailure(target.host);
    return response;
  }
  if (!sent) {
    response.error = SystemErrorText("WinHttpSendRequest failed: ");
    return response;
  }
  if (!WinHttpReceiveResponse(request.get(), nullptr)) {
    response.error = SystemErrorText("WinHttpReceiveResponse failed: ");
    return response;
  }
  // A second line behind the gate, as before it existed.
  if (checkPins && !VerifyServerPin(request.get(), target.host)) {
    response.error = PinFailure(target.host);
    return response;
  }

  DWORD status = 0;
  DWORD statusSize = sizeof(status);
  WinHttpQueryHeaders(request.get(), WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                      WINHTTP_HEADER_NAME_BY_INDEX, &status, &statusSize, WINHTTP_NO_HEADER_INDEX);
  response.statusCode = status;
  if (std::optional<std::string> error =
          ReadWholeBody(request.get(), CarriesBody(method, status), response.body)) {
    response.error = std::move(*error);
    return response;
  }
  response.success = status >= 200 && status <= 299;
  return response;
}
