#include "tools/quorvel-tool/output.h"

#include <algorithm>
#include <cstdio>

#ifdef _WIN32
#include <windows.h>
// windows.h must come first.
#include <fcntl.h>
#include <io.h>

#include "common/text.h"
#endif

namespace {

bool WriteAll(std::FILE* stream, std::string_view text) {
#ifdef _WIN32
  // A console shows text in its own code page, so there the UTF-16 form is handed
  // over; a pipe or a file gets the UTF-8 bytes unchanged.
  const HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
  DWORD mode = 0;
  if (handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode)) {
    std::fflush(stream);
    const std::u16string wide = Utf8ToUtf16(text);
    std::size_t done = 0;
    while (done < wide.size()) {
      DWORD written = 0;
      const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(wide.size() - done, 16384));
      if (!WriteConsoleW(handle, wide.data() + done, chunk, &written, nullptr) || written == 0) {
        return false;
      }
      done += written;
    }
    return true;
  }
#endif
  return std::fwrite(text.data(), 1, text.size(), stream) == text.size() &&
         std::fflush(stream) == 0;
}

}  // namespace

CommandOutput JsonLine(const nlohmann::ordered_json& object, int exitCode) {
  return Line(object.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace),
              exitCode);
}

void UseBinaryStreams() {
#ifdef _WIN32
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
#endif
}

bool WriteStdout(std::string_view text) { return WriteAll(stdout, text); }

void WriteErrorLine(std::string_view message) {
  std::string line = "quorvel-tool: ";
  for (const char c : message) line.push_back(c == '\n' || c == '\r' ? ' ' : c);
  line.push_back('\n');
  WriteAll(stderr, line);
}
