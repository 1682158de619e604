// link make / key / open: producing links the way the platform's web side does and
// reading them the way the player does.
#include <array>
#include <memory>
#include <optional>
#include <string>

#include "common/base64.h"
#include "common/secure_wipe.h"
#include "common/text.h"
#include "link/envelope.h"
#include "link/link_key.h"
#include "link/percent.h"
#include "link/scheme_payload.h"
#include "tools/quorvel-tool/args.h"
#include "tools/quorvel-tool/output.h"

namespace {

constexpr std::string_view kKeyHexOption = "--key-hex";

constexpr std::string_view kMakeUsage =
    "usage: quorvel-tool link make --p1 TEXT --id TEXT --domain TEXT [--key-hex HEX64]\n"
    "\n"
    "Prints the link \"quorvel:P1:ID:DOMAIN\", each part sealed as the platform's web\n"
    "side seals it (fresh random IV, so every run differs; the player refuses a part\n"
    "without its MAC) and percent-encoded.\n"
    "\n"
    "  --p1 TEXT        opaque text the platform issues; the player sends it back\n"
    "  --id TEXT        content link id, or an http(s) address the player opens directly\n"
    "  --domain TEXT    platform domain the link comes from: a host (the player adds\n"
    "                   https://) or an https:// address; any other scheme is refused\n"
    "  --key-hex HEX64  the 32-byte link key as 64 hex digits (default: this build's key)\n";

constexpr std::string_view kKeyUsage =
    "usage: quorvel-tool link key\n"
    "\n"
    "Prints this build's 32-byte link key as 64 lower-case hex digits, for the\n"
    "platform's web side. Treat the output as a secret.\n";

constexpr std::string_view kOpenUsage =
    "usage: quorvel-tool link open LINK [--key-hex HEX64]\n"
    "\n"
    "Decodes LINK as the player does and prints one JSON object:\n"
    "  {\"ok\":true,\"p1\":...,\"contentLinkId\":...,\"domain\":...,\"directUrl\":...}\n"
    "or, exiting with 1, {\"ok\":false,\"reason\":...} with the reason the player would\n"
    "put into its diagnostic code.\n"
    "\n"
    "  --key-hex HEX64  decode with this key instead of this build's\n";

// The key of --key-hex when it is given, else none (the caller uses the build's). On
// the heap because a LinkKey can be neither copied nor moved.
std::unique_ptr<const LinkKey> KeyFromOption(const ParsedArgs& parsed) {
  const std::string* hex = parsed.Find(kKeyHexOption);
  if (hex == nullptr) return nullptr;
  if (hex->size() != 2 * LinkKey::kSize) {
    throw InputError("--key-hex needs exactly 64 hex digits, got " + std::to_string(hex->size()));
  }
  std::optional<std::string> raw = HexDecode(*hex);
  if (!raw) throw InputError("--key-hex holds a character that is not a hex digit");
  std::unique_ptr<const LinkKey> key(new LinkKey(
      LinkKey::FromRaw(std::span<const char, LinkKey::kSize>(raw->data(), LinkKey::kSize))));
  SecureWipe(raw->data(), raw->size());
  return key;
}

CommandOutput Make(std::span<const std::string> args) {
  static constexpr std::array<OptionSpec, 4> kOptions{
      {{"--p1", true}, {"--id", true}, {"--domain", true}, {kKeyHexOption, true}}};
  const ParsedArgs parsed = ParseArgs(args, kOptions, {});
  if (parsed.help) return CommandOutput{std::string(kMakeUsage)};
  const std::string& p1 = parsed.Required("--p1");
  const std::string& id = parsed.Required("--id");
  const std::string& domain = parsed.Required("--domain");

  std::unique_ptr<const LinkKey> key = KeyFromOption(parsed);
  if (!key) key = std::make_unique<const LinkKey>();

  std::string link = "quorvel:";
  link += PercentEncodeUnreserved(SealEnvelope(p1, key->bytes()));
  link += ':';
  link += PercentEncodeUnreserved(SealEnvelope(id, key->bytes()));
  link += ':';
  link += PercentEncodeUnreserved(SealEnvelope(domain, key->bytes()));
  return Line(std::move(link));
}

CommandOutput Key(std::span<const std::string> args) {
  const ParsedArgs parsed = ParseArgs(args, {}, {});
  if (parsed.help) return CommandOutput{std::string(kKeyUsage)};
  const LinkKey key;
  return Line(HexLower(key.bytes()));
}

CommandOutput Open(std::span<const std::string> args) {
  static constexpr std::array<OptionSpec, 1> kOptions{{{kKeyHexOption, true}}};
  static constexpr std::array<std::string_view, 1> kPositionals{"LINK"};
  const ParsedArgs parsed = ParseArgs(args, kOptions, kPositionals);
  if (parsed.help) return CommandOutput{std::string(kOpenUsage)};
  // Without --key-hex the decoder assembles the build's key itself, as in the player.
  const std::unique_ptr<const LinkKey> givenKey = KeyFromOption(parsed);

  ContentRequest request;
  DecodedLink link;
  std::string reason;
  const bool ok = DecodeSchemePayload(Utf8ToUtf16(parsed.positionals[0]), request, link, reason,
                                      givenKey.get());
  nlohmann::ordered_json result;
  result["ok"] = ok;
  if (!ok) {
    result["reason"] = reason;
    return JsonLine(result, 1);
  }
  result["p1"] = link.p1;
  result["contentLinkId"] = link.contentLinkId;
  result["domain"] = Utf16ToUtf8(request.domain);
  result["directUrl"] = link.directUrl;
  return JsonLine(result);
}

constexpr std::array<Command, 3> kCommands{{
    {"make", "seal three values into a link", kMakeUsage, Make},
    {"key", "print this build's link key", kKeyUsage, Key},
    {"open", "decode a link as the player does", kOpenUsage, Open},
}};

}  // namespace

const CommandGroup& LinkCommands() {
  static const CommandGroup group{"link", "make and open player links, show the link key",
                                  kCommands};
  return group;
}
