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

// The pin list: a GET to this address with the secret in the "X-Secret" header.
#define QUORVEL_PROFILE_PIN_LIST_ADDRESS QUORVEL_PROFILE_API_ORIGIN "/api/player/pins"
#define QUORVEL_PROFILE_PIN_LIST_SECRET "demo-pin-list-secret"

// The YouTube page script: this address followed by the decimal script number.
#define QUORVEL_PROFILE_PAGE_SCRIPT_ADDRESS QUORVEL_PROFILE_API_ORIGIN "/api/player/page-script/"

// The user agent of the player's own HTTP requests.
#define QUORVEL_PROFILE_USER_AGENT "QuorvelPlayer/4.11.0"

// The player's own HTTPS requests to one of these hosts, or to a host under one of
// them, carry the two identity headers below.
#define QUORVEL_PROFILE_IDENTITY_HOST_1 "127.0.0.1"
#define QUORVEL_PROFILE_IDENTITY_HOST_2 "localhost"
#define QUORVEL_PROFILE_IDENTITY_HOST_3 "quorvel.test"
#define QUORVEL_PROFILE_IDENTITY_HEADER "X-Quorvel-Device"
#define QUORVEL_PROFILE_IDENTITY_SECOND_HEADER "X-Quorvel-Machine"

// Built-in pins: the scope and the four public-key pins of the demo platform's test
// certificate chain (tools/platform-sim/test-fixture-demo-certs: leaf, intermediate,
// root, and a spare key). A pin mismatch on a host ending with the diagnostic suffix
// ends the player with a diagnostic code.
#define QUORVEL_PROFILE_DEFAULT_PIN_SCOPE "127.0.0.1"
#define QUORVEL_PROFILE_DEFAULT_PIN_1 "GQDoN2gNwhsSD7EXxN1mv+BKOQZWhsLEj6HTkD225t0="
#define QUORVEL_PROFILE_DEFAULT_PIN_2 "tzUQECZCK3k9J2+yv24XosUxl9WD1Q+1CfN+UWMVjmM="
#define QUORVEL_PROFILE_DEFAULT_PIN_3 "BJu08ltsKu4X5sJKDx45OZI6B/xSSx/X3Oz8Yoxd0PM="
#define QUORVEL_PROFILE_DEFAULT_PIN_4 "mnmRO/M8Rno4oAX59rY29sx/KmC6X9RCyBIUlhzoO7U="
#define QUORVEL_PROFILE_DIAGNOSTIC_DOMAIN_SUFFIX "127.0.0.1"

// The embedded browser sends identifier headers with top-level navigations and
// requests to these hosts and to hosts under them (a host name, as the browser contacts
// it: no scheme, port or path): the fixed header below, then the first machine
// identifier under names 1 and 3, the second under names 2 and 4.
#define QUORVEL_PROFILE_BROWSER_PLATFORM_HOST_1 "127.0.0.1"
#define QUORVEL_PROFILE_BROWSER_PLATFORM_HOST_2 "localhost"
#define QUORVEL_PROFILE_BROWSER_PLATFORM_HOST_3 "quorvel.test"
#define QUORVEL_PROFILE_BROWSER_FIXED_HEADER_NAME "X-Quorvel-Client"
#define QUORVEL_PROFILE_BROWSER_FIXED_HEADER_VALUE "desktop-player-webview"
#define QUORVEL_PROFILE_BROWSER_ID_HEADER_1 QUORVEL_PROFILE_DEVICE_ID_HEADER
#define QUORVEL_PROFILE_BROWSER_ID_HEADER_2 QUORVEL_PROFILE_DEVICE_ID_SECOND_HEADER
#define QUORVEL_PROFILE_BROWSER_ID_HEADER_3 QUORVEL_PROFILE_IDENTITY_HEADER
#define QUORVEL_PROFILE_BROWSER_ID_HEADER_4 QUORVEL_PROFILE_IDENTITY_SECOND_HEADER

// Media requests of the platform's player pages carry the second group of identifier
// headers: addresses ending with the 6- or 9-character ending, containing the fragment,
// or ending with the 20-character ending.
#define QUORVEL_PROFILE_MEDIA_ENDING_6 "/video"
#define QUORVEL_PROFILE_MEDIA_ENDING_9 "/playlist"
#define QUORVEL_PROFILE_MEDIA_FRAGMENT "/media/"
#define QUORVEL_PROFILE_MEDIA_ENDING_20 "/manifest/video.m3u8"

// The platform's own web domains: the first three entries of the player's navigation
// allow-list (a host equal to one or under one may be shown).
#define QUORVEL_PROFILE_PLATFORM_WEB_DOMAIN_1 "127.0.0.1"
#define QUORVEL_PROFILE_PLATFORM_WEB_DOMAIN_2 "localhost"
#define QUORVEL_PROFILE_PLATFORM_WEB_DOMAIN_3 "quorvel.test"

// The platform's web application, shown by the init screen: its start address and the
// address of its navigation bar's home button.
#define QUORVEL_PROFILE_WEB_APP_START_ADDRESS QUORVEL_PROFILE_API_ORIGIN "/app/"
#define QUORVEL_PROFILE_WEB_APP_HOME_ADDRESS QUORVEL_PROFILE_API_ORIGIN "/app/home"

// Two more headers the init screen's requests carry, in this order.
#define QUORVEL_PROFILE_INIT_HEADER_1_NAME "X-Quorvel-Shell"
#define QUORVEL_PROFILE_INIT_HEADER_1_VALUE "init-screen"
#define QUORVEL_PROFILE_INIT_HEADER_2_NAME "X-Quorvel-Shell-Version"
#define QUORVEL_PROFILE_INIT_HEADER_2_VALUE "4.11.0"
