#pragma once
// Recognising YouTube and Zoom addresses, and turning any usual YouTube address into
// the embed address that carries the platform domain as its origin.

#include <string>
#include <string_view>

// Plain substring tests on a lower-cased copy: the marker may stand anywhere.
bool IsYouTubeUrl(std::u16string_view url);
bool IsZoomUrl(std::u16string_view url);

// Whether a host, as a browser contacts it, is YouTube's (or its short links') or
// Zoom's: the domain itself or a host under it.
bool IsYouTubeHost(std::u16string_view host);
bool IsZoomHost(std::u16string_view host);

// Short-link, embed, shorts, live and watch forms become
// "https://www.youtube.com/embed/<id>?origin=<domain>"; anything else comes back as
// it is. `domain` is the platform domain the link came from.
std::u16string NormalizeYouTubeUrl(std::u16string_view url, std::u16string_view domain);

// The domain as UTF-8, every byte outside A-Z a-z 0-9 "-._~" written as %xx.
std::u16string PercentEncodeOrigin(std::u16string_view domain);
