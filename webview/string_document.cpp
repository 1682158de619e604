#include "webview/string_document.h"

#include <optional>
#include <string>

#include "common/base64.h"
#include "common/text.h"

namespace {

std::u16string_view Trimmed(std::u16string_view text) {
  while (!text.empty() && text.front() == u' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == u' ') text.remove_suffix(1);
  return text;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// "%XY" becomes its byte; a '%' that starts no escape stays, as browsers read it.
std::string PercentDecoded(std::string_view text) {
  std::string bytes;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 &&
        HexValue(text[i + 2]) >= 0) {
      bytes += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
      i += 2;
    } else {
      bytes += text[i];
    }
  }
  return bytes;
}

// The header between "data:" and the comma: "text/html", an optional UTF-8 charset and
// an optional ";base64" last; anything else is not a document the host made.
std::optional<bool> ReadHeader(std::u16string_view header) {
  std::u16string lower = AsciiLower(header);
  bool base64 = false;
  if (lower.ends_with(u";base64")) {
    base64 = true;
    lower.resize(lower.size() - 7);
  }
  std::u16string_view rest = lower;
  const std::size_t semicolon = rest.find(u';');
  if (Trimmed(rest.substr(0, semicolon)) != u"text/html") return std::nullopt;
  if (semicolon != std::u16string_view::npos) {
    const std::u16string_view charset = Trimmed(rest.substr(semicolon + 1));
    if (charset != u"charset=utf-8" && charset != u"charset=\"utf-8\"") return std::nullopt;
  }
  return base64;
}

}  // namespace

bool IsStringDocumentAddress(std::u16string_view address, std::u16string_view html) {
  if (!AsciiLower(address.substr(0, 5)).starts_with(u"data:")) return false;
  const std::size_t comma = address.find(u',');
  if (comma == std::u16string_view::npos) return false;
  const std::optional<bool> base64 = ReadHeader(address.substr(5, comma - 5));
  if (!base64) return false;
  // The body of an address is ASCII; anything else came from somewhere else.
  const std::u16string_view body = address.substr(comma + 1);
  for (char16_t c : body) {
    if (c >= 0x80) return false;
  }
  std::string bytes = PercentDecoded(Utf16ToUtf8(body));
  if (*base64) {
    std::erase_if(bytes, [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; });
    const std::optional<std::string> decoded = Base64DecodeStrict(bytes);
    if (!decoded) return false;
    bytes = *decoded;
  }
  return bytes == Utf16ToUtf8(html);
}
