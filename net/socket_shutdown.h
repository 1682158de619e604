#pragma once
// Stopping a connection this process holds when only its addresses are known.
#include <winsock2.h>
// winsock2.h must come first.
#include <ws2tcpip.h>

// Finds this process's TCP socket whose local and remote ends are these (address and
// port) and shuts it down both ways, so that nothing more is sent or received on it.
// False when no such socket is found.
bool ShutDownSocketWithEnds(const SOCKADDR_STORAGE& local, const SOCKADDR_STORAGE& remote);
