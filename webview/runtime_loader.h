#pragma once
// Finds the browser runtime and enters it: the two functions of the runtime's loader
// that the player relies on, implemented from the runtime's public layout.
//
// The runtime is a version folder holding EBWebView\x64\EmbeddedBrowserWebView.dll,
// either a fixed-version copy (the browser folder given, or
// WEBVIEW2_BROWSER_EXECUTABLE_FOLDER) or the installed runtime found in the registry.
// An official WebView2Loader.dll beside the executable takes over both functions.

#include "webview/abi/WebView2.h"

// The runtime's version, a.b.c.d, allocated with CoTaskMemAlloc for the caller to free
// with CoTaskMemFree. HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) when there is none.
HRESULT GetAvailableCoreWebView2BrowserVersionString(PCWSTR browserExecutableFolder,
                                                     LPWSTR* versionInfo);

// Starts creating the browser environment; `handler` is invoked later through the
// calling thread's message loop. WEBVIEW2_USER_DATA_FOLDER overrides the folder.
HRESULT CreateCoreWebView2EnvironmentWithOptions(
    PCWSTR browserExecutableFolder, PCWSTR userDataFolder,
    ICoreWebView2EnvironmentOptions* environmentOptions,
    ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler* handler);
