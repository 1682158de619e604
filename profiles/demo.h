// Platform values of the local demo platform: the project's own simulator on
// loopback. A real deployment keeps a file of the same shape, reviewed like code,
// and passes it to CMake with -DQUORVEL_PROFILE=/path/to/it.h. Only
// link/platform_values.cpp includes it; the values are hidden in the executable and
// assembled at run time.
#pragma once

#define QUORVEL_PROFILE_NAME "demo"

// The link key, stored as one mask byte followed by the 32 key bytes, byte i kept as
// key[i] ^ mask ^ i. The platform's web side holds the same key; `quorvel-tool link
// key` prints it in hex.
#define QUORVEL_PROFILE_LINK_KEY_CONSTANT                                            \
  "\x31\xc2\x5b\xf9\x7c\x22\xc3\x0f\x82\xc9\x86\x77\x94\x45\x5c\xb3\xb0\xce\xd5\xef" \
  "\xc9\xa0\x2f\xb7\x6d\x14\x8e\xa5\x51\x77\x48\x26\xaa"
