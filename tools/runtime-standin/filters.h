#pragma once
// The resource filters a view was given: a request raises WebResourceRequested when at
// least one filter matches its address, its resource context and its source.

#include <string>
#include <string_view>
#include <vector>

#include "webview/abi/WebView2.h"

namespace standin {

struct ResourceFilter {
  std::wstring pattern;  // '*' matches any run of characters, '?' any one character
  COREWEBVIEW2_WEB_RESOURCE_CONTEXT context;  // _ALL matches every context
  COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS sources;

  bool operator==(const ResourceFilter&) const = default;
};

// The whole of `text` against `pattern`, character for character apart from the wildcards.
bool WildcardMatch(std::wstring_view pattern, std::wstring_view text);

class ResourceFilters {
 public:
  void Add(ResourceFilter filter) { filters_.push_back(std::move(filter)); }
  // False when no such filter was added.
  bool Remove(const ResourceFilter& filter);
  void Clear() { filters_.clear(); }

  // `source` is one of the source kinds: the document, a shared worker or a service worker.
  bool Match(std::wstring_view uri, COREWEBVIEW2_WEB_RESOURCE_CONTEXT context,
             COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS source) const;

 private:
  std::vector<ResourceFilter> filters_;
};

}  // namespace standin
