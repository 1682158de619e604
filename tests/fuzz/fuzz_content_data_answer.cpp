#include <cstddef>
#include <cstdint>
#include <string>

#include "link/content_data.h"

// The platform's answer to a content-data request, as a 2xx body and as the body of a
// failed request that also carries a transport error.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string body(reinterpret_cast<const char*>(data), size);

  std::string errorText;
  ReadContentDataAnswer(HttpResponse{200, body, true, {}}, &errorText);
  if (!errorText.empty()) __builtin_trap();  // a 2xx answer never sets a reason

  const HttpResponse failed{404, body, false, "transport"};
  if (ReadContentDataAnswer(failed, &errorText).has_value()) __builtin_trap();
  // Either the answer's message or the transport's text: never no reason at all.
  if (errorText.empty()) __builtin_trap();
  if (ReadContentDataAnswer(failed, nullptr).has_value()) __builtin_trap();
  return 0;
}
