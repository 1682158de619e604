// OpenSSL implementation of the link primitives for the native build. It mirrors the
// CNG path's checks so that the same input fails with the same text in both builds.
#include <openssl/evp.h>
#include <openssl/hmac.h>
#include <openssl/rand.h>
#include <openssl/sha.h>

#include <memory>
#include <optional>
#include <stdexcept>

#include "common/crypto.h"
#include "common/pkcs7_padding.h"

namespace {

struct CipherContextFree {
  void operator()(EVP_CIPHER_CTX* context) const { EVP_CIPHER_CTX_free(context); }
};
using CipherContext = std::unique_ptr<EVP_CIPHER_CTX, CipherContextFree>;

constexpr std::size_t kBlock = 16;

const unsigned char* Bytes(std::string_view text) {
  return reinterpret_cast<const unsigned char*>(text.data());
}

// CNG accepts the three AES key sizes and nothing else.
const EVP_CIPHER* CipherForKey(std::string_view key) {
  switch (key.size()) {
    case 16:
      return EVP_aes_128_cbc();
    case 24:
      return EVP_aes_192_cbc();
    case 32:
      return EVP_aes_256_cbc();
    default:
      throw std::runtime_error(crypto_text::kAesKey);
  }
}

CipherContext NewContext() {
  CipherContext context(EVP_CIPHER_CTX_new());
  if (!context) throw std::runtime_error(crypto_text::kAesOpen);
  return context;
}

}  // namespace

std::string HmacSha256(std::string_view key, std::string_view data) {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  static const unsigned char kNoKey = 0;
  if (HMAC(EVP_sha256(), key.empty() ? &kNoKey : Bytes(key), static_cast<int>(key.size()),
           Bytes(data), data.size(), digest, &length) == nullptr) {
    throw std::runtime_error(crypto_text::kHashFinish);
  }
  return std::string(reinterpret_cast<const char*>(digest), length);
}

std::string Sha256(std::string_view data) {
  unsigned char digest[SHA256_DIGEST_LENGTH];
  SHA256(Bytes(data), data.size(), digest);
  return std::string(reinterpret_cast<const char*>(digest), sizeof(digest));
}

namespace {

// One AES-CBC pass; `encrypt` picks the direction. Encryption pads; decryption
// leaves the padding in place for the shared check, as the CNG path does.
std::string RunCipher(bool encrypt, std::string_view key, std::string_view iv,
                      std::string_view input, const char* sizeError, const char* runError) {
  CipherContext context = NewContext();
  const EVP_CIPHER* cipher = CipherForKey(key);
  // CNG's size query is where a wrong IV length or a partial block is refused.
  if (iv.size() != kBlock || (!encrypt && input.size() % kBlock != 0)) {
    throw std::runtime_error(sizeError);
  }
  std::string output(input.size() + kBlock, '\0');
  int produced = 0;
  int finalPart = 0;
  auto* out = reinterpret_cast<unsigned char*>(output.data());
  if (EVP_CipherInit_ex(context.get(), cipher, nullptr, Bytes(key), Bytes(iv), encrypt ? 1 : 0) !=
          1 ||
      EVP_CIPHER_CTX_set_padding(context.get(), encrypt ? 1 : 0) != 1 ||
      EVP_CipherUpdate(context.get(), out, &produced, Bytes(input),
                       static_cast<int>(input.size())) != 1 ||
      EVP_CipherFinal_ex(context.get(), out + produced, &finalPart) != 1) {
    throw std::runtime_error(runError);
  }
  output.resize(static_cast<std::size_t>(produced + finalPart));
  return output;
}

}  // namespace

std::string AesCbcDecrypt(std::string_view key, std::string_view iv, std::string_view ciphertext) {
  std::string plaintext =
      RunCipher(false, key, iv, ciphertext, crypto_text::kDecryptSize, crypto_text::kDecrypt);
  const std::optional<std::size_t> length = Pkcs7PlaintextLength(plaintext);
  if (!length) throw std::runtime_error(crypto_text::kDecrypt);
  plaintext.resize(*length);
  return plaintext;
}

std::string AesCbcEncrypt(std::string_view key, std::string_view iv, std::string_view plaintext) {
  return RunCipher(true, key, iv, plaintext, crypto_text::kEncrypt, crypto_text::kEncrypt);
}

std::string RandomBytes(std::size_t count) {
  std::string bytes(count, '\0');
  if (count != 0 &&
      RAND_bytes(reinterpret_cast<unsigned char*>(bytes.data()), static_cast<int>(count)) != 1) {
    throw std::runtime_error(crypto_text::kRandom);
  }
  return bytes;
}
