#include "net/pin_store.h"

#include <mutex>
#include <nlohmann/json.hpp>
#include <shared_mutex>

#include "common/platform_values.h"
#include "common/text.h"

namespace {

constexpr std::string_view kPinPrefix = "sha256/";

bool IsUnder(std::u16string_view host, std::u16string_view scope) {
  return host.size() > scope.size() && host.ends_with(scope) &&
         host[host.size() - scope.size() - 1] == u'.';
}

}  // namespace

PinStore& PinStore::Instance() {
  static PinStore store;
  return store;
}

void PinStore::Replace(std::vector<PinEntry> entries) {
  std::unique_lock guard(lock_);
  entries_ = std::move(entries);
}

std::optional<PinEntry> PinStore::Find(std::u16string_view host) const {
  const std::u16string lowerHost = AsciiLower(host);
  std::shared_lock guard(lock_);
  const PinEntry* best = nullptr;
  std::size_t bestLength = 0;
  for (const PinEntry& entry : entries_) {
    const std::u16string scope = AsciiLower(entry.scope);
    if (scope == lowerHost) return entry;
    if (IsUnder(lowerHost, scope) && (best == nullptr || scope.size() > bestLength)) {
      best = &entry;
      bestLength = scope.size();
    }
  }
  if (best == nullptr) return std::nullopt;
  return *best;
}

std::vector<PinEntry> DefaultPins() {
  PinEntry entry{AsciiToUtf16(DefaultPinScope()), {}};
  for (std::string& pin : DefaultPinTexts()) entry.pins.push_back(std::move(pin));
  return {std::move(entry)};
}

std::optional<std::vector<PinEntry>> ReadPinList(std::string_view body) {
  const nlohmann::json list = nlohmann::json::parse(body, nullptr, /*allow_exceptions=*/false);
  if (!list.is_array()) return std::nullopt;

  std::vector<PinEntry> entries;
  for (const nlohmann::json& item : list) {
    if (!item.is_object() || !item.contains("scope") || !item.contains("pins")) continue;
    const nlohmann::json& scope = item["scope"];
    if (!scope.is_string()) return std::nullopt;  // a broken list keeps the defaults

    PinEntry entry{Utf8ToUtf16(scope.get_ref<const std::string&>()), {}};
    const nlohmann::json& pins = item["pins"];
    if (pins.is_array()) {
      for (const nlohmann::json& pin : pins) {
        if (!pin.is_string()) continue;
        std::string text = pin.get<std::string>();
        if (text.size() > kPinPrefix.size() && text.starts_with(kPinPrefix)) {
          text.erase(0, kPinPrefix.size());
        }
        entry.pins.push_back(std::move(text));
      }
    }
    if (!entry.pins.empty()) entries.push_back(std::move(entry));
  }
  return entries;
}
