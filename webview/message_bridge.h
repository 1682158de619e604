#pragma once
// What the pages' messages ask of each window. Messages are bare words; a page that
// posts a word as a JSON string arrives with the quotes around it.

#include <string_view>

enum class InitScreenCommand { kNone, kPrint, kHome, kBack, kReload, kToggleFullscreen };
enum class PlayerCommand { kNone, kPrint, kToggleFullscreen, kPageLoaded };

// "requestPrint", its JSON string form, or any text containing that form (an object
// whose type is "requestPrint").
bool IsPrintRequest(std::u16string_view message);

// Home, back and reload need the init screen's browser; without it they fall through
// to the later words, so only full screen still works.
InitScreenCommand InitScreenCommandFor(std::u16string_view message, bool hostExists);

PlayerCommand PlayerCommandFor(std::u16string_view message);
