#include "tools/quorvel-tool/args.h"

#include <algorithm>

namespace {

const OptionSpec* FindSpec(std::span<const OptionSpec> options, std::string_view name) {
  const auto it = std::find_if(options.begin(), options.end(),
                               [name](const OptionSpec& spec) { return spec.name == name; });
  return it == options.end() ? nullptr : &*it;
}

}  // namespace

bool IsHelpFlag(std::string_view arg) { return arg == "--help" || arg == "-h"; }

bool ParsedArgs::Has(std::string_view option) const { return options.contains(option); }

const std::string* ParsedArgs::Find(std::string_view option) const {
  const auto it = options.find(option);
  return it == options.end() ? nullptr : &it->second;
}

const std::string& ParsedArgs::Required(std::string_view option) const {
  const std::string* value = Find(option);
  if (value == nullptr) throw UsageError("missing required option " + std::string(option));
  return *value;
}

ParsedArgs ParseArgs(std::span<const std::string> args, std::span<const OptionSpec> options,
                     std::span<const std::string_view> positionalNames, bool lastRepeats) {
  ParsedArgs parsed;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
      parsed.positionals.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    if (IsHelpFlag(arg)) {
      // Help wins over whatever else is on the line: someone asking for it has
      // usually got the rest wrong.
      parsed.help = true;
      return parsed;
    }

    const std::size_t equals = arg.find('=');
    const std::string name = arg.substr(0, equals);
    const OptionSpec* spec = FindSpec(options, name);
    if (spec == nullptr) throw UsageError("unknown option " + name);
    if (parsed.options.contains(name)) throw UsageError("option " + name + " given twice");

    std::string value;
    if (!spec->takesValue) {
      if (equals != std::string::npos) throw UsageError("option " + name + " takes no value");
    } else if (equals != std::string::npos) {
      value = arg.substr(equals + 1);
    } else if (i + 1 < args.size()) {
      value = args[++i];
    } else {
      throw UsageError("option " + name + " needs a value");
    }
    parsed.options.emplace(name, std::move(value));
  }

  if (parsed.positionals.size() < positionalNames.size()) {
    throw UsageError("missing " + std::string(positionalNames[parsed.positionals.size()]));
  }
  if (parsed.positionals.size() > positionalNames.size() && !lastRepeats) {
    throw UsageError("unexpected argument " + parsed.positionals[positionalNames.size()]);
  }
  return parsed;
}

CommandOutput Line(std::string value, int exitCode) {
  value.push_back('\n');
  return CommandOutput{std::move(value), exitCode};
}
