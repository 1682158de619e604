#pragma once
// What the compiler makes of the declarations in webview/abi, one record per row of
// interfaces.tsv and enums.tsv. abi_checks.cpp, which generate_abi_checks.py writes at
// build time, fills them in; abi_table_test.cpp compares them with the tables.

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

struct DeclaredMethod {
  std::string_view interface_name;
  std::string_view method;
  std::ptrdiff_t slot;  // -1 when the member is not a virtual function of a single base chain
  GUID iid;             // __uuidof the interface
};

struct DeclaredEnumerator {
  std::string_view enum_name;
  std::string_view name;
  std::uint32_t value;  // the 32 bits that cross the interface
  std::size_t enum_size;
};

const std::vector<DeclaredMethod>& DeclaredMethods();
const std::vector<DeclaredEnumerator>& DeclaredEnumerators();

// The virtual-table index that a pointer to a virtual member function stands for. In
// GCC's (Itanium) C++ ABI such a pointer is two words: 1 + the slot's byte offset in the
// table, then the adjustment of `this`, which is 0 when every base is a primary base.
template <class Method>
std::ptrdiff_t VtableSlot(Method method) {
  struct {
    std::uintptr_t function;
    std::ptrdiff_t this_adjustment;
  } raw;
  static_assert(sizeof(Method) == sizeof(raw), "not the Itanium member-function pointer");
  std::memcpy(&raw, &method, sizeof(raw));
  if ((raw.function & 1) == 0 || raw.this_adjustment != 0) return -1;
  return static_cast<std::ptrdiff_t>((raw.function - 1) / sizeof(void*));
}
