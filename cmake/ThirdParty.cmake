# nlohmann JSON and GoogleTest, both from Debian's packages.

# The cross compiler must not see the host's /usr/include, so the JSON headers are
# copied into the build tree and only that copy is put on the include path.
set(QUORVEL_THIRD_PARTY_INCLUDE "${CMAKE_BINARY_DIR}/third_party/include")
if(NOT EXISTS /usr/include/nlohmann/json.hpp)
  message(FATAL_ERROR "nlohmann JSON not found: install nlohmann-json3-dev")
endif()
file(COPY /usr/include/nlohmann DESTINATION ${QUORVEL_THIRD_PARTY_INCLUDE})
add_library(nlohmann_json INTERFACE)
target_include_directories(nlohmann_json SYSTEM INTERFACE ${QUORVEL_THIRD_PARTY_INCLUDE})

# GoogleTest is built from Debian's sources with whichever compiler this tree uses.
set(QUORVEL_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(${QUORVEL_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

if(NOT WIN32)
  find_package(OpenSSL 3 REQUIRED COMPONENTS Crypto)
endif()
