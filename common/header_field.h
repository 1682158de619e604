#pragma once
// One request header, as the player sets it on a request.

#include <string>

struct HeaderField {
  std::u16string name;
  std::u16string value;

  bool operator==(const HeaderField&) const = default;
};
