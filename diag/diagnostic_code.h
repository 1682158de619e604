#pragma once
// Diagnostic codes: the one-line token a user copies and sends to support when a link
// cannot be opened. An error code is the record
//   ERRDIAG|v1|ts=<unix seconds>|mk=<device id>|reason=<reason>|END
// XOR-masked with a fixed 16-byte text and Base64-encoded. Nothing inside is escaped.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

inline constexpr std::string_view kDiagnosticMaskKey = "K3Y-D1AGMASK-07!";

// Reads the clock and the device identifier itself.
std::string BuildErrorDiagnosticCode(std::string_view reason);

// The same with the time and the identifier given.
std::string BuildErrorDiagnosticCode(std::string_view reason, std::uint64_t unixSeconds,
                                     std::u16string_view deviceId);

// XOR with the mask, byte i with mask byte i mod 16; its own inverse.
std::string ApplyDiagnosticMask(std::string_view bytes);

struct ErrorDiagnostic {
  std::uint64_t unixSeconds = 0;
  std::string deviceId;
  std::string reason;  // everything between "reason=" and the last separator
};

// Support's side: unmasks and splits an error code; empty when it is not one.
std::optional<ErrorDiagnostic> ReadErrorDiagnosticCode(std::string_view code);

// The clock as the codes carry it: whole seconds since 1970 (UTC), never negative.
std::uint64_t UnixSecondsNow();

// Decimal digits only, no sign, and a value that fits 64 bits; empty otherwise.
std::optional<std::uint64_t> ParseUnixSeconds(std::string_view text);

// "YYYY-MM-DDTHH:MM:SSZ" for a time in whole seconds since 1970 (UTC).
std::string FormatUtcTime(std::uint64_t unixSeconds);
