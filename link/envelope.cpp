#include "link/envelope.h"

#include <nlohmann/json.hpp>

#include "common/base64.h"
#include "common/crypto.h"

namespace {

constexpr std::size_t kIvSize = 16;

// The given MAC in either letter case against the computed lower-case one. Every
// character is compared whatever the earlier ones held, so the time taken tells a
// forger nothing about how much of a guess was right.
bool MacMatches(std::string_view expectedLowerHex, std::string_view given) {
  if (given.size() != expectedLowerHex.size()) return false;
  unsigned difference = 0;
  for (std::size_t i = 0; i < given.size(); ++i) {
    const char c = given[i];
    const char lower = (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
    difference |= static_cast<unsigned char>(lower ^ expectedLowerHex[i]);
  }
  return difference == 0;
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

  if (macText.empty()) throw EnvelopeMacMissing();
  // The MAC covers the Base64 texts as they stand in the JSON, not their bytes.
  const std::string expected = HexLower(HmacSha256(key, ivText + valueText));
  if (!MacMatches(expected, macText)) throw std::runtime_error(kEnvelopeMacError);

  return AesCbcDecrypt(key, Base64Decode(ivText), Base64Decode(valueText));
}

std::string SealEnvelope(std::string_view plaintext, std::string_view key) {
  const std::string iv = RandomBytes(kIvSize);
  const std::string ivText = Base64Encode(iv);
  const std::string valueText = Base64Encode(AesCbcEncrypt(key, iv, plaintext));
  nlohmann::ordered_json document;
  document["iv"] = ivText;
  document["value"] = valueText;
  document["mac"] = HexLower(HmacSha256(key, ivText + valueText));
  return Base64Encode(document.dump());
}
