#pragma once
// Base64 (RFC 4648 standard alphabet) and lower-case hexadecimal.

#include <optional>
#include <string>
#include <string_view>

// Standard Base64 with '=' fill to a multiple of four characters, no line breaks.
std::string Base64Encode(std::string_view bytes);

// The link envelope's lenient decoder: reading stops at the first '=' or at the first
// character outside the alphabet (no error), a trailing group of two or three
// characters yields one or two bytes, and a lone trailing character yields nothing.
std::string Base64Decode(std::string_view text);

// Strict decoder for texts we produced ourselves (diagnostic codes): whole groups of
// four, alphabet characters only, fill only at the end. Empty on any deviation.
std::optional<std::string> Base64DecodeStrict(std::string_view text);

// Two lower-case hex digits per byte.
std::string HexLower(std::string_view bytes);

// Hex digits of either case, two per byte; empty on odd length or a non-hex character.
std::optional<std::string> HexDecode(std::string_view hex);
