#include "link/percent.h"

#include "common/base64.h"
#include "common/text.h"

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// Reads two bytes as "stream >> std::hex >> int" does in the classic locale: leading
// white space skipped, an optional sign, an optional "0x" (the base's prefix, which needs
// a digit after it), as many hex digits as there are. False when no number is read. (By
// hand rather than with a string stream, which would bring the whole stream and locale
// library into the executable.)
bool ReadHexPair(std::string_view pair, int& value) {
  std::size_t i = 0;
  while (i < pair.size() && IsSpace(pair[i])) ++i;
  bool negative = false;
  if (i < pair.size() && (pair[i] == '+' || pair[i] == '-')) negative = pair[i++] == '-';
  if (i + 1 < pair.size() && pair[i] == '0' && (pair[i + 1] == 'x' || pair[i + 1] == 'X')) i += 2;
  int number = 0;
  std::size_t digits = 0;
  for (int digit = 0; i < pair.size() && (digit = HexDigit(pair[i])) >= 0; ++i, ++digits) {
    number = number * 16 + digit;
  }
  if (digits == 0) return false;
  value = negative ? -number : number;
  return true;
}

bool IsUnreserved(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '.' || c == '_' || c == '~';
}

bool IsFormSafe(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '*' ||
         c == '-' || c == '.' || c == '_';
}

}  // namespace

std::u16string PercentDecode(std::u16string_view payload) {
  const std::string bytes = Utf16ToUtf8(payload);
  std::string out;
  out.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    int value = 0;
    if (bytes[i] == '%' && i + 2 < bytes.size() &&
        ReadHexPair(std::string_view(bytes).substr(i + 1, 2), value)) {
      out.push_back(static_cast<char>(value & 0xFF));
      i += 2;
    } else {
      out.push_back(bytes[i]);
    }
  }
  return Utf8ToUtf16(out);
}

std::string PercentEncodeUnreserved(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (const char c : bytes) {
    if (IsUnreserved(c)) {
      out.push_back(c);
    } else {
      out.push_back('%');
      out += HexLower(std::string_view(&c, 1));
    }
  }
  return out;
}

std::string FormUrlEncode(std::string_view bytes) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(bytes.size());
  for (const char c : bytes) {
    if (IsFormSafe(c)) {
      out.push_back(c);
    } else if (c == ' ') {
      out.push_back('+');
    } else {
      const auto byte = static_cast<unsigned char>(c);
      out += {'%', kHex[byte >> 4], kHex[byte & 0xF]};
    }
  }
  return out;
}
