#include "diag/diagnostic_code.h"

#include <charconv>
#include <chrono>
#include <cstdio>

#include "common/base64.h"
#include "common/device_identity.h"
#include "common/text.h"

namespace {

constexpr std::string_view kHead = "ERRDIAG|v1|ts=";
constexpr std::string_view kDeviceField = "|mk=";
constexpr std::string_view kReasonField = "|reason=";
constexpr std::string_view kTail = "|END";

}  // namespace

std::string BuildErrorDiagnosticCode(std::string_view reason) {
  return BuildErrorDiagnosticCode(reason, UnixSecondsNow(), DeviceIdentifier());
}

std::uint64_t UnixSecondsNow() {
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(now).count();
  return seconds > 0 ? static_cast<std::uint64_t>(seconds) : 0;
}

std::optional<std::uint64_t> ParseUnixSeconds(std::string_view text) {
  std::uint64_t value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc() || stop != end) return std::nullopt;
  return value;
}

std::string BuildErrorDiagnosticCode(std::string_view reason, std::uint64_t unixSeconds,
                                     std::u16string_view deviceId) {
  std::string record(kHead);
  record += std::to_string(unixSeconds);
  record += kDeviceField;
  record += Utf16ToUtf8(deviceId);
  record += kReasonField;
  record += reason;
  record += kTail;
  return Base64Encode(ApplyDiagnosticMask(record));
}

std::string ApplyDiagnosticMask(std::string_view bytes) {
  std::string out(bytes);
  for (std::size_t i = 0; i < out.size(); ++i) {
    out[i] = static_cast<char>(out[i] ^ kDiagnosticMaskKey[i % kDiagnosticMaskKey.size()]);
  }
  return out;
}

std::optional<ErrorDiagnostic> ReadErrorDiagnosticCode(std::string_view code) {
  const std::optional<std::string> masked = Base64DecodeStrict(code);
  if (!masked) return std::nullopt;
  const std::string record = ApplyDiagnosticMask(*masked);
  if (!record.starts_with(kHead) || !record.ends_with(kTail)) return std::nullopt;

  const std::size_t device = record.find(kDeviceField, kHead.size());
  if (device == std::string::npos) return std::nullopt;
  const std::size_t reason = record.find(kReasonField, device + kDeviceField.size());
  const std::size_t end = record.size() - kTail.size();
  if (reason == std::string::npos || reason + kReasonField.size() > end) return std::nullopt;

  const std::optional<std::uint64_t> seconds =
      ParseUnixSeconds(std::string_view(record).substr(kHead.size(), device - kHead.size()));
  if (!seconds) return std::nullopt;

  ErrorDiagnostic result;
  result.unixSeconds = *seconds;
  result.deviceId =
      record.substr(device + kDeviceField.size(), reason - device - kDeviceField.size());
  result.reason = record.substr(reason + kReasonField.size(), end - reason - kReasonField.size());
  return result;
}

std::string FormatUtcTime(std::uint64_t unixSeconds) {
  // Civil date from a day count (Howard Hinnant's algorithm), independent of the C
  // library's time zone handling.
  const std::int64_t days = static_cast<std::int64_t>(unixSeconds / 86400);
  const std::uint64_t secondOfDay = unixSeconds % 86400;
  const std::int64_t z = days + 719468;
  const std::int64_t era = z / 146097;
  const std::int64_t dayOfEra = z - era * 146097;
  const std::int64_t yearOfEra =
      (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const std::int64_t monthIndex = (5 * dayOfYear + 2) / 153;
  const std::int64_t day = dayOfYear - (153 * monthIndex + 2) / 5 + 1;
  const std::int64_t month = monthIndex < 10 ? monthIndex + 3 : monthIndex - 9;
  const std::int64_t year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);

  char text[40];
  std::snprintf(text, sizeof text, "%04lld-%02lld-%02lldT%02llu:%02llu:%02lluZ",
                static_cast<long long>(year), static_cast<long long>(month),
                static_cast<long long>(day), static_cast<unsigned long long>(secondOfDay / 3600),
                static_cast<unsigned long long>(secondOfDay / 60 % 60),
                static_cast<unsigned long long>(secondOfDay % 60));
  return text;
}
