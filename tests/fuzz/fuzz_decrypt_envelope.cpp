#include <cstddef>
#include <cstdint>
#include <exception>
#include <string_view>

#include "link/envelope.h"

// Envelopes under a fixed key: with and without MAC, any JSON shape, any Base64.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static constexpr char kKey[] = "0123456789abcdef0123456789abcdef";
  try {
    DecryptEnvelope(std::string_view(reinterpret_cast<const char*>(data), size),
                    std::string_view(kKey, 32));
  } catch (const std::exception&) {
    // Every failure is an exception with a message; anything else escapes and aborts.
  }
  return 0;
}
