#include "link/link_key.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "common/hidden_text.h"
#include "common/platform_values.h"

namespace {

TEST(LinkKey, AssembledFromMaskByteAndMaskedBytes) {
  // Key bytes 0x40 + i, mask 0xA5: stored byte i + 1 = key[i] ^ 0xA5 ^ i.
  std::array<char, kLinkKeyStoredSize> stored{};
  stored[0] = static_cast<char>(0xA5);
  for (std::size_t i = 0; i < LinkKey::kSize; ++i) {
    stored[i + 1] = static_cast<char>((0x40 + i) ^ 0xA5 ^ i);
  }
  const LinkKey key(stored);
  for (std::size_t i = 0; i < LinkKey::kSize; ++i) {
    EXPECT_EQ(static_cast<unsigned char>(key.bytes()[i]), 0x40 + i) << i;
  }
}

TEST(LinkKey, BuildKeyComesFromTheProfileConstant) {
  std::array<char, kLinkKeyStoredSize> stored{};
  RevealLinkKeyConstant(stored);
  EXPECT_EQ(LinkKey().bytes(), LinkKey(stored).bytes());
  EXPECT_EQ(LinkKey().bytes().size(), 32u);
}

TEST(LinkKey, IsWipedWhenItGoesAway) {
  alignas(LinkKey) unsigned char storage[sizeof(LinkKey)];
  std::array<char, LinkKey::kSize> raw;
  raw.fill('\x7F');
  auto* key = new (storage) LinkKey(LinkKey::FromRaw(raw));
  ASSERT_EQ(key->bytes(), std::string(32, '\x7F'));
  key->~LinkKey();
  EXPECT_EQ(std::memchr(storage, 0x7F, sizeof storage), nullptr);
}

TEST(HiddenText, StoresMaskedAndRevealsPlain) {
  static constexpr auto kHidden = QUORVEL_HIDDEN("/api/v2/content-data");
  EXPECT_EQ(kHidden.Reveal(), "/api/v2/content-data");
  const std::string raw(reinterpret_cast<const char*>(&kHidden), sizeof kHidden);
  EXPECT_EQ(raw.find("content"), std::string::npos);
  // Two uses of the same text do not share a key stream.
  static constexpr auto kAgain = QUORVEL_HIDDEN("/api/v2/content-data");
  EXPECT_NE(std::memcmp(&kHidden, &kAgain, 8), 0);
}

}  // namespace
