#pragma once
// What a link resolves to: the content the player window shows.

#include <cstdint>
#include <string>

// The kinds the player gives a meaning to; any other type text of the platform passes
// through unchanged and is shown inside the built content page.
namespace content_kind {
inline constexpr char16_t kUrlDirect[] = u"url_direct";
inline constexpr char16_t kPdf[] = u"pdf";
inline constexpr char16_t kPdfUrl[] = u"pdf_url";
inline constexpr char16_t kVideo[] = u"video";
}  // namespace content_kind

struct ContentRequest {
  std::u16string domain;         // platform domain the link came from, no trailing slashes
  std::u16string url;            // address the browser shows
  std::u16string watermarkText;  // watermark over PDF and framed content
  std::u16string kind;           // see content_kind
  std::int32_t pageScriptId = 1;
  std::u16string pageScript;  // extra script for YouTube content
};
