#pragma once
// The start-up trace: numbered steps written to the debugger output, where support (and
// a debugger, or Wine's debug channel with its time stamps) can read how far a start got.

#include <string>

// One line of start-up trace to the debugger output.
void StepLog(const std::string& text);
