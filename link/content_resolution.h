#pragma once
// How the platform's answer about a content link id becomes what the player shows.

#include <cstdint>
#include <string>

#include "link/content_data.h"
#include "link/content_request.h"

// Sets `kind`, `watermarkText`, `pageScriptId` and `url` of `request` (whose `domain`
// is already set) from the platform's record. Videos and meetings are shown directly;
// a YouTube video address wins over the content address and becomes an embed
// address. True when it did: the YouTube page then needs its page script.
bool ApplyContentData(const ContentData& data, ContentRequest& request);

// The address of page script number `pageScriptId`.
std::u16string PageScriptAddressFor(std::int32_t pageScriptId);
