#pragma once
// Which top-level navigations of the embedded browser carry the machine's identifiers,
// and the headers they carry. The resource filter sends the same headers.

#include <string_view>
#include <vector>

#include "common/header_field.h"

// True when the address is an http(s) address of one of the platform's hosts or of a
// host under one.
bool WantsIdentityHeaders(std::u16string_view address);

// The fixed header, then names 1 and 3 with the first identifier, then names 2 and 4
// with the second; an identifier that is empty is left out with its names.
std::vector<HeaderField> BrowserIdentityHeaders(std::u16string_view deviceId,
                                                std::u16string_view secondDeviceId);
