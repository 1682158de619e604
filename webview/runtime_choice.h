#pragma once
// Which browser runtime an environment is created with, and the process settings an
// environment creation attempt makes for its user-data folder. Shared by Initialize and
// the early start of its first attempt, which must create exactly the same environment.

#include <windows.h>

#include <string>

namespace WebView {

struct Runtime {
  std::wstring kind = L"Evergreen";
  std::wstring browserFolder;  // empty: the installed runtime
  std::wstring version;
  bool fixed() const { return !browserFolder.empty(); }
};

// Removes the runtime's steering variables, left over from an earlier start or set by
// the user: they would steer the runtime away from the folders chosen here.
void ClearRuntimeVariables();

// A private copy beside the executable wins over the installed runtime.
Runtime ChooseRuntime();

// The folder of the first attempt for `userDataFolder` with `runtime`.
std::wstring FirstAttemptFolder(const std::wstring& userDataFolder, const Runtime& runtime);

// Makes `folder` exist and accept files, and points the runtime at it (and at the
// runtime's own folder for a fixed one). S_OK, or the failure with its stage.
HRESULT PrepareAttempt(const Runtime& runtime, const std::wstring& folder, const wchar_t*& stage);

HRESULT LastSystemError();

}  // namespace WebView
