#include "link/platform_values.h"

#include "common/hidden_text.h"
#include QUORVEL_PROFILE_HEADER

namespace {

constexpr auto kProfileName = QUORVEL_HIDDEN(QUORVEL_PROFILE_NAME);
constexpr auto kLinkKeyConstant = QUORVEL_HIDDEN(QUORVEL_PROFILE_LINK_KEY_CONSTANT);
static_assert(kLinkKeyConstant.size() == kLinkKeyStoredSize,
              "the link key constant is one mask byte and 32 key bytes");

}  // namespace

std::string PlatformProfileName() { return kProfileName.Reveal(); }

void RevealLinkKeyConstant(std::span<char, kLinkKeyStoredSize> out) {
  kLinkKeyConstant.RevealInto(out);
}
