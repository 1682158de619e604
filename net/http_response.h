#pragma once
// The outcome of one HTTP exchange, as the HTTP client hands it to its callers.

#include <cstdint>
#include <string>

struct HttpResponse {
  std::uint32_t statusCode = 0;  // 0 when no response was received
  std::string body;              // the whole body as received (JSON bodies are UTF-8)
  bool success = false;          // statusCode is in 200..299
  // Set when the exchange failed (connection, sending, certificate pin; the status is
  // then 0) or when the body could not be read whole (the status stays, the body is
  // empty and `success` false). An HTTP error status is not an error: it leaves this
  // empty.
  std::string error;
};
