#include "webview/message_bridge.h"

namespace {

bool IsWord(std::u16string_view message, std::u16string_view word) {
  return message == word || (message.size() == word.size() + 2 && message.front() == u'"' &&
                             message.back() == u'"' && message.substr(1, word.size()) == word);
}

}  // namespace

bool IsPrintRequest(std::u16string_view message) {
  return message == u"requestPrint" ||
         message.find(u"\"requestPrint\"") != std::u16string_view::npos;
}

InitScreenCommand InitScreenCommandFor(std::u16string_view message, bool hostExists) {
  if (IsPrintRequest(message)) return InitScreenCommand::kPrint;
  if (hostExists) {
    if (message == u"btn_home") return InitScreenCommand::kHome;
    if (message == u"btn_back") return InitScreenCommand::kBack;
    if (message == u"btn_reload") return InitScreenCommand::kReload;
  }
  if (message == u"btn_fullscreen") return InitScreenCommand::kToggleFullscreen;
  return InitScreenCommand::kNone;
}

PlayerCommand PlayerCommandFor(std::u16string_view message) {
  if (IsPrintRequest(message)) return PlayerCommand::kPrint;
  if (IsWord(message, u"toggleFullscreen")) return PlayerCommand::kToggleFullscreen;
  if (IsWord(message, u"pageLoaded")) return PlayerCommand::kPageLoaded;
  return PlayerCommand::kNone;
}
