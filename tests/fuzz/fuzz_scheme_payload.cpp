#include <cstddef>
#include <cstdint>
#include <string>

#include "common/text.h"
#include "link/link_key.h"
#include "link/scheme_payload.h"

// The whole decoding road of a link as the player gets it from its command line,
// with the build's own key so that seeds made by quorvel-tool reach the decryption.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::u16string payload =
      Utf8ToUtf16(std::string(reinterpret_cast<const char*>(data), size));
  ContentRequest request;
  DecodedLink link;
  std::string reason;
  const bool ok = DecodeSchemePayload(payload, request, link, reason);
  if (ok != (reason == "unknown_error")) __builtin_trap();
  if (!ok && reason.empty()) __builtin_trap();
  return 0;
}
