#pragma once
// The follow-up window: a small HTML application, started with the system's HTML
// application host, that keeps showing the diagnostic code with a copy button after
// the player has ended.

#include <string>
#include <string_view>

// The whole command line: mshta, a space, and the page as one double-quoted
// "about:" address. The four texts go into the page as element content; the characters
// that would end the quoted argument or start markup (" & < >) are written as HTML
// character references, so the texts the player passes (which have none) appear
// unchanged and any other text cannot cut the command line short.
std::u16string BuildFollowUpCommandLine(std::u16string_view caption,
                                        std::u16string_view englishText,
                                        std::u16string_view arabicText, std::u16string_view code);

// What a message box says when the follow-up window cannot be started: the message and
// the code, so the user still has something to send to support.
std::u16string FollowUpFallbackText(std::u16string_view englishText, std::u16string_view arabicText,
                                    std::u16string_view code);
