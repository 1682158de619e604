#include "link/envelope.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "common/base64.h"
#include "common/crypto.h"

namespace {

// Known answers made with the openssl command line: key bytes 00..1f, IV bytes 10..1f.
const std::string kKey =
    *HexDecode("000102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f");
constexpr char kIv[] = "EBESExQVFhcYGRobHB0eHw==";
constexpr char kValue[] = "iXxykBYOBE8wSvjMv2R/LA==";  // "course-42"
constexpr char kMac[] = "4eece821c96a94d02a9a66b247b5a1a5cdbf65e7927dab5bfebbc603e2752e97";
constexpr char kPaddingOnlyValue[] = "Wm4EVwj7cZbwLlU9AsOmkg==";  // the empty text

std::string Envelope(const std::string& json) { return Base64Encode(json); }

std::string Json(const std::string& iv, const std::string& value, const std::string& macMember) {
  return "{\"iv\":\"" + iv + "\",\"value\":\"" + value + "\"" + macMember + "}";
}

// An envelope whose MAC is right for its texts, so that what follows the MAC decides.
std::string Sealed(const std::string& iv, const std::string& value) {
  return Envelope(Json(iv, value, ",\"mac\":\"" + HexLower(HmacSha256(kKey, iv + value)) + "\""));
}

std::string ErrorOf(const std::string& envelope, const std::string& key = kKey) {
  try {
    DecryptEnvelope(envelope, key);
  } catch (const std::exception& error) {
    return error.what();
  }
  return "no error";
}

// The decryption of the known answer's texts under another key (the MAC would stop
// the envelope before it).
std::string AesCbcDecryptError(const std::string& key) {
  try {
    AesCbcDecrypt(key, *Base64DecodeStrict(kIv), *Base64DecodeStrict(kValue));
  } catch (const std::exception& error) {
    return error.what();
  }
  return "no error";
}

TEST(DecryptEnvelope, KnownAnswerWithMacInEitherCase) {
  std::string upper = kMac;
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  for (const std::string& macMember :
       {",\"mac\":\"" + std::string(kMac) + "\"", ",\"mac\":\"" + upper + "\",\"tag\":\"\""}) {
    EXPECT_EQ(DecryptEnvelope(Envelope(Json(kIv, kValue, macMember)), kKey), "course-42")
        << macMember;
  }
}

TEST(DecryptEnvelope, WithoutItsMacNothingIsDecrypted) {
  for (const std::string& macMember :
       {std::string(), std::string(",\"mac\":\"\""), std::string(",\"tag\":\"\",\"x\":1")}) {
    EXPECT_THROW(DecryptEnvelope(Envelope(Json(kIv, kValue, macMember)), kKey), EnvelopeMacMissing)
        << macMember;
  }
  EXPECT_EQ(std::string(kEnvelopeMacMissingError), "MAC missing \u2014 data is not authenticated");
}

// Without the key, flipping IV bits rewrites the first plaintext block at will: the
// forgery that made a content link id read as a direct address.
TEST(DecryptEnvelope, IvBitFlipForgeryIsRefused) {
  const std::string plain = std::string("course-42") + std::string(7, '\x07');
  const std::string wanted = std::string("https://ev.il/") + std::string(2, '\x02');
  std::string iv = *Base64DecodeStrict(kIv);
  for (std::size_t i = 0; i < iv.size(); ++i)
    iv[i] = static_cast<char>(iv[i] ^ plain[i] ^ wanted[i]);
  const std::string forgedIv = Base64Encode(iv);
  // The flip does what the forger wants, as the decryption alone shows...
  EXPECT_EQ(AesCbcDecrypt(kKey, iv, *Base64DecodeStrict(kValue)), "https://ev.il/");
  // ...but the envelope is refused, with the old MAC, without it, or with an empty one.
  EXPECT_EQ(ErrorOf(Envelope(Json(forgedIv, kValue, ",\"mac\":\"" + std::string(kMac) + "\""))),
            kEnvelopeMacError);
  EXPECT_EQ(ErrorOf(Envelope(Json(forgedIv, kValue, ""))), kEnvelopeMacMissingError);
  EXPECT_EQ(ErrorOf(Envelope(Json(forgedIv, kValue, ",\"mac\":\"\""))), kEnvelopeMacMissingError);
}

TEST(DecryptEnvelope, PaddingOnlyCiphertextIsAnEmptySuccess) {
  EXPECT_EQ(DecryptEnvelope(Sealed(kIv, kPaddingOnlyValue), kKey), "");
}

TEST(DecryptEnvelope, MacCoversTheBase64TextsNotTheirBytes) {
  const std::string mac = ",\"mac\":\"" + std::string(kMac) + "\"";
  // A wrong last digit, and a MAC one digit short, are refused alike.
  EXPECT_EQ(ErrorOf(Envelope(Json(kIv, kValue, mac.substr(0, mac.size() - 2) + "0\""))),
            kEnvelopeMacError);
  EXPECT_EQ(ErrorOf(Envelope(Json(kIv, kValue, mac.substr(0, mac.size() - 2) + "\""))),
            kEnvelopeMacError);
  // The same IV bytes written without their fill decode alike but change the MAC.
  EXPECT_EQ(ErrorOf(Envelope(Json("EBESExQVFhcYGRobHB0eHw", kValue, mac))), kEnvelopeMacError);
  // So does a wrong key, before any decryption is tried.
  EXPECT_EQ(ErrorOf(Envelope(Json(kIv, kValue, mac)), std::string(32, 'k')), kEnvelopeMacError);
  EXPECT_EQ(std::string(kEnvelopeMacError), "MAC verification failed \u2014 data may be tampered");
}

TEST(DecryptEnvelope, JsonProblemsKeepTheLibraryTexts) {
  EXPECT_EQ(ErrorOf(Envelope("not json")), "Failed to parse AES envelope JSON");
  EXPECT_EQ(ErrorOf(""), "Failed to parse AES envelope JSON");
  // A stray character ends the Base64 early, so the JSON is cut short.
  EXPECT_EQ(ErrorOf(" " + Sealed(kIv, kValue)), "Failed to parse AES envelope JSON");

  const std::string typeError = "[json.exception.type_error.302] type must be string, but is ";
  EXPECT_EQ(ErrorOf(Envelope("{\"value\":\"x\"}")), typeError + "null");
  EXPECT_EQ(ErrorOf(Envelope("{\"iv\":5,\"value\":\"x\"}")), typeError + "number");
  EXPECT_EQ(ErrorOf(Envelope("{\"iv\":\"x\"}")), typeError + "null");
  EXPECT_EQ(ErrorOf(Envelope(Json(kIv, kValue, ",\"mac\":null"))), typeError + "null");
  EXPECT_EQ(ErrorOf(Envelope(Json(kIv, kValue, ",\"mac\":[]"))), typeError + "array");
  EXPECT_EQ(ErrorOf(Envelope("null")), typeError + "null");
  EXPECT_EQ(ErrorOf(Envelope("[1]")),
            "[json.exception.type_error.305] cannot use operator[] with a string argument with "
            "array");
}

TEST(DecryptEnvelope, EachCryptoFailureHasItsOwnText) {
  // The MAC holds for these texts; what it protects is unusable.
  EXPECT_EQ(ErrorOf(Sealed(Base64Encode(std::string(15, 'i')), kValue)),
            "BCryptDecrypt (size query) failed");
  EXPECT_EQ(ErrorOf(Sealed("", kValue)), "BCryptDecrypt (size query) failed");
  EXPECT_EQ(ErrorOf(Sealed(kIv, Base64Encode(std::string(17, 'c')))),
            "BCryptDecrypt (size query) failed");
  EXPECT_EQ(ErrorOf(Sealed(kIv, "")), "BCryptDecrypt failed");  // no padding to remove
  EXPECT_EQ(AesCbcDecryptError(kKey.substr(0, 31)), "BCryptGenerateSymmetricKey failed");
  // A wrong key leaves padding that does not check out.
  EXPECT_EQ(AesCbcDecryptError(std::string(32, 'k')), "BCryptDecrypt failed");
}

TEST(SealEnvelope, RoundTripsWithFreshIvsAndAlwaysAMac) {
  const std::string first = SealEnvelope("https://example.test/\xD9\x85", kKey);
  EXPECT_NE(first, SealEnvelope("https://example.test/\xD9\x85", kKey));
  EXPECT_EQ(DecryptEnvelope(first, kKey), "https://example.test/\xD9\x85");
  EXPECT_EQ(DecryptEnvelope(SealEnvelope("", kKey), kKey), "");
}

TEST(HmacSha256, KnownAnswer) {
  EXPECT_EQ(HexLower(HmacSha256("Jefe", "what do ya want for nothing?")),
            "5bdcc146bf60754e6a042426089575c75a003f089d2739839dec58b964ec3843");
}

}  // namespace
