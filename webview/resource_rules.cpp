#include "webview/resource_rules.h"

#include "common/platform_values.h"
#include "common/text.h"
#include "webview/browser_identity.h"

namespace {

bool EndsWith(std::u16string_view text, const std::string& ending) {
  return text.ends_with(AsciiToUtf16(ending));
}

void AddPair(std::vector<HeaderField>& headers, const std::string& firstName,
             const std::string& secondName, std::u16string_view deviceId,
             std::u16string_view secondDeviceId) {
  if (!deviceId.empty()) headers.push_back({AsciiToUtf16(firstName), std::u16string(deviceId)});
  if (!secondDeviceId.empty()) {
    headers.push_back({AsciiToUtf16(secondName), std::u16string(secondDeviceId)});
  }
}

}  // namespace

bool MatchesMediaPatterns(std::u16string_view lowerAddress) {
  const MediaPatterns patterns = BrowserMediaPatterns();
  return EndsWith(lowerAddress, patterns.ending6) || EndsWith(lowerAddress, patterns.ending9) ||
         lowerAddress.find(AsciiToUtf16(patterns.fragment)) != std::u16string_view::npos ||
         EndsWith(lowerAddress, patterns.ending20);
}

std::vector<HeaderField> ResourceIdentityHeaders(std::u16string_view lowerAddress,
                                                 std::u16string_view deviceId,
                                                 std::u16string_view secondDeviceId) {
  const std::array<std::string, 4> names = BrowserIdHeaderNames();
  std::vector<HeaderField> headers;
  if (WantsIdentityHeaders(lowerAddress)) {
    AddPair(headers, names[0], names[1], deviceId, secondDeviceId);
  }
  // Media of the platform's player pages may come from any delivery network, so their
  // pair goes by address; but only over https, never in the clear.
  if (lowerAddress.starts_with(u"https://") && MatchesMediaPatterns(lowerAddress)) {
    AddPair(headers, names[2], names[3], deviceId, secondDeviceId);
  }
  return headers;
}
