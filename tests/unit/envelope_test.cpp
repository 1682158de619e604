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

std::string ErrorOf(const std::string& envelope, const std::string& key = kKey) {
  try {
    DecryptEnvelope(envelope, key);
  } catch (const std::exception& error) {
    return error.what();
  }
  return "no error";
}

TEST(DecryptEnvelope, KnownAnswerWithMacInEitherCaseOrWithout) {
  std::string upper = kMac;
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  for (const std::string& macMember :
       {",\"mac\":\"" + std::string(kMac) + "\"", ",\"mac\":\"" + upper + "\"",
        std::string(",\"mac\":\"\""), std::string(), std::string(",\"tag\":\"\",\"x\":1")}) {
    EXPECT_EQ(DecryptEnvelope(Envelope(Json(kIv, kValue, macMember)), kKey), "course-42")
        << macMember;
  }
}

TEST(DecryptEnvelope, PaddingOnlyCiphertextIsAnEmptySuccess) {
  EXPECT_EQ(DecryptEnvelope(Envelope(Json(kIv, kPaddingOnlyValue, "")), kKey), "");
}

TEST(DecryptEnvelope, MacCoversTheBase64TextsNotTheirBytes) {
  const std::string mac = ",\"mac\":\"" + std::string(kMac) + "\"";
  EXPECT_EQ(ErrorOf(Envelope(Json(kIv, kValue, mac.substr(0, mac.size() - 2) + "0\""))),
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
  EXPECT_EQ(ErrorOf(" " + Envelope(Json(kIv, kValue, ""))), "Failed to parse AES envelope JSON");

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
  const auto envelope = [](const std::string& iv, const std::string& value) {
    return Envelope(Json(iv, value, ""));
  };
  EXPECT_EQ(ErrorOf(envelope(kIv, kValue), kKey.substr(0, 31)),
            "BCryptGenerateSymmetricKey failed");
  EXPECT_EQ(ErrorOf(envelope(Base64Encode(std::string(15, 'i')), kValue)),
            "BCryptDecrypt (size query) failed");
  EXPECT_EQ(ErrorOf(envelope("", kValue)), "BCryptDecrypt (size query) failed");
  EXPECT_EQ(ErrorOf(envelope(kIv, Base64Encode(std::string(17, 'c')))),
            "BCryptDecrypt (size query) failed");
  // A wrong key (no MAC to stop it) leaves padding that does not check out.
  EXPECT_EQ(ErrorOf(envelope(kIv, kValue), std::string(32, 'k')), "BCryptDecrypt failed");
}

TEST(DecryptEnvelope, EmptyCiphertextHasNoPaddingToRemove) {
  EXPECT_EQ(ErrorOf(Envelope(Json(kIv, "", ""))), "BCryptDecrypt failed");
}

TEST(SealEnvelope, RoundTripsWithFreshIvs) {
  const std::string first = SealEnvelope("https://example.test/\xD9\x85", kKey);
  EXPECT_NE(first, SealEnvelope("https://example.test/\xD9\x85", kKey));
  EXPECT_EQ(DecryptEnvelope(first, kKey), "https://example.test/\xD9\x85");
  EXPECT_EQ(DecryptEnvelope(SealEnvelope("", kKey, false), kKey), "");
  EXPECT_EQ(Base64Decode(SealEnvelope("x", kKey, false)).find("mac"), std::string::npos);
}

TEST(HmacSha256, KnownAnswer) {
  EXPECT_EQ(HexLower(HmacSha256("Jefe", "what do ya want for nothing?")),
            "5bdcc146bf60754e6a042426089575c75a003f089d2739839dec58b964ec3843");
}

}  // namespace
