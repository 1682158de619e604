#include "link/parse_scheme_args.h"

#include "common/step_log.h"
#include "common/text.h"
#include "link/content_resolution.h"
#include "link/platform_api.h"
#include "link/scheme_payload.h"
#include "net/http_client.h"

namespace {

// The page script comes from a fixed address outside the pin table, so it is fetched
// by a client of its own: no pins, none of the shared client's headers, and the
// system's certificate validation.
void FetchPageScript(ContentRequest& request) {
  HttpClient client;
  client.DisablePinCheck();
  const HttpResponse response = client.Get(PageScriptAddressFor(request.pageScriptId));
  if (response.success) request.pageScript = Utf8ToUtf16(response.body);
}

bool Resolve(const DecodedLink& link, ContentRequest& request, std::string& failureReason) {
  std::string errorText;
  const std::optional<ContentData> data =
      GetContentData(request.domain, link.contentLinkId, link.p1, &errorText);
  StepLog(std::string("Step 10: Content data answered. ok=") + (data ? "1" : "0"));
  if (!data) {
    failureReason = errorText.empty() ? "api_content_data_failed" : "server:" + errorText;
    return false;
  }
  const bool youTube = ApplyContentData(*data, request);
  // An answer that names nothing to show is no success: the learner would get a blank
  // window and support no code.
  if (request.url.empty()) {
    failureReason = "api_content_data_failed";
    return false;
  }
  if (youTube) FetchPageScript(request);
  return true;
}

}  // namespace

bool ParseSchemeArgs(std::u16string_view payload, ContentRequest& request,
                     std::string& failureReason) {
  DecodedLink link;
  if (!DecodeSchemePayload(payload, request, link, failureReason)) return false;
  StepLog("Step 10: Link decoded");
  if (link.directUrl) return true;
  try {
    return Resolve(link, request, failureReason);
  } catch (...) {
    failureReason = ReasonForCurrentException();
    return false;
  }
}
