#pragma once
// One encrypted part of a link: Base64 of a JSON object {"iv", "value", "mac"}
// produced on the platform's web side with the shared link key.

#include <stdexcept>
#include <string>
#include <string_view>

// Checks the MAC and decrypts. Returns the plaintext, which may be empty. Throws
// std::runtime_error with a fixed text on every failure (EnvelopeMacMissing when there
// is no MAC to check); the JSON library's own type errors pass through unchanged.
std::string DecryptEnvelope(std::string_view envelope, std::string_view key);

// The inverse, for the side that produces links: a fresh random IV, AES-CBC with
// PKCS#7, and the lower-case hex HMAC-SHA256 of the iv text followed by the value
// text. Returns the envelope as standard Base64.
std::string SealEnvelope(std::string_view plaintext, std::string_view key);

inline constexpr char kEnvelopeJsonError[] = "Failed to parse AES envelope JSON";
inline constexpr char kEnvelopeMacError[] =
    "MAC verification failed \xE2\x80\x94 data may be tampered";
inline constexpr char kEnvelopeMacMissingError[] =
    "MAC missing \xE2\x80\x94 data is not authenticated";

// An envelope without a "mac" member, or with an empty one. Without the MAC nothing
// proves the link's key made it: flipping bits of the IV alone rewrites the first
// block of the plaintext (a content link id becomes a direct address).
class EnvelopeMacMissing : public std::runtime_error {
 public:
  EnvelopeMacMissing() : std::runtime_error(kEnvelopeMacMissingError) {}
};
