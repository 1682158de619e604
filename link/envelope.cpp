#include "link/envelope.h"

#include <nlohmann/json.hpp>
#include <stdexcept>

#include "common/base64.h"
#include "common/crypto.h"

namespace {

constexpr std::size_t kIvSize = 16;

bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

}  // namespace

std::string DecryptEnvelope(std::string_view envelope, std::string_view key) {
  const std::string jsonText = Base64Decode(envelope);
  nlohmann::json document;
  try {
    document = nlohmann::json::parse(jsonText);
  } catch (...) {
    throw std::runtime_error(kEnvelopeJsonError);
  }

  // Non-const access on purpose: a missing member reads as null and a non-object top
  // level is refused, both as the library's own type errors.
  const std::string ivText = document["iv"].get<std::string>();
  const std::string valueText = document["value"].get<std::string>();
  std::string macText;
  if (document.is_object() && document.contains("mac")) {
    macText = document["mac"].get<std::string>();
  }

  if (!macText.empty()) {
    // The MAC covers the Base64 texts as they stand in the JSON, not their bytes.
    const std::string expected = HexLower(HmacSha256(key, ivText + valueText));
    if (!EqualIgnoringAsciiCase(expected, macText)) throw std::runtime_error(kEnvelopeMacError);
  }

  return AesCbcDecrypt(key, Base64Decode(ivText), Base64Decode(valueText));
}

std::string SealEnvelope(std::string_view plaintext, std::string_view key, bool withMac) {
  const std::string iv = RandomBytes(kIvSize);
  const std::string ivText = Base64Encode(iv);
  const std::string valueText = Base64Encode(AesCbcEncrypt(key, iv, plaintext));
  nlohmann::ordered_json document;
  document["iv"] = ivText;
  document["value"] = valueText;
  if (withMac) document["mac"] = HexLower(HmacSha256(key, ivText + valueText));
  return Base64Encode(document.dump());
}
