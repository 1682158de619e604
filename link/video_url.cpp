#include "link/video_url.h"

#include "common/text.h"
#include "common/web_address.h"
#include "link/percent.h"

namespace {

constexpr std::u16string_view kYouTubeDomain = u"youtube.com";
constexpr std::u16string_view kYouTubeShortDomain = u"youtu.be";
constexpr std::u16string_view kZoomDomain = u"zoom.us";
constexpr std::u16string_view kEmbedPrefix = u"https://www.youtube.com/embed/";
constexpr auto npos = std::u16string_view::npos;

bool Contains(std::u16string_view text, std::u16string_view part) {
  return text.find(part) != npos;
}

// End of an id that starts at `start`: the first `first` after it, else the first
// `second` after it, else the end of the text.
std::size_t IdEnd(std::u16string_view text, std::size_t start, char16_t first, char16_t second) {
  std::size_t end = text.find(first, start);
  if (end == npos && second != 0) end = text.find(second, start);
  return end == npos ? text.size() : end;
}

std::u16string WithOrigin(std::u16string_view url, char16_t separator, std::u16string_view domain) {
  std::u16string out(url);
  out += separator;
  out += u"origin=";
  out += PercentEncodeOrigin(domain);
  return out;
}

}  // namespace

bool IsYouTubeUrl(std::u16string_view url) {
  const std::u16string lower = AsciiLower(url);
  return Contains(lower, kYouTubeDomain) || Contains(lower, kYouTubeShortDomain);
}

bool IsZoomUrl(std::u16string_view url) {
  const std::u16string lower = AsciiLower(url);
  return Contains(lower, std::u16string(u".") += kZoomDomain) ||
         Contains(lower, std::u16string(u"//") += kZoomDomain);
}

bool IsYouTubeHost(std::u16string_view host) {
  return HostIsOrIsUnder(host, kYouTubeDomain) || HostIsOrIsUnder(host, kYouTubeShortDomain);
}

bool IsZoomHost(std::u16string_view host) { return HostIsOrIsUnder(host, kZoomDomain); }

std::u16string NormalizeYouTubeUrl(std::u16string_view url, std::u16string_view domain) {
  const std::u16string lower = AsciiLower(url);
  const std::u16string shortMarker = std::u16string(kYouTubeShortDomain) + u"/";
  std::size_t start = 0;
  std::size_t end = 0;

  if (const std::size_t p = lower.find(shortMarker); p != npos) {
    start = p + shortMarker.size();
    end = IdEnd(url, start, u'?', 0);
  } else if (Contains(lower, u"/embed/")) {
    if (Contains(url, u"origin=")) return std::u16string(url);
    return WithOrigin(url, Contains(url, u"?") ? u'&' : u'?', domain);
  } else if (const std::size_t q = lower.find(u"/shorts/"); q != npos) {
    start = q + 8;
    end = IdEnd(url, start, u'/', u'?');
  } else if (const std::size_t r = lower.find(u"/live/"); r != npos) {
    start = r + 6;
    end = IdEnd(url, start, u'/', u'?');
  } else if (const std::size_t v = lower.find(u"v="); v != npos) {
    start = v + 2;
    end = IdEnd(url, start, u'&', 0);
  } else {
    return std::u16string(url);
  }

  if (end <= start) return std::u16string(url);
  const std::u16string id = TrimTrailingSlashes(std::u16string(url.substr(start, end - start)));
  return WithOrigin(std::u16string(kEmbedPrefix) + id, u'?', domain);
}

std::u16string PercentEncodeOrigin(std::u16string_view domain) {
  return AsciiToUtf16(PercentEncodeUnreserved(Utf16ToUtf8(domain)));
}
