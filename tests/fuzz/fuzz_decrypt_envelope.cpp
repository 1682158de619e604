#include <cstddef>
#include <cstdint>
#include <exception>
#include <string>
#include <string_view>

#include "common/base64.h"
#include "common/crypto.h"
#include "link/envelope.h"

// Envelopes under a fixed key: any JSON shape, any Base64. An input starting with '!'
// reaches past the MAC: the rest, split at its first '|', becomes the iv and value
// texts, sealed with the MAC they need, so the decryption and the padding check run on
// any bytes.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static constexpr std::string_view kKey("0123456789abcdef0123456789abcdef", 32);
  std::string_view input(reinterpret_cast<const char*>(data), size);
  std::string envelope(input);
  if (input.starts_with('!')) {
    input.remove_prefix(1);
    const std::size_t bar = input.find('|');
    const std::string iv = Base64Encode(input.substr(0, bar));
    const std::string value =
        Base64Encode(bar == std::string_view::npos ? std::string_view() : input.substr(bar + 1));
    envelope = Base64Encode(R"({"iv":")" + iv + R"(","value":")" + value + R"(","mac":")" +
                            HexLower(HmacSha256(kKey, iv + value)) + R"("})");
  }
  try {
    DecryptEnvelope(envelope, kKey);
  } catch (const std::exception&) {
    // Every failure is an exception with a message; anything else escapes and aborts.
  }
  return 0;
}
