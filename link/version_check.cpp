#include "link/version_check.h"

#include <nlohmann/json.hpp>
#include <optional>
#include <stdexcept>

#include "common/platform_values.h"
#include "common/text.h"
#include "link/api_address.h"
#include "link/json_number.h"

namespace {

using nlohmann::json;

constexpr double kUnreadableRunningVersion = 3.0;

// std::stod's reading: leading white space skipped, as much of a number as is there.
std::optional<double> LeadingNumber(const std::string& text) {
  try {
    return std::stod(text);
  } catch (const std::invalid_argument&) {
    return std::nullopt;
  } catch (const std::out_of_range&) {
    return std::nullopt;
  }
}

double PlatformVersion(const json& version) {
  if (version.is_number()) return version.get<double>();
  if (version.is_string()) return LeadingNumber(version.get<std::string>()).value_or(0.0);
  return 0.0;
}

bool IsRequired(const json& answer) {
  const auto member = answer.find("is_required");
  if (member == answer.end()) return false;
  if (member->is_string()) return member->get<std::string>() == "1";
  return JsonNumberToInt32(*member) == 1;  // booleans are no number: not required
}

// Fills `info` step by step, so that an error on the way leaves what was reached.
void Read(const HttpResponse& response, double runningVersion, VersionInfo& info) {
  if (!response.success) return;
  const json answer = json::parse(response.body, nullptr, /*allow_exceptions=*/false);
  if (!answer.is_object()) return;
  const auto version = answer.find("version");
  if (version == answer.end()) return;
  if (!(runningVersion < PlatformVersion(*version))) return;

  info.updateAvailable = true;
  info.isRequired = IsRequired(answer);
  const auto link = answer.find("link");
  if (link != answer.end() && link->is_string()) info.link = Utf8ToUtf16(link->get<std::string>());
}

}  // namespace

std::u16string VersionCheckAddress(std::u16string_view domain) {
  const std::u16string base = ApiBaseAddress(domain);
  if (base.empty()) return AsciiToUtf16(VersionAddress());
  return base + AsciiToUtf16(VersionPath());
}

double RunningVersionNumber(std::u16string_view versionText) {
  return LeadingNumber(Utf16ToUtf8(versionText)).value_or(kUnreadableRunningVersion);
}

VersionInfo ReadVersionAnswer(const HttpResponse& response, double runningVersion) {
  VersionInfo info;
  try {
    Read(response, runningVersion, info);
  } catch (...) {
  }
  return info;
}
