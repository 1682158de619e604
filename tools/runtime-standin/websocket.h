#pragma once
// A WebSocket client over Winsock, for the browser's DevTools endpoint on loopback. The
// handshake is made by Connect on the calling thread; afterwards one reader thread per
// connection receives, answers pings and hands every message to the owner's thread
// through its Dispatcher, so the owner's handlers never run on the reader thread.

#include <winsock2.h>

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

#include "tools/runtime-standin/dispatch.h"

namespace standin {

class WebSocket : public std::enable_shared_from_this<WebSocket> {
 public:
  using MessageHandler = std::function<void(std::string message)>;
  using ClosedHandler = std::function<void(const std::string& why)>;

  // Connects to ws://host:port/path and upgrades; null with `error` set on failure.
  // Blocking: meant for a worker thread.
  static std::shared_ptr<WebSocket> Connect(const std::string& host, unsigned short port,
                                            const std::string& path, std::string& error);

  ~WebSocket();
  WebSocket(const WebSocket&) = delete;
  WebSocket& operator=(const WebSocket&) = delete;

  // Starts reading. Both handlers run on `dispatcher`'s thread; `closed` runs once, after
  // the last message, when the connection ended for whatever reason (the server closed,
  // malformed input, Close).
  void Start(std::shared_ptr<Dispatcher> dispatcher, MessageHandler message, ClosedHandler closed);

  // Sends one text message; false when the connection is gone. Any thread.
  bool SendText(std::string_view text);

  // Ends the connection and waits for the reader thread; `closed` follows while the object
  // lives.
  void Close();

 private:
  explicit WebSocket(SOCKET socket, std::string already_received);
  void Read();
  bool SendFrame(int opcode, std::string_view payload);

  SOCKET socket_;
  std::string already_received_;  // bytes that came with the handshake's answer
  std::mutex send_mutex_;
  bool send_failed_ = false;
  std::thread reader_;
  std::shared_ptr<Dispatcher> dispatcher_;
  MessageHandler on_message_;
  ClosedHandler on_closed_;
};

}  // namespace standin
