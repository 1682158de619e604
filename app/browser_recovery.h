#pragma once
// What a main window does when one of its browser's processes fails: ignore it, show
// the page again, start a new browser, or give up and end; and the limits that keep a
// browser that fails again and again from trying for ever. Plain values only: the kinds
// are the runtime's process-failure kinds as numbers, the times a monotonic clock in
// milliseconds.

#include <cstdint>
#include <deque>
#include <string>

// The runtime's process-failure kinds that decide something here (the values of its
// COREWEBVIEW2_PROCESS_FAILED_KIND; the Windows side checks that they agree).
namespace process_failed_kind {
inline constexpr int kBrowserProcessExited = 0;
inline constexpr int kRenderProcessExited = 1;
inline constexpr int kRenderProcessUnresponsive = 2;
inline constexpr int kFrameRenderProcessExited = 3;
}  // namespace process_failed_kind

enum class BrowserRecovery {
  kIgnore,     // nothing shown was lost
  kShowAgain,  // load what the view showed once more
  kRestart,    // let go of the browser, start a new one, show the same content
  kGiveUp,     // past the limits: tell the learner and end
};

class BrowserRecoveryBudget {
 public:
  // At most this many times the page is shown again within kShowAgainWindowMs ...
  static constexpr int kShowAgainLimit = 3;
  static constexpr std::uint64_t kShowAgainWindowMs = 60'000;
  // ... and at most this many new browsers in the life of the program.
  static constexpr int kRestartLimit = 2;

  // What to do about a failure of `kind` reported at `nowMs`, counted against the
  // limits. After kGiveUp every later failure is ignored: the program is ending.
  BrowserRecovery Decide(int kind, std::uint64_t nowMs);
  // The view could not take the page again (it is gone): a new browser instead, counted
  // against the restarts, or kGiveUp.
  BrowserRecovery RestartAfter(int kind);
  // The new browser could not start: the program gives up, for the reason
  // "process_failed_restart_" + the start's result as 0x and eight lower-case hex digits.
  void RestartFailed(std::uint32_t result);
  // Why the program gave up, for a diagnostic code; empty until it did. Past a limit:
  // "process_failed_" + the kind's name + "_after_" + the count + "_reloads" or "_restarts".
  const std::string& giveUpReason() const { return giveUpReason_; }

 private:
  BrowserRecovery GiveUp(int kind, int recoveries, const char* what);

  std::deque<std::uint64_t> shownAgainAt_;  // within the window, oldest first
  int restarts_ = 0;
  std::string giveUpReason_;
};

// "browser_process_exited", "render_process_exited", "render_process_unresponsive",
// "frame_render_process_exited", or "kind_" + the number for any other kind.
std::string ProcessFailedKindName(int kind);
