#pragma once
// Starting the real browser from inside Wine: Chromium is a Linux program, so it is started
// through Wine's own spawn export in ntdll, inside a small shell that ends it as soon as
// our (Wine) process is gone, so no Chromium outlives a killed host. The browser tells
// its DevTools port through the DevToolsActivePort file in its profile folder, which is
// read through Wine's Z: drive.

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace standin {

struct ChromiumLaunch {
  std::string executable;               // a Unix path
  std::vector<std::string> extra_args;  // the words of QUORVEL_RUNTIME_CHROMIUM_ARGS
  DWORD timeout_ms = 20000;
};

struct LaunchedChromium {
  unsigned short port = 0;
  std::string browser_path;      // the browser's WebSocket path, "/devtools/browser/…"
  std::string profile_folder;    // Unix path; removed by the shell when Chromium ended
  unsigned long process_id = 0;  // Chromium's Unix pid, 0 when unknown
};

// Blocking, up to the time-out: meant for a worker thread. False with `error` set when
// Chromium could not be started or did not listen in time.
bool LaunchChromium(const ChromiumLaunch& launch, LaunchedChromium& launched, std::string& error);

// Asks the watchdog shell to end Chromium (within half a second), for a browser that
// does not answer.
void StopChromium(const std::string& profile_folder);

// Splits a setting into words at blanks; "…" or '…' keep blanks inside a word.
std::vector<std::string> SplitWords(std::string_view text);

// `word` as one shell word, in single quotes.
std::string ShellQuote(std::string_view word);

// A Unix path as Wine sees it through the Z: drive.
std::wstring WindowsPathOfUnix(std::string_view unix_path);

}  // namespace standin
