#pragma once
// The player's one HTTPS client: a thin synchronous layer over WinHTTP with default
// headers kept per client, public-key pinning and a fixed, conservative configuration:
// no proxy, no redirects, fixed time-outs. For a pinned host, the server's key is
// proven on the connection that carries each request, after the TLS handshake and
// before the request's first byte leaves (net/pin_gate.h); a pre-flight exchange per
// host and a second check on the response remain as further lines. Transport
// failures never throw; they come back in HttpResponse::error.

#include <map>
#include <mutex>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "common/header_field.h"
#include "net/http_response.h"

class HttpClient {
 public:
  // Throws std::runtime_error("WinHttpOpen failed") when WinHTTP cannot be opened.
  HttpClient();
  ~HttpClient();
  HttpClient(const HttpClient&) = delete;
  HttpClient& operator=(const HttpClient&) = delete;

  // The process-wide client, created on first use and kept until the process ends.
  static HttpClient& Shared();

  // Sent with every later HTTPS request of this client; a second call replaces the
  // value. A header that belongs to one request only goes with that request instead
  // (the `requestHeaders` of Get and Send).
  void SetHeader(std::u16string_view name, std::u16string_view value);

  // For a client that fetches from hosts outside the pin table's reach: no pre-flight
  // and no pin check, and the system's own certificate validation decides.
  void DisablePinCheck();

  HttpResponse Get(std::u16string_view url, const std::vector<HeaderField>& requestHeaders = {});
  HttpResponse Post(std::u16string_view url, std::string_view body,
                    std::u16string_view contentType);
  HttpResponse Put(std::u16string_view url, std::string_view body, std::u16string_view contentType);
  // Over plain http a request carries none of the client's headers, no identity
  // headers and none of `requestHeaders`: they hold identifiers and secrets.
  HttpResponse Send(std::u16string_view method, std::u16string_view url, std::string_view body,
                    std::u16string_view contentType,
                    const std::vector<HeaderField>& requestHeaders = {});

  // The root handle, for settings that apply to every request of this client.
  void* internetHandle() const { return internetHandle_; }

 private:
  enum class Preflight { kPassed, kFailed, kNotRun };
  // kPassed, and the host remembered, when a HEAD exchange proved the host's pins (or
  // the host was remembered already); kFailed when it did not; kNotRun when no
  // connection or request could even be made, which proves nothing and is not
  // remembered (the real request is still checked before it leaves).
  Preflight PreflightHost(const std::u16string& host, unsigned short port);
  std::map<std::u16string, std::u16string> HeadersFor(
      const std::u16string& host, const std::vector<HeaderField>& requestHeaders) const;

  void* internetHandle_ = nullptr;
  std::map<std::u16string, std::u16string> defaultHeaders_;
  mutable std::mutex mutex_;  // guards defaultHeaders_ and preflightedHosts_
  bool pinCheckDisabled_ = false;
  std::set<std::u16string> preflightedHosts_;
};
