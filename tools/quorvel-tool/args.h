#pragma once
// The pieces every quorvel-tool command shares: the two kinds of failure it reports,
// what a command hands back, and the reading of a command's own arguments.

#include <map>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// The command line itself is wrong (unknown command or option, a missing value or
// argument): exit code 2, so scripts can tell it from a bad value.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The command line is well formed but a value in it cannot be used (a key that is not
// hex, a time that is not a number, a code that is not one): exit code 1.
class InputError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Everything a command prints on stdout, built completely before any of it is
// written, so a failure half-way never leaves a partial line behind.
struct CommandOutput {
  std::string text;  // ends with exactly one "\n"
  int exitCode = 0;
};

using CommandRunner = CommandOutput (*)(std::span<const std::string> args);

struct Command {
  std::string_view name;
  std::string_view summary;  // one line for the group's help
  std::string_view usage;    // full help text, ends with "\n"
  CommandRunner run;
};

struct CommandGroup {
  std::string_view name;
  std::string_view summary;
  std::span<const Command> commands;
};

const CommandGroup& LinkCommands();
const CommandGroup& DiagCommands();
const CommandGroup& UrlCommands();
const CommandGroup& PolicyCommands();
const CommandGroup& PageCommands();

struct OptionSpec {
  std::string_view name;  // with its leading "--"
  bool takesValue;
};

struct ParsedArgs {
  bool help = false;  // --help or -h was given; nothing else was checked
  std::vector<std::string> positionals;

  bool Has(std::string_view option) const;
  // The option's value, or nullptr when it was not given.
  const std::string* Find(std::string_view option) const;
  // The option's value; a usage error when it was not given.
  const std::string& Required(std::string_view option) const;

  std::map<std::string, std::string, std::less<>> options;
};

// Reads "--name VALUE", "--name=VALUE" and "--flag" among exactly as many positional
// arguments as `positionalNames` lists (or more of the last one, when `lastRepeats`);
// "--" ends the options. Values are taken as they are, even when they start with '-',
// because link texts and reasons may.
ParsedArgs ParseArgs(std::span<const std::string> args, std::span<const OptionSpec> options,
                     std::span<const std::string_view> positionalNames, bool lastRepeats = false);

bool IsHelpFlag(std::string_view arg);

// `value` followed by a single "\n": the one line a command prints.
CommandOutput Line(std::string value, int exitCode = 0);
