#pragma once
// The two forms of the main window: the init screen (started without a link; the
// platform's web application) and the player window (a link's content). Each owns one
// browser host filling its client area.

#include <windows.h>

// How the start of a main window and its browser ended.
enum class WindowStart {
  kRunning,        // the browser started: the message loop runs the window
  kClosed,         // the window was closed, or its browser released, while it started:
                   // a normal end, nothing shown
  kBrowserFailed,  // the browser could not start: a message was shown
  kNoWindow,       // the window could not be created: nothing shown
};

// Begins creating the browser environment both main windows use (ShellState's early
// environment), so that the browser starts while the network is asked; the main
// window's browser takes it over.
void StartBrowserEnvironmentEarly();

// Creates the init screen and starts its browser.
WindowStart CreateInitScreen(HINSTANCE instance);

// Registers the player window's class and creates the window, visible, before the link
// is decoded so the learner sees it at once. Null on failure.
HWND CreatePlayerMainWindow(HINSTANCE instance);

// Starts the player's browser in `window`: kNoWindow for a null window, kClosed when
// the learner has closed it already.
WindowStart CreatePlayerWindow(HINSTANCE instance, HWND window);
