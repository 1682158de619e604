#pragma once
// What the version checks of one run have learnt: the answer of each address asked, so
// that the check for a link's domain that leads to the address already asked does not
// ask again, and the updates already offered, so that the learner is never asked twice
// about the same update.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "link/version_check.h"

class VersionAnswers {
 public:
  // The answer `address` gave earlier in this run. Addresses are the same when a
  // browser would read them as the same (scheme, host, port and the rest); an address
  // that cannot be read that way is never known.
  std::optional<VersionInfo> Known(std::u16string_view address) const;
  void Remember(std::u16string_view address, const VersionInfo& answer);

  // True when `answer` offers an update the learner has not been offered in this run;
  // the update then counts as offered.
  bool OfferOnce(const VersionInfo& answer);

 private:
  std::vector<std::pair<std::u16string, VersionInfo>> answers_;  // by address key
  std::vector<VersionInfo> offered_;
};
