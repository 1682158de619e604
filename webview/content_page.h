#pragma once
// The document the player window shows for content that is framed rather than opened:
// the content address full-window in a frame, the watermark text over it, and a script
// that tells the host the page has loaded.

#include <string>
#include <string_view>

// Replaces " & ' < > by &quot; &amp; &#39; &lt; &gt;; every other character is copied.
std::u16string EscapeHtml(std::u16string_view text);

// The whole document, one line, for NavigateToString. The address is escaped into the
// frame's single-quoted src attribute (the browser decodes it back, so it loads
// unchanged, and an apostrophe in it cannot end the attribute); the title is inserted
// as given; the watermark text is escaped.
std::u16string BuildContentPage(std::u16string_view address, std::u16string_view watermarkText,
                                std::u16string_view title);
