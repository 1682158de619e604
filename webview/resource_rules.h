#pragma once
// What the browser's resource filter decides from a request's address alone: which
// identifier headers the request carries.

#include <string>
#include <string_view>
#include <vector>

#include "common/header_field.h"

// True when the lower-cased address ends like, or contains, one of the media patterns.
bool MatchesMediaPatterns(std::u16string_view lowerAddress);

// The identifier headers for a request to this lower-cased address: names 1 and 2 for
// the platform's hosts, names 3 and 4 for media; empty identifiers are left out.
std::vector<HeaderField> ResourceIdentityHeaders(std::u16string_view lowerAddress,
                                                 std::u16string_view deviceId,
                                                 std::u16string_view secondDeviceId);
