#pragma once
// The player's one HTTPS client: a thin synchronous layer over WinHTTP with default
// headers kept per client, public-key pinning (a pre-flight check per host before any
// request body leaves the machine, and a second check on every real response), and a
// fixed, conservative configuration: no proxy, no redirects, fixed time-outs.
// Transport failures never throw; they come back in HttpResponse::error.

#include <map>
#include <mutex>
#include <set>
#include <string>
#include <string_view>

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

  // Sent with every later request of this client; a second call replaces the value.
  void SetHeader(std::u16string_view name, std::u16string_view value);

  // For a client that fetches from hosts outside the pin table's reach: no pre-flight
  // and no pin check, and the system's own certificate validation decides.
  void DisablePinCheck();

  HttpResponse Get(std::u16string_view url);
  HttpResponse Post(std::u16string_view url, std::string_view body,
                    std::u16string_view contentType);
  HttpResponse Put(std::u16string_view url, std::string_view body, std::u16string_view contentType);
  HttpResponse Send(std::u16string_view method, std::u16string_view url, std::string_view body,
                    std::u16string_view contentType);

  // The root handle, for settings that apply to every request of this client.
  void* internetHandle() const { return internetHandle_; }

 private:
  // False when the host failed its pre-flight pin check; the host is remembered
  // otherwise, so each host is pre-flighted once per client.
  bool Preflight(const std::u16string& host, unsigned short port);
  std::map<std::u16string, std::u16string> HeadersFor(const std::u16string& host) const;

  void* internetHandle_ = nullptr;
  std::map<std::u16string, std::u16string> defaultHeaders_;
  mutable std::mutex mutex_;  // guards defaultHeaders_ and preflightedHosts_
  bool pinCheckDisabled_ = false;
  std::set<std::u16string> preflightedHosts_;
};
