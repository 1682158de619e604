#include "webview/runtime_choice.h"

#include "common/wide_text.h"
#include "common/windows_paths.h"
#include "webview/com_helpers.h"
#include "webview/init_report.h"
#include "webview/runtime_loader.h"

namespace WebView {
namespace {

constexpr const wchar_t* kRuntimeVariables[] = {
    L"WEBVIEW2_BROWSER_EXECUTABLE_FOLDER",    L"WEBVIEW2_USER_DATA_FOLDER",
    L"WEBVIEW2_ADDITIONAL_BROWSER_ARGUMENTS", L"WEBVIEW2_RELEASE_CHANNEL_PREFERENCE",
    L"WEBVIEW2_CHANNEL_SEARCH_KIND",          L"WEBVIEW2_RELEASE_CHANNELS",
};

// The runtime's version text for `folder` (the installed runtime for null).
bool QueryVersion(const wchar_t* folder, std::wstring& version) {
  CoTaskString text;
  if (FAILED(GetAvailableCoreWebView2BrowserVersionString(folder, text.Receive()))) return false;
  version = text.View();
  return true;
}

// The folder exists and accepts files; the probe file vanishes with its handle.
HRESULT PrepareFolder(const std::wstring& folder, const wchar_t*& stage) {
  if (!CreateDirectoryW(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
    stage = L"CreateUserDataFolder";
    return LastSystemError();
  }
  const HANDLE probe =
      CreateFileW((folder + L"\\.lumora_write_test").c_str(), GENERIC_WRITE,
                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, CREATE_ALWAYS,
                  FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (probe == INVALID_HANDLE_VALUE) {
    stage = L"UserDataFolderWriteTest";
    return LastSystemError();
  }
  CloseHandle(probe);
  return S_OK;
}

}  // namespace

HRESULT LastSystemError() { return FromSystemError(GetLastError()); }

void ClearRuntimeVariables() {
  for (const wchar_t* name : kRuntimeVariables) {
    if (GetEnvironmentVariableW(name, nullptr, 0) > 0) SetEnvironmentVariableW(name, nullptr);
  }
}

Runtime ChooseRuntime() {
  Runtime runtime;
  const std::wstring executableFolder = ExecutableFolder();
  if (!executableFolder.empty()) {
    const std::wstring folder = executableFolder + L"\\WebView2Runtime";
    std::wstring version;
    if (IsExistingDirectory(folder) && IsExistingFile(folder + L"\\msedgewebview2.exe") &&
        QueryVersion(folder.c_str(), version) && !version.empty()) {
      return {L"Fixed", folder, version};
    }
  }
  QueryVersion(nullptr, runtime.version);
  return runtime;
}

std::wstring FirstAttemptFolder(const std::wstring& userDataFolder, const Runtime& runtime) {
  return ToWide(BaseUserDataFolder(FromWide(userDataFolder), runtime.fixed()));
}

HRESULT PrepareAttempt(const Runtime& runtime, const std::wstring& folder, const wchar_t*& stage) {
  HRESULT result = PrepareFolder(folder, stage);
  if (SUCCEEDED(result) && !SetEnvironmentVariableW(L"WEBVIEW2_USER_DATA_FOLDER", folder.c_str())) {
    stage = L"SetUserDataFolderOverride";
    result = LastSystemError();
  }
  if (SUCCEEDED(result) && runtime.fixed() &&
      !SetEnvironmentVariableW(L"WEBVIEW2_BROWSER_EXECUTABLE_FOLDER",
                               runtime.browserFolder.c_str())) {
    stage = L"SetBrowserFolderOverride";
    result = LastSystemError();
  }
  return result;
}

}  // namespace WebView
