// CNG implementation of the link primitives.
#include <windows.h>
// windows.h must come first.
#include <bcrypt.h>

#include <memory>
#include <optional>
#include <stdexcept>
#include <vector>

#include "common/crypto.h"
#include "common/pkcs7_padding.h"

namespace {

bool Ok(NTSTATUS status) { return status >= 0; }

struct AlgorithmCloser {
  void operator()(void* handle) const { BCryptCloseAlgorithmProvider(handle, 0); }
};
struct KeyDestroyer {
  void operator()(void* handle) const { BCryptDestroyKey(handle); }
};
struct HashDestroyer {
  void operator()(void* handle) const { BCryptDestroyHash(handle); }
};
using Algorithm = std::unique_ptr<void, AlgorithmCloser>;
using Key = std::unique_ptr<void, KeyDestroyer>;
using Hash = std::unique_ptr<void, HashDestroyer>;

constexpr std::size_t kBlock = 16;

// CNG wants a real buffer even for zero bytes of key, data or output.
PUCHAR NonNull(std::string_view bytes, UCHAR& spare) {
  return bytes.empty() ? &spare : reinterpret_cast<PUCHAR>(const_cast<char*>(bytes.data()));
}

Algorithm OpenAes() {
  BCRYPT_ALG_HANDLE handle = nullptr;
  if (!Ok(BCryptOpenAlgorithmProvider(&handle, BCRYPT_AES_ALGORITHM, nullptr, 0))) {
    throw std::runtime_error(crypto_text::kAesOpen);
  }
  Algorithm aes(handle);
  auto* mode = const_cast<wchar_t*>(BCRYPT_CHAIN_MODE_CBC);
  if (!Ok(BCryptSetProperty(handle, BCRYPT_CHAINING_MODE, reinterpret_cast<PUCHAR>(mode),
                            sizeof(BCRYPT_CHAIN_MODE_CBC), 0))) {
    throw std::runtime_error(crypto_text::kAesChaining);
  }
  return aes;
}

Key MakeKey(const Algorithm& aes, std::string_view keyBytes) {
  BCRYPT_KEY_HANDLE handle = nullptr;
  UCHAR spare = 0;
  if (!Ok(BCryptGenerateSymmetricKey(aes.get(), &handle, nullptr, 0, NonNull(keyBytes, spare),
                                     static_cast<ULONG>(keyBytes.size()), 0))) {
    throw std::runtime_error(crypto_text::kAesKey);
  }
  return Key(handle);
}

}  // namespace

namespace {

// SHA-256 of `data`, keyed as HMAC when `hmac` is set.
std::string Sha256Digest(bool hmac, std::string_view key, std::string_view data) {
  BCRYPT_ALG_HANDLE algHandle = nullptr;
  if (!Ok(BCryptOpenAlgorithmProvider(&algHandle, BCRYPT_SHA256_ALGORITHM, nullptr,
                                      hmac ? BCRYPT_ALG_HANDLE_HMAC_FLAG : 0))) {
    throw std::runtime_error(hmac ? crypto_text::kHmacOpen : crypto_text::kSha256Open);
  }
  Algorithm algorithm(algHandle);

  DWORD digestLength = 0;
  ULONG written = 0;
  if (!Ok(BCryptGetProperty(algHandle, BCRYPT_HASH_LENGTH, reinterpret_cast<PUCHAR>(&digestLength),
                            sizeof(digestLength), &written, 0))) {
    digestLength = 32;
  }

  BCRYPT_HASH_HANDLE hashHandle = nullptr;
  UCHAR spare = 0;
  if (!Ok(BCryptCreateHash(algHandle, &hashHandle, nullptr, 0, NonNull(key, spare),
                           static_cast<ULONG>(key.size()), 0))) {
    throw std::runtime_error(crypto_text::kHashCreate);
  }
  Hash hash(hashHandle);
  if (!Ok(BCryptHashData(hashHandle, NonNull(data, spare), static_cast<ULONG>(data.size()), 0))) {
    throw std::runtime_error(crypto_text::kHashData);
  }
  std::string digest(digestLength, '\0');
  if (!Ok(BCryptFinishHash(hashHandle, reinterpret_cast<PUCHAR>(digest.data()), digestLength, 0))) {
    throw std::runtime_error(crypto_text::kHashFinish);
  }
  return digest;
}

}  // namespace

std::string HmacSha256(std::string_view key, std::string_view data) {
  return Sha256Digest(true, key, data);
}

std::string Sha256(std::string_view data) { return Sha256Digest(false, {}, data); }

namespace {

// One AES-CBC pass: a size query without output buffer, then the real call.
// BCryptEncrypt and BCryptDecrypt share this signature. `flags` is
// BCRYPT_BLOCK_PADDING to have CNG pad, or 0 for whole blocks in and out.
using CipherCall = decltype(&BCryptDecrypt);

std::string RunCipher(CipherCall call, ULONG flags, std::string_view key, std::string_view iv,
                      std::string_view input, const char* sizeError, const char* runError) {
  const Algorithm aes = OpenAes();
  const Key aesKey = MakeKey(aes, key);
  // Windows refuses an IV of another length at the size query; Wine only later, in
  // the call itself. Checking here gives the same failure on both, and keeps a null
  // IV pointer (which would mean "chain from the key's own state") out of reach.
  if (iv.size() != kBlock) throw std::runtime_error(sizeError);
  if (flags == 0 && input.size() % kBlock != 0) throw std::runtime_error(sizeError);

  // The call updates the IV buffer in place, so each call gets a fresh copy.
  std::vector<UCHAR> ivCopy(iv.begin(), iv.end());
  UCHAR spareInput = 0;
  PUCHAR inputBytes = NonNull(input, spareInput);
  const auto inputSize = static_cast<ULONG>(input.size());

  ULONG outputSize = 0;
  if (!Ok(call(aesKey.get(), inputBytes, inputSize, nullptr, ivCopy.data(), kBlock, nullptr, 0,
               &outputSize, flags))) {
    throw std::runtime_error(sizeError);
  }

  std::string output(outputSize, '\0');
  ivCopy.assign(iv.begin(), iv.end());
  ULONG produced = 0;
  UCHAR spareOutput = 0;
  if (!Ok(call(aesKey.get(), inputBytes, inputSize, nullptr, ivCopy.data(), kBlock,
               NonNull(output, spareOutput), outputSize, &produced, flags))) {
    throw std::runtime_error(runError);
  }
  output.resize(produced);
  return output;
}

}  // namespace

// CNG's own padding removal is not used: Wine's accepts paddings Windows and OpenSSL
// refuse (a last block ending 05 02 lost two bytes, one ending 00 came back whole).
std::string AesCbcDecrypt(std::string_view key, std::string_view iv, std::string_view ciphertext) {
  std::string plaintext = RunCipher(BCryptDecrypt, 0, key, iv, ciphertext,
                                    crypto_text::kDecryptSize, crypto_text::kDecrypt);
  const std::optional<std::size_t> length = Pkcs7PlaintextLength(plaintext);
  if (!length) throw std::runtime_error(crypto_text::kDecrypt);
  plaintext.resize(*length);
  return plaintext;
}

std::string AesCbcEncrypt(std::string_view key, std::string_view iv, std::string_view plaintext) {
  return RunCipher(BCryptEncrypt, BCRYPT_BLOCK_PADDING, key, iv, plaintext, crypto_text::kEncrypt,
                   crypto_text::kEncrypt);
}

std::string RandomBytes(std::size_t count) {
  std::string bytes(count, '\0');
  if (count != 0 &&
      !Ok(BCryptGenRandom(nullptr, reinterpret_cast<PUCHAR>(bytes.data()),
                          static_cast<ULONG>(count), BCRYPT_USE_SYSTEM_PREFERRED_RNG))) {
    throw std::runtime_error(crypto_text::kRandom);
  }
  return bytes;
}
