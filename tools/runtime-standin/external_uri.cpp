#include "tools/runtime-standin/external_uri.h"

#include <windows.h>

#include <algorithm>
#include <cwctype>

namespace standin {
namespace {

constexpr std::size_t kLongestUri = 32 * 1024;

bool IsAsciiLetter(wchar_t c) { return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z'); }

// The command the user's or the machine's classes register for the scheme as a URL
// protocol, the user's first, as Windows merges them (Wine's HKEY_CLASSES_ROOT holds
// only the machine's).
std::optional<std::wstring> RegisteredCommand(const std::wstring& scheme) {
  for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
    const std::wstring path = L"Software\\Classes\\" + scheme;
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) continue;
    const bool protocol =
        RegQueryValueExW(key, L"URL Protocol", nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    RegCloseKey(key);
    if (!protocol) continue;
    wchar_t command[2048] = {};
    DWORD size = sizeof command - sizeof(wchar_t);
    if (RegGetValueW(root, (path + L"\\shell\\open\\command").c_str(), nullptr, RRF_RT_REG_SZ,
                     nullptr, command, &size) == ERROR_SUCCESS) {
      return std::wstring(command);
    }
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::wstring> ExternalSchemeOf(std::wstring_view uri) {
  if (uri.empty() || uri.size() > kLongestUri) return std::nullopt;
  if (std::any_of(uri.begin(), uri.end(), [](wchar_t c) { return c < 0x20 || c == 0x7F; })) {
    return std::nullopt;
  }
  const std::size_t colon = uri.find(L':');
  if (colon == std::wstring_view::npos || colon < 2 || colon > 32 || !IsAsciiLetter(uri[0])) {
    return std::nullopt;
  }
  std::wstring scheme;
  for (wchar_t c : uri.substr(0, colon)) {
    const bool allowed =
        IsAsciiLetter(c) || (c >= L'0' && c <= L'9') || c == L'+' || c == L'-' || c == L'.';
    if (!allowed) return std::nullopt;
    scheme.push_back(static_cast<wchar_t>(std::towlower(c)));
  }
  for (const wchar_t* loaded : {L"http", L"https", L"about", L"data", L"blob", L"javascript",
                                L"file", L"ftp", L"ws", L"wss", L"chrome", L"view-source"}) {
    if (scheme == loaded) return std::nullopt;
  }
  return scheme;
}

bool LaunchExternalUri(const std::wstring& uri) {
  // A quote would end the argument the command puts the address in.
  if (!ExternalSchemeOf(uri) || uri.find(L'"') != std::wstring::npos) return false;
  const std::optional<std::wstring> command = RegisteredCommand(*ExternalSchemeOf(uri));
  if (!command) return false;
  std::wstring line = *command;
  const std::size_t placeholder = line.find(L"%1");
  if (placeholder == std::wstring::npos) return false;
  line.replace(placeholder, 2, uri);
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process)) {
    return false;
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

}  // namespace standin
