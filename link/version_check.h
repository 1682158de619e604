#pragma once
// Whether the platform offers a newer player: the request address and the reading of
// the answer. The HTTP client sends the request; everything here is portable.

#include <string>
#include <string_view>

#include "net/http_response.h"

struct VersionInfo {
  bool updateAvailable = false;
  bool isRequired = false;  // meaningful only with updateAvailable
  std::u16string link;      // download address; empty means the prompt's own default

  bool operator==(const VersionInfo&) const = default;
};

// The domain's API base followed by the version path, or the build's complete version
// address when there is no domain (the check made on every start).
std::u16string VersionCheckAddress(std::u16string_view domain);

// The leading decimal number of a version text: "4.11.0" gives 4.11. Versions compare
// as these numbers, not component by component. 3.0 when the text starts with none.
double RunningVersionNumber(std::u16string_view versionText);

// Reads the answer to the version request against the running version. Every failure
// (non-2xx status, no JSON object, no "version") means no update, so a broken
// endpoint never blocks the player. Nothing throws.
VersionInfo ReadVersionAnswer(const HttpResponse& response, double runningVersion);
