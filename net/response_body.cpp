#include "net/response_body.h"

#include <charconv>
#include <vector>

#include "common/text.h"
#include "common/wide_text.h"

namespace {

std::string SystemError(const char* step) {
  return std::string(step) + std::to_string(GetLastError());
}

// The announced length, when the answer has a Content-Length that is a number.
std::optional<std::uint64_t> ContentLength(HINTERNET request) {
  wchar_t text[32] = {};
  DWORD size = sizeof(text);
  if (!WinHttpQueryHeaders(request, WINHTTP_QUERY_CONTENT_LENGTH, WINHTTP_HEADER_NAME_BY_INDEX,
                           text, &size, WINHTTP_NO_HEADER_INDEX)) {
    return std::nullopt;
  }
  const std::string digits = Utf16ToUtf8(FromWide(text));
  std::uint64_t length = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), length);
  if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
  return length;
}

std::string TooLarge() {
  return "Response too large: more than " + std::to_string(kMaxResponseBytes) + " bytes";
}

std::optional<std::string> Read(HINTERNET request, std::optional<std::uint64_t> announced,
                                std::string& body) {
  if (announced && *announced > kMaxResponseBytes) return TooLarge();
  for (;;) {
    DWORD available = 0;
    if (!WinHttpQueryDataAvailable(request, &available)) {
      return SystemError("WinHttpQueryDataAvailable failed: ");
    }
    if (available == 0) break;  // the end of the body
    if (available > kMaxResponseBytes - body.size()) return TooLarge();
    std::vector<char> chunk(available);
    DWORD read = 0;
    if (!WinHttpReadData(request, chunk.data(), available, &read)) {
      return SystemError("WinHttpReadData failed: ");
    }
    if (read == 0) break;
    body.append(chunk.data(), read);
  }
  if (announced && body.size() != *announced) {
    return "Response body cut short: " + std::to_string(body.size()) + " of " +
           std::to_string(*announced) + " bytes";
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> ReadWholeBody(HINTERNET request, bool bodyExpected, std::string& body) {
  body.clear();
  if (!bodyExpected) return std::nullopt;
  std::optional<std::string> error = Read(request, ContentLength(request), body);
  if (error) body.clear();
  return error;
}
