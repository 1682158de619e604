#pragma once
// The 32-byte key that protects links (AES-256 key and HMAC-SHA256 key at once). It
// exists only while a link is decoded or produced and is wiped when it goes away, on
// every path.

#include <array>
#include <span>
#include <string_view>

#include "common/platform_values.h"

class LinkKey {
 public:
  static constexpr std::size_t kSize = 32;

  // Assembles this build's key from its stored constant.
  LinkKey();
  // Assembles a key from a stored constant: byte i = stored[i + 1] ^ stored[0] ^ i.
  explicit LinkKey(std::span<const char, kLinkKeyStoredSize> stored);
  // Takes the key bytes as they are (a key given on the tool's command line).
  static LinkKey FromRaw(std::span<const char, kSize> raw);

  LinkKey(const LinkKey&) = delete;
  LinkKey& operator=(const LinkKey&) = delete;
  ~LinkKey();

  std::string_view bytes() const { return {bytes_.data(), bytes_.size()}; }

 private:
  struct RawTag {};
  LinkKey(RawTag, std::span<const char, kSize> raw);
  void Derive(std::span<const char, kLinkKeyStoredSize> stored);

  std::array<char, kSize> bytes_{};
};
