#pragma once
// The primitives links are protected with, the digest of pins and device
// identifiers, and what the link-producing side needs. Windows uses CNG, the native build OpenSSL;
// both report every failure by throwing std::runtime_error with the same fixed text for the same
// input, because those texts end up in diagnostic codes that support reads.

#include <string>
#include <string_view>

// HMAC-SHA256 of `data` keyed with `key`: 32 raw bytes.
std::string HmacSha256(std::string_view key, std::string_view data);

// SHA-256 of `data`: 32 raw bytes.
std::string Sha256(std::string_view data);

// AES-CBC decryption with PKCS#7 padding removed, the padding checked by our own code
// (common/pkcs7_padding.h) so that both builds refuse the same blocks. `key` must be 16,
// 24 or 32 bytes, `iv` 16 bytes and the ciphertext a whole number of blocks.
std::string AesCbcDecrypt(std::string_view key, std::string_view iv, std::string_view ciphertext);

// AES-CBC encryption with PKCS#7 padding (for producing links).
std::string AesCbcEncrypt(std::string_view key, std::string_view iv, std::string_view plaintext);

// Cryptographically random bytes from the system's generator.
std::string RandomBytes(std::size_t count);

namespace crypto_text {
inline constexpr char kHmacOpen[] = "BCryptOpenAlgorithmProvider HMAC failed";
inline constexpr char kSha256Open[] = "BCryptOpenAlgorithmProvider SHA256 failed";
inline constexpr char kHashCreate[] = "BCryptCreateHash failed";
inline constexpr char kHashData[] = "BCryptHashData failed";
inline constexpr char kHashFinish[] = "BCryptFinishHash failed";
inline constexpr char kAesOpen[] = "BCryptOpenAlgorithmProvider failed";
inline constexpr char kAesChaining[] = "BCryptSetProperty CBC failed";
inline constexpr char kAesKey[] = "BCryptGenerateSymmetricKey failed";
inline constexpr char kDecryptSize[] = "BCryptDecrypt (size query) failed";
inline constexpr char kDecrypt[] = "BCryptDecrypt failed";
inline constexpr char kEncrypt[] = "BCryptEncrypt failed";
inline constexpr char kRandom[] = "BCryptGenRandom failed";
}  // namespace crypto_text
