#include "link/link_key.h"

#include <algorithm>
#include <cstdint>

#include "common/secure_wipe.h"

LinkKey::LinkKey() {
  std::array<char, kLinkKeyStoredSize> stored{};
  RevealLinkKeyConstant(stored);
  Derive(stored);
  SecureWipe(stored.data(), stored.size());
}

LinkKey::LinkKey(std::span<const char, kLinkKeyStoredSize> stored) { Derive(stored); }

LinkKey::LinkKey(RawTag, std::span<const char, kSize> raw) {
  std::copy(raw.begin(), raw.end(), bytes_.begin());
}

LinkKey LinkKey::FromRaw(std::span<const char, kSize> raw) { return LinkKey(RawTag{}, raw); }

LinkKey::~LinkKey() { SecureWipe(bytes_.data(), bytes_.size()); }

void LinkKey::Derive(std::span<const char, kLinkKeyStoredSize> stored) {
  const auto mask = static_cast<std::uint8_t>(stored[0]);
  for (std::size_t i = 0; i < kSize; ++i) {
    bytes_[i] = static_cast<char>(static_cast<std::uint8_t>(stored[i + 1]) ^ mask ^ i);
  }
}
