// SPDX-License-Identifier: GPL-3.0-or-later
#include <chrono>
#include <cstring>

#include "core/diagnosis/WindowsReaders.h"
#include "net/SocketLayer.h"
#include "protocol/Message.h"

namespace tb::diagnosis::windows_checks {

namespace {

using Clock = std::chrono::steady_clock;

// Closes the query's socket however the query ends.
struct Socket {
  socketlayer::Handle handle = socketlayer::InvalidHandle;
  Socket() = default;
  Socket(const Socket&) = delete;
  Socket& operator=(const Socket&) = delete;
  ~Socket() { socketlayer::Close(handle); }
};

}  // namespace

// Out of a socket bound where the endpoint binds, on the adapter's address
// and port 998, so the devices answer as they answer the program.
std::optional<std::vector<HeardAnswer>> QueryOutOf(std::uint32_t localAddress,
                                                   std::uint32_t directed, int windowMs) {
  Socket socket;
  int error = 0;
  socket.handle = socketlayer::OpenDatagram(error);
  if (socket.handle == socketlayer::InvalidHandle ||
      socketlayer::Bind(socket.handle, localAddress, CommandPort) != 0) {
    return std::nullopt;
  }
  socketlayer::SetBroadcast(socket.handle, true);
  const std::size_t size = std::strlen(QueryCommand);
  std::size_t sent = 0;
  socketlayer::SendTo(socket.handle, QueryCommand, size, directed, CommandPort, sent);
  socketlayer::SendTo(socket.handle, QueryCommand, size, LimitedBroadcast, CommandPort, sent);
  std::vector<HeardAnswer> answers;
  std::vector<char> buffer(65536);
  const Clock::time_point until = Clock::now() + std::chrono::milliseconds(windowMs);
  // Waits first: a receive on this socket would block.
  for (;;) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now()).count();
    if (left <= 0) {
      return answers;
    }
    std::vector<socketlayer::Handle> readable;
    bool woken = false;
    socketlayer::Wait({socket.handle}, nullptr, static_cast<int>(left), readable, woken);
    std::vector<socketlayer::Datagram> got;
    socketlayer::ReceiveWaiting(socket.handle, buffer.data(), buffer.size(), 1, got);
    for (const socketlayer::Datagram& datagram : got) {
      const AnsiString text(buffer.data(), datagram.size);
      if (!datagram.truncated && GetCommandName(text) == "NTM") {
        answers.push_back(HeardAnswerFrom(text, localAddress));
      }
    }
  }
}

}  // namespace tb::diagnosis::windows_checks
