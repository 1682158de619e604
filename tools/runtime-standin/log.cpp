#include "tools/runtime-standin/log.h"

#include <chrono>

namespace standin {
namespace {

// Taken when the library is loaded, by the initialisation of its statics.
const std::chrono::steady_clock::time_point kLoaded = std::chrono::steady_clock::now();

long long MillisecondsSinceLoad() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                               kLoaded)
      .count();
}

}  // namespace

Log::Log(const std::wstring& path) {
  if (path.empty()) return;
  // Appending keeps lines of several environments (and processes) whole and in order;
  // the sharing lets a test read or remove the file while the host still runs.
  file_ = CreateFileW(path.c_str(), FILE_APPEND_DATA,
                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                      FILE_ATTRIBUTE_NORMAL, nullptr);
}

Log::~Log() {
  if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
}

void Log::Call(std::string_view method, const Json& arguments) { Write("call", method, arguments); }

void Log::Event(std::string_view name, const Json& members) { Write("event", name, members); }

void Log::Error(std::string_view message) { Write("error", message, Json::object()); }

void Log::Engine(std::string_view name, std::string_view version, unsigned long process_id) {
  Write("engine", name, {{"version", version}, {"pid", process_id}});
}

void Log::Write(std::string_view kind, std::string_view name, const Json& members) {
  if (file_ == INVALID_HANDLE_VALUE) return;
  try {
    Json line = Json::object();
    line["t"] = MillisecondsSinceLoad();
    line[std::string(kind)] = name;
    for (const auto& [key, value] : members.items()) line[key] = value;
    const std::string text = line.dump(-1, ' ', false, Json::error_handler_t::replace) + "\n";
    std::lock_guard lock(mutex_);
    DWORD written = 0;
    WriteFile(file_, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  } catch (...) {
    // A record that cannot be written must not break the host's call.
  }
}

}  // namespace standin
