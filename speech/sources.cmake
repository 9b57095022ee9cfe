# Files of this subsystem (see the top CMakeLists.txt)
list(APPEND WIN_SOURCES speech/speak.cpp speech/screenreaders.cpp)
