#include "webview/init_report.h"

#include <cstdio>

#include "common/text.h"

namespace {

std::u16string Decimal(std::uint64_t value) { return AsciiToUtf16(std::to_string(value)); }

std::u16string StageOrUnknown(const std::u16string& stage) {
  return stage.empty() ? u"unknown stage" : stage;
}

// " 120.0.2210.91", or nothing without a version.
std::u16string SpacedVersion(std::u16string_view version) {
  return version.empty() ? std::u16string() : u" " + std::u16string(version);
}

}  // namespace

HResult AsFailure(HResult result) { return result < 0 ? result : hresult::kFail; }

HResult FromSystemError(std::uint32_t error) {
  if (error == 0) return hresult::kFail;
  return AsFailure(static_cast<HResult>((error & 0xFFFFu) | 0x80070000u));
}

std::u16string FormatHresult(HResult result) {
  char text[16];
  std::snprintf(text, sizeof(text), "0x%08X", static_cast<unsigned>(result));
  return AsciiToUtf16(text);
}

std::u16string BaseUserDataFolder(std::u16string_view userDataFolder, bool fixedRuntime) {
  return std::u16string(userDataFolder) + (fixedRuntime ? u"_Fixed_Env5" : u"_Evergreen_Env5");
}

std::u16string AttemptFolder(std::u16string_view baseFolder, std::u16string_view uniqueText,
                             int attempt) {
  if (attempt == 0) return std::u16string(baseFolder);
  return std::u16string(baseFolder) + u"_Recovery_" + std::u16string(uniqueText) + u"_" +
         Decimal(static_cast<std::uint64_t>(attempt));
}

std::u16string UniqueAttemptText(std::uint32_t processId, std::uint64_t tickCount) {
  return Decimal(processId) + u"_" + Decimal(tickCount);
}

void InitFailures::Record(HResult result, std::u16string_view stage, std::u16string_view folder) {
  lastResult_ = AsFailure(result);
  lastStage_ = stage;
  lastFolder_ = folder;
  if (!firstRecorded_) {
    firstRecorded_ = true;
    firstResult_ = lastResult_;
    firstStage_ = stage;
  }
}

std::u16string InitFailures::StatusText(std::u16string_view runtimeKind,
                                        std::u16string_view version) const {
  return u"WebView2 initialization failed. First=" + FormatHresult(reported()) + u" at " +
         StageOrUnknown(firstStage_) + u"; last=" + FormatHresult(lastResult_) + u" at " +
         StageOrUnknown(lastStage_) + u"; runtime=" + std::u16string(runtimeKind) +
         SpacedVersion(version) + u"; lastUserData=" + lastFolder_;
}

std::u16string SuccessStatusText(std::u16string_view runtimeKind, std::u16string_view version,
                                 std::u16string_view folder) {
  return u"WebView2 initialized with " + std::u16string(runtimeKind) + SpacedVersion(version) +
         u"; userData=" + std::u16string(folder);
}
