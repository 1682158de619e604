#pragma once
// What every object made through one environment shares: the test's settings, the log
// and the script of stimuli.

#include <string_view>
#include <vector>

#include "tools/runtime-standin/config.h"
#include "tools/runtime-standin/log.h"
#include "tools/runtime-standin/script.h"

namespace standin {

struct Runtime {
  explicit Runtime(Config read);

  bool Lacks(std::string_view interface_name) const {
    return config.lacking.find(interface_name) != config.lacking.end();
  }

  const Config config;
  Log log;
  std::vector<Stimulus> script;  // read with the rest, then only read
};

}  // namespace standin
