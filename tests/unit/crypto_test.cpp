#include "common/crypto.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "common/base64.h"
#include "net/pin_store.h"

namespace {

TEST(Sha256, KnownDigests) {
  EXPECT_EQ(HexLower(Sha256("")),
            "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
  EXPECT_EQ(HexLower(Sha256("abc")),
            "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
}

// Blocks encrypted without padding by the openssl command line (key bytes 00..1f, IV
// bytes 10..1f), so that their last bytes are whatever the case needs. Both builds
// must open and refuse exactly the same ones: the CNG provider under Wine opened the
// first three refused ones (two bytes short, NUL kept, one byte short).
TEST(AesCbcDecrypt, ChecksEveryPaddingByteInBothBuilds) {
  const std::string key =
      *HexDecode("000102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f");
  const std::string iv = *HexDecode("101112131415161718191a1b1c1d1e1f");
  constexpr char kRefused[] = "refused";
  const struct {
    const char* ciphertext;
    const char* decrypted;  // before the padding is removed
    std::string expected;
  } cases[] = {
      {"dl+QKYNXF1r24rOUNwwqJA==", "abcdefghijklmn 05 02", kRefused},
      {"JfiK+x2bpIhahx/eEWRBdA==", "abcdefghijklmno 00", kRefused},
      {"LOyt3W5EwOlwV2yGIl/xBg==", "abcdefghijkl 03 03 02 03", kRefused},
      {"hYu03OFnt09nDbkmsvPKLA==", "abcdefghijklmno 11", kRefused},
      {"fqpRAKSyYVkm7JvarQLKN60hvfO9rYvk03oavLhQegs=", "abcdefghijklmnop 0f 10 x 15", kRefused},
      {"bY9tVakYmeO2bWKPlB/A0w==", "abcdefghijklmno 01", "abcdefghijklmno"},
      {"Ina3TXuZHb1w3NG9t0Y1dQ==", "abcdefghijklmn 02 02", "abcdefghijklmn"},
      {"Wm4EVwj7cZbwLlU9AsOmkg==", "10 x 16", ""},
      {"fqpRAKSyYVkm7JvarQLKN+6eGSYnPFQQSaGVOGuMTVw=", "abcdefghijklmnop 10 x 16",
       "abcdefghijklmnop"},
  };
  for (const auto& c : cases) {
    std::string result;
    try {
      result = AesCbcDecrypt(key, iv, *Base64DecodeStrict(c.ciphertext));
    } catch (const std::runtime_error& error) {
      EXPECT_STREQ(error.what(), "BCryptDecrypt failed") << c.decrypted;
      result = kRefused;
    }
    EXPECT_EQ(result, c.expected) << c.decrypted;
  }
}

// A pin that is not Base64 of 32 bytes could never match and would lock the player
// out of its own platform.
TEST(DefaultPins, OneEntryWithFourWellFormedPins) {
  const std::vector<PinEntry> pins = DefaultPins();
  ASSERT_EQ(pins.size(), 1u);
  EXPECT_FALSE(pins[0].scope.empty());
  ASSERT_EQ(pins[0].pins.size(), 4u);
  for (const std::string& pin : pins[0].pins) {
    ASSERT_EQ(pin.size(), 44u) << pin;
    const std::optional<std::string> digest = Base64DecodeStrict(pin);
    ASSERT_TRUE(digest) << pin;
    EXPECT_EQ(digest->size(), 32u) << pin;
  }
}

}  // namespace
