#include "tools/runtime-standin/runtime.h"

#include <utility>

namespace standin {

Runtime::Runtime(Config read) : config(std::move(read)), log(config.log_path) {
  for (const std::string& problem : config.problems) log.Error(problem);
  script = ReadScript(config.script_path, log);
}

}  // namespace standin
