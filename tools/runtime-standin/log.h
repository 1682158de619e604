#pragma once
// The record a test reads back: one JSON object per line, appended to the file named by
// QUORVEL_RUNTIME_LOG. A host call is {"t":…,"call":"Navigate","uri":…}, an event the
// stand-in raises is {"t":…,"event":"NavigationCompleted",…}, and a setting or script
// line the stand-in could not use is {"t":…,"error":"…"}. "t" counts milliseconds since
// the stand-in was loaded.

#include <windows.h>

#include <mutex>
#include <string>
#include <string_view>

#include "tools/runtime-standin/text.h"

namespace standin {

class Log {
 public:
  // An empty path records nothing.
  explicit Log(const std::wstring& path);
  ~Log();
  Log(const Log&) = delete;
  Log& operator=(const Log&) = delete;

  void Call(std::string_view method, const Json& arguments = Json::object());
  void Event(std::string_view name, const Json& members = Json::object());
  void Error(std::string_view message);
  // {"engine":"chromium","version":…,"pid":…}: the environment drives a real browser,
  // whose Unix process id is `process_id`.
  void Engine(std::string_view name, std::string_view version, unsigned long process_id);

 private:
  void Write(std::string_view kind, std::string_view name, const Json& members);

  HANDLE file_ = INVALID_HANDLE_VALUE;
  std::mutex mutex_;  // one line at a time, whole
};

}  // namespace standin
