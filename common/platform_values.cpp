#include "common/platform_values.h"

#include "common/hidden_text.h"
#include QUORVEL_PROFILE_HEADER

namespace {

constexpr auto kLinkKeyConstant = QUORVEL_HIDDEN(QUORVEL_PROFILE_LINK_KEY_CONSTANT);
static_assert(kLinkKeyConstant.size() == kLinkKeyStoredSize,
              "the link key constant is one mask byte and 32 key bytes");

constexpr auto kContentDataPath = QUORVEL_HIDDEN(QUORVEL_PROFILE_CONTENT_DATA_PATH);
constexpr auto kContentFormFirst = QUORVEL_HIDDEN(QUORVEL_PROFILE_CONTENT_FORM_FIRST);
constexpr auto kContentFormSecond = QUORVEL_HIDDEN(QUORVEL_PROFILE_CONTENT_FORM_SECOND);
constexpr auto kDeviceIdHeader = QUORVEL_HIDDEN(QUORVEL_PROFILE_DEVICE_ID_HEADER);
constexpr auto kDeviceIdSecondHeader = QUORVEL_HIDDEN(QUORVEL_PROFILE_DEVICE_ID_SECOND_HEADER);
constexpr auto kClientHeader = QUORVEL_HIDDEN(QUORVEL_PROFILE_CLIENT_HEADER);
constexpr auto kClientHeaderValue = QUORVEL_HIDDEN(QUORVEL_PROFILE_CLIENT_HEADER_VALUE);

constexpr auto kContentDataMember = QUORVEL_HIDDEN(QUORVEL_PROFILE_CONTENT_DATA_MEMBER);
constexpr auto kContentTypeMember = QUORVEL_HIDDEN(QUORVEL_PROFILE_CONTENT_TYPE_MEMBER);
constexpr auto kContentUrlMember = QUORVEL_HIDDEN(QUORVEL_PROFILE_CONTENT_URL_MEMBER);
constexpr auto kContentVideoUrlMember = QUORVEL_HIDDEN(QUORVEL_PROFILE_CONTENT_VIDEO_URL_MEMBER);
constexpr auto kWatermarkTextMember = QUORVEL_HIDDEN(QUORVEL_PROFILE_WATERMARK_TEXT_MEMBER);
constexpr auto kPageScriptIdMember = QUORVEL_HIDDEN(QUORVEL_PROFILE_PAGE_SCRIPT_ID_MEMBER);

constexpr auto kVersionPath = QUORVEL_HIDDEN(QUORVEL_PROFILE_VERSION_PATH);
constexpr auto kVersionAddress = QUORVEL_HIDDEN(QUORVEL_PROFILE_VERSION_ADDRESS);

constexpr auto kPinListAddress = QUORVEL_HIDDEN(QUORVEL_PROFILE_PIN_LIST_ADDRESS);
constexpr auto kPinListSecret = QUORVEL_HIDDEN(QUORVEL_PROFILE_PIN_LIST_SECRET);
constexpr auto kPageScriptAddress = QUORVEL_HIDDEN(QUORVEL_PROFILE_PAGE_SCRIPT_ADDRESS);
constexpr auto kUserAgent = QUORVEL_HIDDEN(QUORVEL_PROFILE_USER_AGENT);

constexpr auto kIdentityHost1 = QUORVEL_HIDDEN(QUORVEL_PROFILE_IDENTITY_HOST_1);
constexpr auto kIdentityHost2 = QUORVEL_HIDDEN(QUORVEL_PROFILE_IDENTITY_HOST_2);
constexpr auto kIdentityHost3 = QUORVEL_HIDDEN(QUORVEL_PROFILE_IDENTITY_HOST_3);
constexpr auto kIdentityHeader = QUORVEL_HIDDEN(QUORVEL_PROFILE_IDENTITY_HEADER);
constexpr auto kIdentitySecondHeader = QUORVEL_HIDDEN(QUORVEL_PROFILE_IDENTITY_SECOND_HEADER);

constexpr auto kDefaultPinScope = QUORVEL_HIDDEN(QUORVEL_PROFILE_DEFAULT_PIN_SCOPE);
constexpr auto kDefaultPin1 = QUORVEL_HIDDEN(QUORVEL_PROFILE_DEFAULT_PIN_1);
constexpr auto kDefaultPin2 = QUORVEL_HIDDEN(QUORVEL_PROFILE_DEFAULT_PIN_2);
constexpr auto kDefaultPin3 = QUORVEL_HIDDEN(QUORVEL_PROFILE_DEFAULT_PIN_3);
constexpr auto kDefaultPin4 = QUORVEL_HIDDEN(QUORVEL_PROFILE_DEFAULT_PIN_4);
constexpr auto kDiagnosticSuffix = QUORVEL_HIDDEN(QUORVEL_PROFILE_DIAGNOSTIC_DOMAIN_SUFFIX);

constexpr auto kBrowserPlatformHost1 = QUORVEL_HIDDEN(QUORVEL_PROFILE_BROWSER_PLATFORM_HOST_1);
constexpr auto kBrowserPlatformHost2 = QUORVEL_HIDDEN(QUORVEL_PROFILE_BROWSER_PLATFORM_HOST_2);
constexpr auto kBrowserPlatformHost3 = QUORVEL_HIDDEN(QUORVEL_PROFILE_BROWSER_PLATFORM_HOST_3);
constexpr auto kBrowserFixedName = QUORVEL_HIDDEN(QUORVEL_PROFILE_BROWSER_FIXED_HEADER_NAME);
constexpr auto kBrowserFixedValue = QUORVEL_HIDDEN(QUORVEL_PROFILE_BROWSER_FIXED_HEADER_VALUE);
constexpr auto kBrowserIdHeader1 = QUORVEL_HIDDEN(QUORVEL_PROFILE_BROWSER_ID_HEADER_1);
constexpr auto kBrowserIdHeader2 = QUORVEL_HIDDEN(QUORVEL_PROFILE_BROWSER_ID_HEADER_2);
constexpr auto kBrowserIdHeader3 = QUORVEL_HIDDEN(QUORVEL_PROFILE_BROWSER_ID_HEADER_3);
constexpr auto kBrowserIdHeader4 = QUORVEL_HIDDEN(QUORVEL_PROFILE_BROWSER_ID_HEADER_4);

constexpr auto kMediaEnding6 = QUORVEL_HIDDEN(QUORVEL_PROFILE_MEDIA_ENDING_6);
constexpr auto kMediaEnding9 = QUORVEL_HIDDEN(QUORVEL_PROFILE_MEDIA_ENDING_9);
constexpr auto kMediaFragment = QUORVEL_HIDDEN(QUORVEL_PROFILE_MEDIA_FRAGMENT);
constexpr auto kMediaEnding20 = QUORVEL_HIDDEN(QUORVEL_PROFILE_MEDIA_ENDING_20);
static_assert(kMediaEnding6.size() == 6 && kMediaEnding9.size() == 9 && kMediaEnding20.size() == 20,
              "the media endings have fixed lengths");

constexpr auto kPlatformWebDomain1 = QUORVEL_HIDDEN(QUORVEL_PROFILE_PLATFORM_WEB_DOMAIN_1);
constexpr auto kPlatformWebDomain2 = QUORVEL_HIDDEN(QUORVEL_PROFILE_PLATFORM_WEB_DOMAIN_2);
constexpr auto kPlatformWebDomain3 = QUORVEL_HIDDEN(QUORVEL_PROFILE_PLATFORM_WEB_DOMAIN_3);
constexpr auto kWebAppStart = QUORVEL_HIDDEN(QUORVEL_PROFILE_WEB_APP_START_ADDRESS);
constexpr auto kWebAppHome = QUORVEL_HIDDEN(QUORVEL_PROFILE_WEB_APP_HOME_ADDRESS);
constexpr auto kInitHeader1Name = QUORVEL_HIDDEN(QUORVEL_PROFILE_INIT_HEADER_1_NAME);
constexpr auto kInitHeader1Value = QUORVEL_HIDDEN(QUORVEL_PROFILE_INIT_HEADER_1_VALUE);
constexpr auto kInitHeader2Name = QUORVEL_HIDDEN(QUORVEL_PROFILE_INIT_HEADER_2_NAME);
constexpr auto kInitHeader2Value = QUORVEL_HIDDEN(QUORVEL_PROFILE_INIT_HEADER_2_VALUE);

}  // namespace

void RevealLinkKeyConstant(std::span<char, kLinkKeyStoredSize> out) {
  kLinkKeyConstant.RevealInto(out);
}

std::string ContentDataPath() { return kContentDataPath.Reveal(); }
std::string ContentFormFirstText() { return kContentFormFirst.Reveal(); }
std::string ContentFormSecondText() { return kContentFormSecond.Reveal(); }
std::string DeviceIdHeaderName() { return kDeviceIdHeader.Reveal(); }
std::string DeviceIdSecondHeaderName() { return kDeviceIdSecondHeader.Reveal(); }
std::string ClientHeaderName() { return kClientHeader.Reveal(); }
std::string ClientHeaderValue() { return kClientHeaderValue.Reveal(); }

std::string ContentDataMember() { return kContentDataMember.Reveal(); }
std::string ContentTypeMember() { return kContentTypeMember.Reveal(); }
std::string ContentUrlMember() { return kContentUrlMember.Reveal(); }
std::string ContentVideoUrlMember() { return kContentVideoUrlMember.Reveal(); }
std::string WatermarkTextMember() { return kWatermarkTextMember.Reveal(); }
std::string PageScriptIdMember() { return kPageScriptIdMember.Reveal(); }

std::string VersionPath() { return kVersionPath.Reveal(); }
std::string VersionAddress() { return kVersionAddress.Reveal(); }

std::string PinListAddress() { return kPinListAddress.Reveal(); }
std::string PinListSecret() { return kPinListSecret.Reveal(); }
std::string PageScriptAddress() { return kPageScriptAddress.Reveal(); }
std::string UserAgent() { return kUserAgent.Reveal(); }

std::array<std::string, 3> IdentityHosts() {
  return {kIdentityHost1.Reveal(), kIdentityHost2.Reveal(), kIdentityHost3.Reveal()};
}
std::string IdentityHeaderName() { return kIdentityHeader.Reveal(); }
std::string IdentitySecondHeaderName() { return kIdentitySecondHeader.Reveal(); }

std::string DefaultPinScope() { return kDefaultPinScope.Reveal(); }
std::array<std::string, 4> DefaultPinTexts() {
  return {kDefaultPin1.Reveal(), kDefaultPin2.Reveal(), kDefaultPin3.Reveal(),
          kDefaultPin4.Reveal()};
}
std::string DiagnosticDomainSuffix() { return kDiagnosticSuffix.Reveal(); }

std::array<std::string, 3> BrowserPlatformHosts() {
  return {kBrowserPlatformHost1.Reveal(), kBrowserPlatformHost2.Reveal(),
          kBrowserPlatformHost3.Reveal()};
}
std::string BrowserFixedHeaderName() { return kBrowserFixedName.Reveal(); }
std::string BrowserFixedHeaderValue() { return kBrowserFixedValue.Reveal(); }
std::array<std::string, 4> BrowserIdHeaderNames() {
  return {kBrowserIdHeader1.Reveal(), kBrowserIdHeader2.Reveal(), kBrowserIdHeader3.Reveal(),
          kBrowserIdHeader4.Reveal()};
}

MediaPatterns BrowserMediaPatterns() {
  return {kMediaEnding6.Reveal(), kMediaEnding9.Reveal(), kMediaFragment.Reveal(),
          kMediaEnding20.Reveal()};
}

std::array<std::string, 3> PlatformWebDomains() {
  return {kPlatformWebDomain1.Reveal(), kPlatformWebDomain2.Reveal(), kPlatformWebDomain3.Reveal()};
}
std::string WebAppStartAddress() { return kWebAppStart.Reveal(); }
std::string WebAppHomeAddress() { return kWebAppHome.Reveal(); }
std::array<std::array<std::string, 2>, 2> InitScreenHeaders() {
  return {{{kInitHeader1Name.Reveal(), kInitHeader1Value.Reveal()},
           {kInitHeader2Name.Reveal(), kInitHeader2Value.Reveal()}}};
}
