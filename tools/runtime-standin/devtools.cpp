#include "tools/runtime-standin/devtools.h"

#include <utility>

namespace standin {

DevTools::DevTools(std::shared_ptr<WebSocket> socket) : socket_(std::move(socket)) {}

DevTools::~DevTools() { Disconnect(); }

void DevTools::Start(std::shared_ptr<Dispatcher> dispatcher,
                     std::function<void(std::string)> closed) {
  closed_ = std::move(closed);
  dispatcher_ = dispatcher;
  std::weak_ptr<DevTools> self = weak_from_this();
  socket_->Start(
      std::move(dispatcher),
      [self](std::string text) {
        if (auto alive = self.lock()) alive->Receive(std::move(text));
      },
      [self](const std::string& why) {
        if (auto alive = self.lock()) alive->Closed(why);
      });
}

void DevTools::Send(const std::string& method, Json params, const std::string& session,
                    Reply reply) {
  const long long id = next_id_++;
  Json message = {{"id", id}, {"method", method}, {"params", std::move(params)}};
  if (!session.empty()) message["sessionId"] = session;
  if (!connected_) {
    // Answered later, like any reply, so the caller never sees its completion inside Send.
    if (reply && dispatcher_ != nullptr) {
      dispatcher_->Post([reply = std::move(reply)] { reply(Json::object(), "disconnected"); });
    }
    return;
  }
  // Kept even when sending fails: the reader then sees the end of the connection, and
  // Closed answers every pending command.
  if (reply) pending_.emplace(id, std::move(reply));
  socket_->SendText(message.dump(-1, ' ', false, Json::error_handler_t::replace));
}

void DevTools::Listen(const std::string& session, EventHandler handler) {
  listeners_[session] = std::move(handler);
}

void DevTools::Forget(const std::string& session) {
  auto entry = listeners_.find(session);
  if (entry == listeners_.end()) return;
  // Released after leaving the map: the handler may own what calls Forget.
  EventHandler released = std::move(entry->second);
  listeners_.erase(entry);
}

void DevTools::Disconnect() {
  if (socket_ != nullptr) socket_->Close();
}

void DevTools::Receive(std::string text) {
  // The browser's messages are trusted no more than any input: what is not an object of
  // the expected shape is dropped.
  Json message = Json::parse(text, nullptr, false);
  if (!message.is_object()) return;
  auto id = message.find("id");
  if (id != message.end() && id->is_number_integer()) {
    auto entry = pending_.find(id->get<long long>());
    if (entry == pending_.end()) return;
    Reply reply = std::move(entry->second);
    pending_.erase(entry);
    auto error = message.find("error");
    if (error != message.end()) {
      reply(Json::object(), error->is_object() ? error->value("message", std::string("error"))
                                               : std::string("error"));
    } else {
      auto result = message.find("result");
      reply(result != message.end() ? *result : Json::object(), "");
    }
    return;
  }
  auto method = message.find("method");
  if (method == message.end() || !method->is_string()) return;
  const std::string session = message.value("sessionId", std::string());
  auto listener = listeners_.find(session);
  if (listener == listeners_.end()) return;
  // A copy: the handler may forget its own session while it runs.
  EventHandler handler = listener->second;
  auto params = message.find("params");
  handler(method->get<std::string>(), params != message.end() ? *params : Json::object());
}

void DevTools::Closed(const std::string& why) {
  if (!connected_) return;
  connected_ = false;
  auto pending = std::move(pending_);
  pending_.clear();
  for (auto& [id, reply] : pending) reply(Json::object(), "disconnected: " + why);
  if (closed_) closed_(why);
}

}  // namespace standin
