#pragma once
// The values this build's platform deployment fixes (chosen together with the
// platform's server and web side). They come from the build profile, are stored
// hidden, and are assembled only when used.

#include <array>
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

// Pin list: the complete address, and the value of its "X-Secret" header.
std::string PinListAddress();
std::string PinListSecret();

// The YouTube page script: this address followed by the decimal script number.
std::string PageScriptAddress();

// The user agent of the player's own HTTP requests.
std::string UserAgent();

// The platform's own hosts (lower case): the player's HTTPS requests to one of them, or
// to a host under one, carry the two identity headers named here.
std::array<std::string, 3> IdentityHosts();
std::string IdentityHeaderName();
std::string IdentitySecondHeaderName();

// The built-in pin entry: its scope and four pins. A pin failure on a host that ends
// with the diagnostic suffix ends the player with a diagnostic code.
std::string DefaultPinScope();
std::array<std::string, 4> DefaultPinTexts();
std::string DiagnosticDomainSuffix();

// Top-level browser navigations to these hosts, or to hosts under them, carry the fixed
// header and the four identifier headers (1 and 3: the first identifier, 2 and 4: the
// second); the browser's requests to them carry 1 and 2.
std::array<std::string, 3> BrowserPlatformHosts();
std::string BrowserFixedHeaderName();
std::string BrowserFixedHeaderValue();
std::array<std::string, 4> BrowserIdHeaderNames();

// Media addresses: a 6- and a 9-character ending, a fragment, a 20-character ending.
struct MediaPatterns {
  std::string ending6;
  std::string ending9;
  std::string fragment;
  std::string ending20;
};
MediaPatterns BrowserMediaPatterns();

// The platform's own web domains (the start of the navigation allow-list).
std::array<std::string, 3> PlatformWebDomains();

// The platform's web application: the init screen's start address and its home.
std::string WebAppStartAddress();
std::string WebAppHomeAddress();

// The two extra headers of the init screen's requests, in order: name, value.
std::array<std::array<std::string, 2>, 2> InitScreenHeaders();
