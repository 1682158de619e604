#include "net/http_client.h"

#include <stdexcept>
#include <vector>

#include "common/device_identity.h"
#include "common/platform_values.h"
#include "common/text.h"
#include "net/server_pin.h"
#include "net/winhttp_request.h"

namespace {

constexpr int kResolveTimeoutMs = 10000;
constexpr int kConnectTimeoutMs = 10000;
constexpr int kSendTimeoutMs = 30000;
constexpr int kReceiveTimeoutMs = 30000;

struct SplitUrl {
  std::u16string host;
  std::u16string path;
  INTERNET_PORT port = 0;
  bool secure = false;
};

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
  split.host = FromWide(host);
  split.path = FromWide(path);
  split.port = parts.nPort;
  split.secure = parts.nScheme == INTERNET_SCHEME_HTTPS;
  return true;
}

std::string SystemErrorText(const char* step) {
  return std::string(step) + std::to_string(GetLastError());
}

bool IsPlatformHost(const std::u16string& host) {
  const std::string lowerHost = Utf16ToUtf8(AsciiLower(host));
  for (const std::string& fragment : IdentityHostFragments()) {
    if (!fragment.empty() && lowerHost.find(fragment) != std::string::npos) return true;
  }
  return false;
}

void AddHeader(HINTERNET request, const std::u16string& line) {
  WinHttpAddRequestHeaders(request, WidePointer(line), static_cast<DWORD>(line.size()),
                           WINHTTP_ADDREQ_FLAG_ADD | WINHTTP_ADDREQ_FLAG_REPLACE);
}

std::string ReadBody(HINTERNET request) {
  std::string body;
  for (;;) {
    DWORD available = 0;
    if (!WinHttpQueryDataAvailable(request, &available)) available = 0;
    if (available == 0) break;
    std::vector<char> chunk(available + 1, '\0');
    DWORD read = 0;
    if (!WinHttpReadData(request, chunk.data(), available, &read)) read = 0;
    // A failed read adds nothing; the next availability query then ends the loop.
    body.append(chunk.data(), read);
    if (read == 0) break;
  }
  return body;
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

HttpResponse HttpClient::Get(std::u16string_view url) { return Send(u"GET", url, {}, {}); }

HttpResponse HttpClient::Post(std::u16string_view url, std::string_view body,
                              std::u16string_view contentType) {
  return Send(u"POST", url, body, contentType);
}

HttpResponse HttpClient::Put(std::u16string_view url, std::string_view body,
                             std::u16string_view contentType) {
  return Send(u"PUT", url, body, contentType);
}

bool HttpClient::Preflight(const std::u16string& host, unsigned short port) {
  {
    std::lock_guard guard(mutex_);
    if (preflightedHosts_.contains(host)) return true;
  }
  // A HEAD exchange proves the server's keys before a request body can leave.
  WinHttpHandle connection(WinHttpConnect(internetHandle_, WidePointer(host), port, 0));
  if (connection) {
    WinHttpHandle request(WinHttpOpenRequest(connection.get(), L"HEAD", L"/", nullptr,
                                             WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES,
                                             WINHTTP_FLAG_SECURE));
    if (request) {
      ConfigureRequest(request.get(), HostIsPinned(host));
      if (WinHttpSendRequest(request.get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0,
                             WINHTTP_NO_REQUEST_DATA, 0, 0, 0)) {
        WinHttpReceiveResponse(request.get(), nullptr);
      }
      if (!VerifyServerPin(request.get(), host)) return false;
    }
  }
  std::lock_guard guard(mutex_);
  preflightedHosts_.insert(host);
  return true;
}

std::map<std::u16string, std::u16string> HttpClient::HeadersFor(const std::u16string& host) const {
  std::map<std::u16string, std::u16string> headers;
  {
    std::lock_guard guard(mutex_);
    headers = defaultHeaders_;
  }
  if (IsPlatformHost(host)) {
    const std::u16string deviceId = DeviceIdentifier();
    const std::u16string secondId = SecondDeviceIdentifier();
    if (!deviceId.empty()) headers.emplace(AsciiToUtf16(IdentityHeaderName()), deviceId);
    if (!secondId.empty()) headers.emplace(AsciiToUtf16(IdentitySecondHeaderName()), secondId);
  }
  return headers;
}

HttpResponse HttpClient::Send(std::u16string_view method, std::u16string_view url,
                              std::string_view body, std::u16string_view contentType) {
  HttpResponse response;
  SplitUrl target;
  if (!Split(url, target)) {
    response.error = "Failed to parse URL";
    return response;
  }
  const bool checkPins = target.secure && !pinCheckDisabled_;
  if (checkPins && !Preflight(target.host, target.port)) {
    response.error = "Pre-flight SSL Pin validation FAILED for " + Utf16ToUtf8(target.host) +
                     ". MITM Attack Prevented!";
    return response;
  }

  WinHttpHandle connection(WinHttpConnect(internetHandle_, WidePointer(target.host), target.port, 0));
  if (!connection) {
    response.error = "WinHttpConnect failed";
    return response;
  }
  const std::u16string verb(method);
  WinHttpHandle request(WinHttpOpenRequest(connection.get(), WidePointer(verb), WidePointer(target.path), nullptr,
                                           WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES,
                                           target.secure ? WINHTTP_FLAG_SECURE : 0));
  if (!request) {
    response.error = "WinHttpOpenRequest failed";
    return response;
  }
  ConfigureRequest(request.get(), checkPins && HostIsPinned(target.host));

  for (const auto& [name, value] : HeadersFor(target.host)) {
    AddHeader(request.get(), name + u": " + value);
  }
  if (!contentType.empty())
    AddHeader(request.get(), u"Content-Type: " + std::u16string(contentType));

  const auto length = static_cast<DWORD>(body.size());
  void* data = body.empty() ? WINHTTP_NO_REQUEST_DATA : const_cast<char*>(body.data());
  if (!WinHttpSendRequest(request.get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0, data, length, length,
                          0)) {
    response.error = SystemErrorText("WinHttpSendRequest failed: ");
    return response;
  }
  if (!WinHttpReceiveResponse(request.get(), nullptr)) {
    response.error = SystemErrorText("WinHttpReceiveResponse failed: ");
    return response;
  }
  if (checkPins && !VerifyServerPin(request.get(), target.host)) {
    response.error = "SSL Pin validation FAILED for " + Utf16ToUtf8(target.host);
    return response;
  }

  DWORD status = 0;
  DWORD statusSize = sizeof(status);
  WinHttpQueryHeaders(request.get(), WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                      WINHTTP_HEADER_NAME_BY_INDEX, &status, &statusSize, WINHTTP_NO_HEADER_INDEX);
  response.statusCode = status;
  response.body = ReadBody(request.get());
  response.success = status >= 200 && status <= 299;
  return response;
}
