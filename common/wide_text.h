#pragma once
// Windows only: wchar_t is one UTF-16 unit there, so the portable UTF-16 strings and the
// system's wide strings hold the same units and convert by copying.

#include <string>
#include <string_view>

static_assert(sizeof(wchar_t) == sizeof(char16_t), "wide strings are UTF-16 on Windows");

inline std::wstring ToWide(std::u16string_view text) { return {text.begin(), text.end()}; }
inline std::u16string FromWide(std::wstring_view text) { return {text.begin(), text.end()}; }

// For a system call that reads the text in place.
inline const wchar_t* WidePointer(const std::u16string& text) {
  return reinterpret_cast<const wchar_t*>(text.c_str());
}
