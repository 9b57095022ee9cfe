# Files of this subsystem (see the top CMakeLists.txt)
