#include "tools/runtime-standin/headers.h"

namespace standin {
namespace {

wchar_t AsciiLower(wchar_t c) { return c >= L'A' && c <= L'Z' ? c - L'A' + L'a' : c; }

// Header names are ASCII tokens.
bool SameName(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

std::wstring_view TrimSpaces(std::wstring_view text) {
  while (!text.empty() && (text.front() == L' ' || text.front() == L'\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == L' ' || text.back() == L'\t')) text.remove_suffix(1);
  return text;
}

}  // namespace

HeaderList ParseHeaderText(LPCWSTR text) {
  HeaderList headers;
  std::wstring_view rest = text != nullptr ? text : L"";
  while (!rest.empty()) {
    const std::size_t end = rest.find(L'\n');
    std::wstring_view line = rest.substr(0, end);
    rest = end == std::wstring_view::npos ? std::wstring_view() : rest.substr(end + 1);
    if (!line.empty() && line.back() == L'\r') line.remove_suffix(1);
    const std::size_t colon = line.find(L':');
    if (colon == std::wstring_view::npos) continue;
    const std::wstring_view name = TrimSpaces(line.substr(0, colon));
    if (name.empty()) continue;
    headers.emplace_back(name, TrimSpaces(line.substr(colon + 1)));
  }
  return headers;
}

Json HeadersJson(const HeaderList& headers) {
  Json members = Json::object();
  for (const auto& [name, value] : headers) members[Utf8(name)] = Utf8(value);
  return members;
}

HeaderList::iterator FindHeader(HeaderList& headers, std::wstring_view name) {
  auto entry = headers.begin();
  while (entry != headers.end() && !SameName(entry->first, name)) ++entry;
  return entry;
}

}  // namespace standin
