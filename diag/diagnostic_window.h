#pragma once
#include <string_view>
// Ends the process after a failure the learner has to report: copies the code to the
// clipboard, shows the message in English and Arabic with the code in a ten-second
// countdown window, then starts a small separate window that keeps showing the code with
// a copy button after the player is gone, and exits with code 0. Safe to call from any
// thread; the window runs its own message loop on the calling thread.
[[noreturn]] void ShowDiagnosticAndExit(std::u16string_view caption,
                                        std::u16string_view englishText,
                                        std::u16string_view arabicText, std::string_view code);
// The hook runs at most once per process, before the window shows (the start-up code
// releases the browser hosts there). nullptr clears it.
using PreExitHook = void (*)();
void SetPreExitHook(PreExitHook hook);
