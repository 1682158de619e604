#pragma once
// The WebSocket wire format (RFC 6455) as a client sees it: frames it sends are masked,
// frames it receives are not. Portable and free of I/O, so the parser of what the server
// sends (untrusted bytes) is tested natively under the sanitizers.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace standin::websocket {

enum class Opcode : std::uint8_t {
  kContinuation = 0x0,
  kText = 0x1,
  kBinary = 0x2,
  kClose = 0x8,
  kPing = 0x9,
  kPong = 0xA,
};

// One whole frame with FIN set, its payload masked with `mask`.
std::string EncodeClientFrame(Opcode opcode, std::string_view payload,
                              const std::array<std::uint8_t, 4>& mask);

// What the server said, once a whole message or control frame has arrived.
struct Received {
  enum class Kind { kText, kBinary, kPing, kPong, kClose };
  Kind kind;
  std::string payload;  // a whole message: fragments are joined
};

// Turns the server's byte stream into messages. Anything the protocol forbids a server to
// send (masked frames, reserved bits, unknown opcodes, fragmented or long control frames,
// a continuation without a message, a message longer than the limit) makes the stream
// malformed; it stays so, and the connection must be closed.
class FrameDecoder {
 public:
  explicit FrameDecoder(std::size_t max_message_bytes) : max_message_bytes_(max_message_bytes) {}

  // Appends what was received and moves every complete message to `out`; false once the
  // stream is malformed (error() says why).
  bool Feed(std::string_view bytes, std::vector<Received>& out);
  const std::string& error() const { return error_; }

 private:
  // Marks the stream malformed; -1, TakeFrame's answer for that.
  int Fail(std::string why);
  // One frame from the front of buffer_: 1 taken, 0 needs more bytes, -1 malformed.
  int TakeFrame(std::vector<Received>& out);

  const std::size_t max_message_bytes_;
  std::string buffer_;
  std::size_t consumed_ = 0;  // bytes at the front of buffer_ already parsed
  bool in_message_ = false;   // a fragmented data message is being collected
  Received::Kind message_kind_ = Received::Kind::kText;
  std::string message_;
  std::string error_;
};

}  // namespace standin::websocket
