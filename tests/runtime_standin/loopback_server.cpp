#include "tests/runtime_standin/loopback_server.h"

#include <ws2tcpip.h>

#include <algorithm>
#include <cctype>

LoopbackServer::LoopbackServer(std::map<std::string, std::string> pages)
    : pages_(std::move(pages)) {
  WSADATA data;
  WSAStartup(MAKEWORD(2, 2), &data);
  listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address = {};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof(address));
  listen(listener_, 16);
  int length = sizeof(address);
  getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
  port_ = ntohs(address.sin_port);
  thread_ = std::thread([this] { Serve(); });
}

LoopbackServer::~LoopbackServer() {
  stopping_ = true;
  closesocket(listener_);  // wakes accept
  thread_.join();
  WSACleanup();
}

std::string LoopbackServer::Url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + path;
}

std::vector<SeenRequest> LoopbackServer::Seen() const {
  std::lock_guard lock(mutex_);
  return seen_;
}

SeenRequest LoopbackServer::Last(const std::string& path) const {
  std::lock_guard lock(mutex_);
  for (auto seen = seen_.rbegin(); seen != seen_.rend(); ++seen) {
    if (seen->path == path) return *seen;
  }
  return {};
}

void LoopbackServer::Serve() {
  while (!stopping_) {
    SOCKET client = accept(listener_, nullptr, nullptr);
    if (client == INVALID_SOCKET) break;
    Answer(client);
    closesocket(client);
  }
}

// One request per connection ("Connection: close"), which is all the tests need.
void LoopbackServer::Answer(SOCKET client) {
  std::string text;
  char chunk[4096];
  std::size_t end = std::string::npos;
  while (end == std::string::npos) {
    const int got = recv(client, chunk, sizeof(chunk), 0);
    if (got <= 0) return;
    text.append(chunk, got);
    end = text.find("\r\n\r\n");
  }
  SeenRequest request;
  const std::size_t line_end = text.find("\r\n");
  const std::string line = text.substr(0, line_end);
  const std::size_t space = line.find(' ');
  request.method = line.substr(0, space);
  request.path = line.substr(space + 1, line.find(' ', space + 1) - space - 1);
  std::size_t position = line_end + 2;
  while (position < end) {
    const std::size_t next = text.find("\r\n", position);
    const std::string header = text.substr(position, next - position);
    const std::size_t colon = header.find(':');
    if (colon != std::string::npos) {
      std::string name = header.substr(0, colon);
      std::transform(name.begin(), name.end(), name.begin(),
                     [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
      request.headers[name] = header.substr(header.find_first_not_of(' ', colon + 1));
    }
    position = next + 2;
  }
  const std::size_t length =
      std::stoul(request.headers.count("content-length") ? request.headers["content-length"] : "0");
  request.body = text.substr(end + 4);
  while (request.body.size() < length) {
    const int got = recv(client, chunk, sizeof(chunk), 0);
    if (got <= 0) break;
    request.body.append(chunk, got);
  }
  const std::string path = request.path.substr(0, request.path.find('?'));
  {
    std::lock_guard lock(mutex_);
    seen_.push_back(request);
  }
  auto page = pages_.find(path);
  const std::string body = page != pages_.end() ? page->second : "not here";
  const std::string answer =
      std::string(page != pages_.end() ? "HTTP/1.1 200 OK" : "HTTP/1.1 404 Not Found") +
      "\r\nContent-Type: text/html; charset=utf-8\r\nCache-Control: no-store\r\nContent-Length: " +
      std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
  send(client, answer.data(), static_cast<int>(answer.size()), 0);
}
