#pragma once
// The per-user registration of the "quorvel:" scheme, rewritten on every start so a
// moved executable is found again, and the link on the command line.

#include <string>

#include "app/startup_rules.h"

// The full path of the running executable, however long; empty when it cannot be read
// whole.
std::wstring GetExecutablePath();

// Writes the scheme key (current user, else machine) and, always under the current
// user, its icon and open command. False when no scheme key could be created, and
// without writing anything when the executable path is empty.
bool RegisterUrlScheme(const std::wstring& schemeName, const std::wstring& description,
                       const std::wstring& executablePath);

// The link among the process's arguments (see SelectLink); `rawCommandLine` is the text
// the entry point received.
SelectedLink SelectLinkFromCommandLine(const wchar_t* rawCommandLine,
                                       const std::wstring& schemeName);
