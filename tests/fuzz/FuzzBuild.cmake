# The fuzz build: only the Qt-free layers (platform, core, solver) and the libFuzzer targets
# of tests/fuzz, compiled by clang with coverage for the fuzzer and with AddressSanitizer and
# UndefinedBehaviorSanitizer, so that every target finds faults in the code it drives.
if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  message(FATAL_ERROR "RV7_FUZZ needs clang: configure with -DCMAKE_CXX_COMPILER=clang++ "
                      "-DCMAKE_C_COMPILER=clang")
endif()
add_compile_options(-O1 -fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
                    -fno-sanitize-recover=all)
add_link_options(-fsanitize=address,undefined)

enable_testing()
add_subdirectory(platform)
add_subdirectory(core)
add_subdirectory(solver)
add_subdirectory(tests/fuzz)
