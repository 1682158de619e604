#include "app/browser_recovery.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

using R = BrowserRecovery;

struct Failure {
  int kind;
  std::uint64_t atMs;
  R expected;
};

struct Case {
  const char* name;
  std::vector<Failure> failures;
  std::string reason;  // after the last failure
};

constexpr int kBrowser = 0, kRender = 1, kHung = 2, kFrame = 3, kUtility = 4, kGpu = 6,
              kUnknown = 9;

TEST(BrowserRecoveryBudget, ShowsAgainRestartsAndGivesUpWithinItsLimits) {
  const std::vector<Case> cases = {
      {"a fourth render failure within the minute gives up",
       {{kRender, 1'000, R::kShowAgain},
        {kHung, 2'000, R::kShowAgain},
        {kFrame, 3'000, R::kShowAgain},
        {kRender, 60'999, R::kGiveUp}},
       "process_failed_render_process_exited_after_3_reloads"},
      {"failures spread over the lesson are each recovered",
       {{kRender, 0, R::kShowAgain},
        {kRender, 30'000, R::kShowAgain},
        {kRender, 59'999, R::kShowAgain},
        {kRender, 60'000, R::kShowAgain},  // the first has left the window
        {kRender, 600'000, R::kShowAgain}},
       ""},
      {"a third browser exit gives up, however far apart",
       {{kBrowser, 0, R::kRestart},
        {kBrowser, 3'600'000, R::kRestart},
        {kBrowser, 7'200'000, R::kGiveUp}},
       "process_failed_browser_process_exited_after_2_restarts"},
      {"what the runtime restarts itself is ignored, and counts for nothing",
       {{kUtility, 0, R::kIgnore},
        {kGpu, 1, R::kIgnore},
        {5, 2, R::kIgnore},
        {7, 3, R::kIgnore},
        {8, 4, R::kIgnore},
        {kUnknown, 5, R::kIgnore},
        {42, 6, R::kIgnore},
        {-1, 7, R::kIgnore},
        {kRender, 8, R::kShowAgain}},
       ""},
      {"render and browser failures have limits of their own",
       {{kRender, 0, R::kShowAgain},
        {kBrowser, 1, R::kRestart},
        {kRender, 2, R::kShowAgain},
        {kBrowser, 3, R::kRestart},
        {kRender, 4, R::kShowAgain},
        {kBrowser, 5, R::kGiveUp}},
       "process_failed_browser_process_exited_after_2_restarts"},
      {"after giving up, nothing more is done",
       {{kBrowser, 0, R::kRestart},
        {kBrowser, 1, R::kRestart},
        {kBrowser, 2, R::kGiveUp},
        {kRender, 3, R::kIgnore},
        {kBrowser, 4, R::kIgnore}},
       "process_failed_browser_process_exited_after_2_restarts"},
  };
  for (const Case& test : cases) {
    BrowserRecoveryBudget budget;
    for (const Failure& failure : test.failures) {
      EXPECT_EQ(budget.Decide(failure.kind, failure.atMs), failure.expected)
          << test.name << ": kind " << failure.kind << " at " << failure.atMs;
    }
    EXPECT_EQ(budget.giveUpReason(), test.reason) << test.name;
  }
}

TEST(BrowserRecoveryBudget, AViewThatCannotShowAgainCostsARestart) {
  BrowserRecoveryBudget budget;
  EXPECT_EQ(budget.Decide(kRender, 0), R::kShowAgain);
  EXPECT_EQ(budget.RestartAfter(kRender), R::kRestart);
  EXPECT_EQ(budget.Decide(kBrowser, 1), R::kRestart);
  EXPECT_EQ(budget.Decide(kHung, 2), R::kShowAgain);
  EXPECT_EQ(budget.RestartAfter(kHung), R::kGiveUp);
  EXPECT_EQ(budget.giveUpReason(), "process_failed_render_process_unresponsive_after_2_restarts");
}

TEST(BrowserRecoveryBudget, ANewBrowserThatCannotStartEndsWithItsResult) {
  BrowserRecoveryBudget budget;
  EXPECT_EQ(budget.Decide(kBrowser, 0), R::kRestart);
  budget.RestartFailed(0x8007000E);
  EXPECT_EQ(budget.giveUpReason(), "process_failed_restart_0x8007000e");
  EXPECT_EQ(budget.Decide(kBrowser, 1), R::kIgnore);
  EXPECT_EQ(budget.RestartAfter(kRender), R::kIgnore);
}

TEST(ProcessFailedKindName, NamesTheKindsThatCount) {
  EXPECT_EQ(ProcessFailedKindName(0), "browser_process_exited");
  EXPECT_EQ(ProcessFailedKindName(1), "render_process_exited");
  EXPECT_EQ(ProcessFailedKindName(2), "render_process_unresponsive");
  EXPECT_EQ(ProcessFailedKindName(3), "frame_render_process_exited");
  EXPECT_EQ(ProcessFailedKindName(6), "kind_6");
  EXPECT_EQ(ProcessFailedKindName(-3), "kind_-3");
}

}  // namespace
