#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "tools/runtime-standin/websocket_frame.h"

// What a DevTools server sends the runtime stand-in, cut into reads at arbitrary places:
// no message beyond the limit, and a malformed stream stays malformed.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  constexpr std::size_t kLimit = 4096;
  if (size == 0) return 0;
  const std::size_t chunk = 1 + data[0] % 64;
  const std::string_view stream(reinterpret_cast<const char*>(data) + 1, size - 1);
  standin::websocket::FrameDecoder decoder(kLimit);
  std::vector<standin::websocket::Received> received;
  bool malformed = false;
  for (std::size_t at = 0; at < stream.size(); at += chunk) {
    const bool ok = decoder.Feed(stream.substr(at, chunk), received);
    if (malformed && ok) __builtin_trap();
    malformed = !ok;
  }
  for (const auto& message : received) {
    if (message.payload.size() > kLimit) __builtin_trap();
  }
  return 0;
}
