#pragma once
// The embedded browser runtime's COM interfaces, declared by this project because the
// runtime's own SDK header cannot be used in this build. The names are the official
// ones, so the same sources also compile against that header.
//
// An interface's IID and the order of its methods form a binary contract with the
// runtime: each method is called through its slot in the virtual table, so declaring a
// method one place too early or too late makes every call through it reach a different
// method of the real object, with no error at build or run time. Never reorder, insert
// or remove a method, not even one the program never calls; later runtime features come
// as new interface versions (ICoreWebView2_23, ...) deriving from the last one.
//
// interfaces.tsv and enums.tsv beside these headers hold the runtime's IIDs, slots and
// enumeration values, and tests/abi checks every declaration here against them.
//
// `__uuidof(ICoreWebView2)`, IID_PPV_ARGS and ComPtr::As work through the
// __CRT_UUID_DECL after each interface.

#include "webview/abi/webview2_types.h"
// The interfaces, by area. Each part includes only the types above.
#include "webview/abi/webview2_controller.h"
#include "webview/abi/webview2_core.h"
#include "webview/abi/webview2_environment.h"
#include "webview/abi/webview2_event_args.h"
#include "webview/abi/webview2_handlers.h"
#include "webview/abi/webview2_print.h"
#include "webview/abi/webview2_settings.h"
#include "webview/abi/webview2_web_resource.h"
