# Files of this subsystem (see the top CMakeLists.txt)
list(APPEND WIN_SOURCES speech/speak.cpp speech/screenreaders.cpp)
list(APPEND WIN_SOURCES speech/reading.cpp)
list(APPEND WIN_SOURCES speech/speechdialog.cpp speech/braille.cpp)
