#include "tools/runtime-standin/event_source.h"

#include <atomic>

namespace standin {

INT64 NextEventToken() {
  static std::atomic<INT64> next{1};
  return next++;
}

}  // namespace standin
