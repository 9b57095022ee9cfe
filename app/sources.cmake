# Files of this subsystem (see the top CMakeLists.txt)
list(APPEND CORE_SOURCES app/menustack.cpp)
list(APPEND WIN_SOURCES app/main.cpp)
