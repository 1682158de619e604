#include "tools/runtime-standin/script.h"

#include <filesystem>
#include <fstream>
#include <limits>
#include <mutex>
#include <set>
#include <string_view>
#include <utility>

#include "tools/runtime-standin/environment.h"
#include "tools/runtime-standin/log.h"
#include "tools/runtime-standin/webview.h"

namespace standin {
namespace {

using Value = nlohmann::json;

// A problem with one line of the script, reported with the line's number.
struct ScriptError {
  std::string message;
};

std::wstring RequiredText(const Value& line, const char* member) {
  auto found = line.find(member);
  if (found == line.end() || !found->is_string()) {
    throw ScriptError{std::string("needs the text member \"") + member + "\""};
  }
  return Wide(found->get<std::string>());
}

template <class T>
T OptionalNumber(const Value& line, const char* member, T fallback) {
  auto found = line.find(member);
  if (found == line.end()) return fallback;
  if (!found->is_number_integer()) {
    throw ScriptError{std::string("\"") + member + "\" must be a whole number"};
  }
  const long long number = found->get<long long>();
  if (number < static_cast<long long>(std::numeric_limits<T>::min()) ||
      number > static_cast<long long>(std::numeric_limits<T>::max())) {
    throw ScriptError{std::string("\"") + member + "\" is out of range"};
  }
  return static_cast<T>(number);
}

// A number, or text such as "0x80004005", read as the 32 bits of an HRESULT.
HRESULT Code(const Value& line) {
  auto found = line.find("hr");
  if (found == line.end()) return S_OK;
  long long number = 0;
  if (found->is_number_integer()) {
    number = found->get<long long>();
  } else if (found->is_string()) {
    const std::string text = found->get<std::string>();
    std::size_t used = 0;
    try {
      number = std::stoll(text, &used, 0);
    } catch (const std::exception&) {
      used = 0;
    }
    if (used == 0 || used != text.size()) throw ScriptError{"\"hr\" is not a number"};
  } else {
    throw ScriptError{"\"hr\" must be a number or text"};
  }
  if (number < std::numeric_limits<INT32>::min() || number > std::numeric_limits<UINT32>::max()) {
    throw ScriptError{"\"hr\" is out of range"};
  }
  return static_cast<HRESULT>(static_cast<UINT32>(number));
}

Stimulus Parse(const Value& line) {
  if (!line.is_object()) throw ScriptError{"is not a JSON object"};
  auto action = line.find("do");
  if (action == line.end() || !action->is_string()) throw ScriptError{"has no \"do\""};
  const std::string name = action->get<std::string>();
  Stimulus stimulus;
  stimulus.after_ms = OptionalNumber<UINT>(line, "afterMs", 0);
  if (auto once = line.find("once"); once != line.end()) {
    if (!once->is_boolean()) throw ScriptError{"\"once\" must be true or false"};
    stimulus.once = once->get<bool>();
  }
  if (name == "navigate") {
    stimulus.action = Stimulus::Action::kNavigate;
    stimulus.uri = RequiredText(line, "uri");
  } else if (name == "message" || name == "messageJson") {
    // A string posted by the page arrives as JSON text too: the string in quotes, escaped.
    const bool as_json = name == "messageJson";
    stimulus.action = as_json ? Stimulus::Action::kMessageJson : Stimulus::Action::kMessage;
    auto message = line.find(as_json ? "json" : "text");
    if (message == line.end() || (!as_json && !message->is_string())) {
      throw ScriptError{as_json ? "needs the member \"json\"" : "needs the text member \"text\""};
    }
    stimulus.message_json = Wide(message->dump(-1, ' ', false, Value::error_handler_t::replace));
    if (message->is_string()) stimulus.message_text = Wide(message->get<std::string>());
  } else if (name == "resource") {
    stimulus.action = Stimulus::Action::kResource;
    stimulus.uri = RequiredText(line, "uri");
    stimulus.context = OptionalNumber<int>(line, "context", stimulus.context);
    stimulus.source_kind = OptionalNumber<int>(line, "sourceKind", stimulus.source_kind);
    if (line.contains("method")) stimulus.method = RequiredText(line, "method");
    if (auto headers = line.find("headers"); headers != line.end()) {
      if (!headers->is_object()) throw ScriptError{"\"headers\" must be an object"};
      for (const auto& [header, value] : headers->items()) {
        if (!value.is_string()) throw ScriptError{"header values must be text"};
        stimulus.headers.emplace_back(Wide(header), Wide(value.get<std::string>()));
      }
    }
  } else if (name == "newWindow") {
    stimulus.action = Stimulus::Action::kNewWindow;
    stimulus.uri = RequiredText(line, "uri");
  } else if (name == "permission") {
    stimulus.action = Stimulus::Action::kPermission;
    if (!line.contains("kind")) throw ScriptError{"needs the member \"kind\""};
    stimulus.kind = OptionalNumber<int>(line, "kind", 0);
    if (line.contains("uri")) stimulus.uri = RequiredText(line, "uri");
  } else if (name == "printResult") {
    stimulus.action = Stimulus::Action::kPrintResult;
    stimulus.kind = OptionalNumber<int>(line, "status", COREWEBVIEW2_PRINT_STATUS_SUCCEEDED);
    stimulus.code = Code(line);
  } else if (name == "browserExit") {
    stimulus.action = Stimulus::Action::kBrowserExit;
    stimulus.kind =
        OptionalNumber<int>(line, "kind", COREWEBVIEW2_BROWSER_PROCESS_EXIT_KIND_FAILED);
  } else if (name == "processFailed") {
    stimulus.action = Stimulus::Action::kProcessFailed;
    if (!line.contains("kind")) throw ScriptError{"needs the member \"kind\""};
    stimulus.kind = OptionalNumber<int>(line, "kind", 0);
  } else if (name == "evaluate") {
    stimulus.action = Stimulus::Action::kEvaluate;
    stimulus.script = Utf8(RequiredText(line, "script"));
  } else {
    throw ScriptError{"does nothing the stand-in knows: \"" + name + "\""};
  }
  return stimulus;
}

}  // namespace

std::vector<Stimulus> ReadScript(const std::wstring& path, Log& log) {
  std::vector<Stimulus> stimuli;
  if (path.empty()) return stimuli;
  std::ifstream file(std::filesystem::path(path), std::ios::binary);
  if (!file) {
    log.Error("QUORVEL_RUNTIME_SCRIPT cannot be read: " + Utf8(path));
    return stimuli;
  }
  std::string text;
  for (int number = 1; std::getline(file, text); ++number) {
    if (!text.empty() && text.back() == '\r') text.pop_back();
    if (text.find_first_not_of(" \t") == std::string::npos) continue;  // blank lines
    try {
      stimuli.push_back(Parse(Value::parse(text)));
    } catch (const ScriptError& error) {
      log.Error("script line " + std::to_string(number) + " " + error.message);
    } catch (const std::exception& error) {
      log.Error("script line " + std::to_string(number) + " is not JSON: " + error.what());
    }
  }
  return stimuli;
}

void ScriptPlayer::Start() {
  if (started_ || stopped_) return;
  started_ = true;
  ScheduleNext();
}

void ScriptPlayer::NavigationFinished() {
  if (started_ && !stopped_) ScheduleNext();
}

void ScriptPlayer::Stop() {
  stopped_ = true;
  if (timer_ != 0) view_.dispatcher().Cancel(timer_);
  timer_ = 0;
}

void ScriptPlayer::ScheduleNext() {
  if (stopped_ || timer_ != 0) return;
  SkipPlayedOnce();
  const std::vector<Stimulus>& script = view_.script();
  if (next_ >= script.size()) return;
  // The timer's task keeps the view alive until it runs or Stop cancels it.
  ComPtr<WebView> view(&view_);
  timer_ = view_.dispatcher().PostAfter(script[next_].after_ms, [view] {
    ScriptPlayer& player = view->player();
    player.timer_ = 0;
    player.PlayNext();
  });
}

void ScriptPlayer::SkipPlayedOnce() {
  // By script file and line: each environment reads the file again.
  static std::mutex mutex;
  static std::set<std::pair<std::wstring, std::size_t>> played;
  const std::vector<Stimulus>& script = view_.script();
  const std::wstring& file = view_.shared_state()->config.script_path;
  std::lock_guard<std::mutex> lock(mutex);
  while (next_ < script.size() && script[next_].once) {
    if (played.insert({file, next_}).second) return;  // this view plays it
    ++next_;
  }
}

void ScriptPlayer::PlayNext() {
  if (stopped_) return;
  const Stimulus& stimulus = view_.script()[next_++];
  Play(stimulus);
  // A navigation counts as played once it has ended (NavigationFinished).
  if (stimulus.action != Stimulus::Action::kNavigate) ScheduleNext();
}

void ScriptPlayer::Play(const Stimulus& stimulus) {
  switch (stimulus.action) {
    case Stimulus::Action::kNavigate:
      view_.PageNavigate(stimulus.uri);
      break;
    case Stimulus::Action::kMessage:
    case Stimulus::Action::kMessageJson:
      view_.PagePostMessage(stimulus.message_json, stimulus.message_text);
      break;
    case Stimulus::Action::kResource:
      view_.PageRequestResource(stimulus);
      break;
    case Stimulus::Action::kNewWindow:
      view_.PageOpenWindow(stimulus.uri);
      break;
    case Stimulus::Action::kPermission:
      view_.PageRequestPermission(stimulus.uri.empty() ? view_.CurrentUri() : stimulus.uri,
                                  static_cast<COREWEBVIEW2_PERMISSION_KIND>(stimulus.kind));
      break;
    case Stimulus::Action::kPrintResult:
      view_.QueuePrintOutcome(stimulus.code, static_cast<COREWEBVIEW2_PRINT_STATUS>(stimulus.kind));
      break;
    case Stimulus::Action::kBrowserExit:
      view_.environment().BrowserProcessExits(
          static_cast<COREWEBVIEW2_BROWSER_PROCESS_EXIT_KIND>(stimulus.kind));
      break;
    case Stimulus::Action::kEvaluate:
      view_.PageEvaluate(stimulus.script);
      break;
    case Stimulus::Action::kProcessFailed:
      view_.PageProcessFails(static_cast<COREWEBVIEW2_PROCESS_FAILED_KIND>(stimulus.kind));
      break;
  }
}

}  // namespace standin
