#include "tests/net/simulator_access.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "common/text.h"

std::string TestEnvironment(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string() : value;
}

SimulatorAccess::SimulatorAccess(const std::string& name) {
  dir_ = TestEnvironment(("QUORVEL_SIM_" + name + "_DIR").c_str());
  const std::string port = TestEnvironment(("QUORVEL_SIM_" + name + "_PORT").c_str());
  port_ = port.empty() ? 0 : std::stoi(port);
  plain_ = !TestEnvironment(("QUORVEL_SIM_" + name + "_PLAIN").c_str()).empty();
}

std::u16string SimulatorAccess::Url(std::u16string_view path, std::u16string_view host) const {
  return (plain_ ? u"http://" : u"https://") + std::u16string(host) + u":" +
         AsciiToUtf16(std::to_string(port_)) + std::u16string(path);
}

namespace {

void WriteReplacing(const std::filesystem::path& file, const nlohmann::json& content) {
  std::filesystem::path temporary = file;
  temporary += ".tmp";
  std::ofstream(temporary, std::ios::binary) << content.dump();
  std::filesystem::rename(temporary, file);
}

std::vector<nlohmann::json> ReadLines(const std::filesystem::path& file) {
  std::vector<nlohmann::json> lines;
  std::ifstream log(file, std::ios::binary);
  for (std::string line; std::getline(log, line);) {
    if (!line.empty()) lines.push_back(nlohmann::json::parse(line));
  }
  return lines;
}

}  // namespace

void SimulatorAccess::SetAnswers(const nlohmann::json& answers) const {
  WriteReplacing(std::filesystem::path(dir_) / "answers.json", answers);
}

void SimulatorAccess::SetConnections(const nlohmann::json& settings) const {
  WriteReplacing(std::filesystem::path(dir_) / "connections.json", settings);
}

void SimulatorAccess::ClearLog() const {
  std::ofstream(std::filesystem::path(dir_) / "requests.log", std::ios::trunc);
  std::ofstream(std::filesystem::path(dir_) / "connections.log", std::ios::trunc);
}

std::vector<nlohmann::json> SimulatorAccess::Requests() const {
  return ReadLines(std::filesystem::path(dir_) / "requests.log");
}

std::vector<nlohmann::json> SimulatorAccess::Connections(const nlohmann::json& label,
                                                         std::size_t atLeast) const {
  std::vector<nlohmann::json> connections;
  for (int wait = 0; wait < 100; ++wait) {
    connections.clear();
    for (nlohmann::json& line : ReadLines(std::filesystem::path(dir_) / "connections.log")) {
      if (line["label"] == label) connections.push_back(std::move(line));
    }
    if (connections.size() >= atLeast) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return connections;
}

std::string HeaderOf(const nlohmann::json& request, std::string_view name) {
  const std::u16string wanted = AsciiLower(AsciiToUtf16(std::string(name)));
  for (const auto& header : request["headers"]) {
    if (AsciiLower(AsciiToUtf16(header[0].get<std::string>())) == wanted) {
      return header[1].get<std::string>();
    }
  }
  return {};
}
