#pragma once
// The front half of reading a "quorvel:" link: everything up to the platform request.
// It unescapes the payload, cuts the scheme prefix, splits the three envelopes,
// decrypts them with the link key and fills what the link itself says.

#include <string>
#include <string_view>
#include <vector>

#include "link/content_request.h"

class LinkKey;

// What the platform request (when there is one) needs from the link.
struct DecodedLink {
  std::string p1;             // opaque text the platform issued; sent back unchanged
  std::string contentLinkId;  // second part: a content link id or a direct address
  bool directUrl = false;     // the second part is an http(s) address: no request
};

// Fills `request.domain` and, for a direct address, `url`, `kind` ("url_direct"),
// `watermarkText` (empty) and `pageScriptId` (0). On false, `failureReason` says why:
// "split_failed_parts_N", "decrypt_failed_missing_mac" (a part without its MAC),
// "decrypt_failed_empty_strings", "domain_failed_not_https" (a domain naming another
// scheme than https; a bare host means https), "exception_" + message or
// "unknown_exception"; on true it stays "unknown_error". Nothing throws. `key` is for
// tools that decode links of another key; the player passes none and the build's own
// key is assembled just before the decryption and wiped on every path.
bool DecodeSchemePayload(std::u16string_view payload, ContentRequest& request, DecodedLink& link,
                         std::string& failureReason, const LinkKey* key = nullptr);

// The failure reason for the exception being handled: "decrypt_failed_missing_mac"
// for an envelope without a MAC, else "exception_" + its message, or
// "unknown_exception" when it carries none. Call only inside a catch block.
std::string ReasonForCurrentException();

// Splits like a line reader with ':' as the delimiter: "" gives no parts, "a::b" gives
// "a", "" and "b", and a trailing ':' adds no empty last part.
std::vector<std::u16string> SplitAtColons(std::u16string_view text);
