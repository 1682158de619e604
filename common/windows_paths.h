#pragma once
// Windows only: where the program runs from, and what a path names.

#include <string>

// The folder of the running executable, without a trailing backslash; empty when the
// path cannot be read (longer than MAX_PATH).
std::wstring ExecutableFolder();

bool IsExistingFile(const std::wstring& path);
bool IsExistingDirectory(const std::wstring& path);
