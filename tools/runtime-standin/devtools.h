#pragma once
// The browser's DevTools protocol over one WebSocket: commands with ids and a completion
// each, and events routed by session (flattened sessions of attached pages; "" is the
// browser itself). Everything runs on the owner's thread.

#include <functional>
#include <map>
#include <memory>
#include <string>

#include "tools/runtime-standin/text.h"
#include "tools/runtime-standin/websocket.h"

namespace standin {

class DevTools : public std::enable_shared_from_this<DevTools> {
 public:
  // `error` is empty on success, else the protocol's message (or why the connection ended).
  using Reply = std::function<void(const Json& result, const std::string& error)>;
  using EventHandler = std::function<void(const std::string& method, const Json& params)>;

  explicit DevTools(std::shared_ptr<WebSocket> socket);
  ~DevTools();

  // Starts receiving; `closed` runs once the connection ended, after every pending command
  // was answered with an error.
  void Start(std::shared_ptr<Dispatcher> dispatcher, std::function<void(std::string)> closed);

  void Send(const std::string& method, Json params = Json::object(),
            const std::string& session = "", Reply reply = {});

  // The handler of one session's events (replacing any); Forget drops it.
  void Listen(const std::string& session, EventHandler handler);
  void Forget(const std::string& session);

  bool connected() const { return connected_; }
  // Ends the connection at once (the browser may live on).
  void Disconnect();

 private:
  void Receive(std::string text);
  void Closed(const std::string& why);

  std::shared_ptr<WebSocket> socket_;
  std::shared_ptr<Dispatcher> dispatcher_;
  bool connected_ = true;
  long long next_id_ = 1;
  std::map<long long, Reply> pending_;
  std::map<std::string, EventHandler> listeners_;
  std::function<void(std::string)> closed_;
};

}  // namespace standin
