#include "webview/browser_identity.h"

#include "common/platform_values.h"
#include "common/text.h"
#include "common/web_address.h"

bool WantsIdentityHeaders(std::u16string_view address) {
  // The host the browser will contact decides, never text elsewhere in the address:
  // "https://localhost.evil.example/" and "https://evil.example/?u=://127.0.0.1" are
  // not the platform. Identifiers never cross the network in the clear.
  const std::optional<WebAddress> reading = ReadWebAddress(address);
  if (!reading || reading->scheme != u"https") return false;
  for (const std::string& host : BrowserPlatformHosts()) {
    if (HostIsOrIsUnder(reading->host, AsciiToUtf16(host))) return true;
  }
  return false;
}

std::vector<HeaderField> BrowserIdentityHeaders(std::u16string_view deviceId,
                                                std::u16string_view secondDeviceId) {
  const std::array<std::string, 4> names = BrowserIdHeaderNames();
  std::vector<HeaderField> headers{
      {AsciiToUtf16(BrowserFixedHeaderName()), AsciiToUtf16(BrowserFixedHeaderValue())}};
  if (!deviceId.empty()) {
    headers.push_back({AsciiToUtf16(names[0]), std::u16string(deviceId)});
    headers.push_back({AsciiToUtf16(names[2]), std::u16string(deviceId)});
  }
  if (!secondDeviceId.empty()) {
    headers.push_back({AsciiToUtf16(names[1]), std::u16string(secondDeviceId)});
    headers.push_back({AsciiToUtf16(names[3]), std::u16string(secondDeviceId)});
  }
  return headers;
}
