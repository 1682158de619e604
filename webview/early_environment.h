#pragma once
// The browser's environment, started before the window that will show it exists. The
// environment depends on nothing a link says, so start-up begins creating it right after
// the runtime check, as the first attempt of Initialize would (same runtime, folder and
// options), and the browser process starts while the network is asked. The host that
// Initialize creates takes it over; an early start that failed leaves Initialize to make
// its attempts as always, and one nobody takes over is let go of, which ends its browser.

#include <windows.h>
#include <wrl/client.h>

#include <memory>
#include <string>

#include "webview/abi/WebView2.h"
#include "webview/runtime_choice.h"

namespace WebView {

struct AttemptState;

class EarlyEnvironment {
 public:
  // Begins creating the environment for `userDataFolder` (the folder Initialize is
  // given). Null when it could not even begin: Initialize then starts as always.
  static std::unique_ptr<EarlyEnvironment> Start(const std::wstring& userDataFolder);
  // Lets go of an environment nobody took over; one still coming is let go of when it
  // arrives.
  ~EarlyEnvironment();
  EarlyEnvironment(const EarlyEnvironment&) = delete;
  EarlyEnvironment& operator=(const EarlyEnvironment&) = delete;

  // What it was created with: Initialize takes it over only for the same.
  const Runtime& runtime() const { return runtime_; }
  const std::wstring& folder() const { return folder_; }

  // Completed once the environment arrived (result S_OK) or its creation failed; the
  // creator's thread gets a null message then, to wake a loop waiting for it.
  AttemptState& attempt() { return *attempt_; }
  // The environment that arrived, handed over once; null after a failure.
  Microsoft::WRL::ComPtr<ICoreWebView2Environment> TakeEnvironment();
  // When it arrived (GetTickCount64).
  ULONGLONG arrivedAt() const;

 private:
  struct Arrival;
  EarlyEnvironment(Runtime runtime, std::wstring folder);

  Runtime runtime_;
  std::wstring folder_;
  std::shared_ptr<AttemptState> attempt_;
  std::shared_ptr<Arrival> arrival_;  // shared with the completion handler
};

}  // namespace WebView
