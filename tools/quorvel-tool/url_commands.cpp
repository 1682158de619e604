// url normalize / kind: what the player makes of a video address a link points to.
#include <array>
#include <string>

#include "common/text.h"
#include "link/video_url.h"
#include "tools/quorvel-tool/args.h"
#include "tools/quorvel-tool/output.h"

namespace {

constexpr std::string_view kNormalizeUsage =
    "usage: quorvel-tool url normalize URL --domain DOMAIN\n"
    "\n"
    "Prints the address the player loads for URL: YouTube addresses become the embed\n"
    "address with DOMAIN as origin, anything else comes back unchanged.\n"
    "\n"
    "  --domain DOMAIN  platform domain the link came from\n";

constexpr std::string_view kKindUsage =
    "usage: quorvel-tool url kind URL\n"
    "\n"
    "Prints {\"youtube\":BOOL,\"zoom\":BOOL}: whether the player treats URL as a YouTube\n"
    "or a Zoom address.\n";

CommandOutput Normalize(std::span<const std::string> args) {
  static constexpr std::array<OptionSpec, 1> kOptions{{{"--domain", true}}};
  static constexpr std::array<std::string_view, 1> kPositionals{"URL"};
  const ParsedArgs parsed = ParseArgs(args, kOptions, kPositionals);
  if (parsed.help) return CommandOutput{std::string(kNormalizeUsage)};
  const std::string& domain = parsed.Required("--domain");
  return Line(
      Utf16ToUtf8(NormalizeYouTubeUrl(Utf8ToUtf16(parsed.positionals[0]), Utf8ToUtf16(domain))));
}

CommandOutput Kind(std::span<const std::string> args) {
  static constexpr std::array<std::string_view, 1> kPositionals{"URL"};
  const ParsedArgs parsed = ParseArgs(args, {}, kPositionals);
  if (parsed.help) return CommandOutput{std::string(kKindUsage)};
  const std::u16string url = Utf8ToUtf16(parsed.positionals[0]);
  nlohmann::ordered_json result;
  result["youtube"] = IsYouTubeUrl(url);
  result["zoom"] = IsZoomUrl(url);
  return JsonLine(result);
}

constexpr std::array<Command, 2> kCommands{{
    {"normalize", "the address the player loads for a video", kNormalizeUsage, Normalize},
    {"kind", "whether an address is YouTube or Zoom", kKindUsage, Kind},
}};

}  // namespace

const CommandGroup& UrlCommands() {
  static const CommandGroup group{"url", "check video addresses", kCommands};
  return group;
}
