#pragma once
// A small HTTP/1.1 server on 127.0.0.1 for the tests that drive a real browser: it serves
// fixed pages and records every request it got (method, path, headers, body), so a test
// can see what really reached the network.

#include <winsock2.h>

#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct SeenRequest {
  std::string method;
  std::string path;
  std::map<std::string, std::string> headers;  // names in lower case
  std::string body;
};

class LoopbackServer {
 public:
  // `pages` maps a path to its HTML; any other path is answered 404.
  explicit LoopbackServer(std::map<std::string, std::string> pages);
  ~LoopbackServer();

  unsigned short port() const { return port_; }
  std::string Url(const std::string& path) const;
  std::vector<SeenRequest> Seen() const;
  // The last request for `path`, or an empty method when there was none.
  SeenRequest Last(const std::string& path) const;

 private:
  void Serve();
  void Answer(SOCKET client);

  std::map<std::string, std::string> pages_;
  SOCKET listener_ = INVALID_SOCKET;
  unsigned short port_ = 0;
  std::atomic<bool> stopping_{false};
  mutable std::mutex mutex_;
  std::vector<SeenRequest> seen_;
  std::thread thread_;
};
