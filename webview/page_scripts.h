#pragma once
// The scripts the player adds to every document its views show (written in
// webview/scripts, built into the program). Each acts once per document and talks to
// the host only by posting plain-string web messages.

#include <string>
#include <string_view>

// Text for use inside a single-quoted script string: line feed and carriage return
// become \n and \r, quotation marks and apostrophes get a backslash, < and > become
// \x3C and \x3E (so no closing script tag can form), and a backslash is doubled.
std::u16string EscapeJsString(std::u16string_view text);

// Player window, every kind: a full-window overlay until the page has loaded (5 s at
// most).
std::u16string LoadingOverlayScript();

// Player window and init screen: window.print, Ctrl+P and the print preview all end in
// the message "requestPrint".
std::u16string PrintRedirectScript();

// PDF documents: a layer showing `watermarkText` over the page that comes back when
// removed.
std::u16string WatermarkScript(std::u16string_view watermarkText);

// PDF documents: a round button that posts "requestPrint" and comes back when removed.
std::u16string PrintButtonScript();

// Init screen: the draggable bar with Home, Back, Reload and Fullscreen.
std::u16string NavigationBarScript();

// A platform-supplied script for a directly shown page, run once the document is parsed.
std::u16string PageScriptWrapper(std::u16string_view pageScript);
