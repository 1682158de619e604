#include "tools/runtime-standin/websocket_frame.h"

#include <utility>

namespace standin::websocket {
namespace {

// Control frames carry at most this much (RFC 6455, 5.5).
constexpr std::size_t kMaxControlPayload = 125;

}  // namespace

std::string EncodeClientFrame(Opcode opcode, std::string_view payload,
                              const std::array<std::uint8_t, 4>& mask) {
  std::string frame;
  frame.reserve(payload.size() + 14);
  frame.push_back(static_cast<char>(0x80 | static_cast<std::uint8_t>(opcode)));
  const std::uint64_t length = payload.size();
  if (length < 126) {
    frame.push_back(static_cast<char>(0x80 | length));
  } else if (length <= 0xFFFF) {
    frame.push_back(static_cast<char>(0x80 | 126));
    frame.push_back(static_cast<char>(length >> 8));
    frame.push_back(static_cast<char>(length & 0xFF));
  } else {
    frame.push_back(static_cast<char>(0x80 | 127));
    for (int shift = 56; shift >= 0; shift -= 8) {
      frame.push_back(static_cast<char>((length >> shift) & 0xFF));
    }
  }
  for (std::uint8_t byte : mask) frame.push_back(static_cast<char>(byte));
  for (std::size_t i = 0; i < payload.size(); ++i) {
    frame.push_back(static_cast<char>(static_cast<std::uint8_t>(payload[i]) ^ mask[i % 4]));
  }
  return frame;
}

int FrameDecoder::Fail(std::string why) {
  if (error_.empty()) error_ = std::move(why);
  buffer_.clear();
  consumed_ = 0;
  message_.clear();
  return -1;
}

bool FrameDecoder::Feed(std::string_view bytes, std::vector<Received>& out) {
  if (!error_.empty()) return false;
  buffer_.append(bytes);
  while (true) {
    const int taken = TakeFrame(out);
    if (taken < 0) return false;
    if (taken == 0) break;
  }
  // Drops parsed bytes now and then rather than after every frame: a large message
  // arriving in small pieces would otherwise be copied over and over.
  if (consumed_ > 0 && (consumed_ == buffer_.size() || consumed_ > 65536)) {
    buffer_.erase(0, consumed_);
    consumed_ = 0;
  }
  return true;
}

int FrameDecoder::TakeFrame(std::vector<Received>& out) {
  const std::string_view rest = std::string_view(buffer_).substr(consumed_);
  if (rest.size() < 2) return 0;
  const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(rest[i]); };
  const bool fin = (byte(0) & 0x80) != 0;
  if ((byte(0) & 0x70) != 0) return Fail("reserved bits set");
  const std::uint8_t opcode = byte(0) & 0x0F;
  if ((byte(1) & 0x80) != 0) return Fail("the server masked a frame");
  std::uint64_t length = byte(1) & 0x7F;
  std::size_t header = 2;
  if (length == 126) {
    if (rest.size() < 4) return 0;
    length = (std::uint64_t{byte(2)} << 8) | byte(3);
    header = 4;
  } else if (length == 127) {
    if (rest.size() < 10) return 0;
    length = 0;
    for (std::size_t i = 2; i < 10; ++i) length = (length << 8) | byte(i);
    header = 10;
    if ((length >> 63) != 0) return Fail("length out of range");
  }

  const bool control = (opcode & 0x8) != 0;
  if (control) {
    if (opcode != 0x8 && opcode != 0x9 && opcode != 0xA) return Fail("unknown opcode");
    if (!fin) return Fail("fragmented control frame");
    if (length > kMaxControlPayload) return Fail("control frame too long");
  } else {
    if (opcode > 0x2) return Fail("unknown opcode");
    if (opcode == 0x0 && !in_message_) return Fail("continuation without a message");
    if (opcode != 0x0 && in_message_) return Fail("new message inside a fragmented one");
    // Checked before waiting for the payload, so a huge announced length is refused at once
    // instead of being buffered.
    if (length > max_message_bytes_ || message_.size() + length > max_message_bytes_) {
      return Fail("message longer than the limit");
    }
  }
  if (rest.size() - header < length) return 0;

  const std::string_view payload = rest.substr(header, static_cast<std::size_t>(length));
  consumed_ += header + static_cast<std::size_t>(length);
  if (control) {
    const Received::Kind kind = opcode == 0x8   ? Received::Kind::kClose
                                : opcode == 0x9 ? Received::Kind::kPing
                                                : Received::Kind::kPong;
    out.push_back({kind, std::string(payload)});
    return 1;
  }
  if (opcode != 0x0) {
    in_message_ = true;
    message_kind_ = opcode == 0x1 ? Received::Kind::kText : Received::Kind::kBinary;
    message_.clear();
  }
  message_.append(payload);
  if (fin) {
    in_message_ = false;
    out.push_back({message_kind_, std::move(message_)});
    message_.clear();
  }
  return 1;
}

}  // namespace standin::websocket
