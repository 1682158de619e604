#pragma once
// The values this build's platform deployment fixes (chosen together with the
// platform's server and web side). They come from the build profile, are stored
// hidden, and are assembled only when used.

#include <span>
#include <string>

inline constexpr std::size_t kLinkKeyStoredSize = 33;

// Writes the stored link key constant (mask byte first) into `out`; the caller wipes it.
void RevealLinkKeyConstant(std::span<char, kLinkKeyStoredSize> out);

// Content-data request: the path after the API base, the two fixed texts of the form
// body (before P1 and before the content link id), and the three headers (two carry
// the device identifier forms, the third a fixed value).
std::string ContentDataPath();
std::string ContentFormFirstText();
std::string ContentFormSecondText();
std::string DeviceIdHeaderName();
std::string DeviceIdSecondHeaderName();
std::string ClientHeaderName();
std::string ClientHeaderValue();

// Member names of the content-data answer.
std::string ContentDataMember();
std::string ContentTypeMember();
std::string ContentUrlMember();
std::string ContentVideoUrlMember();
std::string WatermarkTextMember();
std::string PageScriptIdMember();

// Version check: the path after the API base, and the complete address used when
// there is no domain.
std::string VersionPath();
std::string VersionAddress();
