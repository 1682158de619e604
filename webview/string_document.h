#pragma once
// The document a host shows from text (NavigateToString) comes back to it as the address
// of a navigation: "about:blank" from some runtimes, a "data:text/html" address holding
// the text from others. The host lets exactly its own document through in either form.

#include <string_view>

// Whether `address` is a "data:text/html" address (base64 or percent-encoded, UTF-8)
// whose document is exactly `html`.
bool IsStringDocumentAddress(std::u16string_view address, std::u16string_view html);
