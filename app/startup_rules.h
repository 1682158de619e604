#pragma once
// The decisions of start-up that depend on plain values only: the single-instance
// mutex name, which command-line text is the link, the Windows version class, how a
// link failure is shown, and where an update is downloaded from.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// "Local\LumoraPlayer.WebView2." + a 64-bit FNV-1a-style hash of the lower-cased
// display name and mode ("|player" or "|init"), so each mode has its own instance.
std::u16string MakeInstanceMutexName(std::u16string_view displayName, bool startedWithCommandLine);

struct SelectedLink {
  std::u16string link;         // handed to the link decoder unchanged
  bool hasSchemeArgs = false;  // the scheme prefix occurs in it, in any letter case
};

// The first argument, or the raw command line when there is none and the raw text
// holds the scheme prefix.
SelectedLink SelectLink(const std::optional<std::u16string>& firstArgument,
                        std::u16string_view rawCommandLine, std::u16string_view schemeName);

// 11, 10, 8 or 7 from the system's version numbers; -1 for anything older or unknown.
int WindowsMajorVersion(std::uint32_t major, std::uint32_t minor, std::uint32_t build);

// The platform's own words when a link failure is its refusal ("server:" + message).
std::optional<std::u16string> ServerRefusalText(std::string_view failureReason);

// The address an update is downloaded from: the platform's, when it is a web address,
// else the maker's default. Anything else (a local program, another scheme) would be
// run by the shell, so it is never used.
std::u16string UpdateDownloadAddress(std::u16string_view offeredLink);
std::u16string DefaultUpdateDownloadAddress();
