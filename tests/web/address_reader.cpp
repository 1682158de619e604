// Reads one JSON string per line on standard input (an address, escapes allowed so
// tabs and line breaks survive) and prints, per line, what the player's address
// reader makes of it: {"host":...,"port":...,"userInfo":...}, or null when refused.
#include <iostream>
#include <nlohmann/json.hpp>
#include <string>

#include "common/text.h"
#include "common/web_address.h"

int main() {
  std::string line;
  while (std::getline(std::cin, line)) {
    const std::string address = nlohmann::json::parse(line).get<std::string>();
    const std::optional<WebAddress> read = ReadWebAddress(Utf8ToUtf16(address));
    nlohmann::json result = nullptr;
    if (read) {
      result = {
          {"host", Utf16ToUtf8(read->host)}, {"port", read->port}, {"userInfo", read->hasUserInfo}};
    }
    std::cout << result.dump() << '\n';
  }
  return 0;
}
