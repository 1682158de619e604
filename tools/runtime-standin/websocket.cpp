#include "tools/runtime-standin/websocket.h"

#include <ws2tcpip.h>

#include <array>
#include <random>
#include <utility>
#include <vector>

#include "common/base64.h"
#include "tools/runtime-standin/websocket_frame.h"

namespace standin {
namespace {

// Screencast frames of a large view run to a few MiB of base64; anything far beyond is
// not something the browser sends.
constexpr std::size_t kMaxMessageBytes = 64u << 20;
constexpr std::size_t kMaxHandshakeBytes = 16384;

std::array<std::uint8_t, 4> RandomMask() {
  thread_local std::mt19937 generator{std::random_device{}()};
  std::array<std::uint8_t, 4> mask;
  for (auto& byte : mask) byte = static_cast<std::uint8_t>(generator());
  return mask;
}

std::string RandomKey() {
  std::string bytes;
  for (int i = 0; i < 4; ++i) {
    const auto mask = RandomMask();
    bytes.append(reinterpret_cast<const char*>(mask.data()), mask.size());
  }
  return Base64Encode(bytes);
}

bool SendAll(SOCKET socket, std::string_view bytes) {
  while (!bytes.empty()) {
    const int sent = send(socket, bytes.data(), static_cast<int>(bytes.size()), 0);
    if (sent <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(sent));
  }
  return true;
}

bool WinsockStarted() {
  static const bool started = [] {
    WSADATA data;
    return WSAStartup(MAKEWORD(2, 2), &data) == 0;
  }();
  return started;
}

}  // namespace

std::shared_ptr<WebSocket> WebSocket::Connect(const std::string& host, unsigned short port,
                                              const std::string& path, std::string& error) {
  if (!WinsockStarted()) {
    error = "Winsock did not start";
    return nullptr;
  }
  SOCKET connection = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (connection == INVALID_SOCKET) {
    error = "no socket: " + std::to_string(WSAGetLastError());
    return nullptr;
  }
  sockaddr_in address = {};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  if (inet_pton(AF_INET, host.c_str(), &address.sin_addr) != 1 ||
      connect(connection, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0) {
    error = "cannot connect to " + host + ":" + std::to_string(port);
    closesocket(connection);
    return nullptr;
  }
  const std::string request = "GET " + path + " HTTP/1.1\r\nHost: " + host + ":" +
                              std::to_string(port) +
                              "\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n"
                              "Sec-WebSocket-Key: " +
                              RandomKey() + "\r\nSec-WebSocket-Version: 13\r\n\r\n";
  std::string answer;
  std::size_t end = std::string::npos;
  if (SendAll(connection, request)) {
    char chunk[4096];
    while (end == std::string::npos && answer.size() < kMaxHandshakeBytes) {
      const int got = recv(connection, chunk, sizeof(chunk), 0);
      if (got <= 0) break;
      answer.append(chunk, static_cast<std::size_t>(got));
      end = answer.find("\r\n\r\n");
    }
  }
  // "HTTP/1.1 101 Switching Protocols": anything else is not a WebSocket endpoint.
  if (end == std::string::npos || answer.compare(0, 13, "HTTP/1.1 101 ") != 0) {
    error = "no WebSocket upgrade: " + answer.substr(0, answer.find("\r\n"));
    closesocket(connection);
    return nullptr;
  }
  return std::shared_ptr<WebSocket>(new WebSocket(connection, answer.substr(end + 4)));
}

WebSocket::WebSocket(SOCKET socket, std::string already_received)
    : socket_(socket), already_received_(std::move(already_received)) {}

WebSocket::~WebSocket() {
  Close();
  closesocket(socket_);
}

void WebSocket::Start(std::shared_ptr<Dispatcher> dispatcher, MessageHandler message,
                      ClosedHandler closed) {
  dispatcher_ = std::move(dispatcher);
  on_message_ = std::move(message);
  on_closed_ = std::move(closed);
  reader_ = std::thread([this] { Read(); });
}

void WebSocket::Close() {
  // Shutting the socket down wakes the reader from recv; the socket itself is closed only
  // by the destructor, so its handle cannot be reused while the reader still holds it.
  shutdown(socket_, SD_BOTH);
  if (reader_.joinable() && reader_.get_id() != std::this_thread::get_id()) reader_.join();
}

bool WebSocket::SendText(std::string_view text) {
  return SendFrame(static_cast<int>(websocket::Opcode::kText), text);
}

bool WebSocket::SendFrame(int opcode, std::string_view payload) {
  const std::string frame =
      websocket::EncodeClientFrame(static_cast<websocket::Opcode>(opcode), payload, RandomMask());
  std::lock_guard lock(send_mutex_);
  if (send_failed_) return false;
  send_failed_ = !SendAll(socket_, frame);
  return !send_failed_;
}

void WebSocket::Read() {
  websocket::FrameDecoder decoder(kMaxMessageBytes);
  std::vector<websocket::Received> received;
  std::string why = "the connection ended";
  std::weak_ptr<WebSocket> self = weak_from_this();
  // Each message reaches the owner in a task of its own, in order; the task does nothing
  // once the connection object is gone.
  const auto deliver = [&](std::string message) {
    dispatcher_->Post([self, message = std::move(message)]() mutable {
      if (auto alive = self.lock()) alive->on_message_(std::move(message));
    });
  };
  std::vector<char> chunk(65536);
  std::string bytes = std::move(already_received_);
  bool open = true;
  while (open) {
    if (bytes.empty()) {
      const int got = recv(socket_, chunk.data(), static_cast<int>(chunk.size()), 0);
      if (got <= 0) break;
      bytes.assign(chunk.data(), static_cast<std::size_t>(got));
    }
    received.clear();
    const bool well_formed = decoder.Feed(bytes, received);
    bytes.clear();
    for (auto& message : received) {
      switch (message.kind) {
        case websocket::Received::Kind::kText:
        case websocket::Received::Kind::kBinary:
          deliver(std::move(message.payload));
          break;
        case websocket::Received::Kind::kPing:
          SendFrame(static_cast<int>(websocket::Opcode::kPong), message.payload);
          break;
        case websocket::Received::Kind::kPong:
          break;
        case websocket::Received::Kind::kClose:
          // Echo the status code, as the protocol asks, and stop.
          SendFrame(static_cast<int>(websocket::Opcode::kClose), message.payload.substr(0, 2));
          why = "the server closed the connection";
          open = false;
          break;
      }
      if (!open) break;
    }
    if (!well_formed) {
      why = "malformed input from the server: " + decoder.error();
      // 1002: protocol error.
      SendFrame(static_cast<int>(websocket::Opcode::kClose), std::string("\x03\xEA", 2));
      open = false;
    }
  }
  shutdown(socket_, SD_BOTH);
  dispatcher_->Post([self, why] {
    if (auto alive = self.lock()) {
      if (alive->on_closed_) alive->on_closed_(why);
    }
  });
}

}  // namespace standin
