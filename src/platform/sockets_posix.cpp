#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>

#include <cstring>

#include "platform/sockets.h"

namespace kavrel {

static_assert(sizeof(sockaddr_storage) <= 128);

ListenAddress ListenAddress::IPv4(std::uint32_t address, std::uint16_t port) {
  ListenAddress where;
  sockaddr_in in{};
  in.sin_family = AF_INET;
  in.sin_port = htons(port);
  in.sin_addr.s_addr = htonl(address);
  std::memcpy(where.storage_, &in, sizeof in);
  return where;
}

ListenAddress ListenAddress::IPv6(const std::uint8_t* address, std::uint16_t port) {
  ListenAddress where;
  sockaddr_in6 in6{};
  in6.sin6_family = AF_INET6;
  in6.sin6_port = htons(port);
  std::memcpy(&in6.sin6_addr, address, sizeof in6.sin6_addr);
  std::memcpy(where.storage_, &in6, sizeof in6);
  return where;
}

void ShutDownSocket(std::intptr_t socket) {
  shutdown(static_cast<int>(socket), SHUT_RDWR);
}

std::vector<bool> SocketsEndedByPeer(const std::vector<std::intptr_t>& sockets) {
  std::vector<bool> gone(sockets.size(), false);
  std::vector<pollfd> fds(sockets.size());
  for (std::size_t i = 0; i < sockets.size(); ++i) {
    fds[i].fd = static_cast<int>(sockets[i]);
    fds[i].events = POLLIN;
  }
  if (fds.empty() || ::poll(fds.data(), fds.size(), 0) <= 0) return gone;
  for (std::size_t i = 0; i < fds.size(); ++i) {
    const short events = fds[i].revents;
    if (events == 0) continue;
    if ((events & (POLLHUP | POLLERR | POLLNVAL)) != 0) {
      gone[i] = true;
    } else {
      // Readable: the far end closed (0), or it sent something, which stays for its reader.
      char byte = 0;
      gone[i] = recv(fds[i].fd, &byte, 1, MSG_PEEK | MSG_DONTWAIT) <= 0;
    }
  }
  return gone;
}

}  // namespace kavrel
