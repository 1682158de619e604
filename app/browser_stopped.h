#pragma once
// The end of a main window whose browser kept failing: the learner is told, then the
// player ends.

#include <windows.h>

#include <string>

// The init screen: a message box, then the window is destroyed, which ends the player as
// closing it does. The player window (started with a link): the diagnostic window with a
// code carrying `reason`, so support can see why; the process ends there.
void EndAfterBrowserFailure(HWND window, bool linkMode, const std::string& reason);
