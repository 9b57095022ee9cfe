# Files of this subsystem (see the top CMakeLists.txt)
list(APPEND CORE_SOURCES recording/player.cpp)
list(APPEND WIN_SOURCES recording/playergraph.cpp)
list(APPEND WIN_SOURCES recording/playerthread.cpp)
