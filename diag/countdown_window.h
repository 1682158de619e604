#pragma once
// The diagnostic countdown window: the message, the code and the seconds left before the
// player closes, on top of everything.

#include <string_view>

// Shows the window on the calling thread and returns when the countdown has reached 0 or
// the window was closed. When the window cannot be created a message box says when the
// application closes instead. The code is shown as given (already widened).
void RunCountdownWindow(std::u16string_view caption, std::u16string_view englishText,
                        std::u16string_view arabicText, std::u16string_view code, int seconds);
