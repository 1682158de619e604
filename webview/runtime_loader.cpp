#include "webview/runtime_loader.h"

#include <string>

#include "common/windows_paths.h"

namespace {

constexpr wchar_t kClientLibrary[] = L"\\EBWebView\\x64\\EmbeddedBrowserWebView.dll";
constexpr wchar_t kStableChannelKey[] =
    L"SOFTWARE\\Microsoft\\EdgeUpdate\\ClientState\\{F3017226-FE2A-4295-8BDF-00C3A9A7E4C5}";
const HRESULT kNoRuntime = HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);

using CreateEnvironmentInternal = HRESULT(STDMETHODCALLTYPE*)(
    bool checkRunningInstance, int runtimeType, PCWSTR userDataFolder, IUnknown* options,
    ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler* handler);
using CreateEnvironmentExport =
    HRESULT(STDAPICALLTYPE*)(PCWSTR, PCWSTR, ICoreWebView2EnvironmentOptions*,
                             ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler*);
using VersionExport = HRESULT(STDAPICALLTYPE*)(PCWSTR, LPWSTR*);

struct Runtime {
  std::wstring versionFolder;
  std::wstring version;
  bool fixed = false;
};

std::wstring Environment(const wchar_t* name) {
  wchar_t value[MAX_PATH * 2] = {};
  const DWORD length = GetEnvironmentVariableW(name, value, static_cast<DWORD>(std::size(value)));
  return length > 0 && length < std::size(value) ? value : L"";
}

// The official loader, when the application ships it beside the executable.
HMODULE OfficialLoader() {
  static const HMODULE loader = [] {
    const std::wstring folder = ExecutableFolder();
    if (folder.empty()) return HMODULE{};
    return LoadLibraryExW((folder + L"\\WebView2Loader.dll").c_str(), nullptr,
                          LOAD_WITH_ALTERED_SEARCH_PATH);
  }();
  return loader;
}

// "a.b.c.d" from the file's version resource.
std::wstring FileVersion(const std::wstring& path) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
  if (size == 0) return {};
  std::string data(size, '\0');
  if (!GetFileVersionInfoW(path.c_str(), 0, size, data.data())) return {};
  VS_FIXEDFILEINFO* info = nullptr;
  UINT infoSize = 0;
  if (!VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &infoSize) ||
      info == nullptr || infoSize < sizeof(VS_FIXEDFILEINFO)) {
    return {};
  }
  return std::to_wstring(HIWORD(info->dwFileVersionMS)) + L"." +
         std::to_wstring(LOWORD(info->dwFileVersionMS)) + L"." +
         std::to_wstring(HIWORD(info->dwFileVersionLS)) + L"." +
         std::to_wstring(LOWORD(info->dwFileVersionLS));
}

std::wstring InstalledVersionFolder(HKEY root) {
  wchar_t value[MAX_PATH * 2] = {};
  DWORD size = sizeof(value);
  if (RegGetValueW(root, kStableChannelKey, L"EBWebView", RRF_RT_REG_SZ | RRF_SUBKEY_WOW6432KEY,
                   nullptr, value, &size) != ERROR_SUCCESS) {
    return {};
  }
  return value;
}

// The runtime the arguments and the environment point at, if its library is there.
bool FindRuntime(PCWSTR browserExecutableFolder, Runtime& runtime) {
  std::wstring folder = Environment(L"WEBVIEW2_BROWSER_EXECUTABLE_FOLDER");
  if (folder.empty() && browserExecutableFolder != nullptr) folder = browserExecutableFolder;
  if (!folder.empty()) {
    runtime = {folder, FileVersion(folder + kClientLibrary), true};
    return IsExistingFile(folder + kClientLibrary) && !runtime.version.empty();
  }
  for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
    std::wstring versionFolder = InstalledVersionFolder(root);
    while (!versionFolder.empty() &&
           (versionFolder.back() == L'\\' || versionFolder.back() == L'/')) {
      versionFolder.pop_back();
    }
    if (versionFolder.empty() || !IsExistingFile(versionFolder + kClientLibrary)) continue;
    const std::size_t slash = versionFolder.find_last_of(L"\\/");
    runtime = {versionFolder,
               slash == std::wstring::npos ? versionFolder : versionFolder.substr(slash + 1),
               false};
    return true;
  }
  return false;
}

}  // namespace

HRESULT GetAvailableCoreWebView2BrowserVersionString(PCWSTR browserExecutableFolder,
                                                     LPWSTR* versionInfo) {
  if (versionInfo == nullptr) return E_POINTER;
  *versionInfo = nullptr;
  if (HMODULE loader = OfficialLoader()) {
    if (auto official = reinterpret_cast<VersionExport>(reinterpret_cast<void*>(
            GetProcAddress(loader, "GetAvailableCoreWebView2BrowserVersionString")))) {
      return official(browserExecutableFolder, versionInfo);
    }
  }
  Runtime runtime;
  if (!FindRuntime(browserExecutableFolder, runtime)) return kNoRuntime;
  const std::size_t bytes = (runtime.version.size() + 1) * sizeof(wchar_t);
  *versionInfo = static_cast<LPWSTR>(CoTaskMemAlloc(bytes));
  if (*versionInfo == nullptr) return E_OUTOFMEMORY;
  memcpy(*versionInfo, runtime.version.c_str(), bytes);
  return S_OK;
}

HRESULT CreateCoreWebView2EnvironmentWithOptions(
    PCWSTR browserExecutableFolder, PCWSTR userDataFolder,
    ICoreWebView2EnvironmentOptions* environmentOptions,
    ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler* handler) {
  if (handler == nullptr) return E_POINTER;
  if (HMODULE loader = OfficialLoader()) {
    if (auto official = reinterpret_cast<CreateEnvironmentExport>(reinterpret_cast<void*>(
            GetProcAddress(loader, "CreateCoreWebView2EnvironmentWithOptions")))) {
      return official(browserExecutableFolder, userDataFolder, environmentOptions, handler);
    }
  }
  Runtime runtime;
  if (!FindRuntime(browserExecutableFolder, runtime)) return kNoRuntime;
  // Loaded for the rest of the process: the environment's objects live in it.
  const HMODULE client = LoadLibraryExW((runtime.versionFolder + kClientLibrary).c_str(), nullptr,
                                        LOAD_WITH_ALTERED_SEARCH_PATH);
  if (client == nullptr) return HRESULT_FROM_WIN32(GetLastError());
  auto create = reinterpret_cast<CreateEnvironmentInternal>(reinterpret_cast<void*>(
      GetProcAddress(client, "CreateWebViewEnvironmentWithOptionsInternal")));
  if (create == nullptr) return HRESULT_FROM_WIN32(GetLastError());

  std::wstring folder = Environment(L"WEBVIEW2_USER_DATA_FOLDER");
  if (folder.empty() && userDataFolder != nullptr) folder = userDataFolder;
  return create(true, runtime.fixed ? 1 : 0, folder.empty() ? nullptr : folder.c_str(),
                reinterpret_cast<IUnknown*>(environmentOptions), handler);
}
