#include "common/base64.h"

#include <cstdint>

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int SextetOf(char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == '/') return 63;
  return -1;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Emits the bytes of a group of `count` sextets (2 to 4), zero-filled to four.
void EmitGroup(const int (&sextets)[4], int count, std::string& out) {
  std::uint32_t bits = 0;
  for (int i = 0; i < 4; ++i)
    bits = (bits << 6) | static_cast<std::uint32_t>(i < count ? sextets[i] : 0);
  for (int i = 0; i < count - 1; ++i)
    out.push_back(static_cast<char>((bits >> (16 - 8 * i)) & 0xFF));
}

}  // namespace

std::string Base64Encode(std::string_view bytes) {
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  for (std::size_t i = 0; i < bytes.size(); i += 3) {
    const std::size_t left = bytes.size() - i;
    std::uint32_t bits = static_cast<std::uint8_t>(bytes[i]) << 16;
    if (left > 1) bits |= static_cast<std::uint8_t>(bytes[i + 1]) << 8;
    if (left > 2) bits |= static_cast<std::uint8_t>(bytes[i + 2]);
    out.push_back(kAlphabet[(bits >> 18) & 0x3F]);
    out.push_back(kAlphabet[(bits >> 12) & 0x3F]);
    out.push_back(left > 1 ? kAlphabet[(bits >> 6) & 0x3F] : '=');
    out.push_back(left > 2 ? kAlphabet[bits & 0x3F] : '=');
  }
  return out;
}

std::string Base64Decode(std::string_view text) {
  std::string out;
  out.reserve(text.size() / 4 * 3 + 2);
  int group[4];
  int count = 0;
  for (const char c : text) {
    const int sextet = SextetOf(c);
    if (sextet < 0) break;  // '=' and any stray character end the input
    group[count++] = sextet;
    if (count == 4) {
      EmitGroup(group, 4, out);
      count = 0;
    }
  }
  if (count >= 2) EmitGroup(group, count, out);
  return out;
}

std::optional<std::string> Base64DecodeStrict(std::string_view text) {
  if (text.size() % 4 != 0) return std::nullopt;
  std::size_t fill = 0;
  while (fill < 2 && fill < text.size() && text[text.size() - 1 - fill] == '=') ++fill;
  const std::string_view body = text.substr(0, text.size() - fill);
  for (const char c : body) {
    if (SextetOf(c) < 0) return std::nullopt;
  }
  return Base64Decode(body);
}

std::string HexLower(std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string out;
  out.reserve(bytes.size() * 2);
  for (const char byte : bytes) {
    const auto value = static_cast<std::uint8_t>(byte);
    out.push_back(kDigits[value >> 4]);
    out.push_back(kDigits[value & 0x0F]);
  }
  return out;
}

std::optional<std::string> HexDecode(std::string_view hex) {
  if (hex.size() % 2 != 0) return std::nullopt;
  std::string out;
  out.reserve(hex.size() / 2);
  for (std::size_t i = 0; i < hex.size(); i += 2) {
    const int high = HexValue(hex[i]);
    const int low = HexValue(hex[i + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    out.push_back(static_cast<char>(high * 16 + low));
  }
  return out;
}
