#pragma once
// Filling the pin table at start-up, and the browser's side of the pin check.

#include <string>

// Fetches the platform's pin list over the shared client, the list's secret header
// going with that one request only, and installs the built-in pins followed by the
// served entries. False, with the table unchanged, when the list cannot be fetched or
// read.
bool LoadDynamicPins();

enum class BrowserHostCheck {
  kPasses,       // unpinned, or its pins proven on this port (remembered)
  kFails,        // the server there failed the host's pins
  kUnavailable,  // pinned, but no check could complete: nothing proven either way
};

// Whether the embedded browser may load from `host` on `port`, the port its request
// uses. A pinned host is proven by a separate HEAD exchange to that host and port;
// only a pass is remembered, for the rest of the process. Blocks up to a few seconds
// the first time.
BrowserHostCheck VerifyBrowserHost(const std::u16string& host, int port);

// Starts, on a thread of its own, the report of a host the browser was refused for
// failing its pins: the diagnostic that ends the process. Only the first call in a
// process starts it; later ones do nothing.
void StartBrowserPinFailureReport(const std::u16string& host);

// Ends the process with the pin-failure diagnostic for a host the browser was refused,
// after a short wait. Never returns.
[[noreturn]] void ReportBrowserPinFailure(const std::u16string& host);
