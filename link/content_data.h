#pragma once
// The platform request that resolves a content link id: what to send, and how to read
// the answer. The HTTP client sends the request; everything here is portable.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/header_field.h"
#include "net/http_response.h"

// What the platform says a content link id stands for. UTF-8 texts.
struct ContentData {
  std::string type = "video";
  std::string contentUrl;
  std::string videoUrl;  // replaces contentUrl when it is a YouTube address
  std::string watermarkText;
  std::int32_t pageScriptId = 1;

  bool operator==(const ContentData&) const = default;
};

// A form-encoded PUT. The headers are set on the shared client in this order and
// stay there for every later request of the process.
struct ContentDataRequest {
  std::u16string address;
  std::string body;
  std::u16string contentType;
  std::array<HeaderField, 3> headers;
};

// The address is the domain's API base followed by the content-data path. The body is
// the first form text, `p1`, the second form text and `contentLinkId`, both values
// form-encoded so that a standard form parser on the platform reads them back exactly
// (a '+', '&', '=' or '%' in them would otherwise change what it reads). The headers
// carry the two device identifier forms, then the client's fixed value.
ContentDataRequest BuildContentDataRequest(std::u16string_view domain,
                                           std::string_view contentLinkId, std::string_view p1,
                                           std::u16string_view deviceId,
                                           std::u16string_view secondDeviceId);

// Reads the platform's answer. On a 2xx status: the content record, or nothing when
// the body is no JSON object or a member has the wrong type. On any other status:
// nothing, with `errorText` (when given) set to the answer's string "message", or,
// failing that and while it is still empty, to the transport's error. Whenever a read
// fails on the way, `errorText` is left as it was. Nothing throws.
std::optional<ContentData> ReadContentDataAnswer(const HttpResponse& response,
                                                 std::string* errorText);
