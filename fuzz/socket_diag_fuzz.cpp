// What the kernel answers about a client's socket: an owner is read only
// from an answer that names exactly the socket asked for, and the request
// asked for it is what the reader recognises.
#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>
#include <vector>

#include "helper/socket_diag.h"
#include "property.h"

namespace {

using taviro::fuzz::Check;
using taviro::helper::ClientSocket;

constexpr std::size_t kSocketBytes = 12;
constexpr std::uint32_t kSequence = 7;

// The kernel's answer for the socket of `request`: its socket id, a live
// inode and `uid`.
std::vector<std::uint8_t> AnswerFor(const std::vector<std::uint8_t>& request, std::uint8_t family,
                                    std::uint32_t uid) {
  std::vector<std::uint8_t> answer(16 + 72, 0);
  const auto length = static_cast<std::uint32_t>(answer.size());
  std::memcpy(answer.data(), &length, 4);
  std::memcpy(answer.data() + 4, request.data() + 4, 2);
  std::memcpy(answer.data() + 8, &kSequence, 4);
  answer[16] = family;
  std::memcpy(answer.data() + 16 + 4, request.data() + 16 + 8, 48);
  std::memcpy(answer.data() + 16 + 64, &uid, 4);
  const std::uint32_t inode = 1;
  std::memcpy(answer.data() + 16 + 68, &inode, 4);
  return answer;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < kSocketBytes) return 0;
  ClientSocket socket;
  std::memcpy(socket.client_address.data(), data, 4);
  std::memcpy(socket.server_address.data(), data + 4, 4);
  socket.client_port = static_cast<std::uint16_t>(data[8] << 8 | data[9]);
  socket.server_port = static_cast<std::uint16_t>(data[10] << 8 | data[11]);
  const std::span<const std::uint8_t> reply(data + kSocketBytes, size - kSocketBytes);
  const std::string_view seen(reinterpret_cast<const char*>(data), size);

  if (const auto owner = taviro::helper::SocketOwnerFromReply(reply, socket, kSequence)) {
    // The owner stands in an answer of that sequence, at the uid's place.
    bool found = false;
    for (std::size_t at = 0; at + 16 + 72 <= reply.size() && !found; at += 4) {
      std::uint32_t uid = 0;
      std::memcpy(&uid, reply.data() + at + 16 + 64, 4);
      found = uid == *owner;
    }
    Check(found, "an owner is a number read from an answer", seen);
  }
  for (const std::uint8_t family : {taviro::helper::kFamilyInet, taviro::helper::kFamilyInet6}) {
    const std::vector<std::uint8_t> request = taviro::helper::SocketLookupRequest(socket, family, kSequence);
    Check(request.size() == 72, "a request is one header and one lookup", seen);
    const std::uint32_t uid = static_cast<std::uint32_t>(size) * 2654435761U;
    Check(taviro::helper::SocketOwnerFromReply(AnswerFor(request, family, uid), socket, kSequence) == uid,
          "the answer for the socket asked for names its owner", seen);
    Check(!taviro::helper::SocketOwnerFromReply(AnswerFor(request, family, uid), socket, kSequence + 1),
          "an answer to another request names nobody", seen);
  }
  return 0;
}
