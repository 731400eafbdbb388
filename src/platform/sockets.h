#pragma once

#include <cstdint>
#include <vector>

struct sockaddr;

namespace kavrel {

// The few socket calls the phones' server makes itself (the web server library does the rest), in
// the system's own spelling: BSD sockets here, winsock on Windows (sockets_posix.cpp,
// windows/sockets_windows.cpp). Sockets are passed as the library hands them out.

// An address and port to listen on, laid out as the system's sockaddr_in or sockaddr_in6.
class ListenAddress {
 public:
  static ListenAddress IPv4(std::uint32_t address, std::uint16_t port);
  // `address`: 16 bytes in network order; all zero is "any".
  static ListenAddress IPv6(const std::uint8_t* address, std::uint16_t port);
  const sockaddr* Get() const { return reinterpret_cast<const sockaddr*>(storage_); }

 private:
  ListenAddress() = default;
  alignas(8) unsigned char storage_[128] = {};  // the size of sockaddr_storage on both systems
};

// Shuts a connected socket down both ways without closing it: whoever owns it sees it end.
void ShutDownSocket(std::intptr_t socket);

// Which of `sockets` the far end has closed or reset, looked at without waiting and without reading
// anything off them; one answer per socket, in order. A socket with bytes waiting is not gone.
std::vector<bool> SocketsEndedByPeer(const std::vector<std::intptr_t>& sockets);

}  // namespace kavrel
