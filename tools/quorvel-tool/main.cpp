// quorvel-tool: the platform team's and support's command line view of the player's
// link, diagnostic-code, video-address and navigation rules and of the page it builds.
// Every rule comes from the player's own libraries; this file only reads the command
// line and reports.
#include <array>
#include <exception>
#include <span>
#include <string>
#include <vector>

#include "tools/quorvel-tool/args.h"
#include "tools/quorvel-tool/output.h"

#ifdef _WIN32
#include <windows.h>
// windows.h must come first.
#include <shellapi.h>

#include "common/text.h"
#endif

namespace {

constexpr int kExitUsage = 2;
constexpr int kExitInput = 1;

std::array<const CommandGroup*, 5> Groups() {
  return {&LinkCommands(), &DiagCommands(), &UrlCommands(), &PolicyCommands(), &PageCommands()};
}

std::string ToolUsage() {
  std::string text =
      "usage: quorvel-tool GROUP COMMAND [ARGS...]\n"
      "\n"
      "Produces and reads player links, reads diagnostic codes, checks video\n"
      "addresses, explains where the player's window may go and builds the page it\n"
      "frames content in, all with the player's own rules.\n"
      "\n";
  for (const CommandGroup* group : Groups()) {
    text += "  ";
    text += group->name;
    text.append(8 - group->name.size(), ' ');
    text += group->summary;
    text += '\n';
  }
  text +=
      "\n"
      "'quorvel-tool GROUP --help' lists a group's commands.\n"
      "Exit codes: 0 done, 1 unusable input, 2 wrong command line.\n";
  return text;
}

std::string GroupUsage(const CommandGroup& group) {
  std::string text = "usage: quorvel-tool " + std::string(group.name) + " COMMAND [ARGS...]\n\n";
  for (const Command& command : group.commands) {
    text += "  ";
    text += command.name;
    text.append(command.name.size() < 12 ? 12 - command.name.size() : 1, ' ');
    text += command.summary;
    text += '\n';
  }
  text += "\n'quorvel-tool " + std::string(group.name) + " COMMAND --help' shows its usage.\n";
  return text;
}

CommandOutput Dispatch(std::span<const std::string> args) {
  if (args.empty()) throw UsageError("missing command; try 'quorvel-tool --help'");
  if (IsHelpFlag(args[0])) return CommandOutput{ToolUsage()};

  for (const CommandGroup* group : Groups()) {
    if (args[0] != group->name) continue;
    if (args.size() < 2) {
      throw UsageError("missing " + std::string(group->name) + " command; try 'quorvel-tool " +
                       std::string(group->name) + " --help'");
    }
    if (IsHelpFlag(args[1])) return CommandOutput{GroupUsage(*group)};
    for (const Command& command : group->commands) {
      if (args[1] == command.name) return command.run(args.subspan(2));
    }
    throw UsageError("unknown " + std::string(group->name) + " command " + args[1]);
  }
  throw UsageError("unknown command " + args[0]);
}

std::vector<std::string> CommandLineArgs([[maybe_unused]] int argc, [[maybe_unused]] char** argv) {
  std::vector<std::string> args;
#ifdef _WIN32
  // argv holds the arguments in the ANSI code page, which loses every character
  // outside it; the UTF-16 command line has them all.
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (wide == nullptr) throw std::runtime_error("cannot read the command line");
  for (int i = 1; i < count; ++i) {
    std::u16string arg;
    for (const wchar_t* p = wide[i]; *p != L'\0'; ++p) arg.push_back(static_cast<char16_t>(*p));
    args.push_back(Utf16ToUtf8(arg));
  }
  LocalFree(wide);
#else
  for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
#endif
  return args;
}

}  // namespace

int main(int argc, char** argv) {
  UseBinaryStreams();
  try {
    const std::vector<std::string> args = CommandLineArgs(argc, argv);
    const CommandOutput output = Dispatch(args);
    if (!WriteStdout(output.text)) {
      WriteErrorLine("cannot write the output");
      return kExitInput;
    }
    return output.exitCode;
  } catch (const UsageError& error) {
    WriteErrorLine(error.what());
    return kExitUsage;
  } catch (const std::exception& error) {
    WriteErrorLine(error.what());
    return kExitInput;
  } catch (...) {
    WriteErrorLine("unexpected failure");
    return kExitInput;
  }
}
