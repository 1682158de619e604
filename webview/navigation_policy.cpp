#include "webview/navigation_policy.h"

#include "common/hidden_text.h"
#include "common/platform_values.h"
#include "common/text.h"
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
  return domain.size() < host.size() && host.ends_with(domain) &&
         host[host.size() - domain.size() - 1] == u'.';
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

bool ContainsAny(std::u16string_view host, const std::vector<std::u16string>& domains) {
  for (const std::u16string& domain : domains) {
    if (host.find(domain) != std::u16string_view::npos) return true;
  }
  return false;
}

}  // namespace

std::u16string HostOf(std::u16string_view address) {
  if (address.size() > 4 && address.starts_with(u"blob:")) address.remove_prefix(5);
  const std::size_t scheme = address.find(u"://");
  if (address.size() < 3 || scheme == std::u16string_view::npos) return {};
  std::u16string_view host = address.substr(scheme + 3);
  host = host.substr(0, host.find(u'/'));
  host = host.substr(0, host.find(u':'));
  return AsciiLower(host);
}

bool IsSameSite(std::u16string_view a, std::u16string_view b) {
  if (a.empty() || b.empty()) return false;
  if (a == b) return true;
  if (b.size() < a.size()) return EndsWithDotted(a, b);
  if (a.size() < b.size()) return EndsWithDotted(b, a);
  return LastTwoLabels(a) == LastTwoLabels(b);
}

const std::vector<std::u16string>& AllowedDomains() {
  static const std::vector<std::u16string> domains = BuildAllowList();
  return domains;
}

bool IsAllowedDomain(std::u16string_view host) {
  if (host.empty()) return false;
  for (const std::u16string& domain : AllowedDomains()) {
    if (host == domain || EndsWithDotted(host, domain)) return true;
  }
  return false;
}

bool PlayerMayNavigate(std::u16string_view address, const ContentRequest& content) {
  if (address == u"about:blank") return true;
  const std::u16string_view contentBase = BeforeQueryOrFragment(content.url);
  const std::u16string_view targetBase = BeforeQueryOrFragment(address);
  if (contentBase == targetBase) return true;

  const std::u16string contentHost = HostOf(content.url);
  const std::u16string targetHost = HostOf(address);
  const std::u16string platformHost = HostOf(content.domain);
  if ((IsZoomUrl(contentBase) && IsZoomUrl(targetBase)) ||
      (IsYouTubeUrl(contentBase) && IsYouTubeUrl(targetBase)) ||
      IsSameSite(platformHost, targetHost) || IsSameSite(contentHost, targetHost)) {
    return true;
  }
  if (targetBase.starts_with(std::u16string(contentBase) + u"/")) return true;
  if (IsAllowedDomain(targetHost)) return true;
  if (content.kind == u"url_direct" || content.kind == u"video") {
    if (ContainsAny(contentHost, PairA()) && ContainsAny(targetHost, PairA())) return true;
    if (ContainsAny(contentHost, PairB()) && ContainsAny(targetHost, PairB())) return true;
  }
  return false;
}

std::optional<std::u16string> ObservedPlatformOrigin(std::u16string_view address) {
  const std::u16string lower = AsciiLower(address);
  if (lower.size() > 13 && lower.find(u"select-tenants") != std::u16string::npos) {
    return std::nullopt;
  }
  if (!lower.starts_with(u"https://") && !lower.starts_with(u"http://")) return std::nullopt;
  const std::size_t hostStart = address.find(u"://") + 3;
  const std::u16string_view origin = address.substr(0, address.find(u'/', hostStart));
  if (origin.empty()) return std::nullopt;
  return std::u16string(origin);
}
