#pragma once
// Text conversion and the small text rules the player applies everywhere.
//
// Portable code keeps UTF-16 text in std::u16string (on Windows that is the same
// code-unit sequence as std::wstring) and UTF-8 or raw bytes in std::string.

#include <string>
#include <string_view>

// UTF-8 to UTF-16. Each maximal invalid subsequence becomes one U+FFFD, as the
// system's UTF-8 code-page conversion does; nothing throws.
std::u16string Utf8ToUtf16(std::string_view utf8);

// UTF-16 to UTF-8. An unpaired surrogate becomes U+FFFD; nothing throws.
std::string Utf16ToUtf8(std::u16string_view utf16);

// Lower-cases A-Z only, one code unit at a time, so the length never changes and a
// position found in the copy is valid in the original.
std::u16string AsciiLower(std::u16string_view text);

// Removes '/' and '\' from the end of the text, one at a time.
template <class Text>
Text TrimTrailingSlashes(Text text) {
  while (!text.empty() && (text.back() == '/' || text.back() == '\\')) text.pop_back();
  return text;
}

// ASCII text to UTF-16 (each byte one code unit), for fixed ASCII literals.
std::u16string AsciiToUtf16(std::string_view ascii);
