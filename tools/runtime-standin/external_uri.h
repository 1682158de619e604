#pragma once
// Addresses of schemes a browser does not load itself (a quorvel: link on the platform's
// page) go to the program the system registered for the scheme, as the runtime hands
// them over.

#include <optional>
#include <string>
#include <string_view>

namespace standin {

// The scheme of `uri` when it is one to hand over: well formed (a letter, then letters,
// digits, "+", "-" or "."; two characters at least, so a drive letter is none) and not
// one the browser loads or a local file. The address comes from a page: anything else
// gives nothing.
std::optional<std::wstring> ExternalSchemeOf(std::wstring_view uri);

// Starts the program registered for the scheme of `uri` as a URL protocol (its
// shell\open\command, with the address for "%1") when the scheme is external; whether
// it was started.
bool LaunchExternalUri(const std::wstring& uri);

}  // namespace standin
