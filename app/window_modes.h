#pragma once
// Full screen and revealing for the two main windows. The player switches to a bare
// pop-up on its nearest monitor and back to a 1280 x 720 window; the init screen keeps
// its other style bits, uses the primary monitor and restores its exact placement.

#include <windows.h>

// Shows the window and brings it in front of other applications without leaving it
// topmost.
void RevealWindow(HWND window);

// The player window's state for a new player window: not yet shown by its page.
void ResetPlayerWindowState(HWND window);
void TogglePlayerFullscreen();
// Shows the player window the first time its page reports it has loaded.
void ShowPlayerPageOnce();

void ToggleInitScreenFullscreen(HWND window);
