#pragma once
// One encrypted part of a link: Base64 of a JSON object {"iv", "value", "mac"}
// produced on the platform's web side with the shared link key.

#include <string>
#include <string_view>

// Checks the MAC (when the envelope has a non-empty one) and decrypts. Returns the
// plaintext, which may be empty. Throws std::runtime_error with a fixed text on every
// failure; the JSON library's own type errors pass through unchanged.
std::string DecryptEnvelope(std::string_view envelope, std::string_view key);

// The inverse, for the side that produces links: a fresh random IV, AES-CBC with
// PKCS#7, and (unless `withMac` is false) the lower-case hex HMAC-SHA256 of the iv
// text followed by the value text. Returns the envelope as standard Base64.
std::string SealEnvelope(std::string_view plaintext, std::string_view key, bool withMac = true);

inline constexpr char kEnvelopeJsonError[] = "Failed to parse AES envelope JSON";
inline constexpr char kEnvelopeMacError[] =
    "MAC verification failed \xE2\x80\x94 data may be tampered";
