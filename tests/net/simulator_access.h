#pragma once
// The Windows tests' view of a platform simulator that their driver started: where it
// listens, how to choose its answers, and what it received.

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

class SimulatorAccess {
 public:
  // The simulator the driver announced as QUORVEL_SIM_<NAME>_PORT and _DIR.
  explicit SimulatorAccess(const std::string& name);

  bool available() const { return port_ != 0; }
  int port() const { return port_; }
  std::u16string Url(std::u16string_view path, std::u16string_view host = u"localhost") const;

  // Answers keyed "METHOD /path", as the simulator reads them on every request.
  void SetAnswers(const nlohmann::json& answers) const;
  // How new connections go: {"switch_after": N, "keep_alive": bool, "label": x}.
  void SetConnections(const nlohmann::json& settings) const;
  void ClearLog() const;
  // The logged requests, oldest first: method, path, headers ([[name, value]...]), body,
  // connection (its number), switched (whether it presented the switched chain), and
  // form (for a form body: each name with its values, as a form parser reads them).
  std::vector<nlohmann::json> Requests() const;
  // The TLS connections that began under this label and have ended, waiting up to five
  // seconds for `atLeast` of them (each is logged when it ends, and connections of
  // earlier tests may end late): connection, switched, bytes (received after the
  // handshake), handshake, label.
  std::vector<nlohmann::json> Connections(const nlohmann::json& label, std::size_t atLeast) const;

 private:
  std::string dir_;
  int port_ = 0;
  bool plain_ = false;
};

// A value the driver passes in the environment; empty when it is not set.
std::string TestEnvironment(const char* name);

// The value of the first header of that name (any case) in a logged request.
std::string HeaderOf(const nlohmann::json& request, std::string_view name);
