# The converter program TBAudio.exe (see the top CMakeLists.txt). Its wave-header reader is
# portable and tested natively; the program itself is built by the Win32 trees.
list(APPEND CORE_SOURCES tbaudio/wavformat.cpp)
set(TBAUDIO_SOURCES ${CMAKE_SOURCE_DIR}/tbaudio/tbaudio.cpp)
