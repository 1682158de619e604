#pragma once
// Where the views may go. The player window holds its view to the content it was
// opened for: the content's own address and what lies below it, the platform's sites,
// a fixed list of content-delivery domains and, for direct videos, the matching video
// hosts; everything else is cancelled silently. The init screen goes anywhere and only
// remembers which platform origin the learner is on.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "link/content_request.h"

// The host a browser contacts for an http(s) address ("blob:" addresses by the address
// inside), without port or user information; empty for any other address.
std::u16string HostOf(std::u16string_view address);

// Equal hosts, one under the other, or (for names, not IP addresses) the same last two
// labels.
bool IsSameSite(std::u16string_view a, std::u16string_view b);

// The host is an allow-list entry or lies under one.
bool IsAllowedDomain(std::u16string_view host);

// The 39 domains, the platform's own three first.
const std::vector<std::u16string>& AllowedDomains();

// The steps of the player window's navigation check, in the order they are asked.
enum class NavigationRule {
  kAboutBlank,    // exactly "about:blank": allowed
  kScheme,        // not an http(s) address (nor a blob of one): cancelled
  kUnreadable,    // http(s), but not an address a browser would go to: cancelled
  kUserInfo,      // a user name or password before the host: cancelled
  kSameContent,   // the content's own address, another query or fragment: allowed
  kZoomPair,      // Zoom content to a Zoom host: allowed
  kYouTubePair,   // YouTube content to a YouTube host: allowed
  kSameSite,      // the platform's or the content's site: allowed
  kBelowContent,  // an address below the content's path: allowed
  kAllowList,     // a host on the allow-list: allowed
  kVideoPair,     // a direct video moving within its delivery pair: allowed
  kCancel,        // nothing allowed it: cancelled
};

struct NavigationDecision {
  bool allowed = false;
  NavigationRule rule = NavigationRule::kCancel;
};

// The rule's name as support staff read it ("same-site", "user-info", ...).
std::string_view RuleName(NavigationRule rule);

// Whether the player window may navigate to `address` while showing `content`, and the
// step that decided it.
NavigationDecision DecidePlayerNavigation(std::u16string_view address,
                                          const ContentRequest& content);
bool PlayerMayNavigate(std::u16string_view address, const ContentRequest& content);

// Whether a page of `origin` may use the microphone, camera and notifications without
// the runtime asking the learner: only https origins the view may navigate to.
bool PlayerTrustsOrigin(std::u16string_view origin, const ContentRequest& content);
// The same for the init screen: the platform's web application and the allow-list.
bool InitScreenTrustsOrigin(std::u16string_view origin);

// The platform origin ("https://host:port") the init screen is about to show, when the
// address is a web address that is not the tenant chooser.
std::optional<std::u16string> ObservedPlatformOrigin(std::u16string_view address);
