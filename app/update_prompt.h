#pragma once
// Tells the learner about a newer player. A mandatory update leaves the choice between
// downloading it and quitting; an optional one may be declined.

#include "link/version_check.h"

// True when start-up goes on: no update, or an optional one declined. False when the
// process must end with exit code 0 (the download page opened if the learner chose it).
bool RunUpdatePrompt(const VersionInfo& info);
