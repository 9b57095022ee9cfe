# Files of this subsystem (see the top CMakeLists.txt)
list(APPEND WIN_SOURCES win/codepage.cpp win/dialog.cpp win/plaintext.cpp)
