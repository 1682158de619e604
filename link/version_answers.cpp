#include "link/version_answers.h"

#include <algorithm>

#include "common/text.h"
#include "common/web_address.h"

namespace {

// One text per address as a browser reads it; nothing for an unreadable address.
std::optional<std::u16string> AddressKey(std::u16string_view address) {
  const std::optional<WebAddress> reading = ReadWebAddress(address);
  if (!reading || reading->hasUserInfo) return std::nullopt;
  return reading->scheme + u"://" + reading->host + u":" +
         AsciiToUtf16(std::to_string(reading->port)) + reading->rest;
}

}  // namespace

std::optional<VersionInfo> VersionAnswers::Known(std::u16string_view address) const {
  const std::optional<std::u16string> key = AddressKey(address);
  if (!key) return std::nullopt;
  for (const auto& [known, answer] : answers_) {
    if (known == *key) return answer;
  }
  return std::nullopt;
}

void VersionAnswers::Remember(std::u16string_view address, const VersionInfo& answer) {
  const std::optional<std::u16string> key = AddressKey(address);
  if (key && !Known(address)) answers_.emplace_back(*key, answer);
}

bool VersionAnswers::OfferOnce(const VersionInfo& answer) {
  if (!answer.updateAvailable) return false;
  if (std::find(offered_.begin(), offered_.end(), answer) != offered_.end()) return false;
  offered_.push_back(answer);
  return true;
}
