#include "webview/browser_identity.h"

#include "common/platform_values.h"
#include "common/text.h"

bool WantsIdentityHeaders(std::u16string_view address) {
  const std::u16string lower = AsciiLower(address);
  for (const std::string& fragment : BrowserAddressFragments()) {
    if (lower.find(AsciiToUtf16(fragment)) != std::u16string::npos) return true;
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
