// Platform values of the local demo platform: the project's own simulator on
// loopback. A real deployment keeps a file of the same shape, reviewed like code,
// and passes it to CMake with -DQUORVEL_PROFILE=/path/to/it.h. Only
// link/platform_values.cpp includes it; the values are hidden in the executable and
// assembled at run time.
#pragma once

// The link key, stored as one mask byte followed by the 32 key bytes, byte i kept as
// key[i] ^ mask ^ i. The platform's web side holds the same key; `quorvel-tool link
// key` prints it in hex.
#define QUORVEL_PROFILE_LINK_KEY_CONSTANT                                            \
  "\x31\xc2\x5b\xf9\x7c\x22\xc3\x0f\x82\xc9\x86\x77\x94\x45\x5c\xb3\xb0\xce\xd5\xef" \
  "\xc9\xa0\x2f\xb7\x6d\x14\x8e\xa5\x51\x77\x48\x26\xaa"

// The demo platform's API host. Only the values below refer to it.
#define QUORVEL_PROFILE_API_ORIGIN "https://127.0.0.1:8443"

// Content-data request: a PUT to the link domain's API base + this path, with the
// form body FORM_FIRST + P1 + FORM_SECOND + content link id.
#define QUORVEL_PROFILE_CONTENT_DATA_PATH "/api/player/content"
#define QUORVEL_PROFILE_CONTENT_FORM_FIRST "token="
#define QUORVEL_PROFILE_CONTENT_FORM_SECOND "&link_id="

// Headers of the content-data request: the two forms of the device identifier, then a
// header whose value is fixed.
#define QUORVEL_PROFILE_DEVICE_ID_HEADER "X-Device-Id"
#define QUORVEL_PROFILE_DEVICE_ID_SECOND_HEADER "X-Device-Fingerprint"
#define QUORVEL_PROFILE_CLIENT_HEADER "X-Client-Kind"
#define QUORVEL_PROFILE_CLIENT_HEADER_VALUE "desktop-player"

// Members of the content-data answer. The content members sit in the data member
// when it is an object, else at the top level; the watermark is always top-level.
#define QUORVEL_PROFILE_CONTENT_DATA_MEMBER "data"
#define QUORVEL_PROFILE_CONTENT_TYPE_MEMBER "type"
#define QUORVEL_PROFILE_CONTENT_URL_MEMBER "url"
#define QUORVEL_PROFILE_CONTENT_VIDEO_URL_MEMBER "videoAddress"
#define QUORVEL_PROFILE_WATERMARK_TEXT_MEMBER "watermark"
#define QUORVEL_PROFILE_PAGE_SCRIPT_ID_MEMBER "scriptNumber"

// Version check: a GET to the link domain's API base + this path, or to the complete
// address when there is no domain (the check made on every start).
#define QUORVEL_PROFILE_VERSION_PATH "/api/player/version"
#define QUORVEL_PROFILE_VERSION_ADDRESS QUORVEL_PROFILE_API_ORIGIN QUORVEL_PROFILE_VERSION_PATH
