#pragma once
// Windows only: where the program runs from, and what a path names.

#include <string>

// The full path of the running executable, however long; empty when it cannot be read
// whole.
std::wstring ExecutablePath();

// The folder of the running executable, without a trailing backslash; empty when the
// path cannot be read whole.
std::wstring ExecutableFolder();

bool IsExistingFile(const std::wstring& path);
bool IsExistingDirectory(const std::wstring& path);
