#include "link/percent.h"

#include <sstream>

#include "common/base64.h"
#include "common/text.h"

namespace {

// Reads two bytes as "stream >> std::hex >> int" does: leading white space skipped,
// an optional sign, as many hex digits as there are. False when no number is read.
bool ReadHexPair(std::string_view pair, int& value) {
  std::istringstream stream{std::string(pair)};
  stream >> std::hex >> value;
  return !stream.fail();
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
