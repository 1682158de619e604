#pragma once
// HTTP header lists as the stand-in keeps them.

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "tools/runtime-standin/text.h"

namespace standin {

// Name and value pairs in the order they were first set; names compare without regard to
// case, as in HTTP.
using HeaderList = std::vector<std::pair<std::wstring, std::wstring>>;

// "Name: value" lines separated by CR LF (or LF), the form the environment takes headers
// in; lines without a name are skipped.
HeaderList ParseHeaderText(LPCWSTR text);

// {"Name":"value",…} for the log.
Json HeadersJson(const HeaderList& headers);

// The entry named `name`, in any letter case, or headers.end().
HeaderList::iterator FindHeader(HeaderList& headers, std::wstring_view name);

}  // namespace standin
