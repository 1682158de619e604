// The stand-in's WebSocket client: the frame codec on its own (what a server sends is
// untrusted), and the client against a fake server that turns hostile mid-stream.

#include "tools/runtime-standin/websocket.h"

#include <gtest/gtest.h>
#include <winsock2.h>

#include <string>
#include <thread>
#include <vector>

#include "tests/runtime_standin/standin_fixture.h"
#include "tools/runtime-standin/websocket_frame.h"

namespace {

using standin::websocket::FrameDecoder;
using standin::websocket::Opcode;
using standin::websocket::Received;

// An unmasked server frame.
std::string ServerFrame(int first_byte, std::string_view payload) {
  std::string frame(1, static_cast<char>(first_byte));
  if (payload.size() < 126) {
    frame.push_back(static_cast<char>(payload.size()));
  } else if (payload.size() <= 0xFFFF) {
    frame.push_back(126);
    frame.push_back(static_cast<char>(payload.size() >> 8));
    frame.push_back(static_cast<char>(payload.size() & 0xFF));
  } else {
    frame.push_back(127);
    for (int shift = 56; shift >= 0; shift -= 8) {
      frame.push_back(
          static_cast<char>((static_cast<std::uint64_t>(payload.size()) >> shift) & 0xFF));
    }
  }
  return frame + std::string(payload);
}

TEST(WebSocketFrames, MessagesSurviveFragmentsInterleavedPingsAndTinyReads) {
  const std::string big(200000, 'x');  // a 64-bit length, like a screencast frame
  const std::string stream = ServerFrame(0x01, "he") + ServerFrame(0x89, "p") +
                             ServerFrame(0x80, "llo") + ServerFrame(0x81, big) +
                             ServerFrame(0x81, std::string(300, 'y'));
  FrameDecoder decoder(1 << 20);
  std::vector<Received> received;
  for (char byte : stream) ASSERT_TRUE(decoder.Feed(std::string_view(&byte, 1), received));
  ASSERT_EQ(received.size(), 4u);
  EXPECT_EQ(received[0].kind, Received::Kind::kPing);
  EXPECT_EQ(received[1].payload, "hello");
  EXPECT_EQ(received[2].payload, big);
  EXPECT_EQ(received[3].payload.size(), 300u);
}

TEST(WebSocketFrames, WhatNoServerMaySendMakesTheStreamMalformedForGood) {
  const std::vector<std::string> hostile = {
      std::string("\x81\x81mask", 6) + "x",             // masked by the server
      ServerFrame(0xC1, "rsv"),                         // reserved bit
      ServerFrame(0x83, "op"),                          // unknown data opcode
      ServerFrame(0x09, "p"),                           // fragmented ping
      ServerFrame(0x89, std::string(126, 'p')),         // control frame too long
      ServerFrame(0x80, "lone"),                        // continuation without a message
      ServerFrame(0x01, "a") + ServerFrame(0x81, "b"),  // a message inside a message
      std::string("\x81\x7F\x80\0\0\0\0\0\0\0", 10),    // length with the top bit set
      std::string("\x81\x7F\0\0\0\x01\0\0\0\0", 10),    // 4 GiB announced: refused at once
  };
  for (const std::string& bytes : hostile) {
    FrameDecoder decoder(1 << 20);
    std::vector<Received> received;
    EXPECT_FALSE(decoder.Feed(bytes, received)) << testing::PrintToString(bytes);
    EXPECT_FALSE(decoder.error().empty());
    EXPECT_FALSE(decoder.Feed(ServerFrame(0x81, "later"), received)) << "recovered";
    EXPECT_TRUE(received.empty());
  }
}

TEST(WebSocketFrames, ClientFramesAreMaskedWithTheirLength) {
  const std::string payload(70000, 'z');
  const std::string frame =
      standin::websocket::EncodeClientFrame(Opcode::kText, payload, {0x01, 0x02, 0x03, 0x04});
  ASSERT_EQ(frame.size(), 2u + 8u + 4u + payload.size());
  EXPECT_EQ(static_cast<unsigned char>(frame[0]), 0x81);
  EXPECT_EQ(static_cast<unsigned char>(frame[1]), 0x80 | 127);
  for (std::size_t i = 0; i < payload.size(); ++i) {
    ASSERT_EQ(static_cast<char>(frame[14 + i] ^ (1 + i % 4)), 'z');
  }
}

// A server that upgrades, sends one good message, then a masked frame.
TEST(WebSocketClient, AHostileServerEndsTheConnectionCleanly) {
  ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
  // Made before the server thread exists, so a failure here leaves nothing running.
  const auto dispatcher = standin::Dispatcher::ForCurrentThread();
  ASSERT_NE(dispatcher, nullptr) << "no dispatcher window, error " << GetLastError();
  WSADATA data;
  WSAStartup(MAKEWORD(2, 2), &data);
  SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address = {};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof(address));
  listen(listener, 1);
  int length = sizeof(address);
  getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
  std::string client_sent;
  std::thread server([&] {
    SOCKET client = accept(listener, nullptr, nullptr);
    char chunk[4096];
    std::string request;
    while (request.find("\r\n\r\n") == std::string::npos) {
      const int got = recv(client, chunk, sizeof(chunk), 0);
      if (got <= 0) break;
      request.append(chunk, got);
    }
    const std::string answer =
        "HTTP/1.1 101 Switching Protocols\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n\r\n" +
        ServerFrame(0x81, "{\"hello\":1}") + std::string("\x81\x85mask", 6) + "xxxxx";
    send(client, answer.data(), static_cast<int>(answer.size()), 0);
    while (true) {
      const int got = recv(client, chunk, sizeof(chunk), 0);
      if (got <= 0) break;
      client_sent.append(chunk, got);
    }
    closesocket(client);
  });

  std::string error;
  auto socket = standin::WebSocket::Connect("127.0.0.1", ntohs(address.sin_port), "/x", error);
  ASSERT_NE(socket, nullptr) << error;
  std::vector<std::string> messages;
  std::string why;
  socket->Start(
      dispatcher,
      [&](std::string message) { messages.push_back(std::move(message)); },
      [&](const std::string& reason) { why = reason; });
  EXPECT_TRUE(PumpUntil([&] { return !why.empty(); }));
  EXPECT_EQ(messages, std::vector<std::string>{"{\"hello\":1}"});
  EXPECT_NE(why.find("malformed"), std::string::npos) << why;
  EXPECT_FALSE(socket->SendText("after the end"));
  socket.reset();
  server.join();
  // The client said why it left: a close frame with 1002, protocol error.
  ASSERT_GE(client_sent.size(), 8u);
  EXPECT_EQ(static_cast<unsigned char>(client_sent[0]), 0x88);
  const char* mask = client_sent.data() + 2;
  EXPECT_EQ(static_cast<unsigned char>(client_sent[6] ^ mask[0]), 0x03);
  EXPECT_EQ(static_cast<unsigned char>(client_sent[7] ^ mask[1]), 0xEA);
  closesocket(listener);
  WSACleanup();
  CoUninitialize();
}

}  // namespace
