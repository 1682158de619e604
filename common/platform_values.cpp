#include "link/platform_values.h"

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
