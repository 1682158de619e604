#pragma once
// Overwrites secret bytes before their memory is given back, in a way the optimiser
// may not drop as a dead store.

#include <cstddef>

inline void SecureWipe(void* data, std::size_t size) {
  auto* bytes = static_cast<volatile unsigned char*>(data);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = 0;
}
