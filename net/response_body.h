#pragma once
// Reading a response body whole, or not at all.
#include <optional>
#include <string>

#include "net/winhttp_request.h"

// No answer of the platform comes near this; a larger one is refused unread.
inline constexpr std::size_t kMaxResponseBytes = 8 * 1024 * 1024;

// Reads the body of a received response into `body`. Nothing on success; otherwise
// the error text, and `body` is left empty: a failed query or read, a body shorter
// than its Content-Length, or one larger than kMaxResponseBytes. `bodyExpected` is
// false for answers that carry no body whatever their Content-Length says (to HEAD,
// 1xx, 204, 304).
std::optional<std::string> ReadWholeBody(HINTERNET request, bool bodyExpected, std::string& body);
