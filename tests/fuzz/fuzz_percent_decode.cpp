#include <cstddef>
#include <cstdint>
#include <string>

#include "common/text.h"
#include "link/percent.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const std::u16string decoded = PercentDecode(Utf8ToUtf16(bytes));
  (void)decoded;
  // Encoding then decoding gives back the (UTF-8 clean) text.
  const std::u16string clean = Utf8ToUtf16(bytes);
  const std::string encoded = PercentEncodeUnreserved(Utf16ToUtf8(clean));
  if (PercentDecode(Utf8ToUtf16(encoded)) != clean) __builtin_trap();
  return 0;
}
