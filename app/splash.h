#pragma once
// The splash picture shown in the middle of the screen while the player starts: a
// borderless, per-pixel transparent, top-most window that can be dragged anywhere and
// closes itself after 15 seconds at the latest.

#include <windows.h>

// Shows the picture of RCDATA resource 102 (a PNG with alpha), shrunk to fit
// maxWidth x maxHeight (0 means 700 or 450) and 70 % of the screen, centred on the
// screen. Needs GDI+ started. Returns the splash window, the existing one when a splash
// is already showing, or null when anything fails (nothing is shown then).
HWND CreateSplash(HINSTANCE instance, int maxWidth, int maxHeight);

// Destroys the splash window when one is showing; does nothing otherwise. Safe to call
// any number of times.
void CloseSplash();

// The splash window, or null.
HWND& SplashWindow();
