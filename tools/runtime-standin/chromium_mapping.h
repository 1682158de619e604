#pragma once
// Chromium's words in the runtime's terms: resource types as resource contexts, network
// error texts as web error statuses.

#include <string_view>

#include "webview/abi/WebView2.h"

namespace standin {

// Fetch's resourceType ("Document", "Script", "XHR", …).
COREWEBVIEW2_WEB_RESOURCE_CONTEXT ContextOfResourceType(std::string_view type);

// Chromium's error text ("net::ERR_NAME_NOT_RESOLVED", …).
COREWEBVIEW2_WEB_ERROR_STATUS StatusOfNetError(std::string_view error);

// A document that came with an HTTP error status.
COREWEBVIEW2_WEB_ERROR_STATUS StatusOfHttpError(int status);

}  // namespace standin
