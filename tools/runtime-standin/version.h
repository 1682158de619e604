#pragma once
// The runtime version the stand-in claims to be. Read by the version resource (the
// loader takes a fixed-version runtime's version from it) and by
// get_BrowserVersionString, so the two always agree.

#define STANDIN_VERSION_MAJOR 120
#define STANDIN_VERSION_MINOR 0
#define STANDIN_VERSION_BUILD 2210
#define STANDIN_VERSION_PATCH 91
#define STANDIN_VERSION_TEXT "120.0.2210.91"
#define STANDIN_WIDEN2(text) L##text
#define STANDIN_WIDEN(text) STANDIN_WIDEN2(text)
#define STANDIN_VERSION_WIDE STANDIN_WIDEN(STANDIN_VERSION_TEXT)
