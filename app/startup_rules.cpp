#include "app/startup_rules.h"

#include "common/hidden_text.h"
#include "common/text.h"

namespace {

constexpr std::uint64_t kHashStart = 0x5B2E9D4C17A3F068ull;
constexpr std::uint64_t kFnvPrime = 1099511628211ull;

std::u16string Hex(std::uint64_t value) {
  constexpr char16_t kDigits[] = u"0123456789abcdef";
  std::u16string text;
  do {
    text.insert(text.begin(), kDigits[value & 0xF]);
    value >>= 4;
  } while (value != 0);
  return text;
}

}  // namespace

std::u16string MakeInstanceMutexName(std::u16string_view displayName, bool startedWithCommandLine) {
  const std::u16string input =
      AsciiLower(std::u16string(displayName) + (startedWithCommandLine ? u"|player" : u"|init"));
  std::uint64_t hash = kHashStart;
  for (const char16_t unit : input) {
    hash ^= unit;
    hash *= kFnvPrime;
  }
  return u"Local\\LumoraPlayer.WebView2." + Hex(hash);
}

SelectedLink SelectLink(const std::optional<std::u16string>& firstArgument,
                        std::u16string_view rawCommandLine, std::u16string_view schemeName) {
  const std::u16string prefix = std::u16string(schemeName) + u":";
  SelectedLink selected;
  selected.link = firstArgument.value_or(u"");
  if (selected.link.empty() && rawCommandLine.find(prefix) != std::u16string_view::npos) {
    selected.link = rawCommandLine;
  }
  selected.hasSchemeArgs =
      AsciiLower(selected.link).find(AsciiLower(prefix)) != std::u16string::npos;
  return selected;
}

int WindowsMajorVersion(std::uint32_t major, std::uint32_t minor, std::uint32_t build) {
  if (major >= 10) return build >= 22000 ? 11 : 10;
  if (major == 6) return minor < 2 ? 7 : 8;
  return -1;
}

std::optional<std::u16string> ServerRefusalText(std::string_view failureReason) {
  constexpr std::string_view kServerPrefix = "server:";
  if (!failureReason.starts_with(kServerPrefix)) return std::nullopt;
  return Utf8ToUtf16(failureReason.substr(kServerPrefix.size()));
}

std::u16string DefaultUpdateDownloadAddress() {
  static constexpr auto kAddress =
      QUORVEL_HIDDEN("https://downloads.lumora.example/desktop/quorvel/quorvel.exe");
  return AsciiToUtf16(kAddress.Reveal());
}

std::u16string UpdateDownloadAddress(std::u16string_view offeredLink) {
  const std::u16string lower = AsciiLower(offeredLink);
  if (lower.starts_with(u"https://") || lower.starts_with(u"http://")) {
    return std::u16string(offeredLink);
  }
  return DefaultUpdateDownloadAddress();
}
