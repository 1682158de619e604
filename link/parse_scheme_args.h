#pragma once
// Turns the text a "quorvel:" link started the player with into the content to show.

#include <string>
#include <string_view>

#include "link/content_request.h"

// Decodes the link and, unless it carries a direct address, resolves its content link
// id through the platform; YouTube content also gets its page script. On false,
// `failureReason` says why for the diagnostic code: the decoding reasons,
// "server:" + the platform's message, or "api_content_data_failed" (also for an answer
// that gives no address to show). Nothing throws.
bool ParseSchemeArgs(std::u16string_view payload, ContentRequest& request,
                     std::string& failureReason);
