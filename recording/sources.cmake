# Files of this subsystem (see the top CMakeLists.txt)
list(APPEND CORE_SOURCES recording/recordpaths.cpp recording/recordformat.cpp recording/recordsummary.cpp)
list(APPEND WIN_SOURCES recording/convert.cpp recording/reservations.cpp recording/recorddialog.cpp
  recording/recordsettings.cpp)
list(APPEND CORE_SOURCES recording/player.cpp)
list(APPEND WIN_SOURCES recording/playergraph.cpp)
list(APPEND WIN_SOURCES recording/playerthread.cpp)
list(APPEND WIN_SOURCES recording/playerdialog.cpp)
