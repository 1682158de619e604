#include "app/browser_recovery.h"

#include <cstdio>

BrowserRecovery BrowserRecoveryBudget::Decide(int kind, std::uint64_t nowMs) {
  if (!giveUpReason_.empty()) return BrowserRecovery::kIgnore;
  switch (kind) {
    case process_failed_kind::kBrowserProcessExited:
      return RestartAfter(kind);
    // A frame's renderer counts too: the player's own document frames the lesson page,
    // so a frame that failed is the lesson itself, gone from the window.
    case process_failed_kind::kRenderProcessExited:
    case process_failed_kind::kRenderProcessUnresponsive:
    case process_failed_kind::kFrameRenderProcessExited:
      break;
    default:
      // A utility, GPU, sandbox or plug-in process, or one the runtime does not name:
      // the runtime starts it again itself, and the page stays.
      return BrowserRecovery::kIgnore;
  }
  while (!shownAgainAt_.empty() && nowMs - shownAgainAt_.front() >= kShowAgainWindowMs) {
    shownAgainAt_.pop_front();
  }
  if (shownAgainAt_.size() >= kShowAgainLimit) {
    return GiveUp(kind, static_cast<int>(shownAgainAt_.size()), "reloads");
  }
  shownAgainAt_.push_back(nowMs);
  return BrowserRecovery::kShowAgain;
}

BrowserRecovery BrowserRecoveryBudget::RestartAfter(int kind) {
  if (!giveUpReason_.empty()) return BrowserRecovery::kIgnore;
  if (restarts_ >= kRestartLimit) return GiveUp(kind, restarts_, "restarts");
  ++restarts_;
  return BrowserRecovery::kRestart;
}

BrowserRecovery BrowserRecoveryBudget::GiveUp(int kind, int recoveries, const char* what) {
  giveUpReason_ = "process_failed_" + ProcessFailedKindName(kind) + "_after_" +
                  std::to_string(recoveries) + "_" + what;
  return BrowserRecovery::kGiveUp;
}

void BrowserRecoveryBudget::RestartFailed(std::uint32_t result) {
  char hex[11] = {};
  std::snprintf(hex, sizeof(hex), "0x%08x", static_cast<unsigned>(result));
  giveUpReason_ = std::string("process_failed_restart_") + hex;
}

std::string ProcessFailedKindName(int kind) {
  switch (kind) {
    case process_failed_kind::kBrowserProcessExited:
      return "browser_process_exited";
    case process_failed_kind::kRenderProcessExited:
      return "render_process_exited";
    case process_failed_kind::kRenderProcessUnresponsive:
      return "render_process_unresponsive";
    case process_failed_kind::kFrameRenderProcessExited:
      return "frame_render_process_exited";
    default:
      return "kind_" + std::to_string(kind);
  }
}
