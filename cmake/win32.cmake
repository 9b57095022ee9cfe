# MinGW-w64 build of Tavlo.exe, its Win32 tests and the test doubles.
# Sources are UTF-8; every "..." literal becomes Shift-JIS in the binary.
add_compile_options(-Wall -Wextra -finput-charset=UTF-8 -fexec-charset=CP932)
add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
add_link_options(-static -static-libgcc -static-libstdc++)

set(TAVLO_WIN_LIBS winhttp urlmon ole32 oleaut32 uuid shell32 shlwapi comdlg32 comctl32
    advapi32 user32 gdi32 winmm strmiids)

add_library(tavlo_core STATIC ${CORE_SOURCES})
target_include_directories(tavlo_core PUBLIC ${CMAKE_SOURCE_DIR})

set(APP_MAIN ${CMAKE_SOURCE_DIR}/app/window/main.cpp)
list(REMOVE_ITEM WIN_SOURCES ${APP_MAIN})
add_library(tavlo_win STATIC ${WIN_SOURCES})
target_link_libraries(tavlo_win PUBLIC tavlo_core ${TAVLO_WIN_LIBS})

# Resource scripts are UTF-8 (#pragma code_page(65001)).
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -c 65001")
add_executable(Tavlo WIN32 ${APP_MAIN} ${CMAKE_SOURCE_DIR}/resources/tavlo.rc)
target_link_libraries(Tavlo tavlo_win)

# --- TBSpeech.dll: SAPI speech for recording; Tavlo links against it at load time --------------
add_library(TBSpeech SHARED ${TBSPEECH_SOURCES})
set_target_properties(TBSpeech PROPERTIES PREFIX "" IMPORT_PREFIX "lib")
target_include_directories(TBSpeech PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_definitions(TBSpeech PRIVATE TBSPEECH_BUILDING)
target_link_libraries(TBSpeech PRIVATE sapi ole32 uuid user32 advapi32)
target_link_libraries(Tavlo TBSpeech)
target_link_libraries(tavlo_win PUBLIC TBSpeech)  # the recording renders through it

# --- Program folder: Tavlo.exe, News/*.menu in Shift-JIS, help files -------------------------
set(PROGRAM_DIR ${CMAKE_BINARY_DIR}/Tavlo)
add_custom_target(program_folder ALL
  COMMAND ${CMAKE_COMMAND} -E make_directory ${PROGRAM_DIR}
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:Tavlo> ${PROGRAM_DIR}/Tavlo.exe
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:TBSpeech> ${PROGRAM_DIR}/TBSpeech.dll
  COMMAND ${CMAKE_SOURCE_DIR}/scripts/assemble-menus.sh ${CMAKE_SOURCE_DIR}/menus ${PROGRAM_DIR}
  DEPENDS Tavlo TBSpeech
  COMMENT "Assembling the program folder ${PROGRAM_DIR}")

# --- The converter, TBAudio\TBAudio.exe in the program folder ------------------------------
add_executable(TBAudio WIN32 ${TBAUDIO_SOURCES})
target_link_libraries(TBAudio tavlo_core mfplat mfuuid ole32 shell32)
add_custom_command(TARGET TBAudio POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E make_directory ${PROGRAM_DIR}/TBAudio
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:TBAudio> ${PROGRAM_DIR}/TBAudio/TBAudio.exe)

# --- Screen-reader test doubles (real file names and exports) ---------------------------------
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(PCTK_NAME PCTKUSR64)
  set(NVDA_NAME nvdaControllerClient64)
else()
  set(PCTK_NAME PCTKUSR)
  set(NVDA_NAME nvdaControllerClient32)
endif()
set(DOUBLES ${CMAKE_SOURCE_DIR}/testing/doubles)
add_library(pctk_double SHARED ${DOUBLES}/pctalker_double.cpp ${DOUBLES}/transcript.cpp ${DOUBLES}/pctalker.def)
set_target_properties(pctk_double PROPERTIES OUTPUT_NAME ${PCTK_NAME} PREFIX "")
# Classic client: isSpeaking takes no argument. "new" client (NVDA 2026.3): one out-parameter.
add_library(nvda_double SHARED ${DOUBLES}/nvda_double.cpp ${DOUBLES}/transcript.cpp ${DOUBLES}/nvda.def)
set_target_properties(nvda_double PROPERTIES OUTPUT_NAME ${NVDA_NAME} PREFIX "")
add_library(nvda_double_new SHARED ${DOUBLES}/nvda_double.cpp ${DOUBLES}/transcript.cpp ${DOUBLES}/nvda.def)
target_compile_definitions(nvda_double_new PRIVATE NVDA_ISSPEAKING_WITH_FLAG=1)
set_target_properties(nvda_double_new PROPERTIES OUTPUT_NAME nvdaControllerClient PREFIX ""
  LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/doubles-new RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/doubles-new)
foreach(t pctk_double nvda_double nvda_double_new)
  target_link_options(${t} PRIVATE -Wl,--enable-stdcall-fixup)
endforeach()
# SAPI's voice and file stream, for tests that register it as their COM server under Wine.
add_library(sapi_double SHARED ${DOUBLES}/sapi_double.cpp ${DOUBLES}/transcript.cpp ${DOUBLES}/sapi.def)
set_target_properties(sapi_double PROPERTIES PREFIX "")
target_link_libraries(sapi_double sapi ole32 uuid)
target_link_options(sapi_double PRIVATE -Wl,--enable-stdcall-fixup)

# The converter stand-in, named as the real one, in a folder of its own.
add_executable(converter_double WIN32 ${DOUBLES}/converter_double.cpp ${DOUBLES}/transcript.cpp)
target_link_libraries(converter_double shell32)
set_target_properties(converter_double PROPERTIES OUTPUT_NAME TBAudio
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/doubles-converter)

file(GLOB PROBE_SOURCES CONFIGURE_DEPENDS ${DOUBLES}/probe*.cpp)
if(PROBE_SOURCES)
  add_executable(probe ${PROBE_SOURCES})
  target_link_libraries(probe user32 ole32 oleacc oleaut32 uuid)
endif()
add_executable(graphcost ${DOUBLES}/graphcost.cpp)
target_link_libraries(graphcost ole32 strmiids uuid)

# --- TBSpeech.dll's export table, checked for both architectures ------------------------------
add_test(NAME tbspeech_exports COMMAND sh ${CMAKE_SOURCE_DIR}/tests/win32/tbspeech/exports.sh ${CMAKE_OBJDUMP}
  $<TARGET_FILE:TBSpeech> ${CMAKE_SOURCE_DIR}/tbspeech/TBSpeech.def)

# --- Win32 tests, run under Wine -------------------------------------------------------------
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  file(GLOB WIN32_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win32/*.cpp)
  add_executable(win32_tests ${WIN32_TESTS})
  target_link_libraries(win32_tests tavlo_win gtest gtest_main)
  add_dependencies(win32_tests pctk_double nvda_double nvda_double_new converter_double TBAudio)
  add_test(NAME win32_tests COMMAND win32_tests --gtest_brief=0)
  # TBSpeech.dll called as Tavlo calls it (linked at load time) and loaded at run time.
  file(GLOB TBSPEECH_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win32/tbspeech/*.cpp)
  add_executable(tbspeech_tests ${TBSPEECH_TESTS})
  target_include_directories(tbspeech_tests PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_libraries(tbspeech_tests TBSpeech gtest gtest_main sapi ole32 uuid user32 advapi32)
  add_dependencies(tbspeech_tests sapi_double)
  add_test(NAME tbspeech_tests COMMAND tbspeech_tests --gtest_brief=0)
  set_tests_properties(tbspeech_tests PROPERTIES TIMEOUT 300 ENVIRONMENT "TAVLO_DOUBLES=${CMAKE_BINARY_DIR}")
  # The local HTTPS site serves testing/site/fixtures on https://localhost/ while they run.
  set(SITE_STATE ${CMAKE_BINARY_DIR}/site)
  set(SITE_ROOT ${CMAKE_SOURCE_DIR}/testing/site/fixtures)
  add_test(NAME site_start COMMAND ${CMAKE_SOURCE_DIR}/testing/site/site.sh start ${SITE_ROOT} ${SITE_STATE})
  add_test(NAME site_stop COMMAND ${CMAKE_SOURCE_DIR}/testing/site/site.sh stop ${SITE_STATE})
  # The lifetime stops a site that an interrupted run left behind.
  set_tests_properties(site_start PROPERTIES FIXTURES_SETUP site TIMEOUT 300
    ENVIRONMENT "TAVLO_SITE_LIFETIME=3600")
  set_tests_properties(site_stop PROPERTIES FIXTURES_CLEANUP site TIMEOUT 60)
  # A machine without a sound card plays into a silent ALSA device: a home of the tests' own.
  set(AUDIO_HOME ${CMAKE_BINARY_DIR}/audio-home)
  file(WRITE ${AUDIO_HOME}/.asoundrc "pcm.!default { type null }\n")
  set_tests_properties(win32_tests PROPERTIES TIMEOUT 900 FIXTURES_REQUIRED site
    ENVIRONMENT "HOME=${AUDIO_HOME};TAVLO_DOUBLES=${CMAKE_BINARY_DIR};TAVLO_DOUBLES_NEW=${CMAKE_BINARY_DIR}/doubles-new;TAVLO_SITE_LOG=${SITE_STATE}/requests.log;TAVLO_SITE_ROOT=${SITE_ROOT}")
endif()
