// diag make / read: the diagnostic codes users copy out of the player and send to
// support.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "common/device_identity.h"
#include "common/text.h"
#include "diag/diagnostic_code.h"
#include "tools/quorvel-tool/args.h"
#include "tools/quorvel-tool/output.h"

namespace {

constexpr std::string_view kMakeUsage =
    "usage: quorvel-tool diag make [--ts SECONDS] [--mk TEXT] [--] REASON\n"
    "\n"
    "Prints the diagnostic code the player shows for a link failing with REASON.\n"
    "Without options it reads the clock and the device identifier as the player does.\n"
    "\n"
    "  --ts SECONDS  time of the failure in seconds since 1970 (default: now)\n"
    "  --mk TEXT     device identifier (default: this machine's)\n";

constexpr std::string_view kReadUsage =
    "usage: quorvel-tool diag read CODE\n"
    "\n"
    "Reads a code a user sent and prints one JSON object:\n"
    "  {\"kind\":\"error\",\"ts\":...,\"time\":...,\"mk\":...,\"reason\":...} for a link error,\n"
    "  {\"kind\":\"plain\",\"code\":...} for a connection code (SSL_..., MITM_PIN_...).\n"
    "Anything else is reported on stderr with exit code 1.\n";

// Connection failures are reported by name, not as an encoded record.
constexpr std::array<std::string_view, 2> kPlainPrefixes{"SSL_", "MITM_PIN_"};

std::uint64_t ParseSeconds(const std::string& text) {
  const std::optional<std::uint64_t> seconds = ParseUnixSeconds(text);
  if (!seconds) {
    throw InputError("--ts needs whole seconds since 1970 as decimal digits that fit 64 bits");
  }
  return *seconds;
}

CommandOutput Make(std::span<const std::string> args) {
  static constexpr std::array<OptionSpec, 2> kOptions{{{"--ts", true}, {"--mk", true}}};
  static constexpr std::array<std::string_view, 1> kPositionals{"REASON"};
  const ParsedArgs parsed = ParseArgs(args, kOptions, kPositionals);
  if (parsed.help) return CommandOutput{std::string(kMakeUsage)};
  const std::string& reason = parsed.positionals[0];

  const std::string* ts = parsed.Find("--ts");
  const std::string* mk = parsed.Find("--mk");
  if (ts == nullptr && mk == nullptr) return Line(BuildErrorDiagnosticCode(reason));
  const std::uint64_t seconds = ts != nullptr ? ParseSeconds(*ts) : UnixSecondsNow();
  const std::u16string deviceId = mk != nullptr ? Utf8ToUtf16(*mk) : DeviceIdentifier();
  return Line(BuildErrorDiagnosticCode(reason, seconds, deviceId));
}

CommandOutput Read(std::span<const std::string> args) {
  static constexpr std::array<std::string_view, 1> kPositionals{"CODE"};
  const ParsedArgs parsed = ParseArgs(args, {}, kPositionals);
  if (parsed.help) return CommandOutput{std::string(kReadUsage)};
  const std::string& code = parsed.positionals[0];

  nlohmann::ordered_json result;
  if (const std::optional<ErrorDiagnostic> error = ReadErrorDiagnosticCode(code)) {
    result["kind"] = "error";
    result["ts"] = error->unixSeconds;
    result["time"] = FormatUtcTime(error->unixSeconds);
    result["mk"] = error->deviceId;
    result["reason"] = error->reason;
    return JsonLine(result);
  }
  for (const std::string_view prefix : kPlainPrefixes) {
    if (code.starts_with(prefix)) {
      result["kind"] = "plain";
      result["code"] = code;
      return JsonLine(result);
    }
  }
  throw InputError("not a diagnostic code the player produces");
}

constexpr std::array<Command, 2> kCommands{{
    {"make", "build the code the player shows for a failure", kMakeUsage, Make},
    {"read", "read a code a user sent to support", kReadUsage, Read},
}};

}  // namespace

const CommandGroup& DiagCommands() {
  static const CommandGroup group{"diag", "build and read diagnostic codes", kCommands};
  return group;
}
