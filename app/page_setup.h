#pragma once
// What each window's browser shows once it has started: the scripts every document of
// the view gets, and the first page; or, for a browser started again after its
// predecessor failed, the page that one showed (`resume`).

#include <windows.h>

#include "webview/webview_host.h"

// The platform's web application with the print redirect and the navigation bar; the
// window is revealed when its first navigation completes. On failure only the splash
// closes (the window code reports the failure).
void SetUpInitScreenPage(WebView::WebViewHost& host, bool success,
                         const WebView::ShownDocument* resume = nullptr);

// The link's content: the loading overlay and print redirect on every kind, the
// YouTube page script, the watermark and print button over PDFs, or the built page
// around any other content; then the window comes to the front (not again for `resume`:
// the learner is already in front of it).
void SetUpPlayerPage(WebView::WebViewHost& host, HWND window, bool success,
                     const WebView::ShownDocument* resume = nullptr);
