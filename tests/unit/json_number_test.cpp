#include "link/json_number.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <nlohmann/json.hpp>

namespace {

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

struct FloatCase {
  double value;
  std::int32_t expected;
};

class TruncateToInt32Table : public testing::TestWithParam<FloatCase> {};

TEST_P(TruncateToInt32Table, TruncatesTowardZeroAndWraps) {
  EXPECT_EQ(TruncateToInt32(GetParam().value), GetParam().expected) << GetParam().value;
}

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();

INSTANTIATE_TEST_SUITE_P(Values, TruncateToInt32Table,
                         testing::Values(FloatCase{3.9, 3}, FloatCase{-3.9, -3},
                                         FloatCase{2147483648.0, kMin},
                                         FloatCase{-2147483649.0, kMax}, FloatCase{4294967297.5, 1},
                                         FloatCase{-4294967297.0, -1}, FloatCase{1e300, 0},
                                         FloatCase{kNaN, 0}, FloatCase{-kInfinity, 0}));

TEST(JsonNumberToInt32, WholeNumbersWrapAndOtherTypesAreNoNumber) {
  using nlohmann::json;
  EXPECT_EQ(JsonNumberToInt32(json::parse("3000000000")), -1294967296);
  EXPECT_EQ(JsonNumberToInt32(json::parse("3e9")), -1294967296);
  EXPECT_EQ(JsonNumberToInt32(json::parse("18446744073709551615")), -1);
  for (const char* other : {"true", "null", "\"1\"", "[1]", "{}"}) {
    EXPECT_EQ(JsonNumberToInt32(json::parse(other)), std::nullopt) << other;
  }
}

}  // namespace
