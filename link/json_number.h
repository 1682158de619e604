#pragma once
// Turning the numbers of the platform's JSON answers into 32-bit integers without the
// undefined behaviour of a plain cast.

#include <cstdint>
#include <nlohmann/json_fwd.hpp>
#include <optional>

// Whole numbers keep their low 32 bits, read as two's complement: 4294967297 gives 1
// and 2147483648 gives -2147483648.
std::int32_t WrapToInt32(std::uint64_t value);

// Truncates toward zero (3.9 gives 3, -3.9 gives -3). A result outside the 32-bit
// range wraps like a whole number of that value, so the platform writing 3e9 instead
// of 3000000000 changes nothing. NaN and the infinities have no whole value and give 0.
std::int32_t TruncateToInt32(double value);

// A JSON number (whole, unsigned or floating) by the two rules above; nothing for
// every other type, the booleans included.
std::optional<std::int32_t> JsonNumberToInt32(const nlohmann::json& value);
