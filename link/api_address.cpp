#include "link/api_address.h"

#include "common/text.h"

std::u16string ApiBaseAddress(std::u16string_view domain) {
  std::u16string base = TrimTrailingSlashes(std::u16string(domain));
  if (base.empty()) return base;
  if (base.size() > 2 && base.find(u"://") != std::u16string::npos) return base;
  return u"https://" + base;
}
