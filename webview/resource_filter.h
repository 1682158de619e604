#pragma once
// The browser's resource filter: every request a view makes passes here before it
// leaves. Requests get the player's identifying headers; a request to an HTTPS host
// whose certificate fails its pins is answered "403 Blocked" here and the player ends
// with the pin-failure diagnostic; the rest go on to the window's own callback.

#include <functional>
#include <string>

#include "webview/abi/WebView2.h"

using ResourceCallback =
    std::function<void(const std::wstring& address, ICoreWebView2WebResourceRequestedEventArgs*)>;

void FilterWebResourceRequest(ICoreWebView2WebResourceRequestedEventArgs* args,
                              ICoreWebView2Environment* environment,
                              const ResourceCallback& windowCallback);

// Sets one header of the request these arguments carry; a refused header is skipped.
void SetRequestHeader(ICoreWebView2WebResourceRequestedEventArgs* args, const std::wstring& name,
                      const std::wstring& value);
