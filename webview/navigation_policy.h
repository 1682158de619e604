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

// The lower-cased host of an address ("blob:" addresses by the address inside), without
// port; empty when there is no "://".
std::u16string HostOf(std::u16string_view address);

// Equal hosts, one under the other, or the same last two labels.
bool IsSameSite(std::u16string_view a, std::u16string_view b);

// The host is an allow-list entry or lies under one.
bool IsAllowedDomain(std::u16string_view host);

// The 39 domains, the platform's own three first.
const std::vector<std::u16string>& AllowedDomains();

// Whether the player window may navigate to `address` while showing `content`.
bool PlayerMayNavigate(std::u16string_view address, const ContentRequest& content);

// The platform origin ("https://host:port") the init screen is about to show, when the
// address is a web address that is not the tenant chooser.
std::optional<std::u16string> ObservedPlatformOrigin(std::u16string_view address);
