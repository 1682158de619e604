#include "common/crypto.h"

#include <gtest/gtest.h>

#include "common/base64.h"
#include "net/pin_store.h"

namespace {

TEST(Sha256, KnownDigests) {
  EXPECT_EQ(HexLower(Sha256("")),
            "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
  EXPECT_EQ(HexLower(Sha256("abc")),
            "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
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
