#include "net/winhttp_request.h"

#include "net/pin_store.h"

namespace {

// Unknown CA, wrong usage, name mismatch and expiry: the chain checks pins replace.
constexpr DWORD kIgnoreChainErrors =
    SECURITY_FLAG_IGNORE_UNKNOWN_CA | SECURITY_FLAG_IGNORE_CERT_WRONG_USAGE |
    SECURITY_FLAG_IGNORE_CERT_CN_INVALID | SECURITY_FLAG_IGNORE_CERT_DATE_INVALID;

void SetDword(HINTERNET handle, DWORD option, DWORD value) {
  WinHttpSetOption(handle, option, &value, sizeof(value));  // best effort
}

}  // namespace

bool HostIsPinned(std::u16string_view host) {
  const std::optional<PinEntry> entry = PinStore::Instance().Find(host);
  return entry && !entry->pins.empty();
}

void ConfigureRequest(HINTERNET request, bool pinned) {
  SetDword(request, WINHTTP_OPTION_DISABLE_FEATURE, WINHTTP_DISABLE_REDIRECTS);
  SetDword(request, WINHTTP_OPTION_REDIRECT_POLICY,
           WINHTTP_OPTION_REDIRECT_POLICY_DISALLOW_HTTPS_TO_HTTP);
  if (pinned) SetDword(request, WINHTTP_OPTION_SECURITY_FLAGS, kIgnoreChainErrors);
}
