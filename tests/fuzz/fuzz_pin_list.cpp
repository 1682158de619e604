#include <cstddef>
#include <cstdint>
#include <string_view>

#include "net/pin_store.h"

// The platform's pin-list answer: whatever it holds, a list or nothing, and every
// entry the store keeps has pins.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto list = ReadPinList(std::string_view(reinterpret_cast<const char*>(data), size));
  if (list) {
    PinStore store;
    store.Replace(*list);
    for (const PinEntry& entry : *list) {
      if (entry.pins.empty()) __builtin_trap();
      if (!store.Find(entry.scope)) __builtin_trap();
    }
  }
  return 0;
}
