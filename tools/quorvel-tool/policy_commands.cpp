// policy check: where the player window lets a lesson's page go, and which step of its
// navigation check decides, for support staff answering "why doesn't this lesson load".
#include <array>
#include <string>

#include "common/text.h"
#include "tools/quorvel-tool/args.h"
#include "webview/navigation_policy.h"

namespace {

constexpr std::string_view kCheckUsage =
    "usage: quorvel-tool policy check --content URL --domain DOMAIN --kind KIND TARGET...\n"
    "\n"
    "Asks the player window's navigation check, as it stands while the window shows\n"
    "the content URL of a link from DOMAIN, about each TARGET address. Prints one line\n"
    "per target: \"allow\" or \"cancel\", a tab, and the step that decided:\n"
    "  about-blank    exactly about:blank\n"
    "  scheme         not an http(s) address (nor a blob: of one)\n"
    "  unreadable     http(s), but no address a browser would go to\n"
    "  user-info      a user name or password before the host\n"
    "  same-content   the content's own address, another query or fragment\n"
    "  zoom-pair      Zoom content, a Zoom host\n"
    "  youtube-pair   YouTube content, a YouTube host\n"
    "  same-site      the platform's or the content's site\n"
    "  below-content  an address below the content's path\n"
    "  allow-list     a host on the player's allow-list\n"
    "  video-pair     a direct video within its delivery pair\n"
    "  cancel         nothing allowed it\n"
    "\n"
    "  --content URL    the content address the player window shows\n"
    "  --domain DOMAIN  platform domain the link came from\n"
    "  --kind KIND      the content's type as the platform names it (pdf, video, ...)\n";

CommandOutput Check(std::span<const std::string> args) {
  static constexpr std::array<OptionSpec, 3> kOptions{
      {{"--content", true}, {"--domain", true}, {"--kind", true}}};
  static constexpr std::array<std::string_view, 1> kPositionals{"TARGET"};
  const ParsedArgs parsed = ParseArgs(args, kOptions, kPositionals, true);
  if (parsed.help) return CommandOutput{std::string(kCheckUsage)};
  ContentRequest content;
  content.url = Utf8ToUtf16(parsed.Required("--content"));
  content.domain = Utf8ToUtf16(parsed.Required("--domain"));
  content.kind = Utf8ToUtf16(parsed.Required("--kind"));
  std::string text;
  for (const std::string& target : parsed.positionals) {
    const NavigationDecision decision = DecidePlayerNavigation(Utf8ToUtf16(target), content);
    text += decision.allowed ? "allow\t" : "cancel\t";
    text += RuleName(decision.rule);
    text += '\n';
  }
  return CommandOutput{std::move(text)};
}

constexpr std::array<Command, 1> kCommands{{
    {"check", "whether the player window may go to addresses, and why", kCheckUsage, Check},
}};

}  // namespace

const CommandGroup& PolicyCommands() {
  static const CommandGroup group{"policy", "explain the player's navigation check", kCommands};
  return group;
}
