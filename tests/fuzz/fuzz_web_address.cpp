#include <cstddef>
#include <cstdint>
#include <string>

#include "common/text.h"
#include "common/web_address.h"

// Any text, as a page or a link may write it: the reader gives a clear answer, and what
// it reads is an address it reads again as itself.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::u16string text = Utf8ToUtf16(std::string(reinterpret_cast<const char*>(data), size));
  const std::optional<WebAddress> reading = ReadWebAddress(text);
  if (!reading) return 0;
  if (reading->scheme != u"http" && reading->scheme != u"https") __builtin_trap();
  if (reading->host.empty() || AsciiLower(reading->host) != reading->host) __builtin_trap();
  if (reading->port < 0 || reading->port > 65535) __builtin_trap();
  if (!HostIsOrIsUnder(reading->host, reading->host)) __builtin_trap();

  // Written back in its plain form, it names the same host and port, with no user.
  const std::u16string plain = reading->scheme + u"://" + reading->host + u":" +
                               AsciiToUtf16(std::to_string(reading->port)) + reading->rest;
  const std::optional<WebAddress> again = ReadWebAddress(plain);
  if (!again || again->host != reading->host || again->port != reading->port ||
      again->hasUserInfo || again->rest != reading->rest) {
    __builtin_trap();
  }
  return 0;
}
