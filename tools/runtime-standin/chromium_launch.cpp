#include "tools/runtime-standin/chromium_launch.h"

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "tools/runtime-standin/text.h"

namespace standin {
namespace {

// ntdll's export for starting a Unix program from a Wine process; it does not wait when
// `wait` is 0.
using UnixSpawn = LONG(CDECL*)(char* const argv[], int wait);  // an NTSTATUS

std::string ReadWholeFile(const std::wstring& path) {
  std::ifstream file(path.c_str(), std::ios::binary);
  if (!file) return {};
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

// The Unix pid of this Wine process. Wine opens files in the process itself, so
// /proc/self is this process.
unsigned long OwnUnixPid() {
  const std::string stat = ReadWholeFile(L"Z:\\proc\\self\\stat");
  return std::strtoul(stat.c_str(), nullptr, 10);
}

// Chromium refuses its sandbox to root.
bool RunningAsRoot() {
  std::istringstream status(ReadWholeFile(L"Z:\\proc\\self\\status"));
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("Uid:", 0) == 0) {
      std::istringstream ids(line.substr(4));
      unsigned long real = 1;
      ids >> real;
      return real == 0;
    }
  }
  return false;
}

bool FileExists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// "port\n/devtools/browser/id", written by Chromium once it listens.
bool ReadActivePort(const std::wstring& path, LaunchedChromium& launched) {
  std::istringstream text(ReadWholeFile(path));
  std::string port, browser_path;
  if (!std::getline(text, port) || !std::getline(text, browser_path)) return false;
  if (!browser_path.empty() && browser_path.back() == '\r') browser_path.pop_back();
  char* end = nullptr;
  const unsigned long number = std::strtoul(port.c_str(), &end, 10);
  if (end == port.c_str() || number == 0 || number > 65535) return false;
  if (browser_path.rfind("/devtools/browser/", 0) != 0) return false;
  launched.port = static_cast<unsigned short>(number);
  launched.browser_path = browser_path;
  return true;
}

}  // namespace

std::vector<std::string> SplitWords(std::string_view text) {
  std::vector<std::string> words;
  std::string word;
  bool in_word = false;
  char quote = 0;
  for (char c : text) {
    if (quote != 0) {
      if (c == quote) {
        quote = 0;
      } else {
        word.push_back(c);
      }
    } else if (c == '"' || c == '\'') {
      quote = c;
      in_word = true;
    } else if (c == ' ' || c == '\t' || c == '\n' || c == '\r') {
      if (in_word) words.push_back(std::move(word));
      word.clear();
      in_word = false;
    } else {
      word.push_back(c);
      in_word = true;
    }
  }
  if (in_word) words.push_back(std::move(word));
  return words;
}

std::string ShellQuote(std::string_view word) {
  std::string quoted = "'";
  for (char c : word) {
    if (c == '\'') {
      quoted += "'\\''";  // close, an escaped quote, reopen
    } else {
      quoted.push_back(c);
    }
  }
  quoted.push_back('\'');
  return quoted;
}

std::wstring WindowsPathOfUnix(std::string_view unix_path) {
  std::wstring path = L"Z:" + Wide(unix_path);
  for (wchar_t& c : path) {
    if (c == L'/') c = L'\\';
  }
  return path;
}

bool LaunchChromium(const ChromiumLaunch& launch, LaunchedChromium& launched, std::string& error) {
  auto spawn = reinterpret_cast<UnixSpawn>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "__wine_unix_spawnvp")));
  if (spawn == nullptr) {
    error = "not running under Wine: ntdll has no __wine_unix_spawnvp";
    return false;
  }
  const unsigned long own_pid = OwnUnixPid();
  if (own_pid == 0) {
    error = "cannot read this process's Unix pid from /proc/self/stat";
    return false;
  }
  // A fresh profile each time: nothing of an earlier run may leak into this one.
  static std::atomic<int> launches{0};
  const std::string profile = "/tmp/quorvel-chromium-" + std::to_string(own_pid) + "-" +
                              std::to_string(++launches) + "-" + std::to_string(GetTickCount64());
  const std::wstring profile_windows = WindowsPathOfUnix(profile);
  if (!CreateDirectoryW(profile_windows.c_str(), nullptr)) {
    error = "cannot create the profile folder " + profile;
    return false;
  }

  std::vector<std::string> arguments = {
      launch.executable, "--headless=new", "--remote-debugging-port=0",
      "--user-data-dir=" + profile, "--no-first-run", "--no-default-browser-check",
      "--disable-popup-blocking", "--disable-gpu", "--mute-audio", "--hide-scrollbars",
      // Every view is on screen for the host: none is throttled as a background page.
      "--disable-background-timer-throttling", "--disable-renderer-backgrounding",
      "--disable-backgrounding-occluded-windows",
      // Back and forward must load their documents again, so they pass through the
      // request interception like any navigation. The platform answers on loopback,
      // and a string document (an opaque origin) framing it must reach it as a page
      // of a public platform would: no local-network checks.
      "--disable-features=BackForwardCache,LocalNetworkAccessChecks,"
      "BlockInsecurePrivateNetworkRequests"};
  if (RunningAsRoot()) arguments.push_back("--no-sandbox");
  for (const std::string& word : launch.extra_args) arguments.push_back(word);
  std::string command;
  for (const std::string& word : arguments) command += ShellQuote(word) + " ";
  // The watchdog: Chromium ends when this Wine process is gone, and its profile goes with it.
  const std::string own = std::to_string(own_pid);
  const std::string quoted_profile = ShellQuote(profile);
  const std::string script = command + ">/dev/null 2>&1 & c=$!; echo $c > " + quoted_profile +
                             "/chromium.pid; while kill -0 " + own +
                             " 2>/dev/null && kill -0 $c 2>/dev/null && [ ! -e " + quoted_profile +
                             "/quorvel-stop ]; do sleep 0.5; done; kill $c 2>/dev/null; wait $c; "
                             "rm -rf " +
                             quoted_profile;
  std::string shell = "/bin/sh", dash_c = "-c", body = script;
  char* argv[] = {shell.data(), dash_c.data(), body.data(), nullptr};
  if (spawn(argv, 0) != 0) {
    error = "Wine could not start /bin/sh for " + launch.executable;
    return false;
  }

  const std::wstring port_file = profile_windows + L"\\DevToolsActivePort";
  const std::wstring pid_file = profile_windows + L"\\chromium.pid";
  const ULONGLONG deadline = GetTickCount64() + launch.timeout_ms;
  while (GetTickCount64() < deadline) {
    if (ReadActivePort(port_file, launched)) {
      launched.profile_folder = profile;
      launched.process_id = std::strtoul(ReadWholeFile(pid_file).c_str(), nullptr, 10);
      return true;
    }
    // The shell removes the profile once Chromium has ended.
    if (!FileExists(profile_windows)) {
      error = "Chromium (" + launch.executable + ") ended before it listened";
      return false;
    }
    Sleep(50);
  }
  StopChromium(profile);
  error = "Chromium (" + launch.executable + ") did not listen within " +
          std::to_string(launch.timeout_ms) + " ms";
  return false;
}

void StopChromium(const std::string& profile_folder) {
  const HANDLE marker =
      CreateFileW((WindowsPathOfUnix(profile_folder) + L"\\quorvel-stop").c_str(), GENERIC_WRITE, 0,
                  nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (marker != INVALID_HANDLE_VALUE) CloseHandle(marker);
}

}  // namespace standin
