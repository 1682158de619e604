#include "webview/navigation_policy.h"

#include <string>

#include "common/hidden_text.h"
#include "common/platform_values.h"
#include "common/text.h"
#include "common/web_address.h"
#include "link/video_url.h"

namespace {

std::u16string Hidden(const auto& text) { return AsciiToUtf16(text.Reveal()); }
#define DOMAIN_TEXT(text) Hidden(QUORVEL_HIDDEN(text))

std::vector<std::u16string> BuildAllowList() {
  std::vector<std::u16string> domains;
  for (const std::string& domain : PlatformWebDomains()) domains.push_back(AsciiToUtf16(domain));
  for (std::u16string domain : {
           // Video-delivery networks and video hosts of the platform's videos.
           DOMAIN_TEXT("vimeo.com"),
           DOMAIN_TEXT("vimeocdn.com"),
           DOMAIN_TEXT("mediadelivery.net"),
           DOMAIN_TEXT("b-cdn.net"),
           DOMAIN_TEXT("wistia.com"),
           DOMAIN_TEXT("wistia.net"),
           // A content-delivery and streaming provider, and its analytics.
           DOMAIN_TEXT("cloudflare.com"),
           DOMAIN_TEXT("cloudflarestream.com"),
           DOMAIN_TEXT("videodelivery.net"),
           DOMAIN_TEXT("cloudflareinsights.com"),
           // A large cloud provider's storage and delivery.
           DOMAIN_TEXT("amazonaws.com"),
           DOMAIN_TEXT("cloudfront.net"),
           // A web company's search, video, static-content and thumbnail domains.
           DOMAIN_TEXT("google.com"),
           DOMAIN_TEXT("googlevideo.com"),
           DOMAIN_TEXT("gstatic.com"),
           DOMAIN_TEXT("googleapis.com"),
           DOMAIN_TEXT("youtube.com"),
           DOMAIN_TEXT("youtube-nocookie.com"),
           DOMAIN_TEXT("ytimg.com"),
           // A video site and its delivery network.
           DOMAIN_TEXT("dailymotion.com"),
           DOMAIN_TEXT("dmcdn.net"),
           // Another cloud provider's storage and delivery.
           DOMAIN_TEXT("blob.core.windows.net"),
           DOMAIN_TEXT("azureedge.net"),
           DOMAIN_TEXT("azurefd.net"),
           // Two object-storage services.
           DOMAIN_TEXT("digitaloceanspaces.com"),
           DOMAIN_TEXT("backblazeb2.com"),
           // General content-delivery networks.
           DOMAIN_TEXT("jsdelivr.net"),
           DOMAIN_TEXT("unpkg.com"),
           DOMAIN_TEXT("cdnjs.com"),
           DOMAIN_TEXT("akamaihd.net"),
           DOMAIN_TEXT("fastly.net"),
           DOMAIN_TEXT("bootstrapcdn.com"),
           // The meeting service and its user content.
           DOMAIN_TEXT("zoom.us"),
           DOMAIN_TEXT("zoom.com"),
           // Hosts of the PDF viewer components.
           DOMAIN_TEXT("mozilla.github.io"),
           DOMAIN_TEXT("pdfjs.express"),
       }) {
    domains.push_back(std::move(domain));
  }
  return domains;
}

// Two domains of one video-delivery network, and two further video hosts: a direct
// video on one of a pair may move to the other of the same pair.
const std::vector<std::u16string>& PairA() {
  static const std::vector<std::u16string> pair{DOMAIN_TEXT("vimeo.com"),
                                                DOMAIN_TEXT("vimeocdn.com")};
  return pair;
}
const std::vector<std::u16string>& PairB() {
  static const std::vector<std::u16string> pair{DOMAIN_TEXT("mediadelivery.net"),
                                                DOMAIN_TEXT("b-cdn.net")};
  return pair;
}

#undef DOMAIN_TEXT

bool EndsWithDotted(std::u16string_view host, std::u16string_view domain) {
  return domain.size() < host.size() && HostIsOrIsUnder(host, domain);
}

// The reader writes IPv4 addresses in dotted decimal and IPv6 ones in brackets; a name
// never ends in a digit (a host whose last label is a number is read as IPv4).
bool IsIpAddress(std::u16string_view host) {
  return !host.empty() && (host.front() == u'[' || (host.back() >= u'0' && host.back() <= u'9'));
}

// The text after the second-last dot, or the whole host.
std::u16string_view LastTwoLabels(std::u16string_view host) {
  const std::size_t last = host.rfind(u'.');
  if (last == std::u16string_view::npos || last == 0) return host;
  const std::size_t secondLast = host.rfind(u'.', last - 1);
  return secondLast == std::u16string_view::npos ? host : host.substr(secondLast + 1);
}

std::u16string_view BeforeQueryOrFragment(std::u16string_view address) {
  return address.substr(0, address.find_first_of(u"?#"));
}

bool IsUnderAny(std::u16string_view host, const std::vector<std::u16string>& domains) {
  for (const std::u16string& domain : domains) {
    if (HostIsOrIsUnder(host, domain)) return true;
  }
  return false;
}

// A blob is judged by the address of the document that made it.
std::u16string_view WithoutBlob(std::u16string_view address) {
  if (address.size() > 4 && address.starts_with(u"blob:")) address.remove_prefix(5);
  return address;
}

bool HasWebScheme(std::u16string_view address) {
  const std::u16string start = AsciiLower(address.substr(0, 6));
  return start.starts_with(u"http:") || start.starts_with(u"https:");
}

}  // namespace

std::u16string HostOf(std::u16string_view address) {
  const std::optional<WebAddress> reading = ReadWebAddress(WithoutBlob(address));
  return reading ? reading->host : std::u16string();
}

bool IsSameSite(std::u16string_view a, std::u16string_view b) {
  if (a.empty() || b.empty()) return false;
  if (a == b) return true;
  // An IP address is a site of its own: 127.0.0.1 and 192.0.0.1 share two labels, not an
  // owner.
  if (IsIpAddress(a) || IsIpAddress(b)) return false;
  if (b.size() < a.size()) return EndsWithDotted(a, b);
  if (a.size() < b.size()) return EndsWithDotted(b, a);
  return LastTwoLabels(a) == LastTwoLabels(b);
}

const std::vector<std::u16string>& AllowedDomains() {
  static const std::vector<std::u16string> domains = BuildAllowList();
  return domains;
}

bool IsAllowedDomain(std::u16string_view host) { return IsUnderAny(host, AllowedDomains()); }

std::string_view RuleName(NavigationRule rule) {
  switch (rule) {
    case NavigationRule::kAboutBlank:
      return "about-blank";
    case NavigationRule::kScheme:
      return "scheme";
    case NavigationRule::kUnreadable:
      return "unreadable";
    case NavigationRule::kUserInfo:
      return "user-info";
    case NavigationRule::kSameContent:
      return "same-content";
    case NavigationRule::kZoomPair:
      return "zoom-pair";
    case NavigationRule::kYouTubePair:
      return "youtube-pair";
    case NavigationRule::kSameSite:
      return "same-site";
    case NavigationRule::kBelowContent:
      return "below-content";
    case NavigationRule::kAllowList:
      return "allow-list";
    case NavigationRule::kVideoPair:
      return "video-pair";
    case NavigationRule::kCancel:
      break;
  }
  return "cancel";
}

NavigationDecision DecidePlayerNavigation(std::u16string_view address,
                                          const ContentRequest& content) {
  if (address == u"about:blank") return {true, NavigationRule::kAboutBlank};
  const std::optional<WebAddress> target = ReadWebAddress(WithoutBlob(address));
  if (!target) {
    return {false, HasWebScheme(WithoutBlob(address)) ? NavigationRule::kUnreadable
                                                      : NavigationRule::kScheme};
  }
  // A name before the host is how a link dresses one host up as another.
  if (target->hasUserInfo) return {false, NavigationRule::kUserInfo};

  const std::u16string_view contentBase = BeforeQueryOrFragment(content.url);
  const std::u16string_view targetBase = BeforeQueryOrFragment(address);
  if (contentBase == targetBase) return {true, NavigationRule::kSameContent};

  const std::u16string contentHost = HostOf(content.url);
  const std::u16string platformHost = HostOf(content.domain);
  if (IsZoomHost(contentHost) && IsZoomHost(target->host)) return {true, NavigationRule::kZoomPair};
  if (IsYouTubeHost(contentHost) && IsYouTubeHost(target->host)) {
    return {true, NavigationRule::kYouTubePair};
  }
  if (IsSameSite(platformHost, target->host) || IsSameSite(contentHost, target->host)) {
    return {true, NavigationRule::kSameSite};
  }
  // The slash keeps "https://files.test" from covering "https://files.test.evil.example".
  if (!contentHost.empty() && targetBase.starts_with(std::u16string(contentBase) + u"/")) {
    return {true, NavigationRule::kBelowContent};
  }
  if (IsAllowedDomain(target->host)) return {true, NavigationRule::kAllowList};
  if (content.kind == u"url_direct" || content.kind == u"video") {
    if ((IsUnderAny(contentHost, PairA()) && IsUnderAny(target->host, PairA())) ||
        (IsUnderAny(contentHost, PairB()) && IsUnderAny(target->host, PairB()))) {
      return {true, NavigationRule::kVideoPair};
    }
  }
  return {false, NavigationRule::kCancel};
}

bool PlayerMayNavigate(std::u16string_view address, const ContentRequest& content) {
  return DecidePlayerNavigation(address, content).allowed;
}

bool PlayerTrustsOrigin(std::u16string_view origin, const ContentRequest& content) {
  const std::optional<WebAddress> reading = ReadWebAddress(origin);
  return reading && reading->scheme == u"https" && PlayerMayNavigate(origin, content);
}

bool InitScreenTrustsOrigin(std::u16string_view origin) {
  ContentRequest platform;
  platform.domain = AsciiToUtf16(WebAppStartAddress());
  return PlayerTrustsOrigin(origin, platform);
}

std::optional<std::u16string> ObservedPlatformOrigin(std::u16string_view address) {
  const std::u16string lower = AsciiLower(address);
  if (lower.size() > 13 && lower.find(u"select-tenants") != std::u16string::npos) {
    return std::nullopt;
  }
  const std::optional<WebAddress> reading = ReadWebAddress(address);
  if (!reading) return std::nullopt;
  std::u16string origin = reading->scheme + u"://" + reading->host;
  if (reading->port != (reading->scheme == u"https" ? 443 : 80)) {
    origin += u":" + AsciiToUtf16(std::to_string(reading->port));
  }
  return origin;
}
