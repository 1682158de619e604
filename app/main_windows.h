#pragma once
// The two forms of the main window: the init screen (started without a link; the
// platform's web application) and the player window (a link's content). Each owns one
// browser host filling its client area.

#include <windows.h>

// Creates the init screen and its browser. False when the window cannot be created
// (no message shown) or the browser cannot start (a message shown).
bool CreateInitScreen(HINSTANCE instance);

// Registers the player window's class and creates the window, visible, before the link
// is decoded so the learner sees it at once. Null on failure.
HWND CreatePlayerMainWindow(HINSTANCE instance);

// Starts the player's browser in `window`. False for a null window or when the
// browser cannot start (a message shown).
bool CreatePlayerWindow(HINSTANCE instance, HWND window);
