#include <cstddef>
#include <cstdint>
#include <string>

#include "link/version_check.h"

// The platform's answer to the version check, as a 2xx body and as the body of a
// failed request.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string body(reinterpret_cast<const char*>(data), size);
  const double running = 4.11;

  const VersionInfo info = ReadVersionAnswer(HttpResponse{200, body, true, {}}, running);
  // Mandatory or with a link only when there is an update at all.
  if (!info.updateAvailable && (info.isRequired || !info.link.empty())) __builtin_trap();

  if (ReadVersionAnswer(HttpResponse{500, body, false, {}}, running) != VersionInfo{}) {
    __builtin_trap();
  }
  return 0;
}
