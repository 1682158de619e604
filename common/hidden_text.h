#pragma once
// Fixed texts that should not stand readable in the executable (platform addresses,
// header names, key material). The compiler stores each one XOR-masked with a key
// stream drawn from a per-use seed; Reveal() rebuilds it at run time. This keeps the
// values away from a casual look at the file's strings, nothing more.
//
//   static constexpr auto kPath = QUORVEL_HIDDEN("/api/v1/content");
//   std::string path = kPath.Reveal();

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

template <std::size_t N>  // N counts the literal's terminating zero
class HiddenText {
 public:
  consteval HiddenText(const char (&text)[N], std::uint32_t seed) : seed_(seed) {
    for (std::size_t i = 0; i + 1 < N; ++i) {
      masked_[i] = static_cast<std::uint8_t>(static_cast<std::uint8_t>(text[i]) ^ KeyByte(seed, i));
    }
  }

  static constexpr std::size_t size() { return N - 1; }

  std::string Reveal() const {
    std::string text(N - 1, '\0');
    RevealInto(std::span<char>(text.data(), text.size()));
    return text;
  }

  // Writes the plain bytes into `out` (exactly size() bytes), for callers that must
  // wipe them after use.
  void RevealInto(std::span<char> out) const {
    // Volatile reads keep the optimiser from folding the plain text back into the
    // program's data.
    const volatile std::uint8_t* masked = masked_.data();
    for (std::size_t i = 0; i + 1 < N && i < out.size(); ++i) {
      out[i] = static_cast<char>(masked[i] ^ KeyByte(seed_, i));
    }
  }

 private:
  static constexpr std::uint8_t KeyByte(std::uint32_t seed, std::size_t index) {
    std::uint32_t x = seed ^ (static_cast<std::uint32_t>(index) * 0x9E3779B9u);
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    return static_cast<std::uint8_t>(x >> 24);
  }

  std::array<std::uint8_t, N - 1> masked_{};
  std::uint32_t seed_;
};

#define QUORVEL_HIDDEN(text) \
  (HiddenText<sizeof(text)>(text, 0x2545F491u * (__LINE__ + 1u) ^ (__COUNTER__ * 0x6C8E9CF5u)))
