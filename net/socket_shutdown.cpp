#include "net/socket_shutdown.h"

#include <cstdint>
#include <cstring>

namespace {

// Handle values are multiples of four; a process that talks to the platform holds a
// few hundred handles, far below this bound, and a socket WinHTTP has just opened
// sits among them.
constexpr std::uintptr_t kLastHandleValue = 0x40000;

struct Winsock {
  Winsock() { started = WSAStartup(MAKEWORD(2, 2), &data) == 0; }
  ~Winsock() {
    if (started) WSACleanup();
  }
  WSADATA data = {};
  bool started = false;
};

// The same family, port and address; nothing else in the structures matters.
bool SameEnd(const SOCKADDR_STORAGE& a, const SOCKADDR_STORAGE& b) {
  if (a.ss_family != b.ss_family) return false;
  if (a.ss_family == AF_INET) {
    const auto& x = reinterpret_cast<const sockaddr_in&>(a);
    const auto& y = reinterpret_cast<const sockaddr_in&>(b);
    return x.sin_port == y.sin_port && x.sin_addr.s_addr == y.sin_addr.s_addr;
  }
  if (a.ss_family == AF_INET6) {
    const auto& x = reinterpret_cast<const sockaddr_in6&>(a);
    const auto& y = reinterpret_cast<const sockaddr_in6&>(b);
    return x.sin6_port == y.sin6_port &&
           std::memcmp(&x.sin6_addr, &y.sin6_addr, sizeof(x.sin6_addr)) == 0;
  }
  return false;
}

bool HasEnds(SOCKET candidate, const SOCKADDR_STORAGE& local, const SOCKADDR_STORAGE& remote) {
  SOCKADDR_STORAGE end = {};
  int size = sizeof(end);
  if (getsockname(candidate, reinterpret_cast<sockaddr*>(&end), &size) != 0 ||
      !SameEnd(end, local)) {
    return false;
  }
  end = {};
  size = sizeof(end);
  return getpeername(candidate, reinterpret_cast<sockaddr*>(&end), &size) == 0 &&
         SameEnd(end, remote);
}

}  // namespace

bool ShutDownSocketWithEnds(const SOCKADDR_STORAGE& local, const SOCKADDR_STORAGE& remote) {
  const Winsock winsock;
  if (!winsock.started) return false;
  for (std::uintptr_t value = 4; value <= kLastHandleValue; value += 4) {
    DWORD flags = 0;
    // Not a handle of this process: skipped without asking Winsock about it.
    if (!GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) continue;
    const auto candidate = static_cast<SOCKET>(value);
    if (HasEnds(candidate, local, remote)) return shutdown(candidate, SD_BOTH) == 0;
  }
  return false;
}
