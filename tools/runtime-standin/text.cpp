#include "tools/runtime-standin/text.h"

#include <objbase.h>

#include <cstdio>
#include <cstring>

#include "common/text.h"
#include "common/wide_text.h"

namespace standin {

std::string Utf8(std::wstring_view text) { return Utf16ToUtf8(FromWide(text)); }

std::wstring Wide(std::string_view utf8) { return ToWide(Utf8ToUtf16(utf8)); }

Json TextOrNull(LPCWSTR text) { return text != nullptr ? Json(Utf8(text)) : Json(nullptr); }

HRESULT CopyOut(std::wstring_view text, LPWSTR* out) {
  if (out == nullptr) return E_POINTER;
  const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  *out = static_cast<LPWSTR>(CoTaskMemAlloc(bytes));
  if (*out == nullptr) return E_OUTOFMEMORY;
  std::memcpy(*out, text.data(), text.size() * sizeof(wchar_t));
  (*out)[text.size()] = L'\0';
  return S_OK;
}

std::string HexCode(HRESULT code) {
  char text[16];
  std::snprintf(text, sizeof(text), "0x%08lX", static_cast<unsigned long>(code));
  return text;
}

}  // namespace standin
