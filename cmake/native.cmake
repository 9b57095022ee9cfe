# Native (Linux) build of the portable core: unit tests, sanitizers, fuzzing, benchmarks.
option(TAVLO_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(TAVLO_FUZZ "Build the libFuzzer targets (needs clang)" OFF)
option(TAVLO_BENCH "Build the benchmarks" ON)

add_compile_options(-Wall -Wextra)
# The program sees every "..." literal as Shift-JIS, so the core and its tests do too.
# clang knows no execution character set but UTF-8: it compiles copies whose literals are
# written as Shift-JIS escapes instead.
set(CORE_INCLUDE ${CMAKE_SOURCE_DIR})
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  add_compile_options(-finput-charset=UTF-8 -fexec-charset=CP932)
  macro(shift_jis_sources var)
  endmacro()
else()
  find_program(PYTHON3 python3 HINTS /usr/bin REQUIRED)
  set(CORE_INCLUDE ${CMAKE_BINARY_DIR}/sjis)
  file(GLOB_RECURSE SJIS_FILES CONFIGURE_DEPENDS RELATIVE ${CMAKE_SOURCE_DIR}
    ${CMAKE_SOURCE_DIR}/app/*.h ${CMAKE_SOURCE_DIR}/app/*.cpp
    ${CMAKE_SOURCE_DIR}/speech/*.h ${CMAKE_SOURCE_DIR}/speech/*.cpp
    ${CMAKE_SOURCE_DIR}/retrieval/*.h ${CMAKE_SOURCE_DIR}/retrieval/*.cpp
    ${CMAKE_SOURCE_DIR}/library/*.h ${CMAKE_SOURCE_DIR}/library/*.cpp
    ${CMAKE_SOURCE_DIR}/recording/*.h ${CMAKE_SOURCE_DIR}/recording/*.cpp
    ${CMAKE_SOURCE_DIR}/tbspeech/*.h ${CMAKE_SOURCE_DIR}/tbspeech/*.cpp
    ${CMAKE_SOURCE_DIR}/tbaudio/*.h ${CMAKE_SOURCE_DIR}/tbaudio/*.cpp
    ${CMAKE_SOURCE_DIR}/win/*.h ${CMAKE_SOURCE_DIR}/win/*.cpp
    ${CMAKE_SOURCE_DIR}/tests/*.h ${CMAKE_SOURCE_DIR}/tests/*.cpp)
  set(SJIS_COPIES ${SJIS_FILES})
  list(TRANSFORM SJIS_COPIES PREPEND ${CORE_INCLUDE}/)
  set(SJIS_SOURCES ${SJIS_FILES})
  list(TRANSFORM SJIS_SOURCES PREPEND ${CMAKE_SOURCE_DIR}/)
  # One run copies them all: quicker than a run for each file.
  add_custom_command(OUTPUT ${SJIS_COPIES}
    COMMAND ${PYTHON3} ${CMAKE_SOURCE_DIR}/scripts/cp932-literals.py ${CMAKE_SOURCE_DIR} ${CORE_INCLUDE} ${SJIS_FILES}
    DEPENDS ${SJIS_SOURCES} ${CMAKE_SOURCE_DIR}/scripts/cp932-literals.py)
  add_custom_target(sjis_copies DEPENDS ${SJIS_COPIES})
  macro(shift_jis_sources var)
    list(TRANSFORM ${var} REPLACE "^${CMAKE_SOURCE_DIR}/" "${CORE_INCLUDE}/")
  endmacro()
endif()
shift_jis_sources(CORE_SOURCES)
if(TAVLO_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

add_library(tavlo_core STATIC ${CORE_SOURCES})
target_include_directories(tavlo_core PUBLIC ${CORE_INCLUDE})
if(TARGET sjis_copies)
  add_dependencies(tavlo_core sjis_copies)
endif()

if(TAVLO_FUZZ)
  file(GLOB FUZZ_TARGETS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fuzz/*_fuzz.cpp)
  shift_jis_sources(FUZZ_TARGETS)
  foreach(src ${FUZZ_TARGETS})
    get_filename_component(name ${src} NAME_WE)
    add_executable(${name} ${src})
    target_link_libraries(${name} tavlo_core)
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  endforeach()
  if(FUZZ_TARGETS)
    # the core itself is instrumented for coverage too
    target_compile_options(tavlo_core PRIVATE -fsanitize=fuzzer-no-link)
  endif()
  return()
endif()

find_package(GTest REQUIRED)
file(GLOB NATIVE_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/native/*.cpp)
# The fuzz targets' input readers are tested too, with the data provider that clang ships.
file(GLOB FUZZER_INCLUDES /usr/lib/llvm-*/lib/clang/*/include)
find_path(FUZZER_INCLUDE fuzzer/FuzzedDataProvider.h PATHS ${FUZZER_INCLUDES})
if(NOT FUZZER_INCLUDE)
  list(FILTER NATIVE_TESTS EXCLUDE REGEX "_fuzz_input_test\\.cpp$")
endif()
shift_jis_sources(NATIVE_TESTS)
add_executable(native_tests ${NATIVE_TESTS})
if(FUZZER_INCLUDE)
  # The header alone: clang's other headers would stand in for the compiler's own.
  configure_file(${FUZZER_INCLUDE}/fuzzer/FuzzedDataProvider.h
    ${CMAKE_BINARY_DIR}/fuzzer-include/fuzzer/FuzzedDataProvider.h COPYONLY)
  target_include_directories(native_tests SYSTEM PRIVATE ${CMAKE_BINARY_DIR}/fuzzer-include)
endif()
target_link_libraries(native_tests tavlo_core GTest::gtest GTest::gtest_main)
include(GoogleTest)
gtest_discover_tests(native_tests DISCOVERY_TIMEOUT 60)

if(TAVLO_BENCH AND NOT TAVLO_SANITIZE)
  find_package(benchmark REQUIRED)
  file(GLOB BENCH_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/bench/*.cpp)
  shift_jis_sources(BENCH_SOURCES)
  if(BENCH_SOURCES)
    add_executable(benchmarks ${BENCH_SOURCES})
    target_link_libraries(benchmarks tavlo_core benchmark::benchmark benchmark::benchmark_main)
  endif()
endif()
