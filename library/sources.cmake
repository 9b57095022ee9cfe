# Files of this subsystem (see the top CMakeLists.txt)
list(APPEND CORE_SOURCES library/settings_table.cpp)
list(APPEND WIN_SOURCES library/settings_registry.cpp)
