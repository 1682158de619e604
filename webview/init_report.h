#pragma once
// The bookkeeping of starting the embedded browser: which user-data folder each
// attempt uses, how failures are recorded, and the one-line status text the owner
// shows when the browser cannot start.

#include <cstdint>
#include <string>
#include <string_view>

using HResult = std::int32_t;

namespace hresult {
inline constexpr HResult kFail = static_cast<HResult>(0x80004005);
inline constexpr HResult kInvalidArg = static_cast<HResult>(0x80070057);
inline constexpr HResult kAbort = static_cast<HResult>(0x80004004);
inline constexpr HResult kPending = static_cast<HResult>(0x8000000A);
}  // namespace hresult

// A failure code for a result that must count as failed: non-negative becomes E_FAIL.
HResult AsFailure(HResult result);

// A system error number as an HRESULT (0x8007 in the high word, the error's low 16
// bits below), E_FAIL when that is not a failure.
HResult FromSystemError(std::uint32_t error);

// "0x8007000E"
std::u16string FormatHresult(HResult result);

// The folder of every first attempt: the owner's folder + "_Fixed_Env5" for a private
// runtime, else + "_Evergreen_Env5".
std::u16string BaseUserDataFolder(std::u16string_view userDataFolder, bool fixedRuntime);

// The folder of attempt `attempt`: the base folder for attempt 0, a recovery folder
// named after the process and start time for later ones.
std::u16string AttemptFolder(std::u16string_view baseFolder, std::u16string_view uniqueText,
                             int attempt);

// Process id and milliseconds since system start: "1234_5678".
std::u16string UniqueAttemptText(std::uint32_t processId, std::uint64_t tickCount);

// The first and the last failure of one Initialize.
class InitFailures {
 public:
  void Record(HResult result, std::u16string_view stage, std::u16string_view folder);

  bool any() const { return firstRecorded_; }
  // What Initialize reports: the first failure's code when there was one.
  HResult reported() const { return firstRecorded_ ? firstResult_ : lastResult_; }
  // "WebView2 initialization failed. First=0x…  at …; last=… at …; runtime=…; lastUserData=…"
  std::u16string StatusText(std::u16string_view runtimeKind, std::u16string_view version) const;

 private:
  HResult lastResult_ = hresult::kFail;
  std::u16string lastStage_;
  std::u16string lastFolder_;
  bool firstRecorded_ = false;
  HResult firstResult_ = hresult::kFail;
  std::u16string firstStage_;
};

// "WebView2 initialized with Fixed 120.0.2210.91; userData=…"
std::u16string SuccessStatusText(std::u16string_view runtimeKind, std::u16string_view version,
                                 std::u16string_view folder);
