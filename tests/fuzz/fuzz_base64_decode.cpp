#include <cstddef>
#include <cstdint>
#include <string_view>

#include "common/base64.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::string decoded = Base64Decode(text);
  if (decoded.size() > size) __builtin_trap();  // never more bytes than characters
  // What we encode, both decoders read back exactly.
  const std::string encoded = Base64Encode(text);
  if (Base64Decode(encoded) != text || Base64DecodeStrict(encoded) != text) __builtin_trap();
  return 0;
}
