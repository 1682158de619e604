#pragma once
// The platform requests of the link road, sent over the shared pinned client.

#include <optional>
#include <string>
#include <string_view>

#include "link/content_data.h"
#include "link/version_check.h"

// Resolves a content link id through the platform. Nothing when the platform refuses
// or answers unreadably; `errorText` (when given) then carries the platform's
// "message" or the transport's failure, or stays as it was.
std::optional<ContentData> GetContentData(std::u16string_view domain,
                                          std::string_view contentLinkId, std::string_view p1,
                                          std::string* errorText);

// Asks the platform (of `domain`, or the build's own when empty) for a newer player.
// Every failure means no update.
VersionInfo CheckForUpdate(double runningVersion, std::u16string_view domain);
