#pragma once
// Small pieces of the start-up sequence.

#include "common/step_log.h"

// Dispatches every message waiting in the thread's queue, so new windows paint before
// the next long step. A quit message stays for the main loop: it is posted again.
void DrainMessages();

// 11, 10, 8 or 7 from the system's true version numbers (looked up at run time, since
// the documented calls lie to programs without a matching manifest); -1 when unknown.
int GetWindowsMajorVersion();
