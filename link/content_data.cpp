#include "link/content_data.h"

#include <nlohmann/json.hpp>

#include "common/platform_values.h"
#include "common/text.h"
#include "link/api_address.h"
#include "link/json_number.h"
#include "link/percent.h"

namespace {

using nlohmann::json;

constexpr std::u16string_view kFormContentType = u"application/x-www-form-urlencoded";

json ParseOrDiscard(const std::string& body) {
  return json::parse(body, nullptr, /*allow_exceptions=*/false);
}

// Absent and null members keep the default; any other non-string raises the JSON
// library's type error.
void ReadText(const json& object, const std::string& name, std::string& field) {
  const auto member = object.find(name);
  if (member != object.end() && !member->is_null()) field = member->get<std::string>();
}

void ReadPageScriptId(const json& object, std::int32_t& field) {
  const auto member = object.find(PageScriptIdMember());
  if (member == object.end() || member->is_null()) return;
  if (member->is_boolean()) {
    field = member->get<bool>() ? 1 : 0;
  } else if (const std::optional<std::int32_t> number = JsonNumberToInt32(*member)) {
    field = *number;
  } else {
    field = member->get<std::int32_t>();  // not a number: raises the library's type error
  }
}

std::optional<ContentData> ReadContent(const std::string& body) {
  const json answer = ParseOrDiscard(body);
  // An array or a bare value carries no content; showing an empty address instead
  // would leave the learner with a blank window and no code for support.
  if (!answer.is_object()) return std::nullopt;

  const auto data = answer.find(ContentDataMember());
  const json& content = data != answer.end() && data->is_object() ? *data : answer;
  ContentData record;
  ReadText(content, ContentTypeMember(), record.type);
  ReadText(content, ContentUrlMember(), record.contentUrl);
  ReadText(content, ContentVideoUrlMember(), record.videoUrl);
  ReadText(answer, WatermarkTextMember(), record.watermarkText);
  ReadPageScriptId(content, record.pageScriptId);
  return record;
}

void ReadFailure(const HttpResponse& response, std::string& errorText) {
  try {
    const json answer = ParseOrDiscard(response.body);
    if (answer.is_object() && answer.contains("message")) {
      errorText = answer["message"].get<std::string>();
    }
  } catch (...) {
    // A "message" that is not a string is as good as none.
  }
  if (errorText.empty() && !response.error.empty()) errorText = response.error;
}

}  // namespace

ContentDataRequest BuildContentDataRequest(std::u16string_view domain,
                                           std::string_view contentLinkId, std::string_view p1,
                                           std::u16string_view deviceId,
                                           std::u16string_view secondDeviceId) {
  ContentDataRequest request;
  request.address = ApiBaseAddress(domain) + AsciiToUtf16(ContentDataPath());
  request.body = ContentFormFirstText();
  request.body += FormUrlEncode(p1);
  request.body += ContentFormSecondText();
  request.body += FormUrlEncode(contentLinkId);
  request.contentType = kFormContentType;
  request.headers = {{
      {AsciiToUtf16(DeviceIdHeaderName()), std::u16string(deviceId)},
      {AsciiToUtf16(DeviceIdSecondHeaderName()), std::u16string(secondDeviceId)},
      {AsciiToUtf16(ClientHeaderName()), AsciiToUtf16(ClientHeaderValue())},
  }};
  return request;
}

std::optional<ContentData> ReadContentDataAnswer(const HttpResponse& response,
                                                 std::string* errorText) {
  try {
    if (response.success) return ReadContent(response.body);
    if (errorText != nullptr) {
      // Worked on a copy so that a failure half-way leaves the caller's text alone.
      std::string text = *errorText;
      ReadFailure(response, text);
      *errorText = std::move(text);
    }
  } catch (...) {
  }
  return std::nullopt;
}
