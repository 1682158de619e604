#pragma once
// The handlers registered for one event, with the tokens that name them.

#include <windows.h>

#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "tools/runtime-standin/com_object.h"
#include "tools/runtime-standin/log.h"

namespace standin {

// Tokens are unique in the process, so a token of one event never removes another's.
INT64 NextEventToken();

// Handler is the event's handler interface, or IUnknown for events the stand-in accepts
// handlers for but never raises (their interfaces are only forward-declared; see
// AsUnknown).
template <class Handler>
class EventSource {
 public:
  HRESULT Add(Handler* handler, EventRegistrationToken* token) {
    if (handler == nullptr || token == nullptr) return E_INVALIDARG;
    token->value = NextEventToken();
    handlers_.emplace_back(token->value, ComPtr<Handler>(handler));
    return S_OK;
  }

  // Removing an unknown token does nothing, as with the runtime.
  void Remove(EventRegistrationToken token) {
    for (auto entry = handlers_.begin(); entry != handlers_.end(); ++entry) {
      if (entry->first == token.value) {
        // Released after leaving the list: the handler's end may reach back into us.
        ComPtr<Handler> removed = std::move(entry->second);
        handlers_.erase(entry);
        return;
      }
    }
  }

  // A copy to raise the event over: handlers may add or remove handlers while it runs.
  std::vector<ComPtr<Handler>> Handlers() const {
    std::vector<ComPtr<Handler>> handlers;
    for (const auto& entry : handlers_) handlers.push_back(entry.second);
    return handlers;
  }

  void Clear() {
    auto released = std::move(handlers_);
    handlers_.clear();
  }

 private:
  std::vector<std::pair<INT64, ComPtr<Handler>>> handlers_;
};

// A handler interface the ABI headers only forward-declare, as the IUnknown it starts
// with: every COM interface begins with IUnknown's three methods at the same address, so
// the stand-in can hold and release it without knowing the rest.
template <class Interface>
IUnknown* AsUnknown(Interface* handler) {
  return reinterpret_cast<IUnknown*>(handler);
}

// Registration as the host sees it, logged: {"call":"add_NavigationStarting","token":N}
// and {"call":"remove_NavigationStarting","token":N}.
template <class Handler>
HRESULT AddHandler(Log& log, std::string_view event, EventSource<Handler>& source, Handler* handler,
                   EventRegistrationToken* token) {
  const HRESULT result = source.Add(handler, token);
  if (SUCCEEDED(result)) log.Call("add_" + std::string(event), {{"token", token->value}});
  return result;
}

template <class Handler>
HRESULT RemoveHandler(Log& log, std::string_view event, EventSource<Handler>& source,
                      EventRegistrationToken token) {
  log.Call("remove_" + std::string(event), {{"token", token.value}});
  source.Remove(token);
  return S_OK;
}

// Handlers of the events the stand-in accepts but never raises, held (and released) as
// the runtime holds them.
class UnraisedEvents {
 public:
  template <class Handler>
  HRESULT Add(Log& log, std::string_view event, Handler* handler, EventRegistrationToken* token) {
    return AddHandler(log, event, sources_[std::string(event)], AsUnknown(handler), token);
  }

  HRESULT Remove(Log& log, std::string_view event, EventRegistrationToken token) {
    return RemoveHandler(log, event, sources_[std::string(event)], token);
  }

  void Clear() {
    auto released = std::move(sources_);
    sources_.clear();
  }

 private:
  std::map<std::string, EventSource<IUnknown>, std::less<>> sources_;
};

}  // namespace standin
