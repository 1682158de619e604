#include "common/windows_paths.h"

#include <windows.h>

namespace {

// The longest path the system's wide functions take.
constexpr DWORD kLongestPath = 32768;

}  // namespace

std::wstring ExecutablePath() {
  // A path longer than MAX_PATH is cut to fit the buffer, so the buffer grows until
  // the whole path and its terminator fit.
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD capacity = static_cast<DWORD>(path.size());
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), capacity);
    if (length == 0) return {};
    if (length < capacity) {
      path.resize(length);
      return path;
    }
    if (capacity >= kLongestPath) return {};
    path.resize(capacity * 2);
  }
}

std::wstring ExecutableFolder() {
  std::wstring folder = ExecutablePath();
  const std::size_t slash = folder.find_last_of(L"\\/");
  if (slash != std::wstring::npos) folder.resize(slash);
  return folder;
}

bool IsExistingFile(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsExistingDirectory(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}
