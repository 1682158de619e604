#include "link/json_number.h"

#include <cmath>
#include <nlohmann/json.hpp>

std::int32_t WrapToInt32(std::uint64_t value) {
  // Unsigned to signed conversion is modular since C++20.
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

std::int32_t TruncateToInt32(double value) {
  if (!std::isfinite(value)) return 0;
  constexpr double kTwoTo32 = 4294967296.0;
  // Every step is exact: the truncated value is whole, fmod of whole doubles is exact,
  // and the remainder and the sum stay below 2^32 in magnitude.
  double low = std::fmod(std::trunc(value), kTwoTo32);
  if (low < 0) low += kTwoTo32;
  return WrapToInt32(static_cast<std::uint64_t>(low));
}

std::optional<std::int32_t> JsonNumberToInt32(const nlohmann::json& value) {
  if (value.is_number_unsigned()) return WrapToInt32(value.get<std::uint64_t>());
  if (value.is_number_integer()) {
    return WrapToInt32(static_cast<std::uint64_t>(value.get<std::int64_t>()));
  }
  if (value.is_number_float()) return TruncateToInt32(value.get<double>());
  return std::nullopt;
}
