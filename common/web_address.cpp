#include "common/web_address.h"

#include <array>
#include <cstdint>
#include <vector>

#include "common/text.h"

namespace {

bool IsAsciiAlpha(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }
bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
int HexValue(char16_t c) {
  if (IsDigit(c)) return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

// Leading and trailing controls and spaces go; tabs and line breaks go from anywhere,
// as browsers drop them before parsing ("java\tscript:", "https://ev\nil.example").
std::u16string Clean(std::u16string_view text) {
  while (!text.empty() && text.front() <= u' ') text.remove_prefix(1);
  while (!text.empty() && text.back() <= u' ') text.remove_suffix(1);
  std::u16string cleaned;
  for (char16_t c : text) {
    if (c != u'\t' && c != u'\n' && c != u'\r') cleaned.push_back(c);
  }
  return cleaned;
}

std::optional<std::u16string> ReadScheme(std::u16string_view text, std::size_t& end) {
  if (text.empty() || !IsAsciiAlpha(text[0])) return std::nullopt;
  std::size_t i = 1;
  while (i < text.size() && (IsAsciiAlpha(text[i]) || IsDigit(text[i]) || text[i] == u'+' ||
                             text[i] == u'-' || text[i] == u'.')) {
    ++i;
  }
  if (i == text.size() || text[i] != u':') return std::nullopt;
  end = i + 1;
  return AsciiLower(text.substr(0, i));
}

// --- IPv4 -------------------------------------------------------------------------

constexpr std::uint64_t kTooLarge = std::uint64_t{1} << 40;

// One part of an IPv4 address: decimal, octal after a leading 0, hexadecimal after 0x.
std::optional<std::uint64_t> ReadIpv4Number(std::u16string_view part) {
  if (part.empty()) return std::nullopt;
  int radix = 10;
  if (part.size() >= 2 && part[0] == u'0' && (part[1] == u'x' || part[1] == u'X')) {
    part.remove_prefix(2);
    radix = 16;
  } else if (part.size() >= 2 && part[0] == u'0') {
    part.remove_prefix(1);
    radix = 8;
  }
  std::uint64_t value = 0;
  for (char16_t c : part) {
    const int digit = HexValue(c);
    if (digit < 0 || digit >= radix) return std::nullopt;
    value = value * radix + digit;
    if (value > kTooLarge) value = kTooLarge;  // large enough to fail, small enough to hold
  }
  return value;
}

std::vector<std::u16string_view> SplitAtDots(std::u16string_view host) {
  std::vector<std::u16string_view> parts;
  std::size_t start = 0;
  for (;;) {
    const std::size_t dot = host.find(u'.', start);
    parts.push_back(host.substr(start, dot == std::u16string_view::npos ? dot : dot - start));
    if (dot == std::u16string_view::npos) return parts;
    start = dot + 1;
  }
}

// A host whose last label is a number is an IPv4 address, or nothing at all.
bool EndsInNumber(std::u16string_view host) {
  std::vector<std::u16string_view> parts = SplitAtDots(host);
  if (parts.back().empty()) {
    if (parts.size() == 1) return false;
    parts.pop_back();
  }
  const std::u16string_view last = parts.back();
  bool allDigits = !last.empty();
  for (char16_t c : last) allDigits = allDigits && IsDigit(c);
  return allDigits || ReadIpv4Number(last).has_value();
}

std::optional<std::u16string> ReadIpv4(std::u16string_view host) {
  std::vector<std::u16string_view> parts = SplitAtDots(host);
  if (parts.back().empty() && parts.size() > 1) parts.pop_back();
  if (parts.size() > 4) return std::nullopt;
  std::vector<std::uint64_t> numbers;
  for (std::u16string_view part : parts) {
    const std::optional<std::uint64_t> number = ReadIpv4Number(part);
    if (!number) return std::nullopt;
    numbers.push_back(*number);
  }
  for (std::size_t i = 0; i + 1 < numbers.size(); ++i) {
    if (numbers[i] > 255) return std::nullopt;
  }
  // The last number fills every byte the others left.
  const std::uint64_t limit = std::uint64_t{1} << (8 * (5 - numbers.size()));
  if (numbers.back() >= limit) return std::nullopt;
  std::uint64_t address = numbers.back();
  for (std::size_t i = 0; i + 1 < numbers.size(); ++i) address += numbers[i] << (8 * (3 - i));
  std::string dotted;
  for (int shift = 24; shift >= 0; shift -= 8) {
    if (!dotted.empty()) dotted += '.';
    dotted += std::to_string((address >> shift) & 0xFF);
  }
  return AsciiToUtf16(dotted);
}

// --- IPv6 -------------------------------------------------------------------------

using Ipv6 = std::array<std::uint16_t, 8>;

// The IPv4 tail of an IPv6 literal ("::ffff:1.2.3.4"): four decimal parts without
// leading zeros, filling two pieces.
bool ReadIpv6Tail(std::u16string_view text, std::size_t& at, Ipv6& address, std::size_t& piece) {
  if (piece > 6) return false;
  int numbersSeen = 0;
  while (at < text.size()) {
    if (numbersSeen > 0) {
      if (text[at] != u'.' || numbersSeen >= 4) return false;
      ++at;
    }
    if (at >= text.size() || !IsDigit(text[at])) return false;
    int value = -1;
    while (at < text.size() && IsDigit(text[at])) {
      if (value == 0) return false;  // a leading zero
      value = (value < 0 ? 0 : value * 10) + (text[at] - u'0');
      if (value > 255) return false;
      ++at;
    }
    address[piece] = static_cast<std::uint16_t>(address[piece] * 0x100 + value);
    ++numbersSeen;
    if (numbersSeen == 2 || numbersSeen == 4) ++piece;
  }
  return numbersSeen == 4;
}

std::optional<Ipv6> ReadIpv6(std::u16string_view text) {
  Ipv6 address{};
  std::size_t piece = 0;
  std::optional<std::size_t> compress;
  std::size_t at = 0;
  if (at < text.size() && text[at] == u':') {
    if (at + 1 >= text.size() || text[at + 1] != u':') return std::nullopt;
    at += 2;
    compress = ++piece;
  }
  while (at < text.size()) {
    if (piece == 8) return std::nullopt;
    if (text[at] == u':') {
      if (compress) return std::nullopt;
      ++at;
      compress = ++piece;
      continue;
    }
    unsigned value = 0;
    std::size_t length = 0;
    while (length < 4 && at < text.size() && HexValue(text[at]) >= 0) {
      value = value * 16 + static_cast<unsigned>(HexValue(text[at]));
      ++at;
      ++length;
    }
    if (at < text.size() && text[at] == u'.') {
      if (length == 0) return std::nullopt;
      at -= length;
      if (!ReadIpv6Tail(text, at, address, piece)) return std::nullopt;
      break;
    }
    if (at < text.size() && text[at] == u':') {
      ++at;
      if (at >= text.size()) return std::nullopt;
    } else if (at < text.size()) {
      return std::nullopt;
    }
    address[piece++] = static_cast<std::uint16_t>(value);
  }
  if (compress) {
    // The pieces after "::" move to the end; zeros fill the gap.
    std::size_t swaps = piece - *compress;
    for (std::size_t last = 7; last != 0 && swaps > 0; --last, --swaps) {
      std::swap(address[last], address[*compress + swaps - 1]);
    }
  } else if (piece != 8) {
    return std::nullopt;
  }
  return address;
}

// Lower-case hexadecimal pieces, the first longest run of two or more zeros as "::".
std::u16string WriteIpv6(const Ipv6& address) {
  std::size_t bestStart = 8;
  std::size_t bestLength = 1;
  for (std::size_t i = 0; i < 8;) {
    std::size_t end = i;
    while (end < 8 && address[end] == 0) ++end;
    if (end - i > bestLength) {
      bestStart = i;
      bestLength = end - i;
    }
    i = end == i ? i + 1 : end;
  }
  static constexpr char kHex[] = "0123456789abcdef";
  std::string text = "[";
  for (std::size_t i = 0; i < 8; ++i) {
    if (i == bestStart) {
      text += i == 0 ? "::" : ":";
      i += bestLength - 1;
      continue;
    }
    std::string piece;
    for (unsigned value = address[i]; piece.empty() || value != 0; value >>= 4) {
      piece.insert(piece.begin(), kHex[value & 0xF]);
    }
    text += piece;
    if (i != 7) text += ':';
  }
  return AsciiToUtf16(text + "]");
}

// --- Host -------------------------------------------------------------------------

bool IsForbiddenInDomain(char c) {
  static constexpr std::string_view kForbidden = " #%/:<>?@[\\]^|";
  return static_cast<unsigned char>(c) < 0x20 || c == 0x7F ||
         kForbidden.find(c) != std::string_view::npos;
}

// Percent escapes are undone before the host is judged, as the browser does:
// "%65vil.example" is "evil.example".
std::optional<std::string> PercentDecodedAscii(std::u16string_view host) {
  std::string bytes;
  for (std::size_t i = 0; i < host.size(); ++i) {
    if (host[i] >= 0x80) return std::nullopt;  // would need international-name processing
    if (host[i] == u'%' && i + 2 < host.size() && HexValue(host[i + 1]) >= 0 &&
        HexValue(host[i + 2]) >= 0) {
      bytes += static_cast<char>(HexValue(host[i + 1]) * 16 + HexValue(host[i + 2]));
      i += 2;
    } else {
      bytes += static_cast<char>(host[i]);
    }
  }
  for (char c : bytes) {
    if (static_cast<unsigned char>(c) >= 0x80) return std::nullopt;
  }
  return bytes;
}

std::optional<std::u16string> ReadHost(std::u16string_view text) {
  if (text.empty()) return std::nullopt;
  if (text.front() == u'[') {
    if (text.size() < 2 || text.back() != u']') return std::nullopt;
    const std::optional<Ipv6> address = ReadIpv6(text.substr(1, text.size() - 2));
    if (!address) return std::nullopt;
    return WriteIpv6(*address);
  }
  std::optional<std::string> ascii = PercentDecodedAscii(text);
  if (!ascii || ascii->empty()) return std::nullopt;
  for (char c : *ascii) {
    if (IsForbiddenInDomain(c)) return std::nullopt;
  }
  const std::u16string host = AsciiLower(AsciiToUtf16(*ascii));
  if (EndsInNumber(host)) return ReadIpv4(host);
  return host;
}

std::optional<int> ReadPort(std::u16string_view text, std::u16string_view scheme) {
  if (text.empty()) return scheme == u"https" ? 443 : 80;
  int port = 0;
  for (char16_t c : text) {
    if (!IsDigit(c)) return std::nullopt;
    port = port * 10 + (c - u'0');
    if (port > 65535) return std::nullopt;
  }
  return port;
}

}  // namespace

std::optional<WebAddress> ReadWebAddress(std::u16string_view address) {
  const std::u16string text = Clean(address);
  std::size_t at = 0;
  std::optional<std::u16string> scheme = ReadScheme(text, at);
  if (!scheme || (*scheme != u"http" && *scheme != u"https")) return std::nullopt;

  // Browsers skip any run of slashes and backslashes after a web scheme.
  while (at < text.size() && (text[at] == u'/' || text[at] == u'\\')) ++at;
  const std::size_t authorityEnd = text.find_first_of(u"/\\?#", at);
  const std::u16string_view authority = std::u16string_view(text).substr(
      at, authorityEnd == std::u16string::npos ? std::u16string::npos : authorityEnd - at);

  WebAddress result;
  result.scheme = *scheme;
  std::u16string_view hostAndPort = authority;
  if (const std::size_t at_sign = authority.rfind(u'@'); at_sign != std::u16string_view::npos) {
    result.hasUserInfo = true;
    hostAndPort = authority.substr(at_sign + 1);
  }

  // The port starts at the first ':' outside an IPv6 literal's brackets.
  std::size_t colon = std::u16string_view::npos;
  bool inBrackets = false;
  for (std::size_t i = 0; i < hostAndPort.size() && colon == std::u16string_view::npos; ++i) {
    if (hostAndPort[i] == u'[') inBrackets = true;
    if (hostAndPort[i] == u']') inBrackets = false;
    if (hostAndPort[i] == u':' && !inBrackets) colon = i;
  }
  const std::optional<std::u16string> host = ReadHost(hostAndPort.substr(0, colon));
  const std::optional<int> port = ReadPort(
      colon == std::u16string_view::npos ? u"" : hostAndPort.substr(colon + 1), result.scheme);
  if (!host || !port) return std::nullopt;
  result.host = *host;
  result.port = *port;
  if (authorityEnd != std::u16string::npos) result.rest = text.substr(authorityEnd);
  return result;
}

bool HostIsOrIsUnder(std::u16string_view host, std::u16string_view domain) {
  if (domain.empty()) return false;
  if (host == domain) return true;
  return host.size() > domain.size() && host.ends_with(domain) &&
         host[host.size() - domain.size() - 1] == u'.';
}
