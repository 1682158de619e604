#include "link/scheme_payload.h"

#include <exception>
#include <optional>
#include <stdexcept>

#include "common/text.h"
#include "link/api_address.h"
#include "link/envelope.h"
#include "link/link_key.h"
#include "link/percent.h"

namespace {

constexpr std::u16string_view kSchemePrefix = u"quorvel:";

bool IsSlash(char16_t c) { return c == u'/' || c == u'\\'; }

// Cuts everything up to and including the first "quorvel:" (any case, anywhere), then
// trims slashes and backslashes at both ends.
std::u16string StripPrefixAndSlashes(std::u16string text) {
  const std::size_t prefix = AsciiLower(text).find(kSchemePrefix);
  if (prefix != std::u16string::npos) text.erase(0, prefix + kSchemePrefix.size());
  text = TrimTrailingSlashes(std::move(text));
  std::size_t first = 0;
  while (first < text.size() && IsSlash(text[first])) ++first;
  return text.substr(first);
}

bool StartsWith(std::u16string_view text, std::u16string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

bool Decode(std::u16string_view payload, const LinkKey* givenKey, ContentRequest& request,
            DecodedLink& link, std::string& failureReason) {
  std::u16string text = PercentDecode(payload);
  // A web page may hand over the Base64 '+' as a space.
  for (char16_t& c : text) {
    if (c == u' ') c = u'+';
  }
  const std::vector<std::u16string> parts = SplitAtColons(StripPrefixAndSlashes(std::move(text)));
  if (parts.size() < 3) {
    failureReason = "split_failed_parts_" + std::to_string(parts.size());
    return false;
  }

  std::optional<LinkKey> builtKey;  // wiped by its destructor on every way out
  if (givenKey == nullptr) builtKey.emplace();
  const std::string_view key = givenKey != nullptr ? givenKey->bytes() : builtKey->bytes();

  link.p1 = DecryptEnvelope(Utf16ToUtf8(parts[0]), key);
  link.contentLinkId = DecryptEnvelope(Utf16ToUtf8(parts[1]), key);
  const std::string domain = DecryptEnvelope(Utf16ToUtf8(parts[2]), key);
  if (link.p1.empty() || link.contentLinkId.empty() || domain.empty()) {
    failureReason = "decrypt_failed_empty_strings";
    return false;
  }
  request.domain = Utf8ToUtf16(TrimTrailingSlashes(domain));
  // The platform is asked, and the version checked, at this domain's API address; the
  // device identifiers and the platform's answers must not travel in the clear.
  if (!AsciiLower(ApiBaseAddress(request.domain)).starts_with(u"https://")) {
    failureReason = "domain_failed_not_https";
    return false;
  }

  const std::u16string contentLinkId = Utf8ToUtf16(link.contentLinkId);
  link.directUrl = StartsWith(contentLinkId, u"http://") || StartsWith(contentLinkId, u"https://");
  if (link.directUrl) {
    request.url = contentLinkId;
    request.kind = content_kind::kUrlDirect;
    request.watermarkText.clear();
    request.pageScriptId = 0;
  }
  return true;
}

}  // namespace

bool DecodeSchemePayload(std::u16string_view payload, ContentRequest& request, DecodedLink& link,
                         std::string& failureReason, const LinkKey* key) {
  failureReason = "unknown_error";
  try {
    return Decode(payload, key, request, link, failureReason);
  } catch (...) {
    failureReason = ReasonForCurrentException();
    return false;
  }
}

std::string ReasonForCurrentException() {
  try {
    throw;
  } catch (const EnvelopeMacMissing&) {
    return "decrypt_failed_missing_mac";
  } catch (const std::exception& error) {
    return std::string("exception_") + error.what();
  } catch (...) {
    return "unknown_exception";
  }
}

std::vector<std::u16string> SplitAtColons(std::u16string_view text) {
  std::vector<std::u16string> parts;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t colon = text.find(u':', start);
    if (colon == std::u16string_view::npos) {
      parts.emplace_back(text.substr(start));
      break;
    }
    parts.emplace_back(text.substr(start, colon - start));
    start = colon + 1;
  }
  return parts;
}
