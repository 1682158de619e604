// page build: the document the player window shows around content it frames.
#include <array>
#include <string>

#include "common/product_name.h"
#include "common/text.h"
#include "tools/quorvel-tool/args.h"
#include "webview/content_page.h"

namespace {

constexpr std::string_view kBuildUsage =
    "usage: quorvel-tool page build --url URL --watermark TEXT\n"
    "\n"
    "Prints the page the player window shows for content it frames (every kind but\n"
    "direct pages and PDFs): URL full-window in a frame, TEXT as the watermark over\n"
    "it, on one line.\n"
    "\n"
    "  --url URL         the content address\n"
    "  --watermark TEXT  the learner's watermark text\n";

CommandOutput Build(std::span<const std::string> args) {
  static constexpr std::array<OptionSpec, 2> kOptions{{{"--url", true}, {"--watermark", true}}};
  const ParsedArgs parsed = ParseArgs(args, kOptions, {});
  if (parsed.help) return CommandOutput{std::string(kBuildUsage)};
  const std::u16string page =
      BuildContentPage(Utf8ToUtf16(parsed.Required("--url")),
                       Utf8ToUtf16(parsed.Required("--watermark")), kProductDisplayName);
  return Line(Utf16ToUtf8(page));
}

constexpr std::array<Command, 1> kCommands{{
    {"build", "the page the player frames content in", kBuildUsage, Build},
}};

}  // namespace

const CommandGroup& PageCommands() {
  static const CommandGroup group{"page", "build the player's content page", kCommands};
  return group;
}
