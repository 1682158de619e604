#pragma once
// Filling the pin table at start-up, and the browser's side of the pin check.

#include <string>

// Fetches the platform's pin list over the shared client (which keeps the list's
// secret header from then on) and installs the built-in pins followed by the served
// entries. False, with the table unchanged, when the list cannot be fetched or read.
bool LoadDynamicPins();

// Whether the embedded browser may load from `host`: true for unpinned hosts and for
// hosts whose pins a separate HEAD exchange on port 443 has confirmed (remembered for
// the rest of the process). Blocks up to a few seconds the first time.
bool VerifyBrowserHost(const std::u16string& host);

// Ends the process with the pin-failure diagnostic for a host the browser was refused.
// Never returns, so callers run it on a thread of its own.
[[noreturn]] void ReportBrowserPinFailure(const std::u16string& host);
