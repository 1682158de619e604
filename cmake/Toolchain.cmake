# Compiler settings shared by every target of ours (not by third-party code).

# Test names carry the build they belong to, since one CTest run covers both trees.
if(WIN32)
  set(QUORVEL_BUILD_NAME windows)
else()
  set(QUORVEL_BUILD_NAME native)
endif()

if(WIN32)
  # One self-contained executable per program: no mingw runtime DLLs beside it.
  add_link_options(-static -static-libgcc -static-libstdc++ $<$<CONFIG:Release>:-s>)
  # Optimised for size: the player spends its time waiting for the network and the
  # browser, not computing. Measured on quorvel.exe: -Os 1.17 -> 0.77 MiB; section
  # garbage collection saved 1.5 KiB more and link-time optimisation makes GCC 12 fail
  # with -Os (and is larger than -Os with -O3), so neither is used.
  add_compile_options($<$<CONFIG:Release>:-Os>)
  add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0A00)

  # Windows test programs run under Wine with a prefix of their own in the build
  # folder, so tests never share registry state with anything else on the machine.
  set(QUORVEL_WINEPREFIX "${CMAKE_BINARY_DIR}/wineprefix")
  configure_file(${CMAKE_SOURCE_DIR}/cmake/wine-run.in ${CMAKE_BINARY_DIR}/wine-run
                 FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
                                  GROUP_EXECUTE WORLD_READ WORLD_EXECUTE @ONLY)
  set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_BINARY_DIR}/wine-run")
  # Windows, even hidden message-only ones, need Wine's display driver: without an X
  # display Wine creates them through a fallback that now and then refuses them, and a
  # test program that makes windows fails at random. Such tests run on a virtual screen.
  set(QUORVEL_ON_VIRTUAL_DISPLAY xvfb-run -a -s "-screen 0 1280x1024x24")
else()
  # The native build exists for the sanitizers and the fuzzers: everything in it,
  # third-party code included, is built instrumented so reports are complete.
  set(QUORVEL_SANITIZERS -fsanitize=address,undefined -fno-sanitize-recover=all
                         -fno-omit-frame-pointer)
  add_compile_options(${QUORVEL_SANITIZERS})
  add_link_options(${QUORVEL_SANITIZERS})
  if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    set(QUORVEL_FUZZING ON)
    # Coverage feedback for libFuzzer in all of our code, not just the harnesses.
    add_compile_options(-fsanitize=fuzzer-no-link)
  endif()
endif()

function(quorvel_target_defaults target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Werror)
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    # GCC 12 reports impossible overlaps inside std::string concatenation at -O3
    # (its bug 105651); the warning says nothing about our code there.
    target_compile_options(${target} PRIVATE -Wno-restrict)
  endif()
  target_include_directories(${target} PUBLIC ${CMAKE_SOURCE_DIR})
endfunction()
