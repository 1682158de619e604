#pragma once
// The player cannot run without the browser runtime. Before any window opens this makes
// sure one is there, offering to download and install it when the machine lacks it.

// True when a runtime is available (possibly after installing it); false when the
// process must end, the user having been told why (or having said no).
bool EnsureWebView2Runtime();
