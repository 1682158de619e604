#include "tools/runtime-standin/filters.h"

#include <algorithm>

namespace standin {

bool WildcardMatch(std::wstring_view pattern, std::wstring_view text) {
  // Greedy matching with one backtrack point, the last '*' seen: linear in practice and
  // never exponential.
  std::size_t p = 0, t = 0;
  std::size_t star = std::wstring_view::npos, star_text = 0;
  while (t < text.size()) {
    if (p < pattern.size() && (pattern[p] == L'?' || pattern[p] == text[t])) {
      ++p;
      ++t;
    } else if (p < pattern.size() && pattern[p] == L'*') {
      star = p++;
      star_text = t;
    } else if (star != std::wstring_view::npos) {
      p = star + 1;
      t = ++star_text;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == L'*') ++p;
  return p == pattern.size();
}

bool ResourceFilters::Remove(const ResourceFilter& filter) {
  auto found = std::find(filters_.begin(), filters_.end(), filter);
  if (found == filters_.end()) return false;
  filters_.erase(found);
  return true;
}

bool ResourceFilters::Match(std::wstring_view uri, COREWEBVIEW2_WEB_RESOURCE_CONTEXT context,
                            COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS source) const {
  return std::any_of(filters_.begin(), filters_.end(), [&](const ResourceFilter& filter) {
    return (filter.context == COREWEBVIEW2_WEB_RESOURCE_CONTEXT_ALL || filter.context == context) &&
           (filter.sources & source) != 0 && WildcardMatch(filter.pattern, uri);
  });
}

}  // namespace standin
