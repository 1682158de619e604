#pragma once
// What the player's WinHTTP requests share: handles that close themselves, and the
// request settings every exchange gets.
#include <windows.h>
// windows.h must come first.
#include <winsock2.h>
// winsock2.h before winhttp.h, which then declares a request's connection information.
#include <winhttp.h>

#include <memory>
#include <string_view>

#include "common/wide_text.h"

struct WinHttpHandleCloser {
  void operator()(HINTERNET handle) const { WinHttpCloseHandle(handle); }
};
using WinHttpHandle = std::unique_ptr<void, WinHttpHandleCloser>;

// True when the pin table holds pins for `host`: its servers are trusted by their keys.
bool HostIsPinned(std::u16string_view host);

// Redirects stay off. For a pinned host the system's chain validation is switched off
// too, because the pins decide (and a local HTTPS scanner's re-signed chain, which the
// system distrusts, may still pass them); every other host keeps the system's full
// validation, since nothing else would authenticate it.
void ConfigureRequest(HINTERNET request, bool pinned);
