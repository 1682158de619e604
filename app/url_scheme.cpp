#include "app/url_scheme.h"

#include <windows.h>
// windows.h must come first.
#include <shellapi.h>

#include "common/wide_text.h"
#include "common/windows_paths.h"

namespace {

bool CreateKey(HKEY root, const std::wstring& path, HKEY& key) {
  return RegCreateKeyExW(root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE,
                         nullptr, &key, nullptr) == ERROR_SUCCESS;
}

void SetText(HKEY key, const wchar_t* name, const std::wstring& value) {
  RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                 static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

// Writes the default value of a key under the current user; failures are skipped.
void SetUserDefault(const std::wstring& path, const std::wstring& value) {
  HKEY key = nullptr;
  if (!CreateKey(HKEY_CURRENT_USER, path, key)) return;
  SetText(key, nullptr, value);
  RegCloseKey(key);
}

}  // namespace

std::wstring GetExecutablePath() { return ExecutablePath(); }

bool RegisterUrlScheme(const std::wstring& schemeName, const std::wstring& description,
                       const std::wstring& executablePath) {
  // Without the whole path the command would start nothing, or something else: the
  // registration of an earlier start stays as it is.
  if (executablePath.empty()) return false;
  const std::wstring schemeKey = L"Software\\Classes\\" + schemeName;
  HKEY key = nullptr;
  if (!CreateKey(HKEY_CURRENT_USER, schemeKey, key) &&
      !CreateKey(HKEY_LOCAL_MACHINE, schemeKey, key)) {
    return false;
  }
  SetText(key, nullptr, description);
  SetText(key, L"URL Protocol", L"");
  RegCloseKey(key);
  SetUserDefault(schemeKey + L"\\DefaultIcon", executablePath + L",1");
  SetUserDefault(schemeKey + L"\\shell\\open\\command", L"\"" + executablePath + L"\" \"%1\"");
  return true;
}

SelectedLink SelectLinkFromCommandLine(const wchar_t* rawCommandLine,
                                       const std::wstring& schemeName) {
  int count = 0;
  LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  std::optional<std::u16string> first;
  if (arguments != nullptr && count > 1) first = FromWide(arguments[1]);
  if (arguments != nullptr) LocalFree(arguments);
  return SelectLink(first, FromWide(rawCommandLine != nullptr ? rawCommandLine : L""),
                    FromWide(schemeName));
}
