#pragma once
// The values this build's platform deployment fixes (chosen together with the
// platform's server and web side). They come from the build profile, are stored
// hidden, and are assembled only when used.

#include <span>
#include <string>

inline constexpr std::size_t kLinkKeyStoredSize = 33;

// Name of the profile this build was made with ("demo" for the local demo platform).
std::string PlatformProfileName();

// Writes the stored link key constant (mask byte first) into `out`; the caller wipes it.
void RevealLinkKeyConstant(std::span<char, kLinkKeyStoredSize> out);
