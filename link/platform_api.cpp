#include "link/platform_api.h"

#include "common/device_identity.h"
#include "net/http_client.h"

std::optional<ContentData> GetContentData(std::u16string_view domain,
                                          std::string_view contentLinkId, std::string_view p1,
                                          std::string* errorText) {
  try {
    HttpClient& client = HttpClient::Shared();
    const ContentDataRequest request = BuildContentDataRequest(
        domain, contentLinkId, p1, DeviceIdentifier(), SecondDeviceIdentifier());
    for (const HeaderField& header : request.headers) client.SetHeader(header.name, header.value);
    return ReadContentDataAnswer(client.Put(request.address, request.body, request.contentType),
                                 errorText);
  } catch (...) {
    return std::nullopt;
  }
}

VersionInfo CheckForUpdate(double runningVersion, std::u16string_view domain) {
  try {
    const HttpResponse response = HttpClient::Shared().Get(VersionCheckAddress(domain));
    return ReadVersionAnswer(response, runningVersion);
  } catch (...) {
    return {};
  }
}
