#include "common/pkcs7_padding.h"

namespace {

constexpr std::size_t kBlock = 16;

}  // namespace

std::optional<std::size_t> Pkcs7PlaintextLength(std::string_view decrypted) {
  if (decrypted.empty() || decrypted.size() % kBlock != 0) return std::nullopt;
  const auto padding = static_cast<unsigned char>(decrypted.back());
  if (padding == 0 || padding > kBlock) return std::nullopt;
  // Folds every difference in, rather than stopping at the first one.
  unsigned char difference = 0;
  for (std::size_t i = decrypted.size() - padding; i < decrypted.size(); ++i) {
    difference |= static_cast<unsigned char>(decrypted[i]) ^ padding;
  }
  if (difference != 0) return std::nullopt;
  return decrypted.size() - padding;
}
