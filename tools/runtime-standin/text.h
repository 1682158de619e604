#pragma once
// Text at the stand-in's edges: UTF-16 from the interfaces, UTF-8 in the JSON files, and
// the CoTaskMemAlloc strings the interfaces hand out.

#include <windows.h>

#include <string>
#include <string_view>

#include "nlohmann/json.hpp"

namespace standin {

using Json = nlohmann::ordered_json;

std::string Utf8(std::wstring_view text);
std::wstring Wide(std::string_view utf8);

// A string argument for the log: JSON null when the host passed none.
Json TextOrNull(LPCWSTR text);

// The text of an LPCWSTR argument, empty when there is none.
inline std::wstring Copy(LPCWSTR text) { return text != nullptr ? std::wstring(text) : L""; }

// Hands `text` out through an LPWSTR out-parameter, allocated with CoTaskMemAlloc for
// the caller to free with CoTaskMemFree.
HRESULT CopyOut(std::wstring_view text, LPWSTR* out);

// "0x80004005".
std::string HexCode(HRESULT code);

}  // namespace standin
