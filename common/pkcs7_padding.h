#pragma once
// PKCS#7 padding, checked by our own code after a decryption without the provider's
// padding removal: providers disagree on malformed padding (one build refused blocks
// the other opened, a byte short or with a NUL left on), and a link must read the same
// in every build.

#include <optional>
#include <string_view>

// The length of the plaintext inside `decrypted` (whole AES blocks): its last byte n
// must be 1 to 16 and the last n bytes must all equal n. Nothing otherwise, and for an
// empty input. Every pad byte is examined whatever the earlier ones held.
std::optional<std::size_t> Pkcs7PlaintextLength(std::string_view decrypted);
