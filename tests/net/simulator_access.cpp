#include "tests/net/simulator_access.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

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

void SimulatorAccess::SetAnswers(const nlohmann::json& answers) const {
  const std::filesystem::path file = std::filesystem::path(dir_) / "answers.json";
  const std::filesystem::path temporary = std::filesystem::path(dir_) / "answers.json.tmp";
  std::ofstream(temporary, std::ios::binary) << answers.dump();
  std::filesystem::rename(temporary, file);
}

void SimulatorAccess::ClearLog() const {
  std::ofstream(std::filesystem::path(dir_) / "requests.log", std::ios::trunc);
}

std::vector<nlohmann::json> SimulatorAccess::Requests() const {
  std::vector<nlohmann::json> requests;
  std::ifstream log(std::filesystem::path(dir_) / "requests.log", std::ios::binary);
  for (std::string line; std::getline(log, line);) {
    if (!line.empty()) requests.push_back(nlohmann::json::parse(line));
  }
  return requests;
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
