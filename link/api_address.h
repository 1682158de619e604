#pragma once
// The address of the platform's API for a link's domain.

#include <string>
#include <string_view>

// The domain without trailing slashes and backslashes, with "https://" in front unless
// it already names a scheme (longer than two characters and holding "://"). An empty
// domain, or one of nothing but slashes, gives an empty base.
std::u16string ApiBaseAddress(std::u16string_view domain);
